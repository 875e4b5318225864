#pragma once

#include <cstdint>
#include <string>

// What an image file holds at sector 16, where every disc file system keeps
// its volume descriptors. A file with none of them (a song, an archive, a
// disk image of another kind) makes a disc nobody can read, so recording it
// is refused by `maple-cli burn` unless --raw, and the record-image window
// asks first.
enum class ImageContent {
    Iso9660,     // "CD001": an ISO 9660 volume (with or without Joliet or UDF)
    Udf,         // "BEA01", "NSR02" or "NSR03": a UDF volume recognition sequence
    NotAnImage,  // none of the above, or the file ends before sector 16
    Unreadable,  // the file cannot be opened or read
};

ImageContent ExamineImage(const std::string& path);

// The 2048-byte blocks the image file at `path` declares (see
// DeclaredVolumeBlocks): 0 when it holds no ISO 9660 volume or cannot be read.
std::int64_t DeclaredImageBlocks(const std::string& path);
// Why the image at `path` must not be recorded as it is: it is shorter than
// the volume it declares (a broken download), which would make a disc that
// cannot be read to its end. Empty when it is not.
std::string CutImageProblem(const std::string& path);
