"""What the program's frame is made of under Wine, from its benchmark
build (velmora95_benchbuild.exe, built from bench/program/): the build
times each turn of its main loop piece by piece with the performance
counter and writes the sums per window of its frame-rate meter to
velmora95_benchbuild.work beside it. Here the build runs like the program
in the rounds, its meter windows are read and judged the same way, and the
sums of the valid windows become microseconds per frame for each piece."""

import json
import os

from meter import measure_size
from programs import log

EXE = 'velmora95_benchbuild.exe'
WORK_FILE = 'velmora95_benchbuild.work'
# The pieces of a turn of the loop, in the build's names (bench/program/WorkTimes.h).
PIECES = ('step', 'pretranslate', 'dispatch', 'commands', 'pane', 'layout', 'tempmap')
# The work the presenter does not do: the idle passes and the pre-translation.
EXTRA = ('pretranslate', 'commands', 'pane', 'layout', 'tempmap')
MATCH = 0.25  # seconds between a meter window's ends and those of the build's record of it


def read_records(path):
    """The build's records, with start and end in seconds."""
    records = []
    try:
        with open(path, errors='replace') as f:
            for line in f:
                try:
                    r = json.loads(line)
                except ValueError:
                    continue
                r['begin'] = r['start'] / r['frequency']
                r['end'] = (r['start'] + r['ticks']) / r['frequency']
                records.append(r)
    except OSError:
        pass
    return records


def matching(records, window):
    start, end = window['span']
    return next((r for r in records if abs(r['begin'] - start) <= MATCH and abs(r['end'] - end) <= MATCH), None)


def per_frame(records):
    """Microseconds per turn of the loop for each piece, over RECORDS."""
    turns = sum(r['turns'] for r in records)
    freq = records[0]['frequency']
    us = {p: 1e6 * sum(r[p] for r in records) / freq / turns for p in PIECES}
    return {'turns': turns, 'turn_us': 1e6 * sum(r['ticks'] for r in records) / freq / turns,
            'messages_per_turn': sum(r['messages'] for r in records) / turns, 'pieces_us': us,
            'extra_us': sum(us[p] for p in EXTRA)}


def measure_work(programs, path, sizes, count, order):
    """The benchmark build on surface path PATH ({'name', 'overrides'}),
    COUNT meter windows per size; per size the pieces of its valid windows."""
    work_file = os.path.join(programs.stage, WORK_FILE)
    if os.path.exists(work_file):
        os.remove(work_file)
    log('per-frame work, %s, %s' % (EXE, path['name']))
    program, pid, start = programs.start_program(path, exe=EXE)
    cases = {}
    try:
        for size in order(sizes, start):
            cases[size] = measure_size(programs, size, start, path['wing_in_use'], pid, count)
            start = cases[size].get('client') or start
    finally:
        programs.end_program(program, path)
    records = read_records(work_file)
    path['sizes'] = []
    for size in sizes:
        case = {k: v for k, v in cases[size].items() if k != 'windows'}
        valid = [w for w in cases[size].get('windows', []) if w['valid']]
        matched = [r for r in (matching(records, w) for w in valid) if r]
        case['windows'] = len(valid)
        case['matched'] = len(matched)
        if matched:
            case.update(per_frame(matched))
            log('  %-8s %d windows: %.1f us per frame, of it %s' %
                (size, len(matched), case['turn_us'],
                 ', '.join('%s %.2f us' % (p, case['pieces_us'][p]) for p in PIECES)))
        path['sizes'].append(case)
    return path
