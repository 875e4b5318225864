#!/usr/bin/env bash
# Several recorders in one maple-cli, on virtual DVD-R drives:
#   one    maple-cli burn IMAGE on one drive
#   three  maple-cli --drive 1,2,3 burn IMAGE (the image read once)
#   read   maple-cli copy --to-iso OUT (the source disc read alone)
#   copy   maple-cli copy --to-drive 2 (read and recorded at once)
# Each figure is the median of RUNS runs (wall clock). The virtual drives
# store their discs in files, so a recording costs what a file copy costs:
# on few cores the drives share the processor and the disk.
#
# usage: bench/several_drives_bench.sh PATH/TO/maple-cli (a Release build) [RUNS] [MiB]
# Its data lives under ${BENCH_DIR:-/tmp/maple-drives-bench}, removed at the end.
set -euo pipefail
cli=$(realpath "$1")
runs=${2:-3}
mib=${3:-400}
work=${BENCH_DIR:-/tmp/maple-drives-bench}
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
cd "$work"
export MAPLE_TEMP_DIR=$work/temp MAPLE_CONFIG_DIR=$work/config
head -c $((mib << 20)) /dev/urandom >data.bin
"$cli" mkiso -o image.iso data.bin 2>/dev/null
rm data.bin
for d in a b c; do "$cli" virtual create "$d" >/dev/null; done
put() { "$cli" --virtual "$1" virtual insert --replace "${@:2}" >/dev/null; }

# timed NAME COMMAND...: wall seconds of one run, appended to NAME.times.
timed() {
    local name=$1 start end
    shift
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || { echo "$name failed" >&2; exit 1; }
    end=$(date +%s.%N)
    echo "$end - $start" | bc >>"$name.times"
}
median() { sort -n "$1.times" | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

for _ in $(seq "$runs"); do
    put a dvd-r
    timed one "$cli" --virtual a burn --no-eject image.iso
    for d in a b c; do put "$d" dvd-r; done
    timed three "$cli" --virtual a --virtual b --virtual c --drive 1,2,3 burn --no-eject image.iso
    put a dvd-rom --from image.iso
    rm -f read.iso
    timed read "$cli" --virtual a copy --to-iso read.iso
    put b dvd-r
    timed copy "$cli" --virtual a --virtual b copy --to-drive 2 --no-eject
done
one=$(median one) three=$(median three) read=$(median read) copy=$(median copy)
echo "image: $mib MiB, $(nproc) cores, median of $runs runs"
printf 'one drive:     %6.2f s\nthree drives:  %6.2f s  (%.2f x one)\n' "$one" "$three" \
    "$(echo "$three / $one" | bc -l)"
printf 'read alone:    %6.2f s\ntwo-drive copy:%6.2f s  (%.2f x reading)\n' "$read" "$copy" \
    "$(echo "$copy / $read" | bc -l)"
