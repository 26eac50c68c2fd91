#!/usr/bin/env python3
"""End-to-end case for the tunes: a private PulseAudio server with a null
sink is started for the case, the program runs under Wine and plays into it,
and a recorder on the sink's monitor captures what it plays. The recording is
cut at its silences and each stretch of sound is compared with the opening
seconds of the tunes' own samples (their pitch profiles):

  1. after start-up, with the frame active: tune 1;
  2. another window active: silence;
  3. the frame active again: tune 1 from its beginning;
  4. after Ctrl+T: tune 2;
  5. after F10: silence.

  run_sound.py --tree TREE --exe PROGRAM --probe PROBE --name NAME --tunes DIR
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # nothing is written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import run_e2e  # noqa: E402
import sound_profile as sp  # noqa: E402
from run_e2e import CAPTION, FRAME  # noqa: E402

RATE = 22050
SILENT_RMS = 50.0      # of 32768: nothing played
PLAYING_RMS = 300.0    # clearly audible
PHASE = 3.0            # seconds in each state


class PulseServer:
    """A PulseAudio server of its own with one null sink, auto_null."""

    def __init__(self):
        self.dir = tempfile.mkdtemp(prefix='velmora-pulse-')
        self.socket = os.path.join(self.dir, 'native')

    def env(self):
        env = dict(os.environ)
        env['XDG_RUNTIME_DIR'] = self.dir
        env['PULSE_SERVER'] = 'unix:' + self.socket
        return env

    def __enter__(self):
        subprocess.run(['pulseaudio', '-n', '--daemonize=yes', '--exit-idle-time=-1', '--use-pid-file=yes',
                        '--load=module-null-sink sink_name=auto_null',
                        '--load=module-native-protocol-unix auth-anonymous=1 socket=' + self.socket],
                       env=self.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True, timeout=30)
        for _ in range(50):
            if subprocess.run(['pactl', 'info'], env=self.env(), stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0:
                return self
            time.sleep(0.1)
        raise RuntimeError('the PulseAudio server did not come up')

    def __exit__(self, *exc):
        subprocess.run(['pulseaudio', '--kill'], env=self.env(), stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)
        shutil.rmtree(self.dir, ignore_errors=True)


class Recorder:
    """Records the null sink's monitor into a file."""

    def __init__(self, pulse, path):
        self.pulse, self.path = pulse, path

    def __enter__(self):
        self.file = open(self.path, 'wb')
        self.proc = subprocess.Popen(['parec', '-d', 'auto_null.monitor', '--format=s16le', '--rate=%d' % RATE,
                                      '--channels=2', '--latency-msec=20'],
                                     env=self.pulse.env(), stdout=self.file, stderr=subprocess.DEVNULL)
        time.sleep(0.5)
        return self

    def __exit__(self, *exc):
        self.proc.terminate()
        self.proc.wait()
        self.file.close()

    def samples(self):
        """Everything recorded, as mono samples at the analysis rate."""
        with open(self.path, 'rb') as f:
            return sp.raw_s16_mono(f.read())


class SoundCase(run_e2e.Case):
    def frame_case(self, runs_before):
        self.refs = {n: sp.profile(sp.read_wav_mono(os.path.join(self.args.tunes, 'riff%d.wav' % n), 3.0))
                     for n in (1, 2, 3)}
        report = self.probe.dump(CAPTION, FRAME)
        self.require(report is not None, 'the probe describes the frame')
        rec = self.recorder
        time.sleep(PHASE)  # tune 1 after start-up
        with self.other_program_active():
            frame = self.probe.dump(CAPTION, FRAME)
            other = self.probe.dump(run_e2e.NOTEPAD, '')
            self.check(frame is not None and not frame['foreground'] and other is not None and other['foreground'],
                       'the other window is in the foreground')
            time.sleep(PHASE)  # silence
            self.probe.run(['foreground', CAPTION, FRAME])
            self.screen.click((report['client'][0] + report['client'][2]) // 2, report['client'][3] - 20)
            time.sleep(PHASE)  # tune 1 again, from its beginning
            self.screen.keys('ctrl+t')
            time.sleep(PHASE)  # tune 2
            self.screen.keys('F10')
            time.sleep(PHASE)  # silence
        self.end_program(report)
        self.require(os.path.getsize(rec.path) > 0, 'the recorder captured the sink')
        self.judge_recording(rec.samples())

    def judge_recording(self, samples):
        """The recording's sound runs: tune 1 from the program's activation
        until the other window is activated, then silence, then tune 1 from
        its beginning and, after Ctrl+T, tune 2, then the silence of F10."""
        block = sp.RATE // 4
        levels = [sp.rms(samples[i:i + block]) for i in range(0, len(samples) - block + 1, block)]
        runs, start = [], None
        for i, level in enumerate(levels + [0.0]):
            if level > PLAYING_RMS and start is None:
                start = i
            elif level < SILENT_RMS and start is not None:
                runs.append((start, i))
                start = None
        print('      sound runs (s): %s' % ['%.2f-%.2f' % (a / 4.0, b / 4.0) for a, b in runs])
        if not self.check(len(runs) == 2, 'two stretches of sound with silence between and after them (got %d)' %
                          len(runs)):
            return
        gap = (runs[1][0] - runs[0][1]) / 4.0
        self.check(gap >= PHASE - 0.5, 'silence while the other window is active (%.2f s)' % gap)
        tail = (len(levels) - runs[1][1]) / 4.0
        self.check(tail >= PHASE - 1.0, 'silence after F10 until the end (%.2f s)' % tail)
        cut = lambda a, b: samples[int(a * sp.RATE):int(b * sp.RATE)]  # noqa: E731
        first = runs[0][0] / 4.0
        self.judge('after start-up', 1, cut(first, first + 2.5))
        again = runs[1][0] / 4.0
        self.judge('when the frame is active again', 1, cut(again, again + 2.5))
        end = runs[1][1] / 4.0
        self.judge('after Ctrl+T', 2, cut(end - 2.25, end - 0.25))

    def judge(self, name, want, samples):
        """Compares a stretch with the opening seconds of each tune."""
        level = sp.rms(samples)
        if not self.check(level > PLAYING_RMS, 'sound %s (level %.0f)' % (name, level)):
            return
        p = sp.profile(samples)
        scores = {n: sp.similarity(p, ref) for n, ref in self.refs.items()}
        best = max(scores, key=scores.get)
        self.check(best == want and scores[want] >= 0.5,
                   'tune %d plays %s (similarity to tunes 1, 2, 3: %s)' %
                   (want, name, ', '.join('%.2f' % scores[n] for n in (1, 2, 3))))

    def run(self):
        missing = [tool for tool in ('pulseaudio', 'pactl', 'parec') if shutil.which(tool) is None]
        if not self.check(not missing, 'the sound tools are installed (missing: %s)' % ', '.join(missing or ['none'])):
            return False
        with PulseServer() as pulse:
            os.environ.update({'PULSE_SERVER': pulse.env()['PULSE_SERVER']})
            with Recorder(pulse, os.path.join(self.dir, 'sink.raw')) as rec:
                self.recorder = rec
                return super().run()


def main():
    p = run_e2e.case_arguments(__doc__)
    p.add_argument('--tunes', required=True, help='the folder of riff1.wav .. riff3.wav')
    p.add_argument('--size', default='800x600', help='virtual desktop size')
    args = p.parse_args()
    args.case = 'frame'
    args.start_minimised = False
    args.exit = 'ctrl-x'
    args.check_run_counter = True   # start past the first run's WinG hint
    args.dll_overrides = ''
    case = SoundCase(args)
    ok = case.run()
    return run_e2e.finish(case, ok)


if __name__ == '__main__':
    sys.exit(main())
