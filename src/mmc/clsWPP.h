#pragma once

#include <array>
#include <cstdint>
#include <string>

// The Write Parameters mode page (05h): read from the drive's default values,
// edited through the properties, and sent back with MODE SELECT. One object
// per use: GetData, set the properties, SendData.
class clsWPP {
  public:
    static constexpr int kBufferSize = 512;

    // Write type (0 packet, 1 track at once, 2 session at once, 3 raw); low 4 bits sent.
    void SetcWriteType(std::int32_t value) { m_writeType = static_cast<std::uint8_t>(value); }
    std::uint8_t cWriteType() const { return m_writeType; }
    void SetTestMode(bool value) { m_testMode = value; }
    bool TestMode() const { return m_testMode; }
    void SetLinkSizeValid(bool value) { m_linkSizeValid = value; }
    bool LinkSizeValid() const { return m_linkSizeValid; }
    // Buffer underrun protection (BUFE).
    void SetBURNProof(bool value) { m_burnProof = value; }
    bool BURNProof() const { return m_burnProof; }
    // Track mode (CONTROL nibble); low 4 bits sent.
    void SetTrackMode(std::uint8_t value) { m_trackMode = value; }
    std::uint8_t TrackMode() const { return m_trackMode; }
    void SetCopy(bool value) { m_copy = value; }
    bool Copy() const { return m_copy; }
    void SetFixedPacket(bool value) { m_fixedPacket = value; }
    bool FixedPacket() const { return m_fixedPacket; }
    // Multi-session field 0..3 (3 = next session allowed); low 2 bits sent.
    void SetMultisession(std::uint8_t value) { m_multisession = value; }
    std::uint8_t Multisession() const { return m_multisession; }
    // Data block type (8 = Mode 1, 2048 bytes; 0 = raw 2352 bytes); low 4 bits sent.
    void SetDataBlockType(std::int32_t value) {
        m_dataBlockType = static_cast<std::uint8_t>(value);
    }
    std::uint8_t DataBlockType() const { return m_dataBlockType; }
    void SetLinkSize(std::uint8_t value) { m_linkSize = value; }
    std::uint8_t LinkSize() const { return m_linkSize; }
    void SetApplicationCode(std::uint8_t value) { m_applicationCode = value; }
    std::uint8_t ApplicationCode() const { return m_applicationCode; }
    void SetSessionFormat(std::int32_t value) {
        m_sessionFormat = static_cast<std::uint8_t>(value);
    }
    std::uint8_t SessionFormat() const { return m_sessionFormat; }
    // Packet size; its four page bytes are the value's bytes in memory order.
    void SetPacketSize(std::int32_t value) { m_packetSize = value; }
    std::int32_t PacketSize() const { return m_packetSize; }
    // Audio pause length in blocks, big-endian on the page.
    void SetAudioPauseLength(std::int16_t value) { m_audioPauseLength = value; }
    std::int16_t AudioPauseLength() const { return m_audioPauseLength; }

    // Size of the located page as GetData computed it (informative only).
    std::int32_t DataSize() const { return m_dataSize; }
    // One less than the buffer offset of the page code byte.
    std::int32_t HeaderSize() const { return m_headerSize; }
    // Bytes of the reply: its mode data length + 2.
    std::int32_t PageSize() const { return m_pageSize; }

    // Fields no caller sets, kept so ExtractData and SendData stay inverse.
    const std::array<std::uint8_t, 15>& CatalogueNumber() const { return m_catalogue; }
    const std::array<std::uint8_t, 16>& ISRC() const { return m_isrc; }

    // Reads the page's default values and locates it. False when the drive
    // refuses, or the reply is too long or has no well-placed page 05h.
    [[nodiscard]] bool GetData(const std::string& drive);
    // Writes every field from this object into the page and sends the reply
    // back with MODE SELECT (mode data length and PS bit zeroed, as MODE
    // SELECT requires). True when the drive accepts it.
    [[nodiscard]] bool SendData(const std::string& drive);
    // Reads every property back from the located page (inverse of SendData).
    void ExtractData();

  private:
    bool Locate();
    bool PageFits(std::int32_t headerSize) const;
    void EncodeFields();
    int PageOffset() const { return m_headerSize + 1; }

    std::array<std::uint8_t, kBufferSize> m_buffer{};
    std::int32_t m_pageSize = 0;
    std::int32_t m_headerSize = 0;
    std::int32_t m_dataSize = 0;
    bool m_located = false;
    std::array<std::uint8_t, 15> m_catalogue{};
    std::array<std::uint8_t, 16> m_isrc{};
    std::array<std::uint8_t, 4> m_vendorA{};
    std::array<std::uint8_t, 4> m_vendorB{};

    bool m_burnProof = false;
    bool m_linkSizeValid = false;
    bool m_testMode = false;
    std::uint8_t m_writeType = 0;
    std::uint8_t m_multisession = 0;
    bool m_fixedPacket = false;
    bool m_copy = false;
    std::uint8_t m_trackMode = 0;
    std::uint8_t m_dataBlockType = 0;
    std::uint8_t m_linkSize = 0;
    std::uint8_t m_applicationCode = 0;
    std::uint8_t m_sessionFormat = 0;
    std::int32_t m_packetSize = 0;
    std::int16_t m_audioPauseLength = 0;
};
