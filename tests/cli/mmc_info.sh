#!/bin/bash
# maple-cli info and speeds on a virtual drive: what the disc information
# window shows for blank, written and missing media.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"
# field CAPTION: the value printed after CAPTION by the last info.
field() { sed -n "s/^$1: *//p" info.txt; }
# expect_info TYPE SESSIONS TRACK DISC SESSION
expect_info() {
    v info >info.txt 2>err.txt || fail "info exited $?: $(cat err.txt)"
    local got
    got="$(field 'Disc type')|$(field 'Sessions')|$(field 'Last track')|$(field 'Disc status')|$(field 'Last session status')"
    [ "$got" = "$1|$2|$3|$4|$5" ] || fail "info: got $got, expected $1|$2|$3|$4|$5"
}

"$CLI" virtual create drive >/dev/null || fail "virtual create"
expect_info N/A N/A N/A N/A N/A

v virtual insert cd-r >/dev/null || fail "insert cd-r"
expect_info CD-R 1 1 Empty Empty

v virtual insert dvd+rw >/dev/null || fail "insert dvd+rw"
expect_info DVD+RW 1 1 Empty Empty

echo hello >hello.txt
"$CLI" mkiso -o image.iso hello.txt >/dev/null 2>&1 || fail "mkiso"
v virtual insert dvd+rw --from image.iso >/dev/null || fail "insert dvd+rw --from"
expect_info DVD+RW 1 1 Complete Complete
v virtual insert --replace cd-rom --from image.iso >/dev/null || fail "insert cd-rom --from"
expect_info CD-ROM 1 1 Complete Complete

v virtual eject >/dev/null || fail "virtual eject"
expect_info N/A N/A N/A N/A N/A

# A drive without media events is asked TEST UNIT READY instead.
v virtual insert cd-rw >/dev/null || fail "insert cd-rw"
echo "fault no-media-events" >>drive/drive.meta
expect_info CD-RW 1 1 Empty Empty

# Speeds: four lines of kB/s; a CD recorder's maximum stays below the DVD step.
v speeds >speeds.txt 2>err.txt || fail "speeds exited $?: $(cat err.txt)"
[ "$(grep -c ' kB/s$' speeds.txt)" = 4 ] || fail "speeds: $(cat speeds.txt)"
max=$(sed -n 's/^Maximum write speed: *\([0-9]*\) kB\/s$/\1/p' speeds.txt)
[ -n "$max" ] && [ "$max" -gt 0 ] || fail "speeds: no maximum write speed"

v info --verbose >/dev/null 2>err.txt
[ $? = 2 ] && grep -q '^maple-cli: unknown option --verbose' err.txt || fail "info --verbose"

finish "mmc_info"
