#include "SessionMerge.h"

#include "CaseFolding.h"
#include "SessionTexts.h"
#include "clsISODirectory.h"

namespace {
int FileIndex(const clsISOFiles& files, const std::string& name) {
    const std::u16string key = CaseFolding::Key(name);
    for (int i = 0; i < files.count(); ++i)
        if (CaseFolding::Key(files.File(i)->name()) == key) return i;
    return -1;
}

int DirectoryIndex(const clsISODirectory& directory, const std::string& name) {
    const std::u16string key = CaseFolding::Key(name);
    for (int i = 0; i < directory.SubDirectoryCount(); ++i)
        if (CaseFolding::Key(directory.SubDirectory(i)->name()) == key) return i;
    return -1;
}

bool OnDiscFile(const clsISODirectory& directory, const std::string& name) {
    const int index = FileIndex(directory.Files(), name);
    return index >= 0 && directory.Files().File(index)->OnDisc();
}

void RemoveOnDiscFile(clsISODirectory& directory, const std::string& name) {
    const int index = FileIndex(directory.Files(), name);
    if (index >= 0 && directory.Files().File(index)->OnDisc()) directory.Files().Remove(index);
}

void CollectClashes(const clsISODirectory& target, const clsISODirectory& added,
                    std::vector<std::string>& clashes) {
    for (int i = 0; i < added.SubDirectoryCount(); ++i) {
        const clsISODirectory& child = *added.SubDirectory(i);
        if (OnDiscFile(target, child.name())) {
            clashes.push_back(target.FullPath() + child.name());
            continue;
        }
        const int same = DirectoryIndex(target, child.name());
        if (same >= 0) CollectClashes(*target.SubDirectory(same), child, clashes);
    }
    for (int i = 0; i < added.Files().count(); ++i) {
        const std::string& name = added.Files().File(i)->name();
        if (OnDiscFile(target, name) || DirectoryIndex(target, name) >= 0)
            clashes.push_back(target.FullPath() + name);
    }
}
}  // namespace

namespace SessionMerge {

void AddImported(clsISODirectory& directory, const ImportedEntry& imported,
                 std::vector<LeftOutEntry>& leftOut,
                 const std::function<std::string(const ImportedEntry&)>& sourcePath) {
    for (const ImportedEntry& entry : imported.children) {
        bool added = false;
        if (entry.directory) {
            clsISODirectory* child = directory.AddNewSubDirectory(entry.name);
            if (child != nullptr) AddImported(*child, entry, leftOut, sourcePath);
            added = child != nullptr;
        } else if (sourcePath) {
            clsISOFile* file = directory.Files().AddNumbered(sourcePath(entry), entry.name, false);
            if (file != nullptr) {
                file->SetSize(entry.size);
                file->SetCreationDate(entry.date);
            }
            added = file != nullptr;
        } else {
            added = directory.Files().AddOnDisc(entry.name, entry.lba, entry.size, entry.date) !=
                    nullptr;
        }
        if (!added)
            leftOut.push_back({directory.FullPath() + entry.name, Text(SessionText::UnusableName)});
    }
}

std::vector<std::string> Clashes(const clsISODirectory& target, const clsISODirectory& added) {
    std::vector<std::string> clashes;
    CollectClashes(target, added, clashes);
    return clashes;
}

void Merge(clsISODirectory& target, clsISODirectory& added) {
    while (added.SubDirectoryCount() > 0) {
        std::unique_ptr<clsISODirectory> child = added.RemoveSubDirectory(0, true);
        RemoveOnDiscFile(target, child->name());
        const int same = DirectoryIndex(target, child->name());
        if (same >= 0)
            Merge(*target.SubDirectory(same), *child);
        else
            target.AddSubDirectoryByRef(std::move(child));
    }
    for (int i = 0; i < added.Files().count(); ++i) {
        const clsISOFile& file = *added.Files().File(i);
        RemoveOnDiscFile(target, file.name());
        clsISOFile* moved = target.Files().AddNumbered(file.LocalPath(), file.name(), false);
        if (moved == nullptr) continue;
        moved->SetSize(file.Size());
        moved->SetCreationDate(file.CreationDate());
    }
    added.Files().Clear();
}

}  // namespace SessionMerge
