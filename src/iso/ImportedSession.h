#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "LocalDateTime.h"

// One entry of a session read back from a disc: a directory with its
// entries, or a file with the extent its data occupies. Names are UTF-8.
struct ImportedEntry {
    std::string name;
    bool directory = false;
    std::int32_t lba = 0;   // first sector of the data (files; 0 for an empty file)
    std::int64_t size = 0;  // bytes (files)
    LocalDateTime date;
    std::vector<ImportedEntry> children;  // directories: in the order the disc lists them
};

// An entry the import left out, and why (symbolic link, device file, no
// readable extent ...). Paths are shown with "/".
struct LeftOutEntry {
    std::string path;
    std::string reason;
};

// What the import of a disc's last session found.
struct ImportedSession {
    ImportedEntry root;                 // directory named ""
    std::string volumeId;               // Joliet label when the session has one
    std::int32_t volumeSpace = 0;       // sectors from LBA 0 to the end of the session
    std::string namesFrom;              // "Joliet", "Rock Ridge" or "ISO 9660"
    std::vector<LeftOutEntry> leftOut;  // entries not carried into a new session
    std::string refusal;                // why the session cannot be continued; empty when it can
};
