#include "LinuxSgioSystem.h"

#include <fcntl.h>
#include <linux/cdrom.h>
#include <scsi/scsi.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {
// Numeric index of an "srN" name, or -1.
long SrIndex(const std::string& name) {
    if (name.size() < 3 || name.compare(0, 2, "sr") != 0) return -1;
    if (!std::all_of(name.begin() + 2, name.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::stol(name.substr(2));
}

std::vector<std::string> SortedNodes(std::vector<std::string> names) {
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return SrIndex(a) < SrIndex(b); });
    names.erase(std::unique(names.begin(), names.end()), names.end());
    std::vector<std::string> nodes;
    nodes.reserve(names.size());
    for (const auto& name : names) nodes.push_back("/dev/" + name);
    return nodes;
}
}  // namespace

LinuxSgioSystem::LinuxSgioSystem(std::string sysfsBlock, std::string procCdromInfo)
    : m_sysfsBlock(std::move(sysfsBlock)), m_procCdromInfo(std::move(procCdromInfo)) {}

std::vector<std::string> LinuxSgioSystem::ListOpticalDrives() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(m_sysfsBlock, error)) {
        const std::string name = entry.path().filename().string();
        if (SrIndex(name) >= 0) names.push_back(name);
    }
    if (names.empty()) {
        // Older kernels without sysfs: the cdrom driver's table, "drive name:" line.
        std::ifstream info(m_procCdromInfo);
        std::string line;
        while (std::getline(info, line)) {
            if (line.rfind("drive name:", 0) != 0) continue;
            std::istringstream words(line.substr(11));
            std::string word;
            while (words >> word)
                if (SrIndex(word) >= 0) names.push_back(word);
        }
    }
    return SortedNodes(std::move(names));
}

int LinuxSgioSystem::Open(const std::string& path, bool writable, int& error) {
    // O_NONBLOCK: an empty drive still opens and the tray is left alone.
    const int fd = ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_CLOEXEC);
    error = fd < 0 ? errno : 0;
    return fd;
}

int LinuxSgioSystem::OpenExclusive(const std::string& path, int& error) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_EXCL | O_CLOEXEC);
    error = fd < 0 ? errno : 0;
    return fd;
}

void LinuxSgioSystem::Close(int fd) {
    ::close(fd);
}

int LinuxSgioSystem::SendSgIo(int fd, sg_io_hdr_t& header, int& error) {
    const int result = ::ioctl(fd, SG_IO, &header);
    error = result < 0 ? errno : 0;
    return result;
}

bool LinuxSgioSystem::QueryAddress(int fd, ScsiAddress& address) {
    struct {
        int fourInOne;  // id | lun << 8 | channel << 16 | host << 24
        int hostUniqueId;
    } idlun{};
    if (::ioctl(fd, SCSI_IOCTL_GET_IDLUN, &idlun) < 0) return false;
    address.target = static_cast<std::uint8_t>(idlun.fourInOne & 0xFF);
    address.lun = static_cast<std::uint8_t>((idlun.fourInOne >> 8) & 0xFF);
    address.channel = static_cast<std::uint8_t>((idlun.fourInOne >> 16) & 0xFF);
    address.host = static_cast<std::uint8_t>((idlun.fourInOne >> 24) & 0xFF);
    return true;
}

bool LinuxSgioSystem::LastMediaChange(int fd, std::int64_t& milliseconds) {
    cdrom_timed_media_change_info info{};
    // The call also has the driver look for a change now.
    if (::ioctl(fd, CDROM_TIMED_MEDIA_CHANGE, &info) < 0) return false;
    milliseconds = info.last_media_change;
    return true;
}
