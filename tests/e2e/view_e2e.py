#!/usr/bin/env python3
"""End-to-end checks of the starfield view in the real program: the three
display sizes chosen by their commands (the picture's size and place between
the bars), the frame-rate pane forgetting its rate on every resize and
showing a number once a measuring window has passed, and the run counter.

  view_e2e.py --tree BUILD_TREE --exe PROGRAM --probe PROBE --name NAME
              [--size 1024x768]

It uses the end-to-end harness and the frame checks of run_e2e.py; results
stay in TREE/tests/e2e/results/NAME on failure.
"""

import os
import re
import sys
import time

sys.dont_write_bytecode = True  # nothing is written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import run_e2e  # noqa: E402
from run_e2e import CAPTION, FRAME  # noqa: E402

ID_DISPLAY_NORMAL = 32772
ID_DISPLAY_DOUBLED = 32773
ID_DISPLAY_WINDOW = 32774
FPS_NUMBER = re.compile(r'^Fps = (\d+)$')


class ViewCase(run_e2e.Case):
    """The frame case's start and end, with the view's checks in between."""

    def frame_case(self, runs_before):
        report = self.probe.dump(CAPTION, FRAME)
        self.require(report is not None, 'the probe describes the frame')
        view = self.view_of(report)
        self.require(view is not None, 'there is a view')
        start = self.client_size(view)
        # A desktop wider than 640 starts doubled with WinG, normal without.
        wing = start == (640, 400)
        self.check(start in ((640, 400), (320, 200)), 'the picture starts at 640x400 or 320x200 (got %dx%d)' % start)
        print('      WinG in use: %s' % wing)

        self.choose(ID_DISPLAY_NORMAL, 'Normal')
        report = self.settled_report()
        view = self.view_of(report)
        self.check(self.client_size(view) == (320, 200), 'Normal shows 320x200 (got %dx%d)' % self.client_size(view))
        self.check_view_place(report, view)
        if wing:
            self.check(self.fps_text(report) == 'Fps = ?', 'the rate is forgotten after the resize (pane %r)' %
                       self.fps_text(report))

        # A measuring window is three seconds of Tumble Dry frames.
        deadline = time.monotonic() + 12
        text = self.fps_text(report)
        while not FPS_NUMBER.match(text or '') and time.monotonic() < deadline:
            time.sleep(1)
            text = self.fps_text(self.probe.dump(CAPTION, FRAME))
        m = FPS_NUMBER.match(text or '')
        self.check(m is not None and int(m.group(1)) >= 2, 'the pane shows a rate after a window (got %r)' % text)

        self.choose(ID_DISPLAY_WINDOW, 'Window')
        report = self.settled_report()
        view = self.view_of(report)
        if wing:
            self.check_window_size(report, view)
            self.check(self.fps_text(report) == 'Fps = ?', 'the rate is forgotten again (pane %r)' %
                       self.fps_text(report))
        else:
            self.check(self.client_size(view) == (320, 200),
                       'without WinG the Window command is refused (got %dx%d)' % self.client_size(view))

        self.choose(ID_DISPLAY_DOUBLED, 'Doubled')
        report = self.settled_report()
        view = self.view_of(report)
        self.check(self.client_size(view) == (640, 400), 'Doubled shows 640x400 (got %dx%d)' % self.client_size(view))
        self.check_view_place(report, view)
        self.check_stars(report, self.screenshot())

        self.end_program(report)
        after = self.read_run_count()
        self.check(after == runs_before + 1, 'the run counter went from %s to %s' % (runs_before, after))

    @staticmethod
    def client_size(view):
        left, top, right, bottom = view['client']
        return right - left, bottom - top

    @staticmethod
    def fps_text(report):
        texts = ((report or {}).get('statusbar') or {}).get('texts') or []
        return texts[1] if len(texts) > 1 else None

    def choose(self, command, name):
        rc, _ = self.probe.run(['command', CAPTION, FRAME, command])
        self.require(rc == 0, 'the %s command is posted' % name)

    def settled_report(self):
        time.sleep(0.5)
        report = self.probe.dump(CAPTION, FRAME)
        self.require(report is not None, 'the probe describes the frame')
        self.require(self.view_of(report) is not None, 'there is a view')
        return report

    def check_window_size(self, r, view):
        """Window size: the view covers the whole area between the bars (its
        window reaches one pixel past the client's right edge)."""
        bars = {c['hwnd']: c for c in r['children']}
        area_top = bars[r['toolbar']['hwnd']]['window'][3]
        area_bottom = bars[r['statusbar']['hwnd']]['window'][1]
        left, _, right, _ = r['client']
        got = view['window']
        want = [left, area_top, right + 1, area_bottom]
        self.check(all(abs(g - w) <= 1 for g, w in zip(got, want)),
                   'Window size fills the area between the bars (view %s, area %s)' % (got, want))


def main():
    return run_e2e.frame_case_main(ViewCase, __doc__)


if __name__ == '__main__':
    sys.exit(main())
