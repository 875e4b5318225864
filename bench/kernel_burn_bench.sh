#!/bin/sh
# Recording speed through a real kernel: a 699 MB ISO image recorded on a
# CD-R of the virtual drive attached as /dev/srN (maple-cli virtual attach)
# by maple-cli burn, wodim -tao and xorriso's cdrecord mode, against
# maple-cli burn on the same drive in-process (--virtual), and a copy of the
# disc through the kernel (maple-cli copy --to-iso). All in one QEMU guest
# run (TCG, so compare the figures with each other, never with the host).
# Each figure is the wall clock of the whole command, setup and closing
# included (wodim's shortest grace time, 2 s, too); the server keeps no trace.
# Last, the commands of maple-cli burn and wodim -tao for a 16 MiB image,
# counted by opcode from the server's trace.
#
# usage: bench/kernel_burn_bench.sh (on the host: it runs itself in a guest
# through tests/vm/run-guest.sh with a release maple-cli and 4 GB of memory)
if [ ! -e /work/lib.sh ]; then
  exec bash "$(dirname "$0")/../tests/vm/run-guest.sh" --maple-cli --memory 4096 --timeout 3600 "$0"
fi
set -e
. ./lib.sh
export MAPLE_TEMP_DIR=/tmp/temp MAPLE_CONFIG_DIR=/tmp/config TRACE=
mebibytes=667

now() { cut -d' ' -f1 /proc/uptime; }
# timed WHAT COMMAND...: runs the command (its output hidden unless it fails)
# and prints its time and the image's megabytes per second.
timed() {
  what="$1"
  shift
  start=$(now)
  quiet "$@" || { echo "$what failed"; exit 1; }
  awk -v what="$what" -v s="$start" -v e="$(now)" -v bytes="$bytes" \
    'BEGIN { printf "%-48s %7.1f s %7.2f MB/s\n", what, e - s, bytes / 1e6 / (e - s) }'
}

head -c 1048576 /dev/urandom > /tmp/block
mkdir /tmp/tree
i=0
while [ $i -lt "$mebibytes" ]; do cat /tmp/block; i=$((i + 1)); done > /tmp/tree/data
maple-cli mkiso -o /tmp/image.iso --volume-id BENCH /tmp/tree > /dev/null 2>&1
rm -r /tmp/tree
bytes=$(wc -c < /tmp/image.iso)
echo "image: $bytes bytes, CD-R, $(grep -c ^processor /proc/cpuinfo) CPU, TCG"

maple-cli virtual create /tmp/inproc > /dev/null
maple-cli --virtual /tmp/inproc virtual insert cd-r > /dev/null
timed "maple-cli burn, in-process virtual drive" maple-cli --virtual /tmp/inproc burn --no-eject /tmp/image.iso
rm -r /tmp/inproc

attach cd-r
timed "maple-cli burn through the kernel" maple-cli burn --no-eject /tmp/image.iso
timed "maple-cli copy --to-iso through the kernel" maple-cli copy --to-iso /tmp/copy.iso
detach
cmp /tmp/copy.iso /tmp/image.iso || { echo "the copy differs from the image"; exit 1; }
rm -r /tmp/copy.iso "$DRIVE"

attach cd-r
timed "wodim -tao through the kernel" wodim dev="$SR" gracetime=2 -tao /tmp/image.iso
detach
rm -r "$DRIVE"

attach cd-r
timed "xorriso -as cdrecord -tao through the kernel" xorriso -as cdrecord dev="$SR" -tao /tmp/image.iso
detach
rm -r "$DRIVE"

# The commands maple-cli burn and wodim -tao send for the same 16 MiB image,
# by opcode, from the server's trace (the timed runs above keep none).
unset TRACE
rm /tmp/image.iso
mkdir /tmp/tree
head -c 16777216 /dev/urandom > /tmp/tree/data
maple-cli mkiso -o /tmp/image.iso --volume-id COUNT /tmp/tree > /dev/null 2>&1
echo "commands for an image of $(wc -c < /tmp/image.iso) bytes (count opcode ...):"
for program in maple-cli wodim; do
  attach cd-r
  if [ $program = wodim ]; then
    quiet wodim dev="$SR" gracetime=2 -tao /tmp/image.iso
  else
    quiet maple-cli burn --no-eject /tmp/image.iso
  fi
  detach
  printf '%-10s %5d:' $program "$(grep -c '^trace: ' "$DRIVE.trace")"
  awk '/^trace: /{print $2}' "$DRIVE.trace" | sort | uniq -c | sort -rn | head -6 | tr -s ' \n' ' '
  echo
  rm -r "$DRIVE"
done
