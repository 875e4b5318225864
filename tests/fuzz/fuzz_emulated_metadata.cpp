// libFuzzer target: the virtual drive's metadata parser. Any text either is
// refused with a reason or describes a layout that formats back to text
// which parses to the same layout (so a saved drive always reopens).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "EmuMetadata.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    EmuMetadata parsed;
    if (!EmuMetadata::Parse(text, parsed).empty()) return 0;
    const std::string formatted = parsed.Format();
    EmuMetadata again;
    if (!EmuMetadata::Parse(formatted, again).empty() || again.Format() != formatted) std::abort();
    // The derived values must stay inside the medium for every accepted layout.
    const EmuMedia& media = again.media;
    const std::int64_t next = media.NextWritableAddress();
    if (next >= media.capacity || media.LastAddressableLba() > media.capacity) std::abort();
    return 0;
}
