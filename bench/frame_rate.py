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
presenter (velmora_presenter.exe) makes the same frames (the engine's step
into its buffer) and copies them into a window of the same size at the same
place in a maximised frame, for three windows of the same length: the
yardstick; then the presenter runs once more the same way (the twin), to
show how far two identical programs differ. The engine's frame step alone is
timed once in the same Wine prefix, for the notes.

Only windows whose pictures reached the screen count (sight.py); a window
that fails is measured again once (or reported as invalid) and never enters
a figure.

The machine's own pace drifts by about 10 % over a minute, as much as the
gap being measured, so the program and the presenter take turns: ROUNDS
rounds (default 5) of the program's three sizes followed by the presenter's
and the twin's, per surface path. Each side's figures are the best, the
minimum, the median and the maximum of its valid windows over all rounds
(figures.py).

Then the program's benchmark build, which times each turn of its main loop
piece by piece, runs with our WinG at the three sizes (frame_work.py).

Last, the program runs paced ("Frame Rate" 60 in QUARVELL.INI) with our
WinG at Normal and Doubled size for ten meter windows (30 s) each: the meter
readings and the CPU time (user + system) of the process as a share of one
core.

This file holds the rounds; programs.py starts the programs, sight.py
judges a window, meter.py reads the meters, figures.py pools the rounds. It prints the figures and
writes them as JSON; it asserts nothing (a measurement that cannot be made
is reported as such).
"""

import argparse
import json
import os
import sys

sys.dont_write_bytecode = True  # nothing is written into the source tree
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(os.path.dirname(HERE), 'tests', 'e2e'))

from figures import PRESENTER_SIDES, combine, spread  # noqa: E402
from frame_work import measure_work  # noqa: E402
from harness.xserver import PrivateScreen  # noqa: E402
from meter import describe, engine_step, measure_presenter, measure_size, read_meter, size_command  # noqa: E402
from programs import BenchPrefix, Programs, log, peak_kib, stage_programs  # noqa: E402

PATHS = [('our WinG', 'wing32=n'), ("Wine's WinG", 'wing32=b'), ('no WinG', 'wing32=')]
SIZES = ('Normal', 'Doubled', 'Window')
METER_READINGS = 3  # valid windows wanted per size and round, of each side
PACED_RATE = 60
PACED_READINGS = 10  # 30 s
PACED_SIZES = ('Normal', 'Doubled')


def size_order(sizes, start):
    """SIZES in the order to measure them: each case begins with a resize,
    which restarts the meter, so the size the view starts at is not first."""
    return list(sizes) if start != [320, 200] else [sizes[1], sizes[0]] + list(sizes[2:])


class Bench:
    def __init__(self, args):
        self.tree = os.path.abspath(args.tree)
        self.size = args.size
        self.rounds = max(1, getattr(args, 'rounds', 5))
        self.paced = getattr(args, 'paced', True)
        self.one_core = getattr(args, 'one_core', True)
        self.folder = os.path.join(self.tree, 'bench', 'frame-rate')
        self.stage = os.path.join(self.folder, 'program')
        self.programs = None
        self.results = {'desktop': args.size, 'screen_depth': 24, 'rounds': self.rounds, 'paths': [],
                        'load_before': os.getloadavg()}

    def run(self):
        self.results['machine'] = stage_programs(self.tree, self.stage)
        cores = os.sched_getaffinity(0)
        if self.one_core:
            # Every process of the session starts from here and inherits the
            # core: the X server, the Wine server, the programs and the probe.
            # A frame's round trips to the servers then switch tasks on one
            # core instead of waking another, which costs several times as
            # much and varies with whatever else that core is doing.
            self.results['core'] = max(cores)
            os.sched_setaffinity(0, {max(cores)})
        try:
            return self.measure()
        finally:
            os.sched_setaffinity(0, cores)

    def measure(self):
        with PrivateScreen(24, self.size) as screen, BenchPrefix(self.folder, screen) as prefix:
            prefix.set_desktop_size(self.size)
            self.programs = Programs(self.folder, self.stage, screen, prefix)
            self.results['step'] = engine_step(self.programs)
            for name, overrides in PATHS:
                path = {'name': name, 'overrides': overrides, 'rounds': []}
                self.results['paths'].append(path)
                for n in range(self.rounds):
                    turn = {'name': name, 'overrides': overrides}
                    try:
                        log('%s, round %d of %d' % (name, n + 1, self.rounds))
                        self.measure_program(turn)
                        for side in PRESENTER_SIDES:
                            self.measure_presenters(turn, side)
                    except Exception as e:  # one broken path does not hide the others
                        turn['error'] = repr(e)
                        log('  %s: %r' % (name, e))
                    path['rounds'].append(turn)
                    prefix.stop()
                    if 'error' in turn:
                        break
                combine(path)
            self.results['work'] = self.measure_work()
            if self.paced:
                self.results['paced'] = self.measure_paced()
                prefix.stop()
        self.results['load_after'] = os.getloadavg()
        return self.results

    def measure_program(self, turn):
        """The program's three sizes, METER_READINGS windows each."""
        log('%s (WINEDLLOVERRIDES %s)' % (turn['name'], turn['overrides']))
        turn['sizes'] = []
        program, pid, start = self.programs.start_program(turn)
        try:
            results = {}
            for size in size_order(SIZES, start):
                results[size] = measure_size(self.programs, size, start, turn['wing_in_use'], pid, METER_READINGS)
                start = results[size].get('client') or start
            turn['sizes'] = [results[s] for s in SIZES]
            turn['peak_kib'] = peak_kib(pid) if pid else None
        finally:
            self.programs.end_program(program, turn)

    def measure_presenters(self, turn, side):
        """One presenter run per size the program showed, with the same
        library, client size and place on the screen, as SIDE of the turn."""
        for case in turn['sizes']:
            if case.get('client') is None:
                continue
            w, h = case['client']
            got = measure_presenter(self.programs, turn['overrides'], w, h, case['place'], METER_READINGS)
            if 'error' in got:
                case[side + '_error'] = got.pop('error')
            if 'windows' in got:
                case[side] = got
                log('  %-8s %s %s: %s fps' % (case['size'], side, got['path'], describe(got['windows'])))

    def measure_work(self):
        """The program's benchmark build with our WinG: its frame piece by
        piece at each size."""
        name, overrides = PATHS[0]
        path = {'name': name, 'overrides': overrides}
        try:
            measure_work(self.programs, path, SIZES, METER_READINGS, size_order)
        except Exception as e:
            path['error'] = repr(e)
            log('  per-frame work: %r' % e)
        self.programs.prefix.stop()
        return path

    def measure_paced(self):
        """Our WinG with "Frame Rate" set: the meter over PACED_READINGS
        windows per size, and the process's CPU time in the valid ones."""
        path = {'name': 'our WinG', 'overrides': 'wing32=n', 'frame_rate': PACED_RATE, 'sizes': []}
        log('paced at %d frames per second, %s' % (PACED_RATE, path['name']))
        try:
            program, pid, start = self.programs.start_program(path, PACED_RATE)
        except Exception as e:
            path['error'] = repr(e)
            log('  paced: %r' % e)
            return path
        try:
            for size in size_order(PACED_SIZES, start):
                case = {'size': size}
                try:
                    windows, case['client'], _ = read_meter(self.programs, size, [size_command(size)], PACED_READINGS,
                                                         pid)
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
            self.programs.end_program(program, path)
        return path


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument('--tree', required=True, help='the Windows build tree (build/win32)')
    p.add_argument('--size', default='1024x768', help='the virtual desktop size')
    p.add_argument('--rounds', type=int, default=5, help='turns of program and presenter per surface path')
    p.add_argument('--no-paced', dest='paced', action='store_false', help='leave out the paced flight')
    p.add_argument('--all-cores', dest='one_core', action='store_false',
                   help='let the session run on every core instead of one')
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
