#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Sleeper.h"
#include "TestEnvironment.h"
#include "TransportSlot.h"
#include "clsEmulatedDrive.h"

// The virtual drive in the program-wide slot, in a temp folder, with a sleep
// seam that records waits instead of waiting.
class VirtualDriveFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string folder = temp.File("drive");
        ASSERT_EQ(EmuDrive::CreateFolder(folder), "");
        auto transport = std::make_unique<clsEmulatedDrive>(std::vector<std::string>{folder});
        ASSERT_TRUE(transport->Installed()) << transport->OpenProblem();
        emu = transport.get();
        SetTransport(std::move(transport));
        drive = Transport()->DriveHandle(1);
        SetSleepHandler([this](int ms) { sleeps.push_back(ms); });
    }
    void TearDown() override {
        SetTransport(nullptr);
        SetSleepHandler({});
    }

    EmuDrive& Drive() { return emu->Drive(0); }
    int Logged(std::uint8_t opcode) const {
        int count = 0;
        for (std::uint8_t logged : emu->LoggedOpcodes()) count += logged == opcode;
        return count;
    }
    // An image of `blocks` 2048-byte blocks whose sector 16 starts like an
    // ISO 9660 primary volume descriptor.
    std::string ImageFile(int blocks = 40) const {
        std::string bytes(static_cast<std::size_t>(blocks) * 2048, '\0');
        bytes.replace(16 * 2048, 6, std::string(1, '\x01') + "CD001");
        const std::string path = temp.File("image.iso");
        WriteFile(path, bytes);
        return path;
    }

    TempFolder temp;
    clsEmulatedDrive* emu = nullptr;
    std::string drive;
    std::vector<int> sleeps;
};
