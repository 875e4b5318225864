#include "TcmuTarget.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace {
constexpr std::size_t kLongestConfig = 255;  // the kernel keeps 256 bytes with the terminator
constexpr const char* kSubtype = "maple";
// Size the unit reports to the target core; the drive answers READ CAPACITY itself.
constexpr std::uint64_t kUnitBytes = 2295104ULL * 2048;

std::uint64_t Fnv1a(const std::string& text, std::uint64_t seed) {
    std::uint64_t hash = 14695981039346656037ULL ^ seed;
    for (const unsigned char c : text) hash = (hash ^ c) * 1099511628211ULL;
    return hash;
}

std::string Hex(std::uint64_t value, int digits) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return std::string(text + 16 - digits);
}

// An NAA WWN (type 5, IEEE registered) from a hash: "naa.5" and 15 hex digits.
std::string Wwn(std::uint64_t hash) {
    return "naa.5" + Hex(hash, 15);
}

std::string Errno(const std::string& path) {
    return path + ": " + std::strerror(errno);
}

std::string WriteAttribute(const std::string& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return Errno(path);
    const ssize_t written = ::write(fd, text.data(), text.size());
    const std::string problem = written == static_cast<ssize_t>(text.size()) ? "" : Errno(path);
    ::close(fd);
    return problem;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}
}  // namespace

TcmuTarget::TcmuTarget(std::string folder, std::string root)
    : m_folder(std::move(folder)), m_root(std::move(root)) {
    const std::uint64_t hash = Fnv1a(m_folder, 0);
    m_hba = m_root + "/core/user_" + std::to_string(hash % 100000);
    m_unit = m_hba + "/maple-" + Hex(hash, 16);
    m_fabric = m_root + "/loopback";
    m_port = m_fabric + "/" + Wwn(hash);
    m_tpg = m_port + "/tpgt_1";
    m_lun = m_tpg + "/lun/lun_0";
    m_link = m_lun + "/maple";
    m_config = std::string(kSubtype) + "/" + m_folder;
}

std::string TcmuTarget::Unusable() const {
    if (m_folder.find_first_of(",\n") != std::string::npos)
        return m_folder + ": a folder whose path holds ',' or a line break cannot be attached";
    if (m_config.size() > kLongestConfig) return m_folder + ": the path is too long to be attached";
    return {};
}

std::string TcmuTarget::UioName() const {
    const std::string hba = m_hba.substr(m_hba.rfind('_') + 1);
    return "tcm-user/" + hba + "/" + m_unit.substr(m_unit.rfind('/') + 1) + "/" + m_config;
}

std::string TcmuTarget::Create(std::vector<Part>& parts, Kind kind, const std::string& path,
                               const std::string& linkTarget) {
    bool failed = false;
    if (kind == Kind::Link) {
        failed = ::symlink(linkTarget.c_str(), path.c_str()) != 0;
    } else if (kind == Kind::Nexus) {
        failed = !WriteAttribute(path, linkTarget).empty();
    } else if (::mkdir(path.c_str(), 0755) != 0) {
        failed = errno != EEXIST || kind != Kind::SharedDirectory;
    }
    if (failed) {
        m_lastError = errno;
        return Errno(path);
    }
    parts.push_back({kind, path});
    return {};
}

std::string TcmuTarget::CreateUnit(int commandSeconds) {
    std::string problem = Create(m_unitParts, Kind::SharedDirectory, m_hba);
    if (problem.empty()) problem = Create(m_unitParts, Kind::Directory, m_unit);
    if (problem.empty())
        problem = WriteAttribute(m_unit + "/control", "dev_config=" + m_config + ",dev_size=" +
                                                          std::to_string(kUnitBytes) +
                                                          ",hw_block_size=2048");
    if (problem.empty())
        problem = WriteAttribute(m_unit + "/attrib/cmd_time_out", std::to_string(commandSeconds));
    if (problem.empty()) problem = WriteAttribute(m_unit + "/enable", "1");
    return problem;
}

std::string TcmuTarget::CreatePort() {
    const std::string nexus = Wwn(Fnv1a(m_folder, 1));
    std::string problem = Create(m_portParts, Kind::SharedDirectory, m_fabric);
    for (const std::string& path : {m_port, m_tpg})
        if (problem.empty()) problem = Create(m_portParts, Kind::Directory, path);
    if (problem.empty()) problem = Create(m_portParts, Kind::Nexus, m_tpg + "/nexus", nexus);
    if (problem.empty()) problem = Create(m_portParts, Kind::Directory, m_lun);
    if (problem.empty()) problem = Create(m_portParts, Kind::Link, m_link, m_unit);
    return problem;
}

std::string TcmuTarget::ScsiAddress() const {
    std::ifstream file(m_tpg + "/address");
    std::string address;
    return std::getline(file, address) && !address.empty() ? address + ":0" : std::string();
}

bool TcmuTarget::Adopt() {
    m_unitParts.clear();
    m_portParts.clear();
    if (Exists(m_unit)) m_unitParts = {{Kind::SharedDirectory, m_hba}, {Kind::Directory, m_unit}};
    if (Exists(m_port)) {
        m_portParts = {{Kind::SharedDirectory, m_fabric}, {Kind::Directory, m_port}};
        if (Exists(m_tpg))
            m_portParts.insert(m_portParts.end(),
                               {{Kind::Directory, m_tpg}, {Kind::Nexus, m_tpg + "/nexus"}});
        if (Exists(m_lun)) m_portParts.push_back({Kind::Directory, m_lun});
        if (Exists(m_link)) m_portParts.push_back({Kind::Link, m_link});
    }
    return !m_unitParts.empty() || !m_portParts.empty();
}

void TcmuTarget::FailPendingCommands() const {
    if (!Exists(m_unit)) return;
    (void)WriteAttribute(m_unit + "/action/block_dev", "1");
    (void)WriteAttribute(m_unit + "/action/reset_ring", "2");
}

std::string TcmuTarget::Remove(std::vector<Part>& parts) {
    std::string problems;
    while (!parts.empty()) {
        const Part part = parts.back();
        parts.pop_back();
        bool removed = false;
        if (part.kind == Kind::Link) {
            removed = ::unlink(part.path.c_str()) == 0;
        } else if (part.kind == Kind::Nexus) {
            // ENODEV: no nexus was made (a server killed half-way).
            removed = WriteAttribute(part.path, "NULL").empty() || errno == ENODEV;
        } else {
            removed =
                ::rmdir(part.path.c_str()) == 0 ||
                // Folders other units or ports still use stay.
                (part.kind == Kind::SharedDirectory && (errno == ENOTEMPTY || errno == EBUSY));
        }
        if (!removed && errno != ENOENT)
            problems += (problems.empty() ? "" : "\n") + Errno(part.path);
    }
    return problems;
}

std::string TcmuTarget::RemovePort() {
    return Remove(m_portParts);
}

std::string TcmuTarget::RemoveUnit() {
    return Remove(m_unitParts);
}

std::vector<std::string> TcmuTarget::Parts() const {
    std::vector<std::string> paths;
    for (const auto* parts : {&m_unitParts, &m_portParts})
        for (const Part& part : *parts) paths.push_back(part.path);
    return paths;
}
