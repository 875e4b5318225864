// Volume fields and the volume descriptors (ECMA-119 8.4, 8.5, 8.3).
#include <cstring>

#include "IsoFields.h"
#include "LocalFileSource.h"
#include "RecordBytes.h"
#include "SystemAccess.h"
#include "clsISOWriter.h"

namespace {
// Byte positions (0-based) of the primary and supplementary descriptors.
constexpr std::size_t kType = 0, kStandardId = 1, kVersion = 6, kFlags = 7;
constexpr std::size_t kSystemId = 8, kVolumeId = 40;                      // BP 9-40, 41-72
constexpr std::size_t kVolumeSpace = 80;                                  // BP 81-88
constexpr std::size_t kEscapes = 88;                                      // BP 89-120 (Joliet only)
constexpr std::size_t kSetSize = 120, kSequence = 124, kBlockSize = 128;  // BP 121-132
constexpr std::size_t kTableSize = 132;                                   // BP 133-140
constexpr std::size_t kTypeL = 140, kTypeM = 148;                         // BP 141-144, 149-152
constexpr std::size_t kRootRecord = 156;                                  // BP 157-190
constexpr std::size_t kVolumeSetId = 190, kPublisherId = 318;             // BP 191-318, 319-446
constexpr std::size_t kPreparerId = 446, kApplicationId = 574;            // BP 447-574, 575-702
constexpr std::size_t kCopyrightId = 702, kAbstractId = 739, kBibliographicId = 776;
constexpr std::size_t kCreated = 813, kModified = 830, kExpires = 847, kEffective = 864;
constexpr std::size_t kStructureVersion = 881;  // BP 882
static_assert(kStructureVersion + 1 + 1166 == 2048, "descriptor fields add up to one sector");

std::span<std::uint8_t> Field(std::array<std::uint8_t, 2048>& sector, std::size_t at,
                              std::size_t width) {
    return std::span<std::uint8_t>(sector).subspan(at, width);
}

}  // namespace

clsISOWriter::clsISOWriter()
    : m_root(std::make_unique<clsISODirectory>()),
      m_creation(LocalDateTime::Now()),
      m_localSource(std::make_unique<LocalFileSource>()),
      m_source(m_localSource.get()) {
    m_texts[kVolume] = {"NEW_DISC", "New_Disc"};
    m_texts[kApplication] = {"MAPLE CD/DVD WRITER", "MAPLE CD/DVD Writer"};
    // The user name can hold any character; only its ISO 9660 form is filtered.
    const std::string user = SystemAccess::UserName();
    m_texts[kPreparer] = {IsoFields::AFilter(user), user};
}

clsISOWriter::~clsISOWriter() = default;

void clsISOWriter::SetFileSource(FileSource* source) {
    m_source = source != nullptr ? source : m_localSource.get();
}

std::string clsISOWriter::Text(TextField field, bool joliet) const {
    return joliet ? m_texts[field].joliet : m_texts[field].iso;
}

void clsISOWriter::SetText(TextField field, const std::string& value, bool joliet) {
    if (joliet) {
        m_texts[field].joliet = value;
        return;
    }
    const bool dCharacters = field == kVolume || field == kVolumeSet;
    m_texts[field].iso = dCharacters ? IsoFields::DFilter(value) : IsoFields::AFilter(value);
}

void clsISOWriter::PutCommonFields(Sector& sector, const ImagePlan& plan, bool joliet) const {
    std::memcpy(&sector[kStandardId], "CD001", 5);
    sector[kVersion] = 1;
    IsoFields::PutBothEndian32(Field(sector, kVolumeSpace, 8),
                               static_cast<std::uint32_t>(plan.volumeSpace));
    IsoFields::PutBothEndian16(Field(sector, kSetSize, 4), 1);
    IsoFields::PutBothEndian16(Field(sector, kSequence, 4), 1);
    IsoFields::PutBothEndian16(Field(sector, kBlockSize, 4), 2048);
    const clsISOFiles& root = m_root->Files();
    std::vector<std::uint8_t> record;
    RecordBytes::AppendDirectoryRecord(
        record, {static_cast<std::uint32_t>(joliet ? root.LBAJoliet() : root.LBA()),
                 static_cast<std::uint32_t>(joliet ? root.BlocksJoliet() : root.Blocks()) * 2048U,
                 m_creation,
                 true,
                 {0}});
    std::copy(record.begin(), record.end(), sector.begin() + kRootRecord);
    IsoFields::PutVolumeDate(Field(sector, kCreated, 17), m_creation);
    IsoFields::PutVolumeDate(Field(sector, kModified, 17), m_creation);
    IsoFields::PutVolumeDate(Field(sector, kExpires, 17), LocalDateTime{});
    IsoFields::PutVolumeDate(Field(sector, kEffective, 17), LocalDateTime{});
    sector[kStructureVersion] = 1;
}

clsISOWriter::Sector clsISOWriter::PrimaryDescriptor(const ImagePlan& plan) const {
    Sector sector{};
    sector[kType] = 1;
    PutCommonFields(sector, plan, false);
    const auto text = [&](std::size_t at, std::size_t width, TextField field) {
        IsoFields::PutIsoText(Field(sector, at, width), m_texts[field].iso);
    };
    text(kSystemId, 32, kSystem);
    text(kVolumeId, 32, kVolume);
    IsoFields::PutBothEndian32(Field(sector, kTableSize, 8),
                               static_cast<std::uint32_t>(plan.tableBytes));
    IsoFields::PutLittleEndian32(Field(sector, kTypeL, 4), static_cast<std::uint32_t>(plan.typeL));
    IsoFields::PutBigEndian32(Field(sector, kTypeM, 4), static_cast<std::uint32_t>(plan.typeM));
    text(kVolumeSetId, 128, kVolumeSet);
    text(kPublisherId, 128, kPublisher);
    text(kPreparerId, 128, kPreparer);
    text(kApplicationId, 128, kApplication);
    text(kCopyrightId, 37, kCopyright);
    IsoFields::PutIsoText(Field(sector, kAbstractId, 37), "");
    IsoFields::PutIsoText(Field(sector, kBibliographicId, 37), "");
    return sector;
}

clsISOWriter::Sector clsISOWriter::JolietDescriptor(const ImagePlan& plan) const {
    Sector sector{};
    sector[kType] = 2;
    sector[kFlags] = 0;
    PutCommonFields(sector, plan, true);
    const auto text = [&](std::size_t at, std::size_t width, TextField field) {
        IsoFields::PutJolietText(Field(sector, at, width), m_texts[field].joliet);
    };
    text(kSystemId, 32, kSystem);
    IsoFields::PutJolietVolumeId(Field(sector, kVolumeId, 32), m_texts[kVolume].joliet);
    // "%/E": UCS-2 level 3.
    sector[kEscapes] = 0x25;
    sector[kEscapes + 1] = 0x2F;
    sector[kEscapes + 2] = 0x45;
    IsoFields::PutBothEndian32(Field(sector, kTableSize, 8),
                               static_cast<std::uint32_t>(plan.tableBytesJoliet));
    IsoFields::PutLittleEndian32(Field(sector, kTypeL, 4),
                                 static_cast<std::uint32_t>(plan.typeLJoliet));
    IsoFields::PutBigEndian32(Field(sector, kTypeM, 4),
                              static_cast<std::uint32_t>(plan.typeMJoliet));
    text(kVolumeSetId, 128, kVolumeSet);
    text(kPublisherId, 128, kPublisher);
    text(kPreparerId, 128, kPreparer);
    text(kApplicationId, 128, kApplication);
    text(kCopyrightId, 37, kCopyright);
    IsoFields::PutJolietText(Field(sector, kAbstractId, 37), "");
    IsoFields::PutJolietText(Field(sector, kBibliographicId, 37), "");
    return sector;
}

clsISOWriter::Sector clsISOWriter::Terminator() {
    Sector sector{};
    sector[kType] = 0xFF;
    std::memcpy(&sector[kStandardId], "CD001", 5);
    sector[kVersion] = 1;
    return sector;
}
