#!/usr/bin/env python3
"""End-to-end test driver: runs the program under Wine on a virtual desktop
of a given size inside a private Xvfb screen, inspects it with the probe and
with screenshots, ends it one of several ways and checks its exit.

  run_e2e.py --tree BUILD_TREE --exe PROGRAM --probe PROBE --case frame
             --size 800x600 --exit ctrl-x|menu-keys|command|toolbar [options]
  run_e2e.py ... --case fatal --fatal-command ID

On failure the screenshots, the probe's reports and the program's output stay
in the case's folder under the build tree (TREE/tests/e2e/results/NAME), and
their paths are printed; a passing case removes its folder.
"""

import argparse
import contextlib
import json
import os
import shutil
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # nothing is written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import images  # noqa: E402
from harness.wine import Prefix, Probe  # noqa: E402
from harness.xserver import PrivateScreen  # noqa: E402

CAPTION = 'Velmora 95'
FRAME = '!#32770'  # the frame: any window of that caption but a dialog
ID_APP_EXIT = 57665
NOTEPAD = 'Untitled - Notepad'
HUNG = 'Velmora Probe Hung Window'
# How long that window answers nothing: longer than any wait of a case.
HUNG_SECONDS = 300
ID_VIEW = 59648  # the framework's id of the first pane, the view
IDOK = 1
FATAL_TEXTS = {
    'other': 'An unexpected error has occurred.\n\nThe application will be terminated.',
    'memory': 'Not enough memory to complete the operation.\n\nThe application will be terminated.',
}
SW_MAXIMIZE = 3
MIN_LIT_PIXELS = 50  # 2000 stars in view light hundreds
STAR_SHOT_RETRIES = 5
SW_RESTORE = 9
SS_TYPEMASK, SS_ICON = 0x1F, 0x03


class CaseFailed(Exception):
    pass


def _running(pid):
    try:
        os.kill(pid, 0)
        return True
    except ProcessLookupError:
        return False
    except OSError:
        return True


class Case:
    # How long the program may take to end after the exit command.
    exit_seconds = 10

    def __init__(self, args):
        self.args = args
        self.failures = []
        self.dir = os.path.join(os.path.abspath(args.tree), 'tests', 'e2e', 'results', args.name)
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(self.dir)
        self.width, self.height = (int(v) for v in args.size.split('x'))
        self.screen = None
        self.prefix = None
        self.probe = None
        self.program = None
        self.server = None  # the wine server the program started with
        self.shots = 0

    # -- reporting -------------------------------------------------------
    def check(self, ok, message):
        print('%s: %s' % ('ok  ' if ok else 'FAIL', message))
        if not ok:
            self.failures.append(message)
        return ok

    def require(self, ok, message):
        if not self.check(ok, message):
            raise CaseFailed(message)

    def screenshot(self):
        """A screenshot of the virtual desktop, as an image whose coordinates
        are the desktop's (Windows screen coordinates)."""
        self.shots += 1
        path = os.path.join(self.dir, 'screen-%d.ppm' % self.shots)
        self.screen.screenshot(path)
        _, x, y = self.screen.desktop_window()
        image = images.read_ppm(path)
        return image.crop(x, y, x + self.width, y + self.height)

    def save_diagnostics(self):
        paths = []
        try:
            png = os.path.join(self.dir, 'failure-screen.png')
            self.screen.screenshot(png)
            paths.append(png)
        except Exception as e:  # the screen may be gone already
            print('could not take the failure screenshot: %s' % e)
        if self.probe is not None:
            dump = os.path.join(self.dir, 'probe-reports.json')
            with open(dump, 'w') as f:
                json.dump(self.probe.transcript, f, indent=1)
            paths.append(dump)
        paths.append(os.path.join(self.dir, 'program.log'))
        print('diagnostics:')
        for p in paths:
            print('  ' + p)

    # -- running ---------------------------------------------------------
    def run(self):
        with PrivateScreen(24) as screen, Prefix(self.args.tree, screen) as prefix:
            self.screen, self.prefix = screen, prefix
            self.probe = Probe(prefix, self.args.probe, self.dir)
            hung = getattr(self.args, 'hung_window', False)
            return self.guarded(self.steps_beside_a_hung_window if hung else self.steps)

    def steps_beside_a_hung_window(self):
        """The steps while another program's window on the desktop answers no
        message: whatever the program tells all windows must not wait on it.
        The desktop takes the case's size first: the hung window's start
        brings up the desktop, which reads its size only then."""
        self.prefix.set_desktop_size(self.args.size)
        with self.probe.window_of_its_own('hang', HUNG, HUNG_SECONDS) as hwnd:
            self.require(hwnd is not None, 'another program shows a window that then answers nothing')
            self.steps()

    def guarded(self, steps):
        """Runs the case's steps: a failed requirement ends them, a broken
        harness step is a failure too. On failure the diagnostics are saved;
        a program still running is ended. Returns whether the case passed."""
        try:
            steps()
        except CaseFailed:
            pass
        except Exception as e:
            self.check(False, 'harness error: %r' % e)
        finally:
            if self.failures:
                self.save_diagnostics()
                self.print_program_log()
            if self.program is not None and self.program.poll() is None:
                self.program.kill()
                self.program.wait()
        return not self.failures

    def steps(self):
        self.prefix.set_desktop_size(self.args.size)
        runs_before = self.prepare_settings()
        self.program = self.prefix.start(self.args.exe, os.path.join(self.dir, 'program.log'),
                                         self.args.dll_overrides, self.args.start_minimised)
        started = time.monotonic()
        # On a first run the hint box comes before the frame: either counts.
        hwnd = self.probe.wait_window(CAPTION, started + 60, self.program,
                                      '' if self.args.case == 'first-run' else FRAME)
        self.require(hwnd is not None, 'a window captioned "%s" appears' % CAPTION)
        print('      window after %.1f s' % (time.monotonic() - started))
        self.server = self.prefix.server_pid()
        if self.args.case == 'frame':
            self.frame_case(runs_before)
        elif self.args.case == 'first-run':
            self.first_run_case()
        else:
            self.fatal_case()

    @contextlib.contextmanager
    def other_program_active(self):
        """Another program (Notepad) opens and is activated by a click on its
        caption, the way a user would; it is ended when the block is left."""
        notepad = subprocess.Popen(['wine', 'notepad'], env=self.prefix.env(), stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
        try:
            rc, _ = self.probe.run(['wait', NOTEPAD, '', 15000])
            self.require(rc == 0, 'another program\'s window opens')
            other = self.probe.dump(NOTEPAD, '')
            self.require(other is not None, 'the probe describes the other window')
            left, top, right, _ = other['window']
            self.screen.click((left + right) // 2, top + 8)
            time.sleep(0.5)
            yield
        finally:
            notepad.kill()
            notepad.wait()

    def print_program_log(self):
        if self.program is not None and self.program.poll() is not None:
            print('the program ended with exit code %s' % self.program.returncode)
            # A Wine program whose server ends exits at once with code 0.
            if self.server is not None and not _running(self.server):
                print('its wine server (process %d) has ended as well: the program was ended with it '
                      '(e.g. wineserver -k on this prefix from outside the case)' % self.server)
        try:
            with open(os.path.join(self.dir, 'program.log'), errors='replace') as f:
                lines = f.readlines()
        except OSError:
            return
        if lines:
            print('program output (last lines):')
            for line in lines[-20:]:
                print('  | ' + line.rstrip())

    def settings_path(self):
        return os.path.join(self.prefix.windows_dir(), 'QUARVELL.INI')

    def read_run_count(self):
        try:
            with open(self.settings_path(), encoding='latin-1') as f:
                section = None
                for line in f:
                    line = line.strip()
                    if line.startswith('['):
                        section = line.strip('[]').lower()
                    elif section == 'velmora' and line.lower().startswith('num runs'):
                        return int(line.split('=', 1)[1].strip())
        except (OSError, ValueError):
            pass
        return None

    def prepare_settings(self):
        """The first run without WinG shows a one-time hint; the tests start
        from a later run so that the frame comes up by itself."""
        if self.args.case == 'first-run':
            if os.path.exists(self.settings_path()):
                os.remove(self.settings_path())
            return 0
        if not self.args.check_run_counter:
            return None
        count = self.read_run_count()
        if count is None or count < 1:
            with open(self.settings_path(), 'w', encoding='latin-1', newline='\r\n') as f:
                f.write('[Velmora]\nNum Runs=1\n')
            count = 1
        return count

    def wait_exit(self, seconds):
        try:
            return self.program.wait(timeout=seconds)
        except Exception:
            return None

    # -- the frame -------------------------------------------------------
    def frame_case(self, runs_before):
        report = self.probe.dump(CAPTION, FRAME)
        self.require(report is not None, 'the probe describes the frame')
        self.check_frame(report)
        self.check_restored_size(report)
        self.check_bars(report)
        shot = self.screenshot()
        self.check_menu_strip(report, shot)
        self.check_close_glyph(report, shot)
        self.check_bar_borders(report, shot)
        self.check_stars(report, shot)
        self.end_program(report)
        if runs_before is not None:
            after = self.read_run_count()
            self.check(after == runs_before + 1,
                       'the run counter in QUARVELL.INI went from %s to %s (expected %s)' %
                       (runs_before, after, runs_before + 1))

    def check_frame(self, r):
        if self.args.start_minimised:
            print('      (started with a minimised show state)')
        self.check(r['text'] == CAPTION, 'caption is "%s" (got "%s")' % (CAPTION, r['text']))
        m = r['metrics']
        self.check((m['cxscreen'], m['cyscreen']) == (self.width, self.height),
                   'the desktop is %dx%d (got %dx%d)' % (self.width, self.height, m['cxscreen'], m['cyscreen']))
        self.check(r['zoomed'] and r['placement'].get('showCmd') == SW_MAXIMIZE,
                   'the frame opens maximised (zoomed %s, show command %s)' % (r['zoomed'], r['placement'].get('showCmd')))
        left, top, right, bottom = r['window']
        self.check(left <= 0 and top <= 0 and right >= self.width and bottom >= self.height,
                   'the maximised frame covers the desktop (window %s)' % r['window'])

    def expected_restored_size(self, m):
        w, base = (440, 350) if self.width <= 640 else (660, 520) if self.width <= 800 else (700, 550)
        h = base + m['cycaption'] + m['cymenu']
        return min(w, self.width - 8), min(h, self.height - 8)

    def check_restored_size(self, r):
        """Wine does not give the restored rectangle of another process's
        window, so the frame is restored, measured and maximised again."""
        want = self.expected_restored_size(r['metrics'])
        restored = None
        for _ in range(20):
            rc, reports = self.probe.run(['show', CAPTION, FRAME, SW_RESTORE], ['dump', CAPTION, FRAME])
            if rc == 0 and len(reports) == 2 and not reports[1]['zoomed']:
                restored = reports[1]
                break
            time.sleep(0.3)
        if not self.check(restored is not None, 'the frame can be restored'):
            return
        left, top, right, bottom = restored['window']
        got = (right - left, bottom - top)
        self.check(got == want, 'restored size is %dx%d (got %dx%d)' % (want + got))
        for _ in range(20):
            rc, reports = self.probe.run(['show', CAPTION, FRAME, SW_MAXIMIZE], ['dump', CAPTION, FRAME])
            if rc == 0 and len(reports) == 2 and reports[1]['zoomed']:
                return
            time.sleep(0.3)
        self.check(False, 'the frame maximises again')

    def check_bars(self, r):
        tb = r['toolbar']
        if self.check(tb is not None, 'there is a toolbar'):
            self.check(tb['buttonSize'] == [39, 39], 'toolbar buttons are 39 x 39 (got %s)' % tb['buttonSize'])
            if self.args.toolbar_buttons:
                self.check(tb['buttons'] == self.args.toolbar_buttons,
                           'the toolbar has %d buttons (got %d)' % (self.args.toolbar_buttons, tb['buttons']))
            first = tb['items'][0] if tb['items'] else {}
            self.check(first.get('command') == ID_APP_EXIT, 'the first toolbar button is Exit')
            rect = first.get('rect', [0, 0, 0, 0])
            self.check(rect[3] - rect[1] == 39, 'the Exit button is 39 pixels high (rect %s)' % rect)
            bar = next((c for c in r['children'] if c['hwnd'] == tb['hwnd']), None)
            height = bar['window'][3] - bar['window'][1] if bar else 0
            self.check(height >= 39, 'the toolbar is at least 39 pixels high (got %d)' % height)
        sb = r['statusbar']
        if self.check(sb is not None, 'there is a status bar'):
            texts = sb['texts']
            self.check(sb['parts'] == 2, 'the status bar has 2 panes (got %d)' % sb['parts'])
            self.check(len(texts) > 1 and (texts[1] or '').startswith('Fps = '),
                       'pane 1 shows "Fps = " (got %s)' % texts[1:2])

    def check_menu_strip(self, r, shot):
        """The menu bar is the strip right above the client area; its titles
        are runs of text-coloured columns on the menu colour."""
        left, top, right, _ = r['client']
        strip = shot.crop(left, top - r['metrics']['cymenu'] + 2, right, top - 2)
        menu = tuple(r['colours']['menu'])
        text = tuple(r['colours']['menutext'])
        background = sum(1 for p in strip.pixels if p == menu)
        self.check(strip.pixels and background * 10 >= len(strip.pixels) * 7,
                   'the menu strip is mostly the menu colour %s (%d of %d pixels)' %
                   (menu, background, len(strip.pixels)))
        # Titles are drawn with smoothed glyphs: any pixel off the menu colour
        # is ink. Letters of a title are at most a few pixels apart, titles
        # more than ten.
        inked = [any(strip.at(x, y) != menu for y in range(strip.height)) for x in range(strip.width)]
        titles, gap = 0, 99
        for ink in inked:
            if ink:
                titles += 1 if gap >= 8 else 0
                gap = 0
            else:
                gap += 1
        dark = sum(1 for p in strip.pixels if p == text)
        self.check(dark > 0, 'the menu strip has text pixels of the menu text colour %s' % (text,))
        self.check(titles == self.args.menus, 'the menu strip shows %d titles (counted %d)' % (self.args.menus, titles))

    def check_close_glyph(self, r, shot):
        """The caption's close button shows a cross (Marlett's glyph), not a
        letter: its dark pixels run along both diagonals of their box."""
        m = r['metrics']
        _, top, right, _ = r['window']
        band_top = max(0, top + m['cyframe'])
        band = shot.crop(min(shot.width, right - m['cxframe']) - m['cycaption'] - 4, band_top,
                         min(shot.width, right - m['cxframe']), band_top + m['cycaption'])
        dark = {(x, y) for y in range(band.height) for x in range(band.width) if max(band.at(x, y)) < 64}
        if not self.check(len(dark) >= 8, 'the close button has a dark glyph (%d dark pixels)' % len(dark)):
            return
        x0, x1 = min(x for x, _ in dark), max(x for x, _ in dark)
        y0, y1 = min(y for _, y in dark), max(y for _, y in dark)
        span = max(1, y1 - y0)

        def along(diagonal):
            rows = sum(1 for y in range(y0, y1 + 1)
                       if any((diagonal(y) + d, y) in dark for d in (-1, 0, 1)))
            return rows * 10 >= (y1 - y0 + 1) * 9

        falling = along(lambda y: x0 + round((y - y0) * (x1 - x0) / span))
        rising = along(lambda y: x1 - round((y - y0) * (x1 - x0) / span))
        self.check(abs((x1 - x0) - (y1 - y0)) <= 2 and falling and rising,
                   'the close button shows a cross (glyph box %dx%d, diagonals %s, %s)' %
                   (x1 - x0 + 1, y1 - y0 + 1, falling, rising))

    def check_bar_borders(self, r, shot):
        """An etched line, a row of the button shadow colour above a row of
        the highlight colour, is the toolbar's last two rows and the status
        bar's first two, across the frame's client width."""
        bars = {c['hwnd']: c for c in r['children']}
        shadow, light = tuple(r['colours']['btnshadow']), tuple(r['colours']['btnhighlight'])
        for what, key, row in (('below the toolbar', 'toolbar', -2), ('above the status bar', 'statusbar', 0)):
            bar = bars.get((r[key] or {}).get('hwnd'))
            if bar is None:
                continue
            left, top, right, bottom = bar['window']
            y = (bottom if row < 0 else top) + row
            rows = [[shot.at(x, y + i) for x in range(max(0, left), min(shot.width, right))] for i in (0, 1)]
            self.check(rows[0] and all(p == shadow for p in rows[0]) and all(p == light for p in rows[1]),
                       'an etched line runs %s (rows %d and %d: %s, expected %s then %s)' %
                       (what, y, y + 1, [sorted(set(rows[0])), sorted(set(rows[1]))], shadow, light))

    def view_of(self, r):
        view = next((c for c in r['children'] if c['id'] == ID_VIEW and c['visible']), None)
        return view

    def check_stars(self, r, shot):
        view = self.view_of(r)
        if not self.check(view is not None, 'there is a view (child id %d)' % ID_VIEW):
            return
        left, top, right, bottom = view['client']
        size = (right - left, bottom - top)
        allowed = [(320, 200)] if self.width <= 640 else [(320, 200), (640, 400)]
        self.check(size in allowed, 'the picture is %s (got %dx%d)' % (' or '.join('%dx%d' % s for s in allowed), *size))
        self.check_view_place(r, view)
        ramp = images.star_ramp()
        first = shot.crop(left, top, right, bottom)
        lit = [p for p in first.pixels if p != (0, 0, 0)]
        # The tumbling camera now and then looks out of the star cloud, and
        # only the few nearest stars are in view: a later picture is taken.
        for _ in range(STAR_SHOT_RETRIES):
            if len(lit) >= MIN_LIT_PIXELS:
                break
            time.sleep(0.5)
            first = self.screenshot().crop(left, top, right, bottom)
            lit = [p for p in first.pixels if p != (0, 0, 0)]
        wrong = [p for p in lit if not (p[0] == p[1] == p[2] and p[0] in ramp)]
        self.check(len(lit) >= MIN_LIT_PIXELS, 'stars appear in the view (%d lit pixels)' % len(lit))
        self.check(not wrong, 'every lit pixel is a grey of the star ramp (%d are not, e.g. %s)' % (len(wrong), wrong[:3]))
        xs = [i % first.width for i, p in enumerate(first.pixels) if p != (0, 0, 0)]
        ys = [i // first.width for i, p in enumerate(first.pixels) if p != (0, 0, 0)]
        if xs:
            self.check(max(xs) - min(xs) >= first.width // 2 and max(ys) - min(ys) >= first.height // 2,
                       'the stars spread over the whole picture (x %d..%d, y %d..%d)' %
                       (min(xs), max(xs), min(ys), max(ys)))
        if size == (640, 400):
            # A picture can catch the copy to the screen half-way, with the
            # two rows of a block from two frames: a later picture is taken.
            # Wrong scaling shows in every picture.
            odd = self.odd_blocks(first)
            for _ in range(STAR_SHOT_RETRIES):
                if odd == 0:
                    break
                time.sleep(0.2)
                odd = self.odd_blocks(self.screenshot().crop(left, top, right, bottom))
            self.check(odd == 0, 'at doubled size every buffer pixel is a 2x2 block (%d pixels differ)' % odd)
        second = self.screenshot().crop(left, top, right, bottom)
        self.check(second.pixels != first.pixels, 'the stars move between two screenshots')

    @staticmethod
    def odd_blocks(picture):
        """How many pixels of a doubled picture differ from the top-left
        pixel of their 2x2 block."""
        return sum(1 for y in range(picture.height) for x in range(picture.width)
                   if picture.at(x, y) != picture.at(x & ~1, y & ~1))

    def check_view_place(self, r, view):
        """The picture is centred in the area between the toolbar and the
        status bar (a pixel or two either way for the view's border)."""
        bars = {c['hwnd']: c for c in r['children']}
        if r['toolbar'] is None or r['statusbar'] is None:
            return
        area_top = bars[r['toolbar']['hwnd']]['window'][3]
        area_bottom = bars[r['statusbar']['hwnd']]['window'][1]
        area_left, _, area_right, _ = r['client']
        left, top, right, bottom = view['client']
        if right - left > area_right - area_left or bottom - top > area_bottom - area_top:
            return  # clipped to the area: nothing to centre
        dx = (left - area_left) - (area_right - right)
        dy = (top - area_top) - (area_bottom - bottom)
        self.check(abs(dx) <= 2 and abs(dy) <= 3,
                   'the picture is centred between the bars (off by %d, %d; picture %s, area %s)' %
                   (dx, dy, view['client'], [area_left, area_top, area_right, area_bottom]))

    def end_program(self, r):
        how = self.args.exit
        started = time.monotonic()
        if how == 'command':
            self.probe.run(['command', CAPTION, FRAME, ID_APP_EXIT])
        elif how == 'ctrl-x':
            self.probe.run(['foreground', CAPTION, FRAME])
            self.screen.keys('ctrl+x')
        elif how == 'menu-keys':
            self.probe.run(['foreground', CAPTION, FRAME])
            self.screen.keys('alt+f', 'x')
        elif how == 'toolbar':
            report = self.probe.dump(CAPTION, FRAME) or r  # the layout after maximising again
            items = [i for i in (report['toolbar'] or {}).get('items', []) if i.get('command') == ID_APP_EXIT]
            self.require(bool(items) and 'rect' in items[0], 'the Exit button has a rectangle')
            left, top, right, bottom = items[0]['rect']
            self.screen.click((left + right) // 2, (top + bottom) // 2)
        code = self.wait_exit(self.exit_seconds)
        self.check(code is not None, 'the program ends within %d s after %s (took %.1f s)' %
                   (self.exit_seconds, how, time.monotonic() - started))
        self.check(code == 0, 'the exit code is 0 (got %s)' % code)

    # -- the fatal path --------------------------------------------------
    def fatal_case(self):
        report = self.probe.dump(CAPTION, FRAME)
        self.require(report is not None, 'the probe describes the frame')
        view = self.view_of(report)
        rc, _ = self.probe.run(['command', CAPTION, FRAME, self.args.fatal_command])
        self.require(rc == 0, 'the throwing command %d is posted' % self.args.fatal_command)
        rc, reports = self.probe.run(['dialogs', CAPTION, 10000])
        self.require(rc == 0 and reports and reports[0], 'a message box captioned "%s" appears' % CAPTION)
        box = reports[0][0]
        texts = [c['text'].replace('\r\n', '\n') for c in box['children']]
        want = FATAL_TEXTS[self.args.fatal_kind]
        self.check(want in texts, 'the box says %r (texts %s)' % (want, texts))
        buttons = [c for c in box['children'] if c['class'].lower() == 'button']
        self.check([b['id'] for b in buttons] == [IDOK], 'the box has one OK button (got %s)' %
                   [(b['id'], b['text']) for b in buttons])
        shot = self.screenshot()
        self.check(self.dialog_icon(box, shot) == 'stop', 'the box shows the stop icon')
        if view is not None:
            left, top, right, bottom = view['client']
            time.sleep(0.5)
            later = self.screenshot()
            self.check(shot.crop(left, top, right, bottom).pixels == later.crop(left, top, right, bottom).pixels,
                       'the picture is frozen while the box is shown')
        rc, _ = self.probe.run(['press', CAPTION, IDOK])
        self.check(rc == 0, 'OK is pressed')
        started = time.monotonic()
        code = self.wait_exit(10)
        self.check(code is not None, 'the program ends within 10 s after OK (took %.1f s, exit code %s)' %
                   (time.monotonic() - started, code))

    # -- the first run without WinG --------------------------------------
    def first_run_case(self):
        """No settings file and no WinG: the install hint appears once, with
        the information icon, before the frame; the picture then has the
        normal size, and the run counter is 1 after the exit."""
        rc, reports = self.probe.run(['dialogs', CAPTION, 3000])
        self.require(rc == 0 and reports and reports[0], 'the WinG hint box appears before the frame')
        box = reports[0][0]
        texts = [c['text'] for c in box['children']]
        self.check(any(t.startswith('Unable to access WinG.') for t in texts), 'the box gives the WinG hint (texts %s)' % texts)
        self.check(self.dialog_icon(box, self.screenshot()) == 'information', 'the box shows the information icon')
        rc, _ = self.probe.run(['press', CAPTION, IDOK])
        self.require(rc == 0, 'OK is pressed')
        hwnd = self.probe.wait_window(CAPTION, time.monotonic() + 30, self.program, FRAME)
        self.require(hwnd is not None, 'the frame appears after the hint')
        report = self.probe.dump(CAPTION, FRAME)
        self.require(report is not None and report['class'] != '#32770', 'the probe describes the frame')
        view = self.view_of(report)
        if self.check(view is not None, 'there is a view (child id %d)' % ID_VIEW):
            left, top, right, bottom = view['client']
            self.check((right - left, bottom - top) == (320, 200), 'without WinG the picture has the normal size '
                       '320x200 (got %dx%d)' % (right - left, bottom - top))
        self.end_program(report)
        self.check(self.read_run_count() == 1, 'QUARVELL.INI now counts 1 run (got %s)' % self.read_run_count())

    def dialog_icon(self, box, shot):
        """Compares the icon control's pixels with the system's standard icons
        wherever those are opaque (the same on black and on white)."""
        control = next((c for c in box['children']
                        if c['class'].lower() == 'static' and (c['style'] & SS_TYPEMASK) == SS_ICON and c['visible']),
                       None)
        if control is None:
            return 'none'
        rc, _ = self.probe.run(['icons', self.dir])
        if rc != 0:
            return 'unknown'
        left, top, _, _ = control['client']
        best, best_score = 'unknown', 0.9
        for name in ('stop', 'information', 'warning', 'question'):
            black = images.read_bmp(os.path.join(self.dir, name + '-black.bmp'))
            white = images.read_bmp(os.path.join(self.dir, name + '-white.bmp'))
            seen = shot.crop(left, top, left + black.width, top + black.height)
            if (seen.width, seen.height) != (black.width, black.height):
                continue
            opaque = [i for i, p in enumerate(black.pixels) if p == white.pixels[i]]
            if not opaque:
                continue
            score = sum(1 for i in opaque if seen.pixels[i] == black.pixels[i]) / len(opaque)
            print('      icon match %s: %.2f' % (name, score))
            if score > best_score:
                best, best_score = name, score
        return best


def finish(case, ok):
    """Ends a case's script: its results folder (screenshots, logs) is kept
    for failures only; prints the verdict and returns the exit code."""
    if ok:
        shutil.rmtree(case.dir, ignore_errors=True)
    print('PASSED' if ok else 'FAILED')
    return 0 if ok else 1


def add_hung_window_argument(p):
    p.add_argument('--hung-window', action='store_true',
                   help='run beside another program\'s window that answers no message')


def case_arguments(doc):
    """A command-line parser with what every case script takes: the build
    tree, the program, the probe and the case's name."""
    p = argparse.ArgumentParser(description=doc, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument('--tree', required=True, help='the Windows build tree')
    p.add_argument('--exe', required=True, help='the program under test')
    p.add_argument('--probe', required=True, help='velmora_probe.exe')
    p.add_argument('--name', required=True, help='the case name (its results folder)')
    add_hung_window_argument(p)
    return p


def frame_case_main(case_class, doc):
    """The command line of a case that runs as the frame case does, with a
    maximised program started normally and ended by its Exit command, and
    checks of its own (the class, a subclass of Case): returns the exit code."""
    p = case_arguments(doc)
    p.add_argument('--size', default='1024x768', help='virtual desktop size')
    p.add_argument('--dll-overrides', default='', help='extra WINEDLLOVERRIDES for the program')
    args = p.parse_args()
    args.case = 'frame'
    args.exit = 'command'
    args.start_minimised = False
    args.check_run_counter = True
    args.menus = 7
    args.toolbar_buttons = 17
    case = case_class(args)
    ok = case.run()
    return finish(case, ok)


def main():
    p = case_arguments(__doc__)
    p.add_argument('--case', choices=['frame', 'fatal', 'first-run'], required=True)
    p.add_argument('--start-minimised', action='store_true', help='start the program with a minimised show state')
    p.add_argument('--size', default='1024x768', help='virtual desktop size')
    p.add_argument('--exit', choices=['command', 'ctrl-x', 'menu-keys', 'toolbar'], default='command')
    p.add_argument('--menus', type=int, default=7, help='number of menu titles expected in the menu bar')
    p.add_argument('--toolbar-buttons', type=int, default=0, help='expected toolbar button count (0: any)')
    p.add_argument('--fatal-command', type=int, default=0, help='command id whose handler throws')
    p.add_argument('--fatal-kind', choices=sorted(FATAL_TEXTS), default='other',
                   help='what the handler throws: a memory exception or another one')
    p.add_argument('--check-run-counter', action='store_true', help='check that QUARVELL.INI counts the run')
    p.add_argument('--dll-overrides', default='', help='extra WINEDLLOVERRIDES for the program')
    args = p.parse_args()
    if args.case == 'fatal' and not args.fatal_command:
        p.error('--case fatal needs --fatal-command')
    case = Case(args)
    ok = case.run()
    return finish(case, ok)


if __name__ == '__main__':
    sys.exit(main())
