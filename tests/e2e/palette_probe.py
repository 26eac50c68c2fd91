#!/usr/bin/env python3
"""What an 8-bit PseudoColor screen under Wine shows of an identity palette,
measured with palette_probe.exe (a program with nothing of the product in
it): for each of Wine's two colour-map arrangements (the shared default map,
and a private map, HKCU\\Software\\Wine\\X11 Driver PrivateColorMap), the
probe's bands (StretchDIBits with RGB colours, with palette indices, BitBlt
of a DIB section, and PALETTEINDEX brushes for comparison) are compared column by column with the palette.

  palette_probe.py --tree BUILD_TREE --probe palette_probe.exe

Prints figures; asserts nothing about Wine. The screen is read twice:
ImageMagick's `import -window root` (pixels through the root window's colour
map) and the raw pixel values through the colour map of the probe's X window.
"""

import argparse
import json
import os
import subprocess
import sys
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import images  # noqa: E402
from harness.wine import Prefix  # noqa: E402
from harness.xcapture import XScreen  # noqa: E402
from harness.xserver import PrivateScreen  # noqa: E402

BAND = 32
BANDS = ['StretchDIBits DIB_RGB_COLORS', 'StretchDIBits DIB_PAL_COLORS', 'BitBlt of a DIB section',
         'FillRect, PALETTEINDEX brushes']
CAPTION = 'Palette probe'


def start_probe(prefix, exe, log_path, seconds, variant):
    log = open(log_path, 'w')
    proc = subprocess.Popen(['wine', os.path.basename(exe), str(seconds)] + ([variant] if variant else []), cwd=os.path.dirname(os.path.abspath(exe)),
                            env=prefix.env(), stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
    log.close()
    return proc


def wait_report(log_path, proc, seconds=90):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        with open(log_path, encoding='utf-8', errors='replace') as f:
            for line in f:
                if line.startswith('{'):
                    return json.loads(line)
        if proc.poll() is not None:
            break
        time.sleep(0.5)
    raise RuntimeError('the probe reported nothing (log %s)' % log_path)


def band_figures(name, row, logical):
    greys = range(10, 246)
    exact = [i for i in greys if row[i] == tuple(logical[i])]
    near = [i for i in greys if max(abs(a - b) for a, b in zip(row[i], logical[i])) <= 4]
    statics = [i for i in list(range(10)) + list(range(246, 256)) if row[i] == tuple(logical[i])]
    distinct = sorted({row[i] for i in greys})
    worst = max(max(abs(a - b) for a, b in zip(row[i], logical[i])) for i in greys)
    print('    %-30s greys exact %3d/236, within 4 %3d/236, worst off by %3d, %3d distinct colours shown;'
          ' statics exact %2d/20' % (name, len(exact), len(near), worst, len(distinct), len(statics)))
    if len(distinct) <= 24:
        print('      the 236 grey columns show only: %s' % distinct)
    return len(exact)


def measure(args, private, variant):
    mode = 'private colour map' if private else 'shared default colour map'
    print('== %s%s' % (mode, ', palette realised in a memory DC first' if variant else ''))
    with PrivateScreen(8, '1024x768') as screen, \
            Prefix(args.tree, screen, name='palette-probe-%s' % ('private' if private else 'shared')) as prefix:
        env = prefix.env()
        subprocess.run(['wine', 'reg', 'add', r'HKCU\Software\Wine\X11 Driver', '/v', 'PrivateColorMap', '/d',
                        'Y' if private else 'N', '/f'], env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=120)
        prefix.stop()
        work = os.path.join(os.path.abspath(args.tree), 'tests', 'e2e', 'results', 'palette-probe')
        os.makedirs(work, exist_ok=True)
        tag = '%s%s' % ('private' if private else 'shared', '-' + variant if variant else '')
        log_path = os.path.join(work, 'probe-%s.log' % tag)
        proc = start_probe(prefix, args.probe, log_path, args.seconds, variant)
        try:
            report = wait_report(log_path, proc)
            time.sleep(1)
            _, dx, dy = screen.desktop_window()
            ox, oy = dx + report['origin'][0], dy + report['origin'][1]
            shot = images.read_ppm(screen.screenshot(os.path.join(work, 'root-%s.ppm' % tag)))
            xs = XScreen(screen.display)
            try:
                colormap = xs.colormap_of(CAPTION) or xs.colormap_of('Wine desktop')
                raw = xs.indices(ox, oy, 256, len(BANDS) * BAND)
                table = xs.colours(colormap) if colormap else None
            finally:
                xs.close()
        finally:
            proc.wait(timeout=args.seconds + 60)
        logical = report['logical']
        system = report['system']
        print('  RealizePalette returned %d in the first paint, %d in paint %d (%s); RASTERCAPS 0x%x, %d bits per '
              'pixel, SIZEPALETTE %d' % (report['firstRealized'], report['realized'], report['paints'],
                                         'foreground' if report['foreground'] else 'not the foreground window',
                                         report['rastercaps'], report['bitspixel'], report['sizepalette']))
        same = sum(1 for i in range(256) if system[i] == logical[i])
        print('  system palette after realising: %d/256 entries equal the logical entry of the same index' % same)
        print('  colour map of the probe window: %s' % (hex(colormap) if colormap else 'none found'))
        for b, name in enumerate(BANDS):
            y = b * BAND + BAND // 2
            pixels = raw[y]
            identity = sum(1 for x in range(256) if pixels[x] == x)
            print('  band %d, %s: X pixel value equals the colour index in %d/256 columns' % (b, name, identity))
            print('    %s' % ('pixel values of the grey columns 10..245: %d distinct, e.g. %s' %
                              (len(set(pixels[10:246])), sorted(set(pixels[10:246]))[:12])))
            band_figures('read by import -window root', [shot.at(ox + x, oy + y) for x in range(256)], logical)
            if table:
                band_figures('read through the window\'s map', [table[p] for p in pixels], logical)


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument('--tree', required=True)
    p.add_argument('--probe', required=True)
    p.add_argument('--seconds', type=int, default=12)
    args = p.parse_args()
    for private in (False, True):
        for variant in ('', 'memdc-first'):
            measure(args, private, variant)
    return 0


if __name__ == '__main__':
    sys.exit(main())
