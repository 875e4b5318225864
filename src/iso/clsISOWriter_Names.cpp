// The naming pass: ISO 9660 short names and Joliet names for every node.
#include "JolietNameRules.h"
#include "ShortNameRules.h"
#include "clsISOWriter.h"

void clsISOWriter::AssignNames() {
    NameDirectories(*m_root);
    NameFiles(*m_root);
}

void clsISOWriter::NameDirectories(clsISODirectory& directory) {
    std::vector<QString> names;
    names.reserve(static_cast<std::size_t>(directory.SubDirectoryCount()));
    for (int i = 0; i < directory.SubDirectoryCount(); ++i)
        names.push_back(directory.SubDirectory(i)->name());
    const std::vector<QString> dosNames = ShortNameRules::DirectoryNames(names);
    const std::vector<QString> jolietNames = JolietNameRules::Names(names);
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
    std::vector<QString> names;
    names.reserve(static_cast<std::size_t>(files.count()));
    for (int i = 0; i < files.count(); ++i) names.push_back(files.File(i)->name());
    const std::vector<QString> dosNames = ShortNameRules::FileNames(names);
    const std::vector<QString> jolietNames = JolietNameRules::Names(names);
    for (int i = 0; i < files.count(); ++i) {
        files.File(i)->SetDOSName(dosNames[static_cast<std::size_t>(i)]);
        files.File(i)->SetJolietName(jolietNames[static_cast<std::size_t>(i)]);
    }
    for (int i = 0; i < directory.SubDirectoryCount(); ++i) NameFiles(*directory.SubDirectory(i));
}
