#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "RecordingTransport.h"
#include "Sleeper.h"
#include "TransportSlot.h"

// A scripted transport in the program-wide slot, answering by opcode, and a
// sleep seam that counts waits instead of sleeping; with reply builders for
// the queries the program decodes.
class ScriptedDriveTest : public ::testing::Test {
  protected:
    using Reply = RecordingTransport::Reply;

    void SetUp() override {
        auto fake = std::make_unique<RecordingTransport>();
        transport = fake.get();
        SetTransport(std::move(fake));
        SetSleepHandler([this](int ms) { sleeps.push_back(ms); });
    }
    void TearDown() override {
        SetTransport(nullptr);
        SetSleepHandler({});
    }

    void Answer(std::uint8_t opcode, Reply reply) { transport->Answer(opcode, std::move(reply)); }
    void AnswerOnce(std::uint8_t opcode, Reply reply) {
        transport->AnswerOnce(opcode, std::move(reply));
    }
    static Reply Sense(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq = 0) {
        return RecordingTransport::Sense(key, asc, ascq);
    }
    static Reply Data(std::vector<std::uint8_t> bytes) {
        return RecordingTransport::Data(std::move(bytes));
    }
    std::vector<std::uint8_t> Opcodes() const { return transport->Opcodes(); }
    int CountOf(std::uint8_t opcode) const { return transport->CountOf(opcode); }

    // GET CONFIGURATION reply with the given current profile.
    static Reply Profile(std::uint16_t profile) {
        return Data({0, 0, 0, 4, 0, 0, std::uint8_t(profile >> 8), std::uint8_t(profile)});
    }
    // READ DISC INFORMATION reply: status byte 2, sessions, last track, disc type.
    static Reply DiscInformation(std::uint8_t byte2, std::uint8_t sessions = 1,
                                 std::uint8_t lastTrack = 1, std::uint8_t discType = 0xFF) {
        std::vector<std::uint8_t> bytes(31, 0);
        bytes[1] = 0x20;
        bytes[2] = byte2;
        bytes[3] = 1;
        bytes[4] = bytes[5] = sessions;
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
    const std::string drive = "/dev/sr0";
};
