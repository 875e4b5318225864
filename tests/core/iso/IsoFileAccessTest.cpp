// The portable file layer and local dates.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "LocalDateTime.h"
#include "TestEnvironment.h"
#include "modFileAccess.h"

namespace {
using namespace modFileAccess;

TEST(IsoFileAccess, PositionsAre64Bit) {
    TempFolder folder;
    const std::string path = folder.File("sparse.bin");
    FileHandleRecord file =
        FileOpen(path, Access::ReadWrite, Share::ReadWrite, Disposition::CreateAlways);
    ASSERT_NE(file.handle, -1);
    EXPECT_EQ(file.path, path);
    const std::int64_t beyond = (5LL << 30) + 7;  // past both 2 GiB and 4 GiB
    EXPECT_EQ(FileSeek(file, beyond, SeekMethod::Begin), beyond);
    EXPECT_EQ(FileWrite(file, "z", 1), 1);
    EXPECT_EQ(FilePos(file), beyond + 1);
    EXPECT_EQ(FileSeek(file, -1, SeekMethod::End), beyond);
    char byte = 0;
    EXPECT_EQ(FileRead(file, &byte, 1), 1);
    EXPECT_EQ(byte, 'z');
    EXPECT_EQ(FileRead(file, &byte, 1), 0);
    FileClose(file);
    EXPECT_EQ(file.handle, -1);
    EXPECT_TRUE(file.path.empty());
    const auto facts = FileInfo(path);
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->size, beyond + 1);
    EXPECT_EQ(facts->kind, EntryKind::RegularFile);
}

TEST(IsoFileAccess, ClosedHandlesAndFailures) {
    FileHandleRecord closed;
    char buffer[4];
    EXPECT_EQ(FileRead(closed, buffer, 4), 0);
    EXPECT_EQ(FileWrite(closed, buffer, 4), 0);
    EXPECT_EQ(
        FileOpen("/nonexistent/x", Access::Read, Share::Read, Disposition::OpenExisting).handle,
        -1);
    EXPECT_FALSE(LastErrorText().empty());
    FileHandleRecord full =
        FileOpen("/dev/full", Access::Write, Share::ReadWrite, Disposition::OpenExisting);
    ASSERT_NE(full.handle, -1);
    EXPECT_EQ(FileWrite(full, buffer, 4), -1);  // "No space left on device"
    EXPECT_NE(LastErrorText().find("space"), std::string::npos);
    FileClose(full);
    EXPECT_FALSE(FileInfo("/nonexistent/x"));
    EXPECT_FALSE(ListFolder("/nonexistent/x"));
}

TEST(IsoFileAccess, FoldersAreListedLiterallyAndSorted) {
    TempFolder folder;
    WriteFile(folder.File("b"), "");
    WriteFile(folder.File("*"), "");  // a legal name, not a wildcard
    WriteFile(folder.File("a?"), "");
    std::filesystem::create_directory(folder.File("dir"));
    const auto entries = ListFolder(folder.Path().string());
    ASSERT_TRUE(entries);
    std::vector<std::string> names;
    for (const auto& entry : *entries) names.push_back(entry.name);
    EXPECT_EQ(names, (std::vector<std::string>{"*", "a?", "b", "dir"}));
    EXPECT_EQ(entries->back().kind, EntryKind::Directory);
    EXPECT_TRUE(RenameFile(folder.File("b"), folder.File("c")));
    EXPECT_TRUE(DeleteFile(folder.File("c")));
    EXPECT_FALSE(DeleteFile(folder.File("c")));
}

class ZoneScope {
  public:
    explicit ZoneScope(const char* zone) {
        const char* old = std::getenv("TZ");
        m_old = old != nullptr ? old : "";
        m_had = old != nullptr;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ZoneScope() {
        if (m_had)
            ::setenv("TZ", m_old.c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

  private:
    std::string m_old;
    bool m_had = false;
};

TEST(IsoLocalDate, OffsetsFollowTheZoneAndSummerTime) {
    {
        ZoneScope zone("Asia/Shanghai");
        EXPECT_EQ((LocalDateTime{2024, 1, 15, 12, 0, 0}.UtcOffsetQuarterHours()), 32);
    }
    {
        ZoneScope zone("Europe/Berlin");
        EXPECT_EQ((LocalDateTime{2024, 1, 15, 12, 0, 0}.UtcOffsetQuarterHours()), 4);
        EXPECT_EQ((LocalDateTime{2024, 7, 15, 12, 0, 0}.UtcOffsetQuarterHours()), 8);
    }
    {
        ZoneScope zone("America/St_Johns");
        EXPECT_EQ((LocalDateTime{2024, 1, 15, 12, 0, 0}.UtcOffsetQuarterHours()), -14);
    }
    EXPECT_EQ(LocalDateTime{}.UtcOffsetQuarterHours(), 0);
}

TEST(IsoLocalDate, ParseAcceptsOnlyRealDates) {
    EXPECT_EQ(LocalDateTime::Parse("2024-02-29 23:59:58"),
              (LocalDateTime{2024, 2, 29, 23, 59, 58}));
    EXPECT_FALSE(LocalDateTime::Parse("2023-02-29 10:00:00"));
    EXPECT_FALSE(LocalDateTime::Parse("2024-10-03 24:00:00"));
    EXPECT_FALSE(LocalDateTime::Parse("2024-10-03"));
    EXPECT_FALSE(LocalDateTime::Parse("2024-10-03 10:00:00 extra"));
    ZoneScope zone("UTC");
    EXPECT_EQ(LocalDateTime::FromEpoch(86400), (LocalDateTime{1970, 1, 2, 0, 0, 0}));
}
}  // namespace
