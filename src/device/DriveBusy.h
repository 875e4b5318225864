#pragma once

// Program-wide "a long operation owns the drive" flag. Burns, copies and
// erases set it for their whole run; polling windows skip their drive
// commands and keep their start buttons off while it is set.
bool IsDriveBusy();

// Sets the flag for the lifetime of the object.
class DriveBusyScope {
  public:
    DriveBusyScope();
    ~DriveBusyScope();
    DriveBusyScope(const DriveBusyScope&) = delete;
    DriveBusyScope& operator=(const DriveBusyScope&) = delete;
};
