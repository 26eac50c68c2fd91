"""The figures of a surface path from all its rounds: per size, the valid
windows of each side pooled over the rounds, then best, minimum, median and
maximum of each side, and the ratios: the program against the presenter,
which makes the same frames and copies them the same way, and the second
presenter run against the first."""

import statistics

from programs import log

# The sides a round measures per size, besides the program: the presenter
# (the yardstick) and the same presenter run again right after it (the
# twin), whose ratio to the first shows how far two identical programs
# differ when measured the same way.
PRESENTER_SIDES = ('presenter', 'twin')


def spread(values):
    """Best (largest), minimum, median, maximum; None when empty."""
    if not values:
        return None
    return {'best': max(values), 'min': min(values), 'median': statistics.median(values), 'max': max(values)}


def idle_cores(windows):
    """The median of the idle cores during the valid WINDOWS; None unknown."""
    idle = [w['idle_cores'] for w in windows if w['valid'] and w.get('idle_cores') is not None]
    return statistics.median(idle) if idle else None


def pooled_presenter(cases, side):
    """One presenter side's windows of one size pooled over the rounds."""
    runs = [c[side] for c in cases if c.get(side)]
    shown = [w for p in runs for w in p['windows']]
    times = [w['seconds_per_frame'] for w in shown if w['valid']]
    out = {}
    errors = [c[side + '_error'] for c in cases if side + '_error' in c]
    if errors and not shown:
        out['error'] = errors[0]
    if runs:
        out['figures'] = {'windows': len(shown), 'valid': len(times), 'times': times,
                          'invalid': [w for w in shown if not w['valid']], 'fps': spread([1.0 / t for t in times]),
                          'path': runs[0]['path'], 'library': runs[0]['library'], 'idle_cores': idle_cores(shown),
                          'peak_kib': max((p['peak_kib'] or 0) for p in runs) or None}
    return out


def combine(path):
    """Fills path['sizes'] from path['rounds'] with the pooled figures."""
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
                           'invalid': [w for w in program if not w['valid']], 'fps': spread(rates),
                           'idle_cores': idle_cores(program)}
        for side in PRESENTER_SIDES:
            pooled = pooled_presenter(cases, side)
            if 'error' in pooled:
                case[side + '_error'] = pooled['error']
            if 'figures' in pooled:
                case[side] = pooled['figures']
        yardstick = (case.get('presenter') or {}).get('fps')
        if yardstick:
            if rates:
                case['ratio'] = max(rates) / yardstick['best']
                case['median_ratio'] = statistics.median(rates) / yardstick['median']
            twin = (case.get('twin') or {}).get('fps')
            if twin:
                case['twin_ratio'] = twin['best'] / yardstick['best']
                case['twin_median_ratio'] = twin['median'] / yardstick['median']
        log('  %s, %-8s program %s, presenter %s, ratio %s (medians %s); twin %s, ratio %s (medians %s)' %
            (path['name'], case['size'], summary(case['program']), summary(case.get('presenter')),
             ratio_text(case, 'ratio'), ratio_text(case, 'median_ratio'), summary(case.get('twin')),
             ratio_text(case, 'twin_ratio'), ratio_text(case, 'twin_median_ratio')))
        path['sizes'].append(case)


def ratio_text(case, key):
    return '%.2f' % case[key] if key in case else 'n/a'


def summary(side):
    if not side or not side.get('fps'):
        return 'no valid window'
    f = side['fps']
    return 'best %.0f, %.0f / %.0f / %.0f fps (%d of %d valid)' % (f['best'], f['min'], f['median'], f['max'],
                                                                side['valid'], side['windows'])
