#!/usr/bin/env bash
# make-photos.sh FOLDER [COUNT]: fills FOLDER with COUNT (default 96) photos as a phone takes
# them, 4000 x 3000 JPEGs of a few MB each, named "Photo 1.jpg" ... for the start-up benchmark.
# Eight different pictures are drawn (drawing one takes seconds) and copied under the other
# names: what the maker and the player do with a photo does not depend on what it shows.
set -euo pipefail
folder=$1 count=${2:-96}
mkdir -p "$folder"
for n in $(seq 1 8); do
    [ -f "$folder/.base-$n.jpg" ] && continue
    # Smooth shapes with a little sensor noise, so the JPEG weighs what a photo does.
    /usr/bin/convert -seed "$n" -size 1000x750 plasma:fractal -resize '4000x3000!' \
        -attenuate 0.2 +noise Gaussian -quality 90 "$folder/.base-$n.jpg"
done
for i in $(seq 1 "$count"); do
    cp "$folder/.base-$(( (i - 1) % 8 + 1 )).jpg" "$folder/Photo $i.jpg"
done
