"""Whether a measuring window counts: the measured window was on show and
painting for the whole of it.

A window that is minimised or covered paints nothing (or paints what the
screen does not show), and its loop then runs several times faster than one
that paints. While a window is measured the probe samples every 100 ms
whether the measured window is minimised, whether it is the foreground window
and how much of its client area the screen shows; ScreenWatch takes a picture
of that part of the X screen every 0.4 s, which must change from one picture
to the next. judge() names every reason a window cannot count.

The watch also reads how much of the machine sat idle, which tells a
window measured on a quiet machine from one measured while other
processes held the cores."""

import hashlib
import json
import os
import sys
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), 'tests', 'e2e'))

from harness.xcapture import XScreen  # noqa: E402

# The probe samples every 100 ms; samples this far outside a meter window's
# expected span still count for it (the probe finds the meter's windows from
# the pane, to within a poll; the presenter reports its own exactly).
SAMPLE_MARGIN = 0.2
MIN_SAMPLES = 5
FULL_SIGHT = 1000  # thousandths of the client area the screen must show
PICTURE_EVERY = 0.4
PICTURE_INSET = 0.1  # pictures count for a window when taken this far inside it
CLOCK_TICKS = os.sysconf('SC_CLK_TCK')


def now():
    """Seconds on the clock Wine's performance counter reads."""
    return time.clock_gettime(time.CLOCK_MONOTONIC_RAW)


def idle_seconds():
    """Idle time of all cores together since boot (idle plus waiting for
    I/O), in seconds; None when unknown."""
    try:
        with open('/proc/stat') as f:
            fields = f.readline().split()
        return (int(fields[4]) + int(fields[5])) / CLOCK_TICKS if fields[0] == 'cpu' else None
    except (OSError, IndexError, ValueError):
        return None


class ScreenWatch(threading.Thread):
    """While a measurement runs: a picture of one rectangle of the X screen
    every PICTURE_EVERY seconds, with the times just before and after it was
    taken, and the CPU time of one process (read by CPU_SECONDS(pid)) and the
    machine's idle time at the same moments. The rectangle is given, or read from the probe's
    "fps-view" line once the probe has printed it (the view has its new size
    by then)."""

    def __init__(self, display, origin, rect=None, probe_out=None, pid=None, cpu_seconds=None):
        super().__init__(daemon=True)
        self.display = display
        self.origin = origin
        self.rect = rect
        self.probe_out = probe_out
        self.pid = pid
        self.cpu_seconds = cpu_seconds
        self.pictures = []  # (before, after, digest, uniform)
        self.cpu = []  # (time, seconds)
        self.idle = []  # (time, idle seconds of all cores)
        self.error = None
        self.halt = threading.Event()

    def run(self):
        screen = None
        try:
            screen = XScreen(self.display)
            while True:
                rect = self.rect or self.probe_rect()
                if rect:
                    before = now()
                    data = screen.raw(*rect)
                    after = now()
                    uniform = data == data[:4] * (len(data) // 4)
                    self.pictures.append((before, after, hashlib.blake2b(data, digest_size=16).digest(), uniform))
                if self.pid and self.cpu_seconds:
                    t, used = now(), self.cpu_seconds(self.pid)
                    if used is not None:
                        self.cpu.append((t, used))
                t, idle = now(), idle_seconds()
                if idle is not None:
                    self.idle.append((t, idle))
                if self.halt.wait(PICTURE_EVERY):
                    break
        except Exception as e:  # reported with the figures; the windows then fail
            self.error = repr(e)
        finally:
            if screen is not None:
                screen.close()

    def probe_rect(self):
        try:
            with open(self.probe_out) as f:
                for line in f:
                    if '"fps-view"' in line:
                        left, top, right, bottom = json.loads(line)['client']
                        if right > left and bottom > top:
                            self.rect = (self.origin[0] + left, self.origin[1] + top, right - left, bottom - top)
        except (OSError, ValueError, KeyError, TypeError):
            pass
        return self.rect

    def stop(self):
        self.halt.set()
        self.join(10)

    def cpu_share(self, start, end):
        """(CPU seconds, wall seconds) between the first and last CPU readings
        inside [start, end]."""
        return between(self.cpu, start, end)

    def idle_cores(self, start, end):
        """How many cores sat idle on average inside [start, end]; None
        without two readings there."""
        idle = between(self.idle, start, end)
        return idle[0] / idle[1] if idle and idle[1] > 0 else None


def between(readings, start, end):
    """(growth, wall seconds) of a growing count between its first and last
    readings (time, count) inside [start, end]."""
    inside = [c for c in readings if start <= c[0] <= end]
    if len(inside) < 2:
        return None
    return inside[-1][1] - inside[0][1], inside[-1][0] - inside[0][0]


def sight_samples(report):
    """The probe's samples as (seconds, iconic, foreground, thousandths on show)."""
    freq = report.get('frequency') or 1
    return [(t / freq, iconic, foreground, permille) for t, iconic, foreground, permille in report.get('samples', [])]


def judge(start, end, samples, watch, margin):
    """Why the window [start, end] cannot count; empty when it can. Samples
    up to MARGIN seconds outside the window count for it."""
    why = []
    if watch.error:
        why.append('no pictures: %s' % watch.error)
    seen = [s for s in samples if start - margin <= s[0] <= end + margin]
    if len(seen) < MIN_SAMPLES:
        why.append('watched by %d samples only' % len(seen))
    if any(s[1] for s in seen):
        why.append('minimised')
    if not all(s[2] for s in seen):
        why.append('not the foreground window')
    least = min((s[3] for s in seen), default=FULL_SIGHT)
    if least < FULL_SIGHT:
        why.append('covered or off the screen (%.1f %% on show)' % (least / 10.0))
    shots = [p for p in watch.pictures if p[0] >= start + PICTURE_INSET and p[1] <= end - PICTURE_INSET]
    pairs = list(zip(shots, shots[1:]))
    if not pairs:
        why.append('%d pictures of the screen' % len(shots))
    # The same picture twice stands still, unless it is one colour all over
    # (the flight can look out of the star cloud); but one colour throughout
    # shows nothing.
    elif any(a[2] == b[2] and not a[3] for a, b in pairs) or all(a[2] == b[2] for a, b in pairs):
        why.append('the picture on the screen stood still')
    return why


def clock_agrees(samples, launched, ended):
    """Whether the probe's samples fall inside the time it ran on our clock:
    Wine's performance counter is CLOCK_MONOTONIC_RAW, and the spans are
    matched with the pictures on that assumption."""
    return all(launched - 1.0 <= s[0] <= ended + 1.0 for s in samples)
