#pragma once

#include <istream>
#include <string>

#include "AudioTags.h"

// The tags of a WAV file's RIFF INFO list: INAM (title), IART (performer)
// and IPRD (album), UTF-8 as TagLib reads them. The Windows build's only tag
// reader; elsewhere it checks TagLib's reading of WAV files.
class RiffInfoReader {
  public:
    static AudioTags Read(std::istream& in);
    static AudioTags Read(const std::string& path);
};
