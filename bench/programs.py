"""Starting and ending the programs the frame-rate benchmark measures, in
the benchmark's own Wine prefix: the program (velmora95.exe, with our
WING32.DLL beside it as it ships), the minimal presenter and the probe, all
staged in one folder so that they find the same library; and what /proc
tells about the Linux process that runs a Windows program."""

import json
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), 'tests', 'e2e'))

from harness.wine import QUIET_OVERRIDES, Prefix, Probe  # noqa: E402

CAPTION = 'Velmora 95'
FRAME = '!#32770'
ID_VIEW = 59648
ID_APP_EXIT = 57665
PRESENTER_CAPTION, PRESENTER_CLASS = 'Velmora presenter', 'VelmoraPresenter'
CLOCK_TICKS = os.sysconf('SC_CLK_TCK')
# What the stage holds, from the Windows build tree.
STAGED = ('app/velmora95.exe', 'wing/WING32.DLL', 'bench/velmora_presenter.exe', 'tests/e2e/velmora_probe.exe',
          'bench/velmora95_benchbuild.exe')


def log(text):
    print(text, flush=True)


class BenchPrefix(Prefix):
    """The harness's desktop prefix, kept in the benchmark's own folder."""

    def __init__(self, folder, screen):
        super().__init__(folder, screen)
        self.path = os.path.join(folder, 'prefix')


def wine_pid(launcher_pid, exe_name):
    """The Linux process that runs the Windows program: the launcher itself
    once wine has exec'd the loader, else one of its descendants."""
    todo = [launcher_pid]
    while todo:
        pid = todo.pop(0)
        try:
            with open('/proc/%d/cmdline' % pid, 'rb') as f:
                if exe_name.lower().encode() in f.read().lower():
                    return pid
        except OSError:
            continue
        todo.extend(children(pid))
    return None


def children(pid):
    try:
        with open('/proc/%d/task/%d/children' % (pid, pid)) as f:
            return [int(p) for p in f.read().split()]
    except OSError:
        return []


def peak_kib(pid):
    """VmHWM, the process's peak resident set, in KiB (None when gone)."""
    try:
        with open('/proc/%d/status' % pid) as f:
            for line in f:
                if line.startswith('VmHWM:'):
                    return int(line.split()[1])
    except OSError:
        pass
    return None


def cpu_seconds(pid):
    """User plus system time the process has used, in seconds (None when gone)."""
    try:
        with open('/proc/%d/stat' % pid) as f:
            fields = f.read().rsplit(')', 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS
    except (OSError, IndexError, ValueError):
        return None


def mapped_wing(pid):
    """The WING32.DLL file mapped into the process, if any."""
    try:
        with open('/proc/%d/maps' % pid) as f:
            for line in f:
                name = line.split(None, 5)[5].strip() if len(line.split(None, 5)) == 6 else ''
                if os.path.basename(name).lower() == 'wing32.dll':
                    return name
    except OSError:
        pass
    return ''


def pe_machine(path):
    """'i686' or 'x86_64', from the Windows executable's header."""
    with open(path, 'rb') as f:
        head = f.read(4096)
    at = int.from_bytes(head[0x3C:0x40], 'little')
    machine = int.from_bytes(head[at + 4:at + 6], 'little') if head[at:at + 4] == b'PE\0\0' else 0
    return {0x14C: 'i686', 0x8664: 'x86_64'}.get(machine, 'unknown')


def stage_programs(tree, stage):
    """Copies the programs (STAGED, paths in TREE) into the folder STAGE,
    made anew; returns the program's machine."""
    shutil.rmtree(stage, ignore_errors=True)
    os.makedirs(stage)
    for rel in STAGED:
        src = os.path.join(tree, rel)
        if not os.path.exists(src):
            raise SystemExit('frame_rate: %s is not built' % src)
        shutil.copy2(src, stage)
    return pe_machine(os.path.join(stage, 'velmora95.exe'))


def view_client(report, place=False):
    """The view's client size [w, h] from a probe dump of the frame; with
    PLACE, where its client area begins on the desktop [x, y]."""
    view = next((c for c in (report or {}).get('children', []) if c['id'] == ID_VIEW and c['visible']), None)
    if view is None:
        return None
    left, top, right, bottom = view['client']
    return [left, top] if place else [right - left, bottom - top]


class Programs:
    """The staged programs on one screen and prefix."""

    def __init__(self, folder, stage, screen, prefix):
        self.folder = folder
        self.stage = stage
        self.screen = screen
        self.prefix = prefix
        self.probe = Probe(prefix, os.path.join(stage, 'velmora_probe.exe'), folder)
        self.origin = None

    def desktop_origin(self):
        """Where Wine's virtual desktop sits on the X screen (asked once, while
        the program runs; the desktop comes back at the same place)."""
        if self.origin is None:
            _, x, y = self.screen.desktop_window()
            self.origin = (x, y)
        return self.origin

    def write_settings(self, frame_rate=None):
        """A later run: the first run without WinG would stop at a hint box."""
        with open(os.path.join(self.prefix.windows_dir(), 'QUARVELL.INI'), 'w', encoding='latin-1',
                  newline='\r\n') as f:
            f.write('[Velmora]\nNum Runs=1\n')
            if frame_rate is not None:
                f.write('Frame Rate=%d\n' % frame_rate)

    def start_program(self, path, frame_rate=None, exe='velmora95.exe'):
        """Starts the program; returns (process, pid, view size at start)."""
        self.write_settings(frame_rate)
        program = self.prefix.start(os.path.join(self.stage, exe), os.path.join(self.folder, 'program.log'),
                                    path['overrides'])
        hwnd = self.probe.wait_window(CAPTION, time.monotonic() + 60, program, FRAME)
        if hwnd is None:
            self.end_program(program, path)
            raise RuntimeError('the program shows no frame')
        pid = wine_pid(program.pid, exe)
        self.desktop_origin()
        start = view_client(self.probe.dump(CAPTION, FRAME))
        path['wing_in_use'] = start == [640, 400]
        path['library'] = mapped_wing(pid) if pid else ''
        log('  starts at %s, WinG in use: %s, library: %s' % (start, path['wing_in_use'], path['library'] or '-'))
        return program, pid, start

    def end_program(self, program, path):
        self.probe.run(['command', CAPTION, FRAME, ID_APP_EXIT])
        try:
            program.wait(timeout=15)
        except subprocess.TimeoutExpired:
            program.kill()
            program.wait()
        path['exit_code'] = program.returncode

    def spawn_probe(self, args, out_path):
        """The probe in the background, for a watch beside another program."""
        with open(out_path, 'w') as out:
            return subprocess.Popen(['wine', self.probe.exe] + [str(a) for a in args], env=self.prefix.env(),
                                    stdout=out, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)

    def presenter(self, args, overrides, name):
        """Runs the presenter; returns its JSON report and its peak memory."""
        out_path = os.path.join(self.folder, name + '.out')
        # Output to a file: Wine's helper processes would hold a pipe open.
        env = self.prefix.env(WINEDLLOVERRIDES=QUIET_OVERRIDES + (';' + overrides if overrides else ''))
        with open(out_path, 'w') as out:
            proc = subprocess.Popen(['wine', 'velmora_presenter.exe'] + [str(a) for a in args], cwd=self.stage,
                                    env=env, stdout=out, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        peak = None
        deadline = time.monotonic() + 120
        while proc.poll() is None and time.monotonic() < deadline:
            pid = wine_pid(proc.pid, 'velmora_presenter.exe')
            peak = (peak_kib(pid) if pid else None) or peak
            time.sleep(0.25)
        if proc.poll() is None:
            proc.kill()
            proc.wait()
        with open(out_path, errors='replace') as f:
            for line in f:
                if line.startswith('{'):
                    report = json.loads(line)
                    report['peak_kib'] = peak
                    return report
        raise RuntimeError('the presenter printed no report (exit code %s); see %s' % (proc.returncode, out_path))
