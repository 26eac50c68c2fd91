#!/usr/bin/env python3
"""An animated picture of a flight: runs the program with our WinG under Wine
on a virtual desktop inside a private Xvfb screen (the end-to-end harness),
lets it fly at Doubled size and writes the view as an animated GIF, and the
whole screen as a PNG.

  capture.py --tree TREE --exe PROGRAM --probe PROBE --wing-dll DLL
             --gif OUT.gif [--screenshot OUT.png] [--seconds 3] [--rate 15]
             [--simulation tumble|washing|laundry] [--population sparse|dense|crowded]
             [--frame-rate 30] [--greys 32]

The program moves its camera by frames, not by time, so it flies paced at
FRAME-RATE frames a second ("Frame Rate" in the settings file of the
capture's own Wine prefix), and the view is recorded in real time, RATE
pictures a second straight from the X server; each picture is shown for as
long as it was on the screen. Stars are greys, so the GIF keeps GREYS of
them.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # nothing is written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness.wine import Prefix, Probe  # noqa: E402
from harness.xcapture import XScreen  # noqa: E402
from harness.xserver import PrivateScreen  # noqa: E402

CAPTION = 'Velmora 95'
FRAME = '!#32770'
ID_APP_EXIT = 57665
ID_VIEW = 59648
SIMULATIONS = {'tumble': 32775, 'washing': 32776, 'laundry': 32777}
POPULATIONS = {'sparse': 32778, 'crowded': 32779, 'dense': 32780}
FPS = re.compile(r'^Fps = (\d+)$')


def fail(message):
    print('capture: ' + message, file=sys.stderr)
    sys.exit(1)


def frame_rate(probe, deadline):
    """The rate the program reports once its meter has measured (the first
    measuring window takes three seconds)."""
    texts = []
    while time.monotonic() < deadline:
        rc, reports = probe.run(['dump', CAPTION, FRAME])
        texts = ((reports[0] if rc == 0 and reports else {}).get('statusbar') or {}).get('texts') or []
        m = FPS.match(texts[1] if len(texts) > 1 else '')
        if m and int(m.group(1)) > 0:
            return int(m.group(1))
        time.sleep(0.5)
    print('capture: the status bar last read %s' % texts, file=sys.stderr)
    return None


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument('--tree', required=True, help='the Windows build tree')
    p.add_argument('--exe', required=True, help='velmora95.exe')
    p.add_argument('--probe', required=True, help='velmora_probe.exe')
    p.add_argument('--wing-dll', required=True, help='our WING32.DLL')
    p.add_argument('--gif', required=True, help='the animated GIF to write')
    p.add_argument('--screenshot', help='also write a PNG of the whole screen here')
    p.add_argument('--seconds', type=float, default=3.0, help='length of the animation')
    p.add_argument('--rate', type=int, default=15, help='pictures per second of the animation')
    p.add_argument('--simulation', choices=sorted(SIMULATIONS), default='laundry')
    p.add_argument('--population', choices=sorted(POPULATIONS), default='crowded')
    p.add_argument('--greys', type=int, default=32, help='greys the animation keeps')
    p.add_argument('--frame-rate', type=int, default=30, help='the program\'s frames per second')
    args = p.parse_args()

    work = tempfile.mkdtemp(prefix='velmora-capture-')
    try:
        folder = os.path.join(work, 'program')
        os.makedirs(folder)
        shutil.copy(args.exe, folder)
        shutil.copy(args.wing_dll, os.path.join(folder, 'WING32.DLL'))
        exe = os.path.join(folder, os.path.basename(args.exe))
        with PrivateScreen(24) as screen, Prefix(args.tree, screen, name='capture-desktop-24') as prefix:
            prefix.set_desktop_size('1024x768')
            probe = Probe(prefix, args.probe, work)
            paced(prefix, args.frame_rate)
            program = prefix.start(exe, os.path.join(work, 'program.log'), 'wing32=n')
            try:
                capture(args, screen, probe, program, work)
            finally:
                if program.poll() is None:
                    probe.run(['command', CAPTION, FRAME, ID_APP_EXIT])
                    try:
                        program.wait(10)
                    except subprocess.TimeoutExpired:
                        program.kill()
                        program.wait()
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return 0


def paced(prefix, frame_rate):
    """Sets "Frame Rate" in [Velmora] of the prefix's settings file (with a
    run counted, so that no first-run hint comes up). The prefix is the
    capture's own: a capture that is killed leaves nothing behind for the
    test cases."""
    path = os.path.join(prefix.windows_dir(), 'QUARVELL.INI')
    with open(path, 'w', encoding='latin-1', newline='\r\n') as f:
        f.write('[Velmora]\nNum Runs=1\nFrame Rate=%d\n' % frame_rate)


def capture(args, screen, probe, program, work):
    if probe.wait_window(CAPTION, time.monotonic() + 60, program, FRAME) is None:
        fail('the program\'s frame did not appear (see its output in %s)' % work)
    # The meter measures Tumble Dry only (the other simulations keep its
    # last reading): the rate is read before the flight is chosen.
    rate = frame_rate(probe, time.monotonic() + 15)
    if rate is None:
        fail('the program reported no frame rate')
    probe.run(['command', CAPTION, FRAME, SIMULATIONS[args.simulation]])
    probe.run(['command', CAPTION, FRAME, POPULATIONS[args.population]])
    time.sleep(1)
    rc, reports = probe.run(['dump', CAPTION, FRAME])
    view = next((c for c in (reports[0]['children'] if rc == 0 else []) if c['id'] == ID_VIEW), None)
    if view is None:
        fail('the program has no view')
    left, top, right, bottom = view['client']
    if (right - left, bottom - top) != (640, 400):
        fail('the view is %dx%d, not the doubled 640x400' % (right - left, bottom - top))
    _, x, y = screen.desktop_window()
    if args.screenshot:
        screen.run(['import', '-window', 'root', '-depth', '8', '+dither', '-colors', '128', args.screenshot])
        print('capture: %s' % args.screenshot)

    # Pictures on a beat of RATE a second for SECONDS, each taken as it
    # comes; one taken late is followed by the next beat, not by a burst.
    # The GIF shows each picture until the next was taken (in hundredths of
    # a second, rounded on the running total so that the animation keeps
    # real time).
    width, height = right - left, bottom - top
    xscreen = XScreen(screen.display)
    taken = []
    try:
        started = time.monotonic()
        due = started
        while True:
            now = time.monotonic()
            if now - started >= args.seconds:
                break
            if due > now:
                time.sleep(due - now)
            at = time.monotonic()
            taken.append((at, xscreen.grab_rgb(left + x, top + y, width, height)))
            due = started + (int((at - started) * args.rate) + 1) / args.rate
    finally:
        xscreen.close()
    if len(taken) < 2:
        fail('too few pictures were taken')
    count = len(taken)
    frames = []
    for i, (_, rgb) in enumerate(taken):
        path = os.path.join(work, 'f%03d.ppm' % i)
        with open(path, 'wb') as f:
            f.write(b'P6\n%d %d\n255\n' % (width, height) + rgb)
        frames.append(path)
    ends = [t for t, _ in taken[1:]] + [started + args.seconds]
    delays, shown = [], 0
    for end in ends:
        delay = max(2, round((end - taken[0][0]) * 100) - shown)
        delays.append(delay)
        shown += delay
    # One palette of greys for every picture, so no grey flickers.
    palette = os.path.join(work, 'greys.png')
    subprocess.run(['convert', '-size', '%dx1' % args.greys, 'gradient:black-white', palette], check=True)
    sequence = []
    for delay, path in zip(delays, frames):
        sequence += ['-delay', str(delay), path]
    subprocess.run(['convert', '-loop', '0'] + sequence +
                   ['+dither', '-remap', palette, '-layers', 'Optimize', args.gif], check=True)
    size = os.path.getsize(args.gif)
    print('capture: %s, %d pictures of %dx%d in %.2f s of flight (%d to %d ms each), %d KB (program paced at %d '
          'frames/s, its meter reads %d)' % (args.gif, count, width, height, shown / 100, min(delays) * 10,
                                             max(delays) * 10, size // 1024, args.frame_rate, rate))


if __name__ == '__main__':
    sys.exit(main())
