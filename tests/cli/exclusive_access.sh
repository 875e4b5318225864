#!/bin/bash
# Exclusive drive access between processes on one virtual drive: while a
# recording runs, another recording, an audio recording, an erase, a copy and
# 'virtual insert' are refused with "the drive is in use by another program"
# and touch nothing; commands that only ask keep working; the recording
# completes whole.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"

head -c 3000000 /dev/urandom >data.bin
"$CLI" mkiso -o image.iso data.bin >/dev/null 2>&1 || fail "mkiso"
sox -n -r 44100 -b 16 -c 2 song.wav synth 1 sine 440 2>/dev/null || fail "sox"
"$CLI" virtual create drive >/dev/null || fail "virtual create"
insert cd-r
# Each of the first three blocks waits 6 s for the drive's buffer (60 times
# "long write in progress"; the 62nd would end the recording): time to interfere.
printf 'fault fail 2A skip %s count 60 sense 02 04 08\n' 0 1 1 >>drive/drive.meta
v --trace burn --no-eject image.iso >burn.out 2>burn.err &
burn=$!
for _ in $(seq 200); do grep -q '^trace: 2A' burn.err && break; sleep 0.05; done

inuse="maple-cli: the drive is in use by another program"
expect 1 "$inuse" v burn image.iso
expect 1 "$inuse" v audio song.wav
expect 1 "$inuse" v erase --yes
expect 1 "$inuse" v copy --to-iso copy.iso
[ -e copy.iso ] || ls | grep -q "^copy\.iso\..*\.part$" && fail "a refused copy left a file"
expect 1 "$inuse" v virtual insert --replace cd-rw
expect 1 "$inuse" v virtual eject
v info >info.txt 2>err.txt || fail "info during a recording: $(cat err.txt)"
grep -q 'CD-R' info.txt || fail "info: $(cat info.txt)"
v virtual show >show.txt 2>err.txt || fail "show during a recording: $(cat err.txt)"
expect 1 "eject failed" v eject
kill -0 "$burn" 2>/dev/null || fail "the recording ended before the checks (too fast to test)"

wait "$burn" || fail "the recording failed: $(grep -v '^trace' burn.err)"
grep -q '^recorded: image.iso' burn.out || fail "no success line: $(cat burn.out)"
v virtual show | grep -q 'state: complete' || fail "disc: $(v virtual show)"
v virtual export out >/dev/null || fail "export"
cmp -n "$(stat -c %s image.iso)" image.iso out/track01.iso || fail "the recorded track differs"

# Free again: the disc can be replaced, but only on purpose.
expect 1 "holds data (cd-r, 1 track(s)); 'virtual insert --replace' discards it" v virtual insert cd-r
v virtual insert --replace cd-r || fail "insert --replace"
finish exclusive_access
