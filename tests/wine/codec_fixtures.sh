#!/usr/bin/env bash
# Sound files for the Windows build's decoder and tag test (it runs under
# Wine, where the Linux encoders cannot be started): two seconds of a tone as
# FLAC (CD format), MP3, Ogg Vorbis (these three tagged) and Opus, each beside
# the raw 16-bit samples it was encoded from (cd.raw, mp3.raw, ogg.raw, opus.raw).
# Usage: codec_fixtures.sh OUTPUT-FOLDER
set -euo pipefail
mkdir -p "$1"
cd "$1"
tone() {  # name rate channels frequency
    sox -n -r "$2" -b 16 -c "$3" "$1.wav" synth 2 sine "$4" gain -6
    sox "$1.wav" -t raw -e signed -b 16 -L "$1.raw"
}
tone cd 44100 2 500
flac -s -f -T TITLE=Morning -T ARTIST=Ann cd.wav -o tone.flac
tone mp3 44100 2 1000
lame --quiet --tt Evening --ta Ben mp3.wav tone.mp3
tone ogg 48000 2 1500
oggenc -Q -t Night -a Cai ogg.wav -o tone.ogg
tone opus 48000 1 2000
opusenc --quiet opus.wav tone.opus
# Two WAV files stay for the program's own reader: CD format and 48 kHz.
rm -f mp3.wav opus.wav
