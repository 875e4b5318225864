#!/usr/bin/env bash
# A file of 5 GiB on a data disc: a sparse source (data at its start, around
# the boundary of its two sections at 2^32 - 2048 bytes and at its end) and
# small files, built by maple-cli mkiso. xorriso, pycdlib, bsdtar and 7-Zip
# list it with its full size, and its content streamed out of the image by
# bsdtar and 7-Zip equals the source's byte for byte (compared as it streams,
# never written to disk). The image keeps the source's holes. Put in a
# virtual drive as a pressed DVD, it is copied back by copy --to-iso byte for
# byte, holes kept. Burned as the open first session of a DVD+R DL, a small
# file is added by `add`: xorriso, from the second session, finds every file,
# big.bin with its full size and its data where the first session put it;
# the disc copied by copy --to-iso holds the same view. Everything lives in
# the test's own folder; the files take a few megabytes of disk.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"
py=/usr/bin/python3

# Room for the data, and a file system that keeps holes, or no test.
free_kb=$(df -Pk . | awk 'NR == 2 { print $4 }')
if [ "$free_kb" -lt $((512 * 1024)) ]; then
    echo "iso_large_files: skipped, only ${free_kb} kB free in $WORK (512 MB wanted)"
    exit 77
fi
truncate -s 1G probe.bin
if [ "$(stat -c %b probe.bin)" -gt 0 ]; then
    echo "iso_large_files: skipped, the file system of $WORK keeps no holes"
    exit 77
fi
rm probe.bin

# allocated FILE: the bytes the file system holds for it.
allocated() { echo $(($(stat -c %b "$1") * $(stat -c %B "$1"))); }

mib=$((1 << 20)) section=4294965248
size=$((5 * (1 << 30) + 1001))
truncate -s $size big.bin
for at in 0 $((section - mib)) $((size - mib)); do
    head -c $((at == 0 || at == size - mib ? mib : 2 * mib)) /dev/urandom |
        dd of=big.bin seek=$at oflag=seek_bytes conv=notrunc bs=64K iflag=fullblock status=none
done
mkdir small
echo "before" >small/a.txt
head -c 5000 /dev/urandom >small/b.bin
"$CLI" mkiso -o big.iso --volume-id "Large" small/a.txt big.bin small/b.bin 2>err ||
    fail "mkiso: $(cat err)"
[ "$(allocated big.iso)" -lt $((32 * mib)) ] || fail "the image takes $(allocated big.iso) bytes"

# Each reader lists the file once, with its full size.
listed=$(xorriso -abort_on FATAL -return_with FATAL 0 -indev big.iso -find /big.bin -exec lsdl 2>/dev/null |
    awk '$NF == "'"'/big.bin'"'" { print $5 }')
[ "$listed" = $size ] || fail "xorriso lists big.bin with \"$listed\" bytes"
for tree in joliet_path=/big.bin iso_path=/BIG.BIN; do
    listed=$("$py" - big.iso "$tree" <<'PY'
import pycdlib, sys
iso = pycdlib.PyCdlib()
iso.open(sys.argv[1])
kind, path = sys.argv[2].split("=")
names = [child.file_identifier() for child in iso.list_children(**{kind: "/"})]
record = iso.get_record(**{kind: path})
count, size = names.count(record.file_identifier()), 0
while record is not None:  # the sections, as pycdlib links them
    size += record.get_data_length()
    record = record.data_continuation
print(count, size)
PY
    )
    [ "$listed" = "1 $size" ] || fail "pycdlib ($tree): \"$listed\""
done
listed=$(bsdtar -tvf big.iso | awk '$NF == "big.bin" { print $5 }')
[ "$listed" = $size ] || fail "bsdtar lists big.bin with \"$listed\" bytes"
listed=$(7zz l -slt big.iso | awk -F' = ' '$1 == "Path" { path = $2 } $1 == "Size" && path == "big.bin" { print $2 }')
[ "$listed" = $size ] || fail "7-Zip lists big.bin with \"$listed\" bytes"

# The content, streamed and compared with the source (a short stream differs too).
bsdtar -xOf big.iso big.bin | cmp -s - big.bin || fail "bsdtar: big.bin differs"
7zz e -so big.iso big.bin 2>/dev/null | cmp -s - big.bin || fail "7-Zip: big.bin differs"
bsdtar -xOf big.iso b.bin | cmp -s - small/b.bin || fail "the file after big.bin differs"
bsdtar -xOf big.iso a.txt | cmp -s - small/a.txt || fail "the file before big.bin differs"

# A pressed DVD of the image, copied back.
"$CLI" virtual create drive >/dev/null || fail "virtual create"
insert dvd-rom --from big.iso
[ "$(allocated drive/medium.data)" -lt $((32 * mib)) ] || fail "the medium takes $(allocated drive/medium.data) bytes"
v copy --to-iso copy.iso >out.txt 2>err.txt || fail "copy --to-iso: $(tail -n 2 err.txt)"
cmp -s big.iso copy.iso || fail "the copy differs from the image"
[ "$(allocated copy.iso)" -lt $((32 * mib)) ] || fail "the copy takes $(allocated copy.iso) bytes"

# check_view IMAGE START: xorriso, loading the session at START, lists the
# four files, big.bin with its full size; the small ones hold their bytes,
# and big.bin's data at its first section holds the source's pieces.
check_view() {
    local image=$1 start=$2 lba at
    rm -rf view && mkdir view
    xorriso -abort_on FATAL -load sbsector "$start" -indev "$image" -find / -type f -exec lsdl \
        -- -find /big.bin -exec report_sections -- -osirrox on -extract /a.txt view/a.txt \
        -extract /b.bin view/b.bin -extract /added.txt view/added.txt >view.txt 2>&1 ||
        fail "xorriso $image: $(tail -n 2 view.txt)"
    listed=$(awk '/^-/ && $NF == "'"'/big.bin'"'" { print $5 }' view.txt)
    [ "$listed" = $size ] || fail "$image: xorriso lists big.bin with \"$listed\" bytes"
    for file in small/a.txt small/b.bin added.txt; do
        cmp -s "$file" "view/${file##*/}" || fail "$image: ${file##*/} differs"
    done
    lba=$(awk -F' *, *' '$1 ~ /^File data lba: *0$/ { print $2 }' view.txt)
    [ -n "$lba" ] || { fail "$image: no sections of big.bin: $(cat view.txt)"; return; }
    for at in 0 $((section - mib)) $((section)) $((size - mib)); do
        cmp -s <(dd if="$image" iflag=skip_bytes,count_bytes skip=$((lba * 2048 + at)) \
            count=$mib bs=64K status=none) \
            <(dd if=big.bin iflag=skip_bytes,count_bytes skip=$at count=$mib bs=64K status=none) ||
            fail "$image: big.bin differs at $at"
    done
}

# An open first session on a DVD+R DL, continued; the disc copied.
insert dvd+r-dl
v burn big.iso --no-fix --no-eject >out.txt 2>err.txt || fail "burn --no-fix: $(tail -n 2 err.txt)"
echo "added later" >added.txt
v add --no-eject added.txt >out.txt 2>err.txt || fail "add: $(tail -n 2 err.txt)"
start=$(v info | sed -n 's/^Session 2: *start \([0-9]*\),.*/\1/p')
[ -n "$start" ] || fail "add recorded no second session: $(v info)"
check_view drive/medium.data "${start:-0}"
v copy --to-iso copy2.iso >out.txt 2>err.txt || fail "copy of two sessions: $(tail -n 2 err.txt)"
check_view copy2.iso 0
[ "$(allocated copy2.iso)" -lt $((32 * mib)) ] || fail "the copy takes $(allocated copy2.iso) bytes"
finish iso_large_files
