#!/bin/bash
# maple-cli burn SHEET.cue on the virtual drive: a ripper's one-file album
# with index points, gaps, flags and texts; raw little- and big-endian
# files; a data track from MODE1/2048 and from MODE1/2352 images; the sheet
# "virtual export" writes; and the refusals, by line, of what cannot be
# recorded exactly. sox cuts and compares the sound.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"
"$CLI" virtual create drive >/dev/null || fail "virtual create"
raw() { sox "$@" -t raw -; }            # files back to back
part() { sox "$1" -t raw - "${@:2}"; }    # a file with effects
samples() { echo $(($1 * 588)); }  # sectors to samples

# --- One FLAC for the album: the disc plays it at the sheet's points.
sox -n -r 44100 -b 16 -c 2 album.wav synth 20 sine 200-2000 sine 300-900 gain -6
sox album.wav album.flac
cat >album.cue <<'CUE'
REM GENRE Test
CATALOG 4006381333931
PERFORMER "The Band"
TITLE "The Album"
FILE "album.flac" WAVE
  TRACK 01 AUDIO
    TITLE "One"
    INDEX 01 00:00:00
  TRACK 02 AUDIO
    TITLE "Two"
    PERFORMER "Guest"
    ISRC USABC1234567
    FLAGS DCP PRE
    INDEX 00 00:06:00
    INDEX 01 00:08:00
    INDEX 02 00:10:00
  TRACK 03 AUDIO
    TITLE "Three"
    PREGAP 00:01:00
    INDEX 01 00:14:00
    POSTGAP 00:00:30
CUE
insert cd-r
v burn --verify --no-eject album.cue >out.txt 2>err.txt || fail "album.cue exited $?: $(cat err.txt)"
grep -q "Track starts and pauses verified" err.txt || fail "no track check: $(cat err.txt)"
rm -rf x && v virtual export x >/dev/null || fail "export"
# Track 1 ends where track 2's pause (INDEX 00) begins; track 2 runs on
# through index 2 to track 3's PREGAP (1 s of silence), track 3 ends with
# the POSTGAP's 30 sectors of silence.
cmp -s <(raw x/track01.wav) <(part album.wav trim 0s $(samples 600)s) || fail "track 1 + pause"
grep -A4 'TRACK 02' x/disc.cue | grep -q 'INDEX 00 00:06:00' || fail "pause of track 2: $(cat x/disc.cue)"
cmp -s <(part x/track02.wav trim 0s $(samples 450)s) <(part album.wav trim $(samples 600)s $(samples 450)s) ||
    fail "track 2 is not the album from 00:08:00"
[ "$(soxi -s x/track02.wav)" = $(samples $((450 + 75))) ] || fail "track 2 + PREGAP: $(soxi -s x/track02.wav)"
[ "$(rms_db_after x/track02.wav trim $(samples 450)s)" = "-inf" ] || fail "PREGAP is not silence"
cmp -s <(part x/track03.wav trim 0s $(samples 450)s) <(part album.wav trim $(samples 1050)s) ||
    fail "track 3 is not the album from 00:14:00"
[ "$(soxi -s x/track03.wav)" = $(samples 480) ] || fail "POSTGAP: $(soxi -s x/track03.wav)"
v info >info.txt 2>&1
for text in "The Album" "The Band" "Guest" "USABC1234567" "4006381333931"; do
    grep -qF "$text" info.txt || fail "info lacks $text: $(cat info.txt)"
done

# --- The exported sheet (a track's pause at the end of the previous file)
# burns back to the same disc.
insert cd-r
v burn --verify x/disc.cue >/dev/null 2>err.txt || fail "exported sheet exited $?: $(cat err.txt)"
rm -rf y && v virtual export y >/dev/null || fail "export again"
diff -r x y >/dev/null || fail "the exported sheet did not burn back the same disc: $(diff -r x y | head -5)"

# --- One raw file per track: BINARY little-endian, MOTOROLA big-endian.
sox album.wav -t raw one.bin trim 0 6
sox album.wav -t raw -B two.be trim 6 5.6
printf 'FILE "one.bin" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nFILE "two.be" MOTOROLA\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n' >raw.cue
insert cd-r
v burn raw.cue >/dev/null 2>err.txt || fail "raw.cue exited $?: $(cat err.txt)"
rm -rf r && v virtual export r >/dev/null || fail "export raw"
cmp -s <(raw r/track01.wav r/track02.wav) <(part album.wav trim 0 11.6) ||
    fail "BINARY and MOTOROLA files do not play as the album"

# --- A data track: MODE1/2048 and MODE1/2352 images give the same disc.
mkdir -p content && head -c 700000 /dev/urandom >content/data.bin
v mkiso -o data.iso content >/dev/null 2>&1 || fail "mkiso"
python3 - data.iso data.raw <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
with open(sys.argv[2], "wb") as out:
    for n in range(len(data) // 2048):
        lba = n + 150
        header = bytes([lba // 4500 // 10 * 16 + lba // 4500 % 10,
                        lba // 75 % 60 // 10 * 16 + lba // 75 % 60 % 10,
                        lba % 75 // 10 * 16 + lba % 75 % 10, 1])
        out.write(b"\x00" + b"\xff" * 10 + b"\x00" + header + data[n * 2048:(n + 1) * 2048] + bytes(288))
PY
for kind in 2048:data.iso 2352:data.raw; do
    printf 'FILE "%s" BINARY\n  TRACK 01 MODE1/%s\n    INDEX 01 00:00:00\n' "${kind#*:}" "${kind%%:*}" >data.cue
    insert cd-r
    v burn --verify data.cue >/dev/null 2>err.txt || fail "MODE1/${kind%%:*} exited $?: $(cat err.txt)"
    rm -rf "d${kind%%:*}" && v virtual export "d${kind%%:*}" >/dev/null || fail "export data"
done
cmp -s d2048/track01.iso d2352/track01.iso || fail "MODE1/2048 and MODE1/2352 gave different discs"
cmp -s <(head -c "$(stat -c %s data.iso)" d2048/track01.iso) data.iso || fail "the data track is not the image"

# --- Refusals name the sheet's line; the disc stays blank.
insert cd-r
refused() {  # refused LINE TEXT SHEET-TEXT
    printf "$3" >bad.cue
    expect 1 "bad.cue, line $1: " v burn bad.cue
    grep -qF -- "$2" err.txt || fail "line $1: no \"$2\" in: $(cat err.txt)"
}
head='FILE "album.flac" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n'
refused 4 "MODE2 tracks are not supported" "${head}TRACK 02 MODE2/2352\n"
refused 4 "CD+G (CDG) tracks are not supported" "${head}TRACK 02 CDG\n"
refused 5 "data and audio tracks in one session" "${head}FILE \"data.iso\" BINARY\nTRACK 02 MODE1/2048\n"
refused 3 "(a hidden track) is not supported" 'FILE "album.flac" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:02:01\n'
refused 1 "the file gone.wav is missing" 'FILE "gone.wav" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n'
refused 5 "is shorter than the sheet says" "${head}TRACK 02 AUDIO\nINDEX 01 00:20:00\n"
refused 4 "track 2 is shorter than 4 seconds" "${head}TRACK 02 AUDIO\nINDEX 01 00:16:01\n"
refused 2 "this line cannot be recorded exactly" 'FILE "album.flac" WAVE\nCDTEXTFILE "x.cdt"\n'
refused 2 "this line cannot be recorded exactly" 'FILE "album.flac" WAVE\nTRACK 01 AUDIO\nINDEX 00 00:00:00\n'  # no INDEX 01
refused 4 "this line cannot be recorded exactly" "${head}COMPOSER \"Someone\"\n"
refused 4 "this line cannot be recorded exactly" "${head}FLAGS 4CH\n"
refused 4 "this line cannot be recorded exactly" "${head}TITLE \"光\"\n"  # CD-TEXT is ISO 8859-1
refused 3 "this line cannot be understood" 'FILE "album.flac" WAVE\nTRACK 01 AUDIO\nINDEX 01 0:61:00\n'
head -c $((2352 * 20)) data.raw >bad.raw && printf '\002' | dd of=bad.raw bs=1 seek=$((2352 * 17 + 15)) conv=notrunc 2>/dev/null
refused 2 "sector 17 of the file bad.raw is not a Mode 1 sector" 'FILE "bad.raw" BINARY\nTRACK 01 MODE1/2352\nINDEX 01 00:00:00\n'
show | grep -q '^state: blank' || fail "a refused sheet touched the disc"
finish "cue_sheets"
