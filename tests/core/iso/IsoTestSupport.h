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
    };

    Entry& Put(const std::string& path, std::string bytes) {
        Entry& entry = m_files[path];
        entry.bytes = std::move(bytes);
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
