#pragma once

#include <memory>
#include <string>

#include <functional>
#include <vector>

#include "ScriptedReporter.h"
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

// A ScriptedReporter that also keeps phases and messages in one sequence
// ("phase:...", "message:TITLE|TEXT"), notes how many commands the drive had
// answered when each message appeared, and whether the drive-busy flag was
// set whenever events were pumped.
class EventReporter : public ScriptedReporter {
  public:
    explicit EventReporter(clsEmulatedDrive* drive = nullptr) : m_drive(drive) {}

    void PhaseText(const std::string& text) override;
    MessageAnswer Message(const std::string& text, const std::string& title, MessageIcon icon,
                          MessageButtons buttons) override;
    void PumpEvents() override;

    std::vector<std::string> events;
    std::vector<std::size_t> commandsAtMessage;
    bool busyWhilePumping = true;
    std::function<void()> onPump;

  private:
    clsEmulatedDrive* m_drive;
};

// A random image of `bytes` bytes whose sector 16 holds no volume descriptor,
// or (with `volumeBlocks` > 0) a strict primary volume descriptor of that size.
std::string RandomImage(std::size_t bytes, unsigned seed, std::int64_t volumeBlocks = 0);
