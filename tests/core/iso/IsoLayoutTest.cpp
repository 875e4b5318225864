// Sector numbers of tables and extents at their boundaries.
#include <gtest/gtest.h>

#include <cstdio>

#include "IsoTestSupport.h"
#include "IsoWriterTest.h"
#include "TestEnvironment.h"
#include "clsISOWriter.h"

namespace {
constexpr std::size_t kSector = 2048;
constexpr const char* kBase36 = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

class IsoLayout : public IsoWriterTest {
  protected:
    // Empty files whose short names have exactly the given lengths.
    void AddFiles(int count, int nameLength) {
        for (int i = 0; i < count; ++i) {
            char stem[32];
            std::snprintf(stem, sizeof stem, "%0*d", nameLength - 4, m_next++);
            const std::string path = "/memory/" + std::string(stem) + ".TXT";
            m_source.Put(path, "");
            ASSERT_NE(m_writer.Root().Files().Add(path, ""), nullptr);
        }
    }

    int m_next = 0;
};

TEST_F(IsoLayout, AnExtentFilledExactlyTakesAnExtraSector) {
    AddFiles(45, 11);  // 68 + 45 x 44 = 2048 bytes of records
    const std::string image = Build();
    const clsISOFiles& root = m_writer.Root().Files();
    EXPECT_EQ(root.Blocks(), 2);
    EXPECT_NE(image.at(root.LBA() * kSector + 2047), 0);
    EXPECT_TRUE(AllZero(image, (root.LBA() + 1) * kSector, kSector));
    EXPECT_EQ(root.LBAJoliet(), root.LBA() + 2);
}

TEST_F(IsoLayout, ARecordNeverCrossesASectorBoundary) {
    AddFiles(31, 11);  // 68 + 31 x 44 + 14 x 42 = 2020
    AddFiles(14, 9);
    AddFiles(1, 7);  // 40 bytes: would end at 2060
    const std::string image = Build();
    const std::size_t extent = static_cast<std::size_t>(m_writer.Root().Files().LBA()) * kSector;
    EXPECT_NE(image.at(extent + 2019), 0);
    EXPECT_TRUE(AllZero(image, extent + 2020, 28));
    EXPECT_EQ(image.at(extent + 2048), 40);
    EXPECT_EQ(Bytes(image, extent + 2048 + 33, 7), "045.TXT");
    EXPECT_EQ(m_writer.Root().Files().Blocks(), 2);
}

TEST_F(IsoLayout, APathTableOfExactly2048BytesTakesTwoSectors) {
    for (int i = 0; i < 199; ++i)
        m_writer.Root().AddSubDirectory({kBase36[i / 36], kBase36[i % 36]});
    for (int i = 0; i < 4; ++i) m_writer.Root().AddSubDirectory("LON" + std::to_string(i));
    const std::string image = Build();
    const std::size_t pvd = 16 * kSector, svd = 17 * kSector;
    EXPECT_EQ(Little32(image, pvd + 132), 2048u);  // 10 + 199 x 10 + 4 x 12
    EXPECT_EQ(Little32(image, pvd + 140), 19u);
    EXPECT_EQ(Big32(image, pvd + 148), 21u);
    EXPECT_EQ(Little32(image, svd + 132), 10u + 199 * 12 + 4 * 16);
    EXPECT_EQ(Little32(image, svd + 140), 23u);
    EXPECT_EQ(Big32(image, svd + 148), 25u);
    EXPECT_EQ(m_writer.Root().Files().LBA(), 27);
}

TEST_F(IsoLayout, ALargerJolietTableMovesTheDirectories) {
    for (int i = 0; i < 20; ++i)
        m_writer.Root().AddSubDirectory(std::string(97, 'j') + std::to_string(1000 + i).substr(1));
    const std::string image = Build();
    EXPECT_EQ(Little32(image, 16 * kSector + 132), 10u + 20 * 40);   // s = 1
    EXPECT_EQ(Little32(image, 17 * kSector + 132), 10u + 20 * 208);  // sJ = 3
    EXPECT_EQ(Big32(image, 17 * kSector + 148), 19u + 2 + 3);
    EXPECT_EQ(m_writer.Root().Files().LBA(), 19 + 2 * 1 + 2 * 3);
}

}  // namespace
