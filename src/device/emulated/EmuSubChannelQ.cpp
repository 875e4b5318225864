#include "EmuSubChannelQ.h"

namespace {
constexpr std::uint8_t kAudioAdr1 = 0x01;  // CTL 0 (two-channel audio), ADR 1 (time)

std::uint8_t Bcd(std::int64_t value) {
    return static_cast<std::uint8_t>((value / 10) << 4 | value % 10);
}

// Minutes, seconds, frames of `frames` (75 a second) at `at`.
void PutMsf(std::int64_t frames, std::uint8_t* at) {
    at[0] = Bcd(frames / (60 * 75));
    at[1] = Bcd(frames / 75 % 60);
    at[2] = Bcd(frames % 75);
}
}  // namespace

bool EmuSubChannelQ::At(const EmuMedia& media, std::int64_t lba, Bytes& out) {
    const EmuTrack* track = media.TrackAt(lba);
    const bool inPause = track == nullptr;
    if (inPause) track = media.AudioPauseAt(lba);
    if (track == nullptr || track->mode != EmuTrack::Mode::Audio) return false;
    out.fill(0);
    out[0] = kAudioAdr1;
    out[1] = Bcd(track->number);
    out[2] = inPause ? 0 : 1;
    PutMsf(inPause ? track->start - 1 - lba : lba - track->start, &out[3]);
    PutMsf(lba + 150, &out[7]);
    const std::uint16_t crc = Crc(out.data(), 10);
    out[10] = static_cast<std::uint8_t>(crc >> 8);
    out[11] = static_cast<std::uint8_t>(crc);
    return true;
}

void EmuSubChannelQ::RawPw(const Bytes& q, std::uint8_t* out) {
    constexpr std::uint8_t kP = 0x80, kQ = 0x40;
    const bool pause = q[2] == 0;
    for (int i = 0; i < kRawBytes; ++i) {
        const bool bit = ((q[static_cast<std::size_t>(i / 8)] >> (7 - i % 8)) & 1) != 0;
        out[i] = static_cast<std::uint8_t>((pause ? kP : 0) | (bit ? kQ : 0));
    }
}

std::uint16_t EmuSubChannelQ::Crc(const std::uint8_t* data, int length) {
    std::uint16_t crc = 0;
    for (int i = 0; i < length; ++i) {
        crc ^= static_cast<std::uint16_t>(data[i] << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) != 0 ? static_cast<std::uint16_t>(crc << 1 ^ 0x1021)
                                      : static_cast<std::uint16_t>(crc << 1);
    }
    return static_cast<std::uint16_t>(~crc);
}
