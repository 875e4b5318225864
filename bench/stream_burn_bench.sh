#!/usr/bin/env bash
# Straight to the disc: a data disc recorded on a virtual DVD-R three ways,
# from a generated tree of ~700 MB of mixed file sizes:
#   stream  maple-cli mkiso -o - TREE | maple-cli burn -
#   ready   maple-cli burn IMAGE (an image built beforehand, not timed)
#   twostep maple-cli mkiso -o IMAGE TREE && maple-cli burn IMAGE
# Runs alternate between the three; each figure is the median of RUNS runs
# (wall clock), and the peak memory of the stream is the largest sum of the
# two processes' maximum resident sizes. The virtual drive stores the disc in
# files, so its writes cost what a file copy costs.
#
# usage: bench/stream_burn_bench.sh PATH/TO/maple-cli (a Release build) [RUNS]
# Generated data lives under ${BENCH_DIR:-/tmp/maple-stream-bench} and is removed at the end.
set -euo pipefail
cli=$(realpath "$1")
runs=${2:-5}
work=${BENCH_DIR:-/tmp/maple-stream-bench}
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
cd "$work"
export MAPLE_TEMP_DIR=$work/temp MAPLE_CONFIG_DIR=$work/config
date_option=(--date "2024-01-01 12:00:00")

# count x size (bytes) per folder: 3 x 100 MB, 20 x 10 MB, 150 x 1 MB, 1000 x 50 kB.
while read -r folder count size; do
    mkdir -p "tree/$folder"
    for i in $(seq 1 "$count"); do head -c $((size + i * 7)) /dev/urandom >"tree/$folder/f$i.bin"; done
done <<'TABLE'
video 3 104857600
music 20 10485760
photos 150 1048576
docs 1000 51200
TABLE
"$cli" mkiso "${date_option[@]}" -o ready.iso tree 2>/dev/null
"$cli" virtual create drive >/dev/null
v() { "$cli" --virtual drive "$@"; }

# timed NAME COMMAND: wall seconds and peak KiB of one process, appended to NAME.times.
timed() {
    local name=$1
    shift
    /usr/bin/time -f "%e %M" -o "$name.one" "$@"
    cat "$name.one" >>"$name.times"
}

run_stream() {
    /usr/bin/time -f "%e %M" -o mk.one "$cli" mkiso "${date_option[@]}" -o - tree 2>/dev/null |
        /usr/bin/time -f "%e %M" -o burn.one "$cli" --virtual drive burn --no-eject - >/dev/null 2>&1
    # The pipeline's time is the later of the two; its memory both together.
    paste -d' ' mk.one burn.one | awk '{print ($1 > $3 ? $1 : $3), $2 + $4}' >>stream.times
}
run_ready() { timed ready "$cli" --virtual drive burn --no-eject ready.iso >/dev/null 2>&1; }
run_twostep() {
    local start end
    start=$(date +%s.%N)
    "$cli" mkiso "${date_option[@]}" -o twostep.iso tree 2>/dev/null
    v burn --no-eject twostep.iso >/dev/null 2>&1
    end=$(date +%s.%N)
    echo "$(echo "$end - $start" | bc) 0" >>twostep.times
    rm -f twostep.iso
}

for _ in $(seq 1 "$runs"); do
    for way in stream ready twostep; do
        v virtual insert --replace dvd-r >/dev/null
        "run_$way"
        v virtual export disc >/dev/null
        cmp -s -n "$(stat -c %s ready.iso)" ready.iso disc/track01.iso || { echo "the $way disc differs from the image" >&2; exit 1; }
        rm -rf disc
    done
done

median() { sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
stream=$(cut -d' ' -f1 stream.times | median)
ready=$(cut -d' ' -f1 ready.times | median)
twostep=$(cut -d' ' -f1 twostep.times | median)
peak=$(cut -d' ' -f2 stream.times | sort -n | tail -1)
echo "cores: $(nproc), load average at the end: $(cut -d' ' -f1-3 /proc/loadavg), runs: $runs"
echo "image: $(stat -c %s ready.iso) bytes"
printf 'stream  %8.2f s  (%.2f x ready, %.2f x two steps)\n' "$stream" \
    "$(echo "$stream / $ready" | bc -l)" "$(echo "$stream / $twostep" | bc -l)"
printf 'ready   %8.2f s\ntwostep %8.2f s\n' "$ready" "$twostep"
echo "stream peak memory, both processes: $((peak / 1024)) MiB"
