#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "SenseData.h"

// What a transport keeps for each of its drives: the sense of the drive's
// last command and the lock that serialises the drive's commands. Commands
// to different drives run side by side, and LastSense answers for the drive
// the calling thread last sent a command to, so two recorders driven from two
// threads neither wait for each other nor read each other's errors.
class DriveStates {
  public:
    // The lock every command to `drive` holds while the drive works on it.
    // Made on first use; it lives as long as this object.
    std::mutex& CommandLock(const std::string& drive);
    // Records `sense` (zeros after GOOD status) as the last sense of `drive`,
    // and `drive` as the calling thread's drive.
    void SetSense(const std::string& drive, SenseFields sense);
    // The last sense of the calling thread's drive; zeros before its first command.
    SenseFields LastSense() const;

  private:
    struct State {
        std::mutex command;
        SenseFields sense;
    };
    State& Of(const std::string& drive);

    // Guards the two tables and every State::sense; never held during a command.
    mutable std::mutex m_mutex;
    std::map<std::string, std::unique_ptr<State>> m_states;
    std::map<std::thread::id, const State*> m_threadDrive;
};
