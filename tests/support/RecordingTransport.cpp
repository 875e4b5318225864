#include "RecordingTransport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

RecordingTransport::RecordingTransport(std::vector<std::string> drives)
    : m_drives(std::move(drives)) {}

std::string RecordingTransport::DriveHandle(std::int16_t index) const {
    if (index < 1 || index > DriveCount()) return {};
    return m_drives[index - 1];
}

std::int32_t RecordingTransport::ExecCMD(const std::string& drive, const std::uint8_t* cdb,
                                         std::uint8_t cdbLen, std::int32_t direction, void* buffer,
                                         std::int32_t bufferLen, std::int32_t& timeout) {
    Command command{
        drive, std::vector<std::uint8_t>(cdb, cdb + cdbLen), direction, bufferLen, timeout, {}};
    if (direction != 0 && buffer != nullptr && bufferLen > 0) {
        const auto* bytes = static_cast<const std::uint8_t*>(buffer);
        command.dataOut.assign(bytes, bytes + bufferLen);
    }
    m_commands.push_back(command);
    Reply reply = m_default;
    if (m_responder) {
        reply = m_responder(command);
    } else if (!m_replies.empty()) {
        reply = std::move(m_replies.front());
        m_replies.pop_front();
    }
    if (direction == 0 && buffer != nullptr && !reply.dataIn.empty()) {
        const std::size_t count =
            std::min<std::size_t>(reply.dataIn.size(), static_cast<std::size_t>(bufferLen));
        std::memcpy(buffer, reply.dataIn.data(), count);
    }
    m_key = reply.key;
    m_asc = reply.asc;
    m_ascq = reply.ascq;
    return reply.status;
}

std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    char byte[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", bytes[i]);
        text += byte;
    }
    return text;
}
