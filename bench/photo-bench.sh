#!/usr/bin/env bash
# photo-bench.sh: eight different phone photos (4000 x 3000 JPEGs, by make-photos.sh) made the
# board's picture by stb alone and by libjpeg-turbo's scaled decode, each against Debian's
# `djpeg -scale 1/8` of the same photo. Needs the host build (cmake --preset host); its photos go
# to build/bench/Photos.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
photos=$repo/build/bench/Photos
"$repo/bench/make-photos.sh" "$photos" 8
cmake --build --preset host --target plimo_photo_bench -j1 >/dev/null
"$repo/build/host/bench/plimo_photo_bench" "$photos"/Photo\ {1..8}.jpg
