// Reading the files of an image ahead of the writer.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <thread>

#include "FileExamination.h"
#include "FileReadAhead.h"
#include "LocalFileSource.h"
#include "TestEnvironment.h"
#include "clsISOWriter.h"

namespace {
// Files whose bytes are in memory except for those named "cold"; records the
// files it is asked to fetch ahead.
class ColdFileSource : public FileSource {
  public:
    std::map<std::string, std::string> files;
    std::set<std::string> prefetched;

    std::optional<Facts> Examine(const std::string&) override { return std::nullopt; }
    std::unique_ptr<FileReader> Open(const std::string& path) override {
        return std::make_unique<Reader>(*this, path);
    }
    std::string LastProblem() const override { return {}; }

  private:
    class Reader : public FileReader {
      public:
        Reader(ColdFileSource& source, std::string path)
            : m_source(source), m_path(std::move(path)), m_left(m_source.files.at(m_path)) {}
        std::int64_t Read(std::uint8_t* buffer, std::int64_t count) override {
            const auto part = std::min<std::size_t>(m_left.size(), static_cast<std::size_t>(count));
            std::memcpy(buffer, m_left.data(), part);
            m_left.erase(0, part);
            return static_cast<std::int64_t>(part);
        }
        std::int64_t ReadHeld(std::uint8_t* buffer, std::int64_t count) override {
            return m_path.starts_with("cold") ? 0 : Read(buffer, count);
        }
        void Prefetch() override { m_source.prefetched.insert(m_path); }

      private:
        ColdFileSource& m_source;
        std::string m_path;
        std::string m_left;
    };
};

std::string ReadAll(FileReader& reader) {
    std::string bytes;
    std::uint8_t part[70000];
    for (std::int64_t got; (got = reader.Read(part, sizeof part)) > 0;)
        bytes.append(reinterpret_cast<const char*>(part), static_cast<std::size_t>(got));
    return bytes;
}

// 130 files of 40 to 53 kB (6 MB, more than the memory held ahead); the 2nd,
// the 21st to 23rd and the 101st to 103rd are not in memory. Every file
// arrives whole and in order. The second alone may only have been busy: the
// files after the 23rd are fetched ahead, but for the 64th, which, found in
// memory, ends the fetching once the 16 files opened ahead of it are read;
// the 103rd starts it again.
TEST(IsoReadAhead, FilesAfterSomeNotInMemoryAreFetchedAhead) {
    ColdFileSource source;
    std::vector<FileReadAhead::Planned> planned;
    std::vector<std::string> names;
    for (int i = 0; i < 130; ++i) {
        const bool cold = i == 1 || (i >= 20 && i <= 22) || (i >= 100 && i <= 102);
        names.push_back((cold ? "cold " : "file ") + std::to_string(i));
        std::string bytes(40000 + static_cast<std::size_t>(i) * 97, '\0');
        for (std::size_t k = 0; k < bytes.size(); ++k) bytes[k] = static_cast<char>(k * 31 + i);
        planned.push_back({names.back(), static_cast<std::int64_t>(bytes.size())});
        source.files[names.back()] = std::move(bytes);
    }
    {
        FileReadAhead ahead(source, planned);
        for (const std::string& name : names) {
            FileReader* reader = ahead.Next();
            ASSERT_NE(reader, nullptr) << name;
            EXPECT_TRUE(ReadAll(*reader) == source.files.at(name)) << name;
        }
        EXPECT_EQ(ahead.Next(), nullptr);
    }
    std::set<std::string> fetched;
    for (const auto& [first, last] : {std::pair{23, 62}, {64, 79}, {103, 126}, {128, 129}})
        for (int i = first; i <= last; ++i) fetched.insert(names[static_cast<std::size_t>(i)]);
    EXPECT_EQ(source.prefetched, fetched);
}

// Local files; after the layout has looked at them, "gone.txt" and the folder
// "folder" are removed and "swapped.txt" is replaced by another file.
class ChangingLocalFiles : public LocalFileSource {
  public:
    std::optional<Facts> Examine(const std::string& path) override {
        auto facts = LocalFileSource::Examine(path);
        const std::filesystem::path file(path);
        if (file.filename() == "gone.txt") std::filesystem::remove(file);
        if (file.parent_path().filename() == "folder")
            std::filesystem::remove_all(file.parent_path());
        if (file.filename() == "swapped.txt")
            std::filesystem::rename(file.parent_path() / "other", file);
        return facts;
    }
};

// The system's own reason; Windows words it by version and language.
#ifndef _WIN32
constexpr const char* kMissing = "No such file";
#endif

TEST(IsoReadAhead, LocalFilesRemovedOrReplacedAfterTheLayout) {
    TempFolder folder;
    std::filesystem::create_directory(folder.Path() / "folder");
    WriteFile(folder.File("other"), "OTHER BYTES, LONGER THAN THE FILE");
    ChangingLocalFiles source;
    clsISOWriter writer;
    writer.SetFileSource(&source);
    std::vector<const clsISOFile*> files;
    for (const char* name : {"gone.txt", "swapped.txt", "kept.txt", "folder/inside.txt"}) {
        WriteFile(folder.File(name), std::string("bytes of ") + name);
        files.push_back(writer.Root().Files().Add(folder.File(name), ""));
    }
    const std::string out = folder.File("out.iso");
    EXPECT_FALSE(writer.SaveISO(out));
    ASSERT_EQ(writer.UnreadableFiles().size(), 2u);
    EXPECT_EQ(writer.UnreadableFiles()[0].path, folder.File("gone.txt"));
    EXPECT_EQ(writer.UnreadableFiles()[1].path, folder.File("folder/inside.txt"));
#ifndef _WIN32
    for (const auto& file : writer.UnreadableFiles())
        EXPECT_NE(file.reason.find(kMissing), std::string::npos) << file.reason;
#endif
    // What the replaced file's name holds at writing, up to the length planned.
    const std::string image = ReadFile(out);
    EXPECT_EQ(image.substr(static_cast<std::size_t>(files[1]->LBA()) * 2048, 21),
              std::string("OTHER BYTES, LONGER ") + '\0');
    EXPECT_EQ(image.substr(static_cast<std::size_t>(files[2]->LBA()) * 2048, 17),
              "bytes of kept.txt");
}

// Fails for every 50th file (named by number); the first file asked for holds
// the thread back until `go`.
class HeldBackSource : public FileSource {
  public:
    std::atomic<bool> started = false, go = true;
    std::optional<Facts> Examine(const std::string& path) override {
        started = true;
        while (!go) std::this_thread::yield();
        if (std::stoi(path) % 50 == 0) return std::nullopt;
        return Facts{7, std::nullopt};
    }
    std::unique_ptr<FileReader> Open(const std::string&) override { return nullptr; }
    std::string LastProblem() const override { return "gone"; }
};

// Files are examined a run at a time by every thread that is free; the files
// that could not be examined are told in the order of the files even when
// the first run is done last.
TEST(IsoReadAhead, FilesExaminedOnTwoThreadsFailInTheirOrder) {
    std::vector<std::unique_ptr<clsISOFile>> owned;
    std::vector<clsISOFile*> files;
    for (int i = 0; i < 300; ++i) {
        owned.push_back(std::make_unique<clsISOFile>(std::to_string(i), "f"));
        files.push_back(owned.back().get());
    }
    FileExamination examination(files);
    HeldBackSource first, second;
    first.go = false;
    std::thread held([&] { examination.Run(first); });
    while (!first.started) std::this_thread::yield();
    examination.Run(second);  // every run after the first
    first.go = true;
    held.join();
    std::vector<std::size_t> failed;
    for (const auto& failure : examination.Failures()) failed.push_back(failure.index);
    EXPECT_EQ(failed, (std::vector<std::size_t>{0, 50, 100, 150, 200, 250}));
    EXPECT_EQ(files[299]->Size(), 7);
}
}  // namespace
