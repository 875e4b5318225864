# In the guest: our own program over SG_IO on /dev/srN, which the kernel
# passes to the virtual drive attached with 'maple-cli virtual attach'; the
# kernel's own view (cdrom driver flags, blkid, mount); attach and detach
# leave no configuration behind, also after a failure half-way, a killed
# server and a killed serving process; the serving process's user and groups.
. ./lib.sh
export MAPLE_TEMP_DIR=/tmp/temp MAPLE_CONFIG_DIR=/tmp/config
maple-cli mkiso -o /tmp/data.iso --volume-id MAPLE_VM /usr/lib/modules > /dev/null 2>&1
make_wav /tmp/a.wav 5
make_wav /tmp/b.wav 6
info_says() { maple-cli info | grep -q "$1"; }
blkid_says() {
  blkid "$SR" > /tmp/blkid || return 1
  for field in "$@"; do grep -qF "$field" /tmp/blkid || { cat /tmp/blkid; return 1; }; done
}

# Burn an image on each medium, read it back three ways: copy, the kernel
# (cdrom driver, blkid, mount), export.
for kind in cd-r dvd-r dvd+rw; do
  attach $kind
  check "$kind: drive list names $SR" sh -c "maple-cli drives | grep -q '$SR .*MAPLE   Virtual Recorder'"
  check "$kind: blank" info_says "Disc status: *Empty"
  check "$kind: cdrom driver sees a CD/DVD recorder" cdrom_caps
  check "$kind: burn" quiet maple-cli burn /tmp/data.iso
  check "$kind: load after the burn ejected" maple-cli load
  check "$kind: recorded" info_says "Disc status: *Complete"
  check "$kind: copy --to-iso" quiet maple-cli copy --to-iso /tmp/copy.iso
  check "$kind: the copy is byte-identical" cmp /tmp/copy.iso /tmp/data.iso
  check "$kind: blkid sees the ISO 9660 volume" blkid_says 'TYPE="iso9660"' 'LABEL="MAPLE_VM'
  check "$kind: mount reads the files" mounted_tree_matches /usr/lib/modules
  detach
  check "$kind: exported track holds the image" starts_with "$(exported 1)" /tmp/data.iso
  rm /tmp/copy.iso
done
check "no configuration left" no_leftovers

attach cd-r
check "audio" quiet maple-cli audio --no-eject /tmp/a.wav /tmp/b.wav
detach
check "audio track 1" same_pcm "$(exported 1)" /tmp/a.wav
check "audio track 2" same_pcm "$(exported 2)" /tmp/b.wav

maple-cli virtual create /tmp/rw && maple-cli --virtual /tmp/rw virtual insert cd-rw --from /tmp/data.iso
attach_folder /tmp/rw
check "erase a CD-RW" quiet maple-cli erase --yes
check "erased CD-RW is blank" info_says "Disc status: *Empty"
detach

attach cd-r "fault write-error 200"
check "an injected write error fails the burn" \
  sh -c "! maple-cli burn /tmp/data.iso 2> /tmp/err && grep -q 'recording failed' /tmp/err"
detach

# A failure half-way: the port's name is taken, so the unit made before it
# must go again; then a killed server, removed by 'virtual detach'.
attach cd-r
port=$(sed -n 's|^maple-cli: configured \(.*/loopback/naa\.[^/]*\)$|\1|p' "$DRIVE.trace")
check "detach while serving is refused" sh -c "! maple-cli virtual detach $DRIVE 2> /dev/null"
detach
mkdir -p "$port"
check "attach fails when the port exists" \
  sh -c "! timeout 60 maple-cli virtual attach $DRIVE > /dev/null 2>&1"
rmdir "$port" "$(dirname "$port")"
check "the failed attach left nothing" no_leftovers
attach_folder "$DRIVE"
kill -KILL $SERVER
wait $SERVER
check "detach removes what a killed server left" maple-cli virtual detach "$DRIVE"
check "nothing left after detach" no_leftovers
check "a second detach finds nothing" sh -c "! maple-cli virtual detach $DRIVE 2> /dev/null"

# The commands are answered by a process of the folder owner's user and
# groups (nobody for root's folder) that cannot gain privileges again.
ids() {
  grep -E '^(Uid|Gid|Groups|NoNewPrivs):' /proc/$1/status | tr -s '\t ' ' ' | tr '\n' ';'
}
has_ids() { [ "$(ids $1)" = "$2" ] || { echo "process $1: $(ids $1)"; return 1; }; }
attach cd-r
echo "serving process $SERVING: $(ids $SERVING)"
check "served as the folder's owner" has_ids $SERVING \
  'Uid: 1000 1000 1000 1000;Gid: 1000 1000 1000 1000;Groups: 1000 ;NoNewPrivs: 1;'
check "configured by root" sh -c "grep -q '^Uid:.0.0.0.0' /proc/$SERVER/status"
check "burn through the serving process" quiet maple-cli burn /tmp/data.iso
detach
maple-cli virtual create /tmp/root-owned && maple-cli --virtual /tmp/root-owned virtual insert cd-r
KEEP_OWNER=1 attach_folder /tmp/root-owned
echo "serving process $SERVING: $(ids $SERVING)"
check "root's folder is served as nobody" has_ids $SERVING \
  'Uid: 65534 65534 65534 65534;Gid: 65534 65534 65534 65534;Groups: ;NoNewPrivs: 1;'
detach

# A serving process that dies with a command in its ring: the command fails
# and everything is taken down within seconds, not the command's time limit.
attach cd-r
kill -STOP $SERVING
maple-cli eject > /dev/null 2>&1 &
asking=$!
sleep 1
kill -KILL $SERVING
started=$(date +%s)
wait $SERVER
check "the configuring process ends with a failure" [ $? -ne 0 ]
check "within seconds" [ $(( $(date +%s) - started )) -le 10 ]
wait $asking
check "the waiting command failed" [ $? -ne 0 ]
check "nothing left after a dead serving process" no_leftovers
finish
