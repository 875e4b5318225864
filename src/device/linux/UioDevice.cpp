#include "UioDevice.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {
constexpr const char* kUioClass = "/sys/class/uio";

std::string FirstLine(const fs::path& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}
}  // namespace

UioDevice::~UioDevice() {
    if (m_region != nullptr) ::munmap(m_region, m_size);
    if (m_fd >= 0) ::close(m_fd);
}

std::string UioDevice::NodeOf(const std::string& name) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(kUioClass, error))
        if (FirstLine(entry.path() / "name") == name)
            return "/dev/" + entry.path().filename().string();
    return {};
}

std::string UioDevice::Open(const std::string& name) {
    const std::string node = NodeOf(name);
    if (node.empty()) return "the kernel made no user-space I/O device for the unit";
    const std::string sizeText =
        FirstLine(fs::path(kUioClass) / fs::path(node).filename() / "maps/map0/size");
    try {
        m_size = std::stoull(sizeText, nullptr, 0);
    } catch (...) {
        return node + ": the size of its region cannot be read";
    }
    m_fd = ::open(node.c_str(), O_RDWR | O_CLOEXEC);
    if (m_fd < 0) return node + ": " + std::strerror(errno);
    void* region = ::mmap(nullptr, m_size, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, 0);
    if (region == MAP_FAILED) return node + ": cannot be mapped: " + std::strerror(errno);
    m_region = static_cast<std::uint8_t*>(region);
    return {};
}

UioDevice::Wake UioDevice::Wait(int stopFd) {
    pollfd fds[2] = {{m_fd, POLLIN, 0}, {stopFd, POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return Wake::Failed;
        }
        if ((fds[1].revents & POLLIN) != 0) return Wake::Stop;
        if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) return Wake::Failed;
        std::uint32_t events = 0;  // the kernel's notice count; reading it re-arms poll
        return ::read(m_fd, &events, sizeof events) == sizeof events ? Wake::Commands
                                                                     : Wake::Failed;
    }
}

bool UioDevice::Notify() {
    const std::uint32_t one = 1;
    return ::write(m_fd, &one, sizeof one) == sizeof one;
}
