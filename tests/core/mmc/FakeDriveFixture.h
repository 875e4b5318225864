#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "RecordingTransport.h"
#include "Sleeper.h"
#include "TransportSlot.h"

// A recording fake transport in the slot, answering by opcode, and a sleep
// seam that counts waits instead of sleeping.
class FakeDriveFixture : public ::testing::Test {
  protected:
    using Reply = RecordingTransport::Reply;

    void SetUp() override {
        auto fake = std::make_unique<RecordingTransport>();
        transport = fake.get();
        SetTransport(std::move(fake));
        SetSleepHandler([this](int ms) { sleeps.push_back(ms); });
        transport->SetResponder([this](const RecordingTransport::Command& command) {
            auto queued = queues.find(command.cdb[0]);
            if (queued != queues.end() && !queued->second.empty()) {
                Reply reply = queued->second.front();
                queued->second.erase(queued->second.begin());
                return reply;
            }
            auto found = replies.find(command.cdb[0]);
            return found != replies.end() ? found->second : Reply{};
        });
    }
    void TearDown() override {
        SetTransport(nullptr);
        SetSleepHandler({});
    }

    // The standing answer to an opcode (GOOD without data when none is set).
    void Answer(std::uint8_t opcode, Reply reply) { replies[opcode] = std::move(reply); }
    // One-off answers to an opcode, used before the standing answer.
    void AnswerOnce(std::uint8_t opcode, Reply reply) {
        queues[opcode].push_back(std::move(reply));
    }
    static Reply Sense(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq = 0) {
        return {2, key, asc, ascq, {}};
    }
    static Reply Data(std::vector<std::uint8_t> bytes) { return {0, 0, 0, 0, std::move(bytes)}; }

    std::vector<std::uint8_t> Opcodes() const {
        std::vector<std::uint8_t> opcodes;
        for (const auto& command : transport->Commands()) opcodes.push_back(command.cdb[0]);
        return opcodes;
    }
    int CountOf(std::uint8_t opcode) const {
        int count = 0;
        for (const auto& command : transport->Commands()) count += command.cdb[0] == opcode;
        return count;
    }

    // GET CONFIGURATION reply with the given current profile.
    static Reply Profile(std::uint16_t profile) {
        std::vector<std::uint8_t> bytes(8, 0);
        bytes[3] = 4;
        bytes[6] = static_cast<std::uint8_t>(profile >> 8);
        bytes[7] = static_cast<std::uint8_t>(profile);
        return Data(bytes);
    }
    // READ DISC INFORMATION reply: status byte 2, sessions, last track, disc type.
    static Reply DiscInformation(std::uint8_t byte2, std::uint8_t sessions = 1,
                                 std::uint8_t lastTrack = 1, std::uint8_t discType = 0xFF) {
        std::vector<std::uint8_t> bytes(31, 0);
        bytes[1] = 0x20;
        bytes[2] = byte2;
        bytes[3] = 1;
        bytes[4] = sessions;
        bytes[5] = sessions;
        bytes[6] = lastTrack;
        bytes[8] = discType;
        return Data(bytes);
    }
    // READ(10) reply of a 2048-byte sector starting with `start`.
    static Reply Sector(const std::string& start) {
        std::vector<std::uint8_t> bytes(2048, 0);
        std::copy(start.begin(), start.end(), bytes.begin());
        return Data(bytes);
    }

    RecordingTransport* transport = nullptr;
    std::vector<int> sleeps;
    std::map<std::uint8_t, Reply> replies;
    std::map<std::uint8_t, std::vector<Reply>> queues;
    const std::string drive = "/dev/sr0";
};
