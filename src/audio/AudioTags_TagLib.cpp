// Tags through TagLib: every format it knows (Vorbis comments, ID3v2, RIFF INFO ...).
#include <fileref.h>
#include <tag.h>
#include <tpropertymap.h>
#include <wavfile.h>

#include <filesystem>
#include <initializer_list>
#include <vector>

#include "AudioTags.h"
#include "Utf8Path.h"

namespace {
// The first value of the first of `keys` the file has.
std::string First(const TagLib::PropertyMap& properties, std::initializer_list<const char*> keys) {
    for (const char* key : keys) {
        const auto found = properties.find(key);
        if (found != properties.end() && !found->second.isEmpty())
            return found->second.front().to8Bit(true);
    }
    return {};
}
}  // namespace

AudioTags AudioTags::Read(const std::string& path) {
    // The system's own form of the name: wide on Windows, where a char name
    // would be taken in the ANSI code page.
    const std::filesystem::path name = Utf8Path(path);
    const TagLib::FileRef file(name.c_str(), false);
    AudioTags tags;
    if (file.isNull() || file.tag() == nullptr) return tags;
    // A WAV file's tag() is its ID3v2 tag only; its RIFF INFO comes after.
    std::vector<const TagLib::Tag*> sources = {file.tag()};
    if (const auto* wave = dynamic_cast<const TagLib::RIFF::WAV::File*>(file.file()))
        sources.push_back(wave->InfoTag());
    for (const TagLib::Tag* tag : sources) {
        if (tags.title.empty()) tags.title = tag->title().to8Bit(true);
        if (tags.performer.empty()) tags.performer = tag->artist().to8Bit(true);
        if (tags.album.empty()) tags.album = tag->album().to8Bit(true);
    }
    const TagLib::PropertyMap properties = file.file()->properties();
    tags.albumPerformer = First(properties, {"ALBUMARTIST", "ALBUM ARTIST"});
    tags.songwriter = First(properties, {"SONGWRITER", "COMPOSER"});
    tags.isrc = First(properties, {"ISRC"});
    tags.catalogue = First(properties, {"MCN", "BARCODE", "UPC", "EAN"});
    tags.Normalise();
    return tags;
}
