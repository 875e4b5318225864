// Whole images built from in-memory trees, checked byte by byte.
#include <gtest/gtest.h>

#include "IsoTestSupport.h"
#include "IsoWriterTest.h"
#include "TestEnvironment.h"
#include "clsISOWriter.h"

namespace {
constexpr std::size_t kSector = 2048;

class IsoImage : public IsoWriterTest {
  protected:
    void SetUp() override {
        IsoWriterTest::SetUp();
        UseShanghaiTime();
        m_writer.SetVolumeCreation({2024, 10, 3, 14, 5, 9});
    }
    clsISOFile* AddFile(clsISODirectory& directory, const std::string& name, std::string bytes) {
        const std::string path = "/memory/" + directory.FullPath() + name;
        m_source.Put(path, std::move(bytes));
        clsISOFile* file = directory.Files().Add(path, name);
        file->SetCreationDate({2023, 5, 6, 7, 8, 9});
        return file;
    }
};

// Where everything lies; the readers of cli_iso_oracles check the contents
// of descriptors, path tables and records.
TEST_F(IsoImage, EmptyRootWithJolietIs25Sectors) {
    const std::string image = Build();
    ASSERT_EQ(image.size(), 25 * kSector);
    EXPECT_TRUE(AllZero(image, 0, 16 * kSector));
    EXPECT_EQ(Bytes(image, 18 * kSector, 7), "\xff" + std::string("CD001\x01"));
    const std::size_t pvd = 16 * kSector, svd = 17 * kSector;
    EXPECT_EQ(Little32(image, pvd + 80), 25u);
    EXPECT_EQ(Little32(image, pvd + 132), 10u);
    // Path tables L and M of each tree, then the two root extents.
    const std::vector<std::uint32_t> sectors = {
        Little32(image, pvd + 140), Big32(image, pvd + 148),    Little32(image, svd + 140),
        Big32(image, svd + 148),    Little32(image, pvd + 158), Little32(image, svd + 158)};
    EXPECT_EQ(sectors, (std::vector<std::uint32_t>{19, 20, 21, 22, 23, 24}));
    EXPECT_EQ(Little32(image, pvd + 156 + 10), 2048u);  // one sector
    for (std::size_t table = 19; table <= 22; ++table)
        EXPECT_TRUE(AllZero(image, table * kSector + 10, kSector - 10));
    EXPECT_TRUE(AllZero(image, 23 * kSector + 68, kSector - 68));
    EXPECT_EQ(m_events.events,
              (std::vector<std::string>{"building", "tables", "directories", "finished"}));
}

TEST_F(IsoImage, FileDataIsPaddedToTheNextSectorBoundary) {
    std::string five(5000, 'f'), four(4096, 'g');
    clsISOFile* a = AddFile(m_writer.Root(), "five.bin", five);
    clsISOFile* empty = AddFile(m_writer.Root(), "empty", "");
    clsISOFile* b = AddFile(m_writer.Root(), "four.bin", four);
    const std::string image = Build();
    EXPECT_EQ(Bytes(image, a->LBA() * kSector, 5000), five);
    EXPECT_TRUE(AllZero(image, a->LBA() * kSector + 5000, 1144));
    EXPECT_EQ(b->LBA(), a->LBA() + 3);
    EXPECT_EQ(Bytes(image, b->LBA() * kSector, 4096), four);
    EXPECT_TRUE(AllZero(image, b->LBA() * kSector + 4096, 2048));
    EXPECT_EQ(image.size(), (b->LBA() + 3) * kSector);
    EXPECT_EQ(empty->LBA(), 0);
    const auto records = Records(image, static_cast<std::size_t>(m_writer.Root().Files().LBA()));
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[3].name, "EMPTY.");
    EXPECT_EQ(records[3].extent, 0u);  // the lengths are read back by cli_iso_oracles
    // Progress: an empty file is announced too.
    ASSERT_EQ(m_events.events.size(), 7u);
    EXPECT_EQ(m_events.events[4], m_events.events[5]);
}

TEST_F(IsoImage, RecordsKeepInsertionOrderAndZeroPadding) {
    clsISODirectory& root = m_writer.Root();
    root.AddSubDirectory("SEVENCH");
    root.AddSubDirectory("B");
    root.AddSubDirectory("A");
    root.AddSubDirectory("FOUR");
    AddFile(root, "z.txt", "1");
    AddFile(root, "y.txt", "2");
    const std::string image = Build();
    for (const bool joliet : {false, true}) {
        const auto lba = joliet ? root.Files().LBAJoliet() : root.Files().LBA();
        const auto records = Records(image, static_cast<std::size_t>(lba));
        ASSERT_EQ(records.size(), 8u);
        std::vector<std::string> names;
        for (std::size_t i = 2; i < records.size(); ++i) names.push_back(records[i].name);
        const std::vector<std::string> expected =
            joliet ? std::vector<std::string>{std::string("\0S\0E\0V\0E\0N\0C\0H", 14),
                                              std::string("\0B", 2),
                                              std::string("\0A", 2),
                                              std::string("\0F\0O\0U\0R", 8),
                                              std::string("\0z\0.\0t\0x\0t", 10),
                                              std::string("\0y\0.\0t\0x\0t", 10)}
                   : std::vector<std::string>{"SEVENCH", "B", "A", "FOUR", "Z.TXT", "Y.TXT"};
        EXPECT_EQ(names, expected);
    }
    const auto records = Records(image, static_cast<std::size_t>(root.Files().LBA()));
    // FOUR (even length) follows SEVENCH: its padding byte is 00h.
    EXPECT_EQ(records[5].recordLength, 38);
    EXPECT_EQ(image.at(records[5].offset + 37), '\0');
    EXPECT_EQ(records[2].recordLength, 40);
}

TEST_F(IsoImage, PathTablesListLevelByLevelInInsertionOrder) {
    clsISODirectory& root = m_writer.Root();
    clsISODirectory* b = root.AddSubDirectory("B");
    clsISODirectory* a = root.AddSubDirectory("A");
    b->AddSubDirectory("B1");
    b->AddSubDirectory("B2");
    clsISODirectory* a1 = a->AddSubDirectory("A1");
    const std::string image = Build();
    const std::size_t table =
        static_cast<std::size_t>(Little32(image, 16 * kSector + 140)) * kSector;
    std::vector<std::pair<std::string, int>> entries;
    for (std::size_t at = table + 10; image.at(at) != 0;) {
        const auto length = static_cast<std::uint8_t>(image.at(at));
        entries.push_back({Bytes(image, at + 8, length), Little16(image, at + 6)});
        at += 8 + length + length % 2;
    }
    EXPECT_EQ(entries, (std::vector<std::pair<std::string, int>>{
                           {"B", 1}, {"A", 1}, {"B1", 2}, {"B2", 2}, {"A1", 3}}));
    EXPECT_EQ(a1->DirectoryNumber(), 6);
    EXPECT_EQ(Little32(image, 16 * kSector + 132), 10u + 4 * 10 + 10);
    // The big-endian table repeats it.
    const std::size_t typeM = static_cast<std::size_t>(Big32(image, 16 * kSector + 148)) * kSector;
    EXPECT_EQ(Big32(image, typeM + 2), static_cast<std::uint32_t>(root.Files().LBA()));
}

TEST_F(IsoImage, DescriptorFieldsAndFilters) {
    EXPECT_EQ(m_writer.VolumeID(false), "NEW_DISC");
    EXPECT_EQ(m_writer.VolumeID(true), "New_Disc");
    m_writer.SetVolumeID("my disc 1", false);
    EXPECT_EQ(m_writer.VolumeID(false), "MY_DISC_1");
    m_writer.SetVolumeID("my disc 1", true);
    EXPECT_EQ(m_writer.VolumeID(true), "my disc 1");
    m_writer.SetPublisherID("a#b$c%d", false);
    EXPECT_EQ(m_writer.PublisherID(false), "a_b_c_d");
    m_writer.SetSystemID("系统 LINUX", false);
    EXPECT_EQ(m_writer.SystemID(false), "__ LINUX");
    m_writer.SetVolumeSetID(std::string(40, 'v'), false);
    const std::string image = Build();
    const std::size_t pvd = 16 * kSector, svd = 17 * kSector;
    EXPECT_EQ(Bytes(image, pvd + 190, 128), std::string(40, 'V') + std::string(88, ' '));
    EXPECT_EQ(Bytes(image, pvd + 739, 74), std::string(74, ' '));
    EXPECT_EQ(Bytes(image, pvd + 830, 17), std::string("2024100314050900\x20", 17));
    EXPECT_EQ(Bytes(image, pvd + 847, 17), std::string("0000000000000000\0", 17));
    EXPECT_EQ(image.at(pvd + 881), 1);
    // Recording date of the root record: years since 1900, then +8 h in quarter hours.
    EXPECT_EQ(Bytes(image, pvd + 156 + 18, 7), std::string("\x7c\x0a\x03\x0e\x05\x09\x20", 7));
    EXPECT_EQ(Bytes(image, svd + 88, 4), std::string("\x25\x2f\x45\x00", 4));
    std::string emptyField;
    for (int i = 0; i < 18; ++i) emptyField += std::string("\x00\x20", 2);
    EXPECT_EQ(Bytes(image, svd + 776, 37), emptyField + std::string(1, '\0'));
    EXPECT_EQ(Bytes(image, svd + 813, 17), Bytes(image, pvd + 813, 17));
}

TEST_F(IsoImage, DatesOutsideTheRecordRangeAndMonthDigits) {
    m_writer.SetVolumeCreation({1850, 5, 1, 0, 0, 0});
    const std::string image = Build();
    EXPECT_TRUE(AllZero(image, 16 * kSector + 156 + 18, 7));
    EXPECT_EQ(Bytes(image, 16 * kSector + 813, 16), "1850050100000000");
}
}  // namespace
