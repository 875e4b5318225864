#pragma once

#include "modFileAccess.h"

// A pipe within the program: the image builder writes into one end while the
// recording reads the other. False (nothing opened) when the system refuses.
bool OpenStreamPipe(FileHandleRecord& readEnd, FileHandleRecord& writeEnd);
