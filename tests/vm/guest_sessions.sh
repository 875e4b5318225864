# In the guest: files added to discs through the kernel device. Three
# sessions on a CD-R, a DVD+R and a BD-R, a DVD+RW and a BD-RE grown in
# place, a disc that xorriso started; after an eject and load the kernel
# mounts the last session and every file has its source's sha256; xorriso
# counts the sessions; a copy of the three-session disc mounts with the
# last view.
. ./lib.sh
export MAPLE_TEMP_DIR=/tmp/temp MAPLE_CONFIG_DIR=/tmp/config
mkdir -p /tmp/one/lib /tmp/two/net /tmp/three "/tmp/theirs/Mixed Case"
# Small trees keep the guest quick; odd sizes cross block and chunk borders.
for i in 1 2 3 4 5 6 7 8; do
  head -c $((i * 37813)) /dev/urandom > /tmp/one/lib/part$i.bin
  head -c $((i * 2048)) /dev/urandom > /tmp/two/net/block$i.bin
done
head -c 123457 /dev/urandom > /tmp/three/odd-size.bin
echo "from xorriso" > "/tmp/theirs/Mixed Case/A long name, with commas.txt"
maple-cli mkiso -o /tmp/one.iso /tmp/one/lib > /dev/null 2>&1

# sums_match DIR MOUNTED: every file of DIR has the same sha256 under MOUNTED.
sums_match() {
  (cd "$1" && find . -type f) > /tmp/files
  same=0
  while read -r file; do
    [ "$(sha256sum < "$1/$file")" = "$(sha256sum < "$2/$file" 2> /dev/null)" ] ||
      { echo "differs: $file"; same=1; }
  done < /tmp/files
  return $same
}
# mounted_sums DEVICE DIR...: the kernel mounts DEVICE; each DIR's content is there.
mounted_sums() {
  device=$1
  shift
  mount -t iso9660 -o ro "$device" /mnt || return 1
  status=0
  for dir in "$@"; do sums_match "$dir" /mnt || status=1; done
  umount /mnt
  return $status
}
sessions() {
  xorriso -indev "$SR" -toc 2> /dev/null | grep -c '^ISO session' | grep -qx "$1"
}

for kind in cd-r dvd+r bd-r; do
  attach $kind
  check "$kind: first session" quiet maple-cli burn --no-fix --no-eject /tmp/one.iso
  check "$kind: second session" quiet maple-cli add --no-fix --no-eject /tmp/two/net
  check "$kind: third session" quiet maple-cli add --no-fix /tmp/three/odd-size.bin
  check "$kind: load" quiet maple-cli load
  check "$kind: mount shows every file" mounted_sums "$SR" /tmp/one /tmp/two /tmp/three
  check "$kind: xorriso lists three sessions" sessions 3
  [ $kind != cd-r ] || check "$kind: copy --to-iso" quiet maple-cli copy --to-iso /tmp/copy.iso
  detach
done

# The copy, as a pressed disc in another drive: one session, the last view.
maple-cli virtual create /tmp/copied > /dev/null &&
  maple-cli --virtual /tmp/copied virtual insert cd-rom --from /tmp/copy.iso > /dev/null
attach_folder /tmp/copied
check "the copy mounts with the last session's files" \
  mounted_sums "$SR" /tmp/one /tmp/two /tmp/three
check "the copy is one session" sessions 1
detach

for kind in dvd+rw bd-re; do
  attach $kind
  check "$kind: first recording" quiet maple-cli burn --no-eject /tmp/one.iso
  check "$kind: grown" quiet maple-cli add --no-eject /tmp/two/net
  check "$kind: grown again" quiet maple-cli add /tmp/three/odd-size.bin
  check "$kind: load" quiet maple-cli load
  check "$kind: mount shows every file" mounted_sums "$SR" /tmp/one /tmp/two /tmp/three
  check "$kind: one session" sessions 1
  detach
done

attach cd-r
check "xorriso starts a disc" quiet xorriso -outdev "$SR" -map /tmp/theirs / -commit
check "load after xorriso" reload
check "maple-cli continues it" quiet maple-cli add --no-fix /tmp/three/odd-size.bin
check "load" quiet maple-cli load
check "xorriso's names kept" mounted_sums "$SR" /tmp/theirs /tmp/three
detach
finish
