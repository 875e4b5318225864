#!/bin/bash
# Adding files to discs that hold data, on the virtual drive: three sessions
# on a CD-R, a DVD+R and a BD-R closed by `close`, a DVD-R, a DVD+RW and a
# BD-RE grown in place, and a disc that xorriso started. The disc is put
# together from the exported tracks at their addresses and read by xorriso
# from the last session.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"

# disc_image OUT: the recorded tracks at their start addresses, in one file.
disc_image() {
    rm -rf exported "$1"
    v virtual export exported >/dev/null || fail "export"
    show | sed -n 's/^track \([0-9]*\): session [0-9]*, data, start \([0-9]*\),.*/\1 \2/p' |
        while read -r track start; do
            dd if="$(printf 'exported/track%02d.iso' "$track")" of="$1" bs=2048 seek="$start" \
                conv=notrunc status=none
        done
    [ -s "$1" ] || cp exported/track01.iso "$1"  # written in place: one track
}

# check_disc START DIR...: xorriso, loading the session at START, finds
# exactly the files of the folders DIR (merged) with their contents.
check_disc() {
    local start=$1
    shift
    disc_image disc.img
    rm -rf extracted expected
    mkdir expected
    for dir in "$@"; do cp -r "$dir"/. expected/; done
    xorriso -abort_on FATAL -local_charset UTF-8 -load sbsector "$start" -indev disc.img \
        -osirrox on -extract / extracted >xorriso.log 2>&1 || fail "xorriso: $(tail -2 xorriso.log)"
    diff -r expected extracted >diff.out 2>&1 || fail "disc differs: $(head -5 diff.out)"
}

session_start() { v info | sed -n "s/^Session $1: *start \([0-9]*\),.*/\1/p"; }

mkdir -p one/docs two/docs three
head -c 300000 /dev/urandom >one/photo.jpg
echo "first notes" >one/docs/notes.txt
head -c 70000 /dev/urandom >two/video.bin
echo "more" >two/docs/more.txt
echo "third" >three/third.txt
"$CLI" mkiso -o one.iso one/photo.jpg one/docs 2>/dev/null || fail "mkiso"
"$CLI" virtual create drive >/dev/null || fail "virtual create"

# --- CD-R: three sessions, the folder "docs" merged, closed by the third.
insert cd-r
expect 1 "The disc is blank" v add --no-eject three/third.txt
v burn one.iso --no-fix --no-eject >/dev/null 2>&1 || fail "first session"
v add --no-fix --no-eject two/video.bin two/docs >add.out 2>add.err || fail "add: $(cat add.err)"
grep -q "^files added" add.out || fail "add did not report success"
v add --no-eject three/third.txt >/dev/null 2>add.err || fail "third session: $(cat add.err)"
v info >info.txt
grep -q "^Session 3: *start 18904," info.txt || fail "sessions: $(cat info.txt)"
grep -q "^Session 2: *start 11702," info.txt || fail "CD gap after the first session: $(cat info.txt)"
check_disc 18904 one two three
expect 1 "The disc is closed" v add --no-eject two/video.bin

# --- Copies of the three-session disc hold its last session's view, in one session.
v copy --to-iso copy.iso >/dev/null 2>&1 || fail "copy to an image"
rm -rf copied && mkdir expected3 && cp -r one/. two/. three/. expected3/
xorriso -osirrox on -indev copy.iso -extract / copied >/dev/null 2>&1 || fail "xorriso: the copy"
diff -r expected3 copied >diff.out 2>&1 || fail "the copied image differs: $(head -3 diff.out)"
v copy --blank cd-r --no-eject >/dev/null 2>&1 || fail "disc copy"
show | grep -q "^track 2:" && fail "the copy has more than one session"
check_disc 0 one two three

# --- A clash is refused unless --replace; the disc is untouched then.
insert cd-rw
v burn one.iso --no-fix --no-eject >/dev/null 2>&1 || fail "cd-rw first session"
mkdir -p clash/docs && echo "replaced notes" >clash/docs/notes.txt
expect 1 "/docs/notes.txt is already on the disc" v add --no-eject clash/docs
show | grep -q "^track 2:" && fail "a refused clash recorded a track"
v add --replace --no-fix --no-eject clash/docs >/dev/null 2>&1 || fail "add --replace"
mkdir -p want/docs && cp one/photo.jpg want/ && cp clash/docs/notes.txt want/docs/
check_disc "$(session_start 2)" want

# --- DVD+R and BD-R: sessions follow each other; close finalises without a
# session, with the close function of the medium (DVD+R 101b, BD-R 110b).
for kind in dvd+r:05 bd-r:06; do
    function=${kind#*:} kind=${kind%:*}
    insert "$kind"
    v burn one.iso --no-fix --no-eject >/dev/null 2>&1 || fail "$kind first session"
    v add --no-fix --no-eject two/video.bin two/docs >/dev/null 2>&1 || fail "$kind add"
    v --trace close --no-eject >close.out 2>&1 || fail "$kind close: $(grep -v ^trace close.out)"
    grep -q "^trace: 5B 00 $function " close.out || fail "$kind: not finalised with $function"
    v info | grep -q "^Disc status: *Complete" || fail "close left the $kind open: $(v info)"
    show | grep -q "^track 3:" && fail "closing a $kind recorded a track"
    check_disc "$(session_start 2)" one two
done

# --- DVD-R: close records a last session listing the same files.
insert dvd-r
v burn one.iso --no-fix --no-eject >/dev/null 2>&1 || fail "dvd-r first session"
v close --no-eject >/dev/null 2>&1 || fail "dvd-r close"
v info | grep -q "^Disc status: *Complete" || fail "close left the DVD-R open"
check_disc "$(session_start 2)" one

# --- DVD+RW and BD-RE (formatted at its first recording) grow in place: one
# session, every file, verified.
for kind in dvd+rw bd-re; do
    insert "$kind"
    v burn one.iso --no-eject >/dev/null 2>&1 || fail "$kind first recording"
    v add --verify --no-eject two/video.bin two/docs >/dev/null 2>add.err ||
        fail "$kind grow: $(cat add.err)"
    v info | grep -q "^Session 2:" && fail "a grown $kind lists sessions"
    check_disc 0 one two
done

# --- A disc started by xorriso (Rock Ridge, no Joliet) keeps its names.
mkdir -p theirs/"Mixed Case" && echo "from xorriso" >theirs/"Mixed Case"/"A long name, with commas.txt"
ln -s "Mixed Case" theirs/link
xorriso -outdev theirs.iso -map theirs / -commit >/dev/null 2>&1 || fail "xorriso image"
insert cd-r
v burn theirs.iso --no-fix --no-eject >/dev/null 2>&1 || fail "burn the xorriso image"
v add --no-fix --no-eject three/third.txt >/dev/null 2>add.err || fail "continue: $(cat add.err)"
grep -q "link stays on the disc" add.err || fail "the symbolic link was not listed: $(cat add.err)"
rm theirs/link
check_disc "$(session_start 2)" theirs three

finish "adding files to discs"
