#!/bin/bash
# Names on the disc, read back with pycdlib through both trees: every file of
# the sources is reachable under a unique ISO 9660 and Joliet name (a file
# beside a folder of the same short name, case twins, a folder given twice,
# names that are not UTF-8, "." and ".." as PATH); what is left out is named.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"

# listing IMAGE: "Joliet path=content" of every file, one a line; fails when
# the ISO 9660 tree does not hold the same contents under unique names.
listing() {
    /usr/bin/python3 - "$1" <<'EOF'
import io, sys, pycdlib
iso = pycdlib.PyCdlib()
iso.open(sys.argv[1])
def files(kind):
    found = []
    for folder, dirs, names in iso.walk(**{kind: "/"}):
        assert len({n.lower() for n in dirs + names}) == len(dirs + names), (kind, folder)
        for name in names:
            data = io.BytesIO()
            path = folder.rstrip("/") + "/" + name
            iso.get_file_from_iso_fp(data, **{kind: path})
            found.append((path, data.getvalue().decode()))
    return found
joliet = files("joliet_path")
assert sorted(c for _, c in files("iso_path")) == sorted(c for _, c in joliet), "ISO 9660 tree"
print("\n".join(f"{p}={c}" for p, c in joliet))
EOF
}

mkdir -p src/b.htm a/photos b/photos/sub
printf in >src/b.htm/in.txt
printf html >src/b.html
printf lower >src/readme.txt
printf upper >src/Readme.TXT
printf ff >$'src/bad\xff.txt'
printf fe >$'src/bad\xfe.txt'
printf a >a/photos/x
printf b >b/photos/x
mkfifo src/pipe
ln -s nowhere src/gone
"$CLI" mkiso -o names.iso src a/photos b/photos/sub/.. 2>err.txt || fail "mkiso: $(cat err.txt)"
# The image holds exactly these files.
printf '%s\n' /photos/x=a "/photos (2)/x=b" /src/Readme.TXT=upper /src/b.htm/in.txt=in /src/b.html=html \
    /src/bad�.txt=fe "/src/bad� (2).txt=ff" "/src/readme (2).txt=lower" | sort >expected.txt
diff expected.txt <(listing names.iso | sort) >diff.txt || fail "names.iso: $(cat diff.txt)"
for line in "skipped src/pipe (a named pipe)" "skipped src/gone (a link that leads nowhere)" \
    "src/readme.txt: a file of that name is already there; kept as \"readme (2).txt\"" \
    'src/bad\xFF.txt: the name is not valid UTF-8; kept as "bad� (2).txt"' \
    "b/photos/sub/..: a folder of that name is already there; kept as \"photos (2)\""; do
    grep -qF -- "$line" err.txt || fail "not reported: $line"
done

# "." and ".." name the folders they stand for.
rm src/pipe src/gone
for entry in "src:." ".:src/." "src/b.htm:.."; do
    (cd "${entry%%:*}" && "$CLI" mkiso -o "$WORK/dot.iso" "${entry#*:}" 2>/dev/null) || fail "mkiso $entry"
    listing dot.iso | grep -x "/src/b.html=html" >/dev/null || fail "$entry: $(listing dot.iso)"
done

# A folder that cannot be read fails the build like an unreadable file (not
# provable as root, who reads every folder).
mkdir locked
chmod 000 locked
if ! /usr/bin/python3 -c 'import os; os.listdir("locked")' 2>/dev/null; then
    expect 1 "could not read locked (cannot be listed" "$CLI" mkiso -o locked.iso src/b.html locked
    [ -s locked.iso ] || fail "no image beside an unreadable folder"
fi
chmod 700 locked

finish "iso names"
