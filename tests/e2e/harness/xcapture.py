"""Screen pixels straight from the X server through libX11, for any screen
depth. On a TrueColor screen a pixel carries its colour; on an 8-bit
PseudoColor screen it is a colour-map index, and the colour map to read it
through is the one of the Wine window shown there (with Wine's private colour
map, the system palette lives in that map; the root window's map, which
ImageMagick's import uses, holds other colours)."""

import ctypes
import subprocess

from harness import images

ZPIXMAP = 2
ALL_PLANES = 0xFFFFFFFF


class _XImage(ctypes.Structure):
    # The leading members of Xlib's XImage, up to the pixel layout.
    _fields_ = [('width', ctypes.c_int), ('height', ctypes.c_int), ('xoffset', ctypes.c_int),
                ('format', ctypes.c_int), ('data', ctypes.c_void_p), ('byte_order', ctypes.c_int),
                ('bitmap_unit', ctypes.c_int), ('bitmap_bit_order', ctypes.c_int), ('bitmap_pad', ctypes.c_int),
                ('depth', ctypes.c_int), ('bytes_per_line', ctypes.c_int), ('bits_per_pixel', ctypes.c_int),
                ('red_mask', ctypes.c_ulong), ('green_mask', ctypes.c_ulong), ('blue_mask', ctypes.c_ulong)]


class _XColor(ctypes.Structure):
    _fields_ = [('pixel', ctypes.c_ulong), ('red', ctypes.c_ushort), ('green', ctypes.c_ushort),
                ('blue', ctypes.c_ushort), ('flags', ctypes.c_char), ('pad', ctypes.c_char)]


def _xlib():
    x = ctypes.CDLL('libX11.so.6')
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XGetImage.restype = ctypes.POINTER(_XImage)
    x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                            ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    x.XFree.argtypes = [ctypes.c_void_p]
    x.XQueryColors.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(_XColor), ctypes.c_int]
    return x


class XScreen:
    """Reads rectangles of one X screen (display name such as ':160')."""

    def __init__(self, display):
        self.display_name = display
        self.x = _xlib()
        self.dpy = self.x.XOpenDisplay(display.encode())
        if not self.dpy:
            raise RuntimeError('cannot open X display %s' % display)
        self.root = self.x.XDefaultRootWindow(self.dpy)

    def close(self):
        if self.dpy:
            self.x.XCloseDisplay(self.dpy)
            self.dpy = None

    def colormap_of(self, window_name):
        """The colour-map id of the first X window of that name (0 when none
        is found or it has none)."""
        env = {'DISPLAY': self.display_name}
        ids = subprocess.run(['xdotool', 'search', '--name', '^%s$' % window_name], env=env, text=True,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout.split()
        for wid in ids:
            info = subprocess.run(['xwininfo', '-id', wid], env=env, text=True, stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL).stdout
            for line in info.splitlines():
                parts = line.split()
                if parts[:1] == ['Colormap:'] and int(parts[1], 16):
                    return int(parts[1], 16)
        return 0

    def colours(self, colormap):
        """The 256 entries of a colour map as (r, g, b) tuples of 8 bits."""
        cells = (_XColor * 256)()
        for i in range(256):
            cells[i].pixel = i
        self.x.XQueryColors(self.dpy, colormap, cells, 256)
        return [(c.red >> 8, c.green >> 8, c.blue >> 8) for c in cells]

    def _bytes(self, left, top, width, height):
        """The rectangle's pixel bytes as the server holds them, with the
        image's bits per pixel, bytes per line, width and byte order."""
        ximage = self.x.XGetImage(self.dpy, self.root, left, top, width, height, ALL_PLANES, ZPIXMAP)
        if not ximage:
            raise RuntimeError('XGetImage failed for %dx%d+%d+%d' % (width, height, left, top))
        img = ximage.contents
        try:
            data = ctypes.string_at(img.data, img.bytes_per_line * img.height)
            return data, img.bits_per_pixel, img.bytes_per_line, img.width, img.byte_order
        finally:
            self.x.XFree(img.data)
            self.x.XFree(ctypes.cast(ximage, ctypes.c_void_p))

    def grab_rgb(self, left, top, width, height):
        """The rectangle of a TrueColor screen as rows of packed 8-bit RGB
        bytes: quick enough to take pictures of a running program in real
        time."""
        data, bpp, stride, w, order = self._bytes(left, top, width, height)
        if bpp != 32 or order != 0 or stride != 4 * w:
            raise RuntimeError('unsupported X image layout: %d bits, byte order %d' % (bpp, order))
        rgb = bytearray(3 * w * height)
        rgb[0::3], rgb[1::3], rgb[2::3] = data[2::4], data[1::4], data[0::4]
        return bytes(rgb)

    def indices(self, left, top, width, height):
        """The raw pixel values of an 8-bit screen's rectangle, one list per row."""
        data, bpp, stride, w, _ = self._bytes(left, top, width, height)
        if bpp != 8:
            raise RuntimeError('not an 8-bit screen (%d bits per pixel)' % bpp)
        return [list(data[y * stride:y * stride + w]) for y in range(height)]

    def raw(self, left, top, width, height):
        """The rectangle's pixel bytes as the server holds them: enough to
        tell two pictures apart, without reading their colours."""
        return self._bytes(left, top, width, height)[0]

    def grab(self, left, top, width, height, colormap=0):
        """The rectangle as an images.Image. COLORMAP is needed on an 8-bit
        screen (pixels are looked up in it) and ignored on a TrueColor one."""
        data, bpp, stride, w, order = self._bytes(left, top, width, height)
        pixels = []
        if bpp == 8:
            if not colormap:
                raise RuntimeError('an 8-bit screen needs a colour map to read pixels through')
            table = self.colours(colormap)
            for y in range(height):
                pixels.extend(table[p] for p in data[y * stride:y * stride + w])
        elif bpp == 32 and order == 0:
            for y in range(height):
                row = data[y * stride:y * stride + 4 * w]
                pixels.extend(zip(row[2::4], row[1::4], row[0::4]))
        else:
            raise RuntimeError('unsupported X image layout: %d bits, byte order %d' % (bpp, order))
        return images.Image(w, height, pixels)
