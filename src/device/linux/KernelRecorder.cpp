#include "KernelRecorder.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iostream>

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
constexpr int kServerEndMilliseconds = 3000;

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

std::string Joined(std::string problems, const std::string& more) {
    if (more.empty()) return problems;
    return problems.empty() ? more : problems + "\n" + more;
}
}  // namespace

KernelRecorder::KernelRecorder(const std::string& folder)
    : m_folder(Canonical(folder)), m_target(m_folder) {}

KernelRecorder::~KernelRecorder() {
    (void)Detach();
}

std::string KernelRecorder::Attach() {
    std::string problem = m_target.Unusable();
    if (problem.empty()) problem = PrepareKernelTarget();
    if (problem.empty()) {
        const auto identity = ServingIdentity::ForFolder(m_folder, problem);
        if (identity) m_identity = *identity;
    }
    if (problem.empty()) {
        m_drive = std::make_unique<clsEmulatedDrive>(std::vector<std::string>{m_folder});
        m_drive->SetCommandLogLimit(0);
        problem = m_drive->OpenProblem();
    }
    if (problem.empty()) {
        problem = m_target.CreateUnit(kCommandSeconds);
        if (m_target.LastError() == EEXIST)
            problem += " (the folder is attached already; 'maple-cli virtual detach " + m_folder +
                       "' removes what a killed server left)";
    }
    if (problem.empty()) problem = StartServing();
    if (problem.empty()) problem = m_target.CreatePort();
    if (problem.empty()) problem = WaitForNodes();
    if (problem.empty()) return {};
    return Joined(problem, Detach());
}

// The unit's device and the drive are opened here, with root; the serving
// process takes them over and drops it. This process keeps neither.
std::string KernelRecorder::StartServing() {
    m_uio = std::make_unique<UioDevice>();
    if (std::string problem = m_uio->Open(m_target.UioName()); !problem.empty()) return problem;
    m_server = ::fork();
    if (m_server < 0)
        return std::string("cannot start the serving process: ") + std::strerror(errno);
    if (m_server == 0) Serve();
    m_uio.reset();
    m_drive.reset();  // nothing changed it here: nothing is saved
    return {};
}

void KernelRecorder::Serve() {
    std::string problem = m_identity.Assume();
    if (problem.empty()) {
        TcmuDriveAdapter adapter(*m_drive, m_drive->DriveHandle(1));
        // Serving that ends by itself ends the process as a stop does.
        TcmuServer server(*m_uio, adapter, [] { ::kill(::getpid(), SIGTERM); });
        problem = server.Start();
        if (problem.empty()) {
            sigset_t stop;
            sigemptyset(&stop);
            sigaddset(&stop, SIGTERM);
            int received = 0;
            sigwait(&stop, &received);
            problem = server.Stop();
        }
    }
    m_drive.reset();  // saves the drive folder, as its owner
    m_uio.reset();
    if (!problem.empty())
        std::cerr << "maple-cli: serving " << m_folder << ": " << problem << std::endl;
    ::_exit(problem.empty() ? 0 : 1);
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

// Stops the serving process and waits for it; why it ended, when that was
// not on request.
std::string KernelRecorder::StopServing() {
    if (m_server <= 0) return {};
    (void)::kill(m_server, SIGTERM);
    int status = 0;
    pid_t waited = 0;
    do {
        waited = ::waitpid(m_server, &status, 0);
    } while (waited < 0 && errno == EINTR);
    m_server = -1;
    if (waited < 0 || (WIFEXITED(status) && WEXITSTATUS(status) == 0)) return {};
    return EndText(status);
}

std::string KernelRecorder::EndText(int status) {
    if (WIFSIGNALED(status))
        return "the serving process was ended by signal " + std::to_string(WTERMSIG(status));
    return "the serving process ended with status " + std::to_string(WEXITSTATUS(status));
}

bool KernelRecorder::ServingEnded() {
    int status = 0;
    if (m_server <= 0 || ::waitpid(m_server, &status, WNOHANG) != m_server) return m_endStatus >= 0;
    m_server = -1;
    m_endStatus = status;
    return true;
}

std::string KernelRecorder::Detach() {
    std::string problems;
    if (ServingEnded()) {
        // It answers nothing more: the commands in its ring fail now, so
        // that removing the port waits for none of them.
        m_target.FailPendingCommands();
        problems = EndText(m_endStatus);
        m_endStatus = -1;
    }
    problems = Joined(problems, m_target.RemovePort());
    problems = Joined(problems, StopServing());
    m_uio.reset();
    m_drive.reset();
    problems = Joined(problems, m_target.RemoveUnit());
    m_block.clear();
    m_generic.clear();
    return problems;
}

std::string KernelRecorder::RemoveLeftover(const std::string& folder,
                                           std::vector<std::string>& removed) {
    if (std::string problem = PrepareKernelTarget(); !problem.empty()) return problem;
    TcmuTarget target(Canonical(folder));
    if (!target.Adopt()) return Canonical(folder) + " is not attached";
    // A running server holds the unit's device open; the kernel lets one
    // process in. A serving process whose starter was killed ends by itself
    // (it gets SIGTERM): it is given a moment.
    const std::string node = UioDevice::NodeOf(target.UioName());
    int fd = -1;
    for (int waited = 0; !node.empty(); waited += kPollMilliseconds) {
        fd = ::open(node.c_str(), O_RDWR | O_CLOEXEC);
        if (fd >= 0 || errno != EBUSY) break;
        if (waited >= kServerEndMilliseconds)
            return Canonical(folder) +
                   " is served by a running 'maple-cli virtual attach': stop it (Ctrl+C or kill)";
        SleepMilliseconds(kPollMilliseconds);
    }
    if (fd >= 0) ::close(fd);
    const std::vector<std::string> parts = target.Parts();
    removed.assign(parts.rbegin(), parts.rend());  // the order they are removed in
    target.FailPendingCommands();
    std::string problems = target.RemovePort();
    return Joined(problems, target.RemoveUnit());
}
