#!/bin/bash
# Recordings refused before the disc is touched, and the virtual drive's
# guards: a file that is no disc image (unless --raw), test mode where the
# medium cannot simulate, and 'virtual export' over existing files (unless
# --force). The fit check is proved at its limits in FitCheckTest.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"
# untouched: no command that changes the disc was sent (trace in err.txt).
untouched() { grep -qE '^trace: (55|2A) ' err.txt && fail "$1: the disc was touched"; true; }

"$CLI" virtual create drive >/dev/null || fail "virtual create"
head -c 300000 /dev/urandom >data.bin
"$CLI" mkiso -o image.iso data.bin >/dev/null 2>&1 || fail "mkiso"
sox -n -r 44100 -b 16 -c 2 song.wav synth 2 sine 440 2>/dev/null || fail "sox"

# A WAV file is no disc image: refused before any command reaches the drive.
insert cd-r
expect 1 "maple-cli: song.wav is not a disc image (no ISO 9660 or UDF volume at sector 16); pass --raw" v --trace burn song.wav
grep -q '^trace:' err.txt && fail "commands were sent for a file that is no image"
v burn --raw --no-eject song.wav >out.txt 2>err.txt || fail "burn --raw: $(cat err.txt)"
show | grep -q 'state: complete' || fail "--raw did not record"

# Test mode on DVD+R / DVD+RW would record for real: refused, disc untouched.
for kind in dvd+r dvd+rw; do
  insert "$kind"
  expect 1 "${kind^^} 光碟不能进行测试刻录" v --trace burn --test image.iso
  untouched "test mode on $kind"
done
show | grep -q 'recorded: 0 blocks' || fail "the DVD+RW was written: $(show)"

# Export never overwrites without --force.
v burn --no-eject image.iso >/dev/null 2>&1 || fail "burn"
mkdir out && echo "keep me" >out/track01.iso
expect 1 "out/track01.iso: exists already; pass --force to overwrite" v virtual export out
[ "$(cat out/track01.iso)" = "keep me" ] || fail "export overwrote a file"
v virtual export --force out >/dev/null || fail "export --force"
cmp -n "$(stat -c %s image.iso)" image.iso out/track01.iso || fail "exported track differs"
finish refusals
