#!/usr/bin/env bash
# The virtual drive from the command line: folder commands, the drive list,
# usage errors, a burn of an image made by genisoimage read back with cmp and
# isoinfo, the tray, and damaged metadata. Copies, audio CDs and erasing on
# the virtual drive are the recording_*, audio_* and mmc_erase scripts' part.
set -euo pipefail

cli="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
unset MAPLE_VIRTUAL_DRIVES

fail() { echo "virtual_drive: $*" >&2; exit 1; }
expect_exit() {  # expect_exit CODE COMMAND... : runs it, checks the code, keeps stderr
  local want="$1"; shift
  local got=0
  "$@" >"$work/out" 2>"$work/err" || got=$?
  [ "$got" -eq "$want" ] || fail "exit $got (wanted $want): $* :: $(cat "$work/err")"
}

drive="$work/drive"
"$cli" virtual create "$drive"
[ -f "$drive/drive.meta" ] && [ -f "$drive/medium.data" ] || fail "create made no drive folder"
expect_exit 1 "$cli" virtual create "$drive"
grep -q '^maple-cli: .*already holds a virtual drive' "$work/err" || fail "second create: $(cat "$work/err")"

# A blank CD-R, listed with its INQUIRY label.
"$cli" --virtual "$drive" virtual insert cd-r
[ "$("$cli" --virtual "$drive" drives)" = "1: virtual0 HA:0 ID:0 MAPLE   Virtual Recorder1.00" ] ||
  fail "drives: $("$cli" --virtual "$drive" drives)"
"$cli" --virtual "$drive" virtual show | grep -qx 'state: blank' || fail "show: not blank"
MAPLE_VIRTUAL_DRIVES="$drive" "$cli" drives | grep -q 'virtual0' || fail "MAPLE_VIRTUAL_DRIVES not used"

# Usage errors: exit 2 with one "maple-cli: " line.
expect_exit 2 "$cli" --virtual "$drive" virtual insert floppy
grep -q "^maple-cli: unknown medium 'floppy'" "$work/err" || fail "bad kind: $(cat "$work/err")"
expect_exit 2 "$cli" virtual show
expect_exit 2 "$cli" --virtual "$drive" virtual frobnicate

# Burn an image made by genisoimage, then export it and compare.
mkdir -p "$work/files"
head -c 1500000 /dev/urandom >"$work/files/random.bin"
echo "virtual drive test" >"$work/files/readme.txt"
genisoimage -quiet -J -V VIRTUALTEST -o "$work/image.iso" "$work/files"
"$cli" --virtual "$drive" burn "$work/image.iso" --no-eject >/dev/null
"$cli" --virtual "$drive" virtual show | grep -qx 'state: complete' || fail "burn did not complete"
"$cli" --virtual "$drive" virtual export "$work/export" >/dev/null
size=$(stat -c %s "$work/image.iso")
cmp -n "$size" "$work/image.iso" "$work/export/track01.iso" || fail "exported track differs"
isoinfo -d -i "$work/export/track01.iso" | grep -q 'Volume id: VIRTUALTEST' || fail "isoinfo"

# Eject takes the medium out and leaves the tray open.
"$cli" --virtual "$drive" virtual eject
"$cli" --virtual "$drive" virtual show | grep -qx 'tray: open' || fail "eject: tray"
"$cli" --virtual "$drive" virtual show | grep -qx 'medium: none' || fail "eject: medium"

# Damaged metadata: a clear message, the data file untouched.
"$cli" --virtual "$drive" virtual insert dvd+rw --from "$work/image.iso"
before=$(md5sum <"$drive/medium.data")
echo "not metadata" >"$drive/drive.meta"
expect_exit 2 "$cli" --virtual "$drive" drives
grep -q "drive.meta: line 1: not a virtual drive metadata file" "$work/err" || fail "corrupt: $(cat "$work/err")"
expect_exit 1 "$cli" --virtual "$drive" virtual show
[ "$(md5sum <"$drive/medium.data")" = "$before" ] || fail "data file changed"
echo "virtual_drive: ok"
