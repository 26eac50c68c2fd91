#!/usr/bin/env python3
"""Tests of the end-to-end harness itself, where cases meet other test runs
on the same machine and build tree: cases that start together must not share
an X server (they would type into each other's programs), and the clean-up of
another test command on the tree must not end the wine server of a prefix
that a case is using (its program would end with exit code 0, as if it had
quit by itself)."""

import fcntl
import os
import subprocess
import sys
import tempfile
import threading
import unittest

sys.dont_write_bytecode = True  # nothing is written into the source tree
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from harness import xserver  # noqa: E402

SCRIPTS = os.path.join(os.path.dirname(os.path.dirname(HERE)), 'scripts')


class Screens(unittest.TestCase):
    def test_cases_starting_together_get_x_servers_of_their_own(self):
        # Both cases find the same number free before either server has
        # made its lock; whether the loser's server has already given up
        # when it asks the display is a matter of timing, so a few rounds.
        for _ in range(3):
            looked = set()
            real = xserver._display_taken
            first = next(n for n in range(160, 260) if not real(n))

            def taken(n, looked=looked, real=real, first=first):
                if n == first and threading.current_thread().name not in looked:
                    looked.add(threading.current_thread().name)
                    return False
                return real(n)

            screens = {}
            barrier = threading.Barrier(2)

            def start(name):
                barrier.wait()
                screens[name] = xserver.PrivateScreen(24).__enter__()

            xserver._display_taken = taken
            try:
                threads = [threading.Thread(target=start, args=(name,), name=name) for name in 'ab']
                for t in threads:
                    t.start()
                for t in threads:
                    t.join()
            finally:
                xserver._display_taken = real
                for screen in screens.values():
                    screen.__exit__()
            self.assertEqual(len(screens), 2)
            self.assertNotEqual(screens['a'].display, screens['b'].display)


class WineServers(unittest.TestCase):
    def test_stop_all_leaves_the_server_of_a_prefix_in_use_alone(self):
        with tempfile.TemporaryDirectory() as tree:
            for name in ('busy', 'idle'):
                os.makedirs(os.path.join(tree, 'wine', name))
            # A wineserver that only notes which prefix it was asked to end.
            stub = os.path.join(tree, 'bin')
            os.makedirs(stub)
            log = os.path.join(tree, 'ended')
            with open(os.path.join(stub, 'wineserver'), 'w') as f:
                f.write('#!/bin/sh\necho "${WINEPREFIX##*/} $*" >> "%s"\n' % log)
            os.chmod(os.path.join(stub, 'wineserver'), 0o755)
            env = dict(os.environ, PATH=stub + os.pathsep + os.environ['PATH'])
            with open(os.path.join(tree, 'wine', 'busy.lock'), 'w') as lock:
                fcntl.flock(lock, fcntl.LOCK_EX)  # as a running case holds it
                subprocess.run(['bash', '-c', '. "$0/wine-prefix.sh"; velmora_wine_stop_all "$1"', SCRIPTS, tree],
                               env=env, check=True, timeout=60)
            with open(log) as f:
                self.assertEqual(f.read().split('\n'), ['idle -k', ''])

    def test_a_prefix_whose_set_up_fails_is_not_marked_ready(self):
        with tempfile.TemporaryDirectory() as tree:
            # Wine's set-up fails; the other Wine commands do nothing.
            stub = os.path.join(tree, 'bin')
            os.makedirs(stub)
            for name, code in (('wineboot', 1), ('wineserver', 0), ('wine', 0)):
                with open(os.path.join(stub, name), 'w') as f:
                    f.write('#!/bin/sh\nexit %d\n' % code)
                os.chmod(os.path.join(stub, name), 0o755)
            env = dict(os.environ, PATH=stub + os.pathsep + os.environ['PATH'])
            done = subprocess.run(['bash', '-c', '. "$0/wine-prefix.sh"; velmora_wine_env "$1" 24; '
                                   'velmora_wine_prefix_ready', SCRIPTS, tree], env=env, timeout=60,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
            self.assertNotEqual(done.returncode, 0)
            self.assertIn(b'setting up', done.stderr)
            self.assertFalse(os.path.exists(os.path.join(tree, 'wine', 'desktop-24', '.velmora-ready')))


if __name__ == '__main__':
    unittest.main()
