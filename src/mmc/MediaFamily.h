#pragma once

#include <cstdint>
#include <string>

// The three families of disc a recorder handles: they differ in speed steps,
// in the Write Parameters page (CD and DVD-R/-RW only) and in how speeds are
// set (SET STREAMING on Blu-ray).
enum class MediaFamily : std::uint8_t { CD, DVD, BluRay };

namespace MediaFamilies {
// The family of media number `media` (GetMediaType): Blu-ray for BD-ROM,
// BD-R and BD-RE; CD for CD-ROM, CD-R, CD-RW and unknown media; DVD for the others.
MediaFamily OfMedia(std::int32_t media);
// The family of the disc in `drive`: Blu-ray by its profile; DVD when it
// answers the DVD physical format information (a DVD whose profile the
// drive names oddly is still a DVD); CD otherwise.
MediaFamily OfDisc(const std::string& drive);
// "CD", "DVD" or "BD".
const char* Name(MediaFamily family);
}  // namespace MediaFamilies
