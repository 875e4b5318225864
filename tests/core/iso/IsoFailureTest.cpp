// Builds that cannot, or can only partly, succeed.
#include <gtest/gtest.h>

#include <filesystem>

#include "IsoTestSupport.h"
#include "IsoWriterTest.h"
#include "LocalFileSource.h"
#include "TestEnvironment.h"
#include "clsISOWriter.h"

namespace {
constexpr std::size_t kSector = 2048;

class IsoFailure : public IsoWriterTest {
  protected:
    clsISOFile* AddFile(const std::string& name, std::string bytes) {
        m_source.Put("/memory/" + name, std::move(bytes));
        return m_writer.Root().Files().Add("/memory/" + name, name);
    }
};

TEST_F(IsoFailure, UnreadableSourcesBecomeZerosAndAreListed) {
    const clsISOFile* locked = AddFile("locked.bin", std::string(3000, 'l'));
    m_source.Put("/memory/locked.bin", std::string(3000, 'l')).openFails = true;
    const clsISOFile* shrunk = AddFile("shrunk.bin", std::string(3000, 's'));
    m_source.Put("/memory/shrunk.bin", std::string(1000, 's')).reportedLength = 3000;
    const clsISOFile* broken = AddFile("broken.bin", std::string(3000, 'x'));
    m_source.Put("/memory/broken.bin", std::string(3000, 'x')).readErrorAfter = 0;
    const clsISOFile* gone = AddFile("gone.bin", "");
    const clsISOFile* fine = AddFile("fine.bin", std::string(2500, 'f'));
    m_source.Erase("/memory/gone.bin");
    const std::string out = m_folder.File("out.iso");
    EXPECT_FALSE(m_writer.SaveISO(out));
    std::vector<std::string> listed;
    for (const auto& file : m_writer.UnreadableFiles()) listed.push_back(file.path);
    EXPECT_EQ(listed, (std::vector<std::string>{"/memory/gone.bin", "/memory/locked.bin",
                                                "/memory/shrunk.bin", "/memory/broken.bin"}));
    EXPECT_EQ(m_writer.UnreadableFiles()[2].reason, "shrank to 1000 of 3000 bytes");
    EXPECT_EQ(m_writer.UnreadableFiles()[3].reason, "read error");
    // The image is complete: zeros where bytes are missing, later files in place.
    const std::string image = ReadFile(out);
    ASSERT_FALSE(image.empty());
    EXPECT_TRUE(AllZero(image, locked->LBA() * kSector, 3000));
    EXPECT_EQ(Bytes(image, shrunk->LBA() * kSector, 1000), std::string(1000, 's'));
    EXPECT_TRUE(AllZero(image, shrunk->LBA() * kSector + 1000, 2000));
    EXPECT_TRUE(AllZero(image, broken->LBA() * kSector, 3000));
    EXPECT_EQ(gone->Size(), 0);
    EXPECT_EQ(Bytes(image, fine->LBA() * kSector, 2500), std::string(2500, 'f'));
    EXPECT_EQ(image.size(), (fine->LBA() + 2) * kSector);
}

TEST_F(IsoFailure, AGrownFileIsCutToItsPlannedSize) {
    const clsISOFile* file = AddFile("grows.bin", std::string(4000, 'g'));
    m_source.Put("/memory/grows.bin", std::string(4000, 'g')).reportedLength = 2000;
    const std::string out = m_folder.File("out.iso");
    EXPECT_TRUE(m_writer.SaveISO(out)) << m_writer.LastError();
    const std::string image = ReadFile(out);
    EXPECT_EQ(file->Size(), 2000);
    EXPECT_TRUE(AllZero(image, file->LBA() * kSector + 2000, 48));
}

TEST_F(IsoFailure, MoreThan65535DirectoriesAreRefused) {
    for (int i = 0; i < 65535; ++i) m_writer.Root().AddSubDirectory(std::to_string(i));
    const std::string out = m_folder.File("out.iso");
    EXPECT_FALSE(m_writer.SaveISO(out));
    EXPECT_NE(m_writer.LastError().find("65535"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(out));
}

// Local files; "large.bin" was 100000 bytes longer at layout time than when it is read.
class ShrinkingLocalFiles : public LocalFileSource {
  public:
    std::optional<Facts> Examine(const std::string& path) override {
        auto facts = LocalFileSource::Examine(path);
        if (facts && path.ends_with("large.bin")) facts->length += 100000;
        return facts;
    }
};

TEST_F(IsoFailure, ALargeLocalFileThatShrankIsPaddedAndReported) {
    const std::string path = m_folder.File("large.bin");
    std::string content(600000, 'L');
    content[0] = 'F';
    WriteFile(path, content);
    ShrinkingLocalFiles source;
    clsISOWriter writer;
    writer.SetFileSource(&source);
    WriteFile(m_folder.File("after.txt"), "after");
    const clsISOFile* file = writer.Root().Files().Add(path, "");
    const clsISOFile* after = writer.Root().Files().Add(m_folder.File("after.txt"), "");
    const std::string out = m_folder.File("out.iso");
    EXPECT_FALSE(writer.SaveISO(out));
    ASSERT_EQ(writer.UnreadableFiles().size(), 1u);
    EXPECT_NE(writer.UnreadableFiles()[0].reason.find("shrank to 600000 of 700000"),
              std::string::npos);
    const std::string image = ReadFile(out);
    EXPECT_EQ(Bytes(image, file->LBA() * kSector, 600000), content);
    EXPECT_TRUE(AllZero(image, file->LBA() * kSector + 600000, 100000));
    EXPECT_EQ(Bytes(image, after->LBA() * kSector, 5), "after");
}
}  // namespace
