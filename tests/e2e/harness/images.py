"""Reading the pictures the tests look at: screenshots of the X screen (binary
PPM written by ImageMagick's import) and the probe's 24-bit BMP files."""

import struct


class Image:
    """Pixels as (r, g, b) tuples, rows top to bottom."""

    def __init__(self, width, height, pixels):
        self.width = width
        self.height = height
        self.pixels = pixels

    def at(self, x, y):
        return self.pixels[y * self.width + x]

    def crop(self, left, top, right, bottom):
        """The part inside [left, right) x [top, bottom), clipped to the image."""
        left, top = max(0, left), max(0, top)
        right, bottom = min(self.width, right), min(self.height, bottom)
        w, h = max(0, right - left), max(0, bottom - top)
        rows = []
        for y in range(top, top + h):
            start = y * self.width + left
            rows.extend(self.pixels[start:start + w])
        return Image(w, h, rows)


def _triples(data, count):
    return [tuple(data[i:i + 3]) for i in range(0, 3 * count, 3)]


def read_ppm(path):
    with open(path, 'rb') as f:
        data = f.read()
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b'#':
            pos = data.index(b'\n', pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    pos += 1  # the single whitespace after the maximum value
    if fields[0] != b'P6' or int(fields[3]) != 255:
        raise ValueError('%s: not an 8-bit binary PPM' % path)
    width, height = int(fields[1]), int(fields[2])
    return Image(width, height, _triples(data[pos:], width * height))


def read_bmp(path):
    with open(path, 'rb') as f:
        data = f.read()
    if data[:2] != b'BM':
        raise ValueError('%s: not a BMP file' % path)
    offset = struct.unpack_from('<I', data, 10)[0]
    width, height = struct.unpack_from('<ii', data, 18)
    bits = struct.unpack_from('<H', data, 28)[0]
    if bits != 24:
        raise ValueError('%s: %d bits per pixel, expected 24' % (path, bits))
    stride = (width * 3 + 3) & ~3
    top_down = height < 0
    height = abs(height)
    pixels = []
    for row in range(height):
        src = row if top_down else height - 1 - row
        start = offset + src * stride
        for x in range(width):
            b, g, r = data[start + 3 * x:start + 3 * x + 3]
            pixels.append((r, g, b))
    return Image(width, height, pixels)


def star_ramp():
    """The greys a star can have: entries 10..235 of the star colour table,
    floor(255 - (i - 10) * 254 / 235), computed exactly (entry 11 is 253)."""
    return {(255 * 235 - (i - 10) * 254) // 235 for i in range(10, 236)}
