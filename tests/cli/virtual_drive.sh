#!/usr/bin/env bash
# The virtual drive from the command line: folder commands, the drive list,
# usage errors, a burn of an image made by genisoimage read back with cmp and
# isoinfo, the tray, and damaged metadata. Copies, audio CDs and erasing on
# the virtual drive are the recording_*, audio_* and mmc_info scripts' part.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"

"$CLI" virtual create drive >/dev/null || fail "virtual create"
[ -f drive/drive.meta ] && [ -f drive/medium.data ] || fail "create made no drive folder"
expect 1 "already holds a virtual drive" "$CLI" virtual create drive
grep -q '^maple-cli: ' err.txt || fail "second create: $(cat err.txt)"

# A blank CD-R, listed with its INQUIRY label.
insert cd-r
[ "$(v drives)" = "1: virtual0 HA:0 ID:0 MAPLE   Virtual Recorder1.00" ] || fail "drives: $(v drives)"
show | grep -qx 'state: blank' || fail "show: not blank"
MAPLE_VIRTUAL_DRIVES=drive "$CLI" drives | grep -q 'virtual0' || fail "MAPLE_VIRTUAL_DRIVES not used"

# Usage errors: exit 2 with one "maple-cli: " line.
expect 2 "maple-cli: unknown medium 'floppy'" v virtual insert floppy
expect 2 "maple-cli: " "$CLI" virtual show
expect 2 "maple-cli: " v virtual frobnicate

# Burn an image made by genisoimage, then export it and compare.
mkdir files
head -c 1500000 /dev/urandom >files/random.bin
echo "virtual drive test" >files/readme.txt
genisoimage -quiet -J -V VIRTUALTEST -o image.iso files || fail "genisoimage"
v burn image.iso --no-eject >/dev/null || fail "burn"
show | grep -qx 'state: complete' || fail "burn did not complete"
v virtual export export >/dev/null || fail "export"
cmp -n "$(stat -c %s image.iso)" image.iso export/track01.iso || fail "exported track differs"
isoinfo -d -i export/track01.iso | grep -q 'Volume id: VIRTUALTEST' || fail "isoinfo"

# Eject takes the medium out and leaves the tray open.
v virtual eject || fail "virtual eject"
show | grep -qx 'tray: open' || fail "eject: tray"
show | grep -qx 'medium: none' || fail "eject: medium"

# Damaged metadata: a clear message, the data file untouched.
v virtual insert dvd+rw --from image.iso || fail "insert --from"
before=$(md5sum <drive/medium.data)
echo "not metadata" >drive/drive.meta
expect 2 "drive.meta: line 1: not a virtual drive metadata file" v drives
expect 1 "" v virtual show
[ "$(md5sum <drive/medium.data)" = "$before" ] || fail "data file changed"
finish "virtual_drive"
