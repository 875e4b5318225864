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
    std::u16string key = CaseFolding::Key(free);
    for (int number = 2; Index().contains(key); ++number) {
        free = NameText::NumberedName(effective, number, true);
        key = CaseFolding::Key(free);
    }
    return Insert(localfile, free, std::move(key), examine);
}

clsISOFile* clsISOFiles::AddOnDisc(const std::string& name, std::int32_t lba, std::int64_t size,
                                   const LocalDateTime& date) {
    // The local path only has to be non-empty: nothing is ever read from it.
    clsISOFile* file = AddNumbered("\\disc\\" + name, name, false);
    if (file == nullptr) return nullptr;
    file->SetOnDisc(true);
    file->SetLBA(lba);
    file->SetSize(size);
    file->SetCreationDate(date);
    return file;
}

clsISOFile* clsISOFiles::Add(const std::string& localfile, const std::string& name, bool examine) {
    const std::string effective = EffectiveName(localfile, name);
    std::u16string key = CaseFolding::Key(effective);
    return Index().contains(key) ? nullptr : Insert(localfile, effective, std::move(key), examine);
}

clsISOFile* clsISOFiles::Insert(const std::string& localfile, const std::string& name,
                                std::u16string key, bool examine) {
    if (localfile.empty() || name.find('\\') != std::string::npos || !NameText::IsUsableName(name))
        return nullptr;
    auto file = std::make_unique<clsISOFile>(localfile, name);
    if (const auto facts = examine ? modFileAccess::FileInfo(localfile) : std::nullopt) {
        file->SetSize(facts->size);
        file->SetCreationDate(LocalDateTime::FromEpoch(facts->creationEpoch));
    }
    file->m_owner = this;
    clsISOFile* added = file.get();
    m_files.push_back(std::move(file));
    m_index.insert_or_assign(std::move(key), added);  // Index() made it valid
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
