#pragma once

#include <string>

// What the drive's capabilities page says about recording.
struct WriteCapabilities {
    bool sensed = false;    // the page could be read
    bool canWrite = true;   // CD-R write bit; true when the page could not be read
    bool testWrite = true;  // test write bit; true when the page could not be read
};

// Reads the default values of the capabilities page (2Ah, 37 bytes). A drive
// that does not answer is taken as able to record, so a missing page never
// locks the user out.
WriteCapabilities ReadWriteCapabilities(const std::string& drive);
