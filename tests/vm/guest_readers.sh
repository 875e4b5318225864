# In the guest: programs from Debian that read and inspect discs, on the
# virtual recorder through the kernel (/dev/srN). Rippers read an audio CD
# recorded by maple-cli sample for sample; inspectors report what the
# recorder's own record (`virtual show`) holds, for each medium and state;
# bootable images from Debian packages, recorded by maple-cli, read back
# whole from the device and mount; a 5 GiB file on a pressed DVD reads back
# through the kernel.
. ./lib.sh
export MAPLE_TEMP_DIR=/tmp/temp MAPLE_CONFIG_DIR=/tmp/config
maple-cli mkiso -o /tmp/data.iso --volume-id READERS /usr/lib/modules > /dev/null 2>&1
maple-cli mkiso -o /tmp/two.iso --volume-id TWO /work > /dev/null 2>&1
make_wav /tmp/a.wav 5
make_wav /tmp/b.wav 6

# take_record: the drive's record of the disc into /tmp/record (read by
# `record`), one line per fact, for the comparisons: "medium KIND CAPACITY",
# "state S", "closed C", "nwa A" while the disc takes more, and
# "track N SESSION MODE START LENGTH RUN-OUT".
record() { cat /tmp/record; }
take_record() {
  maple-cli --virtual "$DRIVE" virtual show | tr -d , | awk '
    /^medium:/ { print "medium", $2, $4 }
    /^state:/ { print "state", $2 }
    /^sessions:/ { print "closed", $2 }
    /^next writable address:/ { print "nwa", $4 }
    /^track / { print "track", $2 + 0, $4, $5, $7, $9, ($10 == "run-out" ? $11 : 0) }' > /tmp/record
}

# from_record FORM: what a peer must report in the normalised FORM (minfo, toc,
# mediainfo, cdinfo, atip), derived from the record alone. Sessions count the
# open (empty) session while the disc takes more, as READ DISC INFORMATION
# does ("minfo", "mediainfo"); the TOC summary counts closed sessions only.
# cd-info names the mode of a CD's first track, or the DVD medium ("cdmode").
# DVD-R sessions are 16384 blocks apart (the border zone), which "border"
# checks against the record's own tracks.
from_record() {
  record | awk -v form="$1" '
    $1 == "medium" { kind = $2; cap = $3 }
    $1 == "state" { state = $2 }
    $1 == "closed" { closed = $2 }
    $1 == "nwa" { nwa = $2 }
    $1 == "track" { n++; num[n] = $2; ses[n] = $3; mode[n] = $4; start[n] = $5; len[n] = $6
                    end[n] = $5 + $6 + $7 }
    END {
      rw = kind == "dvd+rw" || kind == "bd-re"
      split("cd-r CD-R cd-rw CD-RW dvd-r DVD-R_sequential_recording dvd+rw DVD+RW " \
            "bd-r BD-R_sequential_recording bd-re BD-RE", w, " ")
      for (i = 1; i < 12; i += 2) name[w[i]] = w[i + 1]
      split("cd-r 9h cd-rw Ah dvd-r 11h dvd+rw 1Ah bd-r 41h bd-re 43h", w, " ")
      for (i = 1; i < 12; i += 2) profile[w[i]] = w[i + 1]
      sessions = closed + (state != "complete"); if (sessions < 1) sessions = 1
      last = n; lout = n ? end[n] : 0
      if (form == "minfo") {
        print "medium", name[kind]
        print "status", (state == "blank" ? "empty" : state == "appendable" ? "incomplete/appendable" : "complete")
        print "sessions", sessions
        if (rw) print "track 1 1", 0, cap
        for (i = 1; i <= n; i++) print "track", num[i], ses[i], start[i], len[i]
        if (nwa != "" && !rw) { print "track", n + 1, closed + 1, nwa, cap - nwa
                                print "nwa", nwa; print "free", cap - nwa }
      } else if (form == "mediainfo") {
        print "medium", profile[kind]
        print "status", state
        print "sessions", sessions
        if (rw) print "track 1 start 0 size", cap, "free", cap, "nwa 0"
        for (i = 1; i <= n; i++) print "track", num[i], "start", start[i], "size", len[i], "free 0"
        if (nwa != "" && !rw) print "track", n + 1, "start", nwa, "size", cap - nwa, "free", cap - nwa, "nwa", nwa
        print "capacity", (rw ? cap : lout)
      } else if (form == "toc" || form == "cdinfo") {
        if (rw) { print "track 1 lba 0"; lout = cap }
        for (i = 1; i <= n; i++) print "track", num[i], "lba", start[i]
        print "lout", lout
        if (form == "cdinfo") {
          for (i = 1; i <= n; i++) if (ses[i] == ses[n]) { print "last session", start[i]; break }
          print "mode", (mode[1] == "audio" ? "CD-DA" : "CD-DATA")
        }
      } else if (form == "cdmode") {
        print "mode", toupper(kind)
      } else if (form == "summary") {
        word = state == "blank" ? "blank" : state == "complete" ? "closed" : "appendable"
        print closed, "sessions", n + 0, "tracks", word, name[kind]
      } else if (form == "atip") {
        print "leadout", cap
      } else if (form == "border") {
        print "nwa", (n && closed >= ses[n] ? end[n] + 16384 : nwa)
      }
    }' | sed 's/_sequential_recording/ sequential recording/'
}

# report: each peer's own report of the disc in /tmp/peer.NAME (cdrskin
# without loading the tray, which is in: it saves a second a run).
report() {
  case $kind in cd*) atip=-atip ;; *) atip= ;; esac
  cdrskin --no_load dev="$SR" -minfo > /tmp/peer.minfo 2>&1
  case $kind in bd*) dvd+rw-mediainfo "$SR" > /tmp/peer.mediainfo 2>&1; return ;; esac
  cdrskin --no_load dev="$SR" -toc $atip > /tmp/peer.cdrskin 2>&1
  wodim dev="$SR" -toc > /tmp/peer.wodim 2>&1  # -toc or -atip: one per run
  [ -z "$atip" ] || wodim dev="$SR" -atip > /tmp/peer.wodim-atip 2>&1
  cd-info --no-header --no-device-info --no-cddb --no-analyze "$SR" > /tmp/peer.cd-info 2>&1
  case $kind in dvd*) dvd+rw-mediainfo "$SR" > /tmp/peer.mediainfo 2>&1 ;; esac
}

# The reports in the normalised forms of from_record.
minfo() {
  awk '/^Mounted media type:/ { sub(/^Mounted media type: */, ""); print "medium", $0 }
    /^disk status:/ { print "status", $3 }
    /^number of sessions:/ { print "sessions", $4 }
    /^ *[0-9]+ +[0-9]+ (Data|Audio|Blank) / { print "track", $1, $2, $4, $6 }
    /^Next writable address:/ { print "nwa", $4 }
    /^Remaining writable size:/ { print "free", $4 }' "$1"
}
summary() {
  sed -n 's/^Media summary: \(.*\)$/\1/p' "$1" | tr -d ,
}
toc() {
  awk '/^track: *[0-9]+ lba:/ { print "track", $2 + 0, "lba", $4 }
    /^track:lout lba:/ { lout = $3 }
    END { if (lout != "") print "lout", lout }' "$1"
}
cdinfo() {
  awk 'function lsn(text) { sub(/^0+/, "", text); return text + 0 }  # not octal
    /^ *[0-9]+: [0-9:]+ +[0-9]+ (data|audio)/ { sub(/:$/, "", $1); print "track", $1, "lba", lsn($3) }
    /^170: / { lout = lsn($3) }
    /^Last CD Session LSN:/ { last = $5 }
    /^Disc mode is listed as:/ { sub(/^Disc mode is listed as: /, ""); sub(/ .*/, ""); mode = $0 }
    END { if (lout != "") print "lout", lout; if (last != "") print "last session", last
          print "mode", mode }' "$1"
}
mediainfo() {
  awk 'function num(field) { sub(/\*.*/, "", field); return field + 0 }
    function flush() { if (t != "") print t, "start", s, "size", z, "free", f (w != "" ? " nwa " w : ""); t = "" }
    /Mounted Media:/ { print "medium", substr($3, 1, length($3) - 1) }
    /Disc status:/ { print "status", $3 }
    /Number of Sessions:/ { print "sessions", $4 }
    /^READ TRACK INFORMATION/ { flush(); n = $3; gsub(/[^0-9]/, "", n); t = "track " n; w = "" }
    /Track Start Address:/ { s = num($4) }
    /Next Writable Address:/ { w = num($4) }
    /Free Blocks:/ { f = num($3) }
    /Track Size:/ { z = num($3) }
    /^[A-Z]/ && !/^READ TRACK INFORMATION/ { flush() }
    /^READ CAPACITY:/ { print "capacity", num($3) }' "$1"
}
atip() {
  awk '/ATIP start of lead out:/ { print "leadout", $6 }' "$1"
}
nwa() { minfo "$1" | grep '^nwa '; }

# agrees FORM PARSER REPORT: the peer's report equals what the record says.
agrees() {
  from_record "$1" > /tmp/expected
  "$2" "$3" > /tmp/reported
  cmp -s /tmp/expected /tmp/reported ||
    { echo "$3 says:"; cat /tmp/reported; echo "the record says:"; cat /tmp/expected; return 1; }
}

# inspect WHAT: every peer that reads this medium in this state agrees with
# the record. The kernel reads a disc's sessions when it is loaded: a reload
# first, as a user does after a recording.
inspect() {
  reload
  take_record
  kind=$(record | awk '$1 == "medium" { print $2 }')
  state=$(record | awk '$1 == "state" { print $2 }')
  report
  check "$1: cdrskin -minfo" agrees minfo minfo /tmp/peer.minfo
  case $kind in bd*)  # BD: what the medium reports; its tracks read back in the session tests
    check "$1: dvd+rw-mediainfo" agrees mediainfo mediainfo /tmp/peer.mediainfo
    return ;;
  esac
  case $kind/$state in
    dvd+rw/*) check "$1: wodim -toc" agrees toc toc /tmp/peer.wodim ;;  # cdrskin: no TOC on +RW
    */blank) check "$1: cdrskin -toc" agrees summary summary /tmp/peer.cdrskin ;;
    *) check "$1: cdrskin -toc" agrees summary summary /tmp/peer.cdrskin
       check "$1: cdrskin -toc tracks" agrees toc toc /tmp/peer.cdrskin
       check "$1: wodim -toc" agrees toc toc /tmp/peer.wodim ;;
  esac
  case $kind/$state in
    cd*/blank) ;;  # cd-info needs a table of contents on CD
    cd*) check "$1: cd-info" agrees cdinfo cdinfo /tmp/peer.cd-info ;;
    *) check "$1: cd-info" agrees cdmode cdinfo /tmp/peer.cd-info ;;
  esac
  case $kind in
    cd*) check "$1: cdrskin -atip" agrees atip atip /tmp/peer.cdrskin
         check "$1: wodim -atip" agrees atip atip /tmp/peer.wodim-atip ;;
    *) check "$1: dvd+rw-mediainfo" agrees mediainfo mediainfo /tmp/peer.mediainfo ;;
  esac
}

# An audio CD recorded by maple-cli, ripped: every sample of each source
# followed by the next track's pause in silence, the rip as long as the
# record says, no read error.
rip_length() {  # TRACK: bytes from the track's start to the next track's (or the lead-out)
  record | awk -v t="$1" '$1 == "track" { start[$2] = $5; end[$2] = $5 + $6 }
    END { print (((t + 1) in start ? start[t + 1] : end[t]) - start[t]) * 2352 }'
}
ripped() {  # RIP SOURCE TRACK
  [ "$(pcm "$1" | wc -c)" -eq "$(rip_length "$3")" ] || { echo "$1: $(pcm "$1" | wc -c) bytes"; return 1; }
  same_pcm "$1" "$2"
}
no_read_error() {  # LOG
  if grep -iE 'error|unable|skip' "$1"; then return 1; fi
}
# cdparanoia models the drive's cache with reads far from the start, beyond
# the end of a short disc: only a read error before the lead-out counts.
no_read_error_on_disc() {  # LOG
  lout=$(from_record toc | sed -n 's/^lout //p')
  ! grep -q 'Unable to access' "$1" &&
    sed -n 's/.*scsi_read error: sector=\([0-9]*\).*/\1/p' "$1" | awk -v lout="$lout" '
      $1 < lout { print "read error at sector " $1; bad = 1 } END { exit bad }'
}

attach cd-r
check "audio CD" quiet maple-cli audio --no-eject /tmp/a.wav /tmp/b.wav
inspect "audio CD"
mkdir /tmp/paranoia /tmp/icedax
check "cdparanoia rips both tracks" sh -c "cd /tmp/paranoia && cdparanoia -d $SR -c -B -X > /tmp/paranoia.log 2>&1"
check "cdparanoia: no read error" no_read_error_on_disc /tmp/paranoia.log
check "cdparanoia track 1" ripped /tmp/paranoia/track01.cdda.wav /tmp/a.wav 1
check "cdparanoia track 2" ripped /tmp/paranoia/track02.cdda.wav /tmp/b.wav 2
check "icedax rips both tracks" sh -c "cd /tmp/icedax && icedax dev=$SR -B -t 1+2 > /tmp/icedax.log 2>&1"
check "icedax: no read error" no_read_error /tmp/icedax.log
check "icedax track 1" ripped /tmp/icedax/audio_01.wav /tmp/a.wav 1
check "icedax track 2" ripped /tmp/icedax/audio_02.wav /tmp/b.wav 2
detach

# reads_back IMAGE: the device holds IMAGE's bytes over its whole length,
# and the kernel mounts it with the files an independent reader (xorriso)
# finds in the image.
reads_back() {
  blocks=$(($(wc -c < "$1") / 2048))
  dd if="$SR" bs=2048 count=$blocks 2> /dev/null | cmp - "$1" || return 1
  rm -rf /tmp/tree && xorriso -osirrox on -indev "$1" -extract / /tmp/tree > /dev/null 2>&1 &&
    mounted_tree_matches /tmp/tree .
}

# Blank, open (a session closed, the disc appendable) and closed media: two
# sessions of maple-cli and cdrskin or wodim. The first session of the CD-R
# is GRUB's rescue CD.
for kind in cd-r cd-rw dvd-r; do
  attach $kind
  inspect "blank $kind"
  case $kind in
    cd-r) check "GRUB's rescue CD on $kind" quiet maple-cli burn --no-fix --no-eject /images/grub-rescue-cdrom.iso ;;
    cd-rw) check "cdrskin -multi on $kind" quiet cdrskin dev="$SR" -tao -multi gracetime=0 /tmp/data.iso ;;
    *) check "maple-cli --no-fix on $kind" quiet maple-cli burn --no-fix --no-eject /tmp/data.iso ;;
  esac
  inspect "open $kind"
  case $kind in
    cd-r) check "GRUB's rescue CD reads back whole and mounts" reads_back /images/grub-rescue-cdrom.iso ;;
    dvd-r) check "DVD-R: the next session after a border zone" agrees border nwa /tmp/peer.minfo ;;
  esac
  case $kind in
    cd-rw) check "wodim second session on $kind" quiet wodim dev="$SR" gracetime=2 -tao /tmp/two.iso ;;
    *) check "cdrskin second session on $kind" quiet cdrskin dev="$SR" -tao gracetime=0 /tmp/two.iso ;;
  esac
  inspect "closed $kind"
  detach
done

# A DVD+RW, blank and with iPXE's bootable image (padded past its ISO volume).
attach dvd+rw
inspect "blank dvd+rw"
check "iPXE on dvd+rw" quiet maple-cli burn --no-eject /images/ipxe.iso
inspect "recorded dvd+rw"
check "iPXE reads back whole and mounts" reads_back /images/ipxe.iso
detach
# Blu-ray: a blank BD-R, open after a session, finalised; a BD-RE recorded
# (formatted first).
attach bd-r
inspect "blank bd-r"
check "maple-cli --no-fix on bd-r" quiet maple-cli burn --no-fix --no-eject /tmp/data.iso
inspect "open bd-r"
check "maple-cli close on bd-r" quiet maple-cli close --no-eject
inspect "closed bd-r"
detach
attach bd-re
check "maple-cli on bd-re" quiet maple-cli burn --no-eject /tmp/data.iso
inspect "recorded bd-re"
detach
# A file of 5 GiB on a pressed dual-layer DVD, built by maple-cli from a
# sparse source (data at its start, around the boundary of its two sections
# and at its end): the kernel mounts the disc, and the file's start, the
# boundary and its end read as the source's.
section=4294965248 size=$((5 * 1073741824 + 1001)) mib=1048576
truncate -s $size /tmp/big.bin
for at in 0 $((section - mib)) $((size - mib)); do
  dd if=/dev/urandom of=/tmp/big.bin bs=$mib count=$(( at == section - mib ? 2 : 1 )) seek=$at \
    oflag=seek_bytes iflag=fullblock conv=notrunc 2> /dev/null
done
window() {  # FILE OFFSET: the 2 MiB from OFFSET on
  dd if="$1" bs=$mib count=2 skip="$2" iflag=skip_bytes 2> /dev/null
}
same_window() {  # OFFSET
  window /tmp/big.bin "$1" > /tmp/window.source && window /mnt/big/big.bin "$1" | cmp - /tmp/window.source
}
check "a 5 GiB file into an image" quiet maple-cli mkiso -o /tmp/big.iso /tmp/big.bin
drives=$((drives + 1))
maple-cli virtual create /tmp/drive$drives > /dev/null &&
  maple-cli --virtual /tmp/drive$drives virtual insert dvd-rom --from /tmp/big.iso > /dev/null &&
  attach_folder /tmp/drive$drives
mkdir -p /mnt/big
check "the kernel mounts the disc" mount -t iso9660 -o ro "$SR" /mnt/big
check "the file's whole size" test "$(stat -c %s /mnt/big/big.bin)" = $size
check "its start" same_window 0
check "its section boundary" same_window $((section - mib))
check "its end" same_window $((size - 2 * mib))
umount /mnt/big
detach
check "no configuration left" no_leftovers
finish
