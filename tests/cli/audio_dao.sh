#!/bin/bash
# maple-cli audio --dao on the virtual drive: three FLAC files cut from one
# continuous signal play back to back as the signal (gapless), or with the
# chosen pause of silence before each later track; the exported cue sheet
# puts INDEX 00 where a pause starts. sox decodes and compares.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"

# 14 s of a sweep cut at 5 s and 9 s: every length a multiple of 588 samples.
sox -n -r 44100 -b 16 -c 2 signal.wav synth 14 sine 200-2000 sine 300-900 gain -6
sox signal.wav a.flac trim 0s 220500s
sox signal.wav b.flac trim 220500s 176400s
sox signal.wav c.flac trim 396900s
"$CLI" virtual create drive >/dev/null || fail "virtual create"
raw() { sox "$@" -t raw -; }             # the files, back to back
part() { sox "$1" -t raw - "${@:2}"; }     # a file with effects

insert cd-r
v audio --dao --pause 0 --verify a.flac b.flac c.flac >/dev/null 2>err.txt ||
    fail "gapless --dao exited $?: $(cat err.txt)"
show | grep -q '^state: complete' || fail "disc not complete: $(show)"
rm -rf x && v virtual export x >/dev/null || fail "export"
cmp -s <(raw x/track01.wav x/track02.wav x/track03.wav) <(raw signal.wav) ||
    fail "the three tracks are not the signal sample for sample"
grep -q 'INDEX 00' x/disc.cue && fail "a gapless disc has pauses: $(cat x/disc.cue)"
[ "$(grep -c 'INDEX 01 00:00:00' x/disc.cue)" = 3 ] || fail "cue sheet: $(cat x/disc.cue)"

insert cd-rw
v audio --dao --pause 3 a.flac b.flac c.flac >/dev/null 2>err.txt ||
    fail "--dao --pause 3 exited $?: $(cat err.txt)"
rm -rf x && v virtual export x >/dev/null || fail "export"
cmp -s <(part x/track01.wav trim 0s 220500s) <(raw a.flac) || fail "track 1 is not a.flac"
[ "$(rms_db_after x/track01.wav trim 220500s)" = "-inf" ] || fail "track 1 ends in sound"
[ "$(soxi -s x/track01.wav)" = $((220500 + 3 * 44100)) ] || fail "track 1 + pause: $(soxi -s x/track01.wav)"
cmp -s <(part x/track02.wav trim 0s 176400s) <(raw b.flac) || fail "track 2 does not start with b.flac"
grep -A1 'TRACK 02' x/disc.cue | grep -q 'INDEX 00 00:05:00' ||
    fail "no pause at the end of track 1: $(cat x/disc.cue)"
grep -A1 'TRACK 03' x/disc.cue | grep -q 'INDEX 00 00:04:00' || fail "cue sheet: $(cat x/disc.cue)"

# Refusals before the disc is touched.
insert cd-r
expect 2 "--pause needs --dao" v audio --pause 0 a.flac
expect 2 "--pause takes 0 to 10 seconds" v audio --dao --pause 11 a.flac
sox signal.wav short.flac trim 0s 3.9
expect 1 "short.flac" v audio --dao a.flac short.flac
show | grep -q '^state: blank' || fail "a refusal touched the disc"
finish "audio_dao"
