#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "AudioBurnEngine.h"
#include "ScriptedReporter.h"
#include "TestEnvironment.h"

class clsEmulatedDrive;
class EmuDrive;

// Reporter of the audio recording tests: keeps phases and messages in one
// sequence ("phase:...", "message:TITLE|TEXT"), checks that the drive is
// marked busy whenever events run, and calls hooks at phases and pumps.
class AudioReporter : public ScriptedReporter {
  public:
    void PhaseText(const std::string& text) override;
    MessageAnswer Message(const std::string& text, const std::string& title, MessageIcon icon,
                          MessageButtons buttons) override;
    void PumpEvents() override;

    std::vector<std::string> events;
    bool busyWhilePumping = true;
    std::function<void(const std::string&)> onPhase;
    std::function<void()> onPump;
};

// A virtual drive in a fresh folder in the transport slot, sleeps counted
// instead of slept, the program's temp folder emptied, and WAV files to record.
class AudioBurnBench {
  public:
    AudioBurnBench();
    ~AudioBurnBench();

    clsEmulatedDrive& Transport() { return *m_transport; }
    EmuDrive& Drive();
    const std::string& Id() const { return m_id; }
    int Sleeps() const { return m_sleeps; }
    long long SleptMs() const { return m_sleptMs; }

    // Writes a file into the bench's folder and returns its path.
    std::string Put(const std::string& name, const std::string& bytes);
    // A CD-DA WAV of `bytes` data bytes (a counting pattern that differs per `seed`).
    std::string PutCdda(const std::string& name, std::size_t bytes, int seed = 0);
    // The program's temporary track file.
    static std::string TempTrack();

    // Runs StartAudioBurn with the built-in texts.
    AudioBurnOutcome Start(const std::vector<std::string>& tracks, AudioBurnOptions options = {});

    // The WRITE(10) commands as (LBA, blocks), in order.
    std::vector<std::pair<std::uint32_t, std::uint16_t>> Writes();
    // Opcodes answered, in order, and how many of one kind.
    std::vector<std::uint8_t> Opcodes();
    std::size_t Count(std::uint8_t opcode);
    // CDB bytes of every command of `opcode`.
    std::vector<std::vector<std::uint8_t>> Cdbs(std::uint8_t opcode);
    // The recorded PCM of track n (empty when there is none).
    std::string Track(int number);

    AudioReporter reporter;
    std::vector<std::string> counters;  // track counter texts shown

  private:
    ::TempFolder m_folder;
    clsEmulatedDrive* m_transport = nullptr;
    std::string m_id;
    int m_sleeps = 0;
    long long m_sleptMs = 0;
};

// The data of a CD-DA WAV file (its "data" chunk), empty when unreadable.
std::string CddaData(const std::string& path);
// Empty when `recorded` starts with `sound` and holds only silence after it
// (the last block's fill, the drive's padding to the minimum track length);
// otherwise where and how they differ.
std::string RecordedDifference(const std::string& recorded, const std::string& sound);
