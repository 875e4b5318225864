#!/bin/bash
# Several virtual recorders in one maple-cli: one image recorded on three at
# once (three identical discs; a fault on one leaves the other two complete,
# and the summary names each drive's outcome), and a disc copied from one
# drive to another without a temporary image (with BadCopy: zeros where a
# sector cannot be read, and their count).
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"
for d in a b c; do "$CLI" virtual create "$d" >/dev/null || fail "virtual create $d"; done
three=(--virtual a --virtual b --virtual c)
put() { "$CLI" --virtual "$1" virtual insert --replace "${@:2}" >/dev/null || fail "insert $*"; }
state() { "$CLI" --virtual "$1" virtual show | grep -q "state: $2"; }
track() { rm -rf "out-$1" && "$CLI" --virtual "$1" virtual export "out-$1" >/dev/null; }
head -c 5000000 /dev/urandom >data.bin
"$CLI" mkiso -o image.iso data.bin >/dev/null 2>&1 || fail "mkiso"
size=$(stat -c %s image.iso)

# Usage: a repeated drive, a list for a command of one drive, --temporary.
expect 2 "maple-cli: --drive names drive 2 twice" "$CLI" "${three[@]}" --drive 1,2,2 burn image.iso
expect 2 "maple-cli: only burn records on several drives at once" "$CLI" "${three[@]}" --drive 1,2 eject
expect 2 "maple-cli: no drive 4 (3 drive(s) found)" "$CLI" "${three[@]}" --drive 1,4 burn image.iso
expect 2 "maple-cli: --temporary records on one drive only" "$CLI" "${three[@]}" --drive 1,2 burn --temporary

# Three recorders at once: three discs, each the image; one summary line each.
for d in a b c; do put "$d" cd-r; done
"$CLI" "${three[@]}" --drive 1,2,3 burn --no-eject image.iso >out.txt 2>err.txt ||
    fail "burn on three drives: $(cat err.txt)"
for n in 1 2 3; do
    grep -q "^drive $n (.*): recorded$" out.txt || fail "no summary for drive $n: $(cat out.txt)"
done
for d in a b c; do
    state "$d" complete || fail "disc $d: $("$CLI" --virtual "$d" virtual show)"
    track "$d" && cmp -n "$size" image.iso "out-$d/track01.iso" || fail "disc $d differs"
done
cmp out-a/track01.iso out-b/track01.iso && cmp out-a/track01.iso out-c/track01.iso ||
    fail "the three discs differ"

# A write error on drive 2 and a written disc in drive 3: both named, drive 1
# completes; the exit status says that not all did.
for d in a b; do put "$d" cd-r; done
echo "fault write-error 1000" >>b/drive.meta
"$CLI" "${three[@]}" --drive 1,2,3 burn --no-eject image.iso >out.txt 2>err.txt
[ $? = 1 ] || fail "a failed drive did not fail the command"
grep -q "^drive 1 (.*): recorded$" out.txt || fail "drive 1: $(cat out.txt)"
grep -q "^drive 2 (.*): recording failed$" out.txt || fail "drive 2: $(cat out.txt)"
grep -q "^drive 3 (.*): recording refused$" out.txt || fail "drive 3: $(cat out.txt)"
grep -q "^drive 3: .*not blank" err.txt || fail "drive 3's reason: $(cat err.txt)"
grep -q "^maple-cli: 2 of 3 drives did not complete the recording" err.txt || fail "$(cat err.txt)"
state a complete && track a && cmp -n "$size" image.iso out-a/track01.iso ||
    fail "drive 1 did not record the whole image"
sed -i '/^fault /d' b/drive.meta

# The image comes through standard input once for every drive; the refused
# drive 3 (its disc is still written) drops out before its first block and
# holds back no one, though the ring (1 MiB) is far smaller than the image.
for d in a b; do put "$d" cd-r; done
timeout -k 5 60 "$CLI" "${three[@]}" --drive 2,1,3 burn --no-eject --fifo-size 1 - <image.iso >out.txt 2>err.txt
[ $? = 1 ] || fail "burn - on three drives (124: it stalled): $(cat err.txt)"
grep -q "^drive 3 (.*): recording refused$" out.txt || fail "drive 3: $(cat out.txt)"
for d in a b; do
    track "$d" && cmp -n "$size" image.iso "out-$d/track01.iso" || fail "streamed disc $d differs"
done

# Two-drive copy: drive 1's disc recorded on drive 2 while it is read, with
# no temporary image; the copy equals the source disc.
two=(--virtual a --virtual b)
expect 2 "maple-cli: --to-drive must name another drive than --drive" "$CLI" "${two[@]}" copy --to-drive 1
expect 2 "maple-cli: --to-drive records the copy on another drive" "$CLI" "${two[@]}" copy --to-drive 2 --to-iso x.iso
put a cd-rom --from image.iso
"$CLI" "${two[@]}" copy --to-drive 2 --blank cd-r --no-eject >out.txt 2>err.txt ||
    fail "two-drive copy: $(cat err.txt)"
grep -q "0 unreadable sectors" err.txt || fail "no count of unreadable sectors: $(cat err.txt)"
ls temp/job-*/*.iso >/dev/null 2>&1 && fail "the two-drive copy left a temporary image"
state b complete && track b && cmp -n "$size" image.iso out-b/track01.iso || fail "the copy differs"

# BadCopy: an unreadable sector is recorded as zeros, and counted.
echo "fault unreadable 300 300" >>a/drive.meta
"$CLI" "${two[@]}" copy --to-drive 2 --blank cd-r --bad-copy --no-eject >out.txt 2>err.txt ||
    fail "two-drive copy --bad-copy: $(cat err.txt)"
grep -q "1 unreadable sectors were filled with zeros" err.txt || fail "count: $(cat err.txt)"
track b || fail "export"
cmp -n $((300 * 2048)) image.iso out-b/track01.iso || fail "the sectors before the bad ones differ"
[ "$(dd if=out-b/track01.iso bs=2048 skip=300 count=1 2>/dev/null | tr -d '\0' | wc -c)" = 0 ] ||
    fail "the unreadable sectors were not recorded as zeros"
cmp <(tail -c +$((301 * 2048 + 1)) image.iso) <(tail -c +$((301 * 2048 + 1)) out-b/track01.iso | head -c $((size - 301 * 2048))) ||
    fail "the sectors after the bad ones differ"
sed -i '/^fault /d' a/drive.meta
# A read that fails ends the stream early: the recording fails, the target
# holds less than the image, and the command says so.
put b cd-r
echo "fault fail 28 skip 10 count 1 sense 05 21 00" >>a/drive.meta
"$CLI" "${two[@]}" copy --to-drive 2 --no-eject >out.txt 2>err.txt && fail "a failed read gave a copy"
grep -q "^maple-cli: the disc could not be copied" err.txt || fail "$(cat err.txt)"
grep -q "the source disc ended after" err.txt || fail "the recording did not name the short stream"
track b && [ "$(stat -c %s out-b/track01.iso)" -lt "$size" ] || fail "the broken copy looks whole"
sed -i '/^fault /d' a/drive.meta

finish "several drives"
