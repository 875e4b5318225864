// Files of 4 GiB and more: sparse source files at the edges of the section
// rule, their records in both trees and their data. The readers of
// cli_iso_large_files and the kernel (vm_guest_readers) read such images.
#include <gtest/gtest.h>

#include <filesystem>

#include "IsoTestSupport.h"
#include "IsoWriterTest.h"
#include "clsISOWriter.h"

namespace {
constexpr std::int64_t kSector = 2048;
constexpr std::int64_t kGiB = 1LL << 30;
constexpr std::int64_t kSection = (4 * kGiB) - 2048;

std::string Ucs2(const std::string& ascii) {
    std::string bytes;
    for (const char c : ascii) bytes += {'\0', c};
    return bytes;
}

std::string Pattern(std::size_t count, char seed) {
    std::string bytes(count, '\0');
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>(seed + i % 251);
    return bytes;
}

class IsoLargeFiles : public IsoWriterTest {
  protected:
    struct Case {
        std::string name;
        std::int64_t size;
        std::vector<std::uint32_t> sections;  // record lengths, in order
        clsISOFile* file = nullptr;
    };
    clsISOFile* AddSparse(const std::string& name, std::int64_t size,
                          std::map<std::int64_t, std::string> pieces) {
        m_source.PutSparse("/memory/" + name, size, std::move(pieces));
        return m_writer.Root().Files().Add("/memory/" + name, name);
    }
    // Every file's records, adjacent and in order after "." and "..": the
    // same name, one section each, the multi-extent flag on all but the last.
    void ExpectRecords(const std::string& head, bool joliet, const std::vector<Case>& cases) {
        const clsISOFiles& root = m_writer.Root().Files();
        const auto records =
            Records(head, static_cast<std::size_t>(joliet ? root.LBAJoliet() : root.LBA()),
                    static_cast<std::size_t>(joliet ? root.BlocksJoliet() : root.Blocks()));
        std::size_t at = 2;
        for (const Case& file : cases) {
            std::int64_t extent = file.file->LBA();
            for (std::size_t k = 0; k < file.sections.size(); ++k, ++at) {
                SCOPED_TRACE(file.name + " section " + std::to_string(k) +
                             (joliet ? " (Joliet)" : ""));
                ASSERT_LT(at, records.size());
                EXPECT_EQ(records[at].name, joliet ? Ucs2(file.name) : file.file->DOSName());
                EXPECT_EQ(records[at].extent, extent);
                EXPECT_EQ(records[at].length, file.sections[k]);
                EXPECT_EQ(records[at].flags, k + 1 < file.sections.size() ? 0x80 : 0x00);
                extent += file.sections[k] / kSector;
            }
        }
        EXPECT_EQ(records.size(), at);
    }
};

TEST_F(IsoLargeFiles, FilesOf4GiBAndMoreAreRecordedInAdjacentSections) {
    const std::int64_t fiveSize = 5 * kGiB + 1001;
    const std::map<std::int64_t, std::string> pieces = {{0, Pattern(5000, 'a')},
                                                        {kSection - 3000, Pattern(7000, 'b')},
                                                        {fiveSize - 4000, Pattern(4000, 'c')}};
    std::vector<Case> cases = {
        {"below.bin", 4 * kGiB - 1, {0xFFFFFFFFu}},  // one extent holds it
        {"four.bin", 4 * kGiB, {kSection, 2048}},
        {"twice.bin", 2 * kSection, {kSection, kSection}},  // the last section is a whole one
        {"five.bin", fiveSize, {kSection, static_cast<std::uint32_t>(fiveSize - kSection)}},
        {"after.txt", 5, {5}},
    };
    for (Case& file : cases)
        file.file = AddSparse(file.name, file.size,
                              file.name == "five.bin"
                                  ? pieces
                                  : std::map<std::int64_t, std::string>{{file.size - 5, "tail!"}});
    const std::string out = m_folder.File("out.iso");
    ASSERT_TRUE(m_writer.SaveISO(out)) << m_writer.LastError();

    const clsISOFiles& root = m_writer.Root().Files();
    const std::string head = ReadAt(out, 0, (root.LBAJoliet() + root.BlocksJoliet()) * kSector);
    ExpectRecords(head, false, cases);
    ExpectRecords(head, true, cases);
    // Sections follow each other without a gap; the extra zero sector after a
    // length that is a multiple of 2048 comes only after a file's last section.
    EXPECT_EQ(cases[1].file->LBA(), cases[0].file->LBA() + 4 * kGiB / kSector);
    EXPECT_EQ(cases[2].file->LBA(), cases[1].file->LBA() + (4 * kGiB + kSector) / kSector);
    EXPECT_EQ(cases[3].file->LBA(), cases[2].file->LBA() + 2 * kSection / kSector + 1);
    const std::int64_t five = cases[3].file->LBA() * kSector;
    for (const auto& [offset, bytes] : pieces) {
        EXPECT_EQ(ReadAt(out, five + offset, std::ssize(bytes)), bytes) << "at " << offset;
        if (offset > 0) {
            EXPECT_EQ(ReadAt(out, five + offset - 3000, 3000), std::string(3000, '\0'));
        }
    }
    EXPECT_EQ(ReadAt(out, five + fiveSize, kSector - fiveSize % kSector),
              std::string(kSector - fiveSize % kSector, '\0'));
    EXPECT_EQ(ReadAt(out, cases[4].file->LBA() * kSector, 5), "tail!");
    EXPECT_EQ(static_cast<std::int64_t>(std::filesystem::file_size(out)),
              (cases[4].file->LBA() + 1) * kSector);
}

// Every section's record counts in the size of its directory: eight files
// of 4 GiB with long names take two sectors of Joliet records, where one
// record per file would fit in one.
TEST_F(IsoLargeFiles, EverySectionsRecordCountsInTheDirectorysSize) {
    std::vector<Case> cases;
    for (char letter = 'a'; letter < 'i'; ++letter) {
        const std::string name = std::string(100, letter) + ".bin";
        cases.push_back(
            {name, 4 * kGiB, {kSection, 2048}, AddSparse(name, 4 * kGiB, {{0, "head"}})});
    }
    const std::string out = m_folder.File("out.iso");
    ASSERT_TRUE(m_writer.SaveISO(out)) << m_writer.LastError();
    const clsISOFiles& root = m_writer.Root().Files();
    EXPECT_EQ(root.BlocksJoliet(), 2);
    const std::string head = ReadAt(out, 0, (root.LBAJoliet() + root.BlocksJoliet()) * kSector);
    ExpectRecords(head, false, cases);
    ExpectRecords(head, true, cases);
}

// The volume's 32-bit sector numbers end the image, not the files.
TEST_F(IsoLargeFiles, AnImageBeyondWhatISO9660AddressesIsRefused) {
    AddSparse("huge.bin", 5000 * kGiB, {{0, "x"}});
    EXPECT_FALSE(m_writer.SaveISO(m_folder.File("out.iso")));
    EXPECT_EQ(m_writer.LastError(), "the image would be larger than ISO 9660 can address");
    EXPECT_FALSE(std::filesystem::exists(m_folder.File("out.iso")));
}

}  // namespace
