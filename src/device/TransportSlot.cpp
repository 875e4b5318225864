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

std::string FormatTraceEntry(const CommandTraceEntry& entry) {
    char tail[64];
    std::snprintf(tail, sizeof tail, " %s%d -> %d [%02X/%02X/%02X]",
                  entry.direction == 0 ? "in " : "out ", entry.bufferLen, entry.status, entry.key,
                  entry.asc, entry.ascq);
    return entry.cdbHex + tail;
}
