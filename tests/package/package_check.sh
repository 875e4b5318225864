#!/usr/bin/env bash
# The Debian package made from this build tree: its files are the install
# layout, its dependencies come from the libraries, the desktop entry and the
# AppStream data pass their validators, and the installed maple-cli runs.
# Usage: package_check.sh BUILD_DIR
set -uo pipefail
build=$1
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$WORK/out" >"$WORK/cpack.log" 2>&1 ||
    { cat "$WORK/cpack.log"; exit 1; }
deb=$(ls "$WORK"/out/*.deb)

expected="./usr/bin/maple-cli
./usr/bin/maple-writer
./usr/share/applications/maple-writer-audio.desktop
./usr/share/applications/maple-writer-data.desktop
./usr/share/applications/org.maple_writer.MapleWriter.desktop
./usr/share/bash-completion/completions/maple-cli
./usr/share/doc/maple-writer/changelog.gz
./usr/share/doc/maple-writer/copyright
./usr/share/icons/hicolor/128x128/apps/org.maple_writer.MapleWriter.png
./usr/share/icons/hicolor/256x256/apps/org.maple_writer.MapleWriter.png
./usr/share/icons/hicolor/48x48/apps/org.maple_writer.MapleWriter.png
./usr/share/icons/hicolor/scalable/apps/org.maple_writer.MapleWriter.svg
./usr/share/man/man1/maple-cli.1.gz
./usr/share/man/man1/maple-writer.1.gz
./usr/share/maple-writer/Chinese Tradition.lng
./usr/share/maple-writer/English.lng
./usr/share/maple-writer/User Manual.pdf
./usr/share/maple-writer/maple-writer.INI
./usr/share/metainfo/org.maple_writer.MapleWriter.metainfo.xml"
listed=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | LC_ALL=C sort)
[ "$listed" = "$expected" ] || fail "package files differ: $(diff <(echo "$expected") <(echo "$listed"))"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6svg6 libqt6gui6 libsoxr0 qt6-translations-l10n libsystemd0 \
    libqt6dbus6 libqt6network6; do
    [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = fonts-noto-cjk ] || fail "Recommends: fonts-noto-cjk"

root=$WORK/root
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root"/usr/share/applications/*.desktop || fail "desktop entry"
# The "Open With" entries: not in the menu, handing the files to the window.
for kind in data audio; do
    entry=$root/usr/share/applications/maple-writer-$kind.desktop
    grep -qx "NoDisplay=true" "$entry" || fail "$kind entry is shown in the menu"
    grep -qx "Exec=maple-writer --$kind %F" "$entry" || fail "$kind entry: $(grep ^Exec= "$entry")"
done
grep -q "^MimeType=.*inode/directory;" "$root"/usr/share/applications/maple-writer-data.desktop ||
    fail "the data disc entry does not take folders"
grep -q "^MimeType=.*audio/flac;" "$root"/usr/share/applications/maple-writer-audio.desktop ||
    fail "the audio entry does not take FLAC files"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.xml >"$WORK/as.log" ||
    fail "metainfo: $(cat "$WORK/as.log")"
for page in "$root"/usr/share/man/man1/*.gz; do
    problems=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$problems" ] || fail "$(basename "$page"): $problems"
done

export MAPLE_CONFIG_DIR=$WORK/config MAPLE_TEMP_DIR=$WORK/temp
cli=$root/usr/bin/maple-cli
"$cli" virtual create "$WORK/drive" >/dev/null || fail "installed maple-cli: virtual create"
drives=$("$cli" --virtual "$WORK/drive" drives)
[[ "$drives" == "1: virtual0 HA:0 ID:0 MAPLE"* ]] || fail "installed maple-cli drives: $drives"

# The shell completion offers exactly the commands of the help text.
commands=$("$cli" --help | sed -n 's/^  \([a-z][a-z0-9]*\) .*/\1/p' | xargs)
completion=$(sed -n 's/^ *local commands="\(.*\)"$/\1/p' \
    "$root/usr/share/bash-completion/completions/maple-cli")
[ "$commands" = "$completion" ] || fail "completion offers '$completion', help lists '$commands'"

[ "$failures" = 0 ] && echo "package_check: all checks passed"
exit $((failures > 0))
