// Audio cue sheets: their files and layout, checked by the sheet's lines
// before the disc is touched.
#include <filesystem>

#include "AudioBurnEngine.h"
#include "CueSheetDisc.h"
#include "Utf8Path.h"

AudioBurnOutcome AudioBurnEngine::StartSheetBurn(const std::string& drive, const CueSheet& sheet,
                                                 const std::string& sheetName) {
    m_sheet = &sheet;
    m_sheetName = sheetName;
    m_options.discAtOnce = true;
    m_options.cdText = sheet.Texts();
    m_options.catalogue = sheet.catalogue;
    m_options.isrcs.clear();
    for (const CueSheet::Track& track : sheet.tracks) m_options.isrcs.push_back(track.isrc);
    std::vector<std::string> files;
    for (const CueSheet::File& file : sheet.files) files.push_back(file.path);
    const AudioBurnOutcome outcome = StartAudioBurn(drive, files);
    m_sheet = nullptr;
    return outcome;
}

void AudioBurnEngine::ShowSheetProblem(const CueSheetReader::Problem& problem) {
    Show(CueSheetReader::Describe(m_sheetName, problem), AudioText::NotSupportedTitle);
}

bool AudioBurnEngine::SheetFilesPresent() {
    for (const CueSheet::File& file : m_sheet->files) {
        std::error_code error;
        if (std::filesystem::is_regular_file(Utf8Path(file.path), error)) continue;
        ShowSheetProblem({file.line, CueSheetText::FileMissing, {file.path}});
        return false;
    }
    return true;
}

// A BINARY or MOTOROLA file is raw sound, read in place; a WAVE file is
// decoded by content as any file of the audio window (false).
bool AudioBurnEngine::TakeSheetFile(std::size_t index, CheckedTrack& track) {
    if (m_sheet->files[index].type == CueSheet::FileType::Wave) return false;
    track.dataBytes = track.bytes;
    track.needsConversion = false;
    return true;
}

bool AudioBurnEngine::SheetLaidOut() {
    std::vector<std::int64_t> bytes;
    for (const CheckedTrack& track : m_tracks) bytes.push_back(track.dataBytes);
    const CueSheetDisc disc(*m_sheet, bytes);
    if (!disc.Problem()) return true;
    ShowSheetProblem(*disc.Problem());
    return false;
}
