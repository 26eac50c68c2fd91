#!/usr/bin/env python3
"""Pictures of the screen saver for the read-me: the flight full screen on an
800 x 600 desktop (the picture doubled and centred on black) and its settings
dialog. Runs velmora95.scr with our WinG under Wine on a virtual desktop in a
private Xvfb screen (the end-to-end harness).

  capture_saver.py --tree TREE --saver SCR --probe PROBE --wing-dll DLL
                   --flight OUT.png --settings OUT.png [--simulation 1|2|3]
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # nothing is written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness.wine import Prefix, Probe  # noqa: E402
from harness.xserver import PrivateScreen  # noqa: E402

CAPTION = 'Velmora 95'
SAVER_CLASS = 'Velmora95ScreenSaver'
SETTINGS = 'Velmora 95 Screen Saver Settings'
IDCANCEL = 2
DESKTOP = (800, 600)


def fail(message):
    print('capture_saver: ' + message, file=sys.stderr)
    sys.exit(1)


def shoot(screen, rect, out, colours):
    """The desktop rectangle [left, top, right, bottom] as a small PNG."""
    _, x, y = screen.desktop_window()
    left, top, right, bottom = rect
    crop = '%dx%d+%d+%d' % (right - left, bottom - top, left + x, top + y)
    screen.run(['import', '-window', 'root', '-crop', crop, '+repage', '-depth', '8', '+dither', '-colors',
                str(colours), out])
    print('capture_saver: %s, %d KB' % (out, os.path.getsize(out) // 1024))


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument('--tree', required=True)
    p.add_argument('--saver', required=True, help='velmora95.scr')
    p.add_argument('--probe', required=True)
    p.add_argument('--wing-dll', required=True)
    p.add_argument('--flight', required=True, help='the PNG of the flight to write')
    p.add_argument('--settings', required=True, help='the PNG of the settings dialog to write')
    p.add_argument('--simulation', choices=['1', '2', '3'], default='3')
    args = p.parse_args()

    work = tempfile.mkdtemp(prefix='velmora-capture-saver-')
    try:
        scr = os.path.join(work, 'velmora95.scr')
        shutil.copy(args.saver, scr)
        shutil.copy(args.wing_dll, os.path.join(work, 'WING32.DLL'))
        with PrivateScreen(24) as screen, Prefix(args.tree, screen, name='capture-desktop-24') as prefix:
            prefix.set_desktop_size('%dx%d' % DESKTOP)
            ini = os.path.join(prefix.windows_dir(), 'QUARVELL.INI')
            saved = open(ini, 'rb').read() if os.path.exists(ini) else None
            with open(ini, 'w', newline='\r\n') as f:
                f.write('[Screensaver]\nSimulation=%s\n' % args.simulation)
            probe = Probe(prefix, args.probe, work)
            try:
                capture(args, screen, prefix, probe, scr, work)
            finally:
                if saved is None:
                    os.remove(ini)
                else:
                    open(ini, 'wb').write(saved)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return 0


def run_until(program, seconds):
    try:
        return program.wait(seconds)
    except subprocess.TimeoutExpired:
        program.kill()
        program.wait()
        return None


def capture(args, screen, prefix, probe, scr, work):
    program = prefix.start(scr, os.path.join(work, 'saver.log'), 'wing32=n', args=['/s'])
    if probe.wait_window(CAPTION, time.monotonic() + 60, program, SAVER_CLASS) is None:
        fail('the saver window did not appear')
    time.sleep(2)
    shoot(screen, [0, 0, DESKTOP[0], DESKTOP[1]], args.flight, 32)
    screen.keys('space')
    run_until(program, 10)

    program = prefix.start(scr, os.path.join(work, 'settings.log'), 'wing32=n', args=['/c'])
    rc, reports = probe.run(['dialogs', SETTINGS, 30000])
    if rc != 0:
        fail('the settings dialog did not appear')
    time.sleep(0.5)
    shoot(screen, reports[0][0]['window'], args.settings, 64)
    probe.run(['press', SETTINGS, IDCANCEL])
    run_until(program, 10)


if __name__ == '__main__':
    sys.exit(main())
