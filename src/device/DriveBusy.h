#pragma once

#include <cstdint>

// Program-wide "a long operation owns the drive" flag. Burns, copies and
// erases set it for their whole run; polling windows skip their drive
// commands and keep their start buttons off while it is set.
bool IsDriveBusy();

// How many such operations have ended: windows that follow the drive read
// the disc again after one (it may have written, erased or ejected it).
std::uint64_t DriveJobsEnded();

// Sets the flag for the lifetime of the object.
class DriveBusyScope {
  public:
    DriveBusyScope();
    ~DriveBusyScope();
    DriveBusyScope(const DriveBusyScope&) = delete;
    DriveBusyScope& operator=(const DriveBusyScope&) = delete;
};
