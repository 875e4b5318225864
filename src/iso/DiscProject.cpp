// The tree of a data disc project and the rules of its edits.
#include "DiscProject.h"

#include <algorithm>

#include "CaseFolding.h"
#include "NameText.h"
#include "SessionMerge.h"
#include "clsISOWriter.h"
#include "modFileAccess.h"

namespace {
int IndexInParent(const clsISODirectory& directory) {
    const clsISODirectory& parent = *directory.Parent();
    for (int i = 0; i < parent.SubDirectoryCount(); ++i)
        if (parent.SubDirectory(i) == &directory) return i;
    return -1;
}

bool SameText(const std::string& a, const std::string& b) {
    return CaseFolding::Key(a) == CaseFolding::Key(b);
}
}  // namespace

DiscProject::DiscProject(DiscKind kind)
    : m_kind(kind), m_writer(std::make_unique<clsISOWriter>()) {}

DiscProject::~DiscProject() = default;

void DiscProject::New() {
    m_writer = std::make_unique<clsISOWriter>();
    m_freeBytes = -1;
    m_jolietLabelEdited = false;
}

void DiscProject::ContinueDisc(const ImportedSession& session, std::int64_t writeAt,
                               std::int64_t freeBytes, std::vector<LeftOutEntry>& leftOut) {
    New();
    SessionMerge::AddImported(m_writer->Root(), session.root, leftOut);
    m_writer->SetVolumeID(session.volumeId, false);
    m_writer->SetVolumeID(session.volumeId, true);
    m_writer->SetSessionStart(static_cast<std::int32_t>(writeAt));
    m_freeBytes = std::max<std::int64_t>(freeBytes, 0);
}

clsISODirectory* DiscProject::Directory(const std::string& key) const {
    return m_writer->DirByPath(key);
}

bool DiscProject::DirectoryExists(const std::string& key) const {
    return Directory(key) != nullptr;
}

std::vector<DiscProject::DirectoryItem> DiscProject::SubDirectories(const std::string& key) const {
    std::vector<DirectoryItem> items;
    if (const clsISODirectory* directory = Directory(key))
        for (int i = 0; i < directory->SubDirectoryCount(); ++i) {
            const clsISODirectory& child = *directory->SubDirectory(i);
            items.push_back({child.FullPath(), child.name()});
        }
    return items;
}

std::vector<DiscProject::FileItem> DiscProject::Files(const std::string& key) const {
    std::vector<FileItem> items;
    if (const clsISODirectory* directory = Directory(key))
        for (int i = 0; i < directory->Files().count(); ++i) {
            const clsISOFile& file = *directory->Files().File(i);
            items.push_back(
                {file.name(), file.LocalPath(), file.Size(), file.CreationDate(), file.OnDisc()});
        }
    return items;
}

Refusal DiscProject::CheckName(std::string& name) {
    name = NameText::TrimSpaces(name);
    if (name.empty()) return Refusal::EmptyName;
    if (name == "." || name == ".." || name.find_first_of("\\/") != std::string::npos)
        return Refusal::InvalidName;
    return Refusal::None;
}

bool DiscProject::SameName(const clsISODirectory& directory, const std::string& name) {
    return SameText(directory.name(), name);
}

EditResult DiscProject::NewDirectory(const std::string& parentKey, const std::string& name) {
    clsISODirectory* parent = Directory(parentKey);
    std::string checked = name;
    if (parent == nullptr) return {Refusal::NotFound, {}, checked};
    if (const Refusal refusal = CheckName(checked); refusal != Refusal::None)
        return {refusal, {}, checked};
    if (parent->SubDirExists(checked)) return {Refusal::NameTaken, {}, checked};
    const clsISODirectory* made = parent->AddSubDirectory(checked);
    return {Refusal::None, made->FullPath(), checked};
}

EditResult DiscProject::RemoveDirectory(const std::string& key) {
    clsISODirectory* directory = Directory(key);
    if (directory == nullptr) return {Refusal::NotFound, key, {}};
    if (directory->Parent() == nullptr) return {Refusal::RootDirectory, key, {}};
    (void)directory->Parent()->RemoveSubDirectory(IndexInParent(*directory), false);
    return {Refusal::None, key, {}};
}

EditResult DiscProject::RenameDirectory(const std::string& key, const std::string& name) {
    clsISODirectory* directory = Directory(key);
    std::string checked = name;
    if (directory == nullptr) return {Refusal::NotFound, key, checked};
    if (directory->Parent() == nullptr) return {Refusal::RootDirectory, key, checked};
    if (const Refusal refusal = CheckName(checked); refusal != Refusal::None)
        return {refusal, key, checked};
    // A new spelling of its own name is no clash.
    if (directory->Parent()->SubDirExists(checked) && !SameName(*directory, checked))
        return {Refusal::NameTaken, key, checked};
    directory->SetName(checked);
    return {Refusal::None, directory->FullPath(), checked};
}

EditResult DiscProject::RenameFile(const std::string& key, int index, const std::string& name) {
    clsISODirectory* directory = Directory(key);
    clsISOFile* file = directory != nullptr ? directory->Files().File(index) : nullptr;
    std::string checked = name;
    if (file == nullptr) return {Refusal::NotFound, key, checked};
    if (const Refusal refusal = CheckName(checked); refusal != Refusal::None)
        return {refusal, key, checked};
    if (directory->Files().FileExists(checked) && !SameText(file->name(), checked))
        return {Refusal::NameTaken, key, checked};
    file->SetName(checked);
    return {Refusal::None, key, checked};
}

void DiscProject::RemoveFiles(const std::string& key, std::vector<int> indexes) {
    clsISODirectory* directory = Directory(key);
    if (directory == nullptr) return;
    // From the last to the first, so that earlier indexes stay valid.
    std::sort(indexes.begin(), indexes.end(), std::greater<>());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    for (const int index : indexes) directory->Files().Remove(index);
}

EditResult DiscProject::MoveDirectory(const std::string& key, const std::string& targetKey) {
    clsISODirectory* directory = Directory(key);
    clsISODirectory* target = Directory(targetKey);
    if (directory == nullptr || target == nullptr) return {Refusal::NotFound, key, {}};
    const std::string name = directory->name();
    if (directory->Parent() == nullptr) return {Refusal::RootDirectory, key, name};
    if (target == directory || target == directory->Parent())
        return {Refusal::Unchanged, key, name};
    if (clsISOWriter::DirectoryIsChildOf(*directory, *target))
        return {Refusal::IntoOwnSubtree, key, name};
    if (target->SubDirExists(directory->name())) return {Refusal::NameTaken, key, name};
    clsISODirectory* moved = target->AddSubDirectoryByRef(
        directory->Parent()->RemoveSubDirectory(IndexInParent(*directory), true));
    return {Refusal::None, moved->FullPath(), name};
}

DiscProject::MoveResult DiscProject::MoveFiles(const std::string& key,
                                               const std::vector<int>& indexes,
                                               const std::string& targetKey) {
    clsISODirectory* source = Directory(key);
    clsISODirectory* target = Directory(targetKey);
    if (source == nullptr || target == nullptr) return {Refusal::NotFound, 0, {}};
    // Onto its own directory a file would only be refused as its own twin.
    if (source == target) return {Refusal::Unchanged, 0, {}};
    MoveResult result;
    std::vector<int> movedIndexes;
    for (const int index : indexes) {
        const clsISOFile* file = source->Files().File(index);
        if (file == nullptr) continue;
        clsISOFile* moved = target->Files().Add(file->LocalPath(), file->name(), !file->OnDisc());
        if (moved == nullptr) {
            result.refusedNames.push_back(file->name());
            continue;
        }
        // A file on the disc keeps its data where it is, listed elsewhere.
        if (file->OnDisc()) {
            moved->SetOnDisc(true);
            moved->SetLBA(file->LBA());
            moved->SetSize(file->Size());
            moved->SetCreationDate(file->CreationDate());
        }
        movedIndexes.push_back(index);
    }
    result.moved = static_cast<int>(movedIndexes.size());
    RemoveFiles(key, std::move(movedIndexes));
    if (!result.refusedNames.empty()) result.refusal = Refusal::NameTaken;
    return result;
}

bool DiscProject::AddFile(clsISODirectory& directory, const std::string& path,
                          const std::string& name, bool replaceOnDisc, AddResult& result) {
    for (int i = 0; i < directory.Files().count(); ++i) {
        const clsISOFile& held = *directory.Files().File(i);
        if (!held.OnDisc() || CaseFolding::Key(held.name()) != CaseFolding::Key(name)) continue;
        if (!replaceOnDisc) {
            result.onDiscClashes.push_back(path);
            return false;
        }
        directory.Files().Remove(i);
        break;
    }
    return directory.Files().Add(path, name) != nullptr;
}

DiscProject::AddResult DiscProject::AddLocalPaths(const std::string& key,
                                                  const std::vector<std::string>& paths,
                                                  bool replaceOnDisc) {
    AddResult result;
    clsISODirectory* directory = Directory(key);
    if (directory == nullptr) return result;
    for (const std::string& path : paths) {
        const auto facts = modFileAccess::FileInfo(path);
        std::string name = NameText::DiscNameFromLocal(NameText::LastPathPart(path));
        const bool named = CheckName(name) == Refusal::None;
        if (!facts || !named) {
            result.skipped.push_back({path, facts ? "no name to use on the disc" : "not found"});
        } else if (facts->kind == modFileAccess::EntryKind::Directory) {
            clsISODirectory* folder = directory->AddSubDirectory(name);
            folder->AddLocalDirectory(path, {"*"}, true, &result.skipped);
            result.foldersAdded = true;
        } else if (facts->kind != modFileAccess::EntryKind::RegularFile) {
            result.skipped.push_back({path, "not a regular file or folder"});
        } else if (!AddFile(*directory, path, name, replaceOnDisc, result)) {
            result.skipped.push_back({path, "a file of the same name is already there"});
        }
    }
    return result;
}
