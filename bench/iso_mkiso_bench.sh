#!/usr/bin/env bash
# Image build speed: maple-cli mkiso against xorriso -as mkisofs -J,
# genisoimage -J, a plain copy of the same bytes (cat of every file into one
# file) and `tar -cf - TREE | cat > /dev/null`, on two generated trees: ~700 MB
# of mixed file sizes and 20,000 small files, each with a warm page cache and
# with the trees' data dropped from it before every run (posix_fadvise
# DONTNEED per file; folders and inodes stay cached; BENCH_DROP_CACHES=1 drops
# all caches instead, where allowed). Runs alternate between the tools; each
# figure is the median of RUNS runs (wall clock and user+system CPU, which
# tells more on a shared machine), peak memory the largest of them.
# Given a second maple-cli (say, a build of an older commit), it runs as
# "before" too, and the images of both must be byte for byte the same.
# BENCH_LARGE=1 benches files of 4 GiB and more instead: one 8 GB file of
# random bytes, and the 20,000 small files with that file beside them (it
# needs about 25 GB of disk: the file, an image and the page cache's room).
# xorriso and genisoimage run with -iso-level 3, which files of 4 GiB and more need;
# genisoimage (cdrkit) has no multi-extent files: with -allow-limited-size it
# copies such a file whole but records its size modulo 4 GiB, and is timed as such.
#
# usage: bench/iso_mkiso_bench.sh PATH/TO/maple-cli (a Release build) [RUNS] [BEFORE/maple-cli]
# Generated data lives under ${BENCH_DIR:-/tmp/maple-iso-bench} and is removed at the end.
set -euo pipefail
cli=$(realpath "$1")
runs=${2:-5}
before=${3:+$(realpath "$3")}
tools=(maple ${before:+before} tar copy xorriso genisoimage)
date_option=(--date "2024-01-01 12:00:00")  # the same volume date in every image
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

drop_cache() {  # TREE
    if [ "${BENCH_DROP_CACHES:-0}" = 1 ]; then
        sync && echo 3 >/proc/sys/vm/drop_caches
        return
    fi
    /usr/bin/python3 - "$1" <<'PY'
import os, sys
for root, _, files in os.walk(sys.argv[1]):
    for name in files:
        fd = os.open(os.path.join(root, name), os.O_RDONLY)
        os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED)
        os.close(fd)
PY
}

# run TOOL TREE CACHE: one timed run; prints "seconds cpu_seconds peak_kB".
run() {
    local tool=$1 tree=$2 cache=$3 out="$work/out.img"
    local -a command
    case $tool in
        maple) command=("$cli" mkiso "${date_option[@]}" -o "$out" "$tree") ;;
        before) command=("$before" mkiso "${date_option[@]}" -o "$work/before.img" "$tree") ;;
        tar) command=(sh -c 'tar -cf - -C "$1" . | cat >/dev/null' tar "$tree") ;;
        xorriso) command=(xorriso -as mkisofs -quiet -iso-level 3 -J -o "$out" "$tree") ;;
        genisoimage) command=(genisoimage -quiet -iso-level 3 -allow-limited-size -J -joliet-long -o "$out" "$tree") ;;
        copy) command=(sh -c 'find "$1" -type f -print0 | sort -z | xargs -0 cat >"$2"' copy "$tree" "$out") ;;
    esac
    sync
    [ "$cache" = cold ] && drop_cache "$tree"
    /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" "${command[@]}" >/dev/null 2>"$work/stderr.txt" ||
        { cat "$work/stderr.txt" >&2; exit 1; }
    if [ "$tool" = before ]; then
        cmp "$work/out.img" "$work/before.img" >&2 || { echo "the images differ" >&2; exit 1; }
        rm -f "$work/before.img"
    fi
    [ "$tool" = maple ] && [ -n "$before" ] || rm -f "$out"
    awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$work/time.txt"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

bench_tree() {  # LABEL TREE CACHE
    local label=$1 tree=$2 cache=$3 tool i bytes files
    bytes=$(find "$tree" -type f -printf '%s\n' | awk '{ s += $1 } END { printf "%.0f\n", s }')
    files=$(find "$tree" -type f | wc -l)
    find "$tree" -type f -print0 | xargs -0 cat >/dev/null  # warm the page cache for everyone
    declare -A times cpus peaks
    for i in $(seq 1 "$runs"); do
        for tool in "${tools[@]}"; do
            read -r seconds cpu peak < <(run "$tool" "$tree" "$cache")
            times[$tool]+="$seconds " cpus[$tool]+="$cpu "
            peaks[$tool]=$(( ${peaks[$tool]:-0} > peak ? ${peaks[$tool]:-0} : peak ))
        done
    done
    printf '\n%s, %s cache: %d files, %.1f MB; median of %d runs; load %s\n' "$label" "$cache" \
        "$files" "$(echo "$bytes / 1000000" | bc -l)" "$runs" "$(cut -d' ' -f1-3 /proc/loadavg)"
    printf '%-12s %9s %9s %9s %14s %10s\n' tool seconds cpu-s MB/s "maple faster" "peak MB"
    local maple_time
    maple_time=$(echo "${times[maple]}" | tr ' ' '\n' | grep . | median)
    for tool in "${tools[@]}"; do
        local t c
        t=$(echo "${times[$tool]}" | tr ' ' '\n' | grep . | median)
        c=$(echo "${cpus[$tool]}" | tr ' ' '\n' | grep . | median)
        printf '%-12s %9.3f %9.2f %9.1f %13.2fx %10.1f\n' "$tool" "$t" "$c" \
            "$(echo "$bytes / 1000000 / $t" | bc -l)" "$(echo "$t / $maple_time" | bc -l)" \
            "$(echo "${peaks[$tool]} / 1024" | bc -l)"
    done
}

echo "generating trees under $work ..."
make_small_tree "$work/small"
if [ "${BENCH_LARGE:-0}" = 1 ]; then
    mkdir "$work/one"
    head -c 8000000000 /dev/urandom >"$work/one/video.mkv"
    ln "$work/one/video.mkv" "$work/small/video.mkv"
    for cache in warm cold; do
        bench_tree "one 8 GB file" "$work/one" "$cache"
        bench_tree "20,000 small files and one 8 GB file" "$work/small" "$cache"
    done
    exit 0
fi
make_big_tree "$work/big"
for cache in warm cold; do
    bench_tree "mixed sizes" "$work/big" "$cache"
    bench_tree "20,000 small files" "$work/small" "$cache"
done
