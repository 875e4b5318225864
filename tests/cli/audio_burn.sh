#!/bin/bash
# maple-cli audio on the virtual drive: tracks, their layout and their sound
# (sox as the oracle for the converted track), the three options, refusals
# and failures with their exit codes. Then FLAC, MP3, Ogg Vorbis and Opus
# files made by Debian's encoders, recorded and compared with the formats'
# own decoders (sox; opusdec for Opus, which sox cannot read): tone
# frequency, length within one 8-sector write, level within 0.5 dB; a
# CD-format FLAC bit for bit; and the files refused before the disc is touched.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"


sox -n -r 48000 -b 24 -c 2 a.wav synth 5 sine 1000 sine 1500 gain -3
sox -n -r 44100 -b 16 -c 2 b.wav synth 3 sine 440 gain -6
"$CLI" virtual create drive >/dev/null || fail "virtual create"

# Two tracks: a converted one and a CD-DA one read in place.
insert cd-r
v audio a.wav b.wav > out.txt 2> err.txt || fail "audio exited $?"
grep -q '^recorded: 2 audio track(s)$' out.txt || fail "no success line"
grep -q -- '-   2   of   2   -' err.txt || fail "no track counter in the progress"
show > show.txt
grep -q '^state: complete' show.txt || fail "disc not complete: $(cat show.txt)"
grep -q '^tray: open' show.txt || fail "tray not ejected"
start1=$(awk '/^track 1:/ {print $7}' show.txt | tr -d ,)
length1=$(awk '/^track 1:/ {print $9}' show.txt)
start2=$(awk '/^track 2:/ {print $7}' show.txt | tr -d ,)
[ "$start1" = 0 ] || fail "track 1 starts at $start1"
[ "$start2" = $((start1 + length1 + 150)) ] || fail "track 2 at $start2, not after a 150-block pause"
v virtual export tracks > /dev/null || fail "export failed"
sox a.wav -r 44100 -b 16 -c 2 ref.wav
sox tracks/track01.wav cut1.wav trim 0s 220500s
diff_db=$(rms_db -m -v 1 cut1.wav -v -1 ref.wav)
below "$diff_db" -85 || fail "track 1 differs from sox's conversion by $diff_db dBFS"
after_db=$(rms_db_after tracks/track01.wav trim 220502s)  # the converter may give one frame more
[ "$after_db" = "-inf" ] || fail "track 1 does not end in silence ($after_db dB)"
cmp -s <(sox tracks/track02.wav -t raw - trim 0s 132300s) <(sox b.wav -t raw -) ||
    fail "track 2 is not the CD-DA file's sound"
[ -e b.wav ] || fail "the CD-DA source was deleted"

# --test records nothing; --no-fix leaves the disc open; --no-eject keeps the tray shut.
insert cd-rw
v audio --test --no-eject b.wav > out.txt 2> /dev/null || fail "--test exited $?"
grep -q '^test recording complete' out.txt || fail "no test success line"
show | grep -q '^state: blank' || fail "test mode recorded something"
show | grep -q '^tray: closed' || fail "--no-eject opened the tray"
insert cd-r
v audio --no-fix b.wav > /dev/null 2>&1 || fail "--no-fix exited $?"
show | grep -q '^state: appendable' || fail "--no-fix: $(show | grep state)"

# A DVD and no files are refused; refused files are below.
insert dvd-r
expect 1 "DVD" v audio b.wav
expect 2 "maple-cli: " v audio

# Compressed formats.
tone() {  # file rate bits channels seconds frequency
    sox -n -r "$2" -b "$3" -c "$4" "$1" synth "$5" sine "$6" gain -6
}
stat_value() { sox "$1" -n stat 2>&1 | awk -v key="$2" 'index($0, key) == 1 {print $NF}'; }
near() { awk -v a="$1" -v b="$2" -v d="$3" 'BEGIN { x = a - b; exit !(x <= d && -x <= d) }'; }

tone cd.wav 44100 16 2 4 500
flac -s -f cd.wav -o cd.flac
tone hd.wav 96000 24 1 5 700
flac -s -f hd.wav -o hd.flac
tone mp3.wav 44100 16 2 5 1000
lame --quiet mp3.wav song.mp3
tone ogg.wav 48000 16 2 5 1500
oggenc -Q ogg.wav -o song.ogg
tone opus.wav 48000 16 2 5 2000
opusenc --quiet opus.wav song.opus
# The references: what each format's own decoder makes of the file, at CD rate.
sox cd.flac ref1.wav
sox hd.flac -r 44100 -b 16 -c 2 ref2.wav
sox song.mp3 -r 44100 -b 16 -c 2 ref3.wav
sox song.ogg -r 44100 -b 16 -c 2 ref4.wav
opusdec --quiet --rate 48000 song.opus opus48.wav
sox opus48.wav -r 44100 -b 16 -c 2 ref5.wav

insert cd-r
v audio cd.flac hd.flac song.mp3 song.ogg song.opus > out.txt 2> err.txt || fail "audio exited $?"
grep -q '^recorded: 5 audio track(s)$' out.txt || fail "no success line: $(tail -2 err.txt)"
rm -rf tracks && v virtual export tracks > /dev/null || fail "export failed"
cmp -s <(sox tracks/track01.wav -t raw - trim 0s 176400s) <(sox cd.wav -t raw -) ||
    fail "the CD-format FLAC was not recorded bit for bit"
for n in 1 2 3 4 5; do
    track=tracks/track0$n.wav ref=ref$n.wav
    pause=$((n < 5 ? 150 * 588 : 0))  # an exported track ends with the next one's pause
    got=$(($(soxi -s "$track") - pause)) want=$(soxi -s "$ref")
    near "$got" "$want" 4704 || fail "track $n: $got frames, the decoder gives $want"
    level=$(rms_db_after "$track" trim 0s "$want"s)  # without the silence that fills the last write
    near "$level" "$(rms_db "$ref")" 0.5 || fail "track $n: $level dB, the decoder: $(rms_db "$ref") dB"
    f_got=$(stat_value "$track" "Rough   frequency") f_want=$(stat_value "$ref" "Rough   frequency")
    near "$f_got" "$f_want" $((f_want / 100)) || fail "track $n: $f_got Hz, not $f_want Hz"
done

# wav2cda converts the same files.
"$CLI" wav2cda song.ogg ogg-cd.wav || fail "wav2cda song.ogg exited $?"
near "$(soxi -s ogg-cd.wav)" "$(soxi -s ref4.wav)" 1 || fail "wav2cda: $(soxi -s ogg-cd.wav) frames"

# Refused before the disc is touched, each named with its reason.
head -c 20000 cd.flac > cut.flac
echo "liner notes, not music" > notes.mp3
cp notes.mp3 notes.flac
cp cd.wav wave.ogg
sox -n -r 44100 -b 16 -c 6 six.flac synth 1 sine 440
insert cd-r
for bad in "cut.flac:cut short" "notes.mp3:not an MP3 file" "notes.flac:the decoder does not recognise" \
    "wave.ogg:not an Ogg file" "six.flac:6 channels"; do
    file=${bad%%:*} reason=${bad#*:}
    expect 1 "$file" v audio cd.flac "$file"
    grep -qF "$reason" err.txt || fail "$file: no reason \"$reason\": $(cat err.txt)"
    grep -q '^maple-cli: audio recording refused$' err.txt || fail "$file: $(tail -1 err.txt)"
    expect 1 "$reason" "$CLI" wav2cda "$file" out.wav
    [ -e out.wav ] && fail "$file: wav2cda wrote a file"
done
v virtual show | grep -q '^state: blank' || fail "a refusal changed the disc"

# A write error ends in failure, never in success.
insert cd-r
fault write-error 20
expect 1 "Buffer Under-Run" v audio --no-eject a.wav
grep -q '^maple-cli: audio recording failed$' err.txt || fail "write error: $(tail -1 err.txt)"
grep -q 'Recording complete' err.txt out.txt && fail "write error reported as finished"

finish "audio_burn"
