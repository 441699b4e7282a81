#!/usr/bin/env bash
# Draws the six flag pictures of this quiz into pictures/ beside this script.
# Needs ImageMagick (Debian package "imagemagick"). Running it again rewrites
# the same files; the quiz itself is built from the committed pictures.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="$here/pictures"
mkdir -p "$out"

convert_bin=/usr/bin/convert
if [[ ! -x "$convert_bin" ]]; then
    echo "make-pictures.sh: $convert_bin not found (apt-get install imagemagick)" >&2
    exit 1
fi

width=390
height=260

# save NAME: reads the drawing on standard input (a MIFF stream) and writes a
# small baseline JPEG without metadata.
save() {
    "$convert_bin" miff:- -strip -interlace none -sampling-factor 4:2:0 \
        -quality 85 "$out/$1.jpg"
}

# vertical NAME LEFT MIDDLE RIGHT: three vertical bands of equal width.
vertical() {
    local third=$((width / 3))
    "$convert_bin" -size "${width}x${height}" xc:"$3" \
        -fill "$2" -draw "rectangle 0,0 $((third - 1)),$((height - 1))" \
        -fill "$4" -draw "rectangle $((2 * third)),0 $((width - 1)),$((height - 1))" \
        miff:- | save "$1"
}

# horizontal NAME TOP MIDDLE BOTTOM: three horizontal bands of equal height.
horizontal() {
    local third=$((height / 3))
    "$convert_bin" -size "${width}x${height}" xc:"$3" \
        -fill "$2" -draw "rectangle 0,0 $((width - 1)),$((third - 1))" \
        -fill "$4" -draw "rectangle 0,$((2 * third)) $((width - 1)),$((height - 1))" \
        miff:- | save "$1"
}

# nordic NAME FIELD CROSS: a Nordic cross (5:2:9 across, 4:2:4 down).
nordic() {
    local x0=$((width * 5 / 16)) x1=$((width * 7 / 16 - 1))
    local y0=$((height * 4 / 10)) y1=$((height * 6 / 10 - 1))
    "$convert_bin" -size "${width}x${height}" xc:"$2" \
        -fill "$3" -draw "rectangle $x0,0 $x1,$((height - 1))" \
        -fill "$3" -draw "rectangle 0,$y0 $((width - 1)),$y1" \
        miff:- | save "$1"
}

vertical   france    '#0055A4' '#FFFFFF' '#EF4135'
vertical   italie    '#009246' '#FFFFFF' '#CE2B37'
horizontal allemagne '#000000' '#DD0000' '#FFCE00'
vertical   belgique  '#000000' '#FDDA24' '#EF3340'
vertical   irlande   '#169B62' '#FFFFFF' '#FF883E'
nordic     suede     '#006AA7' '#FECC00'

made=("$out"/*.jpg)
echo "make-pictures.sh: wrote ${#made[@]} pictures in $out"
