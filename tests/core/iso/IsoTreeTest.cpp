// The file tree of a disc: adding, removing, paths and folder scans.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "TestEnvironment.h"
#include "WildcardMatch.h"
#include "clsISOWriter.h"

namespace {
QString Q(const char* text) {
    return QString::fromUtf8(text);
}

TEST(IsoTree, SubdirectoriesAreTrimmedAndMergedIgnoringCase) {
    clsISOWriter writer;
    clsISODirectory* photos = writer.Root().AddSubDirectory(Q("  Photos  "));
    ASSERT_NE(photos, nullptr);
    EXPECT_EQ(photos->name(), Q("Photos"));
    EXPECT_EQ(writer.Root().AddSubDirectory(Q("PHOTOS")), photos);
    EXPECT_EQ(writer.Root().SubDirectoryCount(), 1);
    EXPECT_TRUE(writer.Root().SubDirExists(Q("photos")));
    EXPECT_EQ(writer.Root().AddSubDirectory(Q("   ")), nullptr);
    EXPECT_EQ(photos->Parent(), &writer.Root());
    // A rename is seen by later lookups.
    photos->SetName(Q("Pictures"));
    EXPECT_FALSE(writer.Root().SubDirExists(Q("photos")));
    EXPECT_EQ(writer.Root().AddSubDirectory(Q("pictures")), photos);
    photos->SetName(QString());
    EXPECT_EQ(photos->name(), Q("Pictures"));
}

TEST(IsoTree, FilesRefuseDuplicatesEmptyPathsAndBackslashes) {
    clsISOFiles files;
    ASSERT_NE(files.Add("/data/Readme.txt", QString()), nullptr);
    EXPECT_EQ(files.File(0)->name(), Q("Readme.txt"));
    EXPECT_EQ(files.Add("/other/README.TXT", QString()), nullptr);
    EXPECT_EQ(files.Add("", Q("x")), nullptr);
    EXPECT_EQ(files.Add("/data/x", Q("a\\b")), nullptr);
    ASSERT_NE(files.Add("/data/odd\\name", QString()), nullptr);  // a Linux name with "\"
    EXPECT_EQ(files.File(1)->name(), Q("odd_name"));
    EXPECT_EQ(files.count(), 2);
    files.File(0)->SetName(Q("Other.txt"));
    EXPECT_FALSE(files.FileExists(Q("readme.txt")));
    EXPECT_NE(files.Add("/data/Readme.txt", QString()), nullptr);
    files.Remove(0);
    EXPECT_EQ(files.File(0)->name(), Q("odd_name"));
    EXPECT_EQ(files.File(5), nullptr);
    files.Clear();
    EXPECT_EQ(files.count(), 0);
}

TEST(IsoTree, AddReadsSizeAndATimeOfTheLocalFile) {
    TempFolder folder;
    WriteFile(folder.File("f.bin"), std::string(777, 'x'));
    ::chmod(folder.File("f.bin").c_str(), 0444);  // read-only files keep their date too
    clsISOFiles files;
    const clsISOFile* file = files.Add(folder.File("f.bin"), QString());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->Size(), 777);
    EXPECT_FALSE(file->CreationDate().IsZero());
    EXPECT_EQ(file->LocalPath(), folder.File("f.bin"));
}

TEST(IsoTree, FileAndDirectoryMayShareAName) {
    clsISOWriter writer;
    writer.Root().AddSubDirectory(Q("same"));
    EXPECT_NE(writer.Root().Files().Add("/x/same", QString()), nullptr);
}

TEST(IsoTree, PathsLevelsAndAncestry) {
    clsISOWriter writer;
    clsISODirectory* a = writer.Root().AddSubDirectory(Q("A"));
    clsISODirectory* b = a->AddSubDirectory(Q("B"));
    clsISODirectory* ab = writer.Root().AddSubDirectory(Q("AB"));
    EXPECT_EQ(writer.Root().FullPath(), Q("\\"));
    EXPECT_EQ(b->FullPath(), Q("\\A\\B\\"));
    EXPECT_EQ(clsISOWriter::DirectoryLevel(writer.Root()), 0);
    EXPECT_EQ(clsISOWriter::DirectoryLevel(*a), 1);
    EXPECT_EQ(clsISOWriter::DirectoryLevel(*b), 2);
    EXPECT_EQ(clsISOWriter::DirectoryInPath(*a, *ab), 1);
    EXPECT_TRUE(clsISOWriter::DirectoryIsChildOf(*a, *a));
    EXPECT_TRUE(clsISOWriter::DirectoryIsChildOf(*a, *b));
    EXPECT_TRUE(clsISOWriter::DirectoryIsChildOf(writer.Root(), *b));
    EXPECT_FALSE(clsISOWriter::DirectoryIsChildOf(*b, *a));
    EXPECT_FALSE(clsISOWriter::DirectoryIsChildOf(*a, *ab));
    // Equal parts further on do not count once a part differs.
    clsISODirectory* xb = writer.Root().AddSubDirectory(Q("X"))->AddSubDirectory(Q("B"));
    EXPECT_FALSE(clsISOWriter::DirectoryIsChildOf(*b, *xb));
}

TEST(IsoTree, DirByPathFollowsExactNames) {
    clsISOWriter writer;
    clsISODirectory* b = writer.Root().AddSubDirectory(Q("A"))->AddSubDirectory(Q("B"));
    EXPECT_EQ(writer.DirByPath(Q("\\")), &writer.Root());
    EXPECT_EQ(writer.DirByPath(Q("\\A\\B")), b);
    EXPECT_EQ(writer.DirByPath(b->FullPath()), b);  // node keys end in "\"
    EXPECT_EQ(writer.DirByPath(Q("A\\B")), nullptr);
    EXPECT_EQ(writer.DirByPath(QString()), nullptr);
    EXPECT_EQ(writer.DirByPath(Q("\\a\\B")), nullptr);
    EXPECT_EQ(writer.DirByPath(Q("\\A\\C")), nullptr);
    EXPECT_EQ(writer.DirByPath(Q("\\A\\\\B")), nullptr);
}

TEST(IsoTree, RemoveAndMoveDirectories) {
    clsISOWriter writer;
    clsISODirectory& root = writer.Root();
    clsISODirectory* a = root.AddSubDirectory(Q("A"));
    a->AddSubDirectory(Q("A1"))->Files().Add("/x/f", QString());
    root.AddSubDirectory(Q("B"));
    root.AddSubDirectory(Q("C"));
    std::unique_ptr<clsISODirectory> moved = root.RemoveSubDirectory(0, true);
    ASSERT_EQ(moved.get(), a);
    EXPECT_EQ(moved->Parent(), nullptr);
    EXPECT_EQ(root.SubDirectory(0)->name(), Q("B"));
    clsISODirectory* c = root.SubDirectory(1);
    EXPECT_EQ(c->AddSubDirectoryByRef(std::move(moved)), a);
    EXPECT_EQ(a->Parent(), c);
    EXPECT_EQ(a->SubDirectory(0)->Files().count(), 1);
    EXPECT_EQ(writer.DirByPath(Q("\\C\\A\\A1")), a->SubDirectory(0));
    std::unique_ptr<clsISODirectory> dropped = c->RemoveSubDirectory(0, false);
    EXPECT_EQ(dropped->SubDirectoryCount(), 0);
    EXPECT_EQ(c->SubDirectoryCount(), 0);
    EXPECT_EQ(root.RemoveSubDirectory(7, false), nullptr);
    root.Clear();
    EXPECT_EQ(root.SubDirectoryCount(), 0);
}

TEST(IsoTree, WildcardsAreCaseSensitive) {
    EXPECT_TRUE(WildcardMatch(Q("photo.JPG"), Q("*")));
    EXPECT_TRUE(WildcardMatch(Q("photo.JPG"), Q("*.JPG")));
    EXPECT_FALSE(WildcardMatch(Q("photo.jpg"), Q("*.JPG")));
    EXPECT_TRUE(WildcardMatch(Q("a1b"), Q("a#b")));
    EXPECT_FALSE(WildcardMatch(Q("axb"), Q("a#b")));
    EXPECT_TRUE(WildcardMatch(Q("cat"), Q("[bc]a?")));
    EXPECT_TRUE(WildcardMatch(Q("mat"), Q("[!bc]a?")));
    EXPECT_TRUE(WildcardMatch(Q("q"), Q("[a-z]")));
    EXPECT_FALSE(WildcardMatch(Q("Q"), Q("[a-z]")));
    EXPECT_TRUE(WildcardMatch(Q("abcabd"), Q("*ab?")));
    EXPECT_FALSE(WildcardMatch(Q("abc"), Q("a*d")));
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
    clsISODirectory* target = m_writer.Root().AddSubDirectory(Q("src"));
    target->AddLocalDirectory(Path("src"), {Q("*.JPG"), Q("sub")}, true);
    ASSERT_EQ(target->Files().count(), 1);
    EXPECT_EQ(target->Files().File(0)->name(), Q("photo.JPG"));
    ASSERT_EQ(target->SubDirectoryCount(), 1);
    EXPECT_EQ(target->SubDirectory(0)->Files().count(), 1);
    m_writer.Root().Clear();
    m_writer.Root().AddLocalDirectory(Path("src"), {Q("*")}, true);
    EXPECT_TRUE(m_writer.Root().Files().FileExists(Q("notes.v1.txt")));
    EXPECT_FALSE(m_writer.Root().SubDirExists(Q(".git")));
}

TEST_F(IsoScan, NonRecursiveScanCreatesNoDirectories) {
    Make("src/a.txt");
    Make("src/sub/b.txt");
    m_writer.Root().AddLocalDirectory(Path("src"), {Q("*")}, false);
    EXPECT_EQ(m_writer.Root().SubDirectoryCount(), 0);
    EXPECT_EQ(m_writer.Root().Files().count(), 1);
}

TEST_F(IsoScan, SpacesBackslashesAndCaseTwinsAreHandled) {
    Make("src/ notes.txt ", "spaced");
    Make("src/back\\slash");
    Make("src/README");
    Make("src/Readme");
    std::vector<SkippedEntry> skipped;
    m_writer.Root().AddLocalDirectory(Path("src"), {Q("*")}, true, &skipped);
    const clsISOFiles& files = m_writer.Root().Files();
    ASSERT_EQ(files.count(), 3);
    // The disc name is trimmed, the local path keeps the real name.
    const clsISOFile* spaced = files.File(0);
    EXPECT_EQ(spaced->name(), Q("notes.txt"));
    EXPECT_EQ(ReadFile(spaced->LocalPath()), "spaced");
    EXPECT_TRUE(files.FileExists(Q("back_slash")));
    ASSERT_EQ(skipped.size(), 1u);
    EXPECT_EQ(skipped[0].localPath, Path("src/Readme"));
}

TEST_F(IsoScan, NamesThatAreNotUtf8KeepTheirLocalPath) {
    Make("src/bad\xff.txt", "bytes");
    m_writer.Root().AddLocalDirectory(Path("src"), {Q("*")}, true);
    ASSERT_EQ(m_writer.Root().Files().count(), 1);
    const clsISOFile* file = m_writer.Root().Files().File(0);
    EXPECT_EQ(file->name(), QString::fromUtf8("bad\xef\xbf\xbd.txt"));  // U+FFFD on the disc
    EXPECT_EQ(ReadFile(file->LocalPath()), "bytes");                    // the real file is read
}

TEST_F(IsoScan, LoopsAndSpecialFilesAreNotFollowed) {
    Make("src/a.txt");
    std::filesystem::create_directory_symlink(Path("src"), Path("src/loop"));
    std::filesystem::create_symlink(Path("src/a.txt"), Path("src/link.txt"));
    ASSERT_EQ(::mkfifo(Path("src/pipe").c_str(), 0600), 0);
    std::vector<SkippedEntry> skipped;
    m_writer.Root().AddLocalDirectory(Path("src"), {Q("*")}, true, &skipped);
    const clsISOFiles& files = m_writer.Root().Files();
    EXPECT_EQ(files.count(), 2);  // a.txt and the link to a file
    EXPECT_TRUE(files.FileExists(Q("link.txt")));
    EXPECT_FALSE(files.FileExists(Q("pipe")));
    EXPECT_EQ(m_writer.Root().SubDirectoryCount(), 0);
    ASSERT_EQ(skipped.size(), 1u);
    EXPECT_EQ(skipped[0].localPath, Path("src/loop"));
}

TEST_F(IsoScan, AScanMergesIntoExistingDirectories) {
    Make("src/Photos/one.jpg");
    m_writer.Root().AddLocalDirectory(Path("src"), {Q("*")}, true);
    Make("src/Photos/two.jpg");
    m_writer.Root().AddLocalDirectory(Path("src"), {Q("*")}, true);
    ASSERT_EQ(m_writer.Root().SubDirectoryCount(), 1);
    EXPECT_EQ(m_writer.Root().SubDirectory(0)->Files().count(), 2);
    m_writer.Root().AddLocalDirectory(Path("missing"), {Q("*")}, true);
    EXPECT_EQ(m_writer.Root().SubDirectoryCount(), 1);
}
}  // namespace
