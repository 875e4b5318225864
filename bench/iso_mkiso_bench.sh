#!/usr/bin/env bash
# Image build speed: maple-cli mkiso against xorriso -as mkisofs -J,
# genisoimage -J and a plain copy of the same bytes (cat of every file into
# one file), on two generated trees: ~700 MB of mixed file sizes and 20,000
# small files. Runs alternate between the tools; each figure is the median
# of RUNS runs, peak memory the largest of them (/usr/bin/time -v).
#
# usage: bench/iso_mkiso_bench.sh PATH/TO/maple-cli (a Release build) [RUNS]
# Generated data lives under ${BENCH_DIR:-/tmp/maple-iso-bench} and is removed at the end.
set -euo pipefail
cli=$(realpath "$1")
runs=${2:-5}
work=${BENCH_DIR:-/tmp/maple-iso-bench}
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

make_big_tree() {  # ~700 MB: 3 x 100 MB, 20 x 10 MB, 150 x 1 MB, 1000 x 50 kB (+ odd sizes)
    local root=$1 i
    mkdir -p "$root/video" "$root/music" "$root/photos" "$root/docs"
    for i in $(seq 1 3); do head -c $((100 * 1024 * 1024 + i * 777)) /dev/urandom >"$root/video/clip$i.mp4"; done
    for i in $(seq 1 20); do head -c $((10 * 1024 * 1024 + i * 333)) /dev/urandom >"$root/music/track$i.flac"; done
    for i in $(seq 1 150); do head -c $((1024 * 1024 - i * 11)) /dev/urandom >"$root/photos/img$i.jpg"; done
    head -c $((1000 * 51200)) /dev/urandom | split -b 51200 -d -a 4 - "$root/docs/page"
}

make_small_tree() {  # 20,000 files of 0-8 kB in 200 folders
    /usr/bin/python3 - "$1" <<'PY'
import os, random, sys
rng = random.Random(20000)
blob = rng.randbytes(8192)
for folder in range(200):
    path = os.path.join(sys.argv[1], f"folder {folder:03d}")
    os.makedirs(path)
    for index in range(100):
        with open(os.path.join(path, f"small file {index:03d}.txt"), "wb") as out:
            out.write(blob[: rng.randrange(0, 8192)])
PY
}

# run TOOL TREE: one timed run; prints "seconds peak_kB".
run() {
    local tool=$1 tree=$2 out="$work/out.img"
    local -a command
    case $tool in
        maple) command=("$cli" mkiso -o "$out" "$tree") ;;
        xorriso) command=(xorriso -as mkisofs -quiet -J -o "$out" "$tree") ;;
        genisoimage) command=(genisoimage -quiet -J -joliet-long -o "$out" "$tree") ;;
        copy) command=(sh -c 'find "$1" -type f -print0 | sort -z | xargs -0 cat >"$2"' copy "$tree" "$out") ;;
    esac
    sync
    /usr/bin/time -f "%e %M" -o "$work/time.txt" "${command[@]}" >/dev/null 2>"$work/stderr.txt" ||
        { cat "$work/stderr.txt" >&2; exit 1; }
    rm -f "$out"
    cat "$work/time.txt"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

bench_tree() {
    local label=$1 tree=$2 tool i
    local bytes
    bytes=$(find "$tree" -type f -printf '%s\n' | awk '{ s += $1 } END { print s }')
    local files
    files=$(find "$tree" -type f | wc -l)
    cat "$(find "$tree" -type f)" >/dev/null 2>&1 || true
    find "$tree" -type f -print0 | xargs -0 cat >/dev/null  # warm the page cache for everyone
    declare -A times peaks
    for i in $(seq 1 "$runs"); do
        for tool in maple xorriso genisoimage copy; do
            read -r seconds peak < <(run "$tool" "$tree")
            times[$tool]+="$seconds "
            peaks[$tool]=$(( ${peaks[$tool]:-0} > peak ? ${peaks[$tool]:-0} : peak ))
        done
    done
    printf '\n%s: %d files, %.1f MB; median of %d runs\n' "$label" "$files" "$(echo "$bytes / 1000000" | bc -l)" "$runs"
    printf '%-12s %9s %9s %14s %10s\n' tool seconds MB/s "maple faster" "peak MB"
    local maple_time
    maple_time=$(echo "${times[maple]}" | tr ' ' '\n' | grep . | median)
    for tool in maple xorriso genisoimage copy; do
        local t
        t=$(echo "${times[$tool]}" | tr ' ' '\n' | grep . | median)
        printf '%-12s %9.3f %9.1f %13.2fx %10.1f\n' "$tool" "$t" "$(echo "$bytes / 1000000 / $t" | bc -l)" \
            "$(echo "$t / $maple_time" | bc -l)" "$(echo "${peaks[$tool]} / 1024" | bc -l)"
    done
}

echo "generating trees under $work ..."
make_big_tree "$work/big"
make_small_tree "$work/small"
bench_tree "mixed sizes" "$work/big"
bench_tree "20,000 small files" "$work/small"
