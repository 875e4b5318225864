#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

// The recorded blocks of a virtual drive's medium: one sparse file addressed
// by byte offset, or bytes in memory (for the fuzzer, which runs many
// thousands of short sessions). Blocks never written read as zeros, and
// all-zero blocks written are kept as holes, so a medium recorded with long
// empty stretches costs little disk.
class EmuDataFile {
  public:
    // Opens (creating when absent) the file for reading and writing; nullptr
    // with `error` set when that fails.
    static std::unique_ptr<EmuDataFile> Open(const std::string& path, std::string& error);
    // Opens an existing file (an image to insert) for reading only.
    static std::unique_ptr<EmuDataFile> OpenReadOnly(const std::string& path, std::string& error);
    // A medium that lives in memory only.
    static std::unique_ptr<EmuDataFile> InMemory();
    ~EmuDataFile();
    EmuDataFile(const EmuDataFile&) = delete;
    EmuDataFile& operator=(const EmuDataFile&) = delete;

    // Each returns true when all `length` bytes were transferred. Reads past
    // the end of the file give zeros.
    bool Read(std::int64_t offset, void* buffer, std::int64_t length) const;
    bool Write(std::int64_t offset, const void* buffer, std::int64_t length);
    // Writes `length` zero bytes (keeps the file sparse where it can).
    bool Zero(std::int64_t offset, std::int64_t length);
    // Drops every byte: the whole medium reads as zeros afterwards.
    bool Clear();
    // Current size of the file in bytes.
    std::int64_t Size() const;
    // The first stretch of data [start, end) at or after `offset`; where
    // the system keeps no holes or cannot tell, all the rest of the file.
    // start >= Size() when only holes follow.
    struct Stretch {
        std::int64_t start = 0, end = 0;
    };
    Stretch DataStretch(std::int64_t offset) const;

  private:
    static constexpr std::intptr_t kInMemory = -1;
    explicit EmuDataFile(std::intptr_t handle) : m_handle(handle) {}
    // The file's part (platform parts, one system call each): the bytes
    // moved, 0 at the end of the file, -1 on failure; Clear and Size.
    std::int64_t ReadSome(std::int64_t offset, void* buffer, std::int64_t length) const;
    std::int64_t WriteSome(std::int64_t offset, const void* buffer, std::int64_t length);
    bool ClearFile();
    std::int64_t FileSize() const;
    // Turns [offset, offset + length) of the file into a hole (its length
    // stays); false where the system keeps no holes.
    bool PunchHole(std::int64_t offset, std::int64_t length);
    // DataStretch where the system tells it; nullopt elsewhere.
    std::optional<Stretch> FileDataStretch(std::int64_t offset) const;
    // Writes all the bytes, one system call after the other.
    bool WriteAll(std::int64_t offset, const char* bytes, std::int64_t length);
    bool WriteZeros(std::int64_t offset, std::int64_t length);
    // Read and Write of a medium in memory (EmuDataFile_Memory.cpp).
    bool ReadMemory(std::int64_t offset, char* bytes, std::int64_t length) const;
    bool WriteMemory(std::int64_t offset, const char* bytes, std::int64_t length);

    std::intptr_t m_handle;  // the system's file descriptor or handle; kInMemory: in m_pieces
    // 64 KiB pieces by index, so that a write far into a DVD costs no more than
    // one at its start; pieces never written read as zeros.
    std::map<std::int64_t, std::string> m_pieces;
    std::int64_t m_memorySize = 0;
};
