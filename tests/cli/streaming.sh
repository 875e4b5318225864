#!/bin/bash
# Images streamed to the virtual drive: "mkiso -o - | burn -" records the disc
# that "mkiso -o FILE" and "burn FILE" record, with no temporary file; a
# source lost mid-stream, an early end, data after the announced end and a
# hybrid image; buffer underrun protection against the drive's underrun fault.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"
v() { LC_ALL=en_US.UTF-8 "$CLI" --virtual drive "$@"; }
export TMPDIR=$WORK/tmp
mkdir -p tmp temp
DATE="2024-05-06 07:08:09"
track_lines() { v virtual show | grep -E "^ *(track|state)"; }
# Nothing but the last job's log (last-job.log, kept for bug reports).
nothing_in_temp() {
    [ -z "$(find temp tmp -mindepth 1 ! -name last-job.log)" ] || fail "$1 left: $(find temp tmp)"
}

mkdir -p tree/sub && head -c 300000 /dev/urandom >tree/a.bin && echo "streamed" >tree/sub/b.txt
# A pipe takes no hole: 1.5 MB of zeros (a hole in the file) go into the stream as zeros.
truncate -s 1500000 tree/sparse.bin && echo "after the hole" >>tree/sparse.bin
"$CLI" mkiso --date "$DATE" -o ref.iso tree >/dev/null 2>&1 || fail "mkiso -o ref.iso"
"$CLI" virtual create drive >/dev/null || fail "virtual create"

# The two pipelines make the same disc; the streamed one verifies and leaves nothing behind.
insert cd-r
v burn --no-eject ref.iso >/dev/null 2>&1 || fail "burn ref.iso"
track_lines >ref.tracks
v virtual export ref-disc >/dev/null || fail "export"
insert cd-r
"$CLI" mkiso --date "$DATE" -o - tree 2>mk.err | v burn --no-eject --verify - >out.txt 2>err.txt ||
    fail "mkiso -o - | burn - failed: $(cat mk.err err.txt)"
grep -q "^recorded: standard input" out.txt || fail "burn - output: $(cat out.txt)"
grep -q "Verified: the" err.txt || fail "the streamed recording was not verified: $(cat err.txt)"
v virtual export stream-disc >/dev/null || fail "export"
cmp ref-disc/track01.iso stream-disc/track01.iso || fail "the streamed disc differs"
[ "$(track_lines)" = "$(cat ref.tracks)" ] || fail "track layout differs: $(track_lines)"
nothing_in_temp "mkiso -o - | burn -"

# A hybrid image (a partition appended after the volume) is recorded whole.
head -c 300000 /dev/urandom >part.img
xorriso -as mkisofs -o hybrid.iso -no-pad -append_partition 2 0xef part.img tree >/dev/null 2>&1 ||
    fail "xorriso"
insert dvd-r
v burn --no-eject - <hybrid.iso >out.txt 2>err.txt || fail "burn - of a hybrid image: $(cat err.txt)"
v virtual export hybrid-disc >/dev/null || fail "export"
cmp -n "$(stat -c %s hybrid.iso)" hybrid.iso hybrid-disc/track01.iso ||
    fail "the hybrid image was not recorded whole"

# Zeros after the announced end are read and ignored; --size records a stream without a volume.
insert cd-r
{ cat ref.iso; head -c 100000 /dev/zero; } | v burn --no-eject - >/dev/null 2>err.txt ||
    fail "trailing zeros refused: $(cat err.txt)"
head -c $((300 * 2048)) /dev/urandom >raw.img
insert cd-r
v burn --no-eject --size $((300 * 2048)) - <raw.img >/dev/null 2>err.txt || fail "--size: $(cat err.txt)"
v virtual export raw-disc >/dev/null && cmp raw.img raw-disc/track01.iso || fail "--size disc differs"
insert cd-r
expect 1 "holds no ISO 9660 volume at sector 16; give its size with --size BYTES" v burn - <raw.img
show | grep -q "state: blank" || fail "a stream of unknown length touched the disc"
expect 1 "would cut it" v burn --size 4096 - <ref.iso

# Data after the announced end fails the recording before the track is closed.
insert cd-r
{ cat ref.iso; echo "more"; } >trailing.bin
expect 1 "after the $(stat -c %s ref.iso) bytes it announced; record the image from a file instead" \
    v burn - <trailing.bin
grep -q "The disc" err.txt || fail "the disc state is not named: $(cat err.txt)"

# A stream that ends early fails by name and says what the disc holds.
insert cd-r
expect 1 "standard input ended after 100000 of the" v burn - < <(head -c 100000 ref.iso)
grep -q "The disc" err.txt || fail "the disc state is not named: $(cat err.txt)"

# A source removed, or changed (same size, new date), while the image streams:
# mkiso stops the stream short and names it, burn fails because the stream
# ended early and says what the disc holds.
mkdir -p lost/a lost/b lost/c
head -c 4000000 /dev/urandom >lost/a/big.bin
for i in $(seq -w 0 99); do echo "$i" >lost/b/f$i.txt; done
midstream() {  # ACTION EXPECTED: ACTION runs on lost/c/zlast.txt after 1 MiB of the stream
    echo "last" >lost/c/zlast.txt
    insert cd-r
    { "$CLI" mkiso -o - lost 2>mk.err; echo $? >mk.code; } |
        { dd bs=65536 count=16 iflag=fullblock status=none; $1 lost/c/zlast.txt; cat; } |
        v burn - >out.txt 2>err.txt
    local code=$?
    [ "$code" = 1 ] || fail "burn - after '$1' exited $code"
    [ "$(cat mk.code)" = 1 ] || fail "mkiso -o - after '$1' exited $(cat mk.code)"
    grep -q "could not read .*zlast.txt ($2" mk.err || fail "mkiso did not name the file: $(cat mk.err)"
    grep -q "ended after" err.txt || fail "burn - did not see the early end: $(cat err.txt)"
    grep -q "The disc" err.txt || fail "the disc state is not named: $(cat err.txt)"
}
midstream "rm" ""
midstream "touch -m -d 2001-01-01" "changed after it was checked"
nothing_in_temp "the failed streams"

# The drive's buffer runs empty before its 5th WRITE. BUFE, set because the
# drive offers it, lets the drive wait for the data; without protection that
# WRITE fails with 03/0C/09 and the track stays incomplete.
insert cd-r
fault underrun 5
"$CLI" mkiso --date "$DATE" -o - tree 2>/dev/null | v burn --no-eject - >/dev/null 2>err.txt ||
    fail "an underrun with BUFE failed the recording: $(cat err.txt)"
v virtual export bufe-disc >/dev/null && cmp -n "$(stat -c %s ref.iso)" ref.iso bufe-disc/track01.iso ||
    fail "the recording with BUFE differs"
insert cd-r
fault no-underrun-protection
fault underrun 5
expect 1 "3/0C/09" v burn --no-eject ref.iso
grep -q "Buffer Under-Run" err.txt || fail "the underrun is not named: $(cat err.txt)"
grep -q "track 1 holds only .* incomplete" err.txt || fail "the damaged track is not named: $(cat err.txt)"
clear_faults

# Argument checks.
expect 2 "--size and --fifo-size are for an image read from standard input" v burn --size 4096 ref.iso
expect 2 "--fifo-size needs a size from 1 to 1024 MiB" v burn --fifo-size 0 -

finish "streaming"
