#!/usr/bin/env bash
# Speaks the six riddles of this quiz with espeak-ng (French voice) and writes
# them as small MP3 clips into sounds/ beside this script: mono, 22050 Hz,
# 24 kbit/s constant bit rate, no ID3 tag. Needs the Debian packages
# "espeak-ng" and "lame". Running it again rewrites the same files; the quiz
# itself is built from the committed clips.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="$here/sounds"
mkdir -p "$out"

for tool in espeak-ng lame; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "make-sounds.sh: $tool not found (apt-get install espeak-ng lame)" >&2
        exit 1
    fi
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# speak NAME TEXT: writes sounds/NAME.mp3 saying TEXT.
speak() {
    # espeak-ng writes 22050 Hz mono 16-bit WAV; -s slows it a little for clarity.
    espeak-ng -v fr -s 140 -w "$work/$1.wav" "$2"
    # MPEG-2 Layer III at 22050 Hz: every Windows MP3 decoder plays it.
    lame --quiet -m m -b 24 --cbr --resample 22.05 "$work/$1.wav" "$out/$1.mp3"
}

speak chat   "Quel animal fait miaou ?"
speak chien  "Quel animal fait ouaf, ouaf ?"
speak vache  "Quel animal fait meuh ?"
speak coq    "Quel animal chante cocorico ?"
speak canard "Quel animal fait coin, coin ?"
speak mouton "Quel animal fait bêê, et donne sa laine ?"

made=("$out"/*.mp3)
echo "make-sounds.sh: wrote ${#made[@]} clips in $out"
