#!/usr/bin/env python3
"""The Debian package as a Linux user gets it: made by cpack in the i686
tree beside that tree's zip, with the x86_64 tree's zip made beside it; its
file list (both zips' files), icons and lintian's verdict checked, installed
with apt-get, the velmora95 command run with the system's PATH alone (no
Wine of the tests') inside a virtual desktop on a private Xvfb screen (a
window "Velmora 95" with stars, ended by File > Exit with code 0, the build
its --help names being the one this machine's Wine starts), its Wine prefix
found under XDG_DATA_HOME and nowhere else with the frame rate of a first
start stored, and the package removed again, leaving nothing outside the
user's data folder.

Installing needs root and the dpkg lock: the tests run as root, and this
case takes its lock in turn. A velmora95 package already installed is
purged first.

  deb_e2e.py --tree TREE --win32-tree DIR --win64-tree DIR --version X.Y.Z --probe PROBE [--cpack CPACK]
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import types
import zlib

sys.dont_write_bytecode = True  # nothing is written into the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), 'e2e'))

import run_e2e  # noqa: E402
from harness.wine import Probe  # noqa: E402
from harness.xserver import PrivateScreen  # noqa: E402
from run_e2e import CAPTION, FRAME  # noqa: E402

PACKAGE = 'velmora95'
LIBDIR = 'usr/lib/velmora95'
DESKTOP = '1024x768'
DEPENDS = 'wine'
# A user's PATH: the command must find Wine by itself.
SYSTEM_PATH = '/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin'
# The Linux files besides the zip's; the icons are checked on their own.
LINUX_FILES = {
    'usr/bin/velmora95': 0o755,
    'usr/share/applications/velmora95.desktop': 0o644,
    'usr/share/man/man6/velmora95.6.gz': 0o644,
    'usr/share/doc/velmora95/copyright': 0o644,
    'usr/share/doc/velmora95/changelog.gz': 0o644,
}
ICON_DIR = 'usr/share/icons/hicolor/'
ICON_SIZES_AT_LEAST = {16, 32, 48}


def run(args, **kw):
    return subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                          stdin=subprocess.DEVNULL, **kw)


def read_ico(path):
    """The 32 x 32 4-bit image of the program's .ico as RGBA rows."""
    with open(path, 'rb') as f:
        data = f.read()
    offset = struct.unpack_from('<I', data, 18)[0]
    header, width, height2, _, bits = struct.unpack_from('<IiiHH', data, offset)
    if (width, height2, bits) != (32, 64, 4):
        raise ValueError('%s: not a 32 x 32 16-colour icon' % path)
    table = offset + header
    colours = [tuple(data[table + 4 * i + 2 - c] for c in range(3)) for i in range(16)]
    xor = table + 64
    mask = xor + 32 * 16
    rows = []
    for y in range(32):
        src = 31 - y  # bottom-up
        row = []
        for x in range(32):
            byte = data[xor + src * 16 + x // 2]
            index = byte >> 4 if x % 2 == 0 else byte & 15
            clear = data[mask + src * 4 + x // 8] >> (7 - x % 8) & 1
            row.append(colours[index] + (0 if clear else 255,))
        rows.append(row)
    return rows


def read_png(path):
    """An 8-bit palette PNG (with tRNS) as RGBA rows; every chunk's CRC is checked."""
    with open(path, 'rb') as f:
        data = f.read()
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        raise ValueError('%s: not a PNG file' % path)
    pos, chunks = 8, {}
    while pos < len(data):
        length, kind = struct.unpack_from('>I4s', data, pos)
        body = data[pos + 8:pos + 8 + length]
        crc = struct.unpack_from('>I', data, pos + 8 + length)[0]
        if zlib.crc32(kind + body) != crc:
            raise ValueError('%s: bad CRC in chunk %s' % (path, kind))
        chunks[kind] = chunks.get(kind, b'') + body
        pos += 12 + length
    width, height, depth, kind, _, _, interlace = struct.unpack('>IIBBBBB', chunks[b'IHDR'])
    if (depth, kind, interlace) != (8, 3, 0):
        raise ValueError('%s: not an 8-bit palette picture' % path)
    palette = chunks[b'PLTE']
    alpha = chunks.get(b'tRNS', b'')
    raw = zlib.decompress(chunks[b'IDAT'])
    rows = []
    for y in range(height):
        line = raw[y * (width + 1):(y + 1) * (width + 1)]
        if line[0] != 0:
            raise ValueError('%s: row %d uses filter %d' % (path, y, line[0]))
        rows.append([tuple(palette[3 * i:3 * i + 3]) + (alpha[i] if i < len(alpha) else 255,) for i in line[1:]])
    return rows


class DebCase(run_e2e.Case):
    # The command ends after Wine has closed the virtual desktop too.
    exit_seconds = 60

    def __init__(self, args):
        super().__init__(types.SimpleNamespace(tree=args.tree, name='release.deb', size=DESKTOP, exit='menu-keys',
                                               start_minimised=False))
        self.opts = args
        self.tmp = tempfile.mkdtemp(prefix='velmora-deb-')
        self.home = os.path.join(self.tmp, 'home')
        self.data = os.path.join(self.tmp, 'data')
        self.wine_prefix = os.path.join(self.data, PACKAGE, 'wine')
        os.makedirs(self.home)
        os.makedirs(self.data)
        self.installed = False

    def user_env(self, **extra):
        """A user's session: a home and a data folder of their own, and no
        Wine settings of the test command."""
        env = {k: v for k, v in os.environ.items()
               if not k.startswith('WINE') and k not in ('DISPLAY', 'WAYLAND_DISPLAY')}
        env.update(HOME=self.home, XDG_DATA_HOME=self.data)
        env.update(extra)
        return env

    def run(self):
        try:
            with PrivateScreen(24) as screen:
                self.screen = screen
                return self.guarded(self.steps)
        finally:
            subprocess.run(['wineserver', '-k'], env=self.user_env(WINEPREFIX=self.wine_prefix),
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if self.installed:
                run(['dpkg', '--purge', PACKAGE])
            shutil.rmtree(self.tmp, ignore_errors=True)

    def steps(self):
        self.require(os.geteuid() == 0, 'the case runs as root (it installs the package)')
        deb, zip_files = self.make_packages()
        extracted = os.path.join(self.dir, 'extracted')
        self.require(run(['dpkg-deb', '-x', deb, extracted]).returncode == 0, 'dpkg-deb unpacks the package')
        self.check_control(deb)
        files = self.check_file_list(deb, extracted, zip_files)
        self.check_icons(extracted)
        self.check_lintian(deb)
        self.install(deb)
        self.check_refusals()
        self.run_installed()
        self.remove(files)

    # -- the package -------------------------------------------------------
    def make_packages(self):
        out = os.path.join(self.dir, 'out')
        for tree, generator in ((self.opts.win32_tree, []), (self.opts.win64_tree, ['-G', 'ZIP'])):
            result = run([self.opts.cpack, '--config', os.path.join(tree, 'CPackConfig.cmake'), '-B', out] + generator)
            self.require(result.returncode == 0, 'cpack makes the release in %s' % tree +
                         ('' if result.returncode == 0 else ':\n' + result.stdout.strip()[-600:]))
        deb = os.path.join(out, '%s_%s_all.deb' % (PACKAGE, self.opts.version))
        self.require(os.path.exists(deb), 'cpack made %s beside the zips (made %s)' %
                     (os.path.basename(deb), sorted(os.listdir(out))))
        print('      package size: %d bytes' % os.path.getsize(deb))
        # Made again a second later into a folder whose path has a space:
        # the same bytes (the release is dated by the last commit).
        again = os.path.join(self.dir, 'second run')
        time.sleep(1)
        run([self.opts.cpack, '--config', os.path.join(self.opts.win32_tree, 'CPackConfig.cmake'), '-G', 'DEB',
             '-B', again])
        with open(deb, 'rb') as a, open(os.path.join(again, os.path.basename(deb)), 'rb') as b:
            self.check(a.read() == b.read(), 'the package made again elsewhere a second later is the same')
        zip_files = {}
        cmake = os.path.join(os.path.dirname(self.opts.cpack), 'cmake')
        for build in ('win32', 'win64'):
            name = '%s-%s-%s' % (PACKAGE, self.opts.version, build)
            self.require(os.path.exists(os.path.join(out, name + '.zip')), 'cpack made %s.zip' % name)
            subprocess.run([cmake, '-E', 'tar', 'xf', os.path.join(out, name + '.zip')], cwd=self.dir, check=True)
            unzipped = os.path.join(self.dir, name)
            zip_files.update({build + '/' + f: os.path.join(unzipped, f) for f in os.listdir(unzipped)})
        return deb, zip_files

    def check_control(self, deb):
        fields = run(['dpkg-deb', '-f', deb, 'Package', 'Version', 'Architecture', 'Depends']).stdout
        want = 'Package: %s\nVersion: %s\nArchitecture: all\nDepends: %s\n' % (PACKAGE, self.opts.version, DEPENDS)
        self.check(fields == want, 'the control fields are\n%s(got\n%s)' % (want, fields))

    def check_file_list(self, deb, extracted, zip_files):
        """Exactly the zip's files under /usr/lib/velmora95, byte for byte,
        and the Linux files, all owned by root. Returns the files' paths."""
        listing = run(['dpkg-deb', '-c', deb]).stdout.splitlines()
        files, owners = {}, set()
        for line in listing:
            mode, owner, _, _, _, path = line.split(None, 5)
            owners.add(owner)
            if not mode.startswith('d'):
                files[path[2:]] = mode
        self.check(owners == {'root/root'}, 'everything belongs to root (owners %s)' % sorted(owners))
        icons = {p for p in files if p.startswith(ICON_DIR)}
        want = {LIBDIR + '/' + name for name in zip_files} | set(LINUX_FILES)
        got = set(files) - icons
        self.check(got == want, 'the package holds the zip\'s files and the Linux files' + ('' if got == want else
                   ':\n  %s\n(expected\n  %s)' % ('\n  '.join(sorted(got)), '\n  '.join(sorted(want)))))
        for name, path in zip_files.items():
            with open(path, 'rb') as a, open(os.path.join(extracted, LIBDIR, name), 'rb') as b:
                self.check(a.read() == b.read(), '%s is the zip\'s %s' % (LIBDIR + '/' + name, name))
        for path, mode in LINUX_FILES.items():
            got = os.stat(os.path.join(extracted, path)).st_mode & 0o777
            self.check(got == mode, '%s has mode %o (got %o)' % (path, mode, got))
        return sorted(files)

    def check_icons(self, extracted):
        """Each size is the program's icon resource scaled without smoothing:
        pixel (x, y) is the icon's pixel (32x / size, 32y / size)."""
        root = os.path.join(extracted, ICON_DIR)
        icon = read_ico(os.path.join(self.opts.tree, 'resources', 'velmora.ico'))
        sizes = set()
        for folder in sorted(os.listdir(root)):
            path = os.path.join(root, folder, 'apps', 'velmora95.png')
            self.require(os.path.exists(path), '%s holds apps/velmora95.png' % folder)
            size = int(folder.split('x')[0])
            sizes.add(size)
            rows = read_png(path)
            self.check(folder == '%dx%d' % (size, size) and len(rows) == size and all(len(r) == size for r in rows),
                       'the %s icon is %d pixels square' % (folder, size))
            wrong = sum(1 for y, row in enumerate(rows) for x, p in enumerate(row)
                        if p != icon[y * 32 // size][x * 32 // size])
            self.check(wrong == 0, 'the %s icon is the program\'s icon scaled without smoothing (%d pixels differ)' %
                       (folder, wrong))
        self.check(sizes >= ICON_SIZES_AT_LEAST, 'icons of %s pixels at least (got %s)' %
                   (sorted(ICON_SIZES_AT_LEAST), sorted(sizes)))

    def check_lintian(self, deb):
        result = run(['lintian', '--fail-on', 'error', deb])
        print('      lintian: %s' % (result.stdout.strip().replace('\n', '\n      lintian: ') or 'nothing to report'))
        self.check(result.returncode == 0, 'lintian reports no errors')

    # -- installed ---------------------------------------------------------
    def install(self, deb):
        run(['dpkg', '--purge', PACKAGE])
        self.installed = True
        env = dict(os.environ, DEBIAN_FRONTEND='noninteractive')
        started = time.monotonic()
        result = run(['apt-get', 'install', '-y', '--no-install-recommends', os.path.abspath(deb)], env=env)
        self.install_seconds = time.monotonic() - started
        self.require(result.returncode == 0, 'apt-get installs the package' +
                     ('' if result.returncode == 0 else ':\n' + result.stdout.strip()[-600:]))
        print('      installed in %.1f s' % self.install_seconds)

    def check_refusals(self):
        """Without a display the command says so and stops before it makes
        a prefix. Its help names the build this machine's Wine starts: the
        i686 one where Wine's 32-bit loader runs."""
        result = run(['velmora95'], env=self.user_env(PATH=SYSTEM_PATH))
        self.check(result.returncode != 0 and 'no display' in result.stdout,
                   'without a display velmora95 says so and fails (code %d: %s)' %
                   (result.returncode, result.stdout.strip()))
        runs32 = run(['/usr/lib/wine/wine', '--version']).returncode == 0 if os.path.exists('/usr/lib/wine/wine') \
            else False
        want = 'the i686 build' if runs32 else 'the x86_64 build'
        result = run(['velmora95', '--help'], env=self.user_env(PATH=SYSTEM_PATH))
        chosen = result.stdout.strip().splitlines()[-1] if result.stdout.strip() else ''
        print('      %s' % chosen)
        self.check(result.returncode == 0 and chosen.startswith('Here: ' + want),
                   'velmora95 --help names %s (%s)' % (want, chosen))
        self.check(not os.listdir(self.data), 'nothing was written to the data folder yet')

    def run_installed(self):
        started = time.monotonic()
        log = open(os.path.join(self.dir, 'program.log'), 'w')
        self.program = subprocess.Popen(['velmora95', '--desktop', DESKTOP], cwd=self.tmp,
                                        env=self.user_env(DISPLAY=self.screen.display, PATH=SYSTEM_PATH),
                                        stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        log.close()
        # The desktop appears once the prefix is made (a minute at most on
        # a loaded machine); the probe then joins that desktop.
        while time.monotonic() < started + 180 and self.program.poll() is None:
            if self.screen.run(['xdotool', 'search', '--name', 'Wine desktop'], check=False).strip():
                break
            time.sleep(0.5)
        self.require(self.program.poll() is None, 'velmora95 --desktop %s is running (ended with %s)' %
                     (DESKTOP, self.program.poll()))
        prefix = types.SimpleNamespace(env=lambda: self.user_env(DISPLAY=self.screen.display,
                                                                 WINEPREFIX=self.wine_prefix, WINEDEBUG='-all'))
        subprocess.run(['wine', 'reg', 'add', r'HKCU\Software\Wine\AppDefaults\%s\Explorer' %
                        os.path.basename(self.opts.probe), '/v', 'Desktop', '/d', PACKAGE, '/f'],
                       env=prefix.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
        self.probe = Probe(prefix, self.opts.probe, self.dir)
        hwnd = self.probe.wait_window(CAPTION, time.monotonic() + 120, self.program, FRAME)
        self.require(hwnd is not None, 'a window captioned "%s" appears' % CAPTION)
        report = self.probe.dump(CAPTION, FRAME)
        self.require(report is not None, 'the probe describes the frame')
        self.check_stars(report, self.screenshot())
        print('      from apt-get install to the starfield: %.1f s (installing %.1f s, first start %.1f s)' %
              (self.install_seconds + time.monotonic() - started, self.install_seconds, time.monotonic() - started))
        self.end_program(report)
        ini = os.path.join(self.wine_prefix, 'drive_c', 'windows', 'QUARVELL.INI')
        settings = open(ini, 'rb').read().decode('latin-1') if os.path.exists(ini) else ''
        self.check('\r\nFrame Rate=60\r\n' in settings,
                   'the settings file in the Windows folder of %s has the first start\'s Frame Rate=60 (%r)' %
                   (self.wine_prefix, settings))
        self.check([os.listdir(self.data), os.listdir(os.path.dirname(self.wine_prefix))] == [[PACKAGE], ['wine']],
                   'the data folder holds velmora95/wine alone (%s)' % os.listdir(self.data))
        # (Libraries such as PulseAudio's client may keep files of their own
        # in the home folder; no Wine prefix may be there.)
        prefixes = [folder for folder, dirs, files in os.walk(self.home) if 'system.reg' in files or 'drive_c' in dirs]
        self.check(not prefixes, 'no Wine prefix in the home folder (found %s)' % prefixes)

    def remove(self, files):
        result = run(['apt-get', 'remove', '--purge', '-y', PACKAGE],
                     env=dict(os.environ, DEBIAN_FRONTEND='noninteractive'))
        self.require(result.returncode == 0, 'apt-get removes the package')
        self.installed = False
        left = [p for p in files if os.path.lexists('/' + p)]
        left += [d for d in ('/' + LIBDIR, '/usr/share/doc/velmora95') if os.path.lexists(d)]
        self.check(not left, 'nothing of the package is left (%s)' % left)
        self.check(os.path.isdir(self.wine_prefix), 'the user\'s prefix stays')


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument('--tree', required=True, help='the Windows build tree')
    p.add_argument('--version', required=True, help='the project version')
    p.add_argument('--win32-tree', required=True, help='the i686 tree, which makes the package')
    p.add_argument('--win64-tree', required=True, help='the x86_64 tree')
    p.add_argument('--probe', required=True, help='velmora_probe.exe')
    p.add_argument('--cpack', default='cpack', help='the cpack command')
    args = p.parse_args()
    args.tree = os.path.abspath(args.tree)
    case = DebCase(args)
    return run_e2e.finish(case, case.run())


if __name__ == '__main__':
    sys.exit(main())
