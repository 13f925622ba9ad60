#!/usr/bin/env bash
# The animations whose painting the GIF tests compare with ImageMagick's
# composition of them (-coalesce): generated ones for every disposal method
# in turn, transparent frames at offsets, local colour tables and loop
# counts, and the animated real GIF files that gif_render_refs.sh fetched
# into REALDIR. Every frame ImageMagick composes is flattened onto the
# colour BG, as our painter composes onto a canvas of that colour. Line N of
# OUTDIR/manifest.txt reads "file|frames|width|height"; OUTDIR/refs/N-K.rgb
# holds frame K (8 bits each of red, green and blue). Where GIF89a and
# ImageMagick differ, X.gif89a beside X.gif composes as GIF89a has X.
# Usage: gif_coalesce_refs.sh OUTDIR REALDIR
set -euo pipefail
mkdir -p "$1"
out=$(cd "$1" && pwd)
real=$(cd "$2" && pwd)
convert=/usr/bin/convert identify=/usr/bin/identify # /usr/local/bin may hold stand-ins
bg='#4B7F2A'

rm -rf "$out/generated" "$out/real" "$out/refs"
mkdir -p "$out/generated" "$out/real" "$out/refs"
cd "$out/generated"
$convert -seed 5 -size 48x36 plasma:fractal +dither -colors 64 base.gif
$convert -size 14x10 xc:'#D03030' -fill '#30D030' -draw 'circle 7,5 7,2' -transparent '#30D030' red.gif
$convert -size 12x16 xc:'#3050E0' -fill '#F0F0F0' -draw 'rectangle 3,3 8,12' blue.gif
$convert -size 20x8 xc:'#E0E040' -fill black -draw 'line 0,0 19,7' -transparent black yellow.gif
$convert -size 6x6 xc:'#802080' purple.gif
sprites() { # dispose of each of the four sprite frames
  echo -dispose "$1" -page +5+4 red.gif -dispose "$2" -page +20+10 blue.gif \
       -dispose "$3" -page +2+25 yellow.gif -dispose "$4" -page +30+2 red.gif
}
# shellcheck disable=SC2046
{
  $convert -delay 2 -dispose None base.gif $(sprites None None None None) -loop 0 none.gif
  $convert -delay 2 -dispose Undefined base.gif $(sprites Undefined Undefined Undefined Undefined) -loop 3 undefined.gif
  $convert -delay 2 -dispose None base.gif $(sprites Background Background None Background) background.gif
  $convert -delay 2 -dispose None base.gif $(sprites Previous Previous None Previous) previous.gif
  $convert -delay 2 -dispose Background base.gif $(sprites Previous Background Previous Background) mixed.gif
  $convert -delay 2 -dispose Previous base.gif $(sprites Background Previous Previous None) -loop 2 mixed_first.gif
  # ImageMagick keeps a first frame that asks to restore the picture before
  # it; GIF89a restores what was there, the bare canvas. That first frame
  # covers the screen, so clearing it to the background is the same, and
  # ImageMagick composes that as GIF89a has it.
  $convert -delay 2 -dispose Background base.gif $(sprites Background Previous Previous None) gif:mixed_first.gif89a
  # A screen that no frame covers, and frames in colours of their own.
  $convert -delay 2 -dispose Background -page 40x30+3+2 red.gif -dispose Previous -page +10+12 blue.gif \
           -dispose None -page +0+0 purple.gif -dispose Background -page +25+20 yellow.gif partial.gif
}

cd "$out"
animated() { gifsicle --info "$1" 2>/dev/null | head -n 1 | grep -Eq ' ([2-9]|[1-9][0-9]+) images$'; }
for f in "$real"/*; do
  if animated "$f"; then cp "$f" real/; fi
done
list=()
for f in generated/*.gif real/*; do animated "$f" && list+=("$f"); done
: > manifest.txt
n=0
for f in "${list[@]}"; do
  count=$($identify -format '%n\n' "$f" | head -n 1)
  size=$($identify -format '%W|%H\n' "$f" | head -n 1)
  composed=$f
  if [ -f "${f%.gif}.gif89a" ]; then composed=gif:${f%.gif}.gif89a; fi
  $convert "$composed" -coalesce -background "$bg" -alpha remove -alpha off +adjoin -depth 8 "rgb:refs/$n-%d.rgb"
  echo "$f|$count|$size" >> manifest.txt
  n=$((n + 1))
done
echo "$n animations to compare in $out"
