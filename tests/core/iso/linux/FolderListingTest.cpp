// A folder whose listing breaks off on an error (readdir fails, as on a
// damaged or network file system) is not taken for a shorter folder: it is
// named, and the image built from it fails as one with an unreadable file.
// readdir is replaced in this test program, failing inside one chosen folder.
#include <dirent.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "TestEnvironment.h"
#include "clsISOWriter.h"

namespace {
std::string g_failingFolder;  // readdir fails there after its first entries
int g_entriesBeforeFailure = 0;

std::string FolderOf(DIR* listing) {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(::dirfd(listing)), error)
        .string();
}
}  // namespace

extern "C" dirent* readdir(DIR* listing) {
    using Real = dirent* (*)(DIR*);
    static const Real real = reinterpret_cast<Real>(::dlsym(RTLD_NEXT, "readdir"));
    if (!g_failingFolder.empty() && FolderOf(listing) == g_failingFolder &&
        g_entriesBeforeFailure-- <= 0) {
        errno = EIO;
        return nullptr;
    }
    return real(listing);
}

TEST(FolderListing, AListingThatBreaksOffFailsTheBuildNamingTheFolder) {
    const TempFolder folder;
    const std::filesystem::path source = folder.Path() / "photos";
    std::filesystem::create_directory(source);
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        WriteFile((source / name).string(), name);
    clsISOWriter writer;
    std::vector<SkippedEntry> notes;
    g_failingFolder = std::filesystem::canonical(source).string();
    g_entriesBeforeFailure = 3;  // ".", ".." and one file
    EXPECT_EQ(writer.Root().AddLocalPath(source.string(), &notes), "");
    g_failingFolder.clear();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].kind, SkippedEntry::Kind::Unreadable);
    EXPECT_EQ(notes[0].localPath, source.string());
    EXPECT_EQ(notes[0].reason, "could not be listed completely: Input/output error");
    EXPECT_FALSE(writer.SaveISO(folder.File("out.iso")));
    ASSERT_EQ(writer.UnreadableFiles().size(), 1u);
    EXPECT_EQ(writer.UnreadableFiles()[0].path, source.string());
    // Listed whole, the same folder builds.
    clsISOWriter whole;
    EXPECT_EQ(whole.Root().AddLocalPath(source.string()), "");
    EXPECT_TRUE(whole.SaveISO(folder.File("whole.iso"))) << whole.LastError();
}
