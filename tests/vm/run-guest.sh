#!/usr/bin/env bash
# Runs one test script as root inside a throw-away QEMU guest that boots
# Debian's kernel (no KVM needed), and exits with the script's status.
#
#   run-guest.sh [--maple-cli] [--program PATH]... [--file PATH]... [--memory MB] [--timeout S] SCRIPT
#
# --maple-cli builds maple-cli with the release preset (a sanitized build runs
# four times slower under TCG) and copies it as --program does; --program
# copies a host program and its shared libraries to /usr/bin in the guest;
# --file copies a file to /work. SCRIPT runs in /work with busybox sh,
# tests/vm/guest-lib.sh beside it as lib.sh; its output is printed here.
# The guest itself is built once per machine (tests/vm/prepare-guest.sh) in
# ${MAPLE_VM_CACHE:-~/.cache/maple-writer/vm}. Without qemu the run is
# skipped (status 77), except in CI (CI=true), where that is a failure.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/copy-program.sh"
programs=() files=() memory=1024 limit=600 maple_cli=false
while [ $# -gt 1 ]; do
  case "$1" in
    --maple-cli) maple_cli=true; shift ;;
    --program) programs+=("$2"); shift 2 ;;
    --file) files+=("$2"); shift 2 ;;
    --memory) memory="$2"; shift 2 ;;
    --timeout) limit="$2"; shift 2 ;;
    *) break ;;
  esac
done
[ $# -eq 1 ] || { echo "usage: run-guest.sh [OPTION]... SCRIPT (see its first lines)" >&2; exit 2; }
script="$1"
if ! command -v qemu-system-x86_64 >/dev/null; then
  echo "vm: qemu-system-x86_64 is missing (scripts/install-deps installs it)" >&2
  [ "${CI:-}" != true ] || exit 1
  echo "vm: skipped"
  exit 77
fi
if [ "$maple_cli" = true ]; then
  source_dir="$(cd "$here/../.." && pwd)"
  mkdir -p "$source_dir/build"
  (cd "$source_dir" && export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true &&
    flock build/.release.lock bash -c 'cmake --preset release >/dev/null &&
      cmake --build --preset release -j2 --target maple-cli') ||
    { echo "vm: building maple-cli with the release preset failed" >&2; exit 1; }
  programs+=("$source_dir/build/release/bin/maple-cli")
fi

# The guest is rebuilt when the scripts that build it change.
base="${MAPLE_VM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/maple-writer/vm}"
key="$(cat "$here/prepare-guest.sh" "$here/copy-program.sh" | sha256sum | cut -c1-12)"
cache="$base/guest-$key"
mkdir -p "$base"
flock "$base/.lock" bash "$here/prepare-guest.sh" "$cache" ||
  { echo "vm: building the guest in $cache failed" >&2; exit 1; }

run="$(mktemp -d)"
trap 'rm -rf "$run"' EXIT
tree="$run/tree"
mkdir -p "$tree/work"
for program in "${programs[@]}"; do copy_program "$tree" "$program" "/usr/bin/$(basename "$program")"; done
# The English texts, which the guest scripts read (LC_ALL below).
mkdir -p "$tree/usr/share/maple-writer"
cp "$here/../../data/English.lng" "$tree/usr/share/maple-writer/"
for file in "${files[@]}"; do cp -L "$file" "$tree/work/"; done
cp "$script" "$tree/work/test.sh"
cp "$here/guest-lib.sh" "$tree/work/lib.sh"
cat > "$tree/init" <<'EOF'
#!/bin/sh
export PATH=/usr/bin:/bin HOME=/work TMPDIR=/tmp LC_ALL=en_US.UTF-8
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
mount -t tmpfs -o size=90% tmpfs /tmp
for module in sr_mod sg isofs; do modprobe $module; done
stty -F /dev/ttyS1 raw -echo
cd /work
# Through a pipe: the programs see no terminal, as under ctest.
{ sh ./test.sh 2>&1; echo $? > /tmp/status; } | cat > /dev/ttyS1
echo "maple-vm-exit $(cat /tmp/status)"
poweroff -f
EOF
chmod +x "$tree/init"
cp "$cache/base.cpio.gz" "$run/initrd"
(cd "$tree" && find . | "$cache/busybox" cpio -o -H newc 2>/dev/null) >> "$run/initrd"

status=0
timeout "$limit" qemu-system-x86_64 -nodefaults -nographic -monitor none -no-reboot \
  -machine pc -accel tcg -cpu max -m "$memory" -kernel "$cache/vmlinux" -initrd "$run/initrd" \
  -append "console=ttyS0,115200 quiet loglevel=4 panic=-1" \
  -serial "file:$run/console.log" -serial "file:$run/out.log" || status=$?
cat "$run/out.log"
result="$(sed -n 's/.*maple-vm-exit \([0-9]*\).*/\1/p' "$run/console.log" | tail -n 1)"
if [ -z "$result" ]; then
  echo "vm: the guest ended without a result (qemu status $status); its console:" >&2
  tail -n 40 "$run/console.log" >&2
  exit 1
fi
exit "$result"
