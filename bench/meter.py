"""Reading the meters: the program's status-bar pane (the rate of each
three-second window it counted, plus 2), the presenter's own report of its
windows, and the engine step it times. Each window comes back judged (see
sight.py); a size with invalid windows is measured once more for as many
windows as failed."""

import json
import os
import re
import statistics
import subprocess
import time

from programs import CAPTION, FRAME, ID_VIEW, PRESENTER_CAPTION, PRESENTER_CLASS, cpu_seconds, log, view_client
from sight import SAMPLE_MARGIN, ScreenWatch, clock_agrees, judge, now, sight_samples

DISPLAY_COMMANDS = {'Normal': 32772, 'Doubled': 32773, 'Window': 32774}
# The size to switch to and back from when a size is measured again: the
# meter restarts only when the view's size changes.
OTHER_SIZE = {'Normal': 'Doubled', 'Doubled': 'Normal', 'Window': 'Normal'}
FPS_NUMBER = re.compile(r'^Fps = (\d+)$')
PANE_BONUS = 2  # the pane shows the measured rate plus 2
PRESENTER_SETTLE_MS, PRESENTER_WINDOW_MS = 700, 3000


def size_command(size):
    return ['command', CAPTION, FRAME, DISPLAY_COMMANDS[size]]


def read_meter(programs, size, commands, count, pid):
    """Posts COMMANDS (which resize the view) and reads COUNT meter windows,
    each judged; returns (windows, the view's size, the view's place)."""
    out = os.path.join(programs.folder, 'probe-out.txt')
    if os.path.exists(out):
        os.remove(out)
    watch = ScreenWatch(programs.screen.display, programs.desktop_origin(), probe_out=out, pid=pid,
                        cpu_seconds=cpu_seconds)
    watch.start()
    launched = now()
    try:
        rc, reports = programs.probe.run(*commands, ['fps', CAPTION, FRAME, ID_VIEW, 0, count, 15000],
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
                  'valid': not why, 'why': why, 'idle_cores': watch.idle_cores(start, end)}
        used = watch.cpu_share(start, end)
        if used:
            window['cpu_seconds'], window['wall_seconds'] = used
        windows.append(window)
    return windows, view_client(reports[-1]), view_client(reports[-1], place=True)


def measure_size(programs, size, before, wing, pid, count):
    """COUNT valid meter windows of the program at SIZE (or as many as the
    second try gave), after a resize from BEFORE."""
    case = {'size': size}
    command = size_command(size)
    if size == 'Window' and not wing:
        # Without WinG the command is refused: the view keeps its size.
        programs.probe.run(command)
        time.sleep(0.5)
        client = view_client(programs.probe.dump(CAPTION, FRAME))
        case['refused'] = client == before
        log('  %-8s n/a (refused without WinG: %s)' % (size, case['refused']))
        return case
    windows, case['client'], case['place'] = read_meter(programs, size, [command], count, pid)
    missing = count - sum(1 for w in windows if w['valid'])
    if missing > 0:
        # Once more, after a switch to another size and back (the meter
        # starts a new window only when the view's size changes).
        log('  %-8s %d window(s) invalid (%s), measured again' %
            (size, missing, '; '.join(sorted({r for w in windows for r in w['why']}))))
        more, _, _ = read_meter(programs, size, [size_command(OTHER_SIZE[size]), command], missing, pid)
        windows += more
    case['windows'] = windows
    log('  %-8s %s: program %s fps' % (size, 'x'.join(map(str, case['client'] or [])), describe(windows, 'rate')))
    return case


def seconds_per_frame(report):
    """The seconds one frame took in each of the presenter's windows."""
    freq = report['frequency']
    return [w[1] / freq / w[0] for w in report['windows'] if w[0] > 0]


def engine_step(programs):
    """The engine's frame step timed by the presenter in the same prefix."""
    report = programs.presenter(['step', 500, 1000, 3], '', 'step')
    if 'error' in report:
        raise RuntimeError('engine step: ' + report['error'])
    times = seconds_per_frame(report)
    if not times:
        raise RuntimeError('engine step: no frames measured')
    log('engine step, Tumble Dry 2000 stars: %.1f us' % (min(times) * 1e6))
    return {'seconds': min(times), 'median_seconds': statistics.median(times), 'raw': report}


def presenter_windows(programs, overrides, w, h, place, count):
    """COUNT presenter windows at w x h, each judged; (windows, report).
    The presenter copies into a child of a maximised frame whose client area
    begins at PLACE on the desktop, where the program's view showed its
    picture (see bench/presenter/Presenter.cpp for why)."""
    tag = '%s-%dx%d' % (overrides.replace('=', '_'), w, h)
    watch_out = os.path.join(programs.folder, 'watch-%s.out' % tag)
    x, y = programs.origin or (0, 0)
    watch = ScreenWatch(programs.screen.display, (x, y), rect=(x + place[0], y + place[1], w, h))
    watch.start()
    launched = now()
    watcher = programs.spawn_probe(['watch', PRESENTER_CAPTION, PRESENTER_CLASS, 60000, ID_VIEW], watch_out)
    try:
        report = programs.presenter(['present', w, h, PRESENTER_SETTLE_MS, PRESENTER_WINDOW_MS, count] + list(place),
                                    overrides, 'present-' + tag)
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
                        'valid': not why, 'why': why, 'idle_cores': watch.idle_cores(start, end)})
    return windows, report


def measure_presenter(programs, overrides, w, h, place, count):
    """COUNT presenter windows at w x h, the invalid ones measured once more:
    {'windows', 'path', 'library', 'peak_kib'} or {'error'}."""
    windows, report = presenter_windows(programs, overrides, w, h, place, count)
    if 'error' in report:
        return {'error': report['error']}
    side = {'windows': windows, 'path': report['path'], 'library': report['library'],
            'peak_kib': report['peak_kib']}
    missing = count - sum(1 for win in windows if win['valid'])
    if missing > 0:
        log('  %dx%d presenter: %d window(s) invalid, measured again' % (w, h, missing))
        more, again = presenter_windows(programs, overrides, w, h, place, missing)
        windows += more
        if 'error' in again:
            side['error'] = again['error']
    return side


def describe(windows, key='fps'):
    """The windows' figures for the log, invalid ones marked with their reasons."""
    out = []
    for w in windows:
        value = w.get(key)
        text = '%.0f' % value if value is not None else '?'
        out.append(text if w['valid'] else '%s (invalid: %s)' % (text, ', '.join(w['why'])))
    return ', '.join(out) or '?'
