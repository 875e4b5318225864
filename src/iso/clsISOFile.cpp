#include "clsISOFile.h"

#include "clsISOFiles.h"

void clsISOFile::SetName(const std::string& name) {
    if (name.empty()) return;
    m_name = name;
    if (m_owner != nullptr) m_owner->NamesChanged();
}
