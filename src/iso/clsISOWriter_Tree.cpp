// The tree operations of the image builder.
#include "clsISOWriter.h"

namespace {
QStringList PathParts(const clsISODirectory& directory) {
    return directory.FullPath().split(u'\\');
}
}  // namespace

clsISODirectory* clsISOWriter::DirByPath(const QString& strPath) {
    if (strPath.isEmpty() || !strPath.startsWith(u'\\')) return nullptr;
    if (strPath == QStringLiteral("\\")) return m_root.get();
    QStringList parts = strPath.mid(1).split(u'\\');
    // FullPath texts end in "\": accept them as they are.
    if (parts.size() > 1 && parts.back().isEmpty()) parts.removeLast();
    clsISODirectory* at = m_root.get();
    for (const QString& part : parts) {
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
    const QStringList first = PathParts(clsDir1);
    const QStringList second = PathParts(clsDir2);
    const qsizetype shorter = std::min(first.size(), second.size());
    std::int32_t equal = 0;
    while (equal < shorter && first[equal] == second[equal]) ++equal;
    return equal;
}

bool clsISOWriter::DirectoryIsChildOf(const clsISODirectory& clsParent,
                                      const clsISODirectory& clsChild) {
    return DirectoryLevel(clsParent) < DirectoryInPath(clsParent, clsChild);
}
