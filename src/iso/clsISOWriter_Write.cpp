// Writing the image file: descriptors, path tables, directories, file data.
#include <algorithm>
#include <cassert>
#include <cmath>

#include "FileReadAhead.h"
#include "FileSections.h"
#include "FileSource.h"
#include "ImageOutput.h"
#include "OutputFile.h"
#include "RecordBytes.h"
#include "SectorMath.h"
#include "clsISOWriter.h"

namespace {
constexpr std::size_t kTableChunk = 64 * 1024;

RecordBytes::Bytes NameOf(const clsISODirectory& directory, bool joliet) {
    return joliet ? RecordBytes::JolietNameBytes(directory.JolietName())
                  : RecordBytes::IsoNameBytes(directory.DOSName());
}

RecordBytes::DirectoryRecord ExtentRecord(const clsISODirectory& directory, bool joliet,
                                          const LocalDateTime& date, RecordBytes::Bytes name) {
    const clsISOFiles& files = directory.Files();
    return {static_cast<std::uint32_t>(joliet ? files.LBAJoliet() : files.LBA()),
            static_cast<std::uint32_t>(joliet ? files.BlocksJoliet() : files.Blocks()) * 2048U,
            date, true, std::move(name)};
}
// The files whose bytes are to be read, in the order they are written.
std::vector<FileReadAhead::Planned> PlannedFiles(const ImagePlan& plan) {
    std::vector<FileReadAhead::Planned> planned;
    for (std::size_t i = 0; i < plan.files.size(); ++i)
        if (plan.files[i]->Size() >= 1 && !plan.unavailable[i])
            planned.push_back({plan.files[i]->LocalPath(), plan.files[i]->Size()});
    return planned;
}
}  // namespace

bool clsISOWriter::SaveISO(const std::string& file_out) {
    m_lastError.clear();
    m_cancelled = false;
    m_unreadable.clear();
    OutputFile out;
    if (!out.Create(file_out)) {
        m_lastError = out.Error();
        return false;
    }
    Raise(&ISOWriterEvents::BuildingFilesystem);
    bool written = WriteImage(out.File(), file_out);
    m_source->CloseHeld();
    if (written && !out.Commit()) {
        m_lastError = out.Error();
        written = false;
    }
    // A failed build leaves nothing that could pass for an image.
    if (!written) out.Discard();
    Raise(&ISOWriterEvents::WritingFinished);
    if (written && !m_unreadable.empty())
        m_lastError =
            std::to_string(m_unreadable.size()) +
            " source file(s) could not be read whole; zeros stand in for the missing bytes";
    return written && m_unreadable.empty();
}

bool clsISOWriter::SaveISOToStream(FileHandleRecord& stream) {
    m_lastError.clear();
    m_cancelled = false;
    m_unreadable.clear();
    m_streaming = true;
    Raise(&ISOWriterEvents::BuildingFilesystem);
    const bool written = WriteImage(stream, std::string());
    m_streaming = false;
    m_source->CloseHeld();
    Raise(&ISOWriterEvents::WritingFinished);
    return written;
}

bool clsISOWriter::WriteImage(FileHandleRecord& out, const std::string& target) {
    ImagePlan plan;
    if (!PlanImage(plan, target)) return false;
    if (m_streaming) CheckSources(plan);
    if (StreamStopped()) return false;
    // The files are opened and read while the tables and directories are written.
    FileReadAhead ahead(*m_source, PlannedFiles(plan));
    ImageOutput output(out);
    if (!WriteDescriptors(output, plan)) return false;
    Raise(&ISOWriterEvents::WritingPathTable);
    for (const bool joliet : {false, true}) {
        if (joliet && !m_joliet) break;
        if (!WritePathTable(output, plan, joliet, false) ||
            !WritePathTable(output, plan, joliet, true))
            return false;
    }
    Raise(&ISOWriterEvents::WritingDirectoryRecords);
    for (const bool joliet : {false, true}) {
        if (joliet && !m_joliet) break;
        for (const clsISODirectory* directory : plan.directories)
            if (!WriteExtent(output, *directory, joliet)) return false;
    }
    if (!WriteFileData(output, plan, ahead) || !output.Finish()) {
        if (m_lastError.empty()) m_lastError = output.Problem();
        return false;
    }
    return AtSector(output, plan.volumeSpace, "end of the image");
}

bool clsISOWriter::WriteDescriptors(ImageOutput& output, const ImagePlan& plan) {
    output.Zeros(16 * kSectorBytes);
    output.Write(PrimaryDescriptor(plan));
    if (m_joliet) output.Write(JolietDescriptor(plan));
    output.Write(Terminator());
    return AtSector(output, plan.typeL, "type L path table");
}

bool clsISOWriter::WritePathTable(ImageOutput& output, const ImagePlan& plan, bool joliet,
                                  bool bigEndian) {
    const std::int32_t start = joliet ? (bigEndian ? plan.typeMJoliet : plan.typeLJoliet)
                                      : (bigEndian ? plan.typeM : plan.typeL);
    if (!AtSector(output, start, "path table")) return false;
    const auto endian = bigEndian ? RecordBytes::Endian::Big : RecordBytes::Endian::Little;
    std::vector<std::uint8_t> bytes;
    std::int32_t number = 1;
    for (clsISODirectory* directory : plan.tableOrder) {
        directory->SetDirectoryNumber(number++);
        const bool root = directory->Parent() == nullptr;
        const std::int32_t parent = root ? 1 : directory->Parent()->DirectoryNumber();
        const clsISOFiles& files = directory->Files();
        RecordBytes::AppendPathTableRecord(
            bytes, root ? RecordBytes::Bytes{0} : NameOf(*directory, joliet),
            static_cast<std::uint32_t>(joliet ? files.LBAJoliet() : files.LBA()),
            static_cast<std::uint16_t>(parent), endian);
        if (bytes.size() >= kTableChunk) {
            output.Write(bytes);
            bytes.clear();
        }
    }
    output.Write(bytes);
    return output.PadToSector();
}

bool clsISOWriter::WriteExtent(ImageOutput& output, const clsISODirectory& directory, bool joliet) {
    const clsISOFiles& files = directory.Files();
    if (!AtSector(output, joliet ? files.LBAJoliet() : files.LBA(), "directory extent"))
        return false;
    const clsISODirectory& parent = directory.Parent() != nullptr ? *directory.Parent() : directory;
    std::vector<std::uint8_t> bytes;
    const auto put = [&](const RecordBytes::DirectoryRecord& record) {
        bytes.clear();
        RecordBytes::AppendDirectoryRecord(bytes, record);
        const std::int64_t at = output.Position();
        if (at + static_cast<std::int64_t>(bytes.size()) > SectorRoundUp(at)) output.PadToSector();
        output.Write(bytes);
    };
    put(ExtentRecord(directory, joliet, m_creation, {0}));
    put(ExtentRecord(parent, joliet, m_creation, {1}));
    for (int i = 0; i < directory.SubDirectoryCount(); ++i) {
        const clsISODirectory& child = *directory.SubDirectory(i);
        put(ExtentRecord(child, joliet, m_creation, NameOf(child, joliet)));
    }
    for (int i = 0; i < files.count(); ++i) {
        const clsISOFile& file = *files.File(i);
        RecordBytes::DirectoryRecord record{0, 0, file.CreationDate(), false,
                                            joliet ? RecordBytes::JolietNameBytes(file.JolietName())
                                                   : RecordBytes::IsoNameBytes(file.DOSName())};
        const auto sections = FileSections::Contiguous(file.LBA(), file.Size());
        for (std::size_t k = 0; k < sections.size(); ++k) {
            record.extent = sections[k].extent;
            record.dataLength = sections[k].length;
            record.moreSections = k + 1 < sections.size();
            put(record);
        }
    }
    return output.PadToSector();
}

bool clsISOWriter::WriteFileData(ImageOutput& output, const ImagePlan& plan, FileReadAhead& ahead) {
    const double total = static_cast<double>(ImageSize());
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        clsISOFile& file = *plan.files[i];
        if (m_events != nullptr)
            m_events->WritingFiles(static_cast<std::int32_t>(
                std::nearbyint(static_cast<double>(output.Position()) * 100.0 / total)));
        if (file.Size() < 1) continue;
        if (StopRequested() || !AtSector(output, file.LBA(), "file data")) return false;
        FileReader* const reader = plan.unavailable[i] ? nullptr : ahead.Next();
        if (!plan.unavailable[i] && !reader)
            m_unreadable.push_back({file.LocalPath(), ahead.Problem()});
        if (!CopyFile(output, file, reader)) return false;
        if (m_streaming) CheckUnchanged(file, i);
        if (StreamStopped() || !output.PadToSector()) return false;
    }
    return !output.Failed();
}

// Copies the file's Size bytes from `reader`, its holes as holes; zeros
// stand in for what it cannot give (all of the file when it is nullptr), so
// every later sector is where the layout put it.
bool clsISOWriter::CopyFile(ImageOutput& output, const clsISOFile& file, FileReader* reader) {
    std::int64_t remaining = file.Size();
    while (reader && remaining > 0) {
        const FileReader::Stretch stretch = reader->SkipHole(remaining);
        if (!output.Zeros(stretch.hole)) return false;
        remaining -= stretch.hole;
        if (remaining == 0) break;
        // At least one read, which tells the end of a file that shrank.
        const std::int64_t want = std::clamp<std::int64_t>(stretch.data, 1, remaining);
        const std::int64_t before = remaining;
        if (!CopyData(output, file, *reader, want, remaining)) return false;
        if (before - remaining < want) break;
    }
    // A stream ends where a file could not be read whole.
    return !StreamStopped() && output.Zeros(remaining);
}

// Copies `count` bytes of the file from `reader`, counting `remaining`
// down; a read error or an early end is listed as unreadable. False when
// the output failed or a stop was asked for.
bool clsISOWriter::CopyData(ImageOutput& output, const clsISOFile& file, FileReader& reader,
                            std::int64_t count, std::int64_t& remaining) {
    for (const std::int64_t end = remaining - count; remaining > end;) {
        if (StopRequested()) return false;
        const std::int64_t got = output.CopyFrom(reader, remaining - end);
        if (output.Failed()) return false;
        if (got <= 0) {
            m_unreadable.push_back(
                {file.LocalPath(), got < 0
                                       ? reader.Problem()
                                       : "shrank to " + std::to_string(file.Size() - remaining) +
                                             " of " + std::to_string(file.Size()) + " bytes"});
            return true;
        }
        remaining -= got;
    }
    return true;
}

bool clsISOWriter::AtSector(const ImageOutput& output, std::int64_t sector, const char* what) {
    if (output.Failed()) {
        m_lastError = output.Problem();
        return false;
    }
    if (output.Position() == (sector - m_sessionStart) * kSectorBytes) return true;
    assert(false && "the write position drifted from the layout");
    m_lastError = std::string("internal error: ") + what + " written at byte " +
                  std::to_string(output.Position()) + ", planned for sector " +
                  std::to_string(sector);
    return false;
}

bool clsISOWriter::StopRequested() {
    if (m_events == nullptr || !m_events->CancelRequested()) return false;
    m_cancelled = true;
    m_lastError = "stopped before the image was complete; no image was written";
    return true;
}

// A stream holds only what its sources gave: it ends at the first one that
// could not be read whole.
bool clsISOWriter::StreamStopped() {
    if (!m_streaming || m_unreadable.empty()) return false;
    const UnreadableFile& first = m_unreadable.front();
    m_lastError = "could not read " + first.path + " (" + first.reason +
                  "); the image stream was stopped short";
    return true;
}

// Before a stream starts, every file is opened once and closed: one that
// cannot be read stops it before its first byte. Their modification stamps
// are kept to tell a file that changes before its turn.
void clsISOWriter::CheckSources(const ImagePlan& plan) {
    const bool local = m_source == m_localSource.get();
    m_checkedStamps.assign(plan.files.size(), -1);
    for (std::size_t i = 0; i < plan.files.size() && m_unreadable.empty(); ++i) {
        const std::string& path = plan.files[i]->LocalPath();
        if (plan.unavailable[i]) continue;
        if (!m_source->Open(path)) m_unreadable.push_back({path, m_source->LastProblem()});
        const auto facts = local ? modFileAccess::FileInfo(path) : std::nullopt;
        if (facts) m_checkedStamps[i] = facts->modifiedStamp;
    }
    m_source->CloseHeld();
}

// A file whose length or modification stamp differs from what was checked
// ends the stream at its turn.
void clsISOWriter::CheckUnchanged(const clsISOFile& file, std::size_t index) {
    if (index >= m_checkedStamps.size() || m_checkedStamps[index] < 0) return;
    const auto facts = modFileAccess::FileInfo(file.LocalPath());
    if (facts && facts->size == file.Size() && facts->modifiedStamp == m_checkedStamps[index])
        return;
    m_unreadable.push_back({file.LocalPath(), "changed after it was checked"});
}

// Renaming the image over one of its own files would lose that file. Only a
// file of the output's length, as the layout just found it, can be the output.
bool clsISOWriter::OutputIsSource(const std::string& path, const ImagePlan& plan) {
    const auto output = modFileAccess::FileInfo(path);
    if (!output) return false;
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        const clsISOFile* file = plan.files[i];
        if (!plan.unavailable[i] && file->Size() != output->size) continue;
        const auto facts = modFileAccess::FileInfo(file->LocalPath());
        if (!facts || facts->device != output->device || facts->inode != output->inode) continue;
        m_lastError = path + " is one of the files of the disc (" + file->LocalPath() +
                      "); choose another name";
        return true;
    }
    return false;
}

void clsISOWriter::Raise(void (ISOWriterEvents::*event)()) {
    if (m_events != nullptr) (m_events->*event)();
}
