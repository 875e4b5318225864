#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "ISOWriterEvents.h"
#include "ImagePlan.h"
#include "LocalDateTime.h"
#include "clsISODirectory.h"

struct FileHandleRecord;
class FileReadAhead;
class FileReader;
class FileSource;
class ImageOutput;

// A source file whose bytes did not all reach the image (zeros stand in).
struct UnreadableFile {
    std::string path;
    std::string reason;
};

// Builds an ISO 9660 image with a Joliet tree from a tree of directories
// and local files: names, layout, volume descriptors and the image file.
class clsISOWriter {
  public:
    clsISOWriter();
    ~clsISOWriter();
    clsISOWriter(const clsISOWriter&) = delete;
    clsISOWriter& operator=(const clsISOWriter&) = delete;

    // --- tree ---
    clsISODirectory& Root() { return *m_root; }
    // The directory of a tree path ("\" root, "\A\B" or "\A\B\"), matching
    // names exactly; nullptr for an empty path, one without the leading "\"
    // or a part that names no child.
    clsISODirectory* DirByPath(const std::string& strPath);
    // Depth: root 0, its children 1 …
    static std::int32_t DirectoryLevel(const clsISODirectory& clsDir);
    // Number of equal leading parts of the two FullPath texts (split at "\").
    static std::int32_t DirectoryInPath(const clsISODirectory& clsDir1,
                                        const clsISODirectory& clsDir2);
    // True when clsChild is clsParent or lies anywhere below it.
    static bool DirectoryIsChildOf(const clsISODirectory& clsParent,
                                   const clsISODirectory& clsChild);

    // --- volume fields (UTF-8): the Joliet or the ISO 9660 form ---
    std::string VolumeID(bool joliet) const { return Text(kVolume, joliet); }
    void SetVolumeID(const std::string& value, bool joliet) { SetText(kVolume, value, joliet); }
    std::string SystemID(bool joliet) const { return Text(kSystem, joliet); }
    void SetSystemID(const std::string& value, bool joliet) { SetText(kSystem, value, joliet); }
    std::string VolumeSetID(bool joliet) const { return Text(kVolumeSet, joliet); }
    void SetVolumeSetID(const std::string& value, bool joliet) {
        SetText(kVolumeSet, value, joliet);
    }
    std::string PublisherID(bool joliet) const { return Text(kPublisher, joliet); }
    void SetPublisherID(const std::string& value, bool joliet) {
        SetText(kPublisher, value, joliet);
    }
    std::string DataPreparerID(bool joliet) const { return Text(kPreparer, joliet); }
    void SetDataPreparerID(const std::string& value, bool joliet) {
        SetText(kPreparer, value, joliet);
    }
    std::string ApplicationID(bool joliet) const { return Text(kApplication, joliet); }
    void SetApplicationID(const std::string& value, bool joliet) {
        SetText(kApplication, value, joliet);
    }
    std::string CopyRightID(bool joliet) const { return Text(kCopyright, joliet); }
    void SetCopyRightID(const std::string& value, bool joliet) {
        SetText(kCopyright, value, joliet);
    }
    const LocalDateTime& VolumeCreation() const { return m_creation; }
    void SetVolumeCreation(const LocalDateTime& value) { m_creation = value; }
    bool Joliet() const { return m_joliet; }
    void SetJoliet(bool value) { m_joliet = value; }
    // The disc address where the image will be recorded (0: a disc of its
    // own). Every sector number in the image is made absolute by it, so the
    // image can be a later session of a disc whose earlier files (OnDisc)
    // keep their addresses; the volume space size then counts from LBA 0.
    std::int32_t SessionStart() const { return m_sessionStart; }
    void SetSessionStart(std::int32_t start) { m_sessionStart = start; }

    // --- building ---
    // Size estimate in bytes: SectorRoundUp of every file's Size + 204800.
    std::int64_t ImageSize() const;
    // Writes the image to `file_out` (through a partial file beside it, see
    // OutputFile). Files of 4 GiB or more are recorded in sections (see
    // FileSections); holes of sparse source files, and every other run of
    // zeros of 1 MiB or more, stay holes in the image (see ImageOutput).
    // True when the image is complete and every source file was read whole.
    // False, with LastError(), when the output cannot be created or written,
    // or `file_out` exists and is not a regular file (no file is left and
    // nothing replaced then), the image would pass 2^31 sectors, the tree has
    // more than 65,535 directories or `file_out` is one of the source files;
    // false also when source files could not be read: the image is then
    // complete with zeros in their place and UnreadableFiles() lists them.
    bool SaveISO(const std::string& file_out);
    // Writes the image to `stream` (standard output, a pipe), which stays
    // open. What was sent cannot be taken back, so a source that cannot be
    // read whole stops the stream short instead of zeros standing in: its
    // reader sees the image end early. False then, with LastError() and
    // UnreadableFiles() naming the source; false too when a write fails.
    bool SaveISOToStream(FileHandleRecord& stream);
    const std::string& LastError() const { return m_lastError; }
    // True when the last SaveISO stopped because the events asked it to
    // (no file is left then).
    bool Cancelled() const { return m_cancelled; }
    const std::vector<UnreadableFile>& UnreadableFiles() const { return m_unreadable; }

    // The receiver of the progress events (nullptr: none); not owned.
    void SetEvents(ISOWriterEvents* events) { m_events = events; }
    // Where file bytes come from (nullptr: the local disk); not owned.
    void SetFileSource(FileSource* source);

    // The naming pass over the whole tree (SaveISO runs it first).
    void AssignNames();

  private:
    enum TextField {
        kVolume,
        kSystem,
        kVolumeSet,
        kPublisher,
        kPreparer,
        kApplication,
        kCopyright,
        kFieldCount
    };
    struct VolumeText {
        std::string iso, joliet;
    };
    using Sector = std::array<std::uint8_t, 2048>;

    std::string Text(TextField field, bool joliet) const;
    void SetText(TextField field, const std::string& value, bool joliet);

    void NameDirectories(clsISODirectory& directory);
    void NameFiles(clsISODirectory& directory);

    // Walks, names and examines the tree and lays out the image; false (with
    // LastError) when it cannot be built into `target`.
    bool PlanImage(ImagePlan& plan, const std::string& target);
    bool MakeLayout(ImagePlan& plan);
    void WalkTree(ImagePlan& plan) const;
    // Gives the names (AssignNames) and takes the files' current sizes and dates.
    void NameAndExamine(ImagePlan& plan);
    bool CheckLimits(const ImagePlan& plan);
    void PlanPathTables(ImagePlan& plan) const;
    void PlanExtents(ImagePlan& plan) const;

    Sector PrimaryDescriptor(const ImagePlan& plan) const;
    Sector JolietDescriptor(const ImagePlan& plan) const;
    static Sector Terminator();
    void PutCommonFields(Sector& sector, const ImagePlan& plan, bool joliet) const;

    bool WriteImage(FileHandleRecord& out, const std::string& target);
    bool WriteDescriptors(ImageOutput& output, const ImagePlan& plan);
    bool WritePathTable(ImageOutput& output, const ImagePlan& plan, bool joliet, bool bigEndian);
    bool WriteExtent(ImageOutput& output, const clsISODirectory& directory, bool joliet);
    bool WriteFileData(ImageOutput& output, const ImagePlan& plan, FileReadAhead& ahead);
    bool CopyFile(ImageOutput& output, const clsISOFile& file, FileReader* reader);
    bool CopyData(ImageOutput& output, const clsISOFile& file, FileReader& reader,
                  std::int64_t count, std::int64_t& remaining);
    bool AtSector(const ImageOutput& output, std::int64_t sector, const char* what);
    bool StopRequested();
    bool StreamStopped();
    void CheckSources(const ImagePlan& plan);
    void CheckUnchanged(const clsISOFile& file, std::size_t index);
    bool OutputIsSource(const std::string& path, const ImagePlan& plan);
    void Raise(void (ISOWriterEvents::*event)());

    std::unique_ptr<clsISODirectory> m_root;
    std::array<VolumeText, kFieldCount> m_texts;
    LocalDateTime m_creation;
    bool m_joliet = true;
    std::int32_t m_sessionStart = 0;
    ISOWriterEvents* m_events = nullptr;
    std::unique_ptr<FileSource> m_localSource;
    FileSource* m_source = nullptr;
    std::string m_lastError;
    bool m_cancelled = false;
    bool m_streaming = false;  // SaveISOToStream: an unreadable source ends the image
    // SaveISOToStream: the files' modification stamps when they were checked
    // (by plan index; -1 where the local disk is not the source).
    std::vector<std::int64_t> m_checkedStamps;
    std::vector<UnreadableFile> m_unreadable;
};
