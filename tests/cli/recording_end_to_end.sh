#!/bin/bash
# A data disc from end to end on a virtual CD-R: maple-cli mkiso, burn, copy
# back to an image (compared with the burned image and read by xorriso as the
# independent reader), then a disc-to-disc copy onto a second blank.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"

mkdir -p tree/docs/深层/更深 tree/empty
head -c 1048576 /dev/urandom >tree/random.bin
head -c 6144 /dev/urandom >tree/docs/three-sectors.dat
echo "hello, disc" >tree/docs/深层/更深/你好.txt
: >tree/docs/empty.txt
"$CLI" mkiso -o source.iso tree >mkiso.out 2>&1 || fail "mkiso exited $?: $(cat mkiso.out)"
size=$(stat -c %s source.iso)

"$CLI" virtual create drive >/dev/null || fail "virtual create"
"$CLI" --virtual drive virtual insert cd-r >/dev/null || fail "virtual insert cd-r"
"$CLI" --virtual drive burn source.iso --speed 16 >burn.out 2>burn.err ||
    fail "burn exited $?: $(cat burn.err)"
grep -q "^recorded: source.iso" burn.out || fail "burn did not report success: $(cat burn.out)"
show | grep -q "state: complete" || fail "disc not complete after burn: $(show)"
show | grep -q "tray: open" || fail "tray not ejected after burn"
chunks=$(((size + 32767) / 32768))
show | grep -q "track 1: session 1, data, start 0, length $((chunks * 16 > 300 ? chunks * 16 : 300))" ||
    fail "track length: $(show)"
[ -f source.iso ] || fail "the user's image was deleted"

# The copy reads exactly the volume, although READ CAPACITY counts the
# unreadable run-out blocks of the Track At Once track.
"$CLI" --virtual drive load || fail "load"
"$CLI" --virtual drive copy --to-iso copy.iso >copy.out 2>copy.err ||
    fail "copy exited $?: $(cat copy.err)"
grep -q "^image saved: copy.iso" copy.out || fail "copy did not report the image"
[ "$(stat -c %s copy.iso)" = "$size" ] || fail "copy is $(stat -c %s copy.iso) bytes, image $size"
cmp -n "$size" source.iso copy.iso || fail "the copy differs from the burned image"
ls | grep -q "^copy\.iso\..*\.part$" && fail "a partial image was left"

# xorriso reads the copy: every file of the tree with its content, by its Joliet name.
LC_ALL=C.UTF-8 xorriso -osirrox on -indev copy.iso -extract / extracted >xorriso.out 2>&1 ||
    fail "xorriso cannot read the copy: $(tail -3 xorriso.out)"
diff -r tree extracted/tree >diff.out 2>&1 || fail "extracted tree differs: $(head -5 diff.out)"

# Disc to disc: the copy ejects, a blank goes in, and the image is recorded as task 3.
"$CLI" --virtual drive copy --blank cd-r --no-eject >disc.out 2>disc.err ||
    fail "disc copy exited $?: $(cat disc.err)"
grep -q "^disc copied" disc.out || fail "disc copy did not report success"
grep -q "Insert a blank disc and click OK to continue" disc.err || fail "no insert-a-blank prompt"
show | grep -q "tray: closed" || fail "--no-eject ejected"
"$CLI" --virtual drive virtual export exported >/dev/null || fail "export"
cmp -n "$size" source.iso exported/track01.iso || fail "the second disc differs from the image"
ls temp/*/tempiso.iso >/dev/null 2>&1 && fail "the temporary image was not deleted after the recording"
grep -qx "TempISO=$WORK/temp/job-[0-9-]*/tempiso.iso" config/*.ini || fail "TempISO was not saved"
grep -qx "CDorDVD=0" config/*.ini || fail "CDorDVD was not saved"

finish "recording end to end"
