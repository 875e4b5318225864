# In the guest: audio CDs recorded Disc-At-Once by maple-cli through the
# kernel device, read back by cdparanoia and cdrdao. Three FLAC files cut
# from one continuous signal (noise; every length whole sectors of 588
# samples) play back to back as the signal itself when gapless; with 3 s
# pauses the rip of a track ends in the pause's silence, the recorder's own
# verify finds every track start and pause through the Q sub-channel, and
# cdrdao, scanning the sub-channel without a Q CRC error, finds the pre-gaps
# (START) where they were sent. flac comes from the host.
# The files carry tags: the gapless disc gets them as CD-TEXT in its lead-in,
# which cd-info and cdrdao read back; CD-TEXT that cdrdao (a TOC) and wodim
# (a cue sheet) write onto the recorder shows in maple-cli info.
. ./lib.sh
export MAPLE_TEMP_DIR=/tmp/temp MAPLE_CONFIG_DIR=/tmp/config
head -c $((15 * 176400)) /dev/urandom > /tmp/signal.raw
piece() {  # NAME FIRST-SECTOR SECTORS TITLE PERFORMER
  dd if=/tmp/signal.raw of=/tmp/$1.raw bs=2352 skip=$2 count=$3 2> /dev/null &&
    flac -s --force-raw-format --endian=little --sign=signed --channels=2 --bps=16 \
      --sample-rate=44100 --no-utf8-convert -T "TITLE=$4" -T "ARTIST=$5" \
      -T "ALBUM=月光 Moon" -T "ALBUMARTIST=Maple Trio" -o /tmp/$1.flac /tmp/$1.raw
}
piece a 0 375 "First Light" "Maple Trio" && piece b 375 300 "Café" "Guest Singer" &&
  piece c 675 450 "Third" "Maple Trio" || echo "FAIL making the FLAC files"
# What the disc's CD-TEXT holds, in ISO 8859-1 ("?" for what it cannot hold).
printf 'TITLE "?? Moon"\nPERFORMER "Maple Trio"\nTITLE "First Light"\nPERFORMER "Maple Trio"
TITLE "Caf\\351"\nPERFORMER "Guest Singer"\nTITLE "Third"\nPERFORMER "Maple Trio"\n' > /tmp/texts.want

# rip DIR: cdparanoia rips every track of the disc into DIR.
rip() {
  rm -rf "$1" && mkdir "$1" && (cd "$1" && cdparanoia -d "$SR" -B -X > ../rip.log 2>&1) ||
    { tail -n 5 /tmp/rip.log; return 1; }
}
same() {  # GOT WANT: the same bytes
  cmp "$1" "$2" || { echo "$1: $(wc -c < "$1") bytes, $2: $(wc -c < "$2")"; return 1; }
}
silence() {  # BYTES: zeros
  head -c "$1" /dev/zero
}
toc_starts() {  # DRIVER: the pre-gap lengths (START) cdrdao reads, one line
  rm -f /tmp/dao.toc
  cdrdao read-toc -v 2 --device "$SR" --driver "$1" /tmp/dao.toc > /tmp/cdrdao.log 2>&1 ||
    { tail -n 8 /tmp/cdrdao.log >&2; show_trace 12 >&2; return 1; }
  echo $(sed -n 's/^START //p' /tmp/dao.toc)
}
# starts_are EXPECTED [DRIVER]: cdrdao's pre-gaps, and no Q sub-channel CRC
# errors; its default driver reads the raw P-W, generic-mmc:0x3 the formatted Q.
starts_are() {
  got=$(toc_starts "${2:-generic-mmc}") || return 1
  ! grep 'CRC error' /tmp/cdrdao.log || return 1
  [ "$got" = "$1" ] || { echo "cdrdao: START $got"; grep -v '^ *$' /tmp/cdrdao.log | head -n 40; return 1; }
}
attach cd-r
check "gapless Disc-At-Once" quiet maple-cli audio --dao --pause 0 --no-eject \
  /tmp/a.flac /tmp/b.flac /tmp/c.flac
check "eject and load" reload
check "cdparanoia rips three tracks" rip /tmp/gapless
cat /tmp/gapless/track0[123].cdda.wav > /dev/null 2>&1 || echo "FAIL not three tracks"
for n in 1 2 3; do pcm /tmp/gapless/track0$n.cdda.wav; done > /tmp/gapless.raw
check "the three rips are the signal sample for sample" same /tmp/gapless.raw /tmp/signal.raw
check "cdrdao: no pre-gaps" starts_are ""
toc_texts() {  # the titles and performers of cdrdao's TOC, in order
  sed -n 's/^ *\(TITLE\|PERFORMER\) \(".*"\)$/\1 \2/p' /tmp/dao.toc > /tmp/texts.got
  cmp /tmp/texts.got /tmp/texts.want || { cat /tmp/dao.toc; return 1; }
}
check "cdrdao read-toc: the CD-TEXT from the tags" toc_texts
# cd-info prints the texts in its analysis part, converted from ISO 8859-1
# by iconv (its module comes from the host to /work).
cd_info_texts() {
  GCONV_PATH=/work cd-info --no-header --no-device-info "$SR" > /tmp/cd-info.log 2>&1
  for text in "TITLE: ?? Moon" "PERFORMER: Maple Trio" "TITLE: First Light" "TITLE: Café" \
    "PERFORMER: Guest Singer" "TITLE: Third"; do
    grep -qF "$text" /tmp/cd-info.log || { echo "cd-info lacks $text:"; cat /tmp/cd-info.log; return 1; }
  done
}
check "cd-info: the CD-TEXT from the tags" cd_info_texts
detach

attach cd-rw
# --verify reads every index 0 and 1 back through the Q sub-channel.
paused() {
  maple-cli audio --dao --pause 3 --verify --no-eject /tmp/a.flac /tmp/b.flac /tmp/c.flac \
    > /tmp/paused.log 2>&1 && grep -q 'Track starts and pauses verified.' /tmp/paused.log &&
    grep -q 'CD-TEXT, ISRCs and catalogue number verified.' /tmp/paused.log ||
    { tail -n 5 /tmp/paused.log; return 1; }
}
check "Disc-At-Once with 3 s pauses and CD-TEXT, verified" paused
check "eject and load" reload
check "cdparanoia rips three tracks" rip /tmp/paused
{ cat /tmp/a.raw; silence $((3 * 176400)); } > /tmp/one.raw
pcm /tmp/paused/track01.cdda.wav > /tmp/rip1.raw
check "track 1 ends with 3 s of silence" same /tmp/rip1.raw /tmp/one.raw
pcm /tmp/paused/track02.cdda.wav | head -c $((300 * 2352)) > /tmp/rip2.raw
check "track 2 starts with the second file" same /tmp/rip2.raw /tmp/b.raw
check "cdrdao: the pre-gaps as sent" starts_are "00:03:00 00:03:00"
check "cdrdao, formatted Q: the pre-gaps as sent" starts_are "00:03:00 00:03:00" generic-mmc:0x3
detach

# cdrdao and wodim write CD_TEXT into the lead-in; maple-cli reads it back.
make_wav /tmp/one.wav 4 && make_wav /tmp/two.wav 4 && make_wav /tmp/both.wav 10
cat > /tmp/text.toc << 'EOF'
CD_DA
CD_TEXT { LANGUAGE_MAP { 0 : EN } LANGUAGE 0 { TITLE "Peer Album" PERFORMER "Peer Band" } }
TRACK AUDIO
CD_TEXT { LANGUAGE 0 { TITLE "Song One" PERFORMER "Singer One" } }
FILE "/tmp/one.wav" 0
TRACK AUDIO
CD_TEXT { LANGUAGE 0 { TITLE "Song Two" PERFORMER "Singer Two" } }
FILE "/tmp/two.wav" 0
EOF
# wodim takes one FILE per cue sheet: track 2 starts 6 s in (after its 2 s pre-gap).
cat > /tmp/text.cue << 'EOF'
TITLE "Peer Album"
PERFORMER "Peer Band"
FILE "/tmp/both.wav" WAVE
  TRACK 01 AUDIO
    TITLE "Song One"
    PERFORMER "Singer One"
    INDEX 01 00:00:00
  TRACK 02 AUDIO
    TITLE "Song Two"
    PERFORMER "Singer Two"
    INDEX 01 00:06:00
EOF
peer_texts() {
  maple-cli info > /tmp/info.log 2>&1
  for line in 'Album title: *Peer Album' 'Album performer: *Peer Band' \
    'Track 1: *title: Song One, performer: Singer One' 'Track 2: *title: Song Two, performer: Singer Two'; do
    grep -qx "$line" /tmp/info.log || { echo "maple-cli info lacks $line:"; cat /tmp/info.log; return 1; }
  done
}
# peer_write COMMAND...: a peer records (the drive's last commands shown when it fails).
peer_write() {
  quiet "$@" || { show_trace; return 1; }
}
attach cd-r
# Option 0x10: cdrdao writes CD-TEXT only when told the recorder can.
check "cdrdao write with CD_TEXT" peer_write cdrdao write -n --device "$SR" \
  --driver generic-mmc:0x10 /tmp/text.toc
check "maple-cli info: cdrdao's CD-TEXT" peer_texts
detach
attach cd-r
check "wodim -dao -text" peer_write wodim dev="$SR" gracetime=2 -dao -text cuefile=/tmp/text.cue
check "maple-cli info: wodim's CD-TEXT" peer_texts
detach

# --- Cue sheets: a ripper's disc, one FLAC for the whole album and a sheet
# with INDEX 00/01 points and CD-TEXT, burned through the kernel device.
# cdparanoia rips each track from its index 1 on (a track's rip runs on
# through the next one's pause), so the rips cut the FLAC at the sheet's
# index 1 points; cd-info reads the titles from the lead-in.
flac -s --force-raw-format --endian=little --sign=signed --channels=2 --bps=16 \
  --sample-rate=44100 -o /tmp/album.flac /tmp/signal.raw || echo "FAIL making album.flac"
cat > /tmp/album.cue << 'CUE'
PERFORMER "Maple Trio"
TITLE "Night Album"
FILE "album.flac" WAVE
  TRACK 01 AUDIO
    TITLE "First Light"
    INDEX 01 00:00:00
  TRACK 02 AUDIO
    TITLE "Second Wind"
    INDEX 00 00:05:00
    INDEX 01 00:06:00
CUE
attach cd-r
sheet_burn() {
  maple-cli burn --verify --no-eject /tmp/album.cue > /tmp/sheet.log 2>&1 &&
    grep -q 'CD-TEXT, ISRCs and catalogue number verified.' /tmp/sheet.log ||
    { tail -n 8 /tmp/sheet.log; show_trace 30; return 1; }
}
check "cue sheet burned and verified" sheet_burn
check "eject and load" reload
check "cdparanoia rips the sheet's tracks" rip /tmp/sheet
head -c $((450 * 2352)) /tmp/signal.raw > /tmp/sheet1.raw
tail -c +$((450 * 2352 + 1)) /tmp/signal.raw > /tmp/sheet2.raw
pcm /tmp/sheet/track01.cdda.wav > /tmp/rip1.raw
check "track 1 is the FLAC up to track 2's index 1" same /tmp/rip1.raw /tmp/sheet1.raw
pcm /tmp/sheet/track02.cdda.wav > /tmp/rip2.raw
check "track 2 is the FLAC from its index 1" same /tmp/rip2.raw /tmp/sheet2.raw
titles() {
  GCONV_PATH=/work cd-info --no-header --no-device-info --no-cddb "$SR" > /tmp/sheet.cd-info 2>&1
  for title in "Night Album" "Maple Trio" "First Light" "Second Wind"; do
    grep -q "$title" /tmp/sheet.cd-info || { echo "no $title"; sed -n '/CD-TEXT/,$p' /tmp/sheet.cd-info | head -n 20; return 1; }
  done
}
check "cd-info shows the titles" titles
detach
check "no configuration left" no_leftovers
finish
