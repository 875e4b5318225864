#pragma once

#include "modFileAccess.h"

// Standard input and output as files of modFileAccess, for images streamed
// through a pipe ("-"), switched to binary where the platform has text mode.
// The records are not to be closed.
FileHandleRecord StandardInput();
FileHandleRecord StandardOutput();
