#include "EmuFaultLines.h"

#include <charconv>
#include <cstdio>

namespace EmuFaultLines {

namespace {
// Whole numbers only: "12" but not "12x" or "-1" where a count is meant.
bool Number(const std::string& word, std::int64_t& value, int base = 10) {
    const char* end = word.data() + word.size();
    const auto result = std::from_chars(word.data(), end, value, base);
    return !word.empty() && result.ec == std::errc() && result.ptr == end && value >= 0;
}

bool Count(const std::string& word, int& value) {
    std::int64_t number = 0;
    if (!Number(word, number) || number > 1000000000) return false;
    value = static_cast<int>(number);
    return true;
}

bool Byte(const std::string& word, std::uint8_t& value) {
    std::int64_t number = 0;
    if (!Number(word, number, 16) || number > 0xFF) return false;
    value = static_cast<std::uint8_t>(number);
    return true;
}

// "fail OP skip N count N sense KK AA QQ"
std::string ParseFailure(const std::vector<std::string>& words, EmuFaults& faults) {
    EmuFaults::CommandFailure failure;
    const bool ok = words.size() == 10 && Byte(words[1], failure.opcode) && words[2] == "skip" &&
                    Count(words[3], failure.skip) && words[4] == "count" &&
                    Count(words[5], failure.count) && words[6] == "sense" &&
                    Byte(words[7], failure.key) && Byte(words[8], failure.asc) &&
                    Byte(words[9], failure.ascq);
    if (!ok) return "expected 'fault fail OP skip N count N sense KK AA QQ' (hex OP and sense)";
    faults.failures.push_back(failure);
    return {};
}

std::string ParseValue(const std::vector<std::string>& words, EmuFaults& faults) {
    const std::string& name = words[0];
    std::int64_t number = 0, last = 0;
    int count = 0;
    const std::pair<const char*, int*> counters[] = {{"not-ready", &faults.notReadyCommands},
                                                     {"busy", &faults.busyCommands},
                                                     {"long-write", &faults.longWriteWrites}};
    for (const auto& [counter, field] : counters) {
        if (name != counter) continue;
        if (words.size() != 2 || !Count(words[1], *field)) break;
        return {};
    }
    if (name == "remove-medium-after-writes" && words.size() == 2 && Count(words[1], count)) {
        faults.removeMediumAfterWrites = count;
        return {};
    }
    if (name == "underrun" && words.size() == 2 && Count(words[1], count) && count > 0) {
        faults.underrunBeforeWrite = count;
        return {};
    }
    if (name == "write-error" && words.size() == 2 && Number(words[1], number)) {
        faults.writeErrorLba = number;
        return {};
    }
    if (name == "corrupt" && words.size() == 2 && Number(words[1], number)) {
        faults.corruptBlocks.push_back(number);
        return {};
    }
    if (name == "unreadable" && words.size() == 3 && Number(words[1], number) &&
        Number(words[2], last) && last >= number) {
        faults.unreadable.push_back({number, last});
        return {};
    }
    if (name == "set-cd-speed" && words.size() == 2 &&
        (words[1] == "ignore" || words[1] == "reject")) {
        faults.speedRequests = words[1] == "ignore" ? EmuFaults::SpeedRequests::Ignore
                                                    : EmuFaults::SpeedRequests::Reject;
        return {};
    }
    return "unknown or malformed fault '" + name + "'";
}
}  // namespace

std::string Parse(const std::vector<std::string>& words, EmuFaults& faults) {
    if (words.empty()) return "fault without a name";
    const std::pair<const char*, bool*> switches[] = {
        {"reject-get-configuration", &faults.rejectGetConfiguration},
        {"no-media-events", &faults.noMediaEvents},
        {"reject-default-mode-sense", &faults.rejectDefaultModeSense},
        {"reject-inquiry-control-bits", &faults.rejectInquiryControlBits},
        {"no-sub-channel", &faults.noSubChannel},
        {"no-rw-sub-channel", &faults.noRwSubChannel},
        {"corrupt-cd-text", &faults.corruptCdText},
        {"no-underrun-protection", &faults.noUnderrunProtection}};
    for (const auto& [name, field] : switches) {
        if (words[0] != name || words.size() != 1) continue;
        *field = true;
        return {};
    }
    if (words[0] == "fail") return ParseFailure(words, faults);
    return ParseValue(words, faults);
}

std::string Format(const EmuFaults& faults) {
    std::string text;
    auto line = [&text](const std::string& words) { text += "fault " + words + "\n"; };
    if (faults.notReadyCommands > 0) line("not-ready " + std::to_string(faults.notReadyCommands));
    if (faults.busyCommands > 0) line("busy " + std::to_string(faults.busyCommands));
    if (faults.longWriteWrites > 0) line("long-write " + std::to_string(faults.longWriteWrites));
    if (faults.writeErrorLba) line("write-error " + std::to_string(*faults.writeErrorLba));
    for (const std::int64_t lba : faults.corruptBlocks) line("corrupt " + std::to_string(lba));
    for (const auto& range : faults.unreadable)
        line("unreadable " + std::to_string(range.first) + " " + std::to_string(range.last));
    if (faults.rejectGetConfiguration) line("reject-get-configuration");
    if (faults.noMediaEvents) line("no-media-events");
    if (faults.rejectDefaultModeSense) line("reject-default-mode-sense");
    if (faults.rejectInquiryControlBits) line("reject-inquiry-control-bits");
    if (faults.noSubChannel) line("no-sub-channel");
    if (faults.noRwSubChannel) line("no-rw-sub-channel");
    if (faults.corruptCdText) line("corrupt-cd-text");
    if (faults.noUnderrunProtection) line("no-underrun-protection");
    if (faults.underrunBeforeWrite) line("underrun " + std::to_string(*faults.underrunBeforeWrite));
    if (faults.speedRequests != EmuFaults::SpeedRequests::Honour)
        line(std::string("set-cd-speed ") +
             (faults.speedRequests == EmuFaults::SpeedRequests::Ignore ? "ignore" : "reject"));
    if (faults.removeMediumAfterWrites)
        line("remove-medium-after-writes " + std::to_string(*faults.removeMediumAfterWrites));
    for (const auto& failure : faults.failures) {
        if (failure.count <= 0) continue;  // used up
        char words[96];
        std::snprintf(words, sizeof words, "fail %02X skip %d count %d sense %02X %02X %02X",
                      failure.opcode, failure.skip, failure.count, failure.key, failure.asc,
                      failure.ascq);
        line(words);
    }
    return text;
}

}  // namespace EmuFaultLines
