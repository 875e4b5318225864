#include "KernelModules.h"

#include <spawn.h>
#include <sys/mount.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

extern char** environ;

namespace {
constexpr const char* kConfigfs = "/sys/kernel/config";
constexpr const char* kTargetConfig = "/sys/kernel/config/target";

bool Exists(const std::string& path) {
    std::error_code error;
    return fs::exists(path, error);
}

bool Modprobe(const std::string& module) {
    std::vector<char*> argv = {const_cast<char*>("modprobe"), const_cast<char*>(module.c_str()),
                               nullptr};
    pid_t child = 0;
    if (::posix_spawnp(&child, "modprobe", nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    pid_t waited = 0;
    do {
        waited = ::waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    return waited == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string KernelRelease() {
    utsname names{};
    return ::uname(&names) == 0 ? names.release : "";
}
}  // namespace

std::string PrepareKernelTarget() {
    if (::geteuid() != 0)
        return "attaching a virtual drive to the kernel needs root (it configures the kernel's "
               "SCSI target): run it with sudo";
    std::string missing;
    for (const char* module : {"target_core_user", "tcm_loop", "sr_mod", "sg"}) {
        if (Exists(std::string("/sys/module/") + module) || Modprobe(module)) continue;
        missing += (missing.empty() ? "" : ", ") + std::string(module);
    }
    if (!missing.empty())
        return "cannot load the kernel modules " + missing +
               " with modprobe: they come with the kernel (Debian: linux-image-" + KernelRelease() +
               "); in a container, load them on the host";
    if (!Exists(kTargetConfig) && Exists(kConfigfs))
        (void)::mount("configfs", kConfigfs, "configfs", 0, nullptr);
    if (!Exists(kTargetConfig))
        return std::string(
                   "the kernel's SCSI target configuration is missing: mount configfs "
                   "(mount -t configfs none ") +
               kConfigfs + ")";
    return {};
}
