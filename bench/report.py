#!/usr/bin/env python3
"""The performance report: runs the star engine benchmark of the host tree
and the whole-program frame-rate benchmark of the i686 tree, and prints one
markdown table of both (bench/run.sh builds the trees and runs this).

  report.py --host BUILD/host --win32 BUILD/win32 [--engine-repetitions N]
"""

import argparse
import json
import os
import re
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # nothing is written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import frame_rate  # noqa: E402

TARGET_RATIO = 0.95  # a program row's median ratio at or above this needs no spread to explain it
# simulation, stars, step, floor, × floor, ns per star above the clear,
# (plain kernel, × floor,) golden, allocations
ENGINE_ROW = re.compile(r'^(Tumble Dry|Washing Machine|Dirty Laundry)\s+(\d+)\s+(\d+)\s+(\d+)\s+([\d.]+)\s+([\d.]+)\s+'
                        r'\d+\s+[\d.]+\s+(\S+)\s+(\d+)$')


def engine_rows(host_tree, repetitions):
    exe = os.path.join(host_tree, 'bench', 'engine_bench')
    out = subprocess.run([exe, str(repetitions)], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                         timeout=600).stdout
    rows = []
    for line in out.splitlines():
        m = ENGINE_ROW.match(line.strip())
        if m:
            rows.append({'simulation': m.group(1), 'stars': int(m.group(2)), 'step_ns': int(m.group(3)),
                         'floor_ns': int(m.group(4)), 'ratio': float(m.group(5)), 'per_star_ns': float(m.group(6)),
                         'golden': m.group(7), 'allocs': int(m.group(8))})
    if len(rows) != 9:
        raise SystemExit('report: engine_bench printed %d of 9 rows:\n%s' % (len(rows), out))
    return rows


def mib(kib):
    return '%.1f MiB' % (kib / 1024.0) if kib else '?'


def fps(value):
    return '%.0f fps' % value if value is not None else '?'


def spread_text(side):
    """Minimum / median / maximum of the valid windows."""
    f = (side or {}).get('fps')
    return '%.0f / %.0f / %.0f' % (f['min'], f['median'], f['max']) if f else ''


def valid_text(side):
    return '%d of %d' % (side['valid'], side['windows']) if side else ''


def program_rows(results):
    rows = []
    for path in results['paths']:
        if 'error' in path and not path.get('sizes'):
            rows.append(['Program', path['name'], 'failed: %s' % path['error']] + [''] * 7)
            continue
        presenter_peaks = [c['presenter']['peak_kib'] for c in path['sizes'] if c.get('presenter')]
        memory = mib(path.get('peak_kib'))
        if presenter_peaks and max(p or 0 for p in presenter_peaks):
            memory += ' (presenter %s)' % mib(max(p or 0 for p in presenter_peaks))
        for case in path['sizes']:
            client = case.get('client')
            label = '%s, %s%s' % (path['name'], case['size'], ' %d×%d' % tuple(client) if client else '')
            if case.get('refused') is not None:
                rows.append(['Program', label, 'n/a (refused without WinG)' if case['refused'] else
                             'n/a (not refused!)'] + [''] * 6 + [memory])
                continue
            program = case.get('program') or {}
            presenter = case.get('presenter') or {}
            rows.append([
                'Program', label,
                fps(program['fps']['best']) if program.get('fps') else 'no valid window',
                spread_text(program), valid_text(program),
                'presenter %s' % fps(presenter['fps']['best']) if presenter.get('fps') else
                case.get('presenter_error', 'no valid window'),
                spread_text(presenter), valid_text(presenter),
                '%.2f (%.2f)' % (case['ratio'], case['median_ratio']) if 'ratio' in case else '?',
                memory])
            rows.append(twin_row(label, case))
        if 'error' in path:
            rows.append(['Program', path['name'], 'failed: %s' % path['error']] + [''] * 7)
    return rows


def twin_row(label, case):
    """The presenter run twice the same way: how far two identical programs
    differ in this measure, next to the program's row."""
    twin = case.get('twin') or {}
    presenter = case.get('presenter') or {}
    return ['Spread: presenter vs presenter', label,
            'presenter %s' % fps(twin['fps']['best']) if twin.get('fps') else case.get('twin_error', 'no valid window'),
            spread_text(twin), valid_text(twin),
            'presenter %s' % fps(presenter['fps']['best']) if presenter.get('fps') else '',
            spread_text(presenter), valid_text(presenter),
            '%.2f (%.2f)' % (case['twin_ratio'], case['twin_median_ratio']) if 'twin_ratio' in case else '?',
            mib(twin.get('peak_kib'))]


def gap_against_spread(results):
    """Per program row: the gap of its median ratio to 1 against the spread
    of the presenter's median ratio to itself in the same row."""
    out = []
    for path in results['paths']:
        for case in path.get('sizes', []):
            if 'median_ratio' not in case or 'twin_median_ratio' not in case:
                continue
            gap = 1.0 - case['median_ratio']
            noise = abs(1.0 - case['twin_median_ratio'])
            verdict = ('at or above %.2f' % TARGET_RATIO if case['median_ratio'] >= TARGET_RATIO else
                       'within the spread' if gap <= noise else 'beyond the spread')
            idle = ', '.join('%s %s' % (side, '%.2f' % (case.get(side) or {})['idle_cores']
                                        if (case.get(side) or {}).get('idle_cores') is not None else '?')
                             for side in ('program', 'presenter', 'twin'))
            out.append('- %s, %s: median ratio %.2f (gap %+.0f %%), presenter vs presenter %.2f (spread %.0f %%), '
                       'idle cores %s: %s' % (path['name'], case['size'], case['median_ratio'], -100 * gap,
                                              case['twin_median_ratio'], 100 * noise, idle, verdict))
    return out


def paced_rows(results):
    paced = results.get('paced')
    if not paced:
        return []
    what = 'Paced, Frame Rate %d' % paced['frame_rate']
    if 'error' in paced and not paced.get('sizes'):
        return [[what, paced['name'], 'failed: %s' % paced['error']] + [''] * 7]
    rows = []
    for case in paced['sizes']:
        client = case.get('client')
        label = '%s, %s%s' % (paced['name'], case['size'], ' %d×%d' % tuple(client) if client else '')
        program = case.get('program') or {}
        if 'error' in case or not program.get('fps'):
            rows.append([what, label, 'failed: %s' % case['error'] if 'error' in case else 'no valid window',
                         '', valid_text(program)] + [''] * 5)
            continue
        panes = sorted({int(p.replace('Fps = ', '')) for p in program.get('panes', [])})
        shown = '%d' % panes[0] if len(panes) == 1 else '%d–%d' % (panes[0], panes[-1])
        rows.append([what, label, '%s median (pane %s)' % (fps(program['fps']['median']), shown),
                     spread_text(program), valid_text(program),
                     'CPU %.1f %% of one core' % (100 * case['cpu_share']) if 'cpu_share' in case else 'CPU ?',
                     '', '', '', mib(paced.get('peak_kib'))])
    return rows


def table(engine, results):
    head = ['What', 'Case', 'Measured (best)', 'Min / median / max', 'Valid', 'Yardstick (best)',
            'Min / median / max', 'Valid', 'Ratio (medians)', 'Peak memory']
    rows = [['Engine step', '%s, %d stars' % (r['simulation'], r['stars']),
             '%d ns (%.2f ns/star above the clear)' % (r['step_ns'], r['per_star_ns']), '', '',
             'floor %d ns' % r['floor_ns'], '', '', '%.2f × floor' % r['ratio'], ''] for r in engine]
    rows += program_rows(results)
    rows += paced_rows(results)
    lines = ['| ' + ' | '.join(head) + ' |', '|' + '---|' * len(head)]
    lines += ['| ' + ' | '.join(r) + ' |' for r in rows]
    return '\n'.join(lines)


def work_table(results):
    """The program's frame piece by piece (its benchmark build), in
    microseconds per frame."""
    work = results.get('work')
    if not work:
        return []
    if 'error' in work and not work.get('sizes'):
        return ['', 'Per-frame work: failed: %s' % work['error']]
    head = ['Per-frame work (%s)' % work['name'], 'Frame', 'Step + peek', 'Dispatch (paint) + peek', 'Pre-translate',
            'Command states', 'Pane text', 'Temp map', 'Layout', 'Beyond the presenter', 'Messages', 'Windows']
    lines = ['', '| ' + ' | '.join(head) + ' |', '|' + '---|' * len(head)]
    for case in work['sizes']:
        client = case.get('client')
        label = '%s%s' % (case['size'], ' %d×%d' % tuple(client) if client else '')
        if 'turn_us' not in case:
            lines.append('| ' + ' | '.join([label, 'n/a' if case.get('refused') is not None else 'no valid window'] +
                                           [''] * 9 + ['%d of %d' % (case.get('matched', 0), case.get('windows', 0))])
                         + ' |')
            continue
        us = case['pieces_us']
        lines.append('| ' + ' | '.join(
            [label, '%.1f µs' % case['turn_us']] +
            ['%.2f µs' % us[p] for p in ('step', 'dispatch', 'pretranslate', 'commands', 'pane', 'tempmap',
                                         'layout')] +
            ['%.2f µs (%.1f %%)' % (case['extra_us'], 100 * case['extra_us'] / case['turn_us']),
             '%.2f' % case['messages_per_turn'], '%d of %d' % (case['matched'], case['windows'])]) + ' |')
    return lines


def invalid_windows(results):
    """One line per path and size that had windows left out, with why."""
    out = []
    cases = [(p['name'], c) for p in results['paths'] for c in p.get('sizes', [])]
    cases += [('paced, ' + results['paced']['name'], c) for c in (results.get('paced') or {}).get('sizes', [])]
    for name, case in cases:
        for side in ('program', 'presenter', 'twin'):
            bad = (case.get(side) or {}).get('invalid') or []
            if bad:
                reasons = sorted({r for w in bad for r in w['why']})
                out.append('- %s, %s, %s: %d window(s) left out (%s)' % (name, case['size'], side, len(bad),
                                                                         '; '.join(reasons)))
    return out


def notes(engine, results):
    step = results.get('step', {})
    odd = [r for r in engine if r['golden'] != 'same' or r['allocs'] != 0]
    out = [
        '',
        'Engine: ns per frame step (clear, draw, motion) on the host, best of many runs, against the floor '
        'kernel (clear plus one byte store per star) of the same run%s.' %
        ('' if not odd else '; WARNING: %d rows draw other frames than the golden ones or allocate' % len(odd)),
        'Program (%s build): Tumble Dry, 2000 stars, under Wine %s on a %s desktop of a 24-bit Xvfb screen; the status bar '
        'meter\'s 3-second windows (the pane\'s rate minus the 2 it adds). Yardstick: the minimal presenter\'s '
        '3-second windows with the same library: each frame the engine\'s step into its buffer, then the copy into a '
        'bordered child window of the same size and place in a maximised frame, as the program does. Spread: the '
        'presenter run once more right after it, the same way, against its first run. The three took turns, %d '
        'rounds of three windows each per size and path. Only valid windows count: the measured window was not '
        'minimised, was the foreground window, showed all of its client area, and its picture on the screen changed '
        'between pictures taken every 0.4 s; an invalid window was measured once more. Best is the fastest valid '
        'window; Valid counts valid of measured windows. Ratio = program / presenter from the best windows and (in '
        'brackets) from the medians. The engine\'s step alone under Wine took %.1f us a frame (best window).' %
        (results.get('machine', '?'), wine_version(), results['desktop'], results.get('rounds', 1),
         step.get('seconds', 0) * 1e6),
    ]
    out.append('Cores: the X server, the Wine server and every program of the session ran on core %d alone.'
               % results['core'] if 'core' in results else
               'Cores: the session ran on every core (--all-cores); its frames wake servers on the other core.')
    if results.get('paced'):
        out.append('Paced: "Frame Rate" %d in QUARVELL.INI, our WinG, %d meter windows per size; the meter\'s '
                   'median (the pane shows it plus 2) and the CPU time (user + system, /proc/PID/stat) of the '
                   'process running velmora95.exe over its valid windows as a share of one core.' %
                   (results['paced']['frame_rate'], frame_rate.PACED_READINGS))
    out += [
        'Peak memory: VmHWM (peak resident set) of the program\'s process per surface path, the presenter\'s '
        'largest beside it.',
        'Load average (1 min) before / after: %.2f / %.2f on %d cores.' %
        (results['load_before'][0], results['load_after'][0], os.cpu_count() or 0),
    ]
    if results.get('work'):
        out.append('Per-frame work: the program\'s benchmark build (velmora95_benchbuild.exe), our WinG, its meter '
                   'windows judged like the program\'s; each turn of its main loop timed piece by piece with the '
                   'performance counter, summed over the valid windows, per frame. Beyond the presenter: '
                   'pre-translation, command states, pane text, temp map and layout.')
    gaps = gap_against_spread(results)
    if gaps:
        out += ['Program gap against the spread (gap = median ratio - 1; spread = |presenter vs presenter median '
                'ratio - 1| in the same row; idle cores: how many of the machine\'s cores sat idle, the median of '
                'each side\'s valid windows):'] + gaps
    left_out = invalid_windows(results)
    if left_out:
        out += ['Windows left out:'] + left_out
    return '\n'.join(out)


def wine_version():
    try:
        return subprocess.run(['wine', '--version'], stdout=subprocess.PIPE, text=True, timeout=30).stdout.strip()
    except (OSError, subprocess.SubprocessError):
        return '?'


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument('--host', required=True, help='the host build tree (engine_bench)')
    p.add_argument('--win32', required=True, help='the Windows build tree (program, presenter, probe): build/win32')
    p.add_argument('--size', default='1024x768', help='the virtual desktop size')
    p.add_argument('--engine-repetitions', type=int, default=300)
    p.add_argument('--rounds', type=int, default=5, help='turns of program and presenter per surface path')
    p.add_argument('--no-paced', dest='paced', action='store_false', help='leave out the paced flight')
    p.add_argument('--all-cores', dest='one_core', action='store_false',
                   help='let the Wine session run on every core instead of one')
    args = p.parse_args()
    started = time.monotonic()
    print('engine benchmark ...', flush=True)
    engine = engine_rows(args.host, args.engine_repetitions)
    print('whole-program benchmark ...', flush=True)
    bench = frame_rate.Bench(argparse.Namespace(tree=args.win32, size=args.size, rounds=args.rounds,
                                                paced=args.paced, one_core=args.one_core))
    results = bench.run()
    out = os.path.join(bench.folder, 'results.json')
    with open(out, 'w') as f:
        json.dump({'engine': engine, 'program': results}, f, indent=1)
    print()
    print(table(engine, results))
    print('\n'.join(work_table(results)))
    print(notes(engine, results))
    print('Figures in %s; the run took %.0f s.' % (out, time.monotonic() - started))
    return 0


if __name__ == '__main__':
    sys.exit(main())
