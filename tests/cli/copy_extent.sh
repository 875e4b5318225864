#!/bin/bash
# maple-cli copy on a virtual drive: what is copied and when a copy ends.
# The copy is the whole disc: the ISO 9660 volume with what a hybrid image
# appends after it, the data track of a disc without a volume (a Track At
# Once run-out left out), the whole formatted DVD+RW; a copy of an image
# this program burned equals the image. A session of several tracks is
# refused by name; a disc of several sessions is copied as its last session
# shows it. Sectors are tried again only on answers that may
# change: a removed disc or an audio CD ends the copy at once, BadCopy or
# not, with no image.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"
# copied NAME IMAGE: the disc in the drive copies to exactly IMAGE's bytes.
copied() {
    rm -f c.iso
    v copy --to-iso c.iso >out.txt 2>err.txt || { fail "$1: copy exited $?: $(cat err.txt)"; return; }
    cmp -s c.iso "$2" || fail "$1: the copy ($(stat -c %s c.iso) bytes) differs from $2 ($(stat -c %s "$2") bytes)"
    grep -q "^maple-cli: 0 unreadable sectors were filled with zeros$" err.txt || fail "$1: no zero count: $(cat err.txt)"
}
# no_copy NAME: the copy left neither an image nor a partial file.
no_copy() { ls | grep -q '^c\.iso' && fail "$1: a copy file was left"; rm -f c.iso; }
reads() { grep -c '^trace: 28 ' err.txt; }
# bad_copy: copy --bad-copy with the trace, at most a minute; exit code in $code.
bad_copy() {
    timeout 60 "$CLI" --virtual drive --trace copy --to-iso c.iso --bad-copy >out.txt 2>err.txt
    code=$?
}

mkdir tree && head -c 300000 /dev/urandom >tree/data.bin
"$CLI" mkiso -o image.iso tree >/dev/null 2>&1 || fail "mkiso"
# No volume at all (a UDF-only or raw disc); longer than the shortest CD track.
head -c $((400 * 2048)) /dev/urandom >raw.img
head -c 300000 /dev/urandom >part.img
xorriso -as mkisofs -o hybrid-mbr.iso -no-pad -append_partition 2 0xef part.img tree >/dev/null 2>&1 ||
    fail "xorriso (MBR)"
xorriso -as mkisofs -o hybrid-gpt.iso -no-pad -appended_part_as_gpt -append_partition 2 0xef part.img \
    tree >/dev/null 2>&1 || fail "xorriso (GPT)"
"$CLI" virtual create drive >/dev/null || fail "virtual create"

# Finished discs as a factory makes them.
for kind in cd-rom dvd-rom; do
    for source in image.iso raw.img hybrid-mbr.iso hybrid-gpt.iso; do
        insert "$kind" --from "$source"
        copied "$source on $kind" "$source"
    done
done

# Discs this program burned: sequential media end with the image (a CD-R's
# run-out left out), with or without a volume, closed or left open.
for kind in cd-r dvd-r dvd+r; do
    for source in image.iso raw.img hybrid-gpt.iso; do
        insert "$kind"
        v burn --raw --no-eject "$source" >/dev/null 2>&1 || fail "burn $source on $kind"
        copied "$source burned on $kind" "$source"
    done
done
insert cd-r
v burn --no-fix --no-eject image.iso >/dev/null 2>&1 || fail "burn --no-fix"
v virtual show | grep -q 'state: appendable' || fail "--no-fix closed the disc"
copied "an open single-session CD-R" image.iso

# A DVD+RW without a volume: the whole formatted medium, and the message says so.
insert dvd+rw --from raw.img
sed -i 's/^capacity .*/capacity 400/' drive/drive.meta  # a medium of the image's size
copied "a DVD+RW without a volume" raw.img
grep -q "the whole formatted disc (400 blocks) was copied" err.txt || fail "no whole-medium note: $(cat err.txt)"

# A disc of several sessions is copied as its last session shows it: one
# whose last session holds no ISO 9660 volume is refused by name (in words
# of copying), after reading only where that volume's descriptors would be.
rm c.iso
insert cd-r --from image.iso
sed -i 's/^sessions 1 finalized$/sessions 2 finalized/' drive/drive.meta
echo "track 2 session 2 data start 11576 length 300 run-out 2 closed" >>drive/drive.meta
LC_ALL=en_US.UTF-8 expect 1 "its last one holds no ISO 9660 file system (audio or another format): it cannot be copied" \
    v --trace copy --to-iso c.iso
[ "$(reads)" -le 1 ] || fail "$(reads) sectors were read from a two-session disc"
no_copy "two sessions"
sox -n -r 44100 -b 16 -c 2 song.wav synth 5 sine 440 2>/dev/null || fail "sox"
insert cd-r
v audio --no-eject song.wav song.wav >/dev/null 2>&1 || fail "audio"
expect 1 "The disc holds 2 tracks; only single-track discs can be copied yet." v copy --to-iso c.iso
no_copy "two audio tracks"

# An audio CD and a removed disc end a BadCopy copy at once (not after 62
# attempts of every sector), with no image.
insert cd-r
v audio --no-eject song.wav >/dev/null 2>&1 || fail "audio"
bad_copy  # (exit 124 would be the time limit)
[ "$code" = 1 ] || fail "audio CD: exit $code: $(grep -v '^trace' err.txt)"
grep -q "The disc holds audio tracks, which cannot be copied as data. (05/64/00)" err.txt || fail "audio CD: $(grep -v '^trace' err.txt)"
[ "$(reads)" -le 3 ] || fail "audio CD: $(reads) reads"
no_copy "an audio CD"
insert cd-rom --from image.iso
fault fail 28 skip 3 count 1000000 sense 02 3A 00
bad_copy
[ "$code" = 1 ] || fail "removed disc: exit $code: $(grep -v '^trace' err.txt)"
grep -q "The disc was taken out of the drive. (02/3A/00)" err.txt || fail "removed disc: $(grep -v '^trace' err.txt)"
[ "$(reads)" = 4 ] || fail "removed disc: $(reads) reads"
no_copy "a removed disc"

finish "copy extent"
