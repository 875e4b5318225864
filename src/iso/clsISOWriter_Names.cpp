// The naming pass: ISO 9660 short names and Joliet names for every node.
#include <algorithm>

#include "JolietNameRules.h"
#include "ShortNameRules.h"
#include "UnicodeText.h"
#include "clsISOWriter.h"

namespace {
std::vector<std::u16string> Utf16Names(const std::vector<std::string>& names) {
    std::vector<std::u16string> units;
    units.reserve(names.size());
    for (const std::string& name : names) units.push_back(UnicodeText::Utf8ToUtf16(name));
    return units;
}

bool IsShortAscii(const std::string& name) {
    return name.size() <= JolietNameRules::kJolietNameLimit && UnicodeText::IsAscii(name);
}

// Joliet names are counted and cut in UTF-16 units.
std::vector<std::string> JolietNames(const std::vector<std::string>& names,
                                     const std::vector<std::string>& taken = {}) {
    // Short names beside no folder are kept as they are (the rules change
    // only long names and names a folder has).
    if (taken.empty() && std::ranges::all_of(names, IsShortAscii)) return names;
    std::vector<std::string> result;
    result.reserve(names.size());
    for (const std::u16string& name : JolietNameRules::Names(Utf16Names(names), Utf16Names(taken)))
        result.push_back(UnicodeText::Utf16ToUtf8(name));
    return result;
}
}  // namespace

void clsISOWriter::AssignNames() {
    NameDirectories(*m_root);
    NameFiles(*m_root);
}

void clsISOWriter::NameDirectories(clsISODirectory& directory) {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(directory.SubDirectoryCount()));
    for (int i = 0; i < directory.SubDirectoryCount(); ++i)
        names.push_back(directory.SubDirectory(i)->name());
    const std::vector<std::string> dosNames = ShortNameRules::DirectoryNames(names);
    const std::vector<std::string> jolietNames = JolietNames(names);
    for (int i = 0; i < directory.SubDirectoryCount(); ++i) {
        clsISODirectory& child = *directory.SubDirectory(i);
        child.SetDOSName(dosNames[static_cast<std::size_t>(i)]);
        child.SetJolietName(jolietNames[static_cast<std::size_t>(i)]);
        child.SetNameValid(true);
    }
    for (int i = 0; i < directory.SubDirectoryCount(); ++i)
        NameDirectories(*directory.SubDirectory(i));
}

void clsISOWriter::NameFiles(clsISODirectory& directory) {
    clsISOFiles& files = directory.Files();
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(files.count()));
    for (int i = 0; i < files.count(); ++i) names.push_back(files.File(i)->name());
    // Files give way to the folders beside them (named first), in both trees.
    std::vector<std::string> folderDos, folderJoliet;
    for (int i = 0; i < directory.SubDirectoryCount(); ++i) {
        folderDos.push_back(directory.SubDirectory(i)->DOSName());
        folderJoliet.push_back(directory.SubDirectory(i)->JolietName());
    }
    const std::vector<std::string> dosNames = ShortNameRules::FileNames(names, folderDos);
    const std::vector<std::string> jolietNames = JolietNames(names, folderJoliet);
    for (int i = 0; i < files.count(); ++i) {
        files.File(i)->SetDOSName(dosNames[static_cast<std::size_t>(i)]);
        files.File(i)->SetJolietName(jolietNames[static_cast<std::size_t>(i)]);
    }
    for (int i = 0; i < directory.SubDirectoryCount(); ++i) NameFiles(*directory.SubDirectory(i));
}
