#!/bin/bash
# Ctrl-C (SIGINT) and SIGTERM during long maple-cli commands on a virtual
# drive: a safe stop at the next block, exit code 130, a message naming the
# state of the disc, and no partial file left behind.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"

expect_stop() {  # expect_stop TEXT...: exit 130 and each text on standard error
    [ "$code" = 130 ] || fail "exit code $code, expected 130: $(grep -v '^trace' err.txt)"
    for text in "$@"; do grep -qF -- "$text" err.txt || fail "no \"$text\" in: $(grep -v '^trace' err.txt)"; done
}

head -c 700000 /dev/urandom >data.bin
"$CLI" mkiso -o image.iso data.bin >/dev/null 2>&1 || fail "mkiso"
"$CLI" virtual create drive >/dev/null || fail "virtual create"

# Stopped while waiting for the drive: nothing was written.
insert cd-r
fault not-ready 8
interrupt INT 00 burn image.iso
expect_stop "Stopped. Nothing was written: the disc is unchanged." "maple-cli: recording stopped on request"
grep -q '^trace: 2A' err.txt && fail "a block was written after the stop"
show | grep -q "state: blank" || fail "the disc changed: $(show)"

# Stopped during the writes (each one slowed by the drive's buffer): the
# CD-R is lost. (The flush and the open session are CancellationTest's.)
insert cd-r
fault long-write 10
interrupt INT 2A burn image.iso
expect_stop "this write-once disc cannot be used again" "maple-cli: recording stopped on request"
show | grep -q "state: appendable" || fail "disc: $(show)"

# A second Ctrl-C during the stop changes nothing.
insert cd-rw
fault long-write 10
LC_ALL=en_US.UTF-8 TIMES=3 interrupt INT 2A burn image.iso
expect_stop "Stopped. The disc holds an unfinished recording: erase it before recording on it again."

# SIGTERM while a disc is copied into an image: no image, no partial file.
"$CLI" mkiso -o source.iso data.bin >/dev/null 2>&1
insert cd-rom --from source.iso
fault fail 28 skip 5 count 10 sense 02 04 07
interrupt TERM 28 copy --to-iso copy.iso
expect_stop "No image file was kept" "maple-cli: copy stopped on request"
[ -e copy.iso ] || ls | grep -q "^copy\.iso\..*\.part$" && fail "a copy file was left"

# Audio.
sox -n -r 44100 -b 16 -c 2 song.wav synth 3 sine 440 2>/dev/null || fail "sox"
insert cd-r
fault long-write 10
interrupt INT 2A audio song.wav
expect_stop "this write-once disc cannot be used again" "maple-cli: audio recording stopped on request"

# Erasing a DVD+RW (an overwrite of its start) stopped after a block.
insert dvd+rw --from image.iso
fault long-write 10
interrupt INT 2A erase --yes
expect_stop "The disc is only partly erased" "maple-cli: erasing stopped on request"

finish cancellation
