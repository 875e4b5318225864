// The Windows build is made without TagLib: tags come from the RIFF INFO of
// WAV files only, through the program's own reader.
#include <algorithm>
#include <cctype>

#include "AudioTags.h"
#include "RiffInfoReader.h"

AudioTags AudioTags::Read(const std::string& path) {
    std::string name = path;
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name.ends_with(".wav") ? RiffInfoReader::Read(path) : AudioTags{};
}

bool AudioTags::ReadsAllFormats() {
    return false;
}
