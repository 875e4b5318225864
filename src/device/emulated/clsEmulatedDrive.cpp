#include "clsEmulatedDrive.h"

#include "ScsiStatus.h"

namespace {
constexpr const char* kIdPrefix = "virtual";
// SG_IO takes CDBs of up to 16 bytes from MMC drives; longer ones are refused.
constexpr std::uint8_t kLongestCdb = 16;
constexpr std::size_t kLoggedDataOut = 512;
}  // namespace

clsEmulatedDrive::clsEmulatedDrive(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        std::string error;
        if (auto drive = EmuDrive::Open(folder, error)) {
            m_drives.push_back(std::move(drive));
            continue;
        }
        if (!m_problem.empty()) m_problem += '\n';
        m_problem += "virtual drive ";
        m_problem += error;
    }
}

clsEmulatedDrive::clsEmulatedDrive(std::unique_ptr<EmuDrive> drive) {
    m_drives.push_back(std::move(drive));
}

clsEmulatedDrive::~clsEmulatedDrive() = default;  // each EmuDrive saves itself

std::int16_t clsEmulatedDrive::DriveCount() const {
    return static_cast<std::int16_t>(m_drives.size());
}

int clsEmulatedDrive::IndexOf(const std::string& drive) const {
    for (std::size_t i = 0; i < m_drives.size(); ++i)
        if (drive == kIdPrefix + std::to_string(i)) return static_cast<int>(i);
    return -1;
}

std::string clsEmulatedDrive::DriveChar(const std::string& drive) {
    return IndexOf(drive) >= 0 ? drive : std::string();
}

std::string clsEmulatedDrive::DriveHandle(std::int16_t index) const {
    if (index < 1 || index > DriveCount()) return {};
    return kIdPrefix + std::to_string(index - 1);
}

std::uint8_t clsEmulatedDrive::HostAdapter(const std::string&) {
    return 0;
}

std::uint8_t clsEmulatedDrive::TargetID(const std::string& drive) {
    const int index = IndexOf(drive);
    return static_cast<std::uint8_t>(index > 0 ? index : 0);
}

std::uint8_t clsEmulatedDrive::LUN(const std::string&) {
    return 0;
}

EmuDrive* clsEmulatedDrive::DriveById(const std::string& drive) {
    const int index = IndexOf(drive);
    return index >= 0 ? m_drives[index].get() : nullptr;
}

std::int32_t clsEmulatedDrive::ExecCMD(const std::string& drive, const std::uint8_t* cdb,
                                       std::uint8_t cdbLen, std::int32_t direction, void* buffer,
                                       std::int32_t bufferLen, std::int32_t&) {
    const int index = IndexOf(drive);
    if (index < 0) return ScsiStatus::kCannotOpen;  // sense fields stay as they were
    const std::lock_guard<std::mutex> lock(m_states.CommandLock(drive));
    EmuCommand command;
    command.cdb = cdb;
    command.cdbLen = cdb != nullptr && cdbLen <= kLongestCdb ? cdbLen : 0;
    const bool hasData = buffer != nullptr && bufferLen > 0;
    if (hasData && direction == 0) {
        command.dataIn = static_cast<std::uint8_t*>(buffer);
        command.dataInLen = bufferLen;
    } else if (hasData) {
        command.dataOut = static_cast<const std::uint8_t*>(buffer);
        command.dataOutLen = bufferLen;
    }
    const EmuOutcome outcome = m_drives[index]->Execute(command);
    m_states.SetSense(drive, {outcome.key, outcome.asc, outcome.ascq});
    const std::lock_guard<std::mutex> logLock(m_logMutex);
    if (m_logLimit > 0) {
        EmuLogEntry entry{drive,
                          {cdb, cdb + command.cdbLen},
                          direction,
                          bufferLen,
                          outcome.status,
                          outcome.key,
                          outcome.asc,
                          outcome.ascq,
                          {}};
        if (command.dataOut != nullptr && bufferLen <= static_cast<std::int32_t>(kLoggedDataOut))
            entry.dataOut.assign(command.dataOut, command.dataOut + bufferLen);
        Log(std::move(entry));
    }
    return outcome.status;
}

void clsEmulatedDrive::Log(EmuLogEntry entry) {
    m_log.push_back(std::move(entry));
    while (m_log.size() > m_logLimit) m_log.pop_front();
}

std::vector<std::uint8_t> clsEmulatedDrive::LoggedOpcodes() const {
    std::vector<std::uint8_t> opcodes;
    for (const EmuLogEntry& entry : m_log) opcodes.push_back(entry.Opcode());
    return opcodes;
}

void clsEmulatedDrive::SetCommandLogLimit(std::size_t entries) {
    const std::lock_guard<std::mutex> lock(m_logMutex);
    m_logLimit = entries;
    while (m_log.size() > m_logLimit) m_log.pop_front();
}

std::string clsEmulatedDrive::ClaimDrive(const std::string& drive) {
    EmuDrive* emulated = DriveById(drive);
    if (emulated == nullptr) return drive + ": no such drive";
    const std::lock_guard<std::mutex> lock(m_states.CommandLock(drive));
    return emulated->Claim();
}

void clsEmulatedDrive::ReleaseDrive(const std::string& drive) {
    EmuDrive* emulated = DriveById(drive);
    if (emulated == nullptr) return;
    const std::lock_guard<std::mutex> lock(m_states.CommandLock(drive));
    emulated->Release();
}
