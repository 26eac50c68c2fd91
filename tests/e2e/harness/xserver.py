"""A private Xvfb screen for one test case, and the X-side tools: xdotool for
keys and clicks, ImageMagick's import for screenshots."""

import os
import subprocess
import time


def _display_taken(n):
    """Whether display :n belongs to a running X server. A lock file whose
    server is gone (one that was killed) is removed with its socket, so that
    stale files cannot use up the display numbers."""
    lock = '/tmp/.X%d-lock' % n
    socket = '/tmp/.X11-unix/X%d' % n
    if not os.path.exists(lock):
        return os.path.exists(socket)
    try:
        with open(lock) as f:
            pid = int(f.read().strip())
        os.kill(pid, 0)
        return True
    except ProcessLookupError:
        pass
    except (OSError, ValueError):
        return True  # unreadable or someone else's: leave it alone
    for path in (lock, socket):
        try:
            os.remove(path)
        except FileNotFoundError:
            pass
        except OSError:
            return True
    return False


def _lock_owner(n):
    """The process id written in display :n's lock file, or None."""
    try:
        with open('/tmp/.X%d-lock' % n) as f:
            return int(f.read().strip())
    except (OSError, ValueError):
        return None


class PrivateScreen:
    """Starts Xvfb on the first free display number from 160 on."""

    def __init__(self, depth=24, size='1024x768'):
        self.depth = depth
        self.size = size
        self.process = None
        self.display = None

    def __enter__(self):
        for n in range(160, 260):
            if _display_taken(n):
                continue
            # -s 0: no screen saver. Nothing types into this screen for
            # minutes at a time, and the default saver would start after ten.
            proc = subprocess.Popen(
                ['Xvfb', ':%d' % n, '-screen', '0', '%sx%d' % (self.size, self.depth), '-nolisten', 'tcp', '-noreset',
                 '-s', '0'],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
            for _ in range(100):
                if proc.poll() is not None:
                    break
                # The display is ours only once our server holds its lock:
                # another case may have started a server on the same number
                # a moment earlier, and sharing it would mix the two cases'
                # keys, clicks and windows.
                if _lock_owner(n) == proc.pid and subprocess.run(
                        ['xdpyinfo', '-display', ':%d' % n], stdout=subprocess.DEVNULL,
                        stderr=subprocess.DEVNULL).returncode == 0:
                    self.process = proc
                    self.display = ':%d' % n
                    return self
                time.sleep(0.1)
            if proc.poll() is None:
                proc.kill()
                proc.wait()
        raise RuntimeError('could not start Xvfb')

    def __exit__(self, *exc):
        # Terminated, not killed: Xvfb then removes its lock file and socket,
        # which would otherwise hold the display number for good.
        if self.process is not None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    def env(self):
        env = dict(os.environ)
        env['DISPLAY'] = self.display
        return env

    def run(self, args, check=True):
        result = subprocess.run(args, env=self.env(), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                stdin=subprocess.DEVNULL, text=True, timeout=30)
        if check and result.returncode != 0:
            raise RuntimeError('%s failed: %s' % (' '.join(args), result.stderr.strip()))
        return result.stdout

    def screenshot(self, path):
        """The whole screen; the format follows the file name (.ppm, .png)."""
        self.run(['import', '-window', 'root', '-depth', '8', path])
        return path

    def desktop_window(self):
        """The X window of Wine's virtual desktop and its position on the screen."""
        ids = self.run(['xdotool', 'search', '--name', 'Wine desktop'], check=False).split()
        if not ids:
            raise RuntimeError('no Wine desktop window on %s' % self.display)
        window = ids[0]
        x = y = 0
        for line in self.run(['xdotool', 'getwindowgeometry', window]).splitlines():
            line = line.strip()
            if line.startswith('Position:'):
                x, y = (int(v) for v in line.split()[1].split(','))
        return window, x, y

    def keys(self, *keys, pause=0.3):
        """Types keys into the virtual desktop, which hands them to the
        foreground window of the desktop."""
        window, _, _ = self.desktop_window()
        self.run(['xdotool', 'windowfocus', '--sync', window])
        for key in keys:
            self.run(['xdotool', 'key', key])
            time.sleep(pause)

    def click(self, x, y):
        """A left click at desktop coordinates (x, y)."""
        window, _, _ = self.desktop_window()
        self.run(['xdotool', 'mousemove', '--window', window, str(x), str(y)])
        time.sleep(0.2)
        self.run(['xdotool', 'click', '1'])
