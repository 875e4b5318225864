#pragma once

#include <gtest/gtest.h>

#include <string>

#include "VirtualDriveSession.h"
#include "clsEmulatedDrive.h"

// The virtual drive in the program-wide slot, in a temp folder, with a sleep
// seam that records waits instead of waiting.
class VirtualDriveFixture : public ::testing::Test {
  protected:
    // A drive that could not be set up has been reported; its tests stop here.
    void SetUp() override { ASSERT_FALSE(HasFailure()); }

    EmuDrive& Drive() { return session.Drive(); }
    // An image of `blocks` 2048-byte blocks whose sector 16 starts like an
    // ISO 9660 primary volume descriptor.
    std::string ImageFile(int blocks = 40) const {
        std::string bytes(static_cast<std::size_t>(blocks) * 2048, '\0');
        bytes.replace(16 * 2048, 6, std::string(1, '\x01') + "CD001");
        return session.Put("image.iso", bytes);
    }

    VirtualDriveSession session;
    const std::string drive = session.Id();  // the device the commands name
};
