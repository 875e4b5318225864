# In the guest: other burning programs from Debian record on the virtual drive
# through the kernel (/dev/srN) as on a real recorder; each result is exported
# from the drive folder and compared with its source, and the drive knew every
# command they sent but the obsolete ones.
. ./lib.sh
maple-cli mkiso -o /tmp/data.iso --volume-id PEERS /usr/lib/modules > /dev/null 2>&1
make_wav /tmp/a.wav 5
make_wav /tmp/b.wav 6
printf 'CD_DA\nTRACK AUDIO\nFILE "/tmp/a.wav" 0\nTRACK AUDIO\nFILE "/tmp/b.wav" 0\n' > /tmp/two.toc
two_sessions() {
  xorriso -indev "$SR" -toc 2> /dev/null | grep -c '^ISO session' | grep -qx 2
}
# traced COMMAND...: a peer run, shown with the drive's last commands when it fails.
traced() {
  quiet "$@" || { status=$?; show_trace; return $status; }
}
# refused OPCODES...: the drive refused exactly these opcodes as unknown
# (05/20/00) in the last case: the obsolete ones a recorder need not have.
refused() {
  [ "$(echo $(grep -- '-> 2 \[05/20/00\]' "$DRIVE.trace" | cut -d' ' -f2 | sort -u))" = "$*" ] ||
    { grep -- '-> 2 \[05/20/00\]' "$DRIVE.trace" | sort -u; return 1; }
}

attach cd-r
check "cdrom driver flags with a CD-R" cdrom_caps
check "wodim -tao" traced wodim dev="$SR" gracetime=2 -tao /tmp/data.iso
detach
check "wodim: only REZERO UNIT and READ BUFFER unknown" refused 01 3C
check "wodim data track" starts_with "$(exported 1)" /tmp/data.iso

attach cd-r
check "wodim -audio" traced wodim dev="$SR" gracetime=2 -tao -audio /tmp/a.wav /tmp/b.wav
detach
check "wodim audio track 1" same_pcm "$(exported 1)" /tmp/a.wav
check "wodim audio track 2" same_pcm "$(exported 2)" /tmp/b.wav

maple-cli virtual create /tmp/rw && maple-cli --virtual /tmp/rw virtual insert cd-rw --from /tmp/data.iso
attach_folder /tmp/rw
check "cdrom driver flags with a CD-RW" cdrom_caps
check "wodim blank=fast" traced wodim dev="$SR" gracetime=2 blank=fast
detach
check "the CD-RW is blank" sh -c "maple-cli --virtual /tmp/rw virtual show | grep -q 'state: blank'"

attach cd-r
check "cdrdao write" traced cdrdao write -n --device "$SR" --driver generic-mmc /tmp/two.toc
detach
check "cdrdao: only REZERO UNIT unknown" refused 01
check "cdrdao audio track 1" same_pcm "$(exported 1)" /tmp/a.wav
check "cdrdao audio track 2" same_pcm "$(exported 2)" /tmp/b.wav

# On a blank BD-R and BD-RE growisofs formats first (spare areas on the BD-R).
for kind in dvd+rw dvd-r bd-r bd-re; do
  attach $kind
  check "cdrom driver flags with a $kind" cdrom_caps
  check "growisofs on $kind" traced growisofs -Z "$SR=/tmp/data.iso"
  detach
  check "growisofs: every command known" refused
  check "growisofs $kind track" starts_with "$(exported 1)" /tmp/data.iso
done

# cdrskin: Track At Once (incremental on DVD-R) and Session At Once (Disc At
# Once on DVD-R: RESERVE TRACK, the writes, SYNCHRONIZE CACHE and no CLOSE,
# after which the drive has finished the disc itself).
for kind in cd-r dvd-r dvd+rw; do
  for mode in -tao -sao; do
    attach $kind
    check "cdrskin $mode on $kind" traced cdrskin dev="$SR" $mode gracetime=0 /tmp/data.iso
    detach
    check "cdrskin: every command known" refused
    check "cdrskin $mode: the $kind is complete" \
      sh -c "maple-cli --virtual $DRIVE virtual show | grep -qx 'state: complete'"
    check "cdrskin $mode $kind track" starts_with "$(exported 1)" /tmp/data.iso
  done
done

# A BD-RE has no sessions: xorriso grows its volume in place.
for kind in cd-r dvd+r bd-r bd-re; do
  attach $kind
  check "xorriso first session on $kind" traced xorriso -outdev "$SR" -map /usr/lib/modules /m1 -commit
  check "xorriso second session on $kind" traced xorriso -dev "$SR" -map /work /w -commit
  check "two sessions on $kind" two_sessions
  check "eject and load" reload
  check "mount shows the first session's files" mounted_tree_matches /usr/lib/modules m1
  check "mount shows the second session's files" mounted_tree_matches /work w
  detach
  check "xorriso: every command known" refused
  check "the first session alone is an ISO image" \
    sh -c "xorriso -indev $(exported 1) -ls / 2> /dev/null | grep -qx \"'m1'\""
done
check "no configuration left" no_leftovers
finish
