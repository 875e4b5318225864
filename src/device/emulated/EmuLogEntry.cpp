#include "EmuLogEntry.h"

#include <cstdio>

std::string EmuLogEntry::Text() const {
    std::string text;
    char part[48];
    for (std::size_t i = 0; i < cdb.size(); ++i) {
        std::snprintf(part, sizeof part, i == 0 ? "%02X" : " %02X", cdb[i]);
        text += part;
    }
    std::snprintf(part, sizeof part, " %s %d -> %d [%02X/%02X/%02X]", direction == 0 ? "in" : "out",
                  bufferLen, status, key, asc, ascq);
    return text + part;
}
