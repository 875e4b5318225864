#!/bin/bash
# Output files of mkiso, copy --to-iso and wav2cda: built under a fresh partial name,
# never written through a link, and never replacing anything but a regular
# file; a refusal or a full disk leaves everything as it was. Temporary files: where they go
# and which stale ones are removed.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"

echo data >data.bin
"$CLI" mkiso -o image.iso data.bin 2>/dev/null || fail "mkiso"
"$CLI" virtual create drive >/dev/null || fail "virtual create"
insert cd-rom --from image.iso
echo victim >victim
mkdir full
# wav2cda converts the first and copies the second (already CD-DA).
sox -n -r 22050 -c 1 low.wav synth 0.2 sine 440 && sox -n -r 44100 -b 16 -c 2 cd.wav synth 0.2 sine 440 ||
    fail "sox"
wav2cda() { for source in low.wav cd.wav; do "$CLI" wav2cda "$source" "$1" 2>&1 || return; done; }

# A link planted where a partial file might be expected is not followed.
for name in out.iso copy.iso out.wav; do ln -s victim "$name.part"; done
"$CLI" mkiso -o out.iso data.bin 2>err.txt || fail "mkiso beside a planted link: $(cat err.txt)"
v copy --to-iso copy.iso >/dev/null 2>err.txt || fail "copy beside a planted link: $(cat err.txt)"
wav2cda out.wav >err.txt || fail "wav2cda beside a planted link: $(cat err.txt)"
[ "$(cat victim)" = victim ] || fail "a planted link was written through"
[ -f out.iso ] && [ ! -L out.iso ] && cmp -s image.iso copy.iso || fail "outputs not made"
[ "$(soxi -r out.wav)" = 44100 ] || fail "wav2cda made no CD-DA file"

# Targets that are not regular files: refused by name, nothing replaced.
ln -s victim link.iso
ln -s nowhere dangling.iso
mkfifo fifo.iso
mkdir folder.iso
targets=("link.iso:a symbolic link" "dangling.iso:a symbolic link" "fifo.iso:a named pipe"
    "folder.iso:a folder")
mknod device.iso c 1 3 2>/dev/null && targets+=("device.iso:a device")
for entry in "${targets[@]}"; do
    target=${entry%%:*} kind=${entry#*:}
    before=$(stat -c %F "$target")
    expect 1 "$target is $kind, not a regular file" "$CLI" mkiso -o "$target" data.bin
    expect 1 "$target is $kind, not a regular file" v copy --to-iso "$target"
    for source in low.wav cd.wav; do
        expect 1 "$target is $kind, not a regular file" "$CLI" wav2cda $source "$target"
    done
    [ "$(stat -c %F "$target")" = "$before" ] || fail "$target was replaced"
done
[ "$(cat victim)" = victim ] || fail "a link's target was written"
# A full disk (the file size limit) during a copy: named, nothing left.
expect 1 "copy.iso could not be created!" bash -c "trap '' XFSZ; ulimit -f 16; exec \"\$0\" \"\$@\"" \
    "$CLI" --virtual drive copy --to-iso "$WORK/full/copy.iso"
[ -z "$(ls full)" ] || fail "a full disk left a file: $(ls full)"
ls | grep -Eq '\.(iso|wav)\.[[:alnum:]]{6}\.part$' && fail "a partial file was left: $(ls)"

# Temporary files: the user's cache folder unless MAPLE_TEMP_DIR says
# otherwise; what an earlier run left there is removed when copy starts, and
# nothing else is.
unset MAPLE_TEMP_DIR
export XDG_CACHE_HOME=$WORK/cache
own=$XDG_CACHE_HOME/maple-writer
mkdir -p "$own"
stale=(tempiso.iso tempwav.wav tempiso.iso.Ab12Cd.part)
kept=(notes.txt tempiso.iso.part other.iso.Ab12Cd.part)
for name in "${stale[@]}" "${kept[@]}"; do touch -d '1 hour ago' "$own/$name"; done
touch -d '1 hour' "$own/tempwav.wav.Zz99Zz.part"  # written by a program started later
kept+=(tempwav.wav.Zz99Zz.part)
v copy --to-iso fresh.iso >/dev/null 2>&1 || fail "copy with a cache folder"
for name in "${stale[@]}"; do [ -e "$own/$name" ] && fail "stale $name was kept"; done
for name in "${kept[@]}"; do [ -e "$own/$name" ] || fail "$name was removed"; done
[ -e "$(dirname "$CLI")/tempiso.iso" ] && fail "a temporary image in the program folder"

finish "output files"
