#!/usr/bin/env bash
# Makes the GIF files the GIF tests read, with other programs: ImageMagick
# (/usr/bin/convert: /usr/local/bin may hold a stand-in of that name),
# netpbm, gifsicle and giflib's tools. Usage: gif_samples.sh OUTDIR
# For each single-frame file X.gif whose frame covers the screen, X.rgb
# holds its pixels as ImageMagick decodes them (8-bit red, green, blue).
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
im=/usr/bin/convert

# Sources: a smooth picture of 200 colours, and a busy one of 256.
$im -size 97x61 gradient:red-blue \( -size 97x61 gradient:yellow-black -rotate 90 -resize 97x61! \) \
    -compose multiply -composite -colors 200 +dither src.ppm
$im -size 83x47 plasma:fractal -seed 7 -colors 256 src256.ppm 2>/dev/null || $im -size 83x47 xc: +noise Random -colors 256 src256.ppm
$im -size 40x30 xc:white -fill red -draw "rectangle 3,3 20,20" -fill blue -draw "circle 30,20 35,25" small.ppm

# ImageMagick
$im src.ppm im_plain.gif
$im src.ppm -interlace GIF im_interlaced.gif
$im src256.ppm im_256.gif
$im src.ppm -colors 2 +dither im_2col.gif
$im src.ppm -colors 16 +dither -comment "made by ImageMagick" im_16col.gif
$im small.ppm -transparent white im_transparent.gif
$im -delay 20 -loop 0 src.ppm \( small.ppm -repage +7+5 \) \( src256.ppm -resize 50% -repage +20+9 \) im_anim.gif

# netpbm
pamtogif src.ppm > pam_plain.gif 2>/dev/null
pamtogif -interlace src256.ppm > pam_interlaced.gif 2>/dev/null
pamtogif -sort small.ppm > pam_sorted.gif 2>/dev/null

# gifsicle
gifsicle -O3 im_plain.gif > sicle_o3.gif
gifsicle --interlace im_256.gif > sicle_interlaced.gif
gifsicle --colors 7 im_plain.gif > sicle_7col.gif 2>/dev/null
gifsicle -O2 --loopcount=3 im_anim.gif > sicle_anim.gif 2>/dev/null

# giflib
$im src.ppm -channel R -separate gray:src.R
$im src.ppm -channel G -separate gray:src.G
$im src.ppm -channel B -separate gray:src.B
gif2rgb -c 6 -s 97 61 src > giflib_plain.gif
giftool -i 1 < giflib_plain.gif > giflib_interlaced.gif

for f in im_plain im_interlaced im_256 im_2col im_16col pam_plain pam_interlaced pam_sorted \
         sicle_o3 sicle_interlaced sicle_7col giflib_plain giflib_interlaced; do
  $im "$f.gif[0]" -depth 8 "rgb:$f.rgb"
done
rm -f src.R src.G src.B
mkdir -p corpus && cp ./*.gif corpus/
touch stamp
