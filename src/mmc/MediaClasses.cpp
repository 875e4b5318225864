#include "MediaClasses.h"

#include "modMMC.h"

namespace MediaClasses {

using namespace modMMC::Media;

bool WriteOnce(std::int32_t media) {
    return media == kCDR || media == kDVDR || media == kDVDRDL || media == kDVDPlusR ||
           media == kDVDPlusRDL || media == kBDR || media == kHDDVDR || media == kHDDVDRDL;
}

bool Overwritable(std::int32_t media) {
    return media == kDVDRAM || media == kDVDPlusRW || media == kDVDPlusRWDL || media == kBDRE ||
           media == kHDDVDRAM;
}

bool HasTestWrite(std::int32_t media) {
    return media == kCDR || media == kCDRW || (media >= kDVDR && media <= kDVDRWDL);
}

}  // namespace MediaClasses
