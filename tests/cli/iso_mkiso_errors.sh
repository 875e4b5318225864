#!/usr/bin/env bash
# maple-cli mkiso: how PATHs are added, and every way a build can fail.
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "iso_mkiso_errors: FAIL: $*" >&2; exit 1; }
# expect CODE TEXT -- command...: exit code CODE and TEXT in standard error.
expect() {
    local code=$1 text=$2
    shift 3
    set +e
    "$@" >"$work/out" 2>"$work/err"
    local got=$?
    set -e
    [ "$got" -eq "$code" ] || fail "$* exited $got, not $code: $(cat "$work/err")"
    grep -qF -- "$text" "$work/err" || fail "$*: no \"$text\" in: $(cat "$work/err")"
}

mkdir -p "$work/src/Photos/2024" "$work/src/docs"
echo one >"$work/src/Photos/2024/a.jpg"
echo readme >"$work/src/docs/README"
echo twin >"$work/src/docs/Readme"
echo note >"$work/src/note.txt"

# Usage errors.
expect 2 "needs -o" -- "$cli" mkiso "$work/src"
expect 2 "at least one" -- "$cli" mkiso -o "$work/x.iso"
expect 2 "--date needs" -- "$cli" mkiso -o "$work/x.iso" --date "2024-13-01 00:00:00" "$work/src"
expect 2 "unknown option --bogus" -- "$cli" mkiso -o "$work/x.iso" --bogus "$work/src"

# PATHs are added as a drop on the root: folders with their content, files into the root.
"$cli" mkiso -o "$work/drop.iso" --date "2024-10-03 14:05:09" "$work/src/Photos/" "$work/src/note.txt" \
    "$work/src/docs" 2>"$work/err"
grep -qF "$work/src/docs/Readme: a file of that name is already there; kept as \"Readme (2)\"" "$work/err" ||
    fail "case twin not reported: $(cat "$work/err")"
listing=$(isoinfo -i "$work/drop.iso" -J -f | sort | tr '\n' ' ')
[ "$listing" = "/Photos /Photos/2024 /Photos/2024/a.jpg /docs /docs/README /docs/Readme (2) /note.txt " ] || fail "listing: $listing"
# The given date, with the local offset (+8 h at Asia/Shanghai is 32 quarter hours).
TZ=Asia/Shanghai "$cli" mkiso -o "$work/dated.iso" --date "2024-10-03 14:05:09" "$work/src/note.txt"
date_bytes=$(od -An -tx1 -j $((16 * 2048 + 813)) -N 17 "$work/dated.iso" | tr -d ' \n')
[ "$date_bytes" = "3230323431303033313430353039303020" ] || fail "creation date bytes $date_bytes"
# Building twice gives the same bytes.
TZ=Asia/Shanghai "$cli" mkiso -o "$work/again.iso" --date "2024-10-03 14:05:09" "$work/src/note.txt"
cmp -s "$work/dated.iso" "$work/again.iso" || fail "two builds differ"
# Volume labels: one for both trees, or a separate Joliet one.
"$cli" mkiso -o "$work/label.iso" --volume-id "my disc" --joliet-volume-id "Mein Disk" "$work/src/note.txt"
isoinfo -d -i "$work/label.iso" | grep -q "^Volume id: MY_DISC$" || fail "ISO 9660 label"
joliet_label=$(/usr/bin/python3 -c 'import pycdlib, sys
iso = pycdlib.PyCdlib(); iso.open(sys.argv[1])
print(iso.joliet_vd.volume_identifier.decode("utf-16-be").rstrip("\u2000"))' "$work/label.iso")
[ "$joliet_label" = "Mein Disk" ] || fail "Joliet label \"$joliet_label\""

# Failures: nothing that looks like a finished image is left behind.
expect 1 "cannot add $work/missing" -- "$cli" mkiso -o "$work/x.iso" "$work/missing"
expect 1 "cannot add /" -- "$cli" mkiso -o "$work/x.iso" /
expect 1 "cannot create $work/no/such/dir/x.iso:" -- "$cli" mkiso -o "$work/no/such/dir/x.iso" "$work/src"
truncate -s 4G "$work/huge.bin"  # sparse
expect 1 "$work/huge.bin: the file is 4 GiB or larger" -- "$cli" mkiso -o "$work/x.iso" "$work/huge.bin"
[ ! -e "$work/x.iso" ] && ! ls "$work" | grep -q part || fail "refused build left a file"
rm "$work/huge.bin"
cp "$work/src/note.txt" "$work/src/backup.iso"
expect 1 "is one of the files of the disc" -- "$cli" mkiso -o "$work/src/backup.iso" "$work/src"
[ "$(cat "$work/src/backup.iso")" = note ] || fail "the source was overwritten"
ln "$work/src/backup.iso" "$work/alias.iso"
expect 1 "is one of the files of the disc" -- "$cli" mkiso -o "$work/alias.iso" "$work/src"
rm "$work/src/backup.iso" "$work/alias.iso"
# A full disk: the file size limit makes writes fail; the old image stays as it was.
head -c 300000 /dev/urandom >"$work/big.bin"
echo "old image" >"$work/full.iso"
expect 1 "cannot write $work/full.iso." -- bash -c "trap '' XFSZ; ulimit -f 200; exec \"\$0\" \"\$@\"" \
    "$cli" mkiso -o "$work/full.iso" "$work/big.bin"
[ "$(cat "$work/full.iso")" = "old image" ] && ! ls "$work" | grep -q part || fail "write error left a file"
# A source file that cannot be read: the image is complete, the exit code says it is not right.
unreadable=$(find /sys -maxdepth 4 -type f -perm 0200 -size +0 2>/dev/null | head -1 || true)
if [ -n "$unreadable" ]; then
    expect 1 "could not read $unreadable" -- "$cli" mkiso -o "$work/zeros.iso" "$work/src/note.txt" "$unreadable"
    [ -s "$work/zeros.iso" ] || fail "no image after an unreadable source"
else
    echo "iso_mkiso_errors: note: no write-only sysfs attribute here; unreadable sources are covered by core_iso_tests"
fi
echo "iso_mkiso_errors: ok"
