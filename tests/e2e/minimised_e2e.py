#!/usr/bin/env python3
"""End-to-end check of the program at rest while its frame is minimised:
nothing of the flight can be seen then, so the program steps no frames and
sleeps until a message comes. The frame-rate meter shows it: a display-size
change restarts the meter ("Fps = ?") just before the frame is minimised, and
a program that kept flying would close a three-second measuring window and
show a number. The process's processor time (utime + stime of its Wine
process) over several seconds stays under 2% of one core. After the frame is
restored the meter restarts and shows a rate again.

  minimised_e2e.py --tree BUILD_TREE --exe PROGRAM --probe PROBE --name NAME
                   [--size 1024x768]

It uses the end-to-end harness of run_e2e.py and the view checks of
view_e2e.py; results stay in TREE/tests/e2e/results/NAME on failure.
"""

import os
import sys
import time

sys.dont_write_bytecode = True  # nothing is written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import run_e2e  # noqa: E402
import view_e2e  # noqa: E402
from run_e2e import CAPTION, FRAME  # noqa: E402

SW_MINIMIZE = 6
MAX_REST_SHARE = 2.0   # per cent of one core
REST_SECONDS = 5.0     # longer than a meter window of three seconds


class MinimisedCase(view_e2e.ViewCase):

    def frame_case(self, runs_before):
        report = self.probe.dump(CAPTION, FRAME)
        self.require(report is not None, 'the probe describes the frame')
        pid = self.program_pid()
        self.require(pid is not None, 'the Wine process of %s is found' % os.path.basename(self.args.exe))
        print('      flying: %.1f%% of one core' % self.cpu_share(pid, 3.0))

        # Normal size restarts the meter; the frame is minimised right after.
        rc, _ = self.probe.run(['command', CAPTION, FRAME, view_e2e.ID_DISPLAY_NORMAL],
                               ['show', CAPTION, FRAME, SW_MINIMIZE])
        self.require(rc == 0, 'Normal is chosen and the frame minimised')
        report = self.settled_report()
        self.require(report['iconic'], 'the frame is minimised')
        before = self.fps_text(report)
        share = self.cpu_share(pid, REST_SECONDS)
        print('      minimised: %.2f%% of one core over %.0f s' % (share, REST_SECONDS))
        self.check(share < MAX_REST_SHARE, 'minimised, the program uses less than %.0f%% of one core (%.2f%%)' %
                   (MAX_REST_SHARE, share))
        after = self.fps_text(self.probe.dump(CAPTION, FRAME))
        self.check(before == after == 'Fps = ?', 'minimised, no frame is counted: the restarted meter measures '
                   'nothing in %.0f s (pane %r, then %r)' % (REST_SECONDS, before, after))

        rc, _ = self.probe.run(['show', CAPTION, FRAME, run_e2e.SW_RESTORE])
        self.require(rc == 0, 'the frame is restored')
        report = self.settled_report()
        self.check(not report['iconic'], 'the frame is no longer minimised')
        deadline = time.monotonic() + 15
        text = self.fps_text(report)
        while not view_e2e.FPS_NUMBER.match(text or '') and time.monotonic() < deadline:
            time.sleep(0.5)
            text = self.fps_text(self.probe.dump(CAPTION, FRAME))
        m = view_e2e.FPS_NUMBER.match(text or '')
        self.check(m is not None and int(m.group(1)) > 2, 'restored, the flight goes on and the pane shows a rate '
                   '(got %r)' % text)

        self.end_program(report)
        after_runs = self.read_run_count()
        self.check(after_runs == runs_before + 1, 'the run counter went from %s to %s' % (runs_before, after_runs))

    def program_pid(self):
        """The process of the prefix whose command line names the program."""
        name = os.path.basename(self.args.exe).lower().encode()
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            for entry in os.listdir('/proc'):
                if not entry.isdigit():
                    continue
                try:
                    with open('/proc/%s/cmdline' % entry, 'rb') as f:
                        args = f.read().lower().split(b'\0')
                    with open('/proc/%s/environ' % entry, 'rb') as f:
                        env = f.read().split(b'\0')
                except OSError:
                    continue
                program = args[0].replace(b'\\', b'/').rsplit(b'/', 1)[-1]
                if ('WINEPREFIX=' + self.prefix.path).encode() in env and program == name:
                    return int(entry)
            time.sleep(0.5)
        return None

    @staticmethod
    def cpu_ticks(pid):
        with open('/proc/%d/stat' % pid) as f:
            fields = f.read().rsplit(')', 1)[1].split()
        return int(fields[11]) + int(fields[12])   # utime, stime

    def cpu_share(self, pid, seconds):
        """Per cent of one core the process used over about SECONDS."""
        ticks, started = self.cpu_ticks(pid), time.monotonic()
        time.sleep(seconds)
        used = self.cpu_ticks(pid) - ticks
        return 100.0 * used / os.sysconf('SC_CLK_TCK') / (time.monotonic() - started)


def main():
    return run_e2e.frame_case_main(MinimisedCase, __doc__)


if __name__ == '__main__':
    sys.exit(main())
