#!/usr/bin/env bash
# maple-cli.exe under Wine. Over a virtual drive (--virtual) and over the
# stand-in ASPI layer (the same drive, named by MAPLE_VIRTUAL_DRIVES): the
# drive lists, an image made, recorded through ASPI, copied back through the
# virtual drive and compared byte for byte.
# Usage: rehearsal.sh MAPLE-CLI.EXE WNASPI32.DLL WINE-RUN
set -euo pipefail
cli_exe=$1 aspi_dll=$2 wine_run=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The ASPI layer is found beside the program, under its usual name.
mkdir "$work/bin"
cp "$cli_exe" "$work/bin/maple-cli.exe"
cp "$(dirname "$cli_exe")"/{libsoxr,libsndfile-1,libmpg123-0,libtag}.dll "$work/bin/"
cp "$aspi_dll" "$work/bin/WNASPI32.DLL"
cli() { "$wine_run" "$work/bin/maple-cli.exe" "$@" | tr -d '\r'; }
win() { printf 'Z:%s' "${1//\//\\}"; }  # Wine's Z: is the Linux root
fail() { echo "rehearsal: $*" >&2; exit 1; }

drive=$(win "$work/drive")
mkdir -p "$work/files/docs" && printf 'Windows build\n' > "$work/files/readme.txt"
head -c 300000 /dev/urandom > "$work/files/docs/random.bin"

cli virtual create "$drive"
cli --virtual "$drive" virtual insert cd-r
cli --virtual "$drive" drives | tee "$work/virtual.txt"
grep -q '^1: virtual0 HA:0 ID:0 MAPLE' "$work/virtual.txt" || fail "no virtual drive listed"

export MAPLE_VIRTUAL_DRIVES="$drive"
cli drives | tee "$work/aspi.txt"
grep -q '^1: :\\ HA:0 ID:0 MAPLE' "$work/aspi.txt" || fail "no drive of the ASPI layer listed"

cli mkiso -o "$(win "$work/disc.iso")" --date "2024-05-06 07:08:09" "$(win "$work/files/readme.txt")" \
    "$(win "$work/files/docs")"
cli burn "$(win "$work/disc.iso")" --no-eject
cli info | tee "$work/info.txt"
grep -qw 'Complete' "$work/info.txt" || fail "the disc is not complete after the burn"
unset MAPLE_VIRTUAL_DRIVES
cli --virtual "$drive" copy --to-iso "$(win "$work/copy.iso")"
cmp "$work/disc.iso" "$work/copy.iso" || fail "the copy differs from the image"
# The temporary images' folder is the user's own, not the program's.
compgen -G "$WINEPREFIX/drive_c/users/*/AppData/Local/maple-writer" > /dev/null ||
  fail "no temporary folder under %LOCALAPPDATA%"
[ ! -e "$work/bin/tempiso.iso" ] || fail "a temporary image in the program folder"
echo "rehearsal: recorded through ASPI and copied back byte for byte"
