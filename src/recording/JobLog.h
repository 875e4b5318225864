#pragma once

#include <cstddef>
#include <string>

// The log of the last job (a recording, copy or erase) for a bug report: the
// commands sent with the drive's answers and senses, and the job's phases and
// messages, one line each. Kept in memory while the job runs, at most
// kLargestLog bytes (later lines are counted, not kept), and written at its
// end over the previous job's log as LogPath(), through a fresh partial file
// that is renamed (never through a link). Jobs that overlap (two recorders)
// share one log. Safe to call from any thread.
namespace JobLog {

constexpr std::size_t kLargestLog = 4u << 20;

// "last-job.log" in the cache folder (TempFolder).
std::string LogPath();
// Starts the log of a job named `job` ("burn", "frmWriteISO" ...) unless one
// runs already; from here on every command is logged besides the trace that
// was installed before.
void Begin(const std::string& job);
// One line of the job: a phase, a message and its title.
void Note(const std::string& line);
// Ends a job; the last one to end writes the log and puts the earlier trace
// back. False when the log could not be written (nothing else depends on it).
bool End();

}  // namespace JobLog
