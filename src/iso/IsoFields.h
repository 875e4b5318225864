#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "LocalDateTime.h"

// Byte-level field writers of ECMA-119 descriptors and records, and the
// character filters of the volume texts.
namespace IsoFields {

// Both-endian numbers (ECMA-119 7.2.3, 7.3.3): little-endian, then big-endian.
void PutBothEndian16(std::span<std::uint8_t> at, std::uint16_t value);
void PutBothEndian32(std::span<std::uint8_t> at, std::uint32_t value);
void PutLittleEndian16(std::span<std::uint8_t> at, std::uint16_t value);
void PutLittleEndian32(std::span<std::uint8_t> at, std::uint32_t value);
void PutBigEndian16(std::span<std::uint8_t> at, std::uint16_t value);
void PutBigEndian32(std::span<std::uint8_t> at, std::uint32_t value);

// A field of the width of `at`: spaces, with the text (ASCII) copied over its start.
void PutIsoText(std::span<std::uint8_t> at, std::string_view text);
// The Joliet form of a UTF-8 text: UCS-2 big-endian, space padded, the field's last byte 00h.
void PutJolietText(std::span<std::uint8_t> at, std::string_view text);
// The Joliet volume identifier: as PutJolietText, with one 00h byte put
// after the text before the padding.
void PutJolietVolumeId(std::span<std::uint8_t> at, std::string_view text);
// 7-byte recording date (9.1.5); seven 00h outside 1900..2155.
void PutRecordingDate(std::span<std::uint8_t> at, const LocalDateTime& date);
// 17-byte volume date (8.4.26.1); "0000000000000000" + 00h for the zero date.
void PutVolumeDate(std::span<std::uint8_t> at, const LocalDateTime& date);

// d-characters: spaces to "_", upper case, then A-Z 0-9 . _ kept, others "_".
std::string DFilter(std::string_view text);
// a-characters: A-Z a-z 0-9 space ! " & ' ( ) * + , - . / : ; < = > ? _ kept, others "_".
std::string AFilter(std::string_view text);

}  // namespace IsoFields
