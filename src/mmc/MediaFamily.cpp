#include "MediaFamily.h"

#include "modMMC.h"

namespace MediaFamilies {

MediaFamily OfMedia(std::int32_t media) {
    using namespace modMMC::Media;
    if (media >= kBDROM && media <= kBDRE) return MediaFamily::BluRay;
    return media <= kCDRW || media == kUnknown ? MediaFamily::CD : MediaFamily::DVD;
}

MediaFamily OfDisc(const std::string& drive) {
    if (modMMC::IsDVDMedia(drive)) return MediaFamily::DVD;
    return OfMedia(modMMC::GetMediaType(drive)) == MediaFamily::BluRay ? MediaFamily::BluRay
                                                                       : MediaFamily::CD;
}

const char* Name(MediaFamily family) {
    switch (family) {
        case MediaFamily::CD:
            return "CD";
        case MediaFamily::DVD:
            return "DVD";
        case MediaFamily::BluRay:
            return "BD";
    }
    return "CD";
}

}  // namespace MediaFamilies
