#!/bin/bash
# maple-cli burn on a virtual drive: an image shorter than the ISO 9660
# volume it declares (a broken download) is refused before the disc is
# touched, naming both sizes (--raw records it anyway); a hybrid image is
# not; a DVD+R is finalised unless it is left open.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"
untouched() { grep -qE '^trace: (55|2A|5B) ' err.txt && fail "$1: the disc was touched"; true; }
disc_status() { v info | sed -n 's/^Disc status: *//p'; }

mkdir tree && head -c 700000 /dev/urandom >tree/data.bin
"$CLI" mkiso -o image.iso tree >/dev/null 2>&1 || fail "mkiso"
size=$(stat -c %s image.iso)
head -c 300000 /dev/urandom >part.img
xorriso -as mkisofs -o hybrid.iso -no-pad -appended_part_as_gpt -append_partition 2 0xef part.img \
    tree >/dev/null 2>&1 || fail "xorriso"
"$CLI" virtual create drive >/dev/null || fail "virtual create"

# A truncated image: refused before any command that changes the disc.
head -c $((size / 2)) image.iso >cut.iso
insert cd-r
expect 1 "the volume of cut.iso needs $size bytes, but the file holds only $((size / 2)) bytes" v --trace burn cut.iso
untouched "a truncated image"
grep -q "^maple-cli: pass --raw to record it anyway$" err.txt || fail "no --raw hint: $(grep -v ^trace err.txt)"
v virtual show | grep -q "state: blank" || fail "the disc changed"
v burn --raw --no-eject cut.iso >/dev/null 2>err.txt || fail "burn --raw cut.iso: $(cat err.txt)"
v virtual show | grep -q "state: complete" || fail "--raw did not record the truncated image"

# A hybrid image ends after the volume: it is no truncated one.
insert dvd-r
v burn --no-eject hybrid.iso >/dev/null 2>err.txt || fail "burn hybrid.iso: $(cat err.txt)"

# DVD+R: finalised (close function 101b), unless left open (010b).
insert dvd+r
v --trace burn --no-eject image.iso >out.txt 2>err.txt || fail "burn on dvd+r: $(grep -v ^trace err.txt)"
grep -q '^trace: 5B 00 05 00 00 01 ' err.txt || fail "no finalising close"
[ "$(disc_status)" = Complete ] || fail "the DVD+R is $(disc_status), not Complete"
insert dvd+r
v --trace burn --no-fix --no-eject image.iso >out.txt 2>err.txt || fail "burn --no-fix on dvd+r"
grep -q '^trace: 5B 00 05' err.txt && fail "--no-fix finalised the DVD+R"
[ "$(disc_status)" = unComplete ] || fail "--no-fix left the DVD+R $(disc_status)"

finish "burn checks"
