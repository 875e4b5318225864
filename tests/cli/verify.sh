#!/bin/bash
# Verification after recording on the virtual drive: burn, copy and audio
# with --verify report "verified", a silently corrupted block is found and
# named, test mode and a drive without READ CD say why nothing was verified.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"
v() { LC_ALL=en_US.UTF-8 "$CLI" --virtual drive "$@"; }

head -c 3000000 /dev/urandom >data.bin
"$CLI" mkiso -o image.iso data.bin >/dev/null 2>&1 || fail "mkiso"
blocks=$(( ($(stat -c %s image.iso) + 32767) / 32768 * 16 ))
"$CLI" virtual create drive >/dev/null || fail "virtual create"

# A good recording reads back as sent; the tray is out at the end as asked.
insert cd-r
expect 0 "Verified: the $blocks blocks on the disc match the data sent." v burn --verify image.iso
grep -q "^recorded: image.iso" out.txt || fail "burn --verify output: $(cat out.txt)"
v virtual show | grep -q "tray: open" || fail "not ejected after the verification"

# Blocks the drive silently corrupted are counted, the first one named.
insert cd-r
fault corrupt 700
fault corrupt 40
expect 1 "Verification failed: 2 block(s) differ from the data sent, the first at block 40." \
    v burn --verify image.iso
grep -q "^maple-cli: recording finished with errors" err.txt || fail "no failure line"
clear_faults

# Test mode records nothing, so nothing is read back.
insert cd-r
expect 0 "Test mode records nothing, so nothing was verified." v burn --test --verify image.iso
v --trace burn --test --verify --no-eject image.iso >/dev/null 2>trace.txt
grep -q "^trace: 28 " trace.txt && fail "test mode read the disc back"

# A disc copy verifies its recording.
insert cd-rom --from image.iso
expect 0 "Verified: the $blocks blocks" v copy --verify --blank cd-r
grep -q "^disc copied" out.txt || fail "copy --verify output: $(cat out.txt)"

# Audio: the tracks are read back with READ CD and compared with the converted sound.
sox -n -r 48000 -b 16 -c 2 a.wav synth 2 sine 440 2>/dev/null || fail "sox"
sox -n -r 44100 -b 16 -c 2 b.wav synth 1 sine 880 2>/dev/null || fail "sox"
insert cd-r
expect 0 "Verified: the" v audio --verify a.wav b.wav
insert cd-r
fault corrupt 3
expect 1 "Verification failed: 1 block(s) differ from the data sent, the first at block 3." \
    v audio --verify a.wav b.wav
clear_faults
insert cd-r
fault fail BE skip 0 count 1 sense 05 20 00
expect 0 "Audio verification is not available" v audio --verify a.wav
clear_faults

finish "verify"
