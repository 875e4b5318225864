#include "VirtualDriveFixture.h"

#include <QtGlobal>
#include <memory>

#include "RecordingTransport.h"
#include "TransportSlot.h"

VirtualDriveFixture::VirtualDriveFixture(int drives) {
    std::vector<std::string> folders;
    for (int i = 0; i < drives; ++i) {
        folders.push_back(m_folder.File("drive" + std::to_string(i)));
        const std::string error = EmuDrive::CreateFolder(folders.back());
        if (!error.empty()) qFatal("virtual drive: %s", error.c_str());
    }
    auto transport = std::make_unique<clsEmulatedDrive>(folders);
    if (!transport->Installed()) qFatal("virtual drive: %s", transport->OpenProblem().c_str());
    m_transport = transport.get();
    SetTransport(std::move(transport));
}

VirtualDriveFixture::~VirtualDriveFixture() {
    SetTransport(nullptr);
}

std::string VirtualDriveFixture::Id(int index) const {
    return m_transport->DriveHandle(static_cast<std::int16_t>(index + 1));
}

void VirtualDriveFixture::InsertRecorded(MediumKind kind, int blocks, int index) {
    const std::string image = m_folder.File("image" + std::to_string(index) + ".iso");
    WriteFile(image, std::string(static_cast<std::size_t>(blocks) * 2048, '\0'));
    const std::string error = Drive(index).InsertImage(kind, image);
    if (!error.empty()) qFatal("insert: %s", error.c_str());
}

int VirtualDriveFixture::Count(std::uint8_t opcode) const {
    int count = 0;
    for (const EmuLogEntry& entry : m_transport->CommandLog())
        if (entry.Opcode() == opcode) ++count;
    return count;
}

std::vector<std::string> VirtualDriveFixture::Cdbs(std::uint8_t opcode) const {
    std::vector<std::string> cdbs;
    for (const EmuLogEntry& entry : m_transport->CommandLog())
        if (entry.Opcode() == opcode) cdbs.push_back(HexBytes(entry.cdb));
    return cdbs;
}
