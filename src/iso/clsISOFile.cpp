#include "clsISOFile.h"

#include "NameText.h"
#include "clsISOFiles.h"

void clsISOFile::SetName(const std::string& name) {
    if (!NameText::IsUsableName(name)) return;
    m_name = name;
    if (m_owner != nullptr) m_owner->NamesChanged();
}
