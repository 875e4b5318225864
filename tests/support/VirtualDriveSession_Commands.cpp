#include "VirtualDriveSession.h"

#include <algorithm>
#include <cstdio>

std::int32_t VirtualDriveSession::Exec(std::initializer_list<std::uint8_t> cdb,
                                       std::vector<std::uint8_t>* data, bool dataOut) {
    const std::vector<std::uint8_t> bytes(cdb);
    std::int32_t timeout = 5;
    return m_transport->ExecCMD("virtual0", bytes.data(), static_cast<std::uint8_t>(bytes.size()),
                                dataOut ? 1 : 0, data ? data->data() : nullptr,
                                data ? static_cast<std::int32_t>(data->size()) : 0, timeout);
}

std::string VirtualDriveSession::Sense() const {
    char text[16];
    std::snprintf(text, sizeof text, "%02X/%02X/%02X", m_transport->LastSK(),
                  m_transport->LastASC(), m_transport->LastASCQ());
    return text;
}

std::vector<std::uint8_t> VirtualDriveSession::DiscInformation() {
    std::vector<std::uint8_t> reply(34, 0);
    if (Exec({0x51, 0, 0, 0, 0, 0, 0, 0, 34, 0}, &reply) != 0) return {};
    return reply;
}

std::vector<std::uint8_t> VirtualDriveSession::TrackInformation(std::uint8_t addressType,
                                                                std::uint32_t number) {
    std::vector<std::uint8_t> reply(36, 0);
    if (Exec({0x52, addressType, std::uint8_t(number >> 24), std::uint8_t(number >> 16),
              std::uint8_t(number >> 8), std::uint8_t(number), 0, 0, 36, 0},
             &reply) != 0)
        return {};
    return reply;
}

std::vector<std::uint8_t> VirtualDriveSession::ModeSense(std::uint8_t pageByte,
                                                         std::uint16_t length, std::uint8_t byte1) {
    std::vector<std::uint8_t> reply(length, 0);
    if (Exec(
            {0x5A, byte1, pageByte, 0, 0, 0, 0, std::uint8_t(length >> 8), std::uint8_t(length), 0},
            &reply) != 0)
        return {};
    return reply;
}

std::uint16_t VirtualDriveSession::CurrentProfile() {
    std::vector<std::uint8_t> reply(512, 0);
    if (Exec({0x46, 2, 0, 0, 0, 0, 0, 0x02, 0x00, 0, 0, 0}, &reply) != 0) return 0xFFFF;
    return static_cast<std::uint16_t>(Be16(reply, 6));
}

std::int64_t VirtualDriveSession::ReadCapacity() {
    std::vector<std::uint8_t> reply(8, 0);
    if (Exec({0x25, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, &reply) != 0) return -1;
    return Be32(reply, 0);
}

std::int32_t VirtualDriveSession::SetWriteParameters(std::uint8_t writeType, std::uint8_t trackMode,
                                                     std::uint8_t dataBlockType, bool testWrite,
                                                     std::uint8_t multiSession,
                                                     std::uint16_t pause) {
    // Read the defaults, change the fields, send the list back with the
    // reserved header length and PS bit cleared, as the program does.
    std::vector<std::uint8_t> page = ModeSense(0x85, 512, 0x08);
    if (page.empty()) return -1;
    const std::size_t length = Be16(page, 0) + 2;
    page.resize(length);
    page[0] = page[1] = 0;
    page[8] &= 0x7F;
    page[10] = static_cast<std::uint8_t>((testWrite ? 0x10 : 0) | writeType);
    page[11] = static_cast<std::uint8_t>(multiSession << 6 | trackMode);
    page[12] = dataBlockType;
    page[22] = static_cast<std::uint8_t>(pause >> 8);
    page[23] = static_cast<std::uint8_t>(pause);
    return Exec({0x55, 0x10, 0, 0, 0, 0, 0, 0, std::uint8_t(length), 0}, &page, true);
}

std::int32_t VirtualDriveSession::Write10(std::uint32_t lba, std::uint16_t blocks,
                                          std::vector<std::uint8_t> data) {
    return Exec({0x2A, 0, std::uint8_t(lba >> 24), std::uint8_t(lba >> 16), std::uint8_t(lba >> 8),
                 std::uint8_t(lba), 0, std::uint8_t(blocks >> 8), std::uint8_t(blocks), 0},
                &data, true);
}

std::int32_t VirtualDriveSession::Read10(std::uint32_t lba, std::uint16_t blocks,
                                         std::vector<std::uint8_t>& data) {
    data.assign(std::size_t(blocks) * 2048, 0);
    return Exec({0x28, 0, std::uint8_t(lba >> 24), std::uint8_t(lba >> 16), std::uint8_t(lba >> 8),
                 std::uint8_t(lba), 0, std::uint8_t(blocks >> 8), std::uint8_t(blocks), 0},
                &data);
}

std::int32_t VirtualDriveSession::CloseTrackSession(std::uint8_t function, std::uint16_t track) {
    return Exec({0x5B, 0, function, 0, std::uint8_t(track >> 8), std::uint8_t(track), 0, 0, 0, 0});
}

std::int32_t VirtualDriveSession::SetCdSpeed(std::uint16_t read, std::uint16_t write,
                                             std::uint8_t rotation) {
    return Exec({0xBB, rotation, std::uint8_t(read >> 8), std::uint8_t(read),
                 std::uint8_t(write >> 8), std::uint8_t(write), 0, 0, 0, 0, 0, 0});
}

std::int32_t VirtualDriveSession::WriteDataTrack(std::uint32_t lba, std::uint32_t blocks,
                                                 std::uint8_t seed) {
    for (std::uint32_t done = 0; done < blocks; done += 16) {
        const std::uint16_t count =
            static_cast<std::uint16_t>(std::min<std::uint32_t>(16, blocks - done));
        std::vector<std::uint8_t> chunk(std::size_t(count) * 2048);
        for (std::uint16_t b = 0; b < count; ++b)
            std::fill_n(chunk.begin() + b * 2048, 2048, std::uint8_t(lba + done + b + seed));
        if (const std::int32_t status = Write10(lba + done, count, chunk); status != 0)
            return status;
    }
    return 0;
}

std::uint32_t Be16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return std::uint32_t(bytes.at(at)) << 8 | bytes.at(at + 1);
}

std::uint32_t Be32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return Be16(bytes, at) << 16 | Be16(bytes, at + 2);
}
