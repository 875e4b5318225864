#include "UnderrunProtection.h"

#include <array>
#include <cstdint>

#include "ScsiStatus.h"
#include "modMMC.h"

namespace {
constexpr std::uint8_t kCapabilitiesPage = 0x2A;
constexpr std::size_t kModeHeader = 8;
constexpr int kPageBufBit = 7;  // page byte 4
constexpr std::size_t kFeatureHeader = 8;
constexpr int kFeatureBufBit = 6;  // feature byte 4
constexpr std::uint8_t kWriteFeatures[] = {0x2D, 0x2E, 0x2F};
constexpr std::uint8_t kOnlyTheNamedFeature = 2;

bool PageOffersIt(const std::string& drive) {
    std::array<std::uint8_t, 16> reply{};
    return modMMC::ModeSense10(drive, kCapabilitiesPage, reply.data(), reply.size()) ==
               ScsiStatus::kGood &&
           (reply[kModeHeader] & 0x3F) == kCapabilitiesPage &&
           modMMC::BitSet(reply[kModeHeader + 4], kPageBufBit);
}

bool FeatureOffersIt(const std::string& drive, std::uint8_t feature) {
    std::array<std::uint8_t, 16> reply{};
    if (!modMMC::GetConfiguration(drive, feature, kOnlyTheNamedFeature, reply.data(), reply.size()))
        return false;
    const std::uint8_t* descriptor = reply.data() + kFeatureHeader;
    const bool current = modMMC::BitSet(descriptor[2], 0);
    return descriptor[0] == 0 && descriptor[1] == feature && current &&
           modMMC::BitSet(descriptor[4], kFeatureBufBit);
}
}  // namespace

bool HasUnderrunProtection(const std::string& drive) {
    if (PageOffersIt(drive)) return true;
    for (const std::uint8_t feature : kWriteFeatures)
        if (FeatureOffersIt(drive, feature)) return true;
    return false;
}
