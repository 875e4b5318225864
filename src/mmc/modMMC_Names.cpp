// Display names of media numbers and disc states, and the profile table.
#include <array>
#include <utility>

#include "modMMC.h"

namespace modMMC {

namespace {
// Media names by media number 0..21; number 22 and any other is "unknown".
constexpr std::array<const char*, 22> kMediaNames = {
    "CD-ROM",     "CD-R",      "CD-RW",       "DVD-ROM",     "DVD-R",      "DVD-R DL",
    "DVD-RW",     "DVD-RW DL", "DVD-RAM",     "DVD+R",       "DVD+R DL",   "DVD+RW",
    "DVD+RW DL",  "BD-ROM",    "BD-R",        "BD-RE",       "HD-DVD ROM", "HD-DVD R",
    "HD-DVD RAM", "HD-DVD RW", "HD-DVD R DL", "HD-DVD RW DL"};

constexpr std::array<const char*, 5> kStatusNames = {"Empty", "unComplete", "Damaged", "Complete",
                                                     "unKnown"};

// MMC current profile -> media number; any other profile, 0000h (no medium)
// included, is unknown.
constexpr std::array<std::pair<std::uint16_t, std::int32_t>, 25> kProfiles = {{
    {0x0008, 0},  {0x0009, 1},  {0x000A, 2},  {0x0010, 3},  {0x0011, 4},
    {0x0012, 8},  {0x0013, 6},  {0x0014, 6},  {0x0015, 5},  {0x0016, 5},
    {0x0017, 7},  {0x001A, 11}, {0x001B, 9},  {0x002A, 12}, {0x002B, 10},
    {0x0040, 13}, {0x0041, 14}, {0x0042, 14}, {0x0043, 15}, {0x0050, 16},
    {0x0051, 17}, {0x0052, 18}, {0x0053, 19}, {0x0058, 20}, {0x005A, 21},
}};
}  // namespace

std::string DiscStatusName(std::int32_t status) {
    if (status < 0 || status >= static_cast<std::int32_t>(kStatusNames.size())) return {};
    return kStatusNames[static_cast<std::size_t>(status)];
}

std::string MediaName(std::int32_t mediaNumber) {
    if (mediaNumber < 0 || mediaNumber >= static_cast<std::int32_t>(kMediaNames.size())) {
        return "unknown";
    }
    return kMediaNames[static_cast<std::size_t>(mediaNumber)];
}

std::int32_t MediaNumberOfProfile(std::uint16_t profile) {
    for (const auto& [code, media] : kProfiles)
        if (code == profile) return media;
    return Media::kUnknown;
}

}  // namespace modMMC
