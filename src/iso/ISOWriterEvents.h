#pragma once

#include <cstdint>

// The progress events of clsISOWriter::SaveISO, raised on the caller's
// thread in this order; WritingFiles once before each file.
class ISOWriterEvents {
  public:
    virtual ~ISOWriterEvents() = default;
    virtual void BuildingFilesystem() {}
    virtual void WritingPathTable() {}
    virtual void WritingDirectoryRecords() {}
    // `percent`: position in the image x 100 / ImageSize, rounded; may pass 100.
    virtual void WritingFiles(std::int32_t percent) { (void)percent; }
    virtual void WritingFinished() {}
    // Asked before each file and each block of file data: true stops the
    // build there (the partial image is removed and SaveISO returns false).
    virtual bool CancelRequested() { return false; }
};
