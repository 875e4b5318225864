#!/usr/bin/env bash
# Builds the guest once per machine: Debian's kernel, a static busybox, the
# kernel modules of the SCSI target and the CD driver, blkid, the peer
# burning, ripping and inspecting programs with their libraries, and the
# El Torito images of two Debian packages (in /images, the packages only
# unpacked), into CACHE (vmlinux + base.cpio.gz).
# Called by run-guest.sh under a lock; does nothing when CACHE/ready exists.
set -euo pipefail

cache="$1"
[ -f "$cache/ready" ] && exit 0
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/copy-program.sh"

modules=(sr_mod sg isofs target_core_user tcm_loop)
peers=(busybox-static wodim growisofs cdrdao xorriso cdparanoia icedax libcdio-utils cdrskin
  dvd+rw-tools)
programs=(/usr/bin/wodim /usr/bin/growisofs /usr/bin/cdrdao /usr/bin/xorriso /usr/bin/cdparanoia
  /usr/bin/icedax /usr/bin/cd-info /usr/bin/cdrskin /usr/bin/dvd+rw-mediainfo)
# Bootable CD images as Debian ships them: GRUB's rescue CD (its ISO volume is
# the whole image) and iPXE's (padded past its volume for its MBR partition).
images=(grub-rescue-pc:usr/lib/grub-rescue/grub-rescue-cdrom.iso ipxe:usr/lib/ipxe/ipxe.iso)

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir -p debs root tree

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }

# The packages' own dependencies that the host lacks (their libraries come
# from the host otherwise, which runs the same Debian release).
missing_depends() {
  apt-cache depends --important "$1" | awk '
    /^ *Depends: </ { virtual = 1; next }
    /^ *Depends: / { virtual = 0; print $2; next }
    virtual && /^    [^ ]/ { print $1; virtual = 0 }'
}

kernel="$(apt-cache depends linux-image-amd64 | awk '/Depends: linux-image-[0-9]/ { print $2; exit }')"
[ -n "$kernel" ] || { echo "vm: no kernel package found (apt-get update?)" >&2; exit 1; }
wanted=("$kernel" "${peers[@]}" "${images[@]%%:*}")
queue=("${peers[@]}")
while [ ${#queue[@]} -gt 0 ]; do
  package="${queue[0]}"
  queue=("${queue[@]:1}")
  for dep in $(missing_depends "$package"); do
    if ! installed "$dep" && [[ " ${wanted[*]} " != *" $dep "* ]]; then
      wanted+=("$dep")
      queue+=("$dep")
    fi
  done
done
echo "vm: fetching ${wanted[*]}" >&2
(cd debs && apt-get -q -o APT::Sandbox::User=root download "${wanted[@]}" >/dev/null)
for deb in debs/*.deb; do dpkg-deb -x "$deb" root; done

busybox="$work/root/bin/busybox"
kver="$(ls root/lib/modules)"
# The kernel unpacked ahead: QEMU starts it directly (its PVH entry), which
# saves the 8 s its own xz decompression takes under TCG.
offset="$(LC_ALL=C grep -m 1 -obUaP '\xfd7zXZ\x00' root/boot/vmlinuz-* | cut -d: -f1)"
[ -n "$offset" ] || { echo "vm: the kernel image holds no xz stream" >&2; exit 1; }
tail -c +$((offset + 1)) root/boot/vmlinuz-* > vmlinux.xz
xz -dc --single-stream vmlinux.xz > "$work/vmlinux"

# Busybox and its applets, the usual folders, /lib and /lib64 as in Debian.
mkdir -p tree/bin tree/sbin tree/usr/bin tree/usr/lib tree/usr/lib64 tree/proc tree/sys tree/dev \
  tree/tmp tree/mnt tree/work
ln -s usr/lib tree/lib
ln -s usr/lib64 tree/lib64
cp "$busybox" tree/bin/busybox
for applet in $("$busybox" --list); do
  [ -e "tree/bin/$applet" ] || ln -s busybox "tree/bin/$applet"
done

# Modules: the wanted ones and what they depend on, with a modules.dep of their own.
"$busybox" depmod -b root "$kver"
moddir="lib/modules/$kver"
needed=()
add_module() {
  local line path
  line="$(grep -E "(^|/)$1\.ko(\.xz)?:" "root/$moddir/modules.dep")" || { echo "vm: no module $1" >&2; exit 1; }
  for path in ${line/:/}; do
    [[ " ${needed[*]} " == *" $path "* ]] || needed+=("$path")
  done
}
for module in "${modules[@]}"; do add_module "$module"; done
for path in "${needed[@]}"; do
  mkdir -p "tree/$moddir/$(dirname "$path")"
  case "$path" in
    *.xz) xz -dc "root/$moddir/$path" > "tree/$moddir/${path%.xz}" ;;
    *) cp "root/$moddir/$path" "tree/$moddir/$path" ;;
  esac
done
"$busybox" depmod -b tree "$kver"

mkdir -p tree/images
for image in "${images[@]}"; do cp "root/${image#*:}" tree/images/; done

# blkid from the host's util-linux (busybox has none); peer programs with
# every library they load.
copy_program tree /usr/sbin/blkid /usr/bin/blkid
export LD_LIBRARY_PATH="$work/root/usr/lib/x86_64-linux-gnu"
for program in "${programs[@]}"; do
  copy_program tree "$work/root$program" "$program" "$work/root"
done
unset LD_LIBRARY_PATH

(cd tree && find . | "$busybox" cpio -o -H newc 2>/dev/null) | gzip -1 > "$work/base.cpio.gz"
# The kernel reads an uncompressed archive after this one only at a 4-byte boundary.
truncate -s "%4" "$work/base.cpio.gz"
mkdir -p "$cache"
cp "$work/vmlinux" "$work/base.cpio.gz" "$cache/"
cp "$busybox" "$cache/busybox"
echo "$kernel" > "$cache/ready"
