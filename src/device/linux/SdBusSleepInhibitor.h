#pragma once

#include <mutex>

#include "SleepInhibitor.h"

struct sd_bus;

// Linux: the desktop portal's Inhibit (suspend and idle) on the session bus,
// held while this connection stays open and given back by closing its
// request; without a portal, logind's Inhibit("sleep:idle", ..., "block") on
// the system bus, held while its descriptor is open. No bus, no inhibitor,
// no message. The buses are the ones DBUS_SESSION_BUS_ADDRESS and
// DBUS_SYSTEM_BUS_ADDRESS name (else the usual places).
class SdBusSleepInhibitor : public SleepInhibitor {
  public:
    SdBusSleepInhibitor() = default;
    ~SdBusSleepInhibitor() override;
    SdBusSleepInhibitor(const SdBusSleepInhibitor&) = delete;
    SdBusSleepInhibitor& operator=(const SdBusSleepInhibitor&) = delete;

    void Begin(const std::string& why) override;
    void End() override;

  private:
    bool AskPortal(const std::string& why);
    bool AskLogind(const std::string& why);
    void Release();

    // Begin and End may come from different threads.
    std::mutex m_mutex;
    sd_bus* m_session = nullptr;  // open while the portal's request is held
    std::string m_request;        // the portal's request object
    int m_descriptor = -1;        // logind's
};
