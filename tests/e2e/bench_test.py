#!/usr/bin/env python3
"""Tests of the frame-rate benchmark's own arithmetic: which windows enter a
figure, the ratios of the program and of the presenter against itself, the
verdict on each program row, and the per-frame pieces of the benchmark
build matched with the meter's windows."""

import os
import sys
import unittest

sys.dont_write_bytecode = True  # nothing is written into the source tree
BENCH = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))), 'bench')
sys.path.insert(0, BENCH)

import figures  # noqa: E402
import frame_work  # noqa: E402
import report  # noqa: E402
from sight import ScreenWatch, judge  # noqa: E402


def presenter(*fps_valid):
    return {'path': 'wing', 'library': '', 'peak_kib': 1,
            'windows': [{'seconds_per_frame': 1.0 / f, 'valid': v, 'why': [] if v else ['minimised']}
                        for f, v in fps_valid]}


class Figures(unittest.TestCase):
    def test_only_valid_windows_of_all_rounds_enter_the_figures_and_ratios(self):
        rounds = [{'sizes': [{'size': 'Normal', 'client': [320, 200],
                              'windows': [{'rate': 900, 'valid': True}, {'rate': 9000, 'valid': False, 'why': ['x']}],
                              'presenter': presenter((1000, True), (8000, False)),
                              'twin': presenter((800, True))}]},
                  {'sizes': [{'size': 'Normal', 'client': [320, 200], 'windows': [{'rate': 700, 'valid': True}],
                              'presenter': presenter((1000, True)), 'twin': presenter((1200, True))}]}]
        path = {'name': 'our WinG', 'rounds': rounds}
        figures.combine(path)
        case = path['sizes'][0]
        self.assertEqual(case['program']['rates'], [900, 700])
        self.assertEqual(len(case['program']['invalid']), 1)
        self.assertAlmostEqual(case['median_ratio'], 0.8)
        self.assertAlmostEqual(case['ratio'], 0.9)
        self.assertAlmostEqual(case['twin_median_ratio'], 1.0)
        self.assertAlmostEqual(case['twin_ratio'], 1.2)

    def test_a_gap_is_judged_against_the_spread_of_its_own_row(self):
        sizes = [{'size': s, 'median_ratio': r, 'twin_median_ratio': t}
                 for s, r, t in (('Normal', 0.96, 0.80), ('Doubled', 0.90, 1.12), ('Window', 0.90, 0.95))]
        lines = report.gap_against_spread({'paths': [{'name': 'p', 'sizes': sizes + [{'size': 'Other'}]}]})
        self.assertEqual([line.rsplit(': ', 1)[1] for line in lines],
                         ['at or above 0.95', 'within the spread', 'beyond the spread'])


class Sight(unittest.TestCase):
    def test_a_window_counts_only_with_changing_pictures(self):
        class Watch:
            error = None
            pictures = []
        samples = [(t / 10.0, 0, 1, 1000) for t in range(31)]
        for digests, why in (([b'a', b'b', b'a'], []), ([b'a', b'a', b'b'], ['the picture on the screen stood still'])):
            Watch.pictures = [(0.5 + i, 0.6 + i, d, False) for i, d in enumerate(digests)]
            self.assertEqual(judge(0.0, 3.0, samples, Watch, 0.0), why)
        # One colour all over may repeat, but not throughout.
        Watch.pictures = [(0.5 + i, 0.6 + i, b'u', True) for i in range(3)]
        self.assertEqual(judge(0.0, 3.0, samples, Watch, 0.0), ['the picture on the screen stood still'])

    def test_idle_cores_come_from_the_readings_inside_the_window(self):
        watch = ScreenWatch(':0', (0, 0))
        watch.idle = [(0.5, 100.0), (1.0, 100.5), (2.0, 101.5), (3.5, 200.0)]
        self.assertAlmostEqual(watch.idle_cores(0.8, 3.0), 1.0)
        self.assertIsNone(watch.idle_cores(1.5, 3.0))


class FrameWork(unittest.TestCase):
    def test_pieces_come_from_the_records_of_the_valid_windows_per_frame(self):
        record = {'frequency': 1000000, 'turns': 1000, 'messages': 2000, 'rate': 333, 'step': 100000,
                  'pretranslate': 2000, 'dispatch': 880000, 'commands': 10000, 'pane': 5000, 'layout': 0,
                  'tempmap': 3000}
        first = dict(record, start=10000000, ticks=1000000, begin=10.0, end=11.0)
        other = dict(record, start=20000000, ticks=1000000, begin=20.0, end=21.0, commands=30000)
        self.assertIs(frame_work.matching([other, first], {'span': [10.1, 10.9]}), first)
        self.assertIsNone(frame_work.matching([other, first], {'span': [10.5, 11.5]}))
        work = frame_work.per_frame([first, other])
        self.assertAlmostEqual(work['turn_us'], 1000.0)
        self.assertAlmostEqual(work['pieces_us']['commands'], 20.0)
        self.assertAlmostEqual(work['extra_us'], 2.0 + 20.0 + 5.0 + 3.0)
        self.assertAlmostEqual(work['messages_per_turn'], 2.0)


if __name__ == '__main__':
    unittest.main()
