#include "RecordingTransport.h"

#include <algorithm>
#include <cstring>

RecordingTransport::RecordingTransport(std::vector<std::string> drives)
    : m_drives(std::move(drives)) {}

std::string RecordingTransport::DriveHandle(std::int16_t index) const {
    if (index < 1 || index > DriveCount()) return {};
    return m_drives[index - 1];
}

std::vector<std::uint8_t> RecordingTransport::Opcodes() const {
    std::vector<std::uint8_t> opcodes;
    for (const Command& command : m_commands) opcodes.push_back(command.cdb.at(0));
    return opcodes;
}

int RecordingTransport::CountOf(std::uint8_t opcode) const {
    const auto opcodes = Opcodes();
    return static_cast<int>(std::count(opcodes.begin(), opcodes.end(), opcode));
}

RecordingTransport::Reply RecordingTransport::ReplyTo(const Command& command) {
    if (m_responder) return m_responder(command);
    auto& once = m_once[command.cdb.at(0)];
    if (!once.empty()) {
        Reply reply = std::move(once.front());
        once.pop_front();
        return reply;
    }
    const auto standing = m_standing.find(command.cdb.at(0));
    return standing != m_standing.end() ? standing->second : Reply{};
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
    const Reply reply = ReplyTo(command);
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
