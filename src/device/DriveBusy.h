#pragma once

#include <cstdint>
#include <string>

// The "a long operation owns the drive" flag, one per drive (by device
// identifier). Burns, copies and erases set it for their whole run; polling
// windows skip their drive commands and keep their start buttons off while
// their drive's flag is set, and leave the other drives alone.
bool IsDriveBusy(const std::string& drive);
// True while any drive is busy: the program does not end then.
bool AnyDriveBusy();

// How many such operations have ended on `drive`: windows that follow the
// drive read the disc again after one (it may have written, erased or
// ejected it).
std::uint64_t DriveJobsEnded(const std::string& drive);

// Sets the flag of `drive` for the lifetime of the object.
class DriveBusyScope {
  public:
    explicit DriveBusyScope(std::string drive);
    ~DriveBusyScope();
    DriveBusyScope(const DriveBusyScope&) = delete;
    DriveBusyScope& operator=(const DriveBusyScope&) = delete;

  private:
    const std::string m_drive;
};
