#!/usr/bin/env bash
# Writes the seed corpus of the image decoders: 8-bit bitmap and PCX files
# made by ImageMagick in several shapes. Usage: make_corpus.sh OUT_DIR
set -euo pipefail
out=$1
mkdir -p "$out/bmp" "$out/pcx"
i=0
for size in 320x200 321x7 17x5 1x1 1x9 9x1 64x3; do
  for pic in "gradient:red-blue" "plasma:fractal" "pattern:checkerboard" "xc:gray50"; do
    i=$((i + 1))
    convert -seed 7 -size "$size" "$pic" -colors 200 -type Palette "BMP3:$out/bmp/seed$i.bmp" 2>/dev/null
    convert -seed 7 -size "$size" "$pic" -colors 200 -type Palette "PCX:$out/pcx/seed$i.pcx" 2>/dev/null
  done
done
