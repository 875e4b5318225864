#!/usr/bin/env bash
# Images built by maple-cli mkiso, read back by three independent readers
# (xorriso, isoinfo from genisoimage, pycdlib): every Joliet path, size and
# file content must equal the source tree.
#
# The images break ISO 9660 rules on purpose (short names up to 35
# characters without ";1", unsorted records and path tables, depth beyond 8,
# an extra zero sector after exact multiples of 2048, empty files at extent
# 0, Joliet names beyond 64 characters). The readers therefore run with:
#   xorriso -abort_on FATAL -return_with FATAL 0   (warnings and SORRY allowed)
#   isoinfo -J, pycdlib joliet_path=...            (contents through the Joliet tree)
set -u
tools=$(cd "$(dirname "$0")/../tools" && pwd)
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"
py=/usr/bin/python3  # the Debian python that has python3-pycdlib

"$py" "$tools/iso_make_tree.py" tree 3000 || fail "iso_make_tree"
"$CLI" mkiso -o out.iso --volume-id "Oracle Test" tree 2>err || fail "mkiso: $(cat err)"
[ ! -s err ] || fail "mkiso printed on a non-terminal: $(cat err)"

# xorriso: extract the Joliet tree and compare it with the source.
xorriso -abort_on FATAL -return_with FATAL 0 -local_charset UTF-8 -joliet on -indev out.iso \
    -osirrox on -extract /tree xorriso >xorriso.log 2>&1 || { cat xorriso.log; fail xorriso; }
"$py" "$tools/iso_compare.py" folder xorriso tree || fail "xorriso tree differs"

# pycdlib: walk the Joliet tree, read every file.
"$py" "$tools/iso_compare.py" pycdlib out.iso tree /tree || fail "pycdlib tree differs"

# isoinfo: names and sizes of every entry, contents of the ASCII-named files.
"$py" "$tools/iso_compare.py" isoinfo out.iso tree /tree || fail "isoinfo tree differs"

# The volume as isoinfo describes it.
isoinfo -d -i out.iso >pvd.txt
grep -q "^Volume id: ORACLE_TEST$" pvd.txt || fail "volume id: $(grep 'Volume id' pvd.txt)"
grep -q "^Application id: MAPLE CD/DVD WRITER$" pvd.txt || fail "application id"
grep -q "Joliet with UCS level 3 found" pvd.txt || fail "no Joliet descriptor"
sectors=$(( $(stat -c %s out.iso) / 2048 ))
grep -q "^Volume size is: $sectors$" pvd.txt || fail "volume size is not $sectors"

# The checks can fail: a changed byte in a file's data is found.
cp out.iso bad.iso
lba=$(isoinfo -i bad.iso -J -l | awk '/size_65536.bin/ { gsub(/\[/, ""); print $(NF-2) }')
printf 'X' | dd of=bad.iso bs=1 seek=$((lba * 2048 + 100)) conv=notrunc status=none
if "$py" "$tools/iso_compare.py" pycdlib bad.iso tree /tree >/dev/null; then
    fail "a corrupted image passed the comparison"
fi

# Without Joliet only the ISO 9660 tree exists; every file is still there and readable.
"$CLI" mkiso -o plain.iso --no-joliet tree/sizes tree/names || fail "mkiso --no-joliet"
isoinfo -d -i plain.iso | grep -q "NO Joliet present" || fail "--no-joliet image has Joliet"
count=$(xorriso -abort_on FATAL -return_with FATAL 0 -indev plain.iso -find / -type f 2>/dev/null | wc -l)
[ "$count" -eq 35 ] || fail "--no-joliet image lists $count files, not 35"
xorriso -abort_on FATAL -return_with FATAL 0 -indev plain.iso -osirrox on \
    -extract /SIZES/SIZE_65536.BIN plain.bin >/dev/null 2>&1
cmp -s plain.bin tree/sizes/size_65536.bin || fail "ISO 9660 tree content differs"
finish iso_oracles
