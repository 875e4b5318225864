#include "clsISODirectory.h"

#include "CaseFolding.h"
#include "NameText.h"

clsISODirectory* clsISODirectory::AddSubDirectory(const std::string& name) {
    if (!NameText::IsUsableName(name)) return nullptr;
    const std::string trimmed = NameText::TrimSpaces(name);
    std::u16string key = CaseFolding::Key(trimmed);
    if (const auto existing = Index().find(key); existing != m_index.end()) return existing->second;
    auto child = std::make_unique<clsISODirectory>();
    child->m_name = trimmed;
    child->m_parent = this;
    m_index.emplace(std::move(key), child.get());
    m_children.push_back(std::move(child));
    return m_children.back().get();
}

clsISODirectory* clsISODirectory::AddNewSubDirectory(const std::string& name) {
    const std::string trimmed = NameText::TrimSpaces(name);
    std::string free = trimmed;
    for (int number = 2; SubDirExists(free); ++number)
        free = NameText::NumberedName(trimmed, number, false);
    return AddSubDirectory(free);
}

clsISODirectory* clsISODirectory::AddSubDirectoryByRef(std::unique_ptr<clsISODirectory> directory) {
    if (!directory) return nullptr;
    directory->m_parent = this;
    m_children.push_back(std::move(directory));
    m_indexValid = false;
    return m_children.back().get();
}

std::unique_ptr<clsISODirectory> clsISODirectory::RemoveSubDirectory(int index, bool KeepSubDirs) {
    if (index < 0 || index >= SubDirectoryCount()) return nullptr;
    auto child = std::move(m_children[static_cast<std::size_t>(index)]);
    m_children.erase(m_children.begin() + index);
    m_indexValid = false;
    if (!KeepSubDirs) child->Clear();
    child->m_parent = nullptr;
    return child;
}

void clsISODirectory::Clear() {
    m_children.clear();
    m_index.clear();
    m_indexValid = true;
    m_files.Clear();
}

bool clsISODirectory::SubDirExists(const std::string& name) const {
    return Index().contains(CaseFolding::Key(name));
}

clsISODirectory* clsISODirectory::SubDirectory(int index) const {
    return index < 0 || index >= SubDirectoryCount()
               ? nullptr
               : m_children[static_cast<std::size_t>(index)].get();
}

std::string clsISODirectory::FullPath() const {
    std::string path = "\\";
    std::vector<const clsISODirectory*> chain;
    for (const clsISODirectory* at = this; at->m_parent != nullptr; at = at->m_parent)
        chain.push_back(at);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) path += (*it)->m_name + '\\';
    return path;
}

void clsISODirectory::SetName(const std::string& name) {
    if (!NameText::IsUsableName(name)) return;
    m_name = name;
    if (m_parent != nullptr) m_parent->m_indexValid = false;
}

const clsISODirectory::NameIndex& clsISODirectory::Index() const {
    if (!m_indexValid) {
        m_index.clear();
        for (const auto& child : m_children) {
            m_index.emplace(CaseFolding::Key(child->m_name), child.get());
        }
        m_indexValid = true;
    }
    return m_index;
}
