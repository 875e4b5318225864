#include "SizeText.h"

#include <cstdio>

namespace {
constexpr std::int64_t kKilo = 1024;
constexpr std::int64_t kMega = kKilo * 1024;
constexpr std::int64_t kGiga = kMega * 1024;

// bytes / unit in hundredths, halves away from zero, without overflow.
std::int64_t Hundredths(std::int64_t bytes, std::int64_t unit) {
    return bytes / unit * 100 + ((bytes % unit) * 100 + unit / 2) / unit;
}

std::string WithDecimals(std::int64_t bytes, std::int64_t unit, const char* suffix) {
    const std::int64_t hundredths = Hundredths(bytes, unit);
    char text[40];
    std::snprintf(text, sizeof text, "%lld.%02lld%s", static_cast<long long>(hundredths / 100),
                  static_cast<long long>(hundredths % 100), suffix);
    return text;
}
}  // namespace

std::string SizeText(std::int64_t bytes) {
    if (bytes < 0) return {};
    if (bytes < kKilo) return std::to_string(bytes) + " bytes";
    if (bytes < kMega) return std::to_string((bytes + kKilo / 2) / kKilo) + " KB";
    if (bytes < kGiga) return WithDecimals(bytes, kMega, " MB");
    return WithDecimals(bytes, kGiga, " GB");
}
