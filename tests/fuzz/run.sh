#!/usr/bin/env bash
# Builds the libFuzzer targets (virtual drive, its metadata parser, Write
# Parameters page, WAV reader, language and settings files, the kernel's
# command ring, the CD-TEXT decoder, the cue-sheet reader) with the "fuzz" preset (clang, build/fuzz) and runs each for
# a bounded number of inputs, starting from a few seeds. Targets that need
# files make them under $TMPDIR.
# Fails on any crash, sanitizer report or time-out.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."

command -v clang++ >/dev/null || { echo "fuzz: clang++ is missing (scripts/install-deps installs it)" >&2; exit 1; }
targets=(emulated_drive emulated_metadata wpp wav_reader language_file settings_file tcmu_ring cd_text cue_sheet)
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 --target "${targets[@]/#/fuzz_}"
build_dir=$PWD/build/fuzz

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for target in "${targets[@]}"; do mkdir -p "$work/${target#emulated_}"; done

# Seed streams: byte 0 = medium (2 CD-R, 6 DVD-RW, 8 DVD+RW), then commands
# [len][cdb][dir][buffer length hi lo][data].
seed() { printf "$2" > "$work/$1"; }
tur='\x06\x00\x00\x00\x00\x00\x00\x00\x00\x00'
sense05='\x0a\x5a\x08\x85\x00\x00\x00\x00\x02\x00\x00\x00\x02\x00'
write1='\x0a\x2a\x00\x00\x00\x00\x00\x00\x00\x01\x00\x01\x08\x00'
read1='\x0a\x28\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x08\x00'
sync='\x0a\x35\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00'
close2='\x0a\x5b\x00\x02\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00'
rdi='\x0a\x51\x00\x00\x00\x00\x00\x00\x00\x22\x00\x00\x00\x22'
rti='\x0a\x52\x01\x00\x00\x00\x02\x00\x00\x24\x00\x00\x00\x24'
seed drive/cdr "\x02$tur$sense05$write1$sync$close2$rdi$rti$read1"
seed drive/dvdrw "\x06$tur$write1$sync$rdi\x0c\xa1\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
seed drive/dvdplusrw "\x08$write1$read1\x0c\xad\x00\x00\x00\x00\x00\x00\x00\x02\x00\x00\x00\x00\x02\x00"
seed metadata/cd "maple-virtual-drive 1\ntray closed\nmedium cd-r\ncapacity 359849\nsessions 1\ntrack 1 session 1 data start 0 length 1000 run-out 2 closed\nfault long-write 3\nfault fail 35 skip 0 count 1 sense 03 0C 00\n"
seed metadata/rw "maple-virtual-drive 1\ntray open\nmedium dvd+rw\ncapacity 2295104\nsessions 0\nrecorded-end 300\n"
seed wpp/page "\x00\x3a\x00\x00\x00\x00\x00\x00\x05\x32\x41\x01\x04\x08"
seed wav_reader/cdda "RIFF\x2c\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00\x44\xac\x00\x00\x10\xb1\x02\x00\x04\x00\x10\x00LIST\x04\x00\x00\x00INFOdata\x08\x00\x00\x00\x01\x00\x02\x00\x03\x00\x04\x00"
# CD-TEXT: the header, a title pack ("Album", then "One" for track 1) and the size information.
seed cd_text/packs "\x00\x4a\x00\x00\x80\x00\x00\x00Album\x00One\x00\x00\x00\x00\x00\x8f\x00\x01\x00\x00\x01\x01\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x8f\x01\x02\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x03\x00\x00\x8f\x02\x03\x00\x03\x00\x00\x00\x00\x00\x00\x00\x09\x00\x00\x00\x00\x00"
seed cue_sheet/album 'CATALOG 1234567890123\nPERFORMER "Band"\nFILE "a.flac" WAVE\n  TRACK 01 AUDIO\n    TITLE "One"\n    INDEX 01 00:01:00\n  TRACK 02 AUDIO\n    FLAGS DCP PRE\n    ISRC USABC1234567\n    PREGAP 00:01:00\n    INDEX 00 00:06:00\n    INDEX 01 00:08:00\n    INDEX 02 00:09:00\n    POSTGAP 00:02:00\nFILE "b.bin" MOTOROLA\n    INDEX 03 00:00:10\n  TRACK 03 AUDIO\n    INDEX 01 00:05:00\n'
seed cue_sheet/data 'FILE "d.bin" BINARY\r\n  TRACK 01 MODE1/2352\r\n    INDEX 01 00:00:00\r\n'
seed language_file/lng "frmMain.String01=Welcome\r\nEngines.NoTestMode=%%1 cannot\nfrmWriteISO.cmdBurn.Caption=Burn\n"
seed settings_file/ini "[Setting]\nTempISO=/tmp/a b.iso\nDefaultDrive=\"x,y\"\n[General]\nk=\\x41\\t@@v\n"
# The ring: the kernel's head (128), then one command entry (INQUIRY, 36 bytes into the data area).
zeros() { printf '\\x00%.0s' $(seq "$1"); }
seed tcmu_ring/inquiry "\x80\x00\x81$(zeros 3)\x01$(zeros 3)\x01$(zeros 15)\xc0$(zeros 23)\x80\x04$(zeros 6)\x24$(zeros 7)\x12$(zeros 3)\x24$(zeros 59)"

# The virtual drive keeps its state (log, medium in memory) across inputs by
# design, so libFuzzer's per-input leak check would only slow it down;
# LeakSanitizer still checks at exit. With its medium in memory the drive
# takes several thousand inputs a second: it gets three times the others'.
# The targets share 600 s of time limits, so one more does not lengthen the run.
for target in "${targets[@]}"; do
  runs=${MAPLE_FUZZ_RUNS:-$([ $target = emulated_drive ] && echo 600000 || echo 200000)}
  # A crashing input is kept in the build folder, never in the source tree.
  mkdir -p "$build_dir/fuzz-artifacts"
  TMPDIR="$work" "$build_dir/bin/fuzz_$target" -runs="$runs" -max_total_time=$((600 / ${#targets[@]})) \
    -rss_limit_mb=2048 -max_len=4096 -detect_leaks=0 -print_final_stats=1 \
    -artifact_prefix="$build_dir/fuzz-artifacts/$target-" "$work/${target#emulated_}" 2>&1 | tail -n 6
done
