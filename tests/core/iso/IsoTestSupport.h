#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "FileSource.h"
#include "ISOWriterEvents.h"

// In-memory source files for image tests, with faults on demand.
class MemoryFileSource : public FileSource {
  public:
    struct Entry {
        std::string bytes;
        std::int64_t reportedLength = -1;  // length told at layout (-1: bytes.size())
        bool openFails = false;
        std::int64_t readErrorAfter = -1;  // fail reads once this many bytes were handed out
        std::map<std::int64_t, std::string> pieces;  // a sparse file's data (PutSparse)
    };

    Entry& Put(const std::string& path, std::string bytes) {
        Entry& entry = m_files[path];
        entry.bytes = std::move(bytes);
        return entry;
    }
    // A sparse file of `length` bytes: `pieces` of data at their offsets,
    // holes (zeros the reader skips) everywhere else.
    Entry& PutSparse(const std::string& path, std::int64_t length,
                     std::map<std::int64_t, std::string> pieces) {
        Entry& entry = m_files[path];
        entry.reportedLength = length;
        entry.pieces = std::move(pieces);
        return entry;
    }
    void Erase(const std::string& path) { m_files.erase(path); }

    std::optional<Facts> Examine(const std::string& path) override;
    std::unique_ptr<FileReader> Open(const std::string& path) override;
    std::string LastProblem() const override { return "simulated failure"; }

  private:
    std::map<std::string, Entry> m_files;
};

// Records the writer's events as text ("files 12").
class EventLog : public ISOWriterEvents {
  public:
    void BuildingFilesystem() override { events.push_back("building"); }
    void WritingPathTable() override { events.push_back("tables"); }
    void WritingDirectoryRecords() override { events.push_back("directories"); }
    void WritingFiles(std::int32_t percent) override {
        events.push_back("files " + std::to_string(percent));
    }
    void WritingFinished() override { events.push_back("finished"); }

    std::vector<std::string> events;
};

// Pins the time zone that the byte-exact expectations were written for (UTC+8).
void UseShanghaiTime();

// Reading helpers over a whole image held as a string.
std::uint32_t Little32(const std::string& image, std::size_t at);
std::uint32_t Big32(const std::string& image, std::size_t at);
std::uint16_t Little16(const std::string& image, std::size_t at);
std::string Bytes(const std::string& image, std::size_t at, std::size_t count);
// True when every byte of [at, at + count) is zero.
bool AllZero(const std::string& image, std::size_t at, std::size_t count);

// One directory record of an image.
struct Record {
    std::uint32_t extent, length;
    std::uint8_t flags, recordLength;
    std::string name;
    std::size_t offset;
};
// The records of the extent starting at `sector`, "." and ".." included.
std::vector<Record> Records(const std::string& image, std::size_t sector, std::size_t sectors = 1);
// `count` bytes of a file from `offset` on (fewer at its end).
std::string ReadAt(const std::string& path, std::int64_t offset, std::int64_t count);
