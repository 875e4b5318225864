#pragma once

#include <memory>
#include <string>

// Keeps the computer from sleeping (suspend and idle sleep) while a disc is
// being written: a burn interrupted by suspend ruins a write-once disc. The
// desktop's or the system's own way, behind this interface so that the core
// stays free of it; NoSleepWhileWriting decides when.
class SleepInhibitor {
  public:
    virtual ~SleepInhibitor() = default;
    // Asks the system to stay awake until End; `why` is what desktops show
    // in their list of inhibitors. Fails quietly: a system without a way
    // just sleeps as before.
    virtual void Begin(const std::string& why) = 0;
    // Gives the request back (nothing when Begin got nothing).
    virtual void End() = 0;
};

// The platform's inhibitor: Linux asks the desktop portal on the session bus,
// else logind on the system bus (sd-bus); Windows sets the thread execution state.
std::unique_ptr<SleepInhibitor> MakeSystemSleepInhibitor();
