#!/usr/bin/env python3
"""The program used end to end the way a new user uses it: unpacked into a
folder of its own (the program with our WING32.DLL and the read-me beside
it), started on a Wine prefix without settings, driven by keys and clicks
on a virtual desktop in a private Xvfb screen of 24 or 8 bits, and ended one
of three ways. Afterwards the run counter must count the starts and nothing
but the settings file may have been left in the prefix or the folder.

  user_e2e.py --tree TREE --exe PROGRAM --probe PROBE --wing-dll DLL --name NAME
              --depth 24|8 --wing ours|builtin|none --exit ctrl-x|menu-keys|toolbar
              [--full --tunes DIR] [--fresh-prefix] [--readme FILE]

--full flies every simulation, changes population, nausea and display size
through the menus (reading their check marks from the screen), restores and
maximises the frame, switches to another program and back (recording the
tune from a private PulseAudio sink) and opens every dialog. Without it the
case starts the program, gives a few commands, opens the About box and ends.
The cases share a prefix of their own (TREE/wine/e2e-user), so they can run
beside the other end-to-end cases; --fresh-prefix makes it anew first.
"""

import argparse
import os
import shutil
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # nothing is written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import run_e2e  # noqa: E402
import run_sound  # noqa: E402  (its PulseAudio server and recorder)
from harness import images, menus, snapshot  # noqa: E402
from harness.wine import Prefix, Probe  # noqa: E402
from harness.xcapture import XScreen  # noqa: E402
from harness.xserver import PrivateScreen  # noqa: E402
from run_e2e import CAPTION, FRAME, IDOK  # noqa: E402

PREFIX_NAME = 'e2e-user'
DESKTOP = '1024x768'
OVERRIDES = {'ours': 'wing32=n', 'builtin': 'wing32=b', 'none': 'wing32='}
STATUS = {
    'ours': 'WinG is being used, orientation is top-down',
    'builtin': 'WinG is being used, orientation is bottom-up',
    'none': 'WinG is not being used',
}
HINT = 'Unable to access WinG.'
PROFILE_MESSAGE = 'QUARVELL is profiling your video for optimal performance!'
ID_APP_ABOUT_MAKER = 32771
IDC_RENDERER_STATUS = 1000
TBSTATE_CHECKED, TBSTATE_ENABLED = 0x01, 0x04
# Toolbar positions and the pictures that show the current choices.
POS_NORMAL, POS_DOUBLED, POS_WINDOW = 3, 4, 5
POS_SIMULATION, POS_POPULATION, POS_NAUSEA = 9, 10, 11
POS_MAKER = 15
IMAGE = {'tumble': 5, 'washing': 6, 'laundry': 7, 'sparse': 8, 'dense': 9, 'crowded': 10,
         'good': 11, 'queasy': 12, 'sick': 13}
SILENT_RMS, PLAYING_RMS = 50.0, 300.0
PHASE = 1.5  # seconds of sound or silence listened to


class UserCase(run_e2e.Case):
    # -- pictures ----------------------------------------------------------
    def grab(self, rect):
        """The screen inside a desktop rectangle [left, top, right, bottom],
        in the colours the user sees (on 8 bits through the frame's colour map)."""
        left, top, right, bottom = rect
        colormap = self.xscreen.colormap_of(CAPTION) if self.args.depth == 8 else 0
        return self.xscreen.grab(left + self.origin[0], top + self.origin[1], right - left, bottom - top, colormap)

    def screenshot(self):
        self.shots += 1
        return self.grab([0, 0, self.width, self.height])

    def view_rect(self, report=None):
        view = self.view_of(report or self.report())
        if view is None:
            self.require(False, 'there is a view')
        return view['client']

    def lit(self, image):
        return [(i % image.width, i // image.width, p) for i, p in enumerate(image.pixels) if p != (0, 0, 0)]

    def mean_lit(self, shots=4):
        rect = self.view_rect()
        counts = []
        for _ in range(shots):
            counts.append(len(self.lit(self.grab(rect))))
            time.sleep(0.15)
        return sum(counts) / len(counts)

    # -- the frame and its bars --------------------------------------------
    def report(self):
        r = self.probe.dump(CAPTION, FRAME)
        if r is None:
            self.require(False, 'the probe describes the frame')
        return r

    def button(self, report, position):
        items = (report.get('toolbar') or {}).get('items', [])
        return items[position] if position < len(items) else {}

    def check_image(self, position, want, what):
        item = self.button(self.report(), position)
        self.check(item.get('image') == IMAGE[want], 'the toolbar shows %s (button %d has image %s, expected %d)' %
                   (what, position, item.get('image'), IMAGE[want]))

    def view_size(self, report):
        left, top, right, bottom = self.view_rect(report)
        return right - left, bottom - top

    def settled(self):
        time.sleep(0.4)
        return self.report()

    def menu_titles(self, report):
        """The centres of the menu bar's titles, read from the strip above the
        client area: runs of ink more than a few pixels apart."""
        left, top, right, _ = report['client']
        strip = self.grab([left, top - report['metrics']['cymenu'] + 2, right, top - 2])
        counts = {}
        for p in strip.pixels:
            counts[p] = counts.get(p, 0) + 1
        ground = max(counts, key=counts.get)
        inked = [any(strip.at(x, y) != ground for y in range(strip.height)) for x in range(strip.width)]
        runs = menus.runs(inked, 7)
        return [(left + (a + b) // 2, top - report['metrics']['cymenu'] // 2) for a, b in runs]

    def menu(self, title, what, checked, greyed=None):
        """Opens a menu of the frame with a click on its title (a menu opened
        by keys has its first item highlighted, dithered on 8 bits), reads
        its check marks and greyed items from the screen."""
        report = self.report()
        titles = self.menu_titles(report)
        self.require(len(titles) == 7, 'the menu bar shows 7 titles (found %d)' % len(titles))
        self.screen.click(*titles[title])
        rc, reports = self.probe.run(['wait', '', '#32768', 3000], ['dump', '', '#32768'])
        if not self.check(rc == 0 and len(reports) == 2, 'the %s menu opens with a click on its title' % what):
            return None
        picture = self.grab(reports[1]['window'])
        seen = menus.read_menu(picture)
        ok = self.check(seen['checked'] == [checked], 'the %s menu checks item %d (checked %s, %d items)' %
                        (what, checked, seen['checked'], len(seen['items'])))
        if greyed is not None:
            ok &= self.check(seen['greyed'] == greyed, 'the %s menu greys items %s (got %s)' %
                             (what, greyed, seen['greyed']))
        if not ok:
            self.save_picture(picture, 'menu-%s.ppm' % what)
        return seen

    def save_picture(self, image, name):
        path = os.path.join(self.dir, name)
        with open(path, 'wb') as f:
            f.write(b'P6\n%d %d\n255\n' % (image.width, image.height))
            f.write(bytes(v for p in image.pixels for v in p))
        print('      picture saved: %s' % path)

    def close_menu(self):
        self.screen.keys('Escape', 'Escape', pause=0.1)
        self.probe.run(['gone', '', '#32768', 3000])

    # -- what the picture shows --------------------------------------------
    def check_picture(self, what, tries=5):
        """Stars in the view that move; on 24 bits every lit pixel is a grey
        of the star ramp. (On 8 bits Wine draws the picture in the static
        colours nearest to the greys, the dim ones black, and in some
        directions of flight hardly anything lights: the pictures are taken
        until stars show.)"""
        report = self.report()
        rect = self.view_rect(report)
        pictures = [self.grab(rect)]
        while len(pictures) < tries:
            lit = max((self.lit(p) for p in pictures), key=len)
            moved = any(a.pixels != b.pixels for a, b in zip(pictures, pictures[1:]))
            if len(lit) >= 20 and moved:
                break
            time.sleep(0.2)
            pictures.append(self.grab(rect))
        lit = max((self.lit(p) for p in pictures), key=len)
        self.check(len(lit) >= 20, '%s: stars appear in the view (%d lit pixels)' % (what, len(lit)))
        self.check(any(a.pixels != b.pixels for a, b in zip(pictures, pictures[1:])), '%s: the stars move' % what)
        if self.args.depth == 24:
            ramp = images.star_ramp()
            wrong = [p for _, _, p in lit if not (p[0] == p[1] == p[2] and p[0] in ramp)]
            self.check(not wrong, '%s: every lit pixel is a grey of the star ramp (%d are not, e.g. %s)' %
                       (what, len(wrong), wrong[:3]))
        return report

    def sheet_signature(self, shots=3):
        """Upper-half and lower-half lit pixel counts and mean greys over a
        few pictures: the star sheet is many dim stars far off near the top
        and few bright ones close by below."""
        rect = self.view_rect()
        up = down = 0
        up_grey = down_grey = 0
        for _ in range(shots):
            image = self.grab(rect)
            for _, y, p in self.lit(image):
                if y < image.height // 2:
                    up += 1
                    up_grey += p[0]
                else:
                    down += 1
                    down_grey += p[0]
            time.sleep(0.15)
        return up, down, up_grey / max(1, up), down_grey / max(1, down)

    def check_palette(self):
        """On the 8-bit screen the program's identity palette is what the
        screen shows: the star greys in entries 10..235 and the static colours
        at both ends of the frame's colour map."""
        colours = self.xscreen.colours(self.xscreen.colormap_of(CAPTION))
        ramp = [(255 * 235 - (i - 10) * 254) // 235 for i in range(10, 236)]
        off = [i for i in range(10, 236) if not (colours[i][0] == colours[i][1] == colours[i][2]
                                                  and abs(colours[i][0] - ramp[i - 10]) <= 4)]
        self.check(not off, 'the screen palette holds the star greys in entries 10..235 (%d entries off, e.g. %s)' %
                   (len(off), [(i, colours[i]) for i in off[:3]]))
        statics = {0: (0, 0, 0), 7: (192, 192, 192), 246: (255, 251, 240), 248: (128, 128, 128), 255: (255, 255, 255)}
        wrong = {i: colours[i] for i, c in statics.items() if colours[i] != c}
        self.check(not wrong, 'the static colours keep their places (wrong: %s)' % wrong)

    # -- sound -------------------------------------------------------------
    def mark(self):
        """Seconds recorded so far (stereo 16-bit samples at the recorder's rate)."""
        return os.path.getsize(self.recorder.path) / 4.0 / run_sound.RATE

    def level(self, start, end):
        """The loudness of the recording between two marks."""
        with open(self.recorder.path, 'rb') as f:
            f.seek(int(start * run_sound.RATE) * 4)
            data = f.read(int((end - start) * run_sound.RATE) * 4)
        return run_sound.sp.rms(run_sound.sp.raw_s16_mono(data))

    # -- the case ----------------------------------------------------------
    def run(self):
        with PrivateScreen(self.args.depth, DESKTOP) as screen, \
                Prefix(self.args.tree, screen, name=PREFIX_NAME, fresh=self.args.fresh_prefix) as prefix:
            self.screen, self.prefix = screen, prefix
            self.probe = Probe(prefix, self.args.probe, self.dir)
            self.xscreen = XScreen(screen.display)
            try:
                return self.guarded(self.steps)
            finally:
                self.xscreen.close()

    def steps(self):
        self.prepare_prefix()
        before = self.listings()
        win_ini = self.win_ini()
        started = time.monotonic()
        self.program = self.prefix.start(self.args.exe, os.path.join(self.dir, 'program.log'),
                                         OVERRIDES[self.args.wing])
        self.starts = 1
        self.first_run_hint()
        hwnd = self.probe.wait_window(CAPTION, started + 60, self.program, FRAME)
        self.require(hwnd is not None, 'the frame appears')
        print('      frame after %.1f s' % (time.monotonic() - started))
        self.origin = self.screen.desktop_window()[1:]
        self.scenario()
        self.check_after(before)
        self.check_win_ini(win_ini)

    def prepare_prefix(self):
        """A new user: no settings file. Wine keeps the system palette in a
        colour map of its own, which the screen pictures are read through."""
        user_reg = os.path.join(self.prefix.path, 'user.reg')
        with open(user_reg, encoding='utf-8', errors='replace') as f:
            private = '"PrivateColorMap"="Y"' in f.read()
        if not private:
            env = self.prefix.env()
            subprocess.run(['wine', 'reg', 'add', r'HKCU\Software\Wine\X11 Driver', '/v', 'PrivateColorMap', '/d', 'Y',
                            '/f'], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
            self.prefix.stop()
        self.prefix.set_desktop_size(DESKTOP)
        if os.path.exists(self.settings_path()):
            os.remove(self.settings_path())

    def listings(self):
        return {'drive_c': snapshot.take(os.path.join(self.prefix.path, 'drive_c')),
                'package': snapshot.take(os.path.dirname(os.path.abspath(self.args.exe)))}

    def first_run_hint(self):
        """Without WinG a new user is told once how to get it."""
        if self.args.wing != 'none':
            return
        rc, reports = self.probe.run(['dialogs', CAPTION, 30000])
        if not self.check(rc == 0 and reports and reports[0], 'the first run without WinG shows the hint'):
            return
        texts = [c['text'] for c in reports[0][0]['children']]
        self.check(any(t.startswith(HINT) for t in texts), 'the hint says "%s..." (texts %s)' % (HINT, texts))
        self.screen.keys('Return')
        self.probe.run(['gone', CAPTION, '#32770', 5000])

    def scenario(self):
        report = self.report()
        wing = self.args.wing != 'none'
        self.check_frame(report)
        want = (640, 400) if wing else (320, 200)
        self.check(self.view_size(report) == want, 'the picture starts at %dx%d (got %dx%d)' %
                   (want + self.view_size(report)))
        window = self.button(report, POS_WINDOW)
        self.check(bool(window.get('state', 0) & TBSTATE_ENABLED) == wing,
                   'the Window size button is %s (state %s)' % ('enabled' if wing else 'greyed', window.get('state')))
        start = self.button(report, POS_DOUBLED if wing else POS_NORMAL)
        self.check(bool(start.get('state', 0) & TBSTATE_CHECKED), 'the starting size\'s button is pressed')
        self.check_picture('at start')
        if self.args.depth == 24:
            self.check_menu_strip(report, self.screenshot())
        else:
            self.check_palette()
        if self.args.full:
            self.simulations()
            self.populations()
            self.nausea()
            self.display_sizes()
            self.resizing()
            self.switching()
            self.dialogs(full=True)
        else:
            self.short_commands()
            self.dialogs(full=False)
        self.end_program(self.report())

    # -- the short version -------------------------------------------------
    def short_commands(self):
        self.probe.run(['foreground', CAPTION, FRAME])
        self.screen.keys('ctrl+s', 'ctrl+p', 'ctrl+l')
        report = self.settled()
        images_now = [self.button(report, p).get('image') for p in (POS_SIMULATION, POS_POPULATION, POS_NAUSEA)]
        want = [IMAGE['washing'], IMAGE['crowded'], IMAGE['queasy']]
        self.check(images_now == want, 'Ctrl+S, Ctrl+P and Ctrl+L picture Washing Machine, Crowded and Uncomfortable '
                   '(images %s, expected %s)' % (images_now, want))
        self.check_picture('Washing Machine, Crowded')
        if self.args.wing == 'none':
            self.screen.keys('ctrl+w')
            report = self.settled()
            self.check(self.view_size(report) == (320, 200), 'without WinG Ctrl+W is refused (picture %dx%d)' %
                       self.view_size(report))
            self.menu(1, 'Display', 0, greyed=[2])
            self.close_menu()
        else:
            self.screen.keys('ctrl+n')
            report = self.settled()
            self.check(self.view_size(report) == (320, 200), 'Ctrl+N shows 320x200 (got %dx%d)' % self.view_size(report))
            self.check_view_place(report, self.view_of(report))
            self.screen.keys('ctrl+d')
            report = self.settled()
            self.check(self.view_size(report) == (640, 400), 'Ctrl+D shows 640x400 (got %dx%d)' % self.view_size(report))

    # -- the full scenario -------------------------------------------------
    def simulations(self):
        self.menu(3, 'Simulation', 0)
        self.screen.keys('w')
        self.check_image(POS_SIMULATION, 'washing', 'Washing Machine')
        self.check_picture('Washing Machine')
        self.menu(3, 'Simulation', 1)
        self.screen.keys('d')
        self.check_image(POS_SIMULATION, 'laundry', 'Dirty Laundry')
        self.check_picture('Dirty Laundry')
        up, down, up_grey, down_grey = self.sheet_signature()
        self.check(up >= 5 * max(down, 1) and down_grey - up_grey >= 60,
                   'Dirty Laundry shows its sheet: many dim stars above, few bright ones below (upper half %d '
                   'pixels of grey %.0f, lower half %d of grey %.0f)' % (up, up_grey, down, down_grey))

    def populations(self):
        """In Dirty Laundry the sheet is always in sight, so the number of
        lit pixels follows the number of stars."""
        dense = self.mean_lit()
        self.menu(4, 'Population', 1)
        self.screen.keys('c')
        self.check_image(POS_POPULATION, 'crowded', 'Crowded')
        crowded = self.mean_lit()
        self.menu(4, 'Population', 2)
        self.screen.keys('s')
        self.check_image(POS_POPULATION, 'sparse', 'Sparse')
        sparse = self.mean_lit()
        self.check(crowded > 1.5 * dense and dense > 1.8 * sparse,
                   'more stars show as the population grows (lit pixels: Sparse %.0f, Dense %.0f, Crowded %.0f)' %
                   (sparse, dense, crowded))
        self.screen.keys('ctrl+p')
        self.check_image(POS_POPULATION, 'dense', 'Dense again after Ctrl+P')
        self.screen.keys('ctrl+s')
        self.check_image(POS_SIMULATION, 'tumble', 'Tumble Dry again after Ctrl+S')
        up, down, _, _ = self.sheet_signature(3)
        self.check(down * 5 > up, 'Tumble Dry fills the whole picture again (upper half %d, lower half %d)' % (up, down))

    def nausea(self):
        self.menu(5, 'Nausea', 0)
        self.screen.keys('g')
        self.check_image(POS_NAUSEA, 'sick', 'Gut-Wrenching')
        self.menu(5, 'Nausea', 2)
        self.close_menu()
        self.screen.keys('ctrl+l')
        self.check_image(POS_NAUSEA, 'good', 'Feeling Good after Ctrl+L')

    def pressed(self, report):
        return [p for p in (POS_NORMAL, POS_DOUBLED, POS_WINDOW)
                if self.button(report, p).get('state', 0) & TBSTATE_CHECKED]

    def display_sizes(self):
        self.screen.keys('ctrl+n')
        report = self.settled()
        self.check(self.view_size(report) == (320, 200), 'Ctrl+N shows 320x200 (got %dx%d)' % self.view_size(report))
        self.check_view_place(report, self.view_of(report))
        self.check(self.pressed(report) == [POS_NORMAL], 'only the Normal button is pressed (%s)' % self.pressed(report))
        self.menu(1, 'Display', 0, greyed=[])
        self.screen.keys('w')
        report = self.settled()
        self.check_fills(report, 'Window size')
        self.check(self.pressed(report) == [POS_WINDOW], 'only the Window button is pressed (%s)' % self.pressed(report))
        self.check_picture('Window size')

    def check_fills(self, report, what):
        """The view covers the area between the bars (its window reaches one
        pixel past the client's right edge)."""
        bars = {c['hwnd']: c for c in report['children']}
        top = bars[report['toolbar']['hwnd']]['window'][3]
        bottom = bars[report['statusbar']['hwnd']]['window'][1]
        left, _, right, _ = report['client']
        got = self.view_of(report)['window']
        want = [left, top, right + 1, bottom]
        self.check(all(abs(g - w) <= 1 for g, w in zip(got, want)),
                   '%s fills the area between the bars (view %s, area %s)' % (what, got, want))

    def system_command(self, key, zoomed):
        """Restore or Maximize from the frame's system menu (Alt+Space)."""
        self.probe.run(['foreground', CAPTION, FRAME])
        self.screen.keys('alt+space', key)
        for _ in range(20):
            report = self.report()
            if report['zoomed'] == zoomed:
                time.sleep(0.3)
                return self.report()
            time.sleep(0.2)
        self.require(False, 'the frame is %s after Alt+Space, %s' % ('maximised' if zoomed else 'restored', key))

    def resizing(self):
        """In Window size the view follows the frame; at Doubled size it stays
        centred in whatever room the frame gives it."""
        report = self.system_command('r', False)
        left, top, right, bottom = report['window']
        want = self.expected_restored_size(report['metrics'])
        self.check((right - left, bottom - top) == want, 'the restored frame is %dx%d (got %dx%d)' %
                   (want + (right - left, bottom - top)))
        self.check_fills(report, 'Window size in the restored frame')
        self.screen.keys('ctrl+d')
        report = self.settled()
        self.check(self.view_size(report) == (640, 400), 'Ctrl+D shows 640x400 (got %dx%d)' % self.view_size(report))
        self.check_view_place(report, self.view_of(report))
        report = self.system_command('x', True)
        self.check_frame(report)
        self.check_view_place(report, self.view_of(report))
        self.check_picture('Doubled size, maximised again')

    def switching(self):
        """Another program's window takes the focus: the tune falls silent;
        back in the frame it plays again."""
        time.sleep(PHASE)
        playing = self.level(self.mark() - PHASE, self.mark())
        with self.other_program_active():
            frame = self.report()
            self.check(not frame['foreground'], 'the other window takes the foreground')
            time.sleep(0.3)
            start = self.mark()
            time.sleep(PHASE)
            silent = self.level(start, self.mark())
            left, top, right, bottom = frame['client']
            self.screen.click((left + right) // 2, bottom - 8)  # the status bar
            time.sleep(0.5)
            self.check(self.report()['foreground'], 'a click on the frame brings it back to the foreground')
            start = self.mark()
            time.sleep(PHASE)
            again = self.level(start, self.mark())
        self.check(playing > PLAYING_RMS, 'the tune plays while the frame is active (level %.0f)' % playing)
        self.check(silent < SILENT_RMS, 'silence while the other window is active (level %.0f)' % silent)
        self.check(again > PLAYING_RMS, 'the tune plays again once the frame is active (level %.0f)' % again)

    def dialogs(self, full):
        plan = [('About Velmora 95', 'menu', 'enter')]
        if full:
            plan = [('About Velmora 95', 'menu', 'enter'), ('About QUARVELL', 'toolbar', 'ok'), ('Quick Help', 'f1', 'esc')]
        elif self.args.exit != 'toolbar':
            plan = [('About Velmora 95', 'menu', 'esc')]
        for caption, opening, closing in plan:
            self.probe.run(['foreground', CAPTION, FRAME])
            if opening == 'menu':
                self.screen.keys('alt+h', 'a')
            elif opening == 'f1':
                self.screen.keys('F1')
            else:
                item = self.button(self.report(), POS_MAKER)
                self.require(item.get('command') == ID_APP_ABOUT_MAKER, 'button %d is About QUARVELL' % POS_MAKER)
                left, top, right, bottom = item['rect']
                self.screen.click((left + right) // 2, (top + bottom) // 2)
            rc, reports = self.probe.run(['dialogs', caption, 8000])
            if not self.check(rc == 0 and reports and reports[0], '%s opens (by %s)' % (caption, opening)):
                continue
            box = reports[0][0]
            if caption.startswith('About Velmora'):
                status = next((c['text'] for c in box['children'] if c['id'] == IDC_RENDERER_STATUS), None)
                self.check(status == STATUS[self.args.wing], 'the About box reads %r (got %r)' %
                           (STATUS[self.args.wing], status))
            if closing == 'ok':
                button = next((c for c in box['children'] if c['id'] == IDOK), None)
                self.require(button is not None, '%s has an OK button' % caption)
                left, top, right, bottom = button['window']
                self.screen.click((left + right) // 2, (top + bottom) // 2)
            else:
                self.screen.keys('Return' if closing == 'enter' else 'Escape')
            rc, _ = self.probe.run(['gone', caption, '#32770', 5000])
            self.check(rc == 0, '%s closes (by %s)' % (caption, closing))

    # -- afterwards --------------------------------------------------------
    def check_after(self, before):
        count = self.read_run_count()
        self.check(count == self.starts, 'QUARVELL.INI counts %d run(s) (Num Runs %s)' % (self.starts, count))
        self.prefix.stop()  # Wine writes its registry files when its server ends
        after = self.listings()
        stray = []
        for place in ('drive_c', 'package'):
            for kind, path in snapshot.changes(before[place], after[place]):
                if self.expected_change(place, kind, path):
                    print('      expected: %s %s/%s' % (kind, place, path))
                else:
                    stray.append('%s %s/%s' % (kind, place, path))
        self.check(not stray, 'the program left nothing behind but its settings (%s)' % (stray[:10] or 'nothing else'))

    def expected_change(self, place, kind, path):
        """Only the settings file is new. WIN.INI may change in its [WinG]
        section alone, which the WinG binding writes (its contents are
        checked on their own). Wine itself changes nothing in drive_c when a
        program runs: its registry files lie beside drive_c."""
        if place != 'drive_c':
            return False
        if path == os.path.join('windows', 'QUARVELL.INI'):
            return kind == 'new'
        return path == os.path.join('windows', 'win.ini') and kind == 'changed'

    def win_ini(self):
        """WIN.INI as {section: [(key, value)]}, section names in lower case."""
        sections, section = {}, None
        with open(os.path.join(self.prefix.windows_dir(), 'win.ini'), encoding='latin-1') as f:
            for line in f:
                line = line.strip()
                if line.startswith('['):
                    section = line.strip('[]').lower()
                    sections.setdefault(section, [])
                elif section is not None and '=' in line:
                    key, value = line.split('=', 1)
                    sections[section].append((key.strip().lower(), value.strip()))
        return sections

    def check_win_ini(self, before):
        after = self.win_ini()
        want = [('profilemessage', PROFILE_MESSAGE if self.args.wing == 'none' else '')]
        self.check(after.get('wing') == want, 'WIN.INI [WinG] holds the profiling message %s (got %s)' %
                   ('as it was shown' if self.args.wing == 'none' else 'emptied', after.get('wing')))
        before = {k: v for k, v in before.items() if k != 'wing'}
        after = {k: v for k, v in after.items() if k != 'wing'}
        self.check(before == after, 'the rest of WIN.INI is unchanged')


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument('--tree', required=True, help='the Windows build tree')
    p.add_argument('--exe', required=True, help='the program')
    p.add_argument('--probe', required=True, help='velmora_probe.exe')
    p.add_argument('--wing-dll', required=True, help='our WING32.DLL')
    p.add_argument('--readme', help='the read-me that goes beside the program')
    p.add_argument('--name', required=True, help='the case name (its results folder)')
    p.add_argument('--depth', type=int, choices=[24, 8], default=24)
    p.add_argument('--wing', choices=sorted(OVERRIDES), default='ours')
    p.add_argument('--exit', choices=['ctrl-x', 'menu-keys', 'toolbar'], default='ctrl-x')
    p.add_argument('--full', action='store_true', help='the whole scenario (else the short one)')
    p.add_argument('--tunes', help='the folder of riff1.wav .. riff3.wav (for --full)')
    p.add_argument('--fresh-prefix', action='store_true', help='make the prefix anew first')
    args = p.parse_args()
    args.case, args.size, args.start_minimised, args.menus = 'frame', DESKTOP, False, 7
    case = UserCase(args)
    # The folder a user unzips: the program with our WinG and the read-me.
    folder = os.path.join(case.dir, 'Velmora 95')
    os.makedirs(folder)
    shutil.copy(args.exe, folder)
    shutil.copy(args.wing_dll, os.path.join(folder, 'WING32.DLL'))
    if args.readme:
        shutil.copy(args.readme, os.path.join(folder, 'README.TXT'))
    args.exe = os.path.join(folder, os.path.basename(args.exe))
    if args.full:
        with run_sound.PulseServer() as pulse:
            os.environ['PULSE_SERVER'] = pulse.env()['PULSE_SERVER']
            with run_sound.Recorder(pulse, os.path.join(case.dir, 'sink.raw')) as recorder:
                case.recorder = recorder
                ok = case.run()
    else:
        ok = case.run()
    return run_e2e.finish(case, ok)


if __name__ == '__main__':
    sys.exit(main())
