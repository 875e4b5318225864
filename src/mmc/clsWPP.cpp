#include "clsWPP.h"

#include <algorithm>
#include <cstring>

#include "ScsiStatus.h"
#include "modMMC.h"

namespace {
constexpr std::uint8_t kPageWriteParameters = 0x05;
// Bytes of the longest page the fields reach (page length 36h).
constexpr int kLongestPage = 56;

bool IsPageCode(std::uint8_t byte) {
    return (byte & 0x3F) == kPageWriteParameters;
}
std::uint8_t Bit(bool value, std::uint8_t mask) {
    return value ? mask : 0;
}
}  // namespace

bool clsWPP::GetData(const std::string& drive) {
    m_buffer.fill(0);
    m_located = false;
    if (modMMC::ModeSenseDefault(drive, kPageWriteParameters, m_buffer.data(), kBufferSize) !=
        ScsiStatus::kGood) {
        return false;
    }
    m_pageSize = (m_buffer[0] << 8 | m_buffer[1]) + 2;  // mode data length + 2
    // The reply is sent back whole with MODE SELECT, so it must fit the buffer.
    if (m_pageSize > kBufferSize) return false;
    m_located = Locate();
    return m_located;
}

bool clsWPP::Locate() {
    // Quick check: a page that ends 55 bytes after p.
    const std::int32_t p = m_pageSize - 55;
    if (p >= 0 && p < kBufferSize && IsPageCode(m_buffer[p]) && PageFits(m_pageSize - 56)) {
        m_headerSize = m_pageSize - 56;
        m_dataSize = 56;
        return true;
    }
    // Scan for the page code followed by one of the two page lengths.
    for (std::int32_t i = 3; i <= 510; ++i) {
        if (!IsPageCode(m_buffer[i]) || (m_buffer[i + 1] != 0x32 && m_buffer[i + 1] != 0x36)) {
            continue;
        }
        if (!PageFits(i - 1)) return false;
        m_headerSize = i - 1;
        m_dataSize = m_pageSize - m_headerSize + 1;
        return true;
    }
    return false;
}

// Every field SendData writes lies inside the buffer, and the page as its
// length byte gives it lies inside the reply.
bool clsWPP::PageFits(std::int32_t headerSize) const {
    const std::int32_t page = headerSize + 1;
    if (page < 0 || page + kLongestPage > kBufferSize) return false;
    return page + m_buffer[page + 1] + 2 <= m_pageSize;
}

void clsWPP::EncodeFields() {
    std::uint8_t* page = m_buffer.data() + PageOffset();
    page[2] = Bit(m_burnProof, 0x40) | Bit(m_linkSizeValid, 0x20) | Bit(m_testMode, 0x10) |
              (m_writeType & 0x0F);
    page[3] = static_cast<std::uint8_t>((m_multisession & 0x03) << 6) | Bit(m_fixedPacket, 0x20) |
              Bit(m_copy, 0x10) | (m_trackMode & 0x0F);
    page[4] = m_dataBlockType & 0x0F;
    page[5] = m_linkSize;
    page[7] = m_applicationCode;
    page[8] = m_sessionFormat;
    std::memcpy(page + 10, &m_packetSize, 4);  // memory order, as the field always was
    page[14] = modMMC::HiByte(static_cast<std::uint16_t>(m_audioPauseLength));
    page[15] = modMMC::LoByte(static_cast<std::uint16_t>(m_audioPauseLength));
    std::copy(m_catalogue.begin(), m_catalogue.end(), page + 16);
    std::copy(m_isrc.begin(), m_isrc.end(), page + 32);
    std::copy(m_vendorA.begin(), m_vendorA.end(), page + 48);
    std::copy(m_vendorB.begin(), m_vendorB.end(), page + 52);
}

bool clsWPP::SendData(const std::string& drive) {
    if (!m_located) return false;
    EncodeFields();
    // MODE SELECT reserves the mode data length and the PS bit; strict drives
    // refuse the values MODE SENSE filled in.
    m_buffer[0] = 0;
    m_buffer[1] = 0;
    m_buffer[PageOffset()] &= 0x7F;
    return modMMC::ModeSelect10(drive, m_buffer.data(), static_cast<std::uint16_t>(m_pageSize)) ==
           ScsiStatus::kGood;
}

void clsWPP::ExtractData() {
    const std::uint8_t* page = m_buffer.data() + PageOffset();
    m_burnProof = modMMC::BitSet(page[2], 6);
    m_linkSizeValid = modMMC::BitSet(page[2], 5);
    m_testMode = modMMC::BitSet(page[2], 4);
    m_writeType = page[2] & 0x0F;
    m_multisession = static_cast<std::uint8_t>(page[3] >> 6);
    m_fixedPacket = modMMC::BitSet(page[3], 5);
    m_copy = modMMC::BitSet(page[3], 4);
    m_trackMode = page[3] & 0x0F;
    m_dataBlockType = page[4] & 0x0F;
    m_linkSize = page[5];
    m_applicationCode = page[7] & 0x3F;
    m_sessionFormat = page[8];
    std::memcpy(&m_packetSize, page + 10, 4);
    m_audioPauseLength = modMMC::MakeWord(page[14], page[15]);
    std::copy(page + 16, page + 31, m_catalogue.begin());
    std::copy(page + 32, page + 48, m_isrc.begin());
    std::copy(page + 48, page + 52, m_vendorA.begin());
    std::copy(page + 52, page + 56, m_vendorB.begin());
}
