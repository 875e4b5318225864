#include "TransportSlot.h"

#include <cstdio>

namespace {
std::unique_ptr<clsSCSI>& Slot() {
    static std::unique_ptr<clsSCSI> slot;
    return slot;
}
std::function<void(const CommandTraceEntry&)>& TraceSlot() {
    static std::function<void(const CommandTraceEntry&)> trace;
    return trace;
}
}  // namespace

clsSCSI* Transport() {
    return Slot().get();
}

void SetTransport(std::unique_ptr<clsSCSI> transport) {
    Slot() = std::move(transport);
}

std::unique_ptr<clsSCSI> TakeTransport() {
    return std::move(Slot());
}

void SetCommandTrace(std::function<void(const CommandTraceEntry&)> trace) {
    TraceSlot() = std::move(trace);
}

const std::function<void(const CommandTraceEntry&)>& CommandTrace() {
    return TraceSlot();
}

std::string CdbText(const std::uint8_t* cdb, std::size_t length) {
    std::string text;
    char byte[4];
    for (std::size_t i = 0; i < length; ++i) {
        std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", cdb[i]);
        text += byte;
    }
    return text;
}

std::string FormatTraceEntry(const CommandTraceEntry& entry) {
    char tail[64];
    std::snprintf(tail, sizeof tail, " %s%d -> %d [%02X/%02X/%02X]",
                  entry.direction == 0 ? "in " : "out ", entry.bufferLen, entry.status, entry.key,
                  entry.asc, entry.ascq);
    return entry.cdbHex + tail + (entry.dataOutHex.empty() ? "" : " < " + entry.dataOutHex);
}
