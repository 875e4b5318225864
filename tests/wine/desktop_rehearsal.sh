#!/usr/bin/env bash
# The Windows package under Wine, on a virtual X display (Xvfb) with the
# windows platform, in a Wine folder of its own:
# - the installer installs silently: files, Start-menu entry, .iso association;
# - the installed maple-writer.exe, driven by the rehearsal driver (driver/),
#   opens each task window on a virtual drive, records an image from the
#   record-image window with verification, gets the image handed over by a
#   second start through the .iso association, and ends by its Exit button;
# - the disc read back by the installed maple-cli.exe equals the image;
# - the uninstaller removes the program, its entry and its association.
# Usage: desktop_rehearsal.sh BUILD-FOLDER DRIVER-DLL SOURCE-FOLDER
set -euo pipefail
build=$1 driver=$2 source=$3
work=$(mktemp -d)
export WINEPREFIX="$work/wine" WINEDEBUG=-all
# No menu entries or file types on the build machine's own desktop.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
xvfb=
cleanup() {
  /usr/lib/wine/wineserver -k 2> /dev/null || true
  [ -z "$xvfb" ] || kill "$xvfb" 2> /dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "desktop rehearsal: $*" >&2; exit 1; }
step() { echo "desktop rehearsal: $*"; }
wine() { /usr/lib/wine/wine64 "$@" < /dev/null; }
win() { printf 'Z:%s' "${1//\//\\}"; }  # Wine's Z: is the Linux root

Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5> "$work/display" 2> /dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
wine wineboot --init > /dev/null 2>&1

step "packing"
bash "$source/scripts/package-windows" --built "$build" "$work/package" > "$work/package.txt"
setup=$(grep -- '-setup\.exe$' "$work/package.txt")

step "installing"
wine "$setup" /S
program="$WINEPREFIX/drive_c/Program Files/MAPLE CD-DVD Writer"
for file in maple-writer.exe maple-cli.exe Qt6Core.dll Qt6Widgets.dll libsoxr.dll \
            libsndfile-1.dll libmpg123-0.dll libtag.dll licenses/libsndfile/COPYING.txt \
            platforms/qwindows.dll styles/qwindowsvistastyle.dll English.lng \
            "Chinese Tradition.lng" "User Manual.pdf" THIRD-PARTY.txt licenses/Qt/LGPL-3.0-only.txt \
            translations/qtbase_zh_CN.qm translations/qtbase_zh_TW.qm \
            uninstall.exe; do
  [ -f "$program/$file" ] || fail "not installed: $file"
done
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/MAPLE CD-DVD Writer.lnk"
[ -f "$menu" ] || fail "no Start-menu entry"
registry() { wine reg query "$@" 2> /dev/null | tr -d '\r'; }
registry 'HKCR\.iso' /ve | grep -q 'MapleWriter.IsoImage' || fail ".iso is not associated"
registry 'HKCR\MapleWriter.IsoImage\shell\open\command' /ve |
  grep -qF 'MAPLE CD-DVD Writer\maple-writer.exe" "%1"' || fail "no open command for .iso"

step "recording from the record-image window"
cli() { wine "$program/maple-cli.exe" "$@" | tr -d '\r'; }
drive=$(win "$work/drive")
cli virtual create "$drive" > /dev/null
cli --virtual "$drive" virtual insert cd-r > /dev/null
mkdir -p "$work/files/docs"
printf 'Windows window rehearsal\n' > "$work/files/readme.txt"
head -c 400000 /dev/urandom > "$work/files/docs/random.bin"
cli mkiso -o "$(win "$work/disc.iso")" "$(win "$work/files/readme.txt")" \
    "$(win "$work/files/docs")" > /dev/null
# The driver is the rehearsal's only; it leaves with its folder.
mkdir "$program/generic"
cp "$driver" "$program/generic/"
status=0
MAPLE_VIRTUAL_DRIVES="$drive" WINEQT_QPA_GENERIC_PLUGINS=maplerehearsal \
  MAPLE_REHEARSAL_LOG="$(win "$work/rehearsal.log")" MAPLE_REHEARSAL_IMAGE="$(win "$work/disc.iso")" \
  timeout 600 /usr/lib/wine/wine64 "$program/maple-writer.exe" < /dev/null || status=$?
rm -r "$program/generic"
cat "$work/rehearsal.log" 2> /dev/null || true
[ "$status" = 0 ] || fail "maple-writer.exe ended with $status"
log() { grep -qF -- "$1" "$work/rehearsal.log" || fail "$2"; }
log "done: the main window lists the drive" "the main window did not list the drive"
for window in frmWriteCDDA frmSaveISO2 frmSaveISO; do
  log "done: back from $window" "the task window $window did not open and close"
done
log "Recording complete!" "the recording did not complete"
log "Verified:" "the disc was not verified"
log "second start: exit code 0" "the second start did not hand the image over"
log "image: $(win "$work/disc.iso")" "the handed-over image was not chosen"
cli --virtual "$drive" copy --to-iso "$(win "$work/copy.iso")" > /dev/null
cmp "$work/disc.iso" "$work/copy.iso" || fail "the disc differs from the image"

step "uninstalling"
wine "$program/uninstall.exe" /S
# The uninstaller runs on from a copy of itself in the temporary folder.
for _ in $(seq 100); do [ -e "$program" ] || break; sleep 0.2; done
[ ! -e "$program" ] || fail "left behind: $(cd "$program" && find . | head)"
[ ! -e "$menu" ] || fail "the Start-menu entry was left"
registry 'HKCR\MapleWriter.IsoImage' > /dev/null && fail "the .iso file type was left"
! registry 'HKCR\.iso' /ve | grep -q 'MapleWriter' || fail "the .iso association was left"
registry 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\MapleWriter' > /dev/null &&
  fail "the uninstall entry was left"
step "installed, recorded, verified and uninstalled"
