#pragma once

#include <string>
#include <vector>

#include "TestEnvironment.h"
#include "clsEmulatedDrive.h"

// Virtual drives in fresh folders, installed in the transport slot for the
// object's lifetime (tray closed, no medium).
class VirtualDriveFixture {
  public:
    explicit VirtualDriveFixture(int drives = 1);
    ~VirtualDriveFixture();

    clsEmulatedDrive& Transport() { return *m_transport; }
    EmuDrive& Drive(int index = 0) { return m_transport->Drive(static_cast<std::size_t>(index)); }
    // Device identifier of drive `index` ("virtual0").
    std::string Id(int index = 0) const;
    // A finished disc of `kind` holding `blocks` zero blocks.
    void InsertRecorded(MediumKind kind, int blocks = 32, int index = 0);
    // How many commands of `opcode` the drives answered.
    int Count(std::uint8_t opcode) const;
    // CDBs of the commands of `opcode`, as hex text.
    std::vector<std::string> Cdbs(std::uint8_t opcode) const;

  private:
    TempFolder m_folder;
    clsEmulatedDrive* m_transport = nullptr;
};
