#!/bin/bash
# Double-layer DVDs and Blu-ray discs on the virtual drive from end to end:
# recorded and verified, copied back to an identical image; a BD-RE and a new
# DVD+RW formatted at their first recording, a BD-RE erased (quick and full)
# and recorded again; what a Blu-ray recording sends (no Write Parameters
# page, SET STREAMING, the Blu-ray closing functions); test mode and audio
# refused on BD; the disc information.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"
v() { LC_ALL=en_US.UTF-8 "$CLI" --virtual drive "$@"; }

mkdir tree
head -c 3000000 /dev/urandom >tree/data.bin
echo "蓝光" >tree/note.txt
"$CLI" mkiso -o image.iso tree >/dev/null 2>&1 || fail "mkiso"
size=$(stat -c %s image.iso)
"$CLI" virtual create drive >/dev/null || fail "virtual create"

# record KIND [insert options]: a verified recording (traced to trace-KIND.txt)
# and its copy back to copy-KIND.iso, which must be the image byte for byte.
record() {
    local kind=$1
    shift
    insert "$kind" "$@"
    v --trace burn --verify --no-eject image.iso >out.txt 2>"trace-$kind.txt" ||
        fail "$kind: burn exited $?: $(grep -v '^trace' "trace-$kind.txt" | tail -3)"
    grep -q "Verified: the" "trace-$kind.txt" || fail "$kind: not verified"
    v copy --to-iso "copy-$kind.iso" >out.txt 2>err.txt || fail "$kind: copy: $(cat err.txt)"
    cmp -s "copy-$kind.iso" image.iso || fail "$kind: the copy differs from the image"
}
# sent KIND OPCODE: whether the recording of KIND sent a command of OPCODE.
sent() { grep -q "^trace: $2 " "trace-$1.txt"; }

for kind in bd-r bd-r-dl bd-re dvd+r-dl dvd-r-dl; do record "$kind"; done
show | grep -q "state: appendable" && fail "bd-r-dl: a fixed disc stays open: $(show)"

# Blu-ray: no Write Parameters page, speeds by SET STREAMING, BD-R finalised with 110b.
for kind in bd-r bd-re; do
    sent $kind 55 && fail "$kind: MODE SELECT sent to a Blu-ray recorder"
    sent $kind B6 || fail "$kind: no SET STREAMING"
done
grep -q "^trace: 5B 00 06 " trace-bd-r.txt || fail "bd-r: not finalised with 110b"
grep -q "^trace: 5B 00 05 " trace-dvd+r-dl.txt || fail "dvd+r-dl: not finalised with 101b"
sent dvd-r-dl 55 || fail "dvd-r-dl: no Write Parameters page"
sent bd-r 04 && fail "bd-r: formatted"
sent bd-re 04 || fail "bd-re: not formatted before its first recording"

# A new DVD+RW is formatted first, an unformatted BD-RE is blank.
record dvd+rw --unformatted
sent dvd+rw 04 || fail "dvd+rw --unformatted: not formatted"
insert bd-re
show | grep -q "format: none" || fail "a new bd-re is formatted: $(show)"
v info >out.txt 2>&1
grep -q "^Disc type: *BD-RE" out.txt || fail "info: $(cat out.txt)"
grep -q "^Disc status: *Empty" out.txt || fail "a new bd-re is not empty: $(cat out.txt)"

# BD-RE: erased quick and full, recorded again after each.
for how in "" --full; do
    v erase --yes $how >out.txt 2>err.txt || fail "erase $how: $(cat err.txt)"
    v info >out.txt 2>&1
    grep -q "^Disc status: *Empty" out.txt || fail "erase $how left: $(cat out.txt)"
    v burn --no-eject image.iso >out.txt 2>err.txt || fail "burn after erase $how: $(cat err.txt)"
    v info >out.txt 2>&1
    grep -q "^Disc status: *Complete" out.txt || fail "after erase $how and burn: $(cat out.txt)"
done

# Blu-ray cannot simulate, nor hold audio.
insert bd-r
expect 1 "cannot be recorded in test mode" v burn --test image.iso
sox -n -r 44100 -b 16 -c 2 a.wav synth 1 sine 440 2>/dev/null || fail "sox"
expect 1 "DVD" v audio a.wav
show | grep -q "state: blank" || fail "a refused recording touched the disc: $(show)"

finish "Blu-ray and double-layer media"
