// The sleep inhibitor against stand-ins for the desktop portal and logind on
// private buses of their own (dbus-daemon): the portal is preferred, logind
// is the fallback, each is held from the first write to the end of the job,
// and without a bus nothing happens and nothing is said.
#include "SdBusSleepInhibitor.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "DriveBusy.h"
#include "NoSleepWhileWriting.h"
#include "RecordingTransport.h"
#include "ScsiStatus.h"
#include "TestEnvironment.h"
#include "TransportSlot.h"
#include "modMMCBasic.h"

extern char** environ;

namespace {
constexpr const char* kRequestPath = "/org/freedesktop/portal/desktop/request/standin/1";

// A dbus-daemon of our own, listening on a socket in `folder`, without
// service activation (nothing of the machine starts on it).
class PrivateBus {
  public:
    PrivateBus(const std::string& folder, const std::string& name) {
        const std::string config = folder + "/" + name + ".conf";
        std::ofstream(config) << "<busconfig><type>session</type><listen>unix:path=" << folder
                              << "/" << name << "</listen><auth>EXTERNAL</auth>"
                              << "<policy context=\"default\"><allow "
                                 "send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                              << "<allow own=\"*\"/></policy></busconfig>\n";
        int out[2];
        if (pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        // It says it cannot raise its descriptor limit when not root.
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const std::string configOption = "--config-file=" + config;
        char* argv[] = {const_cast<char*>("dbus-daemon"), const_cast<char*>(configOption.c_str()),
                        const_cast<char*>("--nofork"), const_cast<char*>("--print-address"),
                        nullptr};
        posix_spawnp(&m_pid, "dbus-daemon", &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        // The daemon prints its address once it listens.
        char line[512] = {};
        FILE* stream = fdopen(out[0], "r");
        if (stream != nullptr && std::fgets(line, sizeof line, stream) != nullptr)
            m_address.assign(line, std::strcspn(line, "\n"));
        if (stream != nullptr) std::fclose(stream);
    }
    ~PrivateBus() {
        if (m_pid <= 0) return;
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
    const std::string& Address() const { return m_address; }

  private:
    pid_t m_pid = -1;
    std::string m_address;
};

// The stand-in services on a bus, served by a thread of their own: they
// note every call and hand out what the real ones hand out.
class StandIn {
  public:
    StandIn(const std::string& address, bool portal, bool logind) {
        sd_bus_new(&m_bus);
        sd_bus_set_address(m_bus, address.c_str());
        sd_bus_set_bus_client(m_bus, 1);
        m_ready = sd_bus_start(m_bus) >= 0;
        if (portal) {
            sd_bus_add_object_vtable(m_bus, nullptr, "/org/freedesktop/portal/desktop",
                                     "org.freedesktop.portal.Inhibit", kPortal, this);
            sd_bus_add_object_vtable(m_bus, nullptr, kRequestPath, "org.freedesktop.portal.Request",
                                     kRequest, this);
            m_ready =
                m_ready && sd_bus_request_name(m_bus, "org.freedesktop.portal.Desktop", 0) >= 0;
        }
        if (logind) {
            sd_bus_add_object_vtable(m_bus, nullptr, "/org/freedesktop/login1",
                                     "org.freedesktop.login1.Manager", kLogind, this);
            m_ready = m_ready && sd_bus_request_name(m_bus, "org.freedesktop.login1", 0) >= 0;
        }
        m_thread = std::thread([this] {
            while (!m_stop) {
                if (sd_bus_process(m_bus, nullptr) > 0) continue;
                sd_bus_wait(m_bus, 20'000);  // wakes to look at m_stop
            }
        });
    }
    ~StandIn() {
        m_stop = true;
        m_thread.join();
        sd_bus_flush_close_unref(m_bus);
        if (m_held >= 0) close(m_held);
    }
    bool Ready() const { return m_ready; }
    std::vector<std::string> Calls() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_calls;
    }
    // True while a descriptor that logind handed out is open somewhere.
    bool DescriptorOpen() { return HeldEnd() >= 0 && !DescriptorClosedWithin(0); }
    // Waits at most `ms` for every copy of that descriptor to be closed.
    bool DescriptorClosedWithin(int ms) {
        const int held = HeldEnd();
        pollfd reader{held, POLLIN, 0};
        return held >= 0 && poll(&reader, 1, ms) == 1 && (reader.revents & POLLHUP) != 0;
    }

  private:
    int HeldEnd() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_held;
    }
    void Note(std::string call) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_calls.push_back(std::move(call));
    }

    static std::string Reason(sd_bus_message* message) {
        std::string reason;
        sd_bus_message_enter_container(message, 'a', "{sv}");
        while (sd_bus_message_enter_container(message, 'e', "sv") > 0) {
            const char* key = nullptr;
            const char* value = nullptr;
            sd_bus_message_read(message, "s", &key);
            if (std::string(key) == "reason" && sd_bus_message_read(message, "v", "s", &value) >= 0)
                reason = value;
            else
                sd_bus_message_skip(message, "v");
            sd_bus_message_exit_container(message);
        }
        return reason;
    }

    static int PortalInhibit(sd_bus_message* message, void* self, sd_bus_error*) {
        const char* window = nullptr;
        std::uint32_t flags = 0;
        sd_bus_message_read(message, "su", &window, &flags);
        static_cast<StandIn*>(self)->Note("portal Inhibit '" + std::string(window) + "' " +
                                          std::to_string(flags) + " " + Reason(message));
        return sd_bus_reply_method_return(message, "o", kRequestPath);
    }
    static int RequestClose(sd_bus_message* message, void* self, sd_bus_error*) {
        static_cast<StandIn*>(self)->Note(std::string("portal Close ") +
                                          sd_bus_message_get_path(message));
        return sd_bus_reply_method_return(message, "");
    }
    static int LogindInhibit(sd_bus_message* message, void* self, sd_bus_error*) {
        const char* what = nullptr;
        const char* who = nullptr;
        const char* why = nullptr;
        const char* mode = nullptr;
        sd_bus_message_read(message, "ssss", &what, &who, &why, &mode);
        auto* standIn = static_cast<StandIn*>(self);
        standIn->Note(std::string("logind Inhibit ") + what + "|" + who + "|" + why + "|" + mode);
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0) return -errno;
        {
            const std::lock_guard<std::mutex> lock(standIn->m_mutex);
            standIn->m_held = ends[0];
        }
        const int replied = sd_bus_reply_method_return(message, "h", ends[1]);  // sends a copy
        close(ends[1]);
        return replied;
    }

    inline static const sd_bus_vtable kPortal[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_METHOD("Inhibit", "sua{sv}", "o", PortalInhibit, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_VTABLE_END};
    inline static const sd_bus_vtable kRequest[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_METHOD("Close", "", "", RequestClose, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_VTABLE_END};
    inline static const sd_bus_vtable kLogind[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_METHOD("Inhibit", "ssss", "h", LogindInhibit, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_VTABLE_END};

    sd_bus* m_bus = nullptr;
    bool m_ready = false;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    std::mutex m_mutex;
    std::vector<std::string> m_calls;  // under m_mutex
    int m_held = -1;                   // the reading end of logind's descriptor, under m_mutex
};

// The bus addresses of a test, restored afterwards.
class BusEnvironment {
  public:
    BusEnvironment(const std::string& session, const std::string& system) {
        setenv("DBUS_SESSION_BUS_ADDRESS", session.c_str(), 1);
        setenv("DBUS_SYSTEM_BUS_ADDRESS", system.c_str(), 1);
    }
    ~BusEnvironment() {
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
        unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
    }
};

void Send(const std::string& drive, std::uint8_t opcode) {
    ScsiRequest request = modMMC::detail::MakeRequest(opcode, 10, ScsiDirection::kIn, 5);
    modMMC::detail::Send(request, drive, nullptr, 0);
}

class SdBusSleepInhibitorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_session.emplace(m_folder.Path().string(), "session");
        m_system.emplace(m_folder.Path().string(), "system");
        ASSERT_FALSE(m_session->Address().empty());
        ASSERT_FALSE(m_system->Address().empty());
    }
    void TearDown() override {
        NoSleepWhileWriting::SetInhibitor(nullptr);
        SetTransport(nullptr);
    }

    // A job on a drive that writes twice; `atWrite` runs as each write reaches the drive.
    static void RunWritingJob(const std::function<void()>& atWrite) {
        auto transport = std::make_unique<RecordingTransport>();
        transport->SetResponder([&](const RecordingTransport::Command& command) {
            if (command.cdb[0] == 0x2A) atWrite();
            return RecordingTransport::Reply{};
        });
        SetTransport(std::move(transport));
        const DriveBusyScope job("/dev/sr0");
        Send("/dev/sr0", 0x00);
        Send("/dev/sr0", 0x2A);
        Send("/dev/sr0", 0x2A);
    }

    TempFolder m_folder;
    std::optional<PrivateBus> m_session;
    std::optional<PrivateBus> m_system;
};
}  // namespace

TEST_F(SdBusSleepInhibitorTest, ThePortalIsPreferredAndHeldFromTheFirstWriteToTheEnd) {
    StandIn portal(m_session->Address(), true, false);
    StandIn logind(m_system->Address(), false, true);
    ASSERT_TRUE(portal.Ready() && logind.Ready());
    const BusEnvironment buses(m_session->Address(), m_system->Address());
    NoSleepWhileWriting::SetInhibitor(std::make_shared<SdBusSleepInhibitor>(), "正在刻录光碟");
    std::vector<std::vector<std::string>> atWrites;
    RunWritingJob([&] { atWrites.push_back(portal.Calls()); });
    const std::vector<std::string> inhibit = {"portal Inhibit '' 12 正在刻录光碟"};
    EXPECT_EQ(atWrites, (std::vector<std::vector<std::string>>{inhibit, inhibit}));
    EXPECT_EQ(portal.Calls(),
              (std::vector<std::string>{inhibit[0], std::string("portal Close ") + kRequestPath}));
    EXPECT_TRUE(logind.Calls().empty());
}

TEST_F(SdBusSleepInhibitorTest, WithoutAPortalLogindsDescriptorIsKeptUntilTheEnd) {
    // The session bus runs, with nobody owning the portal's name.
    StandIn logind(m_system->Address(), false, true);
    ASSERT_TRUE(logind.Ready());
    const BusEnvironment buses(m_session->Address(), m_system->Address());
    NoSleepWhileWriting::SetInhibitor(std::make_shared<SdBusSleepInhibitor>(), "Recording a disc");
    std::vector<bool> openAtWrites;
    RunWritingJob([&] { openAtWrites.push_back(logind.DescriptorOpen()); });
    EXPECT_EQ(openAtWrites, (std::vector<bool>{true, true}));
    EXPECT_EQ(logind.Calls(),
              (std::vector<std::string>{"logind Inhibit sleep:idle|MAPLE CD/DVD Writer|"
                                        "Recording a disc|block"}));
    // The bus may still hold its copy of the descriptor for a moment.
    EXPECT_TRUE(logind.DescriptorClosedWithin(10000));
}

TEST_F(SdBusSleepInhibitorTest, WithoutABusNothingIsHeldAndNothingSaid) {
    const std::string none = "unix:path=" + m_folder.File("no-bus");
    const BusEnvironment buses(none, none);
    NoSleepWhileWriting::SetInhibitor(std::make_shared<SdBusSleepInhibitor>(), "Recording a disc");
    int writes = 0;
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    RunWritingJob([&] { ++writes; });
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(writes, 2);
}
