#include "VirtualDriveSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>

#include "Sleeper.h"
#include "TransportSlot.h"
#include "clsEmulatedDrive.h"

VirtualDriveSession::VirtualDriveSession() {
    const std::string folder = m_folder.File("drive");
    EXPECT_EQ(EmuDrive::CreateFolder(folder), "");
    auto transport = std::make_unique<clsEmulatedDrive>(std::vector<std::string>{folder});
    EXPECT_TRUE(transport->Installed()) << transport->OpenProblem();
    m_transport = transport.get();
    SetTransport(std::move(transport));
    m_id = ::Transport()->DriveHandle(1);
    SetSleepHandler([this](int ms) { m_waits.push_back(ms); });
}

VirtualDriveSession::~VirtualDriveSession() {
    SetSleepHandler({});
    TakeTransport().reset();
}

EmuDrive& VirtualDriveSession::Drive() {
    return m_transport->Drive(0);
}

std::string VirtualDriveSession::Put(const std::string& name, const std::string& bytes) const {
    const std::string path = File(name);
    WriteFile(path, bytes);
    return path;
}

long long VirtualDriveSession::SleptMs() const {
    return std::accumulate(m_waits.begin(), m_waits.end(), 0LL);
}

std::vector<std::uint8_t> VirtualDriveSession::Opcodes() const {
    return m_transport->LoggedOpcodes();
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
