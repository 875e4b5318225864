#pragma once

#include <string>

// Ctrl-C (SIGINT) and SIGTERM during a long command: the first one asks the
// running engine to stop at its next safe point (the reporter's
// CancelRequested turns true); the command then ends with CliExit::kStopped.
// Further signals are ignored until then, so the stop stays safe.
// A closed terminal (SIGHUP; on Windows the console's close event) stops the
// same way until the first command that changes the disc is sent (see
// modMMC::DiscChangeStarted), so also in commands that change no disc; once
// a recording or erase has started, the job finishes and the command exits
// with its own status, since stopping would ruin a write-once disc.
void CatchStopSignals();
// The line written when a stop signal arrives, in the user's language; made
// before the handlers are installed, which only write it.
const std::string& StopNote();
// True once a stop signal arrived (a hang-up only before the disc changed).
bool StopSignalled();
// The command is done: on Windows a console being closed may end the program
// now (until then its close event waits for the job).
void JobEnded();
// A reader that went away (a closed pipe, a pager that was quit) never ends
// the program: writes to it fail and the messages are lost, the job goes on.
void IgnoreBrokenPipes();
