#pragma once

#include <memory>
#include <string>

#include "TestEnvironment.h"

class clsEmulatedDrive;
class EmuDrive;

// The folders every recording test shares: the temp-image folder and the
// settings folder are fixed for the whole test run (the program decides
// them once), so each test empties them instead.
std::string RecordingTempFolder();
// Removes every file from the temp-image folder and the settings.
void ResetRecordingFolders();

// A virtual drive in a fresh folder, put into the transport slot; sleeps are
// counted instead of slept.
class VirtualDriveBench {
  public:
    VirtualDriveBench();
    ~VirtualDriveBench();

    clsEmulatedDrive& Transport() { return *m_transport; }
    EmuDrive& Drive();
    const std::string& Id() const { return m_id; }
    std::string File(const std::string& name) const { return m_folder.File(name); }
    // Milliseconds and number of waits requested through the sleep seam.
    long long SleptMs() const { return m_sleptMs; }
    int Sleeps() const { return m_sleeps; }

  private:
    TempFolder m_folder;
    clsEmulatedDrive* m_transport = nullptr;
    std::string m_id;
    long long m_sleptMs = 0;
    int m_sleeps = 0;
};
