# Sourced by the guest scripts (busybox sh, as root, in /work): a fresh
# virtual drive attached through the kernel per case, checks that count
# failures, and helpers that make test inputs.

failures=0
drives=0

# check NAME COMMAND...: runs the command, prints PASS or FAIL with NAME.
check() {
  name="$1"
  shift
  if "$@"; then
    echo "PASS $name"
  else
    echo "FAIL $name"
    failures=$((failures + 1))
  fi
}

# quiet COMMAND...: runs the command, showing its output only when it fails.
quiet() {
  "$@" > /tmp/quiet.out 2>&1 || { status=$?; tail -n 5 /tmp/quiet.out; return $status; }
}

# finish: the guest's exit status, with a summary line.
finish() {
  echo "$failures failed"
  [ "$failures" -eq 0 ]
}

# attach KIND [FAULT-LINE]: a new drive folder with a blank medium (and an
# injected fault), served through the kernel (see attach_folder).
attach() {
  drives=$((drives + 1))
  maple-cli virtual create /tmp/drive$drives &&
    maple-cli --virtual /tmp/drive$drives virtual insert "$1" || return 1
  [ -z "${2:-}" ] || echo "$2" >> /tmp/drive$drives/drive.meta
  attach_folder /tmp/drive$drives
}

# attach_folder DIR: serves the drive in DIR through the kernel, the folder
# given to user 1000 first (KEEP_OWNER=1 keeps its owner). Sets DRIVE, SR, SG,
# SERVER (the process that configured the kernel) and SERVING (the process
# answering the commands); the server's trace goes to $DRIVE.trace (TRACE=
# set empty leaves the commands out of it).
attach_folder() {
  DRIVE=$1
  # Served as its owner (never root): a user's folder, so the drive can save.
  [ -n "${KEEP_OWNER:-}" ] || chown -R 1000:1000 "$DRIVE"
  : > "$DRIVE.nodes"
  maple-cli ${TRACE---trace} virtual attach "$DRIVE" > "$DRIVE.nodes" 2> "$DRIVE.trace" &
  SERVER=$!
  waited=0
  while [ "$(wc -l < "$DRIVE.nodes")" -lt 2 ]; do
    if [ $waited -ge 300 ] || ! kill -0 $SERVER 2> /dev/null; then
      echo "attach $DRIVE failed:"
      tail -n 5 "$DRIVE.trace"
      return 1
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  SR=$(sed -n 1p "$DRIVE.nodes")
  SG=$(sed -n 2p "$DRIVE.nodes")
  SERVING=$(sed -n 's/^maple-cli: serving as user .* (process \([0-9]*\))$/\1/p' "$DRIVE.trace")
}

# detach: stops the server (SIGTERM) and checks that it detached cleanly.
detach() {
  kill -TERM $SERVER
  wait $SERVER
  status=$?
  [ $status -eq 0 ] || { echo "server of $DRIVE ended with $status:"; tail -n 5 "$DRIVE.trace"; }
  [ $status -eq 0 ]
}

# show_trace [LINES]: the last commands the drive answered (for a failure).
show_trace() {
  grep '^trace:' "$DRIVE.trace" | grep -v '^trace: 4A' | tail -n "${1:-25}"
}

# no_leftovers: no unit, port, user-space I/O device or CD node is left.
no_leftovers() {
  [ -z "$(ls -d /sys/kernel/config/target/core/user_* /sys/kernel/config/target/loopback \
    /sys/class/uio/* /dev/sr* 2> /dev/null)" ]
}

# cdrom_caps: the kernel's cdrom driver sees $SR as a CD/DVD recorder.
cdrom_caps() {
  grep -q "^drive name:.*${SR#/dev/}" /proc/sys/dev/cdrom/info || return 1
  for flag in "Can write CD-R" "Can write CD-RW" "Can read DVD" "Can write DVD-R" "Can open tray"; do
    grep -q "^$flag:[[:space:]]*1$" /proc/sys/dev/cdrom/info || { echo "not set: $flag"; return 1; }
  done
}

# reload: opens and closes the tray, as a user does before mounting a disc
# another program just recorded (the kernel reads the new size only then).
reload() {
  maple-cli eject > /dev/null && maple-cli load > /dev/null
}

# mounted_tree_matches FOLDER [NAME]: $SR mounted by the kernel holds
# FOLDER's files byte for byte, under NAME (the folder's own name by default).
mounted_tree_matches() {
  mount -t iso9660 -o ro "$SR" /mnt || return 1
  (cd "$1" && find . -type f) > /tmp/files
  same=0
  while read -r file; do
    cmp -s "$1/$file" "/mnt/${2:-$(basename "$1")}/$file" || { echo "differs: $file"; same=1; }
  done < /tmp/files
  umount /mnt
  return $same
}

# exported N: path of track N exported from the detached drive.
exported() {
  rm -rf "$DRIVE.out"
  maple-cli --virtual "$DRIVE" virtual export "$DRIVE.out" > "$DRIVE.list" || return 1
  sed -n "${1}p" "$DRIVE.list"
}

# le32 N: N as four little-endian bytes.
le32() {
  printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $(($1 & 255)) $(($1 >> 8 & 255)) \
    $(($1 >> 16 & 255)) $(($1 >> 24 & 255)))"
}

# make_wav FILE SECONDS: a CD-DA WAV (44.1 kHz, 16 bit, stereo) of noise.
make_wav() {
  bytes=$(($2 * 176400))
  {
    printf 'RIFF'; le32 $((bytes + 36)); printf 'WAVEfmt '; le32 16
    printf '\001\000\002\000'; le32 44100; le32 176400; printf '\004\000\020\000'
    printf 'data'; le32 $bytes
    head -c $bytes /dev/urandom
  } > "$1"
}

# pcm FILE: the samples of a WAV file (what follows its 44-byte header).
pcm() {
  tail -c +45 "$1"
}

# starts_with FILE PREFIX: FILE begins with PREFIX's bytes; what follows
# (a recorder's zero fill up to whole blocks) is zeros.
starts_with() {
  size=$(wc -c < "$2")
  head -c "$size" "$1" | cmp - "$2" || return 1
  [ -z "$(tail -c +$((size + 1)) "$1" | tr -d '\000' | head -c 1)" ] || { echo "not zero after the data"; return 1; }
}

# same_pcm RECORDED SOURCE: the recorded WAV holds the source's samples.
same_pcm() {
  pcm "$1" > /tmp/pcm.recorded && pcm "$2" > /tmp/pcm.source && starts_with /tmp/pcm.recorded /tmp/pcm.source
}
