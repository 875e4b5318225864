// The tree operations of the image builder.
#include "clsISOWriter.h"

namespace {
// The parts of a tree path between backslashes, empty parts included.
std::vector<std::string> SplitAtBackslashes(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = path.find('\\', start)) != std::string::npos; start = at + 1)
        parts.push_back(path.substr(start, at - start));
    parts.push_back(path.substr(start));
    return parts;
}

std::vector<std::string> PathParts(const clsISODirectory& directory) {
    return SplitAtBackslashes(directory.FullPath());
}
}  // namespace

clsISODirectory* clsISOWriter::DirByPath(const std::string& strPath) {
    if (strPath.empty() || strPath.front() != '\\') return nullptr;
    if (strPath == "\\") return m_root.get();
    std::vector<std::string> parts = SplitAtBackslashes(strPath.substr(1));
    // FullPath texts end in "\": accept them as they are.
    if (parts.size() > 1 && parts.back().empty()) parts.pop_back();
    clsISODirectory* at = m_root.get();
    for (const std::string& part : parts) {
        clsISODirectory* next = nullptr;
        for (int i = 0; i < at->SubDirectoryCount() && next == nullptr; ++i)
            if (at->SubDirectory(i)->name() == part) next = at->SubDirectory(i);
        if (next == nullptr) return nullptr;
        at = next;
    }
    return at;
}

std::int32_t clsISOWriter::DirectoryLevel(const clsISODirectory& clsDir) {
    return static_cast<std::int32_t>(PathParts(clsDir).size()) - 2;
}

std::int32_t clsISOWriter::DirectoryInPath(const clsISODirectory& clsDir1,
                                           const clsISODirectory& clsDir2) {
    const std::vector<std::string> first = PathParts(clsDir1);
    const std::vector<std::string> second = PathParts(clsDir2);
    const std::size_t shorter = std::min(first.size(), second.size());
    std::size_t equal = 0;
    while (equal < shorter && first[equal] == second[equal]) ++equal;
    return static_cast<std::int32_t>(equal);
}

bool clsISOWriter::DirectoryIsChildOf(const clsISODirectory& clsParent,
                                      const clsISODirectory& clsChild) {
    return DirectoryLevel(clsParent) < DirectoryInPath(clsParent, clsChild);
}
