#include "clsISOFiles.h"

#include "CaseFolding.h"
#include "NameText.h"
#include "modFileAccess.h"

namespace {
std::string EffectiveName(const std::string& localfile, const std::string& name) {
    return name.empty() ? NameText::DiscNameFromLocal(NameText::LastPathPart(localfile)) : name;
}
}  // namespace

clsISOFile* clsISOFiles::AddNumbered(const std::string& localfile, const std::string& name,
                                     bool examine) {
    const std::string effective = EffectiveName(localfile, name);
    std::string free = effective;
    for (int number = 2; FileExists(free); ++number)
        free = NameText::NumberedName(effective, number, true);
    return Add(localfile, free, examine);
}

clsISOFile* clsISOFiles::Add(const std::string& localfile, const std::string& name, bool examine) {
    if (localfile.empty() || name.find('\\') != std::string::npos) return nullptr;
    const std::string effective = EffectiveName(localfile, name);
    if (!NameText::IsUsableName(effective) || FileExists(effective)) return nullptr;
    auto file = std::make_unique<clsISOFile>(localfile, effective);
    if (const auto facts = examine ? modFileAccess::FileInfo(localfile) : std::nullopt) {
        file->SetSize(facts->size);
        file->SetCreationDate(LocalDateTime::FromEpoch(facts->creationEpoch));
    }
    file->m_owner = this;
    clsISOFile* added = file.get();
    m_files.push_back(std::move(file));
    if (m_indexValid) m_index.insert_or_assign(CaseFolding::Key(effective), added);
    return added;
}

void clsISOFiles::Remove(int index) {
    if (index < 0 || index >= count()) return;
    m_files.erase(m_files.begin() + index);
    m_indexValid = false;
}

void clsISOFiles::Clear() {
    m_files.clear();
    m_index.clear();
    m_indexValid = true;
}

clsISOFile* clsISOFiles::File(int index) const {
    return index < 0 || index >= count() ? nullptr : m_files[static_cast<std::size_t>(index)].get();
}

bool clsISOFiles::FileExists(const std::string& name) const {
    return Index().contains(CaseFolding::Key(name));
}

const clsISOFiles::NameIndex& clsISOFiles::Index() const {
    if (!m_indexValid) {
        m_index.clear();
        for (const auto& file : m_files)
            m_index.insert_or_assign(CaseFolding::Key(file->name()), file.get());
        m_indexValid = true;
    }
    return m_index;
}
