#pragma once

// Ctrl-C (SIGINT) and SIGTERM during a long command: the first one asks the
// running engine to stop at its next safe point (the reporter's
// CancelRequested turns true); the command then ends with CliExit::kStopped.
// Further signals are ignored until then, so the stop stays safe.
void CatchStopSignals();
// True once a stop signal arrived.
bool StopSignalled();
