#!/bin/bash
# maple-cli audio on a virtual drive, the safety of its files. Every track is
# converted before the disc is touched, once the temporary folder is known to
# be a writable folder with room for all of them; a job keeps its files in a
# folder of its own that another program's clean-up leaves alone; a file that
# changes while the disc is recorded fails the recording by name, never a
# short track reported as verified.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"
en() { LC_ALL=en_US.UTF-8 "$@"; }
untouched() { grep -qE '^trace: (55|2A|5B) ' err.txt && fail "$1: the disc was touched"; true; }
# small_temp SIZE COMMAND...: the command with a temporary folder of SIZE of its own.
small_temp() {
    local size=$1
    shift
    mkdir -p small
    unshare -rm sh -c 'mount -t tmpfs -o "size=$0" tmpfs small && MAPLE_TEMP_DIR=$PWD/small exec "$@"' \
        "$size" "$@"
}
sox -n -r 44100 -b 16 -c 2 cd.wav synth 8 sine 440 2>/dev/null || fail "sox"
sox -n -r 44100 -b 16 -c 2 cd2.wav synth 8 sine 550 2>/dev/null || fail "sox"
sox -n -r 48000 -b 16 -c 2 a.wav synth 8 sine 660 2>/dev/null || fail "sox"
sox -n -r 48000 -b 16 -c 2 b.wav synth 60 sine 770 2>/dev/null || fail "sox"
"$CLI" virtual create drive >/dev/null || fail "virtual create"

# A temporary folder without room for both conversions, or no folder at all:
# refused before the disc is touched, naming the folder.
insert cd-r
en small_temp 1m "$CLI" --virtual drive --trace audio cd.wav a.wav b.wav >out.txt 2>err.txt
[ $? = 1 ] || fail "a full temporary folder: $(grep -v ^trace err.txt)"
grep -qE "No space in $WORK/small: needs [0-9]+ MB, has 1 MB\." err.txt ||
    fail "no space message: $(grep -v ^trace err.txt)"
untouched "a full temporary folder"
echo "not a folder" >plain
MAPLE_TEMP_DIR=$WORK/plain en expect 1 "The temporary folder cannot be used: $WORK/plain" \
    v --trace audio cd.wav a.wav
untouched "a temporary folder that is a file"
show | grep -q "state: blank" || fail "the disc changed: $(show)"

# Another program's clean-up (a copy on another drive) while this job
# converts: its folder is locked and stays; a dead job's folder goes.
mkdir -p temp/job-1-1 && echo stale >temp/job-1-1/tempwav-01.wav
"$CLI" virtual create other >/dev/null && "$CLI" mkiso -o image.iso cd.wav >/dev/null 2>&1 &&
    "$CLI" --virtual other virtual insert cd-rom --from image.iso >/dev/null || fail "other drive"
insert cd-r
v audio --no-eject cd.wav b.wav >out.txt 2>err.txt &
pid=$!
for _ in $(seq 2000); do  # stopped while it converts b.wav (a partial file is there)
    kill -STOP "$pid" 2>/dev/null || break
    find temp -name '*.part' | grep -q . && break
    kill -CONT "$pid"
    sleep 0.002
done
"$CLI" --virtual other copy --to-iso copy.iso >/dev/null 2>&1 || fail "copy on the other drive"
kill -CONT "$pid"
wait "$pid" || fail "audio during another program's clean-up exited $?: $(cat err.txt)"
[ -e temp/job-1-1 ] && fail "a dead job's folder was kept"
"$CLI" wav2cda b.wav b.cd.wav >/dev/null 2>&1 || fail "wav2cda"
rm -rf x && v virtual export x >/dev/null || fail "export"
[ "$(ls x)" = "$(printf 'disc.cue\ntrack01.wav\ntrack02.wav')" ] || fail "tracks: $(ls x)"
# Converted anew with dither, so compared by length (whole 8-sector blocks).
[ "$(stat -c %s x/track02.wav)" = $(( ($(stat -c %s b.cd.wav) - 44 + 18815) / 18816 * 18816 + 44 )) ] ||
    fail "track 2 is not b.wav's whole sound: $(stat -c %s x/track02.wav) bytes"

# A CD-DA file read in place that shrinks while track 1 is written.
insert cd-r
fault long-write 20
en v --trace audio --verify --no-eject cd.wav cd2.wav >out.txt 2>err.txt &
pid=$!
wait_trace 2A err.txt
truncate -s 100000 cd2.wav
wait "$pid"
code=$?
[ "$code" = 1 ] || fail "a file that shrank: exit $code: $(grep -v ^trace err.txt)"
grep -q "cd2.wav changed after it was checked (its length or modification time); the recording was stopped." \
    err.txt || fail "no changed-file message: $(grep -v ^trace err.txt)"
grep -q "Verified" err.txt && fail "a short track was reported as verified"
[ "$(show | grep -c '^track ')" = 1 ] || fail "disc: $(show)"

finish "audio safety"
