#!/bin/bash
# Converting a 10-minute 48 kHz 24-bit stereo WAV to CD-DA: maple-cli's
# converter against sox at comparable quality (both: high-quality linear-phase
# resampling with TPDF dither to 16 bits). Best of N runs, wall-clock seconds.
#   bash bench/audio_convert_bench.sh path/to/release/maple-cli [runs]
set -eu
CLI=$1
RUNS=${2:-3}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
IN=$WORK/in.wav
# Music-like content: two tones and some noise, so neither tool meets silence.
sox -n -r 48000 -b 24 -c 2 "$IN" synth 600 sine 220-1760 sine 330 synth 600 pinknoise mix gain -6

best() {  # command...; prints the best wall time of RUNS runs
    local best_time=""
    for _ in $(seq "$RUNS"); do
        local start end
        start=$(date +%s.%N)
        "$@" > /dev/null 2>&1
        end=$(date +%s.%N)
        best_time=$(awk -v s="$start" -v e="$end" -v b="$best_time" \
            'BEGIN { t = e - s; if (b == "" || t < b) b = t; printf "%.3f", b }')
    done
    echo "$best_time"
}

maple=$(best "$CLI" wav2cda "$IN" "$WORK/maple.wav")
soxt=$(best sox "$IN" -r 44100 -b 16 -c 2 "$WORK/sox.wav")
echo "input: $(soxi -D "$IN") s, 48000 Hz, 24-bit, stereo ($(stat -c %s "$IN") bytes)"
echo "maple-cli wav2cda: ${maple} s"
echo "sox -r 44100 -b 16 -c 2: ${soxt} s"
awk -v m="$maple" -v s="$soxt" 'BEGIN { printf "maple-cli / sox = %.2f\n", m / s }'
