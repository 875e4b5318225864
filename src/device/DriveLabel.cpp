#include "DriveLabel.h"

#include <algorithm>

#include "ScsiStatus.h"
#include "modMMCBasic.h"

namespace {
// The Windows transports name a drive by its letter, shown as a root folder
// ("D:\"); ":\" alone when the ASPI layer's drive has no letter.
std::string DeviceName(clsSCSI& transport, const std::string& id) {
    const std::string kind = transport.Interface();
    const std::string name = transport.DriveChar(id);
    return kind == "SPTI" || kind == "ASPI" ? name + ":\\" : name;
}
}  // namespace

std::optional<std::string> BuildDriveLabel(clsSCSI& transport, std::int16_t index) {
    const std::string id = transport.DriveHandle(index);
    modMMC::InquiryRecord record{};
    if (modMMC::Inquiry(id, record) != ScsiStatus::kGood) return std::nullopt;
    std::string label = DeviceName(transport, id) +
                        " HA:" + std::to_string(transport.HostAdapter(id)) +
                        " ID:" + std::to_string(transport.TargetID(id)) + " ";
    // Bytes 8-15 vendor, 16-31 product, 32-35 revision.
    label.append(reinterpret_cast<const char*>(record.data()) + 8, 28);
    label.erase(std::remove(label.begin(), label.end(), '\0'), label.end());
    return label;
}
