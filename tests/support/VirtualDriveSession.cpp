#include "VirtualDriveSession.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <numeric>

#include "LanguageFile.h"
#include "Sleeper.h"
#include "TransportSlot.h"

namespace {
// The slot holds one transport: a second session would pull the first's away.
int g_sessions = 0;

void Require(const std::string& problem, const char* what) {
    if (problem.empty()) return;
    std::fprintf(stderr, "virtual drive %s: %s\n", what, problem.c_str());
    std::abort();
}
}  // namespace

VirtualDriveSession::VirtualDriveSession(int drives) : m_drives(drives) {
    Require(g_sessions++ == 0 ? "" : "only one session at a time", "set-up");
    for (int i = 0; i < drives; ++i) Require(EmuDrive::CreateFolder(Folder(i)), "set-up");
    Open();
    SetSleepHandler([this](int ms) { m_waits.push_back(ms); });
    // The engines speak their built-in texts here whatever the system's
    // language (Wine's user language is English, which has a language file).
    SetLanguageFilePath("");
}

VirtualDriveSession::~VirtualDriveSession() {
    --g_sessions;
    SetSleepHandler({});
    SetTransport(nullptr);
}

void VirtualDriveSession::Open() {
    std::vector<std::string> folders;
    for (int i = 0; i < m_drives; ++i) folders.push_back(Folder(i));
    auto transport = std::make_unique<clsEmulatedDrive>(folders);
    Require(transport->OpenProblem(), "folder");
    m_transport = transport.get();
    SetTransport(std::move(transport));
}

void VirtualDriveSession::Reopen(const std::string& metadata) {
    SetTransport(nullptr);
    if (!metadata.empty()) WriteFile(Folder() + "/drive.meta", metadata);
    Open();
}

std::string VirtualDriveSession::Put(const std::string& name, const std::string& bytes) const {
    const std::string path = File(name);
    WriteFile(path, bytes);
    return path;
}

void VirtualDriveSession::Insert(MediumKind medium, int blocks, int index) {
    if (blocks == 0) return Require(Drive(index).InsertBlank(medium), "insert");
    std::string bytes(static_cast<std::size_t>(blocks) * 2048, '\0');
    if (blocks > 16) bytes.replace(16 * 2048, 6, std::string(1, '\x01') + "CD001");
    Require(Drive(index).InsertImage(medium, Put("image.iso", bytes)), "insert");
}

long long VirtualDriveSession::SleptMs() const {
    return std::accumulate(m_waits.begin(), m_waits.end(), 0LL);
}

std::size_t VirtualDriveSession::Count(std::uint8_t opcode) const {
    const auto opcodes = Opcodes();
    return static_cast<std::size_t>(std::count(opcodes.begin(), opcodes.end(), opcode));
}

std::vector<std::vector<std::uint8_t>> VirtualDriveSession::Cdbs(std::uint8_t opcode) const {
    std::vector<std::vector<std::uint8_t>> cdbs;
    for (const auto& entry : m_transport->CommandLog())
        if (entry.Opcode() == opcode) cdbs.push_back(entry.cdb);
    return cdbs;
}

std::vector<std::pair<std::uint32_t, std::uint16_t>> VirtualDriveSession::Writes() const {
    std::vector<std::pair<std::uint32_t, std::uint16_t>> writes;
    for (const auto& cdb : Cdbs(0x2A))
        writes.emplace_back(std::uint32_t(cdb[2]) << 24 | cdb[3] << 16 | cdb[4] << 8 | cdb[5],
                            static_cast<std::uint16_t>(cdb[7] << 8 | cdb[8]));
    return writes;
}
