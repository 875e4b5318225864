#pragma once

#include <functional>
#include <memory>
#include <string>

#include "clsSCSI.h"

// The program-wide transport slot: the one transport of the run, set at
// start-up (or by a test) and reached by the command operations only.
clsSCSI* Transport();
void SetTransport(std::unique_ptr<clsSCSI> transport);
std::unique_ptr<clsSCSI> TakeTransport();

// One entry of the optional command trace.
struct CommandTraceEntry {
    std::string drive;
    std::string cdbHex;
    std::int32_t direction = 0;
    std::int32_t bufferLen = 0;
    std::int32_t status = 0;
    std::uint8_t key = 0, asc = 0, ascq = 0;
    std::string dataOutHex;  // a short parameter list sent with the command, when given
};

// Installs (or, with an empty function, removes) the command trace that every
// command operation reports to after its command returned.
void SetCommandTrace(std::function<void(const CommandTraceEntry&)> trace);
// CDB bytes as the trace shows them: "28 00 00 00 00 10 00 00 01 00".
std::string CdbText(const std::uint8_t* cdb, std::size_t length);
// Formats an entry as one line: "55 10 ... out 60 -> 2 [05/26/00] < 00 00 ...".
std::string FormatTraceEntry(const CommandTraceEntry& entry);
const std::function<void(const CommandTraceEntry&)>& CommandTrace();
