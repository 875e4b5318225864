#include "clsISOFile.h"

#include "clsISOFiles.h"

void clsISOFile::SetName(const QString& name) {
    if (name.isEmpty()) return;
    m_name = name;
    if (m_owner != nullptr) m_owner->NamesChanged();
}
