#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "TestEnvironment.h"
#include "clsSCSI.h"

// A scripted fake transport for tests: records every command (CDB, length,
// direction, buffer length, time limit, data sent) and answers by opcode.
class RecordingTransport : public clsSCSI {
  public:
    struct Command {
        std::string drive;
        std::vector<std::uint8_t> cdb;  // the first cdbLen bytes
        std::int32_t direction = 0;
        std::int32_t bufferLen = 0;
        std::int32_t timeout = 0;
        std::vector<std::uint8_t> dataOut;  // what was sent with direction 1
    };
    struct Reply {
        std::int32_t status = 0;
        std::uint8_t key = 0, asc = 0, ascq = 0;
        std::vector<std::uint8_t> dataIn;  // copied into the buffer (at most bufferLen)
    };
    static Reply Sense(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq = 0) {
        return {2, key, asc, ascq, {}};
    }
    static Reply Data(std::vector<std::uint8_t> bytes) { return {0, 0, 0, 0, std::move(bytes)}; }

    explicit RecordingTransport(std::vector<std::string> drives = {"/dev/sr0"});

    // The standing answer to an opcode (GOOD without data when none is set).
    void Answer(std::uint8_t opcode, Reply reply) { m_standing[opcode] = std::move(reply); }
    // One-off answers to an opcode, used in order before the standing one.
    void AnswerOnce(std::uint8_t opcode, Reply reply) {
        m_once[opcode].push_back(std::move(reply));
    }
    // Answers every command by a function instead.
    void SetResponder(std::function<Reply(const Command&)> responder) {
        m_responder = std::move(responder);
    }

    const std::vector<Command>& Commands() const { return m_commands; }
    void ClearCommands() { m_commands.clear(); }
    std::vector<std::uint8_t> Opcodes() const;
    int CountOf(std::uint8_t opcode) const;

    std::string Interface() const override { return "Recording"; }
    std::uint8_t LastASCQ() const override { return m_ascq; }
    std::uint8_t LastASC() const override { return m_asc; }
    std::uint8_t LastSK() const override { return m_key; }
    bool Initialized() override { return true; }
    bool Installed() override { return !m_drives.empty(); }
    std::int16_t DriveCount() const override { return static_cast<std::int16_t>(m_drives.size()); }
    std::string DriveChar(const std::string& drive) override { return drive; }
    std::string DriveHandle(std::int16_t index) const override;
    std::uint8_t HostAdapter(const std::string&) override { return 1; }
    std::uint8_t TargetID(const std::string&) override { return 0; }
    std::uint8_t LUN(const std::string&) override { return 0; }
    std::int32_t ExecCMD(const std::string& drive, const std::uint8_t* cdb, std::uint8_t cdbLen,
                         std::int32_t direction, void* buffer, std::int32_t bufferLen,
                         std::int32_t& timeout) override;

  private:
    Reply ReplyTo(const Command& command);

    std::vector<std::string> m_drives;
    std::vector<Command> m_commands;
    std::map<std::uint8_t, Reply> m_standing;
    std::map<std::uint8_t, std::deque<Reply>> m_once;
    std::function<Reply(const Command&)> m_responder;
    std::uint8_t m_key = 0, m_asc = 0, m_ascq = 0;
};
