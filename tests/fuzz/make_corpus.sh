#!/usr/bin/env bash
# Writes the seed corpus of the image loaders: files of the layouts the
# frame buffer reads (uncompressed 8-bit bitmap files with a full colour
# table, 8-bit run-length PCX files), made by ImageMagick in several shapes
# and pictures, so that fuzzing starts from inputs that load all the way.
# Remapping onto a map of a couple of hundred colours keeps every file at 8
# bits whatever the picture. Usage: make_corpus.sh OUT_DIR
set -euo pipefail
out=$1
mkdir -p "$out/bmp" "$out/pcx"
convert hald:3 +dither -colors 256 "$out/map.png"
i=0
for size in 320x200 321x7 17x5 1x1 1x9 9x1 64x3; do
  for pic in "gradient:red-blue" "plasma:fractal" "pattern:checkerboard" "radial-gradient:yellow-navy"; do
    i=$((i + 1))
    convert -seed 7 -size "$size" "$pic" +dither -remap "$out/map.png" -type Palette -compress None "BMP3:$out/bmp/seed$i.bmp"
    convert -seed 7 -size "$size" "$pic" +dither -remap "$out/map.png" -type Palette -compress RLE "PCX:$out/pcx/seed$i.pcx"
  done
done
rm "$out/map.png"
