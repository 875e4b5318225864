#include "KernelRecorder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "KernelModules.h"
#include "Sleeper.h"
#include "TcmuDriveAdapter.h"
#include "TcmuServer.h"
#include "UioDevice.h"
#include "clsEmulatedDrive.h"

namespace fs = std::filesystem;

namespace {
// The kernel aborts a command the unit has not answered after this long. The
// virtual drive answers at once; the limit covers a blank or close of a slow
// disk's drive folder with room to spare, as a real drive's longest
// operations (a full blank) need.
constexpr int kCommandSeconds = 3600;
constexpr int kNodeWaitMilliseconds = 20000;
constexpr int kPollMilliseconds = 50;

std::string Canonical(const std::string& folder) {
    std::error_code error;
    const fs::path path = fs::canonical(folder, error);
    return error ? folder : path.string();
}

// The name of the only entry of `folder` (srN, sgN), empty when there is none.
std::string OnlyEntry(const fs::path& folder) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        return entry.path().filename().string();
    return {};
}
}  // namespace

KernelRecorder::KernelRecorder(const std::string& folder)
    : m_folder(Canonical(folder)), m_target(m_folder) {}

KernelRecorder::~KernelRecorder() {
    (void)Detach();
}

std::string KernelRecorder::Attach(std::function<void()> onServerFailure) {
    std::string problem = m_target.Unusable();
    if (problem.empty()) problem = PrepareKernelTarget();
    if (problem.empty()) {
        m_drive = std::make_unique<clsEmulatedDrive>(std::vector<std::string>{m_folder});
        m_drive->SetCommandLogLimit(0);
        problem = m_drive->OpenProblem();
    }
    if (problem.empty()) {
        problem = m_target.CreateUnit(kCommandSeconds);
        if (problem.find("File exists") != std::string::npos)
            problem += " (the folder is attached already; 'maple-cli virtual detach " + m_folder +
                       "' removes what a killed server left)";
    }
    if (problem.empty()) problem = Serve(std::move(onServerFailure));
    if (problem.empty()) problem = m_target.CreatePort();
    if (problem.empty()) problem = WaitForNodes();
    if (problem.empty()) return {};
    const std::string undo = Detach();
    return undo.empty() ? problem : problem + "\n" + undo;
}

std::string KernelRecorder::Serve(std::function<void()> onServerFailure) {
    m_uio = std::make_unique<UioDevice>();
    if (std::string problem = m_uio->Open(m_target.UioName()); !problem.empty()) return problem;
    m_adapter = std::make_unique<TcmuDriveAdapter>(*m_drive, m_drive->DriveHandle(1));
    m_server = std::make_unique<TcmuServer>(*m_uio, *m_adapter, std::move(onServerFailure));
    return m_server->Start();
}

std::string KernelRecorder::WaitForNodes() {
    // The kernel scans the LUN while the port is made; the nodes follow.
    for (int waited = 0; waited <= kNodeWaitMilliseconds; waited += kPollMilliseconds) {
        const std::string address = m_target.ScsiAddress();
        const fs::path device = fs::path("/sys/bus/scsi/devices") / address;
        const std::string block = address.empty() ? "" : OnlyEntry(device / "block");
        const std::string generic = address.empty() ? "" : OnlyEntry(device / "scsi_generic");
        std::error_code error;
        if (!block.empty() && !generic.empty() && fs::exists("/dev/" + block, error) &&
            fs::exists("/dev/" + generic, error)) {
            m_block = "/dev/" + block;
            m_generic = "/dev/" + generic;
            return {};
        }
        SleepMilliseconds(kPollMilliseconds);
    }
    return "no /dev/sr and /dev/sg node appeared for the unit (are the modules sr_mod and sg "
           "there?)";
}

std::string KernelRecorder::Detach() {
    std::string problems = m_target.RemovePort();
    if (m_server) {
        const std::string stopped = m_server->Stop();
        if (!stopped.empty()) problems += (problems.empty() ? "" : "\n") + stopped;
    }
    m_server.reset();
    m_adapter.reset();
    m_uio.reset();
    m_drive.reset();  // saves the drive folder
    const std::string unit = m_target.RemoveUnit();
    if (!unit.empty()) problems += (problems.empty() ? "" : "\n") + unit;
    m_block.clear();
    m_generic.clear();
    return problems;
}

std::string KernelRecorder::RemoveLeftover(const std::string& folder,
                                           std::vector<std::string>& removed) {
    if (std::string problem = PrepareKernelTarget(); !problem.empty()) return problem;
    TcmuTarget target(Canonical(folder));
    if (!target.Adopt()) return Canonical(folder) + " is not attached";
    // A running server holds the unit's device open; the kernel lets one process in.
    const std::string node = UioDevice::NodeOf(target.UioName());
    const int fd = node.empty() ? -1 : ::open(node.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0 && errno == EBUSY)
        return Canonical(folder) +
               " is served by a running 'maple-cli virtual attach': stop it (Ctrl+C or kill)";
    if (fd >= 0) ::close(fd);
    const std::vector<std::string> parts = target.Parts();
    removed.assign(parts.rbegin(), parts.rend());  // the order they are removed in
    target.FailPendingCommands();
    std::string problems = target.RemovePort();
    const std::string unit = target.RemoveUnit();
    if (!unit.empty()) problems += (problems.empty() ? "" : "\n") + unit;
    return problems;
}
