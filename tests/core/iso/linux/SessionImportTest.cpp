// The importer reads sessions made by xorriso (the independent writer) and by
// this program's own writer; the next session it leads to is read back by
// xorriso.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

#include "../IsoTestSupport.h"
#include "SessionImporter.h"
#include "SessionMerge.h"
#include "SessionTexts.h"
#include "TestEnvironment.h"
#include "clsISOWriter.h"

namespace {
// Blocks of an image held in memory; reads beyond its end fail.
SessionImporter::BlockReader ReaderOf(const std::string& image) {
    return [&image](std::int64_t lba, std::int32_t count, std::uint8_t* out) {
        const auto at = static_cast<std::size_t>(lba) * 2048;
        const auto bytes = static_cast<std::size_t>(count) * 2048;
        if (lba < 0 || at + bytes > image.size()) return false;
        std::copy_n(image.data() + at, bytes, out);
        return true;
    };
}

// A name as Joliet records spell it (UCS-2, big-endian), for ASCII names.
std::string Ucs2(const std::string& ascii) {
    std::string bytes;
    for (const char c : ascii) bytes += {'\0', c};
    return bytes;
}

// Blocks of an image file (a sparse one of several GiB, say).
SessionImporter::BlockReader FileReaderOf(const std::string& path) {
    return [path](std::int64_t lba, std::int32_t count, std::uint8_t* out) {
        std::ifstream file(path, std::ios::binary);
        file.seekg(lba * 2048);
        file.read(reinterpret_cast<char*>(out), std::int64_t{count} * 2048);
        return file.gcount() == std::int64_t{count} * 2048;
    };
}

const ImportedEntry* Find(const ImportedEntry& from, const std::string& path) {
    const ImportedEntry* entry = &from;
    std::size_t begin = 0;
    while (entry != nullptr && begin < path.size()) {
        const std::size_t end = std::min(path.find('/', begin), path.size());
        const std::string part = path.substr(begin, end - begin);
        const ImportedEntry* next = nullptr;
        for (const ImportedEntry& child : entry->children)
            if (child.name == part) next = &child;
        entry = next;
        begin = end + 1;
    }
    return entry;
}

// The bytes of an imported file, read from the image at its extent.
std::string Content(const std::string& image, const ImportedEntry& file) {
    return image.substr(static_cast<std::size_t>(file.lba) * 2048,
                        static_cast<std::size_t>(file.size));
}

class SessionImportTest : public ::testing::Test {
  protected:
    std::string Source(const std::string& name) const { return m_folder.File("src/" + name); }
    void Put(const std::string& name, const std::string& bytes) { WriteFile(Source(name), bytes); }
    // Runs xorriso (UTF-8 names) and returns the image it wrote.
    std::string Xorriso(const std::string& options) {
        const std::string image = m_folder.File("xorriso.iso");
        const std::string command = "cd '" + m_folder.Path().string() +
                                    "' && LC_ALL=C.UTF-8 xorriso -local_charset UTF-8 -outdev '" +
                                    image + "' " + options + " -map src / -commit >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return ReadFile(image);
    }

    TempFolder m_folder;
};

TEST_F(SessionImportTest, RockRidgeNamesWithoutJolietAndLeftOutEntries) {
    Put("Mixed Case Name.txt", "rock ridge keeps case");
    Put("deep/a/b/c/d/e/f/g/h/i/ninth.dat", std::string(5000, 'x'));
    Put("empty.txt", "");
    std::filesystem::create_symlink("Mixed Case Name.txt", Source("link"));
    ASSERT_EQ(std::system(("mkfifo '" + Source("pipe") + "'").c_str()), 0);
    const std::string image = Xorriso("");
    const ImportedSession session = SessionImporter(ReaderOf(image)).Import(0);
    ASSERT_EQ(session.refusal, "");
    EXPECT_EQ(session.namesFrom, "Rock Ridge");
    const ImportedEntry* mixed = Find(session.root, "Mixed Case Name.txt");
    ASSERT_NE(mixed, nullptr);
    EXPECT_EQ(Content(image, *mixed), "rock ridge keeps case");
    const ImportedEntry* deep = Find(session.root, "deep/a/b/c/d/e/f/g/h/i/ninth.dat");
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(Content(image, *deep), std::string(5000, 'x'));
    ASSERT_NE(Find(session.root, "empty.txt"), nullptr);
    EXPECT_EQ(Find(session.root, "empty.txt")->size, 0);
    EXPECT_EQ(Find(session.root, "link"), nullptr);
    EXPECT_EQ(Find(session.root, "pipe"), nullptr);
    ASSERT_EQ(session.leftOut.size(), 2U);
    EXPECT_EQ(session.leftOut[0].reason == Text(SessionText::SymbolicLink) ||
                  session.leftOut[1].reason == Text(SessionText::SymbolicLink),
              true);
}

TEST_F(SessionImportTest, JolietNamesWinAndPlainIsoNamesLoseTheirVersion) {
    Put("长文件名 with spaces.txt", "joliet");
    Put("README", "no extension");
    const std::string joliet = Xorriso("-joliet on");
    const ImportedSession withJoliet = SessionImporter(ReaderOf(joliet)).Import(0);
    EXPECT_EQ(withJoliet.namesFrom, "Joliet");
    ASSERT_NE(Find(withJoliet.root, "长文件名 with spaces.txt"), nullptr);
    std::filesystem::remove(m_folder.File("xorriso.iso"));
    const std::string plain = Xorriso("-rockridge off");
    const ImportedSession iso = SessionImporter(ReaderOf(plain)).Import(0);
    EXPECT_EQ(iso.namesFrom, "ISO 9660");
    const ImportedEntry* readme = Find(iso.root, "README");
    ASSERT_NE(readme, nullptr) << "\";1\" and the lone dot are not part of the name";
    EXPECT_EQ(Content(plain, *readme), "no extension");
}

TEST_F(SessionImportTest, ReadsThisProgramsOwnNonConformingImages) {
    MemoryFileSource source;
    clsISOWriter writer;
    writer.SetFileSource(&source);
    clsISODirectory* dir = &writer.Root();
    for (int level = 0; level < 10; ++level)
        dir = dir->AddSubDirectory("level " + std::to_string(level));
    source.Put("/deep", std::string(4096, 'd'));  // an exact multiple of 2048
    dir->Files().Add("/deep", "a.long.name.with.several.dots.txt", false);
    source.Put("/empty", "");
    writer.Root().Files().Add("/empty", "empty", false);
    const std::string path = m_folder.File("own.iso");
    ASSERT_TRUE(writer.SaveISO(path)) << writer.LastError();
    const std::string image = ReadFile(path);
    const ImportedSession session = SessionImporter(ReaderOf(image)).Import(0);
    ASSERT_EQ(session.refusal, "");
    std::string deepPath;
    for (int level = 0; level < 10; ++level) deepPath += "level " + std::to_string(level) + "/";
    const ImportedEntry* deep = Find(session.root, deepPath + "a.long.name.with.several.dots.txt");
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(Content(image, *deep), std::string(4096, 'd'));
    ASSERT_NE(Find(session.root, "empty"), nullptr);
    EXPECT_EQ(Find(session.root, "empty")->lba, 0);
    EXPECT_TRUE(session.leftOut.empty());
}

TEST_F(SessionImportTest, RefusesWhatItCannotContinue) {
    std::string udf(40 * 2048, '\0');
    udf.replace(16 * 2048 + 1, 5, "BEA01");
    udf.replace(17 * 2048 + 1, 5, "NSR02");
    EXPECT_EQ(SessionImporter(ReaderOf(udf)).Import(0).refusal, Text(SessionText::NotIsoUdf));
    const std::string audio(40 * 2048, '\x55');
    EXPECT_EQ(SessionImporter(ReaderOf(audio)).Import(0).refusal, Text(SessionText::NotIso));
    EXPECT_NE(SessionImporter(ReaderOf(audio)).Import(100).refusal, "");  // beyond the end

    // A file record marked as continued by a record that never comes: its
    // last section is lost. Copying says so in its own words.
    Put("big.bin", "part");
    std::string image = Xorriso("");
    const ImportedSession plain = SessionImporter(ReaderOf(image)).Import(0);
    const std::string marker = "BIG.BIN";
    const std::size_t isoName = image.find(marker);
    ASSERT_NE(isoName, std::string::npos);
    image[isoName - 33 + 25] = static_cast<char>(image[isoName - 33 + 25] | 0x80);
    EXPECT_EQ(SessionImporter(ReaderOf(image)).Import(0).refusal,
              Text(SessionText::ScatteredFile, {"big.bin"}));
    EXPECT_EQ(SessionImporter(ReaderOf(image), SessionImporter::Purpose::Copy).Import(0).refusal,
              Text(SessionText::CopyScatteredFile, {"big.bin"}));
    EXPECT_EQ(SessionImporter(ReaderOf(udf), SessionImporter::Purpose::Copy).Import(0).refusal,
              Text(SessionText::CopyNotIsoUdf));
    EXPECT_EQ(plain.refusal, "");
}

TEST_F(SessionImportTest, AFileWhoseExtentLiesOutsideTheSessionIsLeftOut) {
    Put("fine.txt", "fine");
    Put("lost.txt", "lost");
    std::string image = Xorriso("-rockridge off");
    const std::size_t name = image.find("LOST.TXT;1");
    ASSERT_NE(name, std::string::npos);
    image.replace(name - 33 + 2, 4, std::string("\xff\xff\x00\x00", 4));  // LBA 65535
    const ImportedSession session = SessionImporter(ReaderOf(image)).Import(0);
    ASSERT_EQ(session.refusal, "");
    ASSERT_EQ(session.leftOut.size(), 1U);
    EXPECT_EQ(session.leftOut[0].path, "LOST.TXT");
    EXPECT_NE(Find(session.root, "FINE.TXT"), nullptr);
}

// The next session, made for its place after a session xorriso wrote, lists
// the old files at their addresses and the new ones; xorriso reads the
// combined disc image from the new session's descriptors.
TEST_F(SessionImportTest, NextSessionHoldsOldAndNewFilesForXorriso) {
    Put("Old Photo.jpg", std::string(3000, 'o'));
    Put("album/notes.txt", "old notes");
    Put("album/keep.txt", "kept");
    const std::string first = Xorriso("");
    ImportedSession session = SessionImporter(ReaderOf(first)).Import(0);
    ASSERT_EQ(session.refusal, "");

    MemoryFileSource source;
    clsISOWriter writer;
    writer.SetFileSource(&source);
    SessionMerge::AddImported(writer.Root(), session.root, session.leftOut);
    clsISODirectory added;
    source.Put("/new-notes", "new notes");
    source.Put("/fresh", std::string(70000, 'f'));
    clsISODirectory* album = added.AddSubDirectory("Album");  // merges, case ignored
    album->Files().Add("/new-notes", "notes.txt", false);
    album->Files().Add("/fresh", "fresh.bin", false);
    EXPECT_EQ(SessionMerge::Clashes(writer.Root(), added),
              std::vector<std::string>{"\\album\\notes.txt"});
    SessionMerge::Merge(writer.Root(), added);

    const std::int32_t start = static_cast<std::int32_t>(first.size() / 2048) + 300;
    writer.SetSessionStart(start);
    const std::string next = m_folder.File("next.iso");
    ASSERT_TRUE(writer.SaveISO(next)) << writer.LastError();
    std::string disc = first;
    disc.resize(static_cast<std::size_t>(start) * 2048, '\0');
    disc += ReadFile(next);
    EXPECT_EQ(Little32(disc, static_cast<std::size_t>(start + 16) * 2048 + 80), disc.size() / 2048)
        << "the volume space counts from LBA 0";
    WriteFile(m_folder.File("disc.img"), disc);

    const std::string out = m_folder.File("out");
    const std::string command =
        "LC_ALL=C.UTF-8 xorriso -abort_on FATAL -local_charset UTF-8 "
        "-load sbsector " +
        std::to_string(start) + " -indev '" + m_folder.File("disc.img") +
        "' -osirrox on -extract / '" + out + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_EQ(ReadFile(out + "/Old Photo.jpg"), std::string(3000, 'o'));
    EXPECT_EQ(ReadFile(out + "/album/keep.txt"), "kept");
    EXPECT_EQ(ReadFile(out + "/album/notes.txt"), "new notes");
    EXPECT_EQ(ReadFile(out + "/album/fresh.bin"), std::string(70000, 'f'));
    // The old file's data was not written again: the new session holds only new data.
    EXPECT_LT(std::filesystem::file_size(next), 40U * 2048 + 70000 + 20 * 2048);
}

// A file of 4 GiB or more, written in two sections by this program's writer
// (whose records xorriso, pycdlib, bsdtar and 7-Zip read in cli_iso_large_files),
// is imported as one file; the next session lists it with the same sections,
// and xorriso reads both sessions' files from the next session. Sections that
// do not follow each other are refused by name; sections split elsewhere but
// following each other are one file.
class SessionImportLargeFileTest : public SessionImportTest {
  protected:
    static constexpr std::int64_t kSize = (5LL << 30) + 1001;
    static constexpr std::int64_t kBoundary = 0xFFFFF800LL;  // where the first section ends
    using Section = std::tuple<std::uint32_t, std::uint32_t, std::uint8_t>;

    // The sections (extent, length, flags) of the records named `name` in
    // the directory extent at `sector` of `head`.
    static std::vector<Section> SectionsOf(const std::string& head, std::int64_t sector,
                                           std::int64_t blocks, const std::string& name) {
        std::vector<Section> sections;
        for (const Record& record :
             Records(head, static_cast<std::size_t>(sector), static_cast<std::size_t>(blocks)))
            if (record.name == name)
                sections.emplace_back(record.extent, record.length, record.flags);
        return sections;
    }
    // Rewrites the extent and length of the records named `name`, both byte orders.
    static void Rewrite(std::string& head, std::int64_t sector, const std::string& name,
                        std::size_t section, std::uint32_t extent, std::uint32_t length) {
        std::size_t seen = 0;
        for (const Record& record : Records(head, static_cast<std::size_t>(sector)))
            if (record.name == name && seen++ == section)
                for (const auto& [at, value] :
                     {std::pair{record.offset + 2, extent}, std::pair{record.offset + 10, length}})
                    for (int i = 0; i < 4; ++i) {
                        head[at + i] = static_cast<char>(value >> (8 * i));
                        head[at + 7 - i] = static_cast<char>(value >> (8 * i));
                    }
    }

    MemoryFileSource m_source;
    const std::map<std::int64_t, std::string> m_pieces = {
        {0, std::string(3000, 'a')},
        {kBoundary - 1500, std::string(3000, 'b')},
        {kSize - 2000, std::string(2000, 'c')}};
};

TEST_F(SessionImportLargeFileTest, IsOneFileKeptWithItsSectionsInTheNextSession) {
    clsISOWriter first;
    first.SetFileSource(&m_source);
    m_source.PutSparse("/big", kSize, m_pieces);
    m_source.Put("/small", "small");
    clsISOFile* big = first.Root().Files().Add("/big", "big.bin", false);
    first.Root().Files().Add("/small", "small.txt", false);
    const std::string firstPath = m_folder.File("first.iso");
    ASSERT_TRUE(first.SaveISO(firstPath)) << first.LastError();
    const clsISOFiles& root = first.Root().Files();
    const std::string head = ReadAt(firstPath, 0, (root.LBAJoliet() + root.BlocksJoliet()) * 2048);
    const auto sections = SectionsOf(head, root.LBAJoliet(), root.BlocksJoliet(), Ucs2("big.bin"));
    ASSERT_EQ(sections.size(), 2U);

    ImportedSession session = SessionImporter(FileReaderOf(firstPath)).Import(0);
    ASSERT_EQ(session.refusal, "");
    const ImportedEntry* imported = Find(session.root, "big.bin");
    ASSERT_NE(imported, nullptr);
    EXPECT_EQ(imported->size, kSize);
    EXPECT_EQ(imported->lba, big->LBA());
    for (const auto& [offset, bytes] : m_pieces)
        EXPECT_EQ(ReadAt(firstPath, imported->lba * 2048LL + offset, std::ssize(bytes)), bytes);
    ASSERT_NE(Find(session.root, "small.txt"), nullptr);

    // The next session: the same sections in both trees, and a new file.
    clsISOWriter next;
    next.SetFileSource(&m_source);
    SessionMerge::AddImported(next.Root(), session.root, session.leftOut);
    m_source.Put("/new", "new file");
    next.Root().Files().Add("/new", "new.txt", false);
    const auto start = static_cast<std::int32_t>(std::filesystem::file_size(firstPath) / 2048 + 64);
    next.SetSessionStart(start);
    const std::string nextPath = m_folder.File("next.iso");
    ASSERT_TRUE(next.SaveISO(nextPath)) << next.LastError();
    const clsISOFiles& nextRoot = next.Root().Files();
    const std::string nextHead =
        ReadAt(nextPath, 0, (nextRoot.LBAJoliet() + nextRoot.BlocksJoliet() - start) * 2048);
    EXPECT_EQ(SectionsOf(nextHead, nextRoot.LBAJoliet() - start, nextRoot.BlocksJoliet(),
                         Ucs2("big.bin")),
              sections);
    EXPECT_EQ(SectionsOf(nextHead, nextRoot.LBA() - start, nextRoot.Blocks(), "BIG.BIN;1"),
              SectionsOf(head, root.LBA(), root.Blocks(), "BIG.BIN;1"));
    EXPECT_LT(std::filesystem::file_size(nextPath), 1U << 20) << "the big file was written again";

    // xorriso, from the next session of the disc both images make (kept
    // sparse): the three files, big.bin's full size and its sections.
    const std::string disc = m_folder.File("disc.img"), list = m_folder.File("list");
    const std::string command =
        "cp --sparse=always '" + firstPath + "' '" + disc +
        "' && dd status=none conv=notrunc bs=2048 seek=" + std::to_string(start) + " if='" +
        nextPath + "' of='" + disc + "' && xorriso -abort_on FATAL -load sbsector " +
        std::to_string(start) + " -indev '" + disc +
        "' -find / -type f -exec lsdl -- -find /big.bin -exec "
        "report_sections >'" +
        list + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::string listing = ReadFile(list);
    EXPECT_NE(listing.find(" " + std::to_string(kSize) + " "), std::string::npos) << listing;
    EXPECT_NE(listing.find("'/small.txt'"), std::string::npos) << listing;
    EXPECT_NE(listing.find("'/new.txt'"), std::string::npos) << listing;
    std::vector<Section> reported;
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);) {
        unsigned index = 0, extent = 0, blocks = 0;
        std::uint32_t length = 0;
        if (std::sscanf(line.c_str(), "File data lba: %u , %u , %u , %u", &index, &extent, &blocks,
                        &length) == 4)
            reported.emplace_back(extent, length, index + 1 < sections.size() ? 0x80 : 0);
    }
    EXPECT_EQ(reported, sections) << listing;
}

TEST_F(SessionImportLargeFileTest, SectionsMustFollowEachOther) {
    clsISOWriter writer;
    writer.SetFileSource(&m_source);
    m_source.PutSparse("/big", kSize, {{0, "head"}});
    writer.Root().Files().Add("/big", "big.bin", false);
    const std::string path = m_folder.File("big.iso");
    ASSERT_TRUE(writer.SaveISO(path)) << writer.LastError();
    const clsISOFiles& root = writer.Root().Files();
    // Directories and descriptors only: the import reads no file data.
    const std::string head = ReadAt(path, 0, (root.LBAJoliet() + root.BlocksJoliet()) * 2048);
    const auto sections = SectionsOf(head, root.LBAJoliet(), 1, Ucs2("big.bin"));
    ASSERT_EQ(sections.size(), 2U);
    const auto [extent, length] = std::pair(std::get<0>(sections[0]), std::get<1>(sections[0]));
    const auto [extent2, length2] = std::pair(std::get<0>(sections[1]), std::get<1>(sections[1]));

    std::string split = head;  // split a sector earlier: still one run
    Rewrite(split, root.LBAJoliet(), Ucs2("big.bin"), 0, extent, length - 2048);
    Rewrite(split, root.LBAJoliet(), Ucs2("big.bin"), 1, extent2 - 1, length2 + 2048);
    const ImportedSession session = SessionImporter(ReaderOf(split)).Import(0);
    ASSERT_EQ(session.refusal, "");
    ASSERT_NE(Find(session.root, "big.bin"), nullptr);
    EXPECT_EQ(Find(session.root, "big.bin")->size, kSize);
    EXPECT_EQ(Find(session.root, "big.bin")->lba, static_cast<std::int32_t>(extent));

    std::string gap = head;  // a sector between the sections
    Rewrite(gap, root.LBAJoliet(), Ucs2("big.bin"), 1, extent2 + 1, length2);
    EXPECT_EQ(SessionImporter(ReaderOf(gap)).Import(0).refusal,
              Text(SessionText::ScatteredFile, {"big.bin"}));
    std::string ragged = head;  // a first section that ends inside a sector
    Rewrite(ragged, root.LBAJoliet(), Ucs2("big.bin"), 0, extent, length - 1);
    EXPECT_EQ(SessionImporter(ReaderOf(ragged)).Import(0).refusal,
              Text(SessionText::ScatteredFile, {"big.bin"}));
}
}  // namespace
