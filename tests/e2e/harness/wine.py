"""The Wine side of a test case: one desktop prefix per build tree shared by
all end-to-end cases (they take its lock in turn), the desktop size set for
each case, the program under test and the probe started inside it."""

import contextlib
import fcntl
import json
import os
import re
import subprocess
import time

QUIET_OVERRIDES = 'mscoree,mshtml='
SCRIPTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', '..', 'scripts')
# Bumped whenever the prefix's set-up changes, so that old prefixes are made anew.
PREFIX_VERSION = '3'


class Prefix:
    def __init__(self, tree, screen, name='e2e-desktop-24', fresh=False):
        """NAME picks another prefix of the tree (with a lock of its own);
        FRESH makes it anew when the case takes it."""
        self.path = os.path.join(os.path.abspath(tree), 'wine', name)
        self.screen = screen
        self.fresh = fresh
        self._lock = None

    def env(self, **extra):
        env = self.screen.env()
        env['WINEPREFIX'] = self.path
        env['WINEDEBUG'] = '-all'
        env['WINEDLLOVERRIDES'] = QUIET_OVERRIDES
        env.update(extra)
        return env

    def _wine(self, args, timeout=120):
        subprocess.run(args, env=self.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       stdin=subprocess.DEVNULL, timeout=timeout)

    def __enter__(self):
        """Takes the prefix for this case (creating it the first time)."""
        os.makedirs(os.path.dirname(self.path), exist_ok=True)
        self._lock = open(self.path + '.lock', 'w')
        fcntl.flock(self._lock, fcntl.LOCK_EX)
        ready = os.path.join(self.path, '.velmora-ready')
        if self.fresh or not self._is_current(ready):
            subprocess.run(['rm', '-rf', self.path], check=True)
            self._wine(['wineboot', '-i'])
            self._wine(['wineserver', '-w'])
            # Wine's own fonts, Marlett's caption-button glyphs among them.
            subprocess.run(['bash', os.path.join(SCRIPTS, 'wine-fonts.sh'), self.path], check=True)
            self._wine(['wine', 'reg', 'add', r'HKCU\Software\Wine\Explorer', '/v', 'Desktop', '/d', 'Default', '/f'])
            self._wine(['wine', 'reg', 'add', r'HKCU\Software\Wine\Explorer\Desktops', '/v', 'Default', '/d', '1024x768',
                        '/f'])
            # A crashing program ends at once with Wine's one-line report in
            # its output, instead of waiting in a debugger window: the
            # configured debugger does not exist.
            self._wine(['wine', 'reg', 'add', r'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug', '/v',
                        'Debugger', '/d', 'velmora-no-debugger.exe', '/f'])
            self._wine(['wineserver', '-w'])
            with open(os.path.join(self.path, 'user.reg'), encoding='utf-8', errors='replace') as f:
                if '"Default"="1024x768"' not in f.read():
                    raise RuntimeError('making the Wine prefix %s failed' % self.path)
            with open(ready, 'w') as f:
                f.write(PREFIX_VERSION)
        self.stop()
        return self

    @staticmethod
    def _is_current(ready):
        try:
            with open(ready) as f:
                return f.read() == PREFIX_VERSION
        except OSError:
            return False

    def __exit__(self, *exc):
        self.stop()
        if self._lock is not None:
            fcntl.flock(self._lock, fcntl.LOCK_UN)
            self._lock.close()

    def stop(self):
        """Ends every process of the prefix and its wine server."""
        self._wine(['wineserver', '-k'], timeout=30)
        self._wine(['wineserver', '-w'], timeout=30)
        marker = os.path.join(self.path, '.velmora-server')
        if os.path.exists(marker):
            os.remove(marker)

    def set_desktop_size(self, size):
        """Rewrites the size of the default virtual desktop in the stored
        registry; the wine server is down, so it reads the file when it starts."""
        path = os.path.join(self.path, 'user.reg')
        with open(path, encoding='utf-8', errors='surrogateescape') as f:
            text = f.read()
        section = re.search(r'^\[Software\\\\Wine\\\\Explorer\\\\Desktops\][^\n]*\n(?:(?!\[)[^\n]*\n)*', text, re.M)
        if section is None or '"Default"=' not in section.group(0):
            raise RuntimeError('%s has no virtual desktop size' % path)
        body = re.sub(r'^"Default"="[^"]*"', '"Default"="%s"' % size, section.group(0), flags=re.M)
        text = text[:section.start()] + body + text[section.end():]
        with open(path, 'w', encoding='utf-8', errors='surrogateescape') as f:
            f.write(text)

    def server_pid(self):
        """The process id of this prefix's wine server, or None."""
        wanted = ('WINEPREFIX=' + self.path).encode()
        for entry in os.listdir('/proc'):
            if not entry.isdigit():
                continue
            try:
                with open('/proc/%s/comm' % entry) as f:
                    if not f.read().startswith('wineserver'):
                        continue
                with open('/proc/%s/environ' % entry, 'rb') as f:
                    if wanted in f.read().split(b'\0'):
                        return int(entry)
            except OSError:
                continue
        return None

    def windows_dir(self):
        return os.path.join(self.path, 'drive_c', 'windows')

    def start(self, exe, log_path, overrides='', minimised=False, args=(), extra_env=None):
        """Starts a Windows program with ARGS (through `start /wait /min` when
        it is to be started minimised; start passes the exit code on). Its output goes
        to a file, because Wine's helper processes would hold a pipe open
        after the program ends."""
        log = open(log_path, 'w')
        env = self.env(WINEDLLOVERRIDES=QUIET_OVERRIDES + (';' + overrides if overrides else ''), **(extra_env or {}))
        launcher = ['wine', 'start', '/wait', '/min'] if minimised else ['wine']
        command = launcher + [os.path.basename(exe)] + [str(a) for a in args]
        proc = subprocess.Popen(command, cwd=os.path.dirname(os.path.abspath(exe)), env=env, stdout=log,
                                stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        log.close()
        return proc


class Probe:
    """Runs velmora_probe.exe on the prefix's desktop; keeps every report it
    printed for the failure dump."""

    def __init__(self, prefix, exe, work_dir):
        self.prefix = prefix
        self.exe = os.path.abspath(exe)
        self.work_dir = work_dir
        self.transcript = []

    def run(self, *commands, timeout=30):
        """Each command is a list of arguments; they run in one probe process.
        Returns (exit code, list of parsed JSON reports)."""
        args = []
        for i, cmd in enumerate(commands):
            if i:
                args.append(';')
            args.extend(str(a) for a in cmd)
        out_path = os.path.join(self.work_dir, 'probe-out.txt')
        with open(out_path, 'w') as out:
            try:
                rc = subprocess.run(['wine', self.exe] + args, env=self.prefix.env(), stdout=out,
                                    stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, timeout=timeout).returncode
            except subprocess.TimeoutExpired:
                rc = -1
        reports = []
        with open(out_path, encoding='utf-8', errors='replace') as f:
            for line in f:
                line = line.strip()
                if line.startswith('{') or line.startswith('['):
                    try:
                        reports.append(json.loads(line))
                    except ValueError:
                        pass
        self.transcript.append({'args': args, 'rc': rc, 'reports': reports})
        return rc, reports

    @contextlib.contextmanager
    def window_of_its_own(self, *command):
        """Runs a probe command that makes a window and serves it (host) or
        hangs (hang) in a probe process of its own; yields the window's
        handle once reported (None if none came within 30 s). The process is
        ended when the block is left."""
        log_path = os.path.join(self.work_dir, '%s.txt' % command[0])
        with open(log_path, 'w') as out:
            proc = subprocess.Popen(['wine', self.exe] + [str(a) for a in command], env=self.prefix.env(),
                                    stdout=out, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        try:
            hwnd = None
            deadline = time.monotonic() + 30
            while hwnd is None and time.monotonic() < deadline and proc.poll() is None:
                time.sleep(0.3)
                with open(log_path, errors='replace') as f:
                    m = re.search(r'"command":"%s","hwnd":(\d+)' % command[0], f.read())
                hwnd = int(m.group(1)) if m else None
            yield hwnd
        finally:
            if proc.poll() is None:
                proc.kill()
            proc.wait()

    def wait_window(self, caption, deadline, program, cls=''):
        """Waits until the window exists. A probe that started before the
        desktop was ready may not see it, so the wait is a series of probes."""
        while time.monotonic() < deadline:
            if program.poll() is not None:
                return None
            rc, reports = self.run(['wait', caption, cls, 4000])
            if rc == 0:
                return reports[0]['hwnd']
        return None

    def dump(self, caption, cls=''):
        rc, reports = self.run(['dump', caption, cls])
        return reports[0] if rc == 0 and reports else None
