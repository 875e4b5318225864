#include "EmuDrive.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include "EmuDataFile.h"
#include "EmuFolderLock.h"
#include "EmuMetadata.h"
#include "EmuWritePage.h"
#include "ExclusiveAccess.h"

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

// The whole file, or nullopt when it cannot be read.
std::optional<std::string> ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    return std::string{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Copies an image into the data file: only the image's data is read (its
// holes are skipped), and all-zero blocks stay holes in the data file.
std::string CopyImage(const EmuDataFile& image, EmuDataFile& data) {
    std::vector<char> chunk(1 << 20);
    const std::int64_t size = image.Size();
    for (std::int64_t at = 0; at < size;) {
        const EmuDataFile::Stretch stretch = image.DataStretch(at);
        const std::int64_t end = std::min(stretch.end, size);
        for (at = stretch.start; at < end;) {
            const std::int64_t part = std::min<std::int64_t>(end - at, std::ssize(chunk));
            if (!image.Read(at, chunk.data(), part)) return "cannot read the image";
            if (!data.Write(at, chunk.data(), part)) return "cannot write the medium data";
            at += part;
        }
    }
    return "";
}
}  // namespace

// What Open gathered for the constructor.
struct EmuDrive::Opened {
    std::string folder;
    std::unique_ptr<EmuDataFile> data;
    std::unique_ptr<EmuFolderLock> lock;
    EmuMetadata metadata;
    std::string text;
};

EmuDrive::EmuDrive(Opened opened)
    : m_folder(std::move(opened.folder)),
      m_data(std::move(opened.data)),
      m_lock(std::move(opened.lock)),
      m_savedText(std::move(opened.text)) {
    m_state.ChangeMedium(std::move(opened.metadata.media));
    m_state.trayOpen = opened.metadata.trayOpen;
    m_state.faults = std::move(opened.metadata.faults);
    m_inserted = opened.metadata.inserted;
    m_state.writePage = EmuWritePage::Defaults();
    m_state.layoutChanged = false;
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
    Opened opened{folder, EmuDataFile::Open(DataPath(folder), error), nullptr, metadata, text};
    if (!opened.data) return nullptr;
    opened.lock = EmuFolderLock::Open(folder, error);
    if (!opened.lock) return nullptr;
    return std::unique_ptr<EmuDrive>(new EmuDrive(std::move(opened)));
}

std::unique_ptr<EmuDrive> EmuDrive::InMemory() {
    return std::unique_ptr<EmuDrive>(
        new EmuDrive(Opened{"", EmuDataFile::InMemory(), nullptr, EmuMetadata{}, ""}));
}

std::string EmuDrive::InsertBlank(MediumKind kind, Replacing replacing, bool unformatted) {
    const MediumTraits& traits = TraitsOf(kind);
    if (!traits.recordable)
        return std::string(traits.name) + " is not a blank medium (insert it with an image)";
    if (unformatted && !traits.overwritable)
        return std::string(traits.name) + " has no format to leave out";
    const Operation operation(*this);
    if (!operation.problem.empty()) return operation.problem;
    if (std::string problem = ReplacementProblem(replacing); !problem.empty()) return problem;
    if (!m_data->Clear()) return DataPath(m_folder) + ": cannot be cleared";
    EmuMedia blank;
    blank.kind = kind;
    blank.capacity = traits.capacity;
    blank.unformatted = unformatted || traits.soldUnformatted;
    m_state.ChangeMedium(blank);
    m_state.trayOpen = false;
    ++m_inserted;
    return Save();
}

std::string EmuDrive::InsertImage(MediumKind kind, const std::string& imagePath,
                                  Replacing replacing) {
    const MediumTraits& traits = TraitsOf(kind);
    if (kind == MediumKind::None) return "no medium kind given";
    std::error_code error;
    const auto size = static_cast<std::int64_t>(fs::file_size(imagePath, error));
    if (error) return imagePath + ": " + error.message();
    if (size == 0 || size % 2048 != 0)
        return imagePath + ": length is not a whole number of 2048-byte blocks";
    const std::int64_t blocks = size / 2048;
    if (blocks > traits.capacity) return imagePath + ": does not fit on " + traits.name;
    std::string problem;
    const std::unique_ptr<EmuDataFile> image = EmuDataFile::OpenReadOnly(imagePath, problem);
    if (!image) return problem;
    const Operation operation(*this);
    if (!operation.problem.empty()) return operation.problem;
    if (problem = ReplacementProblem(replacing); !problem.empty()) return problem;
    if (!m_data->Clear()) return DataPath(m_folder) + ": cannot be cleared";
    if (problem = CopyImage(*image, *m_data); !problem.empty()) return imagePath + ": " + problem;
    EmuMedia disc;
    disc.kind = kind;
    disc.capacity = traits.recordable ? traits.capacity : blocks;
    if (traits.overwritable) {
        disc.recordedEnd = blocks;
    } else {
        // A recorder writes the image Track At Once: two run-out blocks on CD.
        const std::int64_t runOut = traits.cd && traits.recordable ? 2 : 0;
        disc.tracks.push_back(EmuTrack{1, 1, EmuTrack::Mode::Data, 0, blocks, runOut, true, {}});
        disc.closedSessions = 1;
        disc.finalized = true;
    }
    m_state.ChangeMedium(disc);
    m_state.trayOpen = false;
    ++m_inserted;
    return Save();
}

std::string EmuDrive::RemoveMedium() {
    const Operation operation(*this);
    if (!operation.problem.empty()) return operation.problem;
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

std::string EmuDrive::FormatState() const {
    EmuMetadata metadata;
    metadata.trayOpen = m_state.trayOpen;
    metadata.media = m_state.RecordedMedia();
    metadata.faults = m_state.faults;
    metadata.inserted = m_inserted;
    return metadata.Format();
}

std::string EmuDrive::Save() {
    if (m_folder.empty()) return "";
    std::string text = FormatState();
    m_state.layoutChanged = false;
    std::string problem = WriteAtomically(MetadataPath(m_folder), text);
    if (problem.empty()) m_savedText = std::move(text);
    return problem;
}

EmuDrive::~EmuDrive() {
    if (m_claims > 0) {
        m_claims = 1;
        Release();
        return;
    }
    // A change made through the methods above and not saved yet is kept,
    // unless another process changed the folder since: no stale write-back.
    if (!m_lock || FormatState() == m_savedText ||
        m_lock->BeginCommand() != EmuFolderLock::Taken::Yes)
        return;
    if (ReadText(MetadataPath(m_folder)) == m_savedText) (void)Save();
    m_lock->EndCommand();
}

std::string EmuDrive::Claim() {
    if (m_claims == 0 && m_lock) {
        const EmuFolderLock::Taken taken = m_lock->BeginOperation();
        if (taken == EmuFolderLock::Taken::InUse) return ExclusiveAccess::kInUse;
        if (taken == EmuFolderLock::Taken::Failed)
            return m_folder + ": the drive folder's lock cannot be taken";
        Refresh();
    }
    ++m_claims;
    return {};
}

void EmuDrive::Release() {
    if (m_claims == 0 || --m_claims > 0) return;
    (void)SaveIfChanged();
    if (m_lock) m_lock->EndOperation();
}

void EmuDrive::Refresh() {
    const std::optional<std::string> text = ReadText(MetadataPath(m_folder));
    EmuMetadata metadata;
    // A file that went missing or was damaged: keep what this drive knows.
    if (!text || *text == m_savedText || !EmuMetadata::Parse(*text, metadata).empty()) return;
    // Another disc, or one put in for an equal one ('virtual insert --replace').
    const bool newDisc =
        !(metadata.media == m_state.RecordedMedia()) || metadata.inserted != m_inserted;
    if (newDisc) m_state.ChangeMedium(metadata.media);
    m_inserted = metadata.inserted;
    m_state.trayOpen = metadata.trayOpen;
    m_state.faults = metadata.faults;
    m_state.layoutChanged = false;
    m_savedText = *text;
    // A disc another program (`maple-cli virtual insert`) put in is seen as
    // one the user changed.
    if (newDisc && !m_state.trayOpen && m_state.media.Present()) {
        m_state.unitAttention = true;
        m_state.newMediaEvent = true;
    }
}

void EmuDrive::RestoreSaved() {
    EmuMetadata metadata;
    if (!EmuMetadata::Parse(m_savedText, metadata).empty()) return;
    m_state.media = std::move(metadata.media);
    m_state.trayOpen = metadata.trayOpen;
    m_state.faults = std::move(metadata.faults);
    m_state.beforeSimulation.reset();
    m_state.cueSheet.reset();
    m_state.layoutChanged = false;
}

std::string EmuDrive::SaveIfChanged() {
    if (FormatState() == m_savedText) {
        m_state.layoutChanged = false;
        return {};
    }
    return Save();
}

std::string EmuDrive::ReplacementProblem(Replacing replacing) const {
    const EmuMedia& media = m_state.RecordedMedia();
    if (replacing == Replacing::AnyDisc || (media.tracks.empty() && media.recordedEnd == 0))
        return {};
    const std::string content = media.tracks.empty()
                                    ? std::to_string(media.recordedEnd) + " blocks recorded"
                                    : std::to_string(media.tracks.size()) + " track(s)";
    return std::string(kHoldsData) + " (" + TraitsOf(media.kind).name + ", " + content + ")";
}
