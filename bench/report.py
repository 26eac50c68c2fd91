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

ENGINE_ROW = re.compile(r'^(Tumble Dry|Washing Machine|Dirty Laundry)\s+(\d+)\s+(\d+)\s+(\d+)\s+([\d.]+)\s+'
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
                         'floor_ns': int(m.group(4)), 'ratio': float(m.group(5)), 'golden': m.group(6),
                         'allocs': int(m.group(7))})
    if len(rows) != 9:
        raise SystemExit('report: engine_bench printed %d of 9 rows:\n%s' % (len(rows), out))
    return rows


def mib(kib):
    return '%.1f MiB' % (kib / 1024.0) if kib else '?'


def fps(value):
    return '%.0f fps' % value if value is not None else '?'


def program_rows(results):
    rows = []
    for path in results['paths']:
        if 'error' in path and not path.get('sizes'):
            rows.append(['Program', path['name'], 'failed: %s' % path['error'], '', '', '', ''])
            continue
        presenter_peaks = [c['presenter']['peak_kib'] for c in path['sizes'] if c.get('presenter')]
        memory = mib(path.get('peak_kib'))
        if presenter_peaks and max(p or 0 for p in presenter_peaks):
            memory += ' (presenter %s)' % mib(max(p or 0 for p in presenter_peaks))
        for case in path['sizes']:
            client = case.get('client')
            label = '%s, %s%s' % (path['name'], case['size'], ' %dx%d' % tuple(client) if client else '')
            if case.get('refused') is not None:
                rows.append(['Program', label, 'n/a (refused without WinG)' if case['refused'] else
                             'n/a (not refused!)', '', '', '', memory])
                continue
            presenter = case.get('presenter')
            rows.append(['Program', label, fps(case.get('program_fps')),
                         'presenter %s' % fps(1.0 / presenter['t_loop']) if presenter else
                         case.get('presenter_error', '?'),
                         fps(case.get('ideal_fps')) if presenter else '',
                         '%.2f (%.2f)' % (case['ratio'], case['median_ratio']) if 'ratio' in case else '?',
                         memory])
        if 'error' in path:
            rows.append(['Program', path['name'], 'failed: %s' % path['error'], '', '', '', ''])
    return rows


def table(engine, results):
    head = ['What', 'Case', 'Measured', 'Yardstick', 'Ideal', 'Ratio (medians)', 'Peak memory']
    rows = [['Engine step', '%s, %d stars' % (r['simulation'], r['stars']), '%d ns' % r['step_ns'],
             'floor %d ns' % r['floor_ns'], '', '%.2f x floor' % r['ratio'], ''] for r in engine]
    rows += program_rows(results)
    lines = ['| ' + ' | '.join(head) + ' |', '|' + '---|' * len(head)]
    lines += ['| ' + ' | '.join(r) + ' |' for r in rows]
    return '\n'.join(lines)


def notes(engine, results):
    step = results.get('step', {})
    odd = [r for r in engine if r['golden'] != 'same' or r['allocs'] != 0]
    out = [
        '',
        'Engine: ns per frame step (clear, draw, motion) on the host, best of many runs, against the floor '
        'kernel (clear plus one byte store per star) of the same run%s.' %
        ('' if not odd else '; WARNING: %d rows draw other frames than the golden ones or allocate' % len(odd)),
        'Program: Tumble Dry, 2000 stars, under Wine %s on a %s desktop of a 24-bit Xvfb screen; the status bar '
        'meter\'s best 3-second window (the pane\'s rate minus the 2 it adds). Yardstick: the minimal '
        'presenter\'s best 3-second window with the same library. The two took turns, %d rounds of three '
        'windows each per size and path. Ideal = 1 / (t_loop + t_step), t_step = %.1f us (the engine\'s frame '
        'step, i686, under Wine). Ratio = program / ideal, from the best windows and (in brackets) from the '
        'medians of all windows.' %
        (wine_version(), results['desktop'], results.get('rounds', 1), step.get('seconds', 0) * 1e6),
        'Peak memory: VmHWM (peak resident set) of the program\'s process per surface path, the presenter\'s '
        'largest beside it.',
        'Load average (1 min) before / after: %.2f / %.2f on %d cores.' %
        (results['load_before'][0], results['load_after'][0], os.cpu_count() or 0),
    ]
    return '\n'.join(out)


def wine_version():
    try:
        return subprocess.run(['wine', '--version'], stdout=subprocess.PIPE, text=True, timeout=30).stdout.strip()
    except (OSError, subprocess.SubprocessError):
        return '?'


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument('--host', required=True, help='the host build tree (engine_bench)')
    p.add_argument('--win32', required=True, help='the i686 build tree (program, presenter, probe)')
    p.add_argument('--size', default='1024x768', help='the virtual desktop size')
    p.add_argument('--engine-repetitions', type=int, default=300)
    p.add_argument('--rounds', type=int, default=2, help='turns of program and presenter per surface path')
    args = p.parse_args()
    started = time.monotonic()
    print('engine benchmark ...', flush=True)
    engine = engine_rows(args.host, args.engine_repetitions)
    print('whole-program benchmark ...', flush=True)
    bench = frame_rate.Bench(argparse.Namespace(tree=args.win32, size=args.size, rounds=args.rounds))
    results = bench.run()
    out = os.path.join(bench.folder, 'results.json')
    with open(out, 'w') as f:
        json.dump({'engine': engine, 'program': results}, f, indent=1)
    print()
    print(table(engine, results))
    print(notes(engine, results))
    print('Figures in %s; the run took %.0f s.' % (out, time.monotonic() - started))
    return 0


if __name__ == '__main__':
    sys.exit(main())
