#!/usr/bin/env bash
# maple-cli mkiso: how PATHs are added, and every way a build can fail.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"

mkdir -p src/Photos/2024 src/docs
echo one >src/Photos/2024/a.jpg
echo readme >src/docs/README
echo twin >src/docs/Readme
echo note >src/note.txt

# Usage errors.
expect 2 "needs -o" "$CLI" mkiso src
expect 2 "at least one" "$CLI" mkiso -o x.iso
expect 2 "--date needs" "$CLI" mkiso -o x.iso --date "2024-13-01 00:00:00" src
expect 2 "unknown option --bogus" "$CLI" mkiso -o x.iso --bogus src

# PATHs are added as a drop on the root: folders with their content, files into the root.
expect 0 "src/docs/Readme: a file of that name is already there; kept as \"Readme (2)\"" \
    "$CLI" mkiso -o drop.iso --date "2024-10-03 14:05:09" src/Photos/ src/note.txt src/docs
listing=$(isoinfo -i drop.iso -J -f | LC_ALL=C sort | tr '\n' ' ')
[ "$listing" = "/Photos /Photos/2024 /Photos/2024/a.jpg /docs /docs/README /docs/Readme (2) /note.txt " ] || fail "listing: $listing"
# The given date, with the local offset (+8 h at Asia/Shanghai is 32 quarter hours).
TZ=Asia/Shanghai "$CLI" mkiso -o dated.iso --date "2024-10-03 14:05:09" src/note.txt || fail "dated build"
date_bytes=$(od -An -tx1 -j $((16 * 2048 + 813)) -N 17 dated.iso | tr -d ' \n')
[ "$date_bytes" = "3230323431303033313430353039303020" ] || fail "creation date bytes $date_bytes"
# Building twice gives the same bytes.
TZ=Asia/Shanghai "$CLI" mkiso -o again.iso --date "2024-10-03 14:05:09" src/note.txt || fail "second build"
cmp -s dated.iso again.iso || fail "two builds differ"
# Volume labels: one for both trees, or a separate Joliet one.
"$CLI" mkiso -o label.iso --volume-id "my disc" --joliet-volume-id "Mein Disk" src/note.txt || fail "labels"
isoinfo -d -i label.iso | grep -q "^Volume id: MY_DISC$" || fail "ISO 9660 label"
joliet_label=$(/usr/bin/python3 -c 'import pycdlib, sys
iso = pycdlib.PyCdlib(); iso.open(sys.argv[1])
print(iso.joliet_vd.volume_identifier.decode("utf-16-be").rstrip("\u2000"))' label.iso)
[ "$joliet_label" = "Mein Disk" ] || fail "Joliet label \"$joliet_label\""
# Without a Joliet label of its own the Joliet tree shows the label as typed,
# cut to the 15 characters that survive the descriptor.
"$CLI" mkiso -o follow.iso --volume-id "Holiday-Photos-2026" src/note.txt || fail "one label"
isoinfo -d -i follow.iso | grep -q "^Volume id: HOLIDAY_PHOTOS_2026$" || fail "ISO 9660 label (one label)"
joliet_label=$(/usr/bin/python3 -c 'import pycdlib, sys
iso = pycdlib.PyCdlib(); iso.open(sys.argv[1])
print(iso.joliet_vd.volume_identifier.decode("utf-16-be").rstrip("\u2000\0"))' follow.iso)
[ "$joliet_label" = "Holiday-Photos-" ] || fail "Joliet label follows: \"$joliet_label\""

# Failures: nothing that looks like a finished image is left behind.
expect 1 "cannot add $WORK/missing" "$CLI" mkiso -o x.iso "$WORK/missing"
expect 1 "cannot add /" "$CLI" mkiso -o x.iso /
expect 1 "cannot create no/such/dir/x.iso:" "$CLI" mkiso -o no/such/dir/x.iso src
cp src/note.txt src/backup.iso
expect 1 "is one of the files of the disc" "$CLI" mkiso -o src/backup.iso src
[ "$(cat src/backup.iso)" = note ] || fail "the source was overwritten"
ln src/backup.iso alias.iso
expect 1 "is one of the files of the disc" "$CLI" mkiso -o alias.iso src
rm src/backup.iso alias.iso
# A full disk: the file size limit makes writes fail; the old image stays as it was.
head -c 300000 /dev/urandom >big.bin
echo "old image" >full.iso
expect 1 "cannot write full.iso." bash -c "trap '' XFSZ; ulimit -f 200; exec \"\$0\" \"\$@\"" \
    "$CLI" mkiso -o full.iso big.bin
[ "$(cat full.iso)" = "old image" ] && ! ls | grep -q part || fail "write error left a file"
# A source file that cannot be read: the image is complete, the exit code says it is not right.
unreadable=$(find /sys -maxdepth 4 -type f -perm 0200 -size +0 2>/dev/null | head -1)
if [ -n "$unreadable" ]; then
    expect 1 "could not read $unreadable" "$CLI" mkiso -o zeros.iso src/note.txt "$unreadable"
    [ -s zeros.iso ] || fail "no image after an unreadable source"
fi
finish "iso_mkiso_errors"
