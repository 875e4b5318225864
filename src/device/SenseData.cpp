#include "SenseData.h"

SenseFields DecodeSense(const std::uint8_t* sense, std::size_t length) {
    SenseFields fields;
    if (sense == nullptr || length < 1) {
        return fields;
    }
    const std::uint8_t responseCode = sense[0] & 0x7F;
    if (responseCode == 0x72 || responseCode == 0x73) {
        // Descriptor format (SPC-4 4.5.2): key, ASC, ASCQ in bytes 1 to 3.
        if (length > 1) fields.key = sense[1] & 0x0F;
        if (length > 2) fields.asc = sense[2];
        if (length > 3) fields.ascq = sense[3];
        return fields;
    }
    if (responseCode == 0x70 || responseCode == 0x71) {
        // Fixed format (SPC-4 4.5.3): key in byte 2, ASC byte 12, ASCQ byte 13.
        if (length > 2) fields.key = sense[2] & 0x0F;
        if (length > 12) fields.asc = sense[12];
        if (length > 13) fields.ascq = sense[13];
    }
    return fields;
}
