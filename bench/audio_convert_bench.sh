#!/bin/bash
# Decoding and converting 10 minutes of music-like sound to CD-DA, per input
# format: maple-cli wav2cda against `sox IN -r 44100 -b 16 -c 2 OUT.wav` at
# comparable quality (both: high-quality linear-phase resampling, TPDF dither
# to 16 bits). sox cannot read Opus; there the peer is opusdec --rate 44100.
# Best of N runs, wall-clock seconds, and the speed as a multiple of real time.
#   bash bench/audio_convert_bench.sh path/to/release/maple-cli [runs]
set -eu
CLI=$(realpath "$1")
RUNS=${2:-3}
SECONDS_OF_SOUND=600
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"

# Two tones and some noise, so that no encoder or converter meets silence.
music() {  # file rate bits
    sox -n -r "$2" -b "$3" -c 2 "$1" synth $SECONDS_OF_SOUND sine 220-1760 sine 330 \
        synth $SECONDS_OF_SOUND pinknoise mix gain -6
}
music hd.wav 48000 24
music cd.wav 44100 16
music hr.wav 96000 24
flac -s -f cd.wav -o cd.flac
flac -s -f hr.wav -o hr.flac
lame --quiet -V2 cd.wav cd.mp3
oggenc -Q -q5 cd.wav -o cd.ogg
opusenc --quiet --bitrate 160 cd.wav cd.opus

best() {  # command...; prints the best wall time of RUNS runs
    local best_time=""
    for _ in $(seq "$RUNS"); do
        local start end
        start=$(date +%s.%N)
        "$@" > /dev/null 2> err.txt || { echo "failed: $* ($(tail -1 err.txt))" >&2; exit 1; }
        end=$(date +%s.%N)
        best_time=$(awk -v s="$start" -v e="$end" -v b="$best_time" \
            'BEGIN { t = e - s; if (b == "" || t < b) b = t; printf "%.3f", b }')
    done
    echo "$best_time"
}

printf '%-24s %10s %10s %12s %10s %8s\n' input maple-s peer-s maple-xRT peer-xRT ratio
for input in hd.wav cd.flac hr.flac cd.mp3 cd.ogg cd.opus; do
    maple=$(best "$CLI" wav2cda "$input" maple.wav)
    if [ "$input" = cd.opus ]; then
        peer=$(best opusdec --quiet --rate 44100 "$input" peer.wav)
    else
        peer=$(best sox "$input" -r 44100 -b 16 -c 2 peer.wav)
    fi
    label="$input ($(soxi -r "$input" 2> /dev/null || echo 48000) Hz)"
    awk -v l="$label" -v m="$maple" -v p="$peer" -v s=$SECONDS_OF_SOUND \
        'BEGIN { printf "%-24s %10.3f %10.3f %12.0f %10.0f %8.2f\n", l, m, p, s / m, s / p, m / p }'
done
echo "ratio = maple-cli time / peer time (below 1: maple-cli is faster)"
