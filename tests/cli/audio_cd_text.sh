#!/bin/bash
# CD-TEXT, ISRCs and the catalogue number on the virtual drive: three FLAC
# files tagged with metaflac, recorded with --dao; maple-cli info (READ TOC
# format 0101b, READ SUB-CHANNEL) and the exported cue sheet show what the
# tags said. A Chinese title goes out with "?" and is listed before the burn.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"

tagged() {  # tagged FILE TITLE ARTIST ISRC
    sox -n -r 44100 -b 16 -c 2 "$1" synth 5 sine "$((300 + ${#2} * 40))" gain -9
    metaflac --no-utf8-convert --remove-all-tags --set-tag="TITLE=$2" --set-tag="ARTIST=$3" \
        --set-tag="ALBUM=Night Album" --set-tag="ALBUMARTIST=Maple Trio" \
        --set-tag="COMPOSER=Ann Lee" --set-tag="ISRC=$4" --set-tag="BARCODE=4006381333931" "$1"
}
tagged a.flac "First Light" "Maple Trio" DE-A12-34-00001
tagged b.flac "Café" "Guest Singer" DEA123400002
tagged c.flac "月光 Moon" "Maple Trio" DEA123400003
"$CLI" virtual create drive >/dev/null || fail "virtual create"

insert cd-r
v audio --dao --no-eject a.flac b.flac c.flac >/dev/null 2>err.txt || fail "--dao exited $?: $(cat err.txt)"
grep -qF '"?"' err.txt || fail "no list of replaced characters: $(cat err.txt)"
grep -qx '  月光 Moon' err.txt || fail "the Chinese title is not listed: $(cat err.txt)"
grep -q 'Café' err.txt && fail "Café fits ISO 8859-1 but was listed: $(cat err.txt)"
v info >info.txt || fail "info exited $?"
grep -qx 'Album title:         Night Album' info.txt || fail "album title: $(cat info.txt)"
grep -qx 'Album performer:     Maple Trio' info.txt || fail "album performer: $(cat info.txt)"
grep -qx 'Catalogue number:    4006381333931' info.txt || fail "catalogue: $(cat info.txt)"
grep -qx 'Track 1:             title: First Light, performer: Maple Trio, songwriter: Ann Lee, ISRC DEA123400001' info.txt ||
    fail "track 1: $(cat info.txt)"
grep -q '^Track 2: .*title: Café, performer: Guest Singer' info.txt || fail "track 2: $(cat info.txt)"
grep -q '^Track 3: .*title: ?? Moon,' info.txt || fail "track 3: $(cat info.txt)"
rm -rf x && v virtual export x >/dev/null || fail "export"
head -3 x/disc.cue | grep -qx 'CATALOG 4006381333931' || fail "cue: $(cat x/disc.cue)"
grep -qx 'TITLE "Night Album"' x/disc.cue || fail "cue album title: $(cat x/disc.cue)"
grep -qx 'PERFORMER "Maple Trio"' x/disc.cue || fail "cue album performer: $(cat x/disc.cue)"
grep -A4 'TRACK 02' x/disc.cue | grep -qx '    TITLE "Café"' || fail "cue track 2: $(cat x/disc.cue)"
grep -A5 'TRACK 03' x/disc.cue | grep -qx '    ISRC DEA123400003' || fail "cue track 3: $(cat x/disc.cue)"
cmp -s <(sox x/track01.wav -t raw - trim 0s 220500s) <(sox a.flac -t raw -) ||
    fail "track 1 is not a.flac"

# --title and --performer replace the album's; --no-cd-text leaves the texts out, not the codes.
insert cd-rw
v audio --dao --no-eject --title "Other Title" --performer "Someone" a.flac b.flac >/dev/null 2>err.txt ||
    fail "--title exited $?: $(cat err.txt)"
v info >info.txt
grep -qx 'Album title:         Other Title' info.txt || fail "--title: $(cat info.txt)"
grep -qx 'Album performer:     Someone' info.txt || fail "--performer: $(cat info.txt)"
insert cd-r
v audio --dao --no-eject --no-cd-text a.flac >/dev/null 2>err.txt || fail "--no-cd-text exited $?: $(cat err.txt)"
v info >info.txt
grep -q 'title' info.txt && fail "--no-cd-text wrote texts: $(cat info.txt)"
grep -qx 'Track 1:             ISRC DEA123400001' info.txt || fail "ISRC without text: $(cat info.txt)"

# Verify reads the texts back; a recorder that spoils a pack is caught by name.
insert cd-r
v audio --dao --verify a.flac b.flac >/dev/null 2>err.txt || fail "--verify exited $?: $(cat err.txt)"
grep -q 'ISRC' err.txt || fail "no word on the verified texts: $(cat err.txt)"
insert cd-r
fault corrupt-cd-text
expect 1 "TITLE" v audio --dao --verify a.flac b.flac
grep -q 'TITLE.*"First Light"' err.txt || fail "the spoilt title is not named: $(cat err.txt)"
clear_faults

# A drive without R-W writing records the sound and says so.
insert cd-r
fault no-rw-sub-channel
v audio --dao a.flac >/dev/null 2>err.txt || fail "without R-W exited $?: $(cat err.txt)"
grep -q 'CD-TEXT' err.txt || fail "no word on the missing CD-TEXT: $(cat err.txt)"
clear_faults

expect 2 "need --dao" v audio --title X a.flac
expect 2 "need --dao" v audio --no-cd-text a.flac
expect 2 "cannot go with --no-cd-text" v audio --dao --no-cd-text --performer X a.flac
finish "audio_cd_text"
