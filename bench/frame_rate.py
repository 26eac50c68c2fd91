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
presenter (velmora_presenter.exe) copies a static buffer at the same sizes
for three windows of the same length: t_loop per frame. The engine's frame
step t_step is timed once in the same Wine prefix.
ideal = 1 / (t_loop + t_step).

The machine's own pace drifts by about 10 % over a minute, as much as the
gap being measured, so the program and the presenter take turns: ROUNDS
rounds (default 2) of the program's three sizes followed by the presenter's,
per surface path. Each side's figure is its best window over all rounds, the
one other processes on a shared machine disturbed least; the medians over
all rounds are kept in the JSON and printed too.

It prints the figures and writes them as JSON; it asserts nothing (a
measurement that cannot be made is reported as such).
"""

import argparse
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # nothing is written into the source tree
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), 'tests', 'e2e'))

from harness.wine import QUIET_OVERRIDES, Prefix, Probe  # noqa: E402
from harness.xserver import PrivateScreen  # noqa: E402

CAPTION = 'Velmora 95'
FRAME = '!#32770'
ID_VIEW = 59648
ID_APP_EXIT = 57665
DISPLAY_COMMANDS = {'Normal': 32772, 'Doubled': 32773, 'Window': 32774}
PATHS = [('our WinG', 'wing32=n'), ("Wine's WinG", 'wing32=b'), ('no WinG', 'wing32=')]
FPS_NUMBER = re.compile(r'^Fps = (\d+)$')
PANE_BONUS = 2  # the pane shows the measured rate plus 2
METER_READINGS = 3
PRESENTER_SETTLE_MS, PRESENTER_WINDOW_MS, PRESENTER_WINDOWS = 700, 3000, METER_READINGS


def log(text):
    print(text, flush=True)


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


def seconds_per_frame(report):
    """The seconds one frame took in each of the presenter's windows."""
    freq = report['frequency']
    return [ticks / freq / frames for frames, ticks in report['windows'] if frames > 0]


class Bench:
    def __init__(self, args):
        self.tree = os.path.abspath(args.tree)
        self.size = args.size
        self.rounds = max(1, getattr(args, 'rounds', 2))
        self.folder = os.path.join(self.tree, 'bench', 'frame-rate')
        self.stage = os.path.join(self.folder, 'program')
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

    def run(self):
        self.stage_programs()
        with PrivateScreen(24, self.size) as screen, BenchPrefix(self.folder, screen) as prefix:
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
        self.results['load_after'] = os.getloadavg()
        return self.results

    # -- the yardsticks ----------------------------------------------------
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
        log('engine step (i686, Wine), Tumble Dry 2000 stars: %.1f us' % (min(times) * 1e6))
        return {'seconds': min(times), 'median_seconds': statistics.median(times), 'raw': report}

    def measure_presenter(self, path):
        for case in path['sizes']:
            if case.get('client') is None:
                continue
            w, h = case['client']
            report = self.presenter(['present', w, h, PRESENTER_SETTLE_MS, PRESENTER_WINDOW_MS, PRESENTER_WINDOWS],
                                    path['overrides'], 'present-%s-%dx%d' % (path['overrides'].replace('=', '_'), w, h))
            if 'error' in report:
                case['presenter_error'] = report['error']
                continue
            times = seconds_per_frame(report)
            if not times:
                case['presenter_error'] = 'no frames measured'
                continue
            case['presenter'] = {'times': times, 'path': report['path'], 'library': report['library'],
                                 'peak_kib': report['peak_kib'], 'raw': report}
            log('  %-8s presenter %s: %s fps' % (case['size'], report['path'],
                                                 ', '.join('%.0f' % (1.0 / t) for t in times)))

    def combine(self, path):
        """One figure per size from all rounds: the program's readings and the
        presenter's windows pooled, then best and median of each side."""
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
            rates = [r for c in cases for r in c.get('rates', [])]
            times = [t for c in cases for t in c.get('presenter', {}).get('times', [])]
            errors = [c['presenter_error'] for c in cases if 'presenter_error' in c]
            if errors and not times:
                case['presenter_error'] = errors[0]
            if rates:
                case['rates'] = rates
                case['program_fps'] = max(rates)
                case['median_program_fps'] = statistics.median(rates)
            if times:
                presenters = [c['presenter'] for c in cases if c.get('presenter')]
                case['presenter'] = {'t_loop': min(times), 'median_t_loop': statistics.median(times), 'times': times,
                                     'path': presenters[0]['path'], 'library': presenters[0]['library'],
                                     'peak_kib': max((p['peak_kib'] or 0) for p in presenters) or None}
                case['ideal_fps'] = 1.0 / (min(times) + step['seconds'])
                case['median_ideal_fps'] = 1.0 / (statistics.median(times) + step['median_seconds'])
                if rates:
                    case['ratio'] = case['program_fps'] / case['ideal_fps']
                    case['median_ratio'] = case['median_program_fps'] / case['median_ideal_fps']
            log('  %s, %-8s program %s fps, presenter %s fps, ideal %s fps, program/ideal %s (medians %s)' %
                (path['name'], case['size'], case.get('program_fps', '?'),
                 '%.0f' % (1.0 / case['presenter']['t_loop']) if times else '?',
                 '%.0f' % case['ideal_fps'] if times else '?',
                 '%.2f' % case['ratio'] if 'ratio' in case else 'n/a',
                 '%.2f' % case['median_ratio'] if 'median_ratio' in case else 'n/a'))
            path['sizes'].append(case)

    # -- the program ------------------------------------------------------
    def write_settings(self):
        """A later run: the first run without WinG would stop at a hint box."""
        with open(os.path.join(self.prefix.windows_dir(), 'QUARVELL.INI'), 'w', encoding='latin-1',
                  newline='\r\n') as f:
            f.write('[Velmora]\nNum Runs=1\n')

    def view_client(self, report):
        view = next((c for c in (report or {}).get('children', []) if c['id'] == ID_VIEW and c['visible']), None)
        if view is None:
            return None
        left, top, right, bottom = view['client']
        return [right - left, bottom - top]

    def measure_program(self, path):
        log('%s (WINEDLLOVERRIDES %s)' % (path['name'], path['overrides']))
        self.write_settings()
        program = self.prefix.start(os.path.join(self.stage, 'velmora95.exe'), os.path.join(self.folder, 'program.log'),
                                    path['overrides'])
        path['sizes'] = []
        try:
            hwnd = self.probe.wait_window(CAPTION, time.monotonic() + 60, program, FRAME)
            if hwnd is None:
                raise RuntimeError('the program shows no frame')
            pid = wine_pid(program.pid, 'velmora95.exe')
            start = self.view_client(self.probe.dump(CAPTION, FRAME))
            path['wing_in_use'] = start == [640, 400]
            path['library'] = mapped_wing(pid) if pid else ''
            log('  starts at %s, WinG in use: %s, library: %s' % (start, path['wing_in_use'], path['library'] or '-'))
            # Every case begins with a resize, which restarts the meter.
            order = ['Normal', 'Doubled', 'Window'] if start != [320, 200] else ['Doubled', 'Normal', 'Window']
            results = {}
            for size in order:
                results[size] = self.measure_size(size, start, path['wing_in_use'])
                start = results[size].get('client') or start
            path['sizes'] = [results[s] for s in ('Normal', 'Doubled', 'Window')]
            path['peak_kib'] = peak_kib(pid) if pid else None
        finally:
            self.probe.run(['command', CAPTION, FRAME, ID_APP_EXIT])
            try:
                program.wait(timeout=15)
            except subprocess.TimeoutExpired:
                program.kill()
                program.wait()
            path['exit_code'] = program.returncode

    def measure_size(self, size, before, wing):
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
        rc, reports = self.probe.run(command, ['fps', CAPTION, FRAME, 0, METER_READINGS, 15000], ['dump', CAPTION, FRAME],
                                     timeout=90)
        fps = next((r for r in reports if r.get('command') == 'fps'), None)
        if rc != 0 or fps is None or 'error' in fps:
            raise RuntimeError('%s: the meter could not be read (%s)' % (size, reports))
        case['client'] = self.view_client(reports[-1])
        case['readings'] = fps['readings']
        rates = [int(m.group(1)) - PANE_BONUS for m in (FPS_NUMBER.match(t) for t in fps['readings']) if m]
        case['rates'] = rates
        log('  %-8s %s: program %s fps' % (size, 'x'.join(map(str, case['client'] or [])),
                                             ', '.join(map(str, rates)) or '?'))
        return case


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument('--tree', required=True, help='the i686 build tree (build/win32)')
    p.add_argument('--size', default='1024x768', help='the virtual desktop size')
    p.add_argument('--rounds', type=int, default=2, help='turns of program and presenter per surface path')
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
