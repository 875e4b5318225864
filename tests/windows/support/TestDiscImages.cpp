#include "TestDiscImages.h"

#include "EmuDrive.h"
#include "TestEnvironment.h"
#include "VirtualDriveSession.h"
#include "clsISOWriter.h"

void WriteTestImage(const std::string& path, int blocks) {
    std::string bytes(static_cast<std::size_t>(blocks) * 2048, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i / 2048 * 7 + i % 251) & 0xFF);
    std::string descriptor(2048, '\0');
    descriptor.replace(0, 7,
                       "\x01"
                       "CD001\x01",
                       7);
    const auto size = static_cast<std::uint32_t>(blocks);
    for (int i = 0; i < 4; ++i) {  // volume space size, both-endian (bytes 80-87)
        descriptor[80 + i] = static_cast<char>(size >> (8 * i));
        descriptor[87 - i] = static_cast<char>(size >> (8 * i));
    }
    bytes.replace(16 * 2048, 2048, descriptor);
    bytes.replace(17 * 2048, 7,
                  "\xFF"
                  "CD001\x01",
                  7);  // descriptor set terminator
    WriteFile(path, bytes);
}

bool DiscHoldsImage(const EmuDrive& drive, const std::string& image) {
    TempFolder exported;
    if (!drive.ExportTracks(exported.Path().string()).empty()) return false;
    const std::string track = ReadFile(exported.File("track01.iso"));
    const std::string expected = ReadFile(image);
    return !expected.empty() && track.compare(0, expected.size(), expected) == 0;
}

bool RecordOpenSession(VirtualDriveSession& drives, const std::string& folder) {
    clsISOWriter writer;
    const std::string file = folder + "/a.txt";
    WriteFile(file, "on the disc");
    writer.Root().Files().Add(file, "a.txt");
    if (!writer.SaveISO(folder + "/first.iso")) return false;
    std::string image = ReadFile(folder + "/first.iso");
    image.resize((image.size() + 32767) / 32768 * 32768, '\0');
    // Track At Once, data Mode 1, another session allowed (DVD+R takes no page).
    (void)drives.SetWriteParameters(1, 4, 8, false, 3);
    for (std::size_t at = 0; at < image.size(); at += 32768) {
        const auto begin = image.begin() + static_cast<std::ptrdiff_t>(at);
        if (drives.Write10(static_cast<std::uint32_t>(at / 2048), 16, {begin, begin + 32768}) != 0)
            return false;
    }
    return drives.SynchronizeCache() == 0 && drives.CloseTrackSession(1, 1) == 0 &&
           drives.CloseTrackSession(2, 1) == 0;
}
