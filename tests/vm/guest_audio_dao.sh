# In the guest: audio CDs recorded Disc-At-Once by maple-cli through the
# kernel device, read back by cdparanoia and cdrdao. Three FLAC files cut
# from one continuous signal (noise; every length whole sectors of 588
# samples) play back to back as the signal itself when gapless; with 3 s
# pauses the rip of a track ends in the pause's silence, the recorder's own
# verify finds every track start and pause through the Q sub-channel, and
# cdrdao, scanning the sub-channel without a Q CRC error, finds the pre-gaps
# (START) where they were sent. flac comes from the host.
. ./lib.sh
export MAPLE_TEMP_DIR=/tmp/temp MAPLE_CONFIG_DIR=/tmp/config
head -c $((15 * 176400)) /dev/urandom > /tmp/signal.raw
piece() {  # NAME FIRST-SECTOR SECTORS
  dd if=/tmp/signal.raw of=/tmp/$1.raw bs=2352 skip=$2 count=$3 2> /dev/null &&
    flac -s --force-raw-format --endian=little --sign=signed --channels=2 --bps=16 \
      --sample-rate=44100 -o /tmp/$1.flac /tmp/$1.raw
}
piece a 0 375 && piece b 375 300 && piece c 675 450 || echo "FAIL making the FLAC files"

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
detach

attach cd-rw
# --verify reads every index 0 and 1 back through the Q sub-channel.
paused() {
  maple-cli audio --dao --pause 3 --verify --no-eject /tmp/a.flac /tmp/b.flac /tmp/c.flac \
    > /tmp/paused.log 2>&1 && grep -q 'Track starts and pauses verified.' /tmp/paused.log ||
    { tail -n 5 /tmp/paused.log; return 1; }
}
check "Disc-At-Once with 3 s pauses, verified" paused
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
# cd-info converts the texts with iconv: the host's ISO 8859-1 module (--file).
mkdir -p /tmp/gconv && cp /work/ISO8859-1.so /tmp/gconv/ &&
  printf 'module\tISO-8859-1//\tINTERNAL\tISO8859-1\t1\nmodule\tINTERNAL\tISO-8859-1//\tISO8859-1\t1\n' \
    > /tmp/gconv/gconv-modules || echo "FAIL the iconv module"
titles() {
  GCONV_PATH=/tmp/gconv cd-info --no-header --no-device-info --no-cddb "$SR" > /tmp/sheet.cd-info 2>&1
  for title in "Night Album" "Maple Trio" "First Light" "Second Wind"; do
    grep -q "$title" /tmp/sheet.cd-info || { echo "no $title"; sed -n '/CD-TEXT/,$p' /tmp/sheet.cd-info | head -n 20; return 1; }
  done
}
check "cd-info shows the titles" titles
detach
check "no configuration left" no_leftovers
finish
