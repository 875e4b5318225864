#!/bin/bash
# maple-cli erase on a virtual drive: confirmation, refusals, quick and full
# BLANK, the DVD+RW overwrite, a write error.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"
disc_status() { v info | sed -n 's/^Disc status: *//p'; }

echo hello >hello.txt
"$CLI" mkiso -o image.iso hello.txt >/dev/null 2>&1 || fail "mkiso"
"$CLI" virtual create drive >/dev/null || fail "virtual create"

expect 1 "maple-cli: no disc in the drive" v erase --yes

# Without --yes the question is answered No and nothing is sent to the disc.
insert cd-rw --from image.iso
expect 1 "maple-cli: erase not confirmed" v erase
[ "$(disc_status)" = Complete ] || fail "erase without --yes changed the disc"

# Quick erase sends BLANK type 1, full erase type 0.
expect 0 "光碟抹除成功!" v --trace erase --yes
grep -q '^trace: A1 01 00' err.txt || fail "quick erase: no BLANK type 1"
[ "$(disc_status)" = Empty ] || fail "quick erase left the disc $(disc_status)"
insert cd-rw --from image.iso
expect 0 "光碟抹除成功!" v --trace erase --full --yes
grep -q '^trace: A1 00 00' err.txt || fail "full erase: no BLANK type 0"
[ "$(disc_status)" = Empty ] || fail "full erase left the disc $(disc_status)"

# CD-R is not rewritable.
insert cd-r
expect 1 "maple-cli: the disc is not rewritable" v --trace erase --yes
grep -q '^trace: A1' err.txt && fail "BLANK sent to a CD-R"

# DVD+RW: twelve 25-block writes of zeros, never BLANK, then it reads as empty.
insert dvd+rw --from image.iso
expect 0 "光碟抹除成功!" v --trace erase --yes
[ "$(grep -c '^trace: 2A ' err.txt)" = 12 ] || fail "DVD+RW erase: not 12 writes"
grep -q '^trace: A1' err.txt && fail "BLANK sent to a DVD+RW"
[ "$(disc_status)" = Empty ] || fail "DVD+RW erase left the disc $(disc_status)"

# A write error on the DVD+RW ends the erase as a failure.
insert dvd+rw --from image.iso
echo "fault write-error 100" >>drive/drive.meta
expect 1 "maple-cli: erasing the disc failed" v erase --yes
grep -qF "光碟抹除失败!" err.txt || fail "no failure message"

finish "mmc_erase"
