#include "TestDiscImages.h"

#include "EmuDrive.h"
#include "TestEnvironment.h"

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
