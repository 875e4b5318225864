// The file tree of a disc: adding, removing, paths and folder scans.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestEnvironment.h"
#include "WildcardMatch.h"
#include "clsISOWriter.h"

namespace {
TEST(IsoTree, SubdirectoriesAreTrimmedAndMergedIgnoringCase) {
    clsISOWriter writer;
    clsISODirectory* photos = writer.Root().AddSubDirectory("  Photos  ");
    ASSERT_NE(photos, nullptr);
    EXPECT_EQ(photos->name(), "Photos");
    EXPECT_EQ(writer.Root().AddSubDirectory("PHOTOS"), photos);
    EXPECT_EQ(writer.Root().SubDirectoryCount(), 1);
    EXPECT_TRUE(writer.Root().SubDirExists("photos"));
    EXPECT_EQ(writer.Root().AddSubDirectory("   "), nullptr);
    // A rename is seen by later lookups.
    photos->SetName("Pictures");
    EXPECT_FALSE(writer.Root().SubDirExists("photos"));
    EXPECT_EQ(writer.Root().AddSubDirectory("pictures"), photos);
    photos->SetName("");
    // Names readers take for the folder itself or its parent are never set.
    for (const char* name : {".", " .. "}) {
        photos->SetName(name);
        EXPECT_EQ(writer.Root().AddSubDirectory(name), nullptr) << name;
        EXPECT_EQ(writer.Root().Files().Add("/x/a", name), nullptr) << name;
    }
    EXPECT_EQ(photos->name(), "Pictures");
    EXPECT_NE(writer.Root().Files().Add("/x/Pictures", ""), nullptr);  // a file may share it
}

TEST(IsoTree, FilesRefuseDuplicatesEmptyPathsAndBackslashes) {
    clsISOFiles files;
    ASSERT_NE(files.Add("/data/Readme.txt", ""), nullptr);
    EXPECT_EQ(files.File(0)->name(), "Readme.txt");
    EXPECT_EQ(files.Add("/other/README.TXT", ""), nullptr);
    EXPECT_EQ(files.Add("", "x"), nullptr);
    EXPECT_EQ(files.Add("/data/x", "a\\b"), nullptr);
    ASSERT_NE(files.Add("/data/odd\\name", ""), nullptr);  // a Linux name with "\"
    EXPECT_EQ(files.File(1)->name(), "odd_name");
    files.File(0)->SetName("Other.txt");
    EXPECT_FALSE(files.FileExists("readme.txt"));
    EXPECT_NE(files.Add("/data/Readme.txt", ""), nullptr);
    files.Remove(0);
    EXPECT_EQ(files.File(0)->name(), "odd_name");
    EXPECT_EQ(files.File(5), nullptr);
    files.Clear();
    EXPECT_EQ(files.count(), 0);
    // Folding beyond ASCII is compared with Qt's by tst_TextCompatibility.
    ASSERT_NE(files.Add("/x/Ärger.txt", ""), nullptr);
    EXPECT_EQ(files.Add("/y/äRGER.TXT", ""), nullptr);
}

TEST(IsoTree, AddReadsSizeAndATimeOfTheLocalFileNowOrWhenTheImageIsLaidOut) {
    TempFolder folder;
    WriteFile(folder.File("f.bin"), std::string(777, 'x'));
    // Read-only files keep their date too.
    std::filesystem::permissions(folder.File("f.bin"), std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::group_read |
                                                           std::filesystem::perms::others_read);
    clsISOFiles files;
    const clsISOFile* file = files.Add(folder.File("f.bin"), "");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->Size(), 777);
    EXPECT_FALSE(file->CreationDate().IsZero());
    clsISOWriter writer;
    const clsISOFile* later = writer.Root().Files().Add(folder.File("f.bin"), "", false);
    EXPECT_EQ(later->Size(), 0);
    ASSERT_TRUE(writer.SaveISO(folder.File("out.iso")));
    EXPECT_EQ(later->Size(), 777);
    EXPECT_TRUE(later->CreationDate() == file->CreationDate());
}

TEST(IsoTree, PathsAndAncestry) {
    clsISOWriter writer;
    clsISODirectory* a = writer.Root().AddSubDirectory("A");
    clsISODirectory* b = a->AddSubDirectory("B");
    clsISODirectory* ab = writer.Root().AddSubDirectory("AB");
    EXPECT_EQ(writer.Root().FullPath(), "\\");
    EXPECT_EQ(b->FullPath(), "\\A\\B\\");
    EXPECT_TRUE(clsISOWriter::DirectoryIsChildOf(*a, *a));
    EXPECT_TRUE(clsISOWriter::DirectoryIsChildOf(*a, *b));
    EXPECT_TRUE(clsISOWriter::DirectoryIsChildOf(writer.Root(), *b));
    EXPECT_FALSE(clsISOWriter::DirectoryIsChildOf(*b, *a));
    EXPECT_FALSE(clsISOWriter::DirectoryIsChildOf(*a, *ab));
    // Equal parts further on do not count once a part differs.
    clsISODirectory* xb = writer.Root().AddSubDirectory("X")->AddSubDirectory("B");
    EXPECT_FALSE(clsISOWriter::DirectoryIsChildOf(*b, *xb));
}

TEST(IsoTree, DirByPathFollowsExactNames) {
    clsISOWriter writer;
    clsISODirectory* b = writer.Root().AddSubDirectory("A")->AddSubDirectory("B");
    EXPECT_EQ(writer.DirByPath("\\"), &writer.Root());
    EXPECT_EQ(writer.DirByPath("\\A\\B"), b);
    EXPECT_EQ(writer.DirByPath(b->FullPath()), b);  // node keys end in "\"
    EXPECT_EQ(writer.DirByPath("A\\B"), nullptr);
    EXPECT_EQ(writer.DirByPath(""), nullptr);
    EXPECT_EQ(writer.DirByPath("\\a\\B"), nullptr);
    EXPECT_EQ(writer.DirByPath("\\A\\C"), nullptr);
    EXPECT_EQ(writer.DirByPath("\\A\\\\B"), nullptr);
}

TEST(IsoTree, RemoveAndMoveDirectories) {
    clsISOWriter writer;
    clsISODirectory& root = writer.Root();
    clsISODirectory* a = root.AddSubDirectory("A");
    a->AddSubDirectory("A1")->Files().Add("/x/f", "");
    root.AddSubDirectory("B");
    root.AddSubDirectory("C");
    std::unique_ptr<clsISODirectory> moved = root.RemoveSubDirectory(0, true);
    ASSERT_EQ(moved.get(), a);
    EXPECT_EQ(moved->Parent(), nullptr);
    EXPECT_EQ(root.SubDirectory(0)->name(), "B");
    clsISODirectory* c = root.SubDirectory(1);
    EXPECT_EQ(c->AddSubDirectoryByRef(std::move(moved)), a);
    EXPECT_EQ(a->Parent(), c);
    EXPECT_EQ(a->SubDirectory(0)->Files().count(), 1);
    EXPECT_EQ(writer.DirByPath("\\C\\A\\A1"), a->SubDirectory(0));
    std::unique_ptr<clsISODirectory> dropped = c->RemoveSubDirectory(0, false);
    EXPECT_EQ(dropped->SubDirectoryCount(), 0);
    EXPECT_EQ(c->SubDirectoryCount(), 0);
    EXPECT_EQ(root.RemoveSubDirectory(7, false), nullptr);
}

TEST(IsoTree, WildcardsAreCaseSensitive) {
    const struct {
        const char16_t *name, *pattern;
        bool matches;
    } cases[] = {
        {u"photo.JPG", u"*", true}, {u"photo.JPG", u"*.JPG", true}, {u"photo.jpg", u"*.JPG", false},
        {u"a1b", u"a#b", true},     {u"axb", u"a#b", false},        {u"cat", u"[bc]a?", true},
        {u"mat", u"[!bc]a?", true}, {u"q", u"[a-z]", true},         {u"Q", u"[a-z]", false},
        {u"abcabd", u"*ab?", true}, {u"abc", u"a*d", false}};
    for (const auto& c : cases) EXPECT_EQ(WildcardMatch(c.name, c.pattern), c.matches);
}

class IsoScan : public ::testing::Test {
  protected:
    void Make(const std::string& relative, const std::string& content = "x") {
        WriteFile(m_folder.File(relative), content);
    }
    std::string Path(const std::string& relative) const { return m_folder.File(relative); }

    TempFolder m_folder;
    clsISOWriter m_writer;
};

TEST_F(IsoScan, SkipsDotEntriesAndHonoursTheFilter) {
    Make("src/.hidden");
    Make("src/.git/config");
    Make("src/notes.v1.txt");
    Make("src/photo.JPG");
    Make("src/sub/inner.JPG");
    clsISODirectory* target = m_writer.Root().AddSubDirectory("src");
    target->AddLocalDirectory(Path("src"), {"*.JPG", "sub"}, true);
    ASSERT_EQ(target->Files().count(), 1);
    EXPECT_EQ(target->Files().File(0)->name(), "photo.JPG");
    ASSERT_EQ(target->SubDirectoryCount(), 1);
    EXPECT_EQ(target->SubDirectory(0)->Files().count(), 1);
    m_writer.Root().Clear();
    m_writer.Root().AddLocalDirectory(Path("src"), {"*"}, false);  // not recursive
    EXPECT_EQ(m_writer.Root().SubDirectoryCount(), 0);
    EXPECT_EQ(m_writer.Root().Files().count(), 2);  // notes.v1.txt and photo.JPG
    m_writer.Root().AddLocalDirectory(Path("src"), {"*"}, true);
    EXPECT_FALSE(m_writer.Root().SubDirExists(".git"));
}

// Case twins, names that are not UTF-8 and folders of a taken name are
// proved on the image by cli_iso_names.
TEST_F(IsoScan, NamesAreTrimmedAndAMissingFolderIsNoted) {
    Make("src/ notes.txt ", "spaced");
    m_writer.Root().AddLocalDirectory(Path("src"), {"*"}, true);
    ASSERT_EQ(m_writer.Root().Files().count(), 1);
    EXPECT_EQ(m_writer.Root().Files().File(0)->name(), "notes.txt");
    EXPECT_EQ(ReadFile(m_writer.Root().Files().File(0)->LocalPath()), "spaced");
    std::vector<SkippedEntry> notes;
    m_writer.Root().AddLocalDirectory(Path("missing"), {"*"}, true, &notes);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].kind, SkippedEntry::Kind::Unreadable);
}

#ifndef _WIN32  // Wine cannot make symbolic links
// A named pipe and a link that leads nowhere: cli_iso_names.
TEST_F(IsoScan, LinksToFoldersAreNotFollowedButNoted) {
    Make("src/a.txt");
    std::filesystem::create_directory_symlink(Path("src"), Path("src/loop"));
    std::filesystem::create_symlink(Path("src/a.txt"), Path("src/link.txt"));
    std::vector<SkippedEntry> notes;
    m_writer.Root().AddLocalDirectory(Path("src"), {"*"}, true, &notes);
    EXPECT_EQ(m_writer.Root().Files().count(), 2);  // a.txt and the link to a file
    EXPECT_TRUE(m_writer.Root().Files().FileExists("link.txt"));
    EXPECT_EQ(m_writer.Root().SubDirectoryCount(), 0);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].localPath + ": " + notes[0].reason,
              Path("src/loop") + ": link to a folder, not followed");
}
#endif

}  // namespace
