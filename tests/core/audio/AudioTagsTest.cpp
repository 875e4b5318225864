// Tags for CD-TEXT: a WAV file's RIFF INFO as the tag library reads it, and
// what an album takes from its tracks' tags.
#include <gtest/gtest.h>

#include "AlbumTags.h"
#include "AudioTags.h"
#include "TestEnvironment.h"

namespace {

std::string Le32(std::uint32_t value) {
    return {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
            static_cast<char>(value >> 24)};
}

std::string Chunk(const std::string& id, std::string body) {
    const auto size = static_cast<std::uint32_t>(body.size());
    if (body.size() % 2 != 0) body += '\0';  // chunks are padded to even lengths
    return id + Le32(size) + body;
}

// A CD-DA WAV of 4 frames with a LIST INFO after its data: a chunk the
// reader skips first, then INAM, IART and IPRD (odd lengths, NUL-ended).
std::string TaggedWave() {
    const std::string format = std::string("\x01\x00\x02\x00", 4) + Le32(44100) + Le32(176400) +
                               std::string("\x04\x00\x10\x00", 4);
    const std::string info =
        "INFO" + Chunk("ISFT", "sox") + Chunk("INAM", std::string("Caf\xC3\xA9\0", 6)) +
        Chunk("IART", std::string("Maple Trio\0", 11)) + Chunk("IPRD", std::string("Night\0", 6));
    const std::string body =
        "WAVE" + Chunk("fmt ", format) + Chunk("data", std::string(16, '\0')) + Chunk("LIST", info);
    return Chunk("RIFF", body);
}

TEST(AudioTags, RiffInfoIsReadAfterTheSoundAndNotFromACutFile) {
    TempFolder folder;
    const std::string path = folder.File("tagged.wav");
    WriteFile(path, TaggedWave());
    const AudioTags tags = AudioTags::Read(path);
    EXPECT_EQ(tags.title, "Café");
    EXPECT_EQ(tags.performer, "Maple Trio");
    EXPECT_EQ(tags.album, "Night");
    EXPECT_EQ(tags.isrc, "");
    WriteFile(path, TaggedWave().substr(0, 60));  // cut inside the chunks
    EXPECT_EQ(AudioTags::Read(path).title, "");
}

TEST(AudioTags, AnAlbumTakesItsTitleAndPerformerFromItsTracks) {
    AudioTags one, two;
    one.title = "  First ";
    one.performer = two.performer = "Trio";
    one.isrc = "de-a12-34-00001";
    two.isrc = "DEA12340000";  // 11 characters: no ISRC
    two.album = "Night";
    two.catalogue = "036000291452";  // a UPC gets its leading zero
    one.Normalise();
    two.Normalise();
    AlbumTags album = AlbumTags::Of({one, two});
    EXPECT_EQ(album.text.disc.title, "Night");
    EXPECT_EQ(album.text.disc.performer, "Trio") << "the performer both tracks share";
    EXPECT_EQ(album.text.tracks[0].title, "First");
    EXPECT_EQ(album.isrcs, (std::vector<std::string>{"DEA123400001", ""}));
    EXPECT_EQ(album.catalogue, "0036000291452");
    two.performer = "Guest";
    EXPECT_EQ(AlbumTags::Of({one, two}).text.disc.performer, "");
    two.albumPerformer = "Various";
    EXPECT_EQ(AlbumTags::Of({one, two}).text.disc.performer, "Various");
}

}  // namespace
