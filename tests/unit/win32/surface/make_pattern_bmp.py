#!/usr/bin/env python3
"""Writes the test bitmap PATTERN: an 8-bit, 7 x 5 bottom-up bitmap file
whose pixel (x, y), y = 0 at the top, is the index y * 16 + x + 1, with a
256-entry grey colour table. The odd width gives rows with padding."""
import struct
import sys

WIDTH, HEIGHT = 7, 5
pitch = (WIDTH * 8 + 31) // 32 * 4
rows = []
for y in reversed(range(HEIGHT)):            # bottom-up: last row first
    row = bytes(y * 16 + x + 1 for x in range(WIDTH))
    rows.append(row + bytes(pitch - WIDTH))
pixels = b"".join(rows)
colors = b"".join(struct.pack("<BBBB", i, i, i, 0) for i in range(256))
info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, len(pixels), 0, 0, 0, 0)
offset = 14 + len(info) + len(colors)
header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
with open(sys.argv[1], "wb") as f:
    f.write(header + info + colors + pixels)
