#!/bin/bash
# maple-cli audio on the virtual drive: tracks, their layout and their sound
# (sox as the oracle for the converted track), the three options, refusals
# and failures with their exit codes.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"

fresh() {  # a new virtual drive in folder $1 with a blank medium $2
    rm -rf "$1"
    "$CLI" virtual create "$1" > /dev/null && "$CLI" --virtual "$1" virtual insert "$2" > /dev/null
}
show() { "$CLI" --virtual "$1" virtual show; }

sox -n -r 48000 -b 24 -c 2 a.wav synth 5 sine 1000 sine 1500 gain -3
sox -n -r 44100 -b 16 -c 2 b.wav synth 3 sine 440 gain -6

# Two tracks: a converted one and a CD-DA one read in place.
fresh d cd-r
"$CLI" --virtual d audio a.wav b.wav > out.txt 2> err.txt || fail "audio exited $?"
grep -q '^recorded: 2 audio track(s)$' out.txt || fail "no success line"
grep -q -- '-   2   of   2   -' err.txt || fail "no track counter in the progress"
show d > show.txt
grep -q '^state: complete' show.txt || fail "disc not complete: $(cat show.txt)"
grep -q '^tray: open' show.txt || fail "tray not ejected"
start1=$(awk '/^track 1:/ {print $7}' show.txt | tr -d ,)
length1=$(awk '/^track 1:/ {print $9}' show.txt)
start2=$(awk '/^track 2:/ {print $7}' show.txt | tr -d ,)
[ "$start1" = 0 ] || fail "track 1 starts at $start1"
[ "$start2" = $((start1 + length1 + 150)) ] || fail "track 2 at $start2, not after a 150-block pause"
"$CLI" --virtual d virtual export tracks > /dev/null || fail "export failed"
sox a.wav -r 44100 -b 16 -c 2 ref.wav
sox tracks/track01.wav cut1.wav trim 0s 220500s
diff_db=$(rms_db -m -v 1 cut1.wav -v -1 ref.wav)
below "$diff_db" -85 || fail "track 1 differs from sox's conversion by $diff_db dBFS"
after_db=$(rms_db_after tracks/track01.wav trim 220502s)  # the converter may give one frame more
[ "$after_db" = "-inf" ] || fail "track 1 does not end in silence ($after_db dB)"
cmp -s <(sox tracks/track02.wav -t raw - trim 0s 132300s) <(sox b.wav -t raw -) ||
    fail "track 2 is not the CD-DA file's sound"
[ -e b.wav ] || fail "the CD-DA source was deleted"

# --test records nothing; --no-fix leaves the disc open; --no-eject keeps the tray shut.
fresh t cd-rw
"$CLI" --virtual t audio --test --no-eject b.wav > out.txt 2> /dev/null || fail "--test exited $?"
grep -q '^test recording complete' out.txt || fail "no test success line"
show t | grep -q '^state: blank' || fail "test mode recorded something"
show t | grep -q '^tray: closed' || fail "--no-eject opened the tray"
fresh o cd-r
"$CLI" --virtual o audio --no-fix b.wav > /dev/null 2>&1 || fail "--no-fix exited $?"
show o | grep -q '^state: appendable' || fail "--no-fix: $(show o | grep state)"

# Refused files are audio_formats' part; a DVD and no files are refused here.
fresh v dvd-r
"$CLI" --virtual v audio b.wav > /dev/null 2> err.txt
[ $? = 1 ] && grep -q 'DVD' err.txt || fail "a DVD was not refused"
"$CLI" --virtual v audio > /dev/null 2>&1
[ $? = 2 ] || fail "no files: exit code is not 2"

# A write error ends in failure, never in success.
fresh w cd-r
echo "fault write-error 20" >> w/drive.meta
"$CLI" --virtual w audio --no-eject a.wav > out.txt 2> err.txt
[ $? = 1 ] || fail "write error: exit code is not 1"
grep -q 'Buffer Under-Run' err.txt || fail "write error: no under-run message"
grep -q '^maple-cli: audio recording failed$' err.txt || fail "write error: $(tail -1 err.txt)"
grep -q '刻录完成' err.txt out.txt && fail "write error reported as finished"

finish "audio_burn"
