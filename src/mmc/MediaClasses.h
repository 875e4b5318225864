#pragma once

#include <cstdint>

// How media (numbered as GetMediaType numbers them) take a recording.
namespace MediaClasses {

// Discs that cannot be written twice: CD-R, DVD-R (DL), DVD+R (DL), BD-R, HD-DVD R (DL).
bool WriteOnce(std::int32_t media);
// Discs written in place, without tracks to close: DVD-RAM, DVD+RW (DL), BD-RE, HD-DVD RAM.
bool Overwritable(std::int32_t media);
// Discs whose recorders can simulate a recording (the test write of page
// 05h): CD-R, CD-RW, DVD-R and DVD-RW. Elsewhere the drive ignores the flag
// or refuses it, and a "test" would record for real.
bool HasTestWrite(std::int32_t media);

}  // namespace MediaClasses
