#!/bin/bash
# maple-cli audio on the virtual drive: tracks, their layout and their sound
# (sox as the oracle for the converted track), the three options, refusals
# and failures with their exit codes.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"


sox -n -r 48000 -b 24 -c 2 a.wav synth 5 sine 1000 sine 1500 gain -3
sox -n -r 44100 -b 16 -c 2 b.wav synth 3 sine 440 gain -6
"$CLI" virtual create drive >/dev/null || fail "virtual create"

# Two tracks: a converted one and a CD-DA one read in place.
insert cd-r
v audio a.wav b.wav > out.txt 2> err.txt || fail "audio exited $?"
grep -q '^recorded: 2 audio track(s)$' out.txt || fail "no success line"
grep -q -- '-   2   of   2   -' err.txt || fail "no track counter in the progress"
show > show.txt
grep -q '^state: complete' show.txt || fail "disc not complete: $(cat show.txt)"
grep -q '^tray: open' show.txt || fail "tray not ejected"
start1=$(awk '/^track 1:/ {print $7}' show.txt | tr -d ,)
length1=$(awk '/^track 1:/ {print $9}' show.txt)
start2=$(awk '/^track 2:/ {print $7}' show.txt | tr -d ,)
[ "$start1" = 0 ] || fail "track 1 starts at $start1"
[ "$start2" = $((start1 + length1 + 150)) ] || fail "track 2 at $start2, not after a 150-block pause"
v virtual export tracks > /dev/null || fail "export failed"
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
insert cd-rw
v audio --test --no-eject b.wav > out.txt 2> /dev/null || fail "--test exited $?"
grep -q '^test recording complete' out.txt || fail "no test success line"
show | grep -q '^state: blank' || fail "test mode recorded something"
show | grep -q '^tray: closed' || fail "--no-eject opened the tray"
insert cd-r
v audio --no-fix b.wav > /dev/null 2>&1 || fail "--no-fix exited $?"
show | grep -q '^state: appendable' || fail "--no-fix: $(show | grep state)"

# Refused files are audio_formats' part; a DVD and no files are refused here.
insert dvd-r
expect 1 "DVD" v audio b.wav
expect 2 "maple-cli: " v audio

# A write error ends in failure, never in success.
insert cd-r
echo "fault write-error 20" >> drive/drive.meta
expect 1 "Buffer Under-Run" v audio --no-eject a.wav
grep -q '^maple-cli: audio recording failed$' err.txt || fail "write error: $(tail -1 err.txt)"
grep -q '刻录完成' err.txt out.txt && fail "write error reported as finished"

finish "audio_burn"
