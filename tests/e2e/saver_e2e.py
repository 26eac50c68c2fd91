#!/usr/bin/env python3
"""End-to-end cases of the screen saver velmora95.scr under Wine, on the
end-to-end cases' virtual desktop (1024 x 768, one monitor):

  full-screen  /s: the window covers the desktop, the stars are exact greys
               of the ramp, tripled and centred on black; a 1-pixel pointer
               move leaves it running, a key ends it with exit code 0.
               --short (used without WinG): the picture, then a 20-pixel
               pointer move ends it.
  preview      /p: inside a window the probe makes, the preview child fills
               the client area and shows stars (read from the test build's
               copy of its picture: see check_preview_picture); /c:<window>
               owns the settings dialog; closing the window ends the preview.
               Then a full-screen start that fails once its window is up
               shows its box until OK, and ends with exit code 3.
  settings     /c: the five lists start at the defaults, Cancel saves
               nothing, OK saves the choices, junk reads as the defaults;
               Dirty Laundry chosen there shows its sheet under /s; then
               the bad command lines (/p 0, /p junk, /x) and /a.

  saver_e2e.py --tree TREE --saver SCR --probe PROBE --name NAME --case CASE
               [--wing-dll DLL --dll-overrides wing32=n] [--short] [--hung-window]

The saver runs from a folder of its own (with our WING32.DLL beside it when
given). Results stay in TREE/tests/e2e/results/NAME on failure.
"""

import argparse
import os
import re
import shutil
import sys
import time

sys.dont_write_bytecode = True  # nothing is written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import run_e2e  # noqa: E402
from harness import images  # noqa: E402
from run_e2e import CAPTION, IDOK  # noqa: E402

SAVER_CLASS = 'Velmora95ScreenSaver'
PREVIEW_CLASS = 'Velmora95Preview'
SETTINGS = 'Velmora 95 Screen Saver Settings'
HOST = 'Velmora 95 Preview Host'
IDCANCEL = 2
WS_EX_TOPMOST = 0x8
# The five lists, their item counts and default positions.
LISTS = {'Simulation': (1101, 3, 0), 'Population': (1102, 3, 1), 'Nausea': (1103, 3, 0),
         'Frame Rate': (1104, 3, 1), 'Tune': (1105, 4, 0)}
DESKTOP = (1024, 768)
PICTURE = (32, 84, 960, 600)  # 320 x 200 tripled, centred on the desktop
FACTOR = 3
MIN_LIT = 50


class SaverCase(run_e2e.Case):
    def steps(self):
        self.prefix.set_desktop_size('%dx%d' % DESKTOP)
        self.folder = os.path.join(self.dir, 'saver')
        os.makedirs(self.folder)
        self.scr = os.path.join(self.folder, os.path.basename(self.args.saver))
        shutil.copy(self.args.saver, self.scr)
        if self.args.wing_dll:
            shutil.copy(self.args.wing_dll, os.path.join(self.folder, 'WING32.DLL'))
        self.write_settings(None)
        {'full-screen': self.full_screen_case, 'preview': self.preview_case,
         'settings': self.settings_case}[self.args.case]()

    # -- running the saver ---------------------------------------------------
    def start(self, *args, extra_env=None):
        self.runs = getattr(self, 'runs', 0) + 1
        log = os.path.join(self.dir, 'saver-%d.log' % self.runs)
        self.program = self.prefix.start(self.scr, log, self.args.dll_overrides, args=args, extra_env=extra_env)
        return self.program

    def ended(self, seconds, what, code=0):
        started = time.monotonic()
        got = self.wait_exit(seconds)
        self.check(got == code, '%s: the saver ends with exit code %d (got %s after %.1f s)' %
                   (what, code, got, time.monotonic() - started))
        return got == code

    def wait_saver_window(self, cls):
        self.require(self.probe.wait_window(CAPTION, time.monotonic() + 60, self.program, cls) is not None,
                     'a %s window appears' % cls)

    # -- the settings file -------------------------------------------------
    def write_settings(self, values):
        """Replaces the [Screensaver] section of QUARVELL.INI (none when
        VALUES is None) and keeps the rest."""
        path = self.settings_path()
        kept = []
        if os.path.exists(path):
            with open(path, encoding='latin-1') as f:
                section = None
                for line in f.read().splitlines():
                    if line.strip().startswith('['):
                        section = line.strip().strip('[]').lower()
                    if section != 'screensaver' and line.strip():
                        kept.append(line)
        if values is not None:
            kept.append('[Screensaver]')
            kept.extend('%s=%s' % kv for kv in values.items())
        with open(path, 'w', encoding='latin-1', newline='\r\n') as f:
            f.write('\n'.join(kept) + '\n')

    def read_settings(self):
        """The [Screensaver] section as a dict (None when there is none)."""
        try:
            with open(self.settings_path(), encoding='latin-1') as f:
                text = f.read()
        except OSError:
            return None
        m = re.search(r'^\[Screensaver\][^\n]*\n((?:(?!\[)[^\n]*\n?)*)', text, re.M | re.I)
        if m is None:
            return None
        return dict(line.split('=', 1) for line in m.group(1).splitlines() if '=' in line)

    # -- pictures ----------------------------------------------------------
    def picture(self):
        """The tripled picture as the 320 x 200 frame it shows (checking that
        every 3 x 3 block is one colour), and the desktop around it."""
        shot = self.screenshot()
        x, y, cx, cy = PICTURE
        inside = shot.crop(x, y, x + cx, y + cy)
        blocks = sum(1 for py in range(cy) for px in range(cx)
                     if inside.at(px, py) != inside.at(px - px % FACTOR, py - py % FACTOR))
        outside = sum(1 for py in range(shot.height) for px in range(shot.width)
                      if not (x <= px < x + cx and y <= py < y + cy) and shot.at(px, py) != (0, 0, 0))
        frame = images.Image(320, 200, [inside.at(FACTOR * i, FACTOR * j) for j in range(200) for i in range(320)])
        return frame, blocks, outside

    def check_flight(self):
        """Stars in exact ramp greys, each buffer pixel a 3 x 3 block, black
        around the picture, and motion. Returns the last frame seen."""
        ramp = images.star_ramp()
        frame, blocks, outside = self.picture()
        lit = [p for p in frame.pixels if p != (0, 0, 0)]
        for _ in range(5):  # the camera now and then looks out of the cloud
            if len(lit) >= MIN_LIT:
                break
            time.sleep(0.5)
            frame, blocks, outside = self.picture()
            lit = [p for p in frame.pixels if p != (0, 0, 0)]
        wrong = [p for p in lit if not (p[0] == p[1] == p[2] and p[0] in ramp)]
        self.check(len(lit) >= MIN_LIT, 'stars appear (%d lit pixels)' % len(lit))
        self.check(not wrong, 'every lit pixel is a grey of the star ramp (%d are not, e.g. %s)' % (len(wrong), wrong[:3]))
        self.check(blocks == 0, 'the picture is tripled: every buffer pixel is a 3x3 block (%d pixels differ)' % blocks)
        self.check(outside == 0, 'the desktop around the centred picture is black (%d pixels are not)' % outside)
        later, _, _ = self.picture()
        self.check(later.pixels != frame.pixels, 'the stars move')
        return later

    def check_covers_desktop(self):
        report = self.probe.dump(CAPTION, SAVER_CLASS)
        self.require(report is not None, 'the probe describes the saver window')
        self.check(report['window'] == [0, 0, DESKTOP[0], DESKTOP[1]],
                   'the window covers the desktop (got %s)' % report['window'])
        self.check(bool(report['exstyle'] & WS_EX_TOPMOST), 'the window is topmost')

    # -- /s ----------------------------------------------------------------
    def full_screen_case(self):
        # The pointer rests inside the desktop before the saver starts: it is
        # first seen there.
        self.screen.run(['xdotool', 'mousemove', '500', '400'])
        self.start('/s')
        self.wait_saver_window(SAVER_CLASS)
        self.check_covers_desktop()
        self.check_flight()
        if not self.args.short:
            for dx in ('1', '-1'):
                self.screen.run(['xdotool', 'mousemove_relative', '--', dx, '0'])
                time.sleep(0.7)
            self.check(self.program.poll() is None, 'a 1-pixel pointer move leaves the saver running')
            self.screen.keys('space')
            self.ended(10, 'a key')
        else:
            self.screen.run(['xdotool', 'mousemove_relative', '--', '20', '0'])
            self.ended(10, 'a 20-pixel pointer move')
        rc, _ = self.probe.run(['gone', CAPTION, SAVER_CLASS, 2000])
        self.check(rc == 0, 'no saver window is left')

    # -- /p ----------------------------------------------------------------
    def preview_case(self):
        with self.probe.window_of_its_own('host', HOST, 300, 200, 90) as hwnd:
            self.require(hwnd is not None, 'the probe makes a host window')
            self.start('/p', hwnd)
            child = None
            deadline = time.monotonic() + 30
            while child is None and time.monotonic() < deadline and self.program.poll() is None:
                time.sleep(0.5)
                report = self.probe.dump(HOST, '')
                children = (report or {}).get('children') or []
                child = next((c for c in children if c['class'] == PREVIEW_CLASS and c['visible']), None)
            self.require(child is not None, 'a preview child appears in the host window')
            self.check(child['window'] == report['client'], 'the preview fills the host\'s client area (%s, client %s)' %
                       (child['window'], report['client']))
            self.check_preview_picture(report['client'])
            self.check_owned_settings(hwnd)
            self.probe.run(['close', HOST, ''])
            self.ended(10, 'closing the host window')
        self.failed_start()

    def failed_start(self):
        """A full-screen start that fails once its window is up (the test
        build fails it there on request) takes the window down, then says why
        in a box that stays until OK; the exit code then tells of the failure."""
        self.start('/s', extra_env={'VELMORA_SAVER_FAIL_START': '1'})
        rc, reports = self.probe.run(['dialogs', CAPTION, 15000])
        self.require(rc == 0 and reports and reports[0], 'a failed start shows a box captioned "%s"' % CAPTION)
        texts = [c['text'].replace('\r\n', '\n') for c in reports[0][0]['children']]
        self.check(run_e2e.FATAL_TEXTS['memory'] in texts, 'the box says that memory ran out (texts %s)' % texts)
        rc, _ = self.probe.run(['gone', CAPTION, SAVER_CLASS, 2000])
        self.check(rc == 0, 'the full-screen window is gone while the box shows')
        time.sleep(1.5)
        self.check(self.program.poll() is None, 'the box stays until OK')
        self.probe.run(['press', CAPTION, IDOK])
        self.ended(10, 'OK on the failure box', code=3)

    def check_preview_picture(self, client):
        """Wine's virtual desktop does not put a window that one process draws
        as the child of another process's window on the screen (the host's
        white background stays there), so the picture is read from the test
        build's copy: the preview's paint into a memory bitmap of its size."""
        left, top, right, bottom = client
        shot = self.screenshot().crop(left, top, right, bottom)
        print('      on the screen: %d of %d pixels black where the preview is' %
              (sum(1 for p in shot.pixels if p == (0, 0, 0)), len(shot.pixels)))
        path = os.path.join(self.folder, 'preview-capture.bmp')
        deadline = time.monotonic() + 20
        while not os.path.exists(path) and time.monotonic() < deadline:
            time.sleep(0.3)
        if not self.check(os.path.exists(path), 'the test build writes the preview\'s picture'):
            return
        picture = images.read_bmp(path)
        self.check((picture.width, picture.height) == (right - left, bottom - top),
                   'the picture has the client\'s size (%dx%d)' % (picture.width, picture.height))
        # 300 x 200 takes the 320 x 200 picture at 300 x 187, rows 6 to 192.
        ramp = images.star_ramp()
        lit = [(i % picture.width, i // picture.width, p) for i, p in enumerate(picture.pixels) if p != (0, 0, 0)]
        wrong = [p for _, _, p in lit if not (p[0] == p[1] == p[2] and p[0] in ramp)]
        margin = [(x, y) for x, y, _ in lit if y < 6 or y >= 193]
        self.check(len(lit) >= 10, 'the preview shows stars (%d lit pixels)' % len(lit))
        self.check(not wrong, 'every lit preview pixel is a grey of the star ramp (%d are not, e.g. %s)' %
                   (len(wrong), wrong[:3]))
        self.check(not margin, 'the picture keeps its shape, black above and below (%d lit there)' % len(margin))

    def check_owned_settings(self, hwnd):
        """/c:<window> opens the settings dialog owned by that window."""
        preview = self.program
        self.start('/c:%d' % hwnd)
        rc, reports = self.probe.run(['dialogs', SETTINGS, 15000])
        if self.check(rc == 0, 'the settings dialog opens for /c:<window>'):
            self.check(reports[0][0]['owner'] == hwnd, 'the dialog is owned by the window (owner %s, window %s)' %
                       (reports[0][0]['owner'], hwnd))
            self.probe.run(['press', SETTINGS, IDCANCEL])
        self.ended(10, 'Cancel')
        self.program = preview

    # -- /c, Dirty Laundry under /s, bad command lines -----------------------
    def choices(self, changes=None):
        """Reads (and with CHANGES {name: index}, first sets) the lists of the
        open dialog; returns {name: selected index}."""
        got = {}
        for name, (cid, count, _) in LISTS.items():
            cmd = ['choice', SETTINGS, cid] + ([changes[name]] if changes and name in changes else [])
            rc, reports = self.probe.run(cmd)
            self.require(rc == 0, 'the %s list is there' % name)
            self.check(reports[0]['count'] == count, 'the %s list has %d items (got %d)' %
                       (name, count, reports[0]['count']))
            got[name] = reports[0]['selected']
        return got

    def settings_dialog(self, *args):
        self.start(*args)
        rc, _ = self.probe.run(['dialogs', SETTINGS, 30000])
        self.require(rc == 0, 'the settings dialog opens for %s' % (' '.join(args) or 'no argument'))

    def settings_case(self):
        defaults = {name: d for name, (_, _, d) in LISTS.items()}
        self.settings_dialog()
        self.check(self.choices() == defaults, 'the lists start at the defaults')
        self.choices({'Simulation': 2, 'Tune': 3})
        self.probe.run(['press', SETTINGS, IDCANCEL])
        self.ended(10, 'Cancel')
        self.check(self.read_settings() is None, 'Cancel saves nothing (got %s)' % self.read_settings())

        self.settings_dialog('/C')
        self.choices({'Simulation': 2, 'Nausea': 1, 'Frame Rate': 0})
        self.probe.run(['press', SETTINGS, IDOK])
        self.ended(10, 'OK')
        want = {'Simulation': '3', 'Population': '2000', 'Nausea': '1', 'Frame Rate': '30', 'Tune': '0'}
        self.check(self.read_settings() == want, 'OK saves the choices (got %s)' % self.read_settings())

        self.settings_dialog('-c')
        self.check(self.choices() == dict(defaults, Simulation=2, Nausea=1, **{'Frame Rate': 0}),
                   'the dialog shows the saved choices')
        self.probe.run(['press', SETTINGS, IDCANCEL])
        self.ended(10, 'Cancel')

        self.start('/s')
        self.wait_saver_window(SAVER_CLASS)
        self.check_sheet()
        self.screen.keys('Escape')
        self.ended(10, 'a key')

        # A value too long to be read whole is junk too, though its start
        # ("1") would be a valid choice.
        self.write_settings({'Simulation': '9', 'Population': 'lots', 'Nausea': '1' + ' ' * 40 + 'x',
                             'Frame Rate': 'junk', 'Tune': '-1'})
        self.settings_dialog()
        self.check(self.choices() == defaults, 'junk settings read as the defaults (got %s)' % self.choices())
        self.probe.run(['press', SETTINGS, IDCANCEL])
        self.ended(10, 'Cancel')

        self.bad_command_lines()

    def check_sheet(self):
        """Dirty Laundry flies low over a flat sheet of stars, tilted towards
        it: the far stars crowd into a dim band at the top of the picture and
        the few near ones below are bright. (The tumbling cube spreads its
        stars and their greys evenly over the picture.)"""
        top, lit, upper, lower = 0, 0, [], []
        for _ in range(4):
            frame = self.check_flight()
            for i, p in enumerate(frame.pixels):
                if p == (0, 0, 0):
                    continue
                y = i // frame.width
                lit += 1
                top += y < 40
                (upper if y < 100 else lower).append(p[0])
            time.sleep(0.3)
        self.check(lit and top * 10 >= lit * 6,
                   'Dirty Laundry: most stars crowd into the top fifth (%d of %d)' % (top, lit))
        if self.check(upper and lower, 'Dirty Laundry: stars in both halves'):
            up, low = sum(upper) / len(upper), sum(lower) / len(lower)
            self.check(low > up + 60, 'Dirty Laundry: the stars below are brighter (mean grey %.0f below, %.0f above)' %
                       (low, up))

    def bad_command_lines(self):
        for args in (('/p', '0'), ('/p', 'junk')):
            self.start(*args)
            self.ended(10, ' '.join(args), code=1)
            rc, _ = self.probe.run(['gone', CAPTION, PREVIEW_CLASS, 100])
            self.check(rc == 0, '%s leaves no window' % ' '.join(args))
        self.start('/x')
        rc, reports = self.probe.run(['dialogs', CAPTION, 30000])
        if self.check(rc == 0, '/x shows a message box'):
            texts = [c['text'] for c in reports[0][0]['children']]
            self.check(any(t.startswith('Usage: velmora95.scr') for t in texts), 'the box shows the usage (%s)' % texts)
            self.probe.run(['press', CAPTION, IDOK])
        self.ended(10, '/x', code=2)
        self.start('/a')
        self.ended(10, '/a')


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument('--tree', required=True)
    p.add_argument('--saver', required=True, help='velmora95.scr')
    p.add_argument('--probe', required=True)
    p.add_argument('--name', required=True)
    p.add_argument('--case', choices=['full-screen', 'preview', 'settings'], required=True)
    p.add_argument('--wing-dll', default='', help='our WING32.DLL, put beside the saver')
    p.add_argument('--dll-overrides', default='')
    p.add_argument('--short', action='store_true', help='full-screen: the picture and a key only')
    run_e2e.add_hung_window_argument(p)
    args = p.parse_args()
    args.size = '%dx%d' % DESKTOP
    case = SaverCase(args)
    ok = case.run()
    return run_e2e.finish(case, ok)


if __name__ == '__main__':
    sys.exit(main())
