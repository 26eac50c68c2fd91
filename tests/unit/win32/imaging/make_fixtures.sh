#!/usr/bin/env bash
# Writes the imaging tests' fixtures with ImageMagick: uncompressed 8-bit
# bitmap files and 8-bit PCX files of several shapes, each with
# ImageMagick's own raw RGB dump (rows top first) to compare against.
# Remapping onto a colourful map of a couple of hundred colours keeps the
# files at 8 bits with a full 256-entry colour table, whatever the shape.
# Usage: make_fixtures.sh OUT_DIR
set -euo pipefail
out=$1
mkdir -p "$out"
convert hald:3 +dither -colors 256 "$out/map.png"
: > "$out/list.txt"
for spec in "wide 320x200" "odd 321x7" "small 17x5" "pixel 1x1" "row 40x1" "column 1x30"; do
  set -- $spec
  name=$1 size=$2
  # Bitmap files uncompressed, PCX files run-length encoded: the layouts
  # the frame buffer reads.
  for kind in BMP3:bmp:None PCX:pcx:RLE; do
    IFS=: read -r format ext compression <<<"$kind"
    convert -seed 11 -size "$size" plasma:fractal +dither -remap "$out/map.png" -compress "$compression" \
      "$format:$out/$name.$ext"
    convert "$out/$name.$ext" -depth 8 "rgb:$out/$name.$ext.rgb"
  done
  echo "$name ${size%x*} ${size#*x}" >> "$out/list.txt"
done
