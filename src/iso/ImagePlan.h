#pragma once

#include <cstdint>
#include <vector>

class clsISODirectory;
class clsISOFile;

// The layout of one build: the walks of the tree and the sectors of the
// tables, computed before anything is written.
struct ImagePlan {
    std::vector<clsISODirectory*> directories;  // tree order (depth first)
    std::vector<clsISODirectory*> tableOrder;   // path table order (level by level)
    std::vector<clsISOFile*> files;             // file-data order
    std::vector<bool> unavailable;              // per file: gone at layout, written as zeros
    std::int64_t tableBytes = 0, tableBytesJoliet = 0;      // T, TJ
    std::int32_t tableSectors = 0, tableSectorsJoliet = 0;  // s, sJ
    std::int32_t typeL = 0, typeM = 0, typeLJoliet = 0, typeMJoliet = 0;
    std::int32_t firstDirectorySector = 0;  // D
    std::int32_t volumeSpace = 0;           // sectors in the image
};
