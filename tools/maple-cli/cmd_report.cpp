// maple-cli report: the drive's own answers, for a bug report about a real
// drive. The file holds the answers as the drive gave them (hexadecimal), so
// its lines are the same in every language.
#include <algorithm>
#include <cstdio>
#include <ostream>
#include <sstream>
#include <vector>

#include "CliCommand.h"
#include "CliDrive.h"
#include "CliTexts.h"
#include "DiscInfoView.h"
#include "DriveLabel.h"
#include "OutputFile.h"
#include "ScsiStatus.h"
#include "TransportSlot.h"
#include "modMMC.h"
#include "modMMCBasic.h"

namespace mfa = modFileAccess;

namespace {
constexpr std::uint16_t kLargestAnswer = 65532;  // GET CONFIGURATION's length field, 4-aligned

// Sixteen bytes a line, each line led by its offset.
void HexDump(std::ostream& out, const std::uint8_t* bytes, std::size_t length) {
    char text[24];
    for (std::size_t at = 0; at < length; ++at) {
        if (at % 16 == 0) {
            std::snprintf(text, sizeof text, "  %04zX:", at);
            out << (at > 0 ? "\n" : "") << text;
        }
        std::snprintf(text, sizeof text, " %02X", bytes[at]);
        out << text;
    }
    if (length > 0) out << "\n";
}

// How many bytes of an answer the drive filled: its own length field
// (`fieldBytes` wide, big-endian, at the start) plus the field, within `limit`.
std::size_t AnswerLength(const std::vector<std::uint8_t>& answer, int fieldBytes) {
    std::size_t length = 0;
    for (int i = 0; i < fieldBytes; ++i) length = (length << 8) | answer[i];
    return std::min(answer.size(), length + fieldBytes);
}

// A command's title and, when the drive answered, the `length` bytes it filled.
void Section(std::ostream& out, const std::string& title, bool answered, const std::uint8_t* answer,
             std::size_t length) {
    out << title << (answered ? "" : ": no answer") << "\n";
    if (answered) HexDump(out, answer, length);
}

// Where the drive stands after a command that got no answer: its sense.
std::string SenseText() {
    const clsSCSI& transport = *Transport();
    char text[32];
    std::snprintf(text, sizeof text, " [%02X/%02X/%02X]", transport.LastSK(), transport.LastASC(),
                  transport.LastASCQ());
    return text;
}

void WriteFacts(std::ostream& out, const std::string& drive, int index) {
    out << "MAPLE CD/DVD Writer " << MAPLE_VERSION << " drive report\n";
    const auto label = BuildDriveLabel(*Transport(), static_cast<std::int16_t>(index));
    out << "drive " << index << ": " << label.value_or("(no answer to INQUIRY)") << "\n";
    modMMC::InquiryRecord inquiry{};
    const bool inquired = modMMC::Inquiry(drive, inquiry) == ScsiStatus::kGood;
    Section(out, "INQUIRY" + (inquired ? "" : SenseText()), inquired, inquiry.data(),
            std::min<std::size_t>(inquiry.size(), inquiry[4] + 5u));
    std::vector<std::uint8_t> answer(kLargestAnswer);
    const bool configured = modMMC::GetConfiguration(drive, 0, 0, answer.data(), kLargestAnswer);
    Section(out, "GET CONFIGURATION (every feature)" + (configured ? "" : SenseText()), configured,
            answer.data(), AnswerLength(answer, 4));
    char profile[32] = "unknown";
    if (configured) std::snprintf(profile, sizeof profile, "%02X%02Xh", answer[6], answer[7]);
    for (const std::uint8_t page : {0x2A, 0x05}) {
        std::fill(answer.begin(), answer.end(), 0);
        const bool sensed =
            modMMC::ModeSense10(drive, page, answer.data(), 0xFFF0) == ScsiStatus::kGood;
        char title[48];
        std::snprintf(title, sizeof title, "MODE SENSE(10) page %02Xh, current values", page);
        Section(out, title + (sensed ? "" : SenseText()), sensed, answer.data(),
                AnswerLength(answer, 2));
    }
    const modMMC::DriveSpeeds speeds = modMMC::GetDriveSpeeds(drive);
    out << "speeds (kB/s): read " << speeds.CurrentReadSpeed << " of " << speeds.MaxReadSpeed
        << ", write " << speeds.CurrentWriteSpeed << " of " << speeds.MaxWriteSpeed << "\n";
    out << "medium: current profile " << profile;
    std::int32_t status = 0;
    const DiscInfoTexts disc = DiscInfoView::Named(modMMC::GetDiscStatus(drive, status));
    if (status == ScsiStatus::kGood)
        out << ", " << disc.discType << ", " << disc.sessions << " session(s), disc "
            << disc.discStatus << ", last session " << disc.lastSessionStatus << ", last block "
            << modMMC::ReadCapacity(drive) << "\n";
    else
        out << ", no disc information" << SenseText() << "\n";
}

int RunReport(CliContext& context) {
    CliArguments arguments(context.args);
    const std::vector<std::string> files = arguments.Positional();
    if (arguments.Error().empty() && files.size() != 1) {
        context.err << "maple-cli: " << Text(CliText::ReportNeedsFile) << "\n";
        return CliExit::kUsage;
    }
    if (!arguments.Error().empty()) {
        context.err << "maple-cli: " << arguments.Error() << "\n";
        return CliExit::kUsage;
    }
    const std::string drive = CliDrive(context);
    if (drive.empty()) return CliExit::kUsage;
    std::ostringstream facts;
    WriteFacts(facts, drive, context.driveIndex);
    // Never through a link: a fresh partial file beside the target, renamed.
    OutputFile out;
    const std::string text = facts.str();
    if (!out.Create(files[0]) ||
        mfa::FileWrite(out.File(), text.data(), static_cast<std::int64_t>(text.size())) !=
            static_cast<std::int64_t>(text.size()) ||
        !out.Commit()) {
        const std::string why = out.Error().empty() ? mfa::LastErrorText() : out.Error();
        out.Discard();
        context.err << "maple-cli: " << Text(CliText::ReportFailed, {files[0], why}) << "\n";
        return CliExit::kFailure;
    }
    context.out << Text(CliText::ReportWritten, {files[0]}) << "\n";
    return CliExit::kSuccess;
}

const CliRegistration report({"report", "maple-cli [--drive N] report FILE", CliText::SummaryReport,
                              &RunReport, true});
}  // namespace
