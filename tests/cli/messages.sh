#!/bin/bash
# maple-cli's answers on a virtual drive when things go wrong: each names its
# real cause. A drive that never becomes ready is no empty blank; erase asks
# on a terminal and refuses without one; the copy's prompt says to press
# Enter there; a verification without the disc says so; a full file system is
# named; a drive in use is named; sound files the format allows are taken.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"
en() { env LC_ALL=en_US.UTF-8 "$@"; }
# on_terminal INPUT COMMAND...: the command on a terminal, INPUT typed; output in out.txt.
on_terminal() {
    local input=$1
    shift
    printf '%s' "$input" | script -qec "$(printf '%q ' "$@")" /dev/null >out.txt 2>&1
}
"$CLI" virtual create drive >/dev/null || fail "virtual create"
echo hello >hello.txt
"$CLI" mkiso -o image.iso hello.txt >/dev/null 2>&1 || fail "mkiso"

# A drive that never becomes ready (15 s; meanwhile the rest runs).
"$CLI" virtual create slow >/dev/null && "$CLI" --virtual slow virtual insert cd-r >/dev/null &&
    echo "fault not-ready 1000" >>slow/drive.meta || fail "slow drive"
"$CLI" --virtual slow --trace info >slow.out 2>slow.err &
slow=$!

# Erase: asked on a terminal; without one, refused with the way to confirm.
insert cd-rw --from image.iso
on_terminal $'n\n' "$CLI" --virtual drive erase
grep -q '\[y/N\]' out.txt || fail "erase did not ask: $(cat out.txt)"
show | grep -q "state: complete" || fail "answered n, the disc was erased"
on_terminal $'y\n' "$CLI" --virtual drive erase
show | grep -q "state: blank" || fail "answered y, the disc was not erased: $(cat out.txt)"
insert cd-rw --from image.iso
expect 1 "pass --yes to confirm" v erase
show | grep -q "state: complete" || fail "erase without a terminal erased"

# The copy's prompt on a terminal says to press Enter.
insert cd-rom --from image.iso
on_terminal $'\n' env LC_ALL=en_US.UTF-8 "$CLI" --virtual drive copy
grep -q "Put a blank disc into the drive and press Enter to go on." out.txt ||
    fail "copy prompt: $(tr '\r' '\n' <out.txt)"
grep -q "click OK" out.txt && fail "the copy's prompt says to click OK on a terminal"

# A verification without the disc says so, with the drive's answer: at the
# first read, or while the blocks of a group that could not be read are read
# one by one.
for first_read in "" "03 11 00"; do
    insert cd-r
    [ -n "$first_read" ] && fault fail 28 skip 0 count 1 sense $first_read
    fault fail 28 skip 0 count 1000 sense 02 3A 00
    en "$CLI" --virtual drive burn --verify image.iso >out.txt 2>err.txt
    [ $? = 1 ] || fail "verify without the disc: $(cat err.txt)"
    grep -qF "Not verified: the disc could not be read back. The disc was taken out of the drive. (02/3A/00)" \
        err.txt || fail "verify without the disc (first read: ${first_read:-gone}): $(cat err.txt)"
    grep -q "differ" err.txt && fail "a missing disc was reported as blocks that differ"
    clear_faults
done

# A drive in use by another program's recording.
insert cd-r
fault long-write 30
v --trace burn image.iso >burn.out 2>burn.err &
burn=$!
wait_trace 2A burn.err
expect 1 "maple-cli: eject failed: the drive is in use by another program" v eject
wait "$burn" || fail "the recording failed: $(grep -v ^trace burn.err)"

# Sound files: a missing one is named as missing; a VBR MP3 without a Xing
# header and a FLAC written to a pipe (no length in its header) are read.
insert cd-r
en "$CLI" --virtual drive audio nosuch.wav >out.txt 2>err.txt
grep -q "nosuch.wav was not found, or is not a regular file." err.txt || fail "missing: $(cat err.txt)"
sox -n -r 44100 -b 16 -c 2 tone.wav synth 3 sine 440 2>/dev/null || fail "sox"
lame --quiet -V 2 -t tone.wav vbr.mp3 || fail "lame"
sox tone.wav -t raw - | flac -s --force-raw-format --endian=little --sign=signed --channels=2 \
    --bps=16 --sample-rate=44100 -c - 2>/dev/null | cat >pipe.flac
"$CLI" wav2cda vbr.mp3 vbr.wav >/dev/null 2>err.txt || fail "VBR MP3 without a Xing header: $(cat err.txt)"
"$CLI" wav2cda pipe.flac pipe.wav >/dev/null 2>err.txt || fail "FLAC from a pipe: $(cat err.txt)"
cmp -s <(tail -c +45 tone.wav) <(tail -c +45 pipe.wav) || fail "the FLAC from a pipe lost samples"
# Converting onto a full file system names it, not the input.
mkdir full
unshare -rm sh -c 'mount -t tmpfs -o size=64k tmpfs full && exec "$@"' sh \
    "$CLI" wav2cda tone.wav full/out.wav >out.txt 2>err.txt
[ $? = 1 ] || fail "wav2cda onto a full file system: $(cat err.txt)"
grep -q "cannot write full/out.wav: No space left on device" err.txt || fail "full: $(cat err.txt)"

wait "$slow"
[ $? = 1 ] || fail "info on a drive that never becomes ready: $(grep -v ^trace slow.err)"
grep -q "^maple-cli: the drive is not ready (02/04/01)$" slow.err || fail "$(grep -v ^trace slow.err)"
grep -qE '^trace: (51|46) ' slow.err && fail "info asked a drive that is not ready for the disc"
[ -s slow.out ] && fail "info printed the disc of a drive that is not ready: $(cat slow.out)"

finish messages
