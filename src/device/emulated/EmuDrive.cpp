#include "EmuDrive.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "EmuDataFile.h"
#include "EmuMetadata.h"
#include "EmuWritePage.h"

namespace fs = std::filesystem;

namespace {
constexpr const char* kMetadataName = "drive.meta";
constexpr const char* kDataName = "medium.data";

std::string MetadataPath(const std::string& folder) {
    return (fs::path(folder) / kMetadataName).string();
}

std::string DataPath(const std::string& folder) {
    return (fs::path(folder) / kDataName).string();
}

// Writes the file beside its final name and renames it over: a crash leaves
// the old metadata or the new one, never half of one.
std::string WriteAtomically(const std::string& path, const std::string& text) {
    const std::string partial = path + ".part";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file << text;
        if (!file.flush()) return partial + ": cannot be written";
    }
    std::error_code error;
    fs::rename(partial, path, error);
    return error ? path + ": " + error.message() : "";
}

std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Copies an image into the data file, leaving all-zero stretches sparse.
std::string CopyImage(std::ifstream& image, EmuDataFile& data) {
    std::vector<char> chunk(1 << 20);
    std::int64_t offset = 0;
    while (image) {
        image.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const std::int64_t got = image.gcount();
        const bool zero =
            std::all_of(chunk.begin(), chunk.begin() + got, [](char c) { return c == 0; });
        if (got > 0 && !zero && !data.Write(offset, chunk.data(), got))
            return "cannot write the medium data";
        offset += got;
    }
    return image.bad() ? "cannot read the image" : "";
}
}  // namespace

EmuDrive::EmuDrive(std::string folder, std::unique_ptr<EmuDataFile> data, bool trayOpen,
                   EmuMedia media, EmuFaults faults)
    : m_folder(std::move(folder)), m_data(std::move(data)) {
    m_state.ChangeMedium(std::move(media));
    m_state.trayOpen = trayOpen;
    m_state.faults = std::move(faults);
    m_state.writePage = EmuWritePage::Defaults();
    m_state.layoutChanged = false;
}

EmuDrive::~EmuDrive() {
    // A disc another program put in stays; nowhere to report a failure from here.
    if (m_folder.empty() || ReadText(MetadataPath(m_folder)) == m_metadataText) (void)Save();
}

std::string EmuDrive::CreateFolder(const std::string& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) return folder + ": " + error.message();
    if (fs::exists(MetadataPath(folder), error)) return folder + ": already holds a virtual drive";
    std::string problem;
    if (!EmuDataFile::Open(DataPath(folder), problem)) return problem;
    return WriteAtomically(MetadataPath(folder), EmuMetadata{}.Format());
}

std::unique_ptr<EmuDrive> EmuDrive::Open(const std::string& folder, std::string& error) {
    const std::string metaPath = MetadataPath(folder);
    std::ifstream file(metaPath, std::ios::binary);
    if (!file) {
        error = folder + ": not a virtual drive folder (no " + kMetadataName +
                "; make one with 'maple-cli virtual create DIR')";
        return nullptr;
    }
    std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EmuMetadata metadata;
    if (const std::string problem = EmuMetadata::Parse(text, metadata); !problem.empty()) {
        error = metaPath + ": " + problem;
        return nullptr;
    }
    const EmuMedia& media = metadata.media;
    const bool recorded = !media.tracks.empty() || media.recordedEnd > 0;
    std::error_code missing;
    if (recorded && !fs::exists(DataPath(folder), missing)) {
        error = DataPath(folder) + ": missing, but the metadata lists recorded tracks";
        return nullptr;
    }
    std::unique_ptr<EmuDataFile> data = EmuDataFile::Open(DataPath(folder), error);
    if (!data) return nullptr;
    std::unique_ptr<EmuDrive> drive(
        new EmuDrive(folder, std::move(data), metadata.trayOpen, metadata.media, metadata.faults));
    drive->m_metadataText = std::move(text);
    return drive;
}

std::unique_ptr<EmuDrive> EmuDrive::InMemory() {
    return std::unique_ptr<EmuDrive>(
        new EmuDrive("", EmuDataFile::InMemory(), false, EmuMedia{}, EmuFaults{}));
}

std::string EmuDrive::InsertBlank(MediumKind kind) {
    const MediumTraits& traits = TraitsOf(kind);
    if (!traits.recordable)
        return std::string(traits.name) + " is not a blank medium (insert it with an image)";
    if (!m_data->Clear()) return DataPath(m_folder) + ": cannot be cleared";
    EmuMedia blank;
    blank.kind = kind;
    blank.capacity = traits.capacity;
    m_state.ChangeMedium(blank);
    m_state.trayOpen = false;
    return Save();
}

std::string EmuDrive::InsertImage(MediumKind kind, const std::string& imagePath) {
    const MediumTraits& traits = TraitsOf(kind);
    if (kind == MediumKind::None) return "no medium kind given";
    std::error_code error;
    const auto size = static_cast<std::int64_t>(fs::file_size(imagePath, error));
    if (error) return imagePath + ": " + error.message();
    if (size == 0 || size % 2048 != 0)
        return imagePath + ": length is not a whole number of 2048-byte blocks";
    const std::int64_t blocks = size / 2048;
    if (blocks > traits.capacity) return imagePath + ": does not fit on " + traits.name;
    std::ifstream image(imagePath, std::ios::binary);
    if (!image) return imagePath + ": cannot be opened";
    if (!m_data->Clear()) return DataPath(m_folder) + ": cannot be cleared";
    if (const std::string problem = CopyImage(image, *m_data); !problem.empty())
        return imagePath + ": " + problem;
    EmuMedia disc;
    disc.kind = kind;
    disc.capacity = traits.recordable ? traits.capacity : blocks;
    if (traits.overwritable) {
        disc.recordedEnd = blocks;
    } else {
        // A recorder writes the image Track At Once: two run-out blocks on CD.
        const std::int64_t runOut = traits.cd && traits.recordable ? 2 : 0;
        disc.tracks.push_back(EmuTrack{1, 1, EmuTrack::Mode::Data, 0, blocks, runOut, true});
        disc.closedSessions = 1;
        disc.finalized = true;
    }
    m_state.ChangeMedium(disc);
    m_state.trayOpen = false;
    return Save();
}

std::string EmuDrive::RemoveMedium() {
    m_state.ChangeMedium(EmuMedia{});
    m_state.trayOpen = true;
    if (!m_data->Clear()) return DataPath(m_folder) + ": cannot be cleared";
    return Save();
}

void EmuDrive::SetTrayOpen(bool open) {
    if (open) m_state.EndSimulation();
    m_state.trayOpen = open;
    m_state.layoutChanged = true;
}

std::string EmuDrive::Save() {
    if (m_folder.empty()) return "";
    EmuMetadata metadata;
    metadata.trayOpen = m_state.trayOpen;
    metadata.media = m_state.RecordedMedia();
    metadata.faults = m_state.faults;
    m_state.layoutChanged = false;
    m_metadataText = metadata.Format();
    return WriteAtomically(MetadataPath(m_folder), m_metadataText);
}

void EmuDrive::FollowFolder() {
    if (m_folder.empty()) return;  // in memory: nobody else can change the disc
    std::string text = ReadText(MetadataPath(m_folder));
    EmuMetadata metadata;
    // Unchanged, or caught mid-write or damaged: keep the disc, look again next time.
    if (text == m_metadataText || !EmuMetadata::Parse(text, metadata).empty()) return;
    m_metadataText = std::move(text);
    m_state.ChangeMedium(std::move(metadata.media));
    m_state.trayOpen = metadata.trayOpen;
    m_state.faults = std::move(metadata.faults);
    m_state.layoutChanged = false;
    if (!m_state.trayOpen && m_state.media.Present()) {
        m_state.unitAttention = true;
        m_state.newMediaEvent = true;
    }
}
