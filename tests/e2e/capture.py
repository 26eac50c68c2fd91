#!/usr/bin/env python3
"""An animated picture of a flight: runs the program with our WinG under Wine
on a virtual desktop inside a private Xvfb screen (the end-to-end harness),
lets it fly at Doubled size and writes the view as an animated GIF, and the
whole screen as a PNG.

  capture.py --tree TREE --exe PROGRAM --probe PROBE --wing-dll DLL
             --gif OUT.gif [--screenshot OUT.png] [--seconds 3.5] [--rate 14]
             [--simulation tumble|washing|laundry] [--frames-per-picture 3]

The program draws as fast as it can (hundreds of frames a second under
Xvfb) and moves its camera by frames, not by time, so pictures taken in real
time would be far apart in the flight. Instead the program is stopped
between pictures and let run for a moment of about FRAMES-PER-PICTURE of its
frames each time: the GIF shows the flight as the program flies it, slowed
to the GIF's rate. Stars are greys, so the GIF keeps 16 of them.
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # nothing is written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness.wine import Prefix, Probe  # noqa: E402
from harness.xserver import PrivateScreen  # noqa: E402

CAPTION = 'Velmora 95'
FRAME = '!#32770'
ID_APP_EXIT = 57665
ID_VIEW = 59648
SIMULATIONS = {'tumble': 32775, 'washing': 32776, 'laundry': 32777}
FPS = re.compile(r'^Fps = (\d+)$')


def fail(message):
    print('capture: ' + message, file=sys.stderr)
    sys.exit(1)


def frame_rate(probe, deadline):
    """The rate the program reports once its meter has measured (the first
    measuring window takes three seconds)."""
    while time.monotonic() < deadline:
        rc, reports = probe.run(['dump', CAPTION, FRAME])
        texts = ((reports[0] if rc == 0 and reports else {}).get('statusbar') or {}).get('texts') or []
        m = FPS.match(texts[1] if len(texts) > 1 else '')
        if m and int(m.group(1)) > 0:
            return int(m.group(1))
        time.sleep(0.5)
    return None


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument('--tree', required=True, help='the Windows build tree')
    p.add_argument('--exe', required=True, help='velmora95.exe')
    p.add_argument('--probe', required=True, help='velmora_probe.exe')
    p.add_argument('--wing-dll', required=True, help='our WING32.DLL')
    p.add_argument('--gif', required=True, help='the animated GIF to write')
    p.add_argument('--screenshot', help='also write a PNG of the whole screen here')
    p.add_argument('--seconds', type=float, default=3.5, help='length of the animation')
    p.add_argument('--rate', type=int, default=14, help='pictures per second of the animation')
    p.add_argument('--simulation', choices=sorted(SIMULATIONS), default='tumble')
    p.add_argument('--frames-per-picture', type=float, default=3.0,
                   help='program frames between two pictures (about)')
    args = p.parse_args()

    work = tempfile.mkdtemp(prefix='velmora-capture-')
    try:
        folder = os.path.join(work, 'program')
        os.makedirs(folder)
        shutil.copy(args.exe, folder)
        shutil.copy(args.wing_dll, os.path.join(folder, 'WING32.DLL'))
        exe = os.path.join(folder, os.path.basename(args.exe))
        with PrivateScreen(24) as screen, Prefix(args.tree, screen) as prefix:
            prefix.set_desktop_size('1024x768')
            probe = Probe(prefix, args.probe, work)
            program = prefix.start(exe, os.path.join(work, 'program.log'), 'wing32=n')
            try:
                capture(args, screen, probe, program, work)
            finally:
                if program.poll() is None:
                    os.kill(program.pid, signal.SIGCONT)
                    probe.run(['command', CAPTION, FRAME, ID_APP_EXIT])
                    try:
                        program.wait(10)
                    except subprocess.TimeoutExpired:
                        program.kill()
                        program.wait()
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return 0


def capture(args, screen, probe, program, work):
    if probe.wait_window(CAPTION, time.monotonic() + 60, program, FRAME) is None:
        fail('the program\'s frame did not appear (see its output in %s)' % work)
    if args.simulation != 'tumble':
        probe.run(['command', CAPTION, FRAME, SIMULATIONS[args.simulation]])
    rate = frame_rate(probe, time.monotonic() + 15)
    if rate is None:
        fail('the program reported no frame rate')
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

    # Let the program run for about the wanted number of its frames between
    # two pictures, stopped while a picture is taken.
    step = args.frames_per_picture / rate
    count = max(2, int(args.seconds * args.rate))
    crop = '%dx%d+%d+%d' % (right - left, bottom - top, left + x, top + y)
    frames = []
    os.kill(program.pid, signal.SIGSTOP)
    for i in range(count):
        os.kill(program.pid, signal.SIGCONT)
        time.sleep(step)
        os.kill(program.pid, signal.SIGSTOP)
        time.sleep(0.02)  # the X server finishes what the program sent
        path = os.path.join(work, 'f%03d.ppm' % i)
        screen.run(['import', '-window', 'root', '-crop', crop, '+repage', '-depth', '8', path])
        frames.append(path)
    os.kill(program.pid, signal.SIGCONT)
    # One palette of 16 greys for every picture, so no grey flickers.
    palette = os.path.join(work, 'greys.png')
    subprocess.run(['convert', '-size', '16x1', 'gradient:black-white', palette], check=True)
    delay = max(2, round(100 / args.rate))
    subprocess.run(['convert', '-delay', str(delay), '-loop', '0'] + frames +
                   ['+dither', '-remap', palette, '-layers', 'Optimize', args.gif], check=True)
    size = os.path.getsize(args.gif)
    print('capture: %s, %d pictures of %dx%d, %d ms each, %d KB (program at %d frames/s, %.1f ms of flight '
          'between pictures)' % (args.gif, count, right - left, bottom - top, delay * 10, size // 1024, rate,
                                 step * 1000))


if __name__ == '__main__':
    sys.exit(main())
