#pragma once

#include <cstdint>
#include <string>

// What the drive's answer to a failed command says happened, so that a
// message names it once the retry rule has given up.
enum class DriveFailure {
    Slow,           // BUSY, "long write in progress" or no sense: the drive was only slow
    MediumRemoved,  // 02/3A: no medium in the drive
    MediumChanged,  // 06/28: a medium was put in (or changed) since the last command
    OutOfRange,     // 05/21: the address lies beyond the end of the disc
    NotReady,       // any other NOT READY sense
    MediumError,    // sense key 3: write error, unrecovered read error ...
    IllegalMode,    // 05/64: the track cannot be read or written this way (audio as data)
    Other,          // anything else, named by its sense
};

// The failure a command's `status` and the transport's sense data stand for.
DriveFailure ClassifyFailure(std::int32_t status);
// The sense of that failure as text ("05/21/00"), or the status when there is
// none ("status 255"), for the end of a message.
std::string FailureCode(std::int32_t status);

// The line of a failure message that names the drive's cause: its sense in
// words and as text ("光碟机报告的原因：写入错误（03/0C/00）。"). Reads the
// transport's sense, so it is called before any further command.
std::string FailureCause(std::int32_t status);

// The message of a WRITE (`write`) or READ the retry rule gave up on, whose
// last answer was `status`: `slowText` when the drive was only slow,
// `mediumErrorText` for a medium error, else the failure's own message; all
// but the slow one end with the sense ("... (05/21/00)").
std::string FailureText(std::int32_t status, bool write, const std::string& slowText,
                        const std::string& mediumErrorText);
// The message of a WRITE that ended a recording: after a write error
// (`writeError`, fatal at once) `writeErrorText`, after a drive that was
// only slow `slowText`, each followed by the drive's cause (FailureCause) on
// a line of its own; any other failure names itself (FailureText).
std::string WriteFailureText(std::int32_t status, bool writeError, const std::string& slowText,
                             const std::string& writeErrorText);
