#pragma once

#include "modFileAccess.h"

// Waits at most `milliseconds` for `file` (a pipe, a terminal) to have bytes
// to read or to reach its end. True when a read would not wait. Where the
// platform cannot tell, true: the read then waits itself.
bool WaitReadable(const FileHandleRecord& file, int milliseconds);
