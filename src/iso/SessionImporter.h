#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "ImportedSession.h"
#include "SessionTexts.h"

// Reads the file tree of an ISO 9660 session from a disc (or an image), so
// a later session can list those files at their existing addresses. Names
// come from the Joliet tree when the session has one, else from Rock Ridge
// NM entries, else from the ISO 9660 identifiers without their ";1".
// Tolerant of what real discs hold (unsorted records, deep trees, long
// identifiers, empty files at extent 0, extra padding); entries it cannot
// carry (symbolic links, device files, extents outside the session) are
// left out and listed. A file of 4 GiB or more (several records of one name,
// all but the last flagged multi-extent) is one entry when its sections lie
// one after the other on the disc. A session that is not ISO 9660 (UDF
// only, audio) and a file whose sections are scattered are refused by name,
// in words that fit what the import is for.
class SessionImporter {
  public:
    // Continuing the disc with a new session, or copying what it shows.
    enum class Purpose { Continue, Copy };
    // Reads `count` 2048-byte blocks at absolute `lba` into `out`; false
    // when they cannot be read.
    using BlockReader =
        std::function<bool(std::int64_t lba, std::int32_t count, std::uint8_t* out)>;

    explicit SessionImporter(BlockReader reader, Purpose purpose = Purpose::Continue)
        : m_read(std::move(reader)), m_purpose(purpose) {}

    // The tree of the session whose image starts at `sessionStart` (its
    // volume descriptors at sessionStart + 16).
    ImportedSession Import(std::int64_t sessionStart);

  private:
    struct Descriptors;
    // One directory record as read, with what its Rock Ridge entries say.
    struct Record {
        std::vector<std::uint8_t> identifier;
        std::int64_t lba = 0, size = 0;
        std::uint8_t flags = 0;
        LocalDateTime date;
        std::string rockRidgeName;
        bool symbolicLink = false, special = false, relocated = false;
        bool self = false, parent = false;
    };
    bool ReadDescriptors(std::int64_t sessionStart, Descriptors& found, std::string& refusal);
    // Fills `directory` from the extent at `lba` of `bytes`; false after a refusal.
    bool ReadDirectory(ImportedEntry& directory, const std::string& path, std::int64_t lba,
                       std::int64_t bytes, int depth);
    bool ReadRecords(std::int64_t lba, std::int64_t bytes, std::vector<Record>& records);
    // Takes one entry: a directory's record or all the records of one file.
    bool TakeRecord(ImportedEntry& directory, const std::string& path,
                    std::span<const Record> records, int depth);
    // The size of a file whose sections follow each other on the disc
    // without a gap; -1 when they do not.
    static std::int64_t ContiguousSize(std::span<const Record> sections);
    // The refusal text for what the import is for.
    std::string Refusal(SessionText continuing, SessionText copying,
                        std::initializer_list<std::string> values = {}) const;
    std::string NameOf(std::span<const std::uint8_t> identifier) const;
    void RockRidge(std::span<const std::uint8_t> systemUse, Record& record, int hops);

    BlockReader m_read;
    Purpose m_purpose;
    ImportedSession m_session;
    bool m_joliet = false;
    bool m_rockRidge = false;
    int m_susSkip = 0;                 // SUSP bytes skipped at the start of each system use area
    std::set<std::int64_t> m_visited;  // directory extents read, against loops
};
