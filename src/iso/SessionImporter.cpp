// Reading a session's volume descriptors and walking its directory tree.
#include "SessionImporter.h"

#include <array>
#include <cstring>

#include "UnicodeText.h"

namespace {
constexpr std::int64_t kBlock = 2048;
// Descriptors looked at after start + 16 before giving up on a terminator.
constexpr int kMostDescriptors = 32;
// Far deeper than any real disc, low enough that a looping tree stops soon.
constexpr int kDeepest = 255;
// Larger directory extents are not believed (a damaged record).
constexpr std::int64_t kLargestDirectory = 64LL * 1024 * 1024;
// File flags: a section of a file that the next record of its name continues.
constexpr std::uint8_t kMultiExtent = 0x80;

std::uint32_t Little32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

bool Is(const std::uint8_t* at, const char* text) {
    return std::memcmp(at, text, std::strlen(text)) == 0;
}

LocalDateTime RecordDate(const std::uint8_t* at) {
    if (at[1] == 0 || at[2] == 0) return {};
    return {1900 + at[0], at[1], at[2], at[3], at[4], at[5]};
}

std::string Joined(const std::string& path, const std::string& name) {
    return path.empty() ? name : path + "/" + name;
}
}  // namespace

struct SessionImporter::Descriptors {
    std::array<std::uint8_t, kBlock> primary{}, joliet{};
    bool hasPrimary = false, hasJoliet = false, udf = false;
};

ImportedSession SessionImporter::Import(std::int64_t sessionStart) {
    m_session = {};
    m_visited.clear();
    m_rockRidge = false;
    m_susSkip = 0;
    Descriptors found;
    if (!ReadDescriptors(sessionStart, found, m_session.refusal)) return m_session;
    const std::uint8_t* primary = found.primary.data();
    m_session.volumeSpace = static_cast<std::int32_t>(Little32(primary + 80));
    m_joliet = found.hasJoliet;
    m_session.namesFrom = m_joliet ? "Joliet" : "ISO 9660";
    const std::uint8_t* descriptor = m_joliet ? found.joliet.data() : primary;
    m_session.volumeId = NameOf(std::span(descriptor + 40, 32));
    while (!m_session.volumeId.empty() && m_session.volumeId.back() == ' ')
        m_session.volumeId.pop_back();
    const std::uint8_t* root = descriptor + 156;
    m_session.root.directory = true;
    m_session.root.date = RecordDate(root + 18);
    if (!ReadDirectory(m_session.root, "", Little32(root + 2), Little32(root + 10), 0))
        m_session.root.children.clear();
    return m_session;
}

bool SessionImporter::ReadDescriptors(std::int64_t sessionStart, Descriptors& found,
                                      std::string& refusal) {
    std::array<std::uint8_t, kBlock> block{};
    for (int i = 0; i < kMostDescriptors; ++i) {
        const std::int64_t lba = sessionStart + 16 + i;
        if (!m_read(lba, 1, block.data())) {
            refusal = Text(SessionText::Unreadable, {"volume descriptor", std::to_string(lba)});
            return false;
        }
        const std::uint8_t* id = block.data() + 1;
        if (Is(id, "BEA01") || Is(id, "NSR02") || Is(id, "NSR03") || Is(id, "TEA01")) {
            found.udf = true;
            continue;
        }
        if (!Is(id, "CD001")) break;
        if (block[0] == 255) break;
        const bool jolietEscape = block[88] == '%' && block[89] == '/' &&
                                  (block[90] == '@' || block[90] == 'C' || block[90] == 'E');
        if (block[0] == 1 && !found.hasPrimary) {
            found.primary = block;
            found.hasPrimary = true;
        } else if (block[0] == 2 && jolietEscape && !found.hasJoliet) {
            found.joliet = block;
            found.hasJoliet = true;
        }
    }
    // Logical blocks of another size would put every extent elsewhere.
    if (found.hasPrimary && found.primary[128] == 0 && found.primary[129] == 8) return true;
    refusal = found.udf ? Refusal(SessionText::NotIsoUdf, SessionText::CopyNotIsoUdf)
                        : Refusal(SessionText::NotIso, SessionText::CopyNotIso);
    return false;
}

bool SessionImporter::ReadRecords(std::int64_t lba, std::int64_t bytes,
                                  std::vector<Record>& records) {
    const std::int64_t blocks = (bytes + kBlock - 1) / kBlock;
    if (blocks <= 0 || bytes > kLargestDirectory) return true;
    std::vector<std::uint8_t> extent(static_cast<std::size_t>(blocks * kBlock));
    if (!m_read(lba, static_cast<std::int32_t>(blocks), extent.data())) return false;
    std::size_t at = 0;
    while (at + 34 <= static_cast<std::size_t>(bytes)) {
        const std::uint8_t length = extent[at];
        // A record never crosses a block: a zero length means the rest is padding.
        if (length == 0) {
            at = (at / kBlock + 1) * kBlock;
            continue;
        }
        if (length < 34 || at + length > extent.size()) break;
        const std::uint8_t* data = extent.data() + at;
        Record record;
        record.lba = Little32(data + 2);
        record.size = Little32(data + 10);
        record.date = RecordDate(data + 18);
        record.flags = data[25];
        const std::uint8_t nameLength = data[32];
        if (33 + nameLength > length) break;
        record.identifier.assign(data + 33, data + 33 + nameLength);
        record.self = nameLength == 1 && data[33] == 0;
        record.parent = nameLength == 1 && data[33] == 1;
        const std::size_t systemUse = 33 + nameLength + (nameLength % 2 == 0 ? 1 : 0);
        if (systemUse < length) {
            const std::span<const std::uint8_t> area(data + systemUse, length - systemUse);
            if (record.self && lba == m_session.root.lba && area.size() >= 7 &&
                Is(area.data(), "SP") && area[4] == 0xBE && area[5] == 0xEF) {
                m_rockRidge = !m_joliet;
                m_susSkip = area[6];
            }
            if (m_rockRidge)
                RockRidge(area.subspan(std::min<std::size_t>(m_susSkip, area.size())), record, 0);
        }
        records.push_back(std::move(record));
        at += length;
    }
    return true;
}

bool SessionImporter::ReadDirectory(ImportedEntry& directory, const std::string& path,
                                    std::int64_t lba, std::int64_t bytes, int depth) {
    if (depth > kDeepest || !m_visited.insert(lba).second) return true;
    directory.lba = static_cast<std::int32_t>(lba);
    std::vector<Record> records;
    if (!ReadRecords(lba, bytes, records)) {
        m_session.refusal =
            Text(SessionText::Unreadable, {path.empty() ? "/" : path, std::to_string(lba)});
        return false;
    }
    if (depth == 0 && m_rockRidge) m_session.namesFrom = "Rock Ridge";
    for (std::size_t first = 0; first < records.size(); ++first) {
        if (records[first].self || records[first].parent) continue;
        // A file's sections: the records of its name up to the first without the flag.
        std::size_t last = first;
        while ((records[last].flags & kMultiExtent) != 0 && last + 1 < records.size() &&
               records[last + 1].identifier == records[first].identifier)
            ++last;
        if (!TakeRecord(directory, path, std::span(records).subspan(first, last - first + 1),
                        depth))
            return false;
        first = last;
    }
    return true;
}

std::int64_t SessionImporter::ContiguousSize(std::span<const Record> sections) {
    // A chain that ends in a flagged record lost its last section.
    if ((sections.back().flags & kMultiExtent) != 0) return -1;
    std::int64_t size = 0;
    for (std::size_t k = 0; k < sections.size(); ++k) {
        const Record& section = sections[k];
        if (k + 1 < sections.size() && (section.size % kBlock != 0 ||
                                        sections[k + 1].lba != section.lba + section.size / kBlock))
            return -1;
        size += section.size;
    }
    return size;
}

std::string SessionImporter::Refusal(SessionText continuing, SessionText copying,
                                     std::initializer_list<std::string> values) const {
    return Text(m_purpose == Purpose::Copy ? copying : continuing, values);
}

bool SessionImporter::TakeRecord(ImportedEntry& directory, const std::string& path,
                                 std::span<const Record> records, int depth) {
    constexpr std::uint8_t kDirectoryFlag = 0x02, kAssociated = 0x04;
    const Record& record = records.front();
    if ((record.flags & kAssociated) != 0 || record.relocated) return true;
    ImportedEntry entry;
    entry.name = record.rockRidgeName.empty() ? NameOf(record.identifier) : record.rockRidgeName;
    entry.date = record.date;
    const std::string shown = Joined(path, entry.name);
    if (entry.name.empty()) return true;
    if (record.symbolicLink || record.special) {
        m_session.leftOut.push_back({shown, Text(record.symbolicLink ? SessionText::SymbolicLink
                                                                     : SessionText::SpecialFile)});
        return true;
    }
    if ((record.flags & kDirectoryFlag) != 0) {
        entry.directory = true;
        if (!ReadDirectory(entry, shown, record.lba, record.size, depth + 1)) return false;
        directory.children.push_back(std::move(entry));
        return true;
    }
    // Sections one after the other are re-recorded as one run from the first.
    entry.size = ContiguousSize(records);
    if (entry.size < 0) {
        m_session.refusal =
            Refusal(SessionText::ScatteredFile, SessionText::CopyScatteredFile, {shown});
        return false;
    }
    entry.lba = entry.size == 0 ? 0 : static_cast<std::int32_t>(record.lba);
    const std::int64_t end = record.lba + (entry.size + kBlock - 1) / kBlock;
    if (entry.size > 0 && (record.lba < 16 || end > m_session.volumeSpace)) {
        m_session.leftOut.push_back({shown, Text(SessionText::OutsideSession)});
        return true;
    }
    directory.children.push_back(std::move(entry));
    return true;
}

std::string SessionImporter::NameOf(std::span<const std::uint8_t> identifier) const {
    std::string name;
    if (m_joliet) {
        std::u16string wide;
        for (std::size_t i = 0; i + 1 < identifier.size(); i += 2) {
            const auto unit = static_cast<char16_t>(identifier[i] << 8 | identifier[i + 1]);
            if (unit == 0) break;  // a name cut short by a zeroed character
            wide.push_back(unit);
        }
        name = UnicodeText::Utf16ToUtf8(wide);
    } else {
        name.assign(identifier.begin(), identifier.end());
        if (const auto zero = name.find('\0'); zero != std::string::npos) name.resize(zero);
        name = UnicodeText::ValidUtf8(name);
    }
    // The file version (";1") is not part of the name.
    if (const auto version = name.rfind(';');
        version != std::string::npos &&
        name.find_first_not_of("0123456789", version + 1) == std::string::npos)
        name.resize(version);
    // "README." is how ISO 9660 writes a name without an extension.
    if (!m_joliet && name.size() > 1 && name.back() == '.') name.pop_back();
    return name;
}
