#!/bin/bash
# maple-cli info, speeds and erase on a virtual drive: what the disc
# information window shows for blank, written and missing media; the erase's
# confirmation, refusals, quick and full BLANK, the DVD+RW overwrite, a write
# error.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"
disc_status() { v info | sed -n 's/^Disc status: *//p'; }
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
fault no-media-events
expect_info CD-RW 1 1 Empty Empty

# Speeds: four lines of kB/s; a CD recorder's maximum stays below the DVD step.
v speeds >speeds.txt 2>err.txt || fail "speeds exited $?: $(cat err.txt)"
[ "$(grep -c ' kB/s$' speeds.txt)" = 4 ] || fail "speeds: $(cat speeds.txt)"
max=$(sed -n 's/^Maximum write speed: *\([0-9]*\) kB\/s$/\1/p' speeds.txt)
[ -n "$max" ] && [ "$max" -gt 0 ] || fail "speeds: no maximum write speed"

v info --verbose >/dev/null 2>err.txt
[ $? = 2 ] && grep -q '^maple-cli: unknown option --verbose' err.txt || fail "info --verbose"

# Erasing.
clear_faults && v virtual eject >/dev/null || fail "virtual eject"
expect 1 "maple-cli: no disc in the drive" v erase --yes

# Without --yes the question is answered No and nothing is sent to the disc.
insert cd-rw --from image.iso
expect 1 "maple-cli: erase not confirmed" v erase
[ "$(disc_status)" = Complete ] || fail "erase without --yes changed the disc"

# Quick erase sends BLANK type 1, full erase type 0.
expect 0 "The disc was erased!" v --trace erase --yes
grep -q '^trace: A1 01 00' err.txt || fail "quick erase: no BLANK type 1"
[ "$(disc_status)" = Empty ] || fail "quick erase left the disc $(disc_status)"
insert cd-rw --from image.iso
expect 0 "The disc was erased!" v --trace erase --full --yes
grep -q '^trace: A1 00 00' err.txt || fail "full erase: no BLANK type 0"
[ "$(disc_status)" = Empty ] || fail "full erase left the disc $(disc_status)"

# CD-R is not rewritable.
insert cd-r
expect 1 "maple-cli: the disc is not rewritable" v --trace erase --yes
grep -q '^trace: A1' err.txt && fail "BLANK sent to a CD-R"

# DVD+RW: twelve 25-block writes of zeros, never BLANK, then it reads as empty.
insert dvd+rw --from image.iso
expect 0 "The disc was erased!" v --trace erase --yes
[ "$(grep -c '^trace: 2A ' err.txt)" = 12 ] || fail "DVD+RW erase: not 12 writes"
grep -q '^trace: A1' err.txt && fail "BLANK sent to a DVD+RW"
[ "$(disc_status)" = Empty ] || fail "DVD+RW erase left the disc $(disc_status)"

# A write error on the DVD+RW ends the erase as a failure.
insert dvd+rw --from image.iso
fault write-error 100
expect 1 "maple-cli: erasing the disc failed" v erase --yes
grep -qF "Erasing the disc failed!" err.txt || fail "no failure message"

# report: the drive's answers for a bug report, read back here byte by byte.
clear_faults
insert cd-r
echo old >report.txt
v report report.txt >out.txt 2>err.txt || fail "report: $(cat err.txt)"
grep -qx "report written: report.txt" out.txt || fail "report output: $(cat out.txt)"
/usr/bin/python3 - report.txt "$(v drives)" <<'PY' || fail "report: $(cat report.txt)"
import re, sys
sections, title = {}, None
for line in open(sys.argv[1]):
    if line.startswith("  ") and title:
        sections[title] += bytes.fromhex(line.split(":", 1)[1])
    else:
        title = line.rstrip("\n")
        sections[title] = b""
inquiry = sections["INQUIRY"]
assert inquiry[0] & 0x1F == 5, "not a CD/DVD device"
assert inquiry[8:36].decode() in sys.argv[2], inquiry  # vendor, product, revision
features = sections["GET CONFIGURATION (every feature)"]
assert int.from_bytes(features[:4], "big") + 4 == len(features)
assert features[6:8] == b"\x00\x09", "current profile is not CD-R"
for page in (0x2A, 0x05):
    data = sections["MODE SENSE(10) page %02Xh, current values" % page]
    assert int.from_bytes(data[:2], "big") + 2 == len(data) and data[8] & 0x3F == page, page
assert any(re.match(r"medium: current profile 0009h, CD-R, \d+ session\(s\), disc Empty", t)
           for t in sections), sections.keys()
PY
# Never written through a link, and nothing left beside it.
ln -s elsewhere.txt link.txt
expect 1 "link.txt" v report link.txt
[ -L link.txt ] && [ ! -e elsewhere.txt ] || fail "the report was written through a link"
ls | grep -q '\.part$' && fail "a partial report was left: $(ls)"

finish "mmc_info"
