#!/usr/bin/env bash
# Makes the JPEG files the JPEG tests read, with libjpeg-turbo's own tools and
# ImageMagick (/usr/bin/convert: /usr/local/bin may hold a stand-in of that
# name). Usage: jpeg_samples.sh OUTDIR
# For each X.jpg that libjpeg can decode, X.pnm holds djpeg's picture of it
# (P6, or P5 for a greyscale file) with djpeg's default options.
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
im=/usr/bin/convert

# Odd sizes, so that the last MCU of a row and of the picture is partly outside.
$im -size 97x61 gradient:red-blue \( -size 97x61 gradient:yellow-black -rotate 90 -resize 97x61! \) \
    -compose multiply -composite -fill white -draw "circle 30,30 30,12" -fill '#208040' \
    -draw "rectangle 60,8 90,40" src.ppm

cjpeg -quality 85 src.ppm >baseline.jpg
cjpeg -quality 90 -progressive src.ppm >progressive.jpg
cjpeg -quality 80 -grayscale src.ppm >grey.jpg
cjpeg -quality 95 -sample 1x1 -restart 2 src.ppm >restart444.jpg
$im src.ppm -quality 75 -interlace Plane im_progressive.jpg
# Cut short in the middle of the scan: libjpeg greys the rest and goes on.
head -c $(($(stat -c %s baseline.jpg) * 2 / 3)) baseline.jpg >truncated.jpg

for f in baseline progressive grey restart444 im_progressive; do
  djpeg -pnm $f.jpg >$f.pnm
done
# djpeg ends with status 2 after a warning, here the premature end.
status=0
djpeg -pnm truncated.jpg >truncated.pnm 2>/dev/null || status=$?
[ $status = 2 ]

# Streams libjpeg refuses.
printf 'GIF89a, not a JPEG stream at all' >notjpeg.jpg
head -c 120 baseline.jpg >headeronly.jpg
# The frame header's height and width set to 0.
sof=$(LC_ALL=C grep -obUaP '\xff\xc0' baseline.jpg | head -n 1 | cut -d: -f1)
cp baseline.jpg zerosize.jpg
printf '\0\0\0\0' | dd of=zerosize.jpg bs=1 seek=$((sof + 5)) conv=notrunc status=none
touch stamp
