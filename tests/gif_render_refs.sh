#!/usr/bin/env bash
# The frames whose rendering the GIF tests compare with ImageMagick's
# decoding: generated ones of every depth (1 to 8 bits) with global and
# local colour tables, interlaced and transparent, and real GIF files from
# Debian packages that bench/fetch_gifs.sh fetches once into OUTDIR/real
# (they are not committed). For each frame compared, at most the first six
# of a file, line N of OUTDIR/manifest.txt reads "file|frame|width|height|
# left|top" and OUTDIR/refs/N.rgba holds ImageMagick's pixels of that frame
# in its own geometry (8 bits each of red, green, blue and alpha).
# Usage: gif_render_refs.sh OUTDIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
# /usr/local/bin may hold a stand-in of these names.
convert=/usr/bin/convert identify=/usr/bin/identify

rm -rf "$out/generated" "$out/refs"
mkdir -p "$out/generated" "$out/refs"
cd "$out/generated"
$convert -seed 11 -size 61x43 plasma:fractal source.ppm
$convert -size 61x43 xc:'#123456' first.gif
for bits in 1 2 3 4 5 6 7 8; do
  $convert source.ppm +dither -colors $((1 << bits)) "global$bits.gif"
  see=$($convert "global$bits.gif" -format '%[pixel:p{0,0}]' info:)
  $convert "global$bits.gif" -transparent "$see" -interlace GIF "global${bits}_transparent_interlaced.gif"
  # A second frame in other colours than the first gets a local table.
  $convert first.gif "global$bits.gif" "local$bits.gif"
  $convert first.gif \( "global$bits.gif" -transparent "$see" \) -interlace GIF "local${bits}_transparent_interlaced.gif"
done
# Frames that do not cover the screen.
$convert -delay 10 source.ppm \( global3.gif -crop 20x15+0+0 -repage +7+5 \) \
  \( "global8_transparent_interlaced.gif" -crop 30x20+5+5 -repage +25+12 \) partial.gif
rm source.ppm

if [ ! -f "$out/real/stamp" ]; then
  "$root/bench/fetch_gifs.sh" "$out/real" >/dev/null
  touch "$out/real/stamp"
fi

cd "$out"
frames=()
for f in generated/*.gif real/files/*; do frames+=("$f[0-5]"); done
$identify -format '%d/%f|%s|%w|%h|%X|%Y\n' "${frames[@]}" | tr -d '+' > manifest.txt
$convert "${frames[@]}" +adjoin -depth 8 'rgba:refs/%d.rgba'
echo "$(wc -l < manifest.txt) frames to compare in $out"
