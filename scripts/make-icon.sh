#!/usr/bin/env bash
# Draws the application icon, an envelope sealed by a padlock, and writes
# res/obrello.ico: a 32 x 32 and a 16 x 16 image, both with a 256-colour
# palette. Needs ImageMagick's convert (or set CONVERT to it).
#   make-icon.sh [OUTPUT.ico]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$(dirname "$here")/res/obrello.ico}
convert=${CONVERT:-convert}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Each size is drawn on a 256 x 256 canvas and reduced by averaging, so one
# pixel of the result is 8 (large) or 16 (small) canvas units. The small one
# has its own layout on that grid, with a bigger padlock and one-pixel lines
# that fall on whole pixels, so it stays crisp rather than blurred.
#   draw FILE SIZE LINE ENVELOPE FLAP_LINES BODY SHACKLE OUTER INNER KEYHOLE
# LINE is the outline width. The shackle is a rounded frame whose lower half
# the padlock's body hides: a dark stroke OUTER wide with a light one INNER
# wide along its middle (none when INNER is 0).
draw() {
    local file=$1 size=$2 line=$3 envelope=$4 flap=$5 body=$6 shackle=$7 outer=$8 inner=$9
    local keyhole=${10}
    local highlight=()
    if [ "$inner" -gt 0 ]; then
        highlight=(-stroke '#9ba3ae' -strokewidth "$inner" -draw "roundrectangle $shackle")
    fi
    "$convert" -size 256x256 xc:none \
        -fill '#f2f5fa' -stroke '#1f3f7a' -strokewidth "$line" \
        -draw "roundrectangle $envelope 14,14" \
        -draw "$flap" \
        -fill none -stroke '#2f3338' -strokewidth "$outer" -draw "roundrectangle $shackle" \
        "${highlight[@]}" \
        -fill '#e8ae2c' -stroke '#6b4a07' -strokewidth "$line" -draw "roundrectangle $body 12,12" \
        -stroke none -fill '#3a2a05' -draw "$keyhole" \
        -filter Box -resize "${size}x${size}" \
        -channel A -threshold 50% +channel -background black -alpha background \
        "$work/$file"
}

draw large.png 32 10 '8,48 216,192' 'line 8,52 112,128 line 112,128 216,52' '128,136 248,248' \
    '150,70 226,200 38,38' 28 18 \
    'circle 188,180 188,168 rectangle 183,180 193,214'
draw small.png 16 16 '8,40 168,152' 'line 8,40 88,104 line 88,104 168,40' '120,136 248,248' \
    '168,72 216,200 24,24' 16 0 \
    'rectangle 176,168 192,216'

# Windows shows the transparent parts through the mask; the colour images
# stay black there, as the icon format expects.
"$convert" "$work/large.png" "$work/small.png" +dither -colors 256 -type PaletteAlpha "$out"

# The writer picks the depth from the number of colours used; insist on 8 bits.
for entry in 0 1; do
    bits=$(od -An -tu2 -j $((6 + 16 * entry + 6)) -N2 "$out" | tr -d ' ')
    if [ "$bits" != 8 ]; then
        echo "make-icon.sh: image $entry has $bits bits per pixel, not 8" >&2
        exit 1
    fi
done
echo "wrote $out"
