#!/usr/bin/env python3
"""The velmora95 command's own decisions, installed into a scratch folder,
with stand-ins for Wine's two loaders (named by VELMORA95_WINE and first on
PATH) that record each call: which build it runs where Wine's 32-bit loader
starts and where it does not, --arch, a prefix for 32-bit programs only,
the frame rate it stores in QUARVELL.INI, malformed values, and two first
starts at the same moment.

  launcher_test.py --launcher cmake/debian/velmora95
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import threading

# The loaders' stand-in: --version answers (the 32-bit one fails as a
# kernel without 32-bit support makes it fail, when told to), wineboot makes
# a 64-bit prefix slowly, anything else is logged as "<bits> <folder>
# <WINELOADER> <arguments>". A call that still holds the command's lock
# (file descriptor 9) is logged too.
LOADER = r'''#!/bin/sh
bits=$1; shift
[ -e /proc/$$/fd/9 ] && echo "lock held by $bits $*" >>"$STANDIN/calls"
if [ "$bits" = 32 ] && [ -e "$STANDIN/no32" ]; then
  echo "$STANDIN/wine: Exec format error" >&2; exit 126
fi
case $1 in
  --version) echo wine-8.0; exit 0 ;;
  wineboot)
    sleep 1
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    printf 'WINE REGISTRY Version 2\n#arch=win64\n' >"$WINEPREFIX/system.reg"
    echo "$bits wineboot" >>"$STANDIN/calls"; exit 0 ;;
esac
echo "$bits $(pwd) ${WINELOADER:-} $*" >>"$STANDIN/calls"
'''


class Launcher:
    def __init__(self, source):
        self.tmp = tempfile.mkdtemp(prefix='velmora-launcher-')
        self.root = os.path.join(self.tmp, 'usr')
        self.standin = os.path.join(self.tmp, 'wine')
        os.makedirs(os.path.join(self.root, 'bin'))
        shutil.copy(source, os.path.join(self.root, 'bin', 'velmora95'))
        for build in ('win32', 'win64'):
            os.makedirs(os.path.join(self.root, 'lib', 'velmora95', build))
            for name in ('velmora95.exe', 'velmora95.scr'):
                open(os.path.join(self.root, 'lib', 'velmora95', build, name), 'w').close()
        os.makedirs(self.standin)
        self.write(os.path.join(self.standin, 'loader'), LOADER)
        self.write(os.path.join(self.standin, 'wine'), '#!/bin/sh\nexec "$STANDIN/loader" 32 "$@"\n')
        self.write(os.path.join(self.standin, 'wine64'), '#!/bin/sh\nexec "$STANDIN/loader" 64 "$@"\n')
        self.reset(runs32=True)

    @staticmethod
    def write(path, text):
        with open(path, 'w') as f:
            f.write(text)
        os.chmod(path, 0o755)

    def reset(self, runs32):
        """A user without a prefix yet, on a machine whose Wine does or
        does not start 32-bit programs."""
        self.data = tempfile.mkdtemp(dir=self.tmp, prefix='data-')
        self.prefix = os.path.join(self.data, 'velmora95', 'wine')
        self.ini = os.path.join(self.prefix, 'drive_c', 'windows', 'QUARVELL.INI')
        for name in ('calls', 'no32'):
            if os.path.exists(os.path.join(self.standin, name)):
                os.remove(os.path.join(self.standin, name))
        if not runs32:
            open(os.path.join(self.standin, 'no32'), 'w').close()

    def run(self, *args):
        env = {k: v for k, v in os.environ.items() if not k.startswith('WINE')}
        env.update(PATH=self.standin + ':' + os.environ['PATH'], VELMORA95_WINE=self.standin, STANDIN=self.standin,
                   DISPLAY=':99', HOME=self.tmp, XDG_DATA_HOME=self.data)
        return subprocess.run([os.path.join(self.root, 'bin', 'velmora95')] + list(args), env=env, text=True,
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, timeout=60)

    def calls(self):
        path = os.path.join(self.standin, 'calls')
        return open(path).read().splitlines() if os.path.exists(path) else []

    def settings(self):
        return open(self.ini, 'rb').read() if os.path.exists(self.ini) else None


failures = []


def check(ok, what):
    print('%s: %s' % ('ok  ' if ok else 'FAIL', what))
    if not ok:
        failures.append(what)


def test_choice(t):
    lib = os.path.join(t.root, 'lib', 'velmora95')
    for runs32, want, build, loader in ((True, 'the i686 build', 'win32', ''),
                                        (False, 'the x86_64 build', 'win64', os.path.join(t.standin, 'wine64'))):
        t.reset(runs32)
        help_text = t.run('--help').stdout
        check(help_text.strip().splitlines()[-1].startswith('Here: ' + want) and
              (runs32 or 'Exec format error' in help_text),
              '--help names %s and why where 32-bit Wine %s (%s)' %
              (want, 'starts' if runs32 else 'fails', help_text.strip().splitlines()[-1]))
        result = t.run()
        bits = '32' if runs32 else '64'
        want_calls = ['64 wineboot', '%s %s %s velmora95.exe' % (bits, os.path.join(lib, build), loader)]
        check(result.returncode == 0 and t.calls() == want_calls,
              'it sets up a 64-bit prefix and runs %s with the %s-bit loader (%s: %s)' %
              (want, bits, result.returncode, t.calls()))
    wine_fonts = '/usr/share/wine/fonts'
    if os.path.isdir(wine_fonts):
        fonts = os.path.join(t.prefix, 'drive_c', 'windows', 'Fonts')
        check(sorted(os.listdir(fonts)) == sorted(os.listdir(wine_fonts)) and
              all(os.path.realpath(os.path.join(fonts, f)) == os.path.join(wine_fonts, f) for f in os.listdir(fonts)),
              'the new prefix\'s Fonts links Wine\'s fonts (%d of %d)' %
              (len(os.listdir(fonts)), len(os.listdir(wine_fonts))))

    t.reset(runs32=True)
    result = t.run('--arch', '64', '--saver')
    check(result.returncode == 0 and t.calls()[-1].endswith('win64 %s velmora95.scr /s' %
                                                            os.path.join(t.standin, 'wine64')),
          '--arch 64 runs the x86_64 build where the i686 one could run (%s)' % t.calls())
    t.reset(runs32=False)
    result = t.run('--arch', '32')
    check(result.returncode == 1 and 'Exec format error' in result.stdout and not t.calls(),
          '--arch 32 where 32-bit Wine fails says why and ends with 1 (%d: %s)' % (result.returncode, result.stdout))
    # A prefix that an earlier Wine made for 32-bit programs only.
    os.makedirs(os.path.join(t.prefix, 'drive_c', 'windows'))
    with open(os.path.join(t.prefix, 'system.reg'), 'w') as f:
        f.write('WINE REGISTRY Version 2\n#arch=win32\n')
    result = t.run()
    check(result.returncode == 1 and '32-bit programs only' in result.stdout and not t.calls(),
          'a 32-bit-only prefix where only the x86_64 build runs: said, nothing started (%d: %s)' %
          (result.returncode, result.stdout.strip()))


def test_refusals(t):
    for args in (['--desktop', '800'], ['--desktop', '800x'], ['--desktop', '8x6x4'], ['--arch', '86'],
                 ['--frame-rate', '1001'], ['--frame-rate', '-1'], ['--frame-rate', '60x'], ['--frame-rate='], ['--frame-rate']):
        t.reset(runs32=True)
        result = t.run(*args)
        check(result.returncode == 2 and not t.calls() and not os.path.exists(t.prefix),
              '%s is refused with 2 before anything starts (%d: %s)' %
              (' '.join(args), result.returncode, result.stdout.strip()))


def test_frame_rate(t):
    t.reset(runs32=True)
    t.run()
    check(t.settings() == b'[Velmora]\r\nFrame Rate=60\r\n', 'the first start stores Frame Rate=60 (%r)' %
          t.settings())
    # The program's own file: other sections and keys, a key spelt otherwise.
    before = b'[WinG]\r\nDo Not Use=1\r\n\r\n[velmora]\r\nNum Runs=3\r\n frame rate = 30\r\n[Other]\r\nFrame Rate=5\r\n'
    with open(t.ini, 'wb') as f:
        f.write(before)
    t.run()
    check(t.settings() == before, 'a start without --frame-rate keeps a stored rate, byte for byte')
    t.run('--frame-rate', '0')
    check(t.settings() == before.replace(b' frame rate = 30', b'Frame Rate=0'),
          '--frame-rate 0 replaces the stored rate and nothing else (%r)' % t.settings())
    t.run('--frame-rate=0120')
    check(b'\r\nFrame Rate=120\r\n' in t.settings(), '--frame-rate=0120 stores 120')
    with open(t.ini, 'wb') as f:
        f.write(b'[WinG]\r\nDo Not Use=1')
    t.run('--frame-rate', '30')
    check(t.settings() == b'[WinG]\r\nDo Not Use=1\r\n\r\n[Velmora]\r\nFrame Rate=30\r\n',
          'a file without the section gains it at its end (%r)' % t.settings())


def test_simultaneous_first_starts(t):
    t.reset(runs32=True)
    results = [None, None]

    def start(i):
        results[i] = t.run()
    threads = [threading.Thread(target=start, args=(i,)) for i in range(2)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    calls = t.calls()
    check([r.returncode for r in results] == [0, 0] and calls.count('64 wineboot') == 1 and
          sum(c.endswith('velmora95.exe') for c in calls) == 2 and not any('lock' in c for c in calls) and
          t.settings() == b'[Velmora]\r\nFrame Rate=60\r\n',
          'two first starts at once: one set-up, both programs run, Wine keeps no lock, one stored rate (%s, %r)' %
          (calls, t.settings()))


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument('--launcher', required=True)
    args = p.parse_args()
    t = Launcher(args.launcher)
    try:
        test_choice(t)
        test_refusals(t)
        test_frame_rate(t)
        test_simultaneous_first_starts(t)
    finally:
        shutil.rmtree(t.tmp, ignore_errors=True)
    print('%d failed' % len(failures))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
