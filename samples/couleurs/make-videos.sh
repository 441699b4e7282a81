#!/usr/bin/env bash
# Makes the four video clips of this quiz with ffmpeg from generated sources
# (plain colour fields, a fade and a few words of text) and writes them into
# videos/ beside this script: 160 x 120 AVI, 5 frames a second, no sound.
# Needs the Debian packages "ffmpeg" and "fonts-dejavu-core". Running it again
# rewrites the same files; the quiz itself is built from the committed clips.
#
# Codec: Microsoft Video 1 ("MSVC", ffmpeg's msvideo1 encoder). Its decoder,
# msvidc32.dll, ships with every Windows version, 32- and 64-bit, and Wine has
# a built-in one, so the hosted player control plays these clips without any
# extra codec. MJPEG in AVI needs a DirectShow or Media Foundation decoder
# (in Wine only through GStreamer plugins) and MS-MPEG-4 v2 a Windows Media
# component; for flat colour fields Video 1 gives clips of the same size.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="$here/videos"
mkdir -p "$out"

if ! command -v ffmpeg >/dev/null 2>&1; then
    echo "make-videos.sh: ffmpeg not found (apt-get install ffmpeg)" >&2
    exit 1
fi
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
if [[ ! -r "$font" ]]; then
    echo "make-videos.sh: $font not found (apt-get install fonts-dejavu-core)" >&2
    exit 1
fi

size=160x120
rate=5

# encode NAME FILTERGRAPH: renders the graph (whose output is [v]) to videos/NAME.avi.
# The bitexact flags keep ffmpeg's version out of the file, so a rerun gives
# the same bytes.
encode() {
    ffmpeg -hide_banner -loglevel error -y -filter_complex "$2" -map '[v]' \
        -fflags +bitexact -flags +bitexact \
        -c:v msvideo1 -pix_fmt rgb555le -f avi "$out/$1.avi"
}

# text WORDS COLOUR Y [SIZE]: a drawtext filter writing WORDS centred across the picture.
text() {
    printf "drawtext=fontfile=%s:text='%s':fontsize=%s:fontcolor=%s:x=(w-text_w)/2:y=%s" \
        "$font" "$1" "${4:-15}" "$2" "$3"
}

# plain NAME COLOUR TEXTCOLOUR: the colour fades in from black, with a question under it.
plain() {
    encode "$1" "color=c=$2:s=$size:r=$rate:d=2.6,fade=t=in:st=0:d=1.2,$(text 'Quelle couleur ?' "$3" 'h-24')[v]"
}

plain rouge '#D62828' white
plain bleu  '#1D4ED8' white
plain vert  '#2E9E44' white

# Red, then yellow, then the question: which colour does mixing them give?
encode orange "\
color=c=#D62828:s=$size:r=$rate:d=1,$(text 'rouge' white '(h-text_h)/2')[a];\
color=c=#F6D42A:s=$size:r=$rate:d=1,$(text '+ jaune' black '(h-text_h)/2')[b];\
color=c=white:s=$size:r=$rate:d=1.2,$(text 'rouge + jaune = ?' black '(h-text_h)/2' 13)[c];\
[a][b][c]concat=n=3:v=1:a=0[v]"

made=("$out"/*.avi)
echo "make-videos.sh: wrote ${#made[@]} clips in $out"
