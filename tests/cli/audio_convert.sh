#!/bin/bash
# maple-cli wav2cda against sox as the independent oracle: formats, timing,
# levels and channel order of the converted CD-DA, pass-through of CD-DA with
# metadata chunks, and the usage error.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"

check_cdda() {  # file, expected samples
    [ "$(soxi -r "$1")" = 44100 ] || fail "$1: rate $(soxi -r "$1")"
    [ "$(soxi -c "$1")" = 2 ] || fail "$1: channels $(soxi -c "$1")"
    [ "$(soxi -b "$1")" = 16 ] || fail "$1: bits $(soxi -b "$1")"
    local samples
    samples=$(soxi -s "$1")
    [ $((samples - $2)) -ge -1 ] && [ $((samples - $2)) -le 1 ] ||
        fail "$1: $samples samples, expected $2"
}

# 48 kHz 24-bit stereo (sox writes it as WAVE_FORMAT_EXTENSIBLE), 1 kHz left
# and 15 kHz right: compare with sox's own conversion; the difference must
# be no more than the noise of the two dithers (a resampler of lower quality
# than sox's loses the 15 kHz tone by far more).
sox -n -r 48000 -b 24 -c 2 in48.wav synth 3 sine 1000 sine 15000 gain -3
"$CLI" wav2cda in48.wav out48.wav || fail "wav2cda in48.wav exited $?"
check_cdda out48.wav 132300
sox in48.wav -r 44100 -b 16 -c 2 ref48.wav
diff_db=$(rms_db -m -v 1 out48.wav -v -1 ref48.wav)
below "$diff_db" -85 || fail "48 kHz conversion differs from sox by $diff_db dBFS RMS"
# Swapped channels would make the difference as loud as the signal itself.
swap_db=$(rms_db -m -v 1 out48.wav -v -1 "|sox ref48.wav -p remix 2 1")
below "$swap_db" -10 && fail "channel order: swapped output matches ($swap_db dB)"

# 22,050 Hz mono 8-bit unsigned: both channels equal, level as sox has it.
sox -n -r 22050 -b 8 -c 1 -e unsigned in8.wav synth 2 sine 1000 gain -1
"$CLI" wav2cda in8.wav out8.wav || fail "wav2cda in8.wav exited $?"
check_cdda out8.wav 88200
lr_db=$(rms_db_after out8.wav remix 1,2v-1)
[ "$lr_db" = "-inf" ] || fail "mono input: left and right differ ($lr_db dB)"
sox in8.wav -r 44100 -b 16 -c 2 ref8.wav
diff_db=$(rms_db -m -v 1 out8.wav -v -1 ref8.wav)
below "$diff_db" -40 || fail "8-bit conversion differs from sox by $diff_db dBFS RMS"

# 96 kHz 32-bit float (an 18-byte "fmt " chunk and a "fact" chunk).
sox -n -r 96000 -e floating-point -b 32 -c 2 inf.wav synth 1 sine 440
"$CLI" wav2cda inf.wav outf.wav || fail "wav2cda inf.wav exited $?"
check_cdda outf.wav 44100
sox inf.wav -r 44100 -b 16 -c 2 reff.wav
diff_db=$(rms_db -m -v 1 outf.wav -v -1 reff.wav)
below "$diff_db" -80 || fail "float conversion differs from sox by $diff_db dBFS RMS"

# CD-DA with LIST chunks before and after the data: the sound is copied
# unchanged and no metadata byte reaches the output.
sox -n -r 44100 -b 16 -c 2 plain.wav synth 1 sine 440
python3 - plain.wav tagged.wav <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
fmt, pcm = data[12:36], data[44:]
info = b"INFOICMT" + struct.pack("<I", 9) + b"comments\x00\x00"
lst = b"LIST" + struct.pack("<I", len(info)) + info
body = b"WAVE" + fmt + lst + b"data" + struct.pack("<I", len(pcm)) + pcm + lst
open(sys.argv[2], "wb").write(b"RIFF" + struct.pack("<I", len(body)) + body)
PY
"$CLI" wav2cda tagged.wav outtag.wav || fail "wav2cda tagged.wav exited $?"
check_cdda outtag.wav 44100
cmp -s <(sox outtag.wav -t raw -) <(sox plain.wav -t raw -) || fail "CD-DA pass-through changed the sound"
[ "$(stat -c %s outtag.wav)" = "$(stat -c %s plain.wav)" ] || fail "metadata chunks were copied"

# Refusals are audio_burn's part; a missing argument is a usage error.
"$CLI" wav2cda in8.wav 2> /dev/null
[ $? = 2 ] || fail "missing argument: exit code is not 2"

finish "audio_convert"
