#!/bin/bash
# maple-cli burn and copy on a virtual drive: options, refusals, failures
# and exit codes, the temporary image of a disc copy, BadCopy. Refused before
# the disc is touched: a file that is no disc image (unless --raw), test mode
# where the medium cannot simulate; and 'virtual export' over existing files
# (unless --force). The fit check is proved at its limits in FitCheckTest.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"
# untouched: no command that changes the disc was sent (trace in err.txt).
untouched() { grep -qE '^trace: (55|2A) ' err.txt && fail "$1: the disc was touched"; true; }

head -c 700000 /dev/urandom >data.bin
"$CLI" mkiso -o image.iso data.bin >/dev/null 2>&1 || fail "mkiso"
"$CLI" virtual create drive >/dev/null || fail "virtual create"
insert cd-r

# Usage errors: exit 2 with one line.
expect 2 "maple-cli: burn needs one image file" v burn
expect 2 "maple-cli: burn needs one image file" v burn a.iso b.iso
expect 2 "maple-cli: --speed needs a factor" v burn --speed 0 image.iso
expect 2 "maple-cli: unknown option --fast" v burn --fast image.iso
expect 2 "maple-cli: --blank needs a recordable kind" v copy --blank cd-rom
expect 2 "maple-cli: copy takes no file names" v copy out.iso

# An image that cannot be used is refused before any command reaches the drive.
expect 1 "missing.iso cannot be opened" v --trace burn missing.iso
grep -q "^trace:" err.txt && fail "commands were sent for a missing image"
grep -q "^maple-cli: recording refused" err.txt || fail "no refusal line"
head -c 2047 /dev/urandom >tiny.iso
expect 1 "tiny.iso is shorter than 2048 bytes" v burn tiny.iso

# A WAV file is no disc image: refused before any command reaches the drive.
sox -n -r 44100 -b 16 -c 2 song.wav synth 2 sine 440 2>/dev/null || fail "sox"
expect 1 "maple-cli: song.wav is not a disc image (no ISO 9660 or UDF volume at sector 16); pass --raw" v --trace burn song.wav
grep -q '^trace:' err.txt && fail "commands were sent for a file that is no image"
v burn --raw --no-eject song.wav >out.txt 2>err.txt || fail "burn --raw: $(cat err.txt)"
show | grep -q 'state: complete' || fail "--raw did not record"

# Test mode on DVD+R / DVD+RW would record for real: refused, disc untouched.
for kind in dvd+r dvd+rw; do
  insert "$kind"
  expect 1 "A ${kind^^} disc cannot be recorded in test mode" v --trace burn --test image.iso
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

# Test mode records nothing; --no-eject keeps the tray closed.
insert cd-r
v burn --test --no-eject image.iso >out.txt 2>err.txt || fail "test burn: $(cat err.txt)"
grep -q "^test recording complete" out.txt || fail "test burn output: $(cat out.txt)"
grep -A1 "Recording complete!" err.txt | grep -qx "Test mode: nothing was recorded on the disc." ||
    fail "no line saying that nothing was recorded: $(cat err.txt)"
show | grep -q "state: blank" || fail "a test recording changed the disc"
show | grep -q "tray: closed" || fail "--no-eject ejected"
# --no-fix leaves the disc open for another session.
v burn --no-fix image.iso >/dev/null 2>&1 || fail "burn --no-fix"
# The last job's log, for a bug report: its commands and its messages.
{ grep -qx "job: burn" temp/last-job.log && grep -q ": 2A " temp/last-job.log &&
    grep -qx "Information: Recording complete!" temp/last-job.log; } ||
    fail "job log: $(head -3 temp/last-job.log)"
show | grep -q "state: appendable" || fail "--no-fix closed the disc: $(show)"
v load
expect 1 "The disc is not blank" v burn image.iso

# A write error ends at once with the under-run message; the disc is closed.
insert cd-r
fault write-error 64
expect 1 "Recording error (Buffer Under-Run?)" v burn image.iso
grep -q "^maple-cli: recording failed" err.txt || fail "no failure line"
show | grep -q "tray: open" || fail "AbortBurn did not eject"
clear_faults

# No disc.
v virtual eject >/dev/null
expect 1 "There is no disc in your drive" v burn image.iso

# A DVD copied onto a CD is refused; the temporary image stays for another
# try with 'burn --temporary', which deletes it after the recording.
"$CLI" mkiso -o dvd.iso data.bin >/dev/null 2>&1
insert dvd-rom --from dvd.iso
expect 1 "You inserted a CD disc; please change it to a DVD-R or DVD-RW disc and record again!" v copy --blank cd-r
grep -q "was kept" err.txt || fail "no hint about the kept image"
ls temp/job-*/tempiso.iso >/dev/null 2>&1 || fail "the temporary image was deleted after a refusal"
insert dvd-r
v burn --temporary >out.txt 2>err.txt || fail "burn --temporary: $(cat err.txt)"
ls temp/job-*/tempiso.iso >/dev/null 2>&1 && fail "the temporary image survived its recording"
v virtual export exported >/dev/null
cmp -n "$(stat -c %s dvd.iso)" dvd.iso exported/track01.iso || fail "DVD copy differs"
# A user's image is never deleted, even when named like a remembered one.
[ -f image.iso ] && [ -f dvd.iso ] || fail "a user image was deleted"

# BadCopy: an unreadable sector becomes zeros and is counted.
insert cd-rom --from image.iso
fault unreadable 20 20
v copy --to-iso bad.iso --bad-copy >out.txt 2>err.txt || fail "copy --bad-copy: $(cat err.txt)"
grep -q "1 unreadable sectors were filled with zeros" err.txt || fail "skipped sector not reported"
cmp -n 40960 image.iso bad.iso || fail "sectors before the bad one differ"
[ "$(dd if=bad.iso bs=2048 skip=20 count=1 2>/dev/null | tr -d '\0' | wc -c)" = 0 ] ||
    fail "the unreadable sector is not zero-filled"
clear_faults

# A blank disc has nothing to copy.
insert cd-r
expect 1 "Reading the disc failed!" v copy --to-iso blank.iso
[ -e blank.iso ] || ls | grep -q "^blank\.iso\..*\.part$" && fail "a failed copy left a file"

finish "recording cli"
