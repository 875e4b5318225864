#pragma once

#include <string>

// A transport that can hold a drive for this program alone while a
// recording, erase or copy runs, so that no other program (another copy of
// this one, a desktop service mounting the disc) can start one on it. The
// Linux transport opens the drive with O_EXCL; the Windows pass-through locks
// the disc's volume and takes the CD-ROM driver's exclusive access; the
// virtual drive locks its folder. Claims of one drive nest.
class ExclusiveAccess {
  public:
    // The reason every transport gives when another program holds the drive.
    static constexpr const char* kInUse = "the drive is in use by another program";

    virtual ~ExclusiveAccess() = default;
    // Empty when `drive` is now held (once more), else why not (kInUse when
    // another program holds it).
    virtual std::string ClaimDrive(const std::string& drive) = 0;
    // Gives back one claim; the last one lets other programs use the drive.
    virtual void ReleaseDrive(const std::string& drive) = 0;
};
