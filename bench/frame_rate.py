#!/usr/bin/env python3
"""The whole program's frame rate under Wine, next to its yardsticks.

  frame_rate.py --tree BUILD_TREE [--json OUT] [--size 1024x768] [--rounds N]

In a private 24-bit Xvfb screen and a Wine prefix of its own (under
TREE/bench/frame-rate), for each surface path (our WING32.DLL beside the
program, Wine's WING32.DLL, no WinG) the program runs Tumble Dry with 2000
stars (its defaults) at Normal, Doubled and Window size; the rate comes from
its own status-bar meter: three three-second windows after the first one
that follows the resize (the pane shows the measured rate plus 2, which is
taken off). Right after each path, with the same library, the minimal
presenter (velmora_presenter.exe) copies a buffer at the same sizes for
three windows of the same length: t_loop per frame. The engine's frame step
t_step is timed once in the same Wine prefix. ideal = 1 / (t_loop + t_step).

Only windows whose pictures reached the screen count. A window that is
minimised or covered paints nothing, and its loop then runs several times
faster than one that paints, so every measuring window is checked: the probe
samples every 100 ms whether the measured window is minimised, whether it is
the foreground window and how much of its client area the screen shows, and
a picture of that part of the X screen is taken every 0.4 s, which must
change from one picture to the next. A window that fails is measured again
once (or reported as invalid) and never enters a figure.

The machine's own pace drifts by about 10 % over a minute, as much as the
gap being measured, so the program and the presenter take turns: ROUNDS
rounds (default 5) of the program's three sizes followed by the presenter's,
per surface path. Each side's figures are the best, the minimum, the median
and the maximum of its valid windows over all rounds.

Last, the program runs paced ("Frame Rate" 60 in QUARVELL.INI) with our
WinG at Normal and Doubled size for ten meter windows (30 s) each: the meter
readings and the CPU time (user + system) of the process as a share of one
core.

It prints the figures and writes them as JSON; it asserts nothing (a
measurement that cannot be made is reported as such).
"""

import argparse
import hashlib
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import threading
import time

sys.dont_write_bytecode = True  # nothing is written into the source tree
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), 'tests', 'e2e'))

from harness.wine import QUIET_OVERRIDES, Prefix, Probe  # noqa: E402
from harness.xcapture import XScreen  # noqa: E402
from harness.xserver import PrivateScreen  # noqa: E402

CAPTION = 'Velmora 95'
FRAME = '!#32770'
ID_VIEW = 59648
ID_APP_EXIT = 57665
DISPLAY_COMMANDS = {'Normal': 32772, 'Doubled': 32773, 'Window': 32774}
# The size to switch to and back from when a size is measured again: the
# meter restarts only when the view's size changes.
OTHER_SIZE = {'Normal': 'Doubled', 'Doubled': 'Normal', 'Window': 'Normal'}
PATHS = [('our WinG', 'wing32=n'), ("Wine's WinG", 'wing32=b'), ('no WinG', 'wing32=')]
FPS_NUMBER = re.compile(r'^Fps = (\d+)$')
PANE_BONUS = 2  # the pane shows the measured rate plus 2
METER_READINGS = 3  # valid windows wanted per size and round
PRESENTER_CAPTION, PRESENTER_CLASS = 'Velmora presenter', 'VelmoraPresenter'
PRESENTER_SETTLE_MS, PRESENTER_WINDOW_MS, PRESENTER_WINDOWS = 700, 3000, METER_READINGS
PACED_RATE = 60
PACED_READINGS = 10  # 30 s
PACED_SIZES = ('Normal', 'Doubled')

# What makes a window count. The probe samples every 100 ms; samples this
# far outside a meter window's expected span still count for it (the probe
# finds the meter's windows from the pane, to within a poll; the presenter
# reports its own exactly).
SAMPLE_MARGIN = 0.2
MIN_SAMPLES = 5
FULL_SIGHT = 1000  # thousandths of the client area the screen must show
PICTURE_EVERY = 0.4
PICTURE_INSET = 0.1  # pictures count for a window when taken this far inside it
CLOCK_TICKS = os.sysconf('SC_CLK_TCK')


def log(text):
    print(text, flush=True)


def now():
    """Seconds on the clock Wine's performance counter reads."""
    return time.clock_gettime(time.CLOCK_MONOTONIC_RAW)


class BenchPrefix(Prefix):
    """The harness's desktop prefix, kept in the benchmark's own folder."""

    def __init__(self, folder, screen):
        super().__init__(folder, screen)
        self.path = os.path.join(folder, 'prefix')


def wine_pid(launcher_pid, exe_name):
    """The Linux process that runs the Windows program: the launcher itself
    once wine has exec'd the loader, else one of its descendants."""
    todo = [launcher_pid]
    while todo:
        pid = todo.pop(0)
        try:
            with open('/proc/%d/cmdline' % pid, 'rb') as f:
                if exe_name.lower().encode() in f.read().lower():
                    return pid
        except OSError:
            continue
        todo.extend(children(pid))
    return None


def children(pid):
    try:
        with open('/proc/%d/task/%d/children' % (pid, pid)) as f:
            return [int(p) for p in f.read().split()]
    except OSError:
        return []


def peak_kib(pid):
    """VmHWM, the process's peak resident set, in KiB (None when gone)."""
    try:
        with open('/proc/%d/status' % pid) as f:
            for line in f:
                if line.startswith('VmHWM:'):
                    return int(line.split()[1])
    except OSError:
        pass
    return None


def cpu_seconds(pid):
    """User plus system time the process has used, in seconds (None when gone)."""
    try:
        with open('/proc/%d/stat' % pid) as f:
            fields = f.read().rsplit(')', 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS
    except (OSError, IndexError, ValueError):
        return None


def mapped_wing(pid):
    """The WING32.DLL file mapped into the process, if any."""
    try:
        with open('/proc/%d/maps' % pid) as f:
            for line in f:
                name = line.split(None, 5)[5].strip() if len(line.split(None, 5)) == 6 else ''
                if os.path.basename(name).lower() == 'wing32.dll':
                    return name
    except OSError:
        pass
    return ''


def pe_machine(path):
    """'i686' or 'x86_64', from the Windows executable's header."""
    with open(path, 'rb') as f:
        head = f.read(4096)
    at = int.from_bytes(head[0x3C:0x40], 'little')
    machine = int.from_bytes(head[at + 4:at + 6], 'little') if head[at:at + 4] == b'PE\0\0' else 0
    return {0x14C: 'i686', 0x8664: 'x86_64'}.get(machine, 'unknown')


def seconds_per_frame(report):
    """The seconds one frame took in each of the presenter's windows."""
    freq = report['frequency']
    return [w[1] / freq / w[0] for w in report['windows'] if w[0] > 0]


class ScreenWatch(threading.Thread):
    """While a measurement runs: a picture of one rectangle of the X screen
    every PICTURE_EVERY seconds, with the times just before and after it was
    taken, and the CPU time of one process at the same moments. The
    rectangle is given, or read from the probe's "fps-view" line once the
    probe has printed it (the view has its new size by then)."""

    def __init__(self, display, origin, rect=None, probe_out=None, pid=None):
        super().__init__(daemon=True)
        self.display = display
        self.origin = origin
        self.rect = rect
        self.probe_out = probe_out
        self.pid = pid
        self.pictures = []  # (before, after, digest, uniform)
        self.cpu = []  # (time, seconds)
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
                if self.pid:
                    t, used = now(), cpu_seconds(self.pid)
                    if used is not None:
                        self.cpu.append((t, used))
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
        inside = [c for c in self.cpu if start <= c[0] <= end]
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


def spread(values):
    """Best (largest), minimum, median, maximum; None when empty."""
    if not values:
        return None
    return {'best': max(values), 'min': min(values), 'median': statistics.median(values), 'max': max(values)}


class Bench:
    def __init__(self, args):
        self.tree = os.path.abspath(args.tree)
        self.size = args.size
        self.rounds = max(1, getattr(args, 'rounds', 5))
        self.paced = getattr(args, 'paced', True)
        self.folder = os.path.join(self.tree, 'bench', 'frame-rate')
        self.stage = os.path.join(self.folder, 'program')
        self.origin = None
        self.results = {'desktop': args.size, 'screen_depth': 24, 'rounds': self.rounds, 'paths': [],
                        'load_before': os.getloadavg()}

    def stage_programs(self):
        """The program with our WING32.DLL beside it, as it ships, and the
        presenter in the same folder (so that it finds the same library)."""
        shutil.rmtree(self.stage, ignore_errors=True)
        os.makedirs(self.stage)
        for rel in ('app/velmora95.exe', 'wing/WING32.DLL', 'bench/velmora_presenter.exe', 'tests/e2e/velmora_probe.exe'):
            src = os.path.join(self.tree, rel)
            if not os.path.exists(src):
                raise SystemExit('frame_rate: %s is not built' % src)
            shutil.copy2(src, self.stage)
        self.results['machine'] = pe_machine(os.path.join(self.stage, 'velmora95.exe'))

    def run(self):
        self.stage_programs()
        with PrivateScreen(24, self.size) as screen, BenchPrefix(self.folder, screen) as prefix:
            self.screen = screen
            self.prefix = prefix
            prefix.set_desktop_size(self.size)
            self.probe = Probe(prefix, os.path.join(self.stage, 'velmora_probe.exe'), self.folder)
            self.results['step'] = self.engine_step()
            for name, overrides in PATHS:
                path = {'name': name, 'overrides': overrides, 'rounds': []}
                self.results['paths'].append(path)
                for n in range(self.rounds):
                    turn = {'name': name, 'overrides': overrides}
                    try:
                        log('%s, round %d of %d' % (name, n + 1, self.rounds))
                        self.measure_program(turn)
                        self.measure_presenter(turn)
                    except Exception as e:  # one broken path does not hide the others
                        turn['error'] = repr(e)
                        log('  %s: %r' % (name, e))
                    path['rounds'].append(turn)
                    prefix.stop()
                    if 'error' in turn:
                        break
                self.combine(path)
            if self.paced:
                self.results['paced'] = self.measure_paced()
                prefix.stop()
        self.results['load_after'] = os.getloadavg()
        return self.results

    def desktop_origin(self):
        """Where Wine's virtual desktop sits on the X screen (asked once, while
        the program runs; the desktop comes back at the same place)."""
        if self.origin is None:
            _, x, y = self.screen.desktop_window()
            self.origin = (x, y)
        return self.origin

    # -- the yardsticks ----------------------------------------------------
    def spawn_probe(self, args, out_path):
        """The probe in the background, for a watch beside another program."""
        with open(out_path, 'w') as out:
            return subprocess.Popen(['wine', self.probe.exe] + [str(a) for a in args], env=self.prefix.env(),
                                    stdout=out, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)

    def presenter(self, args, overrides, name):
        """Runs the presenter; returns its JSON report and its peak memory."""
        out_path = os.path.join(self.folder, name + '.out')
        # Output to a file: Wine's helper processes would hold a pipe open.
        env = self.prefix.env(WINEDLLOVERRIDES=QUIET_OVERRIDES + (';' + overrides if overrides else ''))
        with open(out_path, 'w') as out:
            proc = subprocess.Popen(['wine', 'velmora_presenter.exe'] + [str(a) for a in args], cwd=self.stage,
                                    env=env, stdout=out, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        peak = None
        deadline = time.monotonic() + 120
        while proc.poll() is None and time.monotonic() < deadline:
            pid = wine_pid(proc.pid, 'velmora_presenter.exe')
            peak = (peak_kib(pid) if pid else None) or peak
            time.sleep(0.25)
        if proc.poll() is None:
            proc.kill()
            proc.wait()
        with open(out_path, errors='replace') as f:
            for line in f:
                if line.startswith('{'):
                    report = json.loads(line)
                    report['peak_kib'] = peak
                    return report
        raise RuntimeError('the presenter printed no report (exit code %s); see %s' % (proc.returncode, out_path))

    def engine_step(self):
        report = self.presenter(['step', 500, 1000, 3], '', 'step')
        if 'error' in report:
            raise RuntimeError('engine step: ' + report['error'])
        times = seconds_per_frame(report)
        if not times:
            raise RuntimeError('engine step: no frames measured')
        log('engine step, Tumble Dry 2000 stars: %.1f us' % (min(times) * 1e6))
        return {'seconds': min(times), 'median_seconds': statistics.median(times), 'raw': report}

    def presenter_windows(self, overrides, w, h, count):
        """COUNT presenter windows at w x h, each judged; (windows, report)."""
        tag = '%s-%dx%d' % (overrides.replace('=', '_'), w, h)
        watch_out = os.path.join(self.folder, 'watch-%s.out' % tag)
        x, y = self.origin or (0, 0)
        watch = ScreenWatch(self.screen.display, (x, y), rect=(x, y, w, h))
        watch.start()
        launched = now()
        watcher = self.spawn_probe(['watch', PRESENTER_CAPTION, PRESENTER_CLASS, 60000], watch_out)
        try:
            report = self.presenter(['present', w, h, PRESENTER_SETTLE_MS, PRESENTER_WINDOW_MS, count], overrides,
                                    'present-' + tag)
        finally:
            try:
                watcher.wait(timeout=20)
            except subprocess.TimeoutExpired:
                watcher.kill()
                watcher.wait()
            watch.stop()
        ended = now()
        if 'error' in report:
            return [], report
        sight = {}
        with open(watch_out, errors='replace') as f:
            for line in f:
                if line.startswith('{'):
                    sight = json.loads(line)
        samples = sight_samples(sight)
        clock_ok = clock_agrees(samples, launched, ended)
        freq = report['frequency']
        windows = []
        for frames, ticks, begin in report['windows']:
            start, end = begin / freq, (begin + ticks) / freq
            why = judge(start, end, samples, watch, 0.0) if clock_ok else ['the clocks disagree']
            if 'error' in sight:
                why.append('not watched: %s' % sight['error'])
            windows.append({'fps': frames * freq / ticks if frames else 0.0, 'seconds_per_frame':
                            ticks / freq / frames if frames else None, 'span': [start, end],
                            'valid': not why, 'why': why})
        return windows, report

    def measure_presenter(self, path):
        for case in path['sizes']:
            if case.get('client') is None:
                continue
            w, h = case['client']
            windows, report = self.presenter_windows(path['overrides'], w, h, PRESENTER_WINDOWS)
            if 'error' in report:
                case['presenter_error'] = report['error']
                continue
            missing = PRESENTER_WINDOWS - sum(1 for win in windows if win['valid'])
            if missing > 0:
                log('  %-8s presenter: %d window(s) invalid, measured again' % (case['size'], missing))
                more, again = self.presenter_windows(path['overrides'], w, h, missing)
                windows += more
                if 'error' in again:
                    case['presenter_error'] = again['error']
            case['presenter'] = {'windows': windows, 'path': report['path'], 'library': report['library'],
                                 'peak_kib': report['peak_kib']}
            log('  %-8s presenter %s: %s fps' % (case['size'], report['path'], describe(windows)))

    def combine(self, path):
        """One figure per size from all rounds: the program's and the
        presenter's valid windows pooled, then best, minimum, median and
        maximum of each side."""
        turns = [t for t in path['rounds'] if t.get('sizes')]
        errors = [t['error'] for t in path['rounds'] if 'error' in t]
        if errors:
            path['error'] = errors[0]
        if not turns:
            path['sizes'] = []
            return
        path['wing_in_use'] = turns[0].get('wing_in_use')
        path['library'] = turns[0].get('library')
        path['peak_kib'] = max((t.get('peak_kib') or 0) for t in turns) or None
        path['sizes'] = []
        step = self.results['step']
        for i, first in enumerate(turns[0]['sizes']):
            cases = [t['sizes'][i] for t in turns if i < len(t['sizes'])]
            case = {'size': first['size']}
            if first.get('refused') is not None:
                case['refused'] = all(c.get('refused') for c in cases)
                path['sizes'].append(case)
                continue
            case['client'] = first.get('client')
            program = [w for c in cases for w in c.get('windows', [])]
            rates = [w['rate'] for w in program if w['valid']]
            case['program'] = {'windows': len(program), 'valid': len(rates), 'rates': rates,
                               'invalid': [w for w in program if not w['valid']], 'fps': spread(rates)}
            presenters = [c['presenter'] for c in cases if c.get('presenter')]
            shown = [w for p in presenters for w in p['windows']]
            times = [w['seconds_per_frame'] for w in shown if w['valid']]
            errors = [c['presenter_error'] for c in cases if 'presenter_error' in c]
            if errors and not shown:
                case['presenter_error'] = errors[0]
            if presenters:
                case['presenter'] = {'windows': len(shown), 'valid': len(times), 'times': times,
                                     'invalid': [w for w in shown if not w['valid']],
                                     'fps': spread([1.0 / t for t in times]),
                                     'path': presenters[0]['path'], 'library': presenters[0]['library'],
                                     'peak_kib': max((p['peak_kib'] or 0) for p in presenters) or None}
            if times:
                case['ideal_fps'] = 1.0 / (min(times) + step['seconds'])
                case['median_ideal_fps'] = 1.0 / (statistics.median(times) + step['median_seconds'])
                if rates:
                    case['ratio'] = max(rates) / case['ideal_fps']
                    case['median_ratio'] = statistics.median(rates) / case['median_ideal_fps']
            log('  %s, %-8s program %s, presenter %s, ratio %s (medians %s)' %
                (path['name'], case['size'], summary(case['program']), summary(case.get('presenter')),
                 '%.2f' % case['ratio'] if 'ratio' in case else 'n/a',
                 '%.2f' % case['median_ratio'] if 'median_ratio' in case else 'n/a'))
            path['sizes'].append(case)

    # -- the program ------------------------------------------------------
    def write_settings(self, frame_rate=None):
        """A later run: the first run without WinG would stop at a hint box."""
        with open(os.path.join(self.prefix.windows_dir(), 'QUARVELL.INI'), 'w', encoding='latin-1',
                  newline='\r\n') as f:
            f.write('[Velmora]\nNum Runs=1\n')
            if frame_rate is not None:
                f.write('Frame Rate=%d\n' % frame_rate)

    def view_client(self, report):
        view = next((c for c in (report or {}).get('children', []) if c['id'] == ID_VIEW and c['visible']), None)
        if view is None:
            return None
        left, top, right, bottom = view['client']
        return [right - left, bottom - top]

    def start_program(self, path, frame_rate=None):
        """Starts the program; returns (process, pid, view size at start)."""
        self.write_settings(frame_rate)
        program = self.prefix.start(os.path.join(self.stage, 'velmora95.exe'), os.path.join(self.folder, 'program.log'),
                                    path['overrides'])
        hwnd = self.probe.wait_window(CAPTION, time.monotonic() + 60, program, FRAME)
        if hwnd is None:
            self.end_program(program, path)
            raise RuntimeError('the program shows no frame')
        pid = wine_pid(program.pid, 'velmora95.exe')
        self.desktop_origin()
        start = self.view_client(self.probe.dump(CAPTION, FRAME))
        path['wing_in_use'] = start == [640, 400]
        path['library'] = mapped_wing(pid) if pid else ''
        log('  starts at %s, WinG in use: %s, library: %s' % (start, path['wing_in_use'], path['library'] or '-'))
        return program, pid, start

    def end_program(self, program, path):
        self.probe.run(['command', CAPTION, FRAME, ID_APP_EXIT])
        try:
            program.wait(timeout=15)
        except subprocess.TimeoutExpired:
            program.kill()
            program.wait()
        path['exit_code'] = program.returncode

    def measure_program(self, path):
        log('%s (WINEDLLOVERRIDES %s)' % (path['name'], path['overrides']))
        path['sizes'] = []
        program, pid, start = self.start_program(path)
        try:
            # Every case begins with a resize, which restarts the meter.
            order = ['Normal', 'Doubled', 'Window'] if start != [320, 200] else ['Doubled', 'Normal', 'Window']
            results = {}
            for size in order:
                results[size] = self.measure_size(size, start, path['wing_in_use'], pid, METER_READINGS)
                start = results[size].get('client') or start
            path['sizes'] = [results[s] for s in ('Normal', 'Doubled', 'Window')]
            path['peak_kib'] = peak_kib(pid) if pid else None
        finally:
            self.end_program(program, path)

    def read_meter(self, size, commands, count, pid):
        """Posts COMMANDS (which resize the view) and reads COUNT meter
        windows, each judged; returns (windows, the view's size)."""
        out = os.path.join(self.folder, 'probe-out.txt')
        if os.path.exists(out):
            os.remove(out)
        watch = ScreenWatch(self.screen.display, self.desktop_origin(), probe_out=out, pid=pid)
        watch.start()
        launched = now()
        try:
            rc, reports = self.probe.run(*commands, ['fps', CAPTION, FRAME, ID_VIEW, 0, count, 15000],
                                         ['dump', CAPTION, FRAME], timeout=60 + 4 * count)
        finally:
            watch.stop()
        ended = now()
        fps = next((r for r in reports if r.get('command') == 'fps'), None)
        if rc != 0 or fps is None or 'error' in fps:
            raise RuntimeError('%s: the meter could not be read (%s)' % (size, reports))
        samples = sight_samples(fps)
        clock_ok = clock_agrees(samples, launched, ended)
        freq = fps['frequency']
        windows = []
        for text, (begin, finish) in zip(fps['readings'], fps['spans']):
            m = FPS_NUMBER.match(text)
            start, end = begin / freq, finish / freq
            why = judge(start, end, samples, watch, SAMPLE_MARGIN) if clock_ok else ['the clocks disagree']
            if not m:
                why.append('the pane read %r' % text)
            window = {'rate': int(m.group(1)) - PANE_BONUS if m else None, 'pane': text, 'span': [start, end],
                      'valid': not why, 'why': why}
            used = watch.cpu_share(start, end)
            if used:
                window['cpu_seconds'], window['wall_seconds'] = used
            windows.append(window)
        return windows, self.view_client(reports[-1])

    def measure_size(self, size, before, wing, pid, count):
        case = {'size': size}
        command = ['command', CAPTION, FRAME, DISPLAY_COMMANDS[size]]
        if size == 'Window' and not wing:
            # Without WinG the command is refused: the view keeps its size.
            self.probe.run(command)
            time.sleep(0.5)
            client = self.view_client(self.probe.dump(CAPTION, FRAME))
            case['refused'] = client == before
            log('  %-8s n/a (refused without WinG: %s)' % (size, case['refused']))
            return case
        windows, case['client'] = self.read_meter(size, [command], count, pid)
        missing = count - sum(1 for w in windows if w['valid'])
        if missing > 0:
            # Once more, after a switch to another size and back (the meter
            # starts a new window only when the view's size changes).
            log('  %-8s %d window(s) invalid (%s), measured again' %
                (size, missing, '; '.join(sorted({r for w in windows for r in w['why']}))))
            other = ['command', CAPTION, FRAME, DISPLAY_COMMANDS[OTHER_SIZE[size]]]
            more, _ = self.read_meter(size, [other, command], missing, pid)
            windows += more
        case['windows'] = windows
        log('  %-8s %s: program %s fps' % (size, 'x'.join(map(str, case['client'] or [])), describe(windows, 'rate')))
        return case

    # -- paced flight -------------------------------------------------------
    def measure_paced(self):
        """Our WinG with "Frame Rate" set: the meter over PACED_READINGS
        windows per size, and the process's CPU time in the valid ones."""
        path = {'name': 'our WinG', 'overrides': 'wing32=n', 'frame_rate': PACED_RATE, 'sizes': []}
        log('paced at %d frames per second, %s' % (PACED_RATE, path['name']))
        try:
            program, pid, start = self.start_program(path, PACED_RATE)
        except Exception as e:
            path['error'] = repr(e)
            log('  paced: %r' % e)
            return path
        try:
            order = list(PACED_SIZES) if start != [320, 200] else list(reversed(PACED_SIZES))
            for size in order:
                case = {'size': size}
                try:
                    windows, case['client'] = self.read_meter(size, [['command', CAPTION, FRAME, DISPLAY_COMMANDS[size]]],
                                                              PACED_READINGS, pid)
                except Exception as e:
                    case['error'] = repr(e)
                    log('  %-8s %r' % (size, e))
                    path['sizes'].append(case)
                    continue
                valid = [w for w in windows if w['valid']]
                rates = [w['rate'] for w in valid]
                case['windows'] = windows
                case['program'] = {'windows': len(windows), 'valid': len(rates), 'rates': rates,
                                   'panes': [w['pane'] for w in valid], 'fps': spread(rates),
                                   'invalid': [w for w in windows if not w['valid']]}
                used = [(w['cpu_seconds'], w['wall_seconds']) for w in valid if w.get('wall_seconds')]
                if used:
                    case['cpu_share'] = sum(c for c, _ in used) / sum(t for _, t in used)
                log('  %-8s meter %s fps, CPU %s of one core' %
                    (size, describe(windows, 'rate'),
                     '%.1f %%' % (100 * case['cpu_share']) if 'cpu_share' in case else '?'))
                path['sizes'].append(case)
            path['peak_kib'] = peak_kib(pid) if pid else None
        finally:
            self.end_program(program, path)
        return path


def describe(windows, key='fps'):
    """The windows' figures for the log, invalid ones marked with their reasons."""
    out = []
    for w in windows:
        value = w.get(key)
        text = '%.0f' % value if value is not None else '?'
        out.append(text if w['valid'] else '%s (invalid: %s)' % (text, ', '.join(w['why'])))
    return ', '.join(out) or '?'


def summary(side):
    if not side or not side.get('fps'):
        return 'no valid window'
    f = side['fps']
    return 'best %.0f, %.0f / %.0f / %.0f fps (%d of %d valid)' % (f['best'], f['min'], f['median'], f['max'],
                                                                side['valid'], side['windows'])


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument('--tree', required=True, help='the Windows build tree (build/win32)')
    p.add_argument('--size', default='1024x768', help='the virtual desktop size')
    p.add_argument('--rounds', type=int, default=5, help='turns of program and presenter per surface path')
    p.add_argument('--no-paced', dest='paced', action='store_false', help='leave out the paced flight')
    p.add_argument('--json', help='where to write the figures (default TREE/bench/frame-rate/results.json)')
    args = p.parse_args()
    bench = Bench(args)
    results = bench.run()
    out = args.json or os.path.join(bench.folder, 'results.json')
    with open(out, 'w') as f:
        json.dump(results, f, indent=1)
    log('figures written to %s' % out)
    return 0


if __name__ == '__main__':
    sys.exit(main())
