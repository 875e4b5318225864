#!/bin/bash
# Closed pipes and terminals during maple-cli commands on a virtual drive. A
# reader that goes away (| head) never stops a recording: the messages are
# lost, the disc is finished, the exit status is the job's. A hang-up
# (SIGHUP) stops a job as SIGTERM does until the disc is first changed, and
# in commands that change no disc (mkiso, copy --to-iso, wav2cda); once the
# recording has started, the job finishes. A stopped conversion or image
# leaves no partial file.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"
sox -n -r 44100 -b 16 -c 2 song.wav synth 4 sine 440 2>/dev/null || fail "sox"
head -c 700000 /dev/urandom >data.bin
"$CLI" mkiso -o image.iso data.bin >/dev/null 2>&1 || fail "mkiso"
"$CLI" virtual create drive >/dev/null || fail "virtual create"
# exported_image: the recorded track is the image.
exported_image() {
    rm -rf x && v virtual export x >/dev/null && cmp -s -n "$(stat -c %s image.iso)" image.iso x/track01.iso
}

# A closed pipe: the reader takes the first line and goes.
insert cd-r
v audio --no-eject song.wav song.wav song.wav 2>&1 | head -n 1 >/dev/null
code=${PIPESTATUS[0]}
[ "$code" = 0 ] || fail "audio into a closed pipe exited $code"
show | grep -q "state: complete" || fail "audio: the disc was not finished: $(show)"
[ "$(show | grep -c '^track ')" = 3 ] || fail "audio: not three tracks: $(show)"
insert cd-r
v --trace burn --no-eject image.iso 2>&1 | head -n 3 >/dev/null
code=${PIPESTATUS[0]}
[ "$code" = 0 ] || fail "burn --trace into a closed pipe exited $code"
exported_image || fail "burn --trace | head: the image was not recorded whole"

# Before the first command that changes the disc: stopped, the disc unchanged.
insert cd-r
fault not-ready 8
interrupt HUP 00 burn image.iso
[ "$code" = 130 ] || fail "hang-up before writing: exit $code: $(grep -v ^trace err.txt)"
grep -q "Stopped. Nothing was written: the disc is unchanged." err.txt || fail "no stop message"
show | grep -q "state: blank" || fail "a hang-up before writing changed the disc"
# During the writes (slowed by the drive's buffer): the recording goes on to its end.
insert cd-r
fault long-write 10
interrupt HUP 2A burn --no-eject image.iso
[ "$code" = 0 ] || fail "hang-up while writing: exit $code: $(grep -v ^trace err.txt)"
grep -q "stopping" err.txt && fail "a hang-up while writing announced a stop"
exported_image || fail "a hang-up while writing left the recording unfinished: $(show)"
clear_faults

# signal_at_part SIGNAL PATTERN COMMAND...: runs the command and sends SIGNAL
# once a partial file named PATTERN exists (the command stopped meanwhile,
# so it cannot finish first); $code.
signal_at_part() {
    local signal=$1 pattern=$2
    shift 2
    "$@" >out.txt 2>err.txt &
    local pid=$!
    for _ in $(seq 2000); do
        kill -STOP "$pid" 2>/dev/null || break
        ls | grep -q "$pattern" && break
        kill -CONT "$pid"
        sleep 0.002
    done
    kill -"$signal" "$pid"
    kill -CONT "$pid"
    wait "$pid"
    code=$?
}
no_part() { ls | grep -q '\.part$' && fail "$1: a partial file was left: $(ls | grep '\.part$')"; true; }
sox -n -r 48000 -b 16 -c 2 long.wav synth 180 sine 440 2>/dev/null || fail "sox"
for signal in TERM HUP; do
    signal_at_part "$signal" '^out\.wav\..*\.part$' "$CLI" wav2cda long.wav out.wav
    [ "$code" = 130 ] || fail "wav2cda, SIG$signal: exit $code: $(cat err.txt)"
    [ -e out.wav ] && fail "wav2cda, SIG$signal: out.wav was written"
    no_part "wav2cda, SIG$signal"
done
grep -q "^maple-cli: conversion stopped on request; out.wav was not written$" err.txt ||
    fail "wav2cda: $(cat err.txt)"
mkdir tree && head -c 30000000 /dev/urandom >tree/big.bin
signal_at_part HUP '^tree\.iso\..*\.part$' "$CLI" mkiso -o tree.iso tree
[ "$code" = 130 ] && [ ! -e tree.iso ] || fail "mkiso, SIGHUP: exit $code: $(cat err.txt)"
no_part "mkiso, SIGHUP"
"$CLI" mkiso -o big.iso tree >/dev/null 2>&1 || fail "mkiso big.iso"
insert dvd-rom --from big.iso
signal_at_part HUP '^c\.iso\..*\.part$' "$CLI" --virtual drive copy --to-iso c.iso
[ "$code" = 130 ] && [ ! -e c.iso ] || fail "copy --to-iso, SIGHUP: exit $code: $(cat err.txt)"
no_part "copy --to-iso, SIGHUP"

finish signals
