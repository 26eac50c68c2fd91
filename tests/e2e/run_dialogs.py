#!/usr/bin/env python3
"""End-to-end case for the Help dialogs: the program runs under Wine as in
run_e2e.py; each dialog is opened from the Help menu, from its toolbar button
and (Quick Help) with F1, read back through the probe and closed by OK, Enter
or Esc, after which the starfield must be moving again.

  run_dialogs.py --tree TREE --exe PROGRAM --probe PROBE --name NAME
                 --wing ours|none [--wing-dll PATH] [--only-about]

With --wing ours the program and our WING32.DLL are copied into a folder of
their own and WinG is loaded from there (wing32=n); with --wing none the
library is disabled (wing32=). The About box's status line must say which.
"""

import os
import shutil
import sys
import time

sys.dont_write_bytecode = True  # nothing is written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import run_e2e  # noqa: E402
from run_e2e import CAPTION, FRAME, IDOK  # noqa: E402

ID_APP_ABOUT = 57664
ID_APP_ABOUT_MAKER = 32771
ID_HELP_QUICK_HELP = 32794
IDC_RENDERER_STATUS = 1000
WS_SYSMENU = 0x00080000

STATUS = {
    'ours': 'WinG is being used, orientation is top-down',
    'none': 'WinG is not being used',
}

# caption, command, toolbar position, the Help menu keys after Alt+H, texts
# that must all be shown (the status line is added for the About box).
DIALOGS = {
    'about': ('About Velmora 95', ID_APP_ABOUT, 14, ['a'],
              ['Velmora 95', '(Originally from The QUARVELL CD)', 'OK']),
    'maker': ('About QUARVELL', ID_APP_ABOUT_MAKER, 15, ['q'],
              ['Questions?  Please contact us:', 'QUARVELL, Inc.', 'email:', 'ftp:', 'www:', 'OK']),
    'help': ('Quick Help', ID_HELP_QUICK_HELP, 16, ['Up', 'Return'],
             ['Velmora 95 simulates a 3 dimensional starfield in real-time.',
              'Use the toolbar or menu items to change the display size, simulation type, star density, '
              'nausea level or audio tune.\n\nYou can exit at any time by pressing Ctrl+X or selecting \'exit\'.',
              'OK']),
}

# Every dialog is opened three ways and closed three ways, paired so that
# each opening and each closing is used.
PLAN = [
    ('about', 'menu', 'ok'), ('about', 'toolbar', 'enter'), ('about', 'menu', 'esc'),
    ('maker', 'menu', 'ok'), ('maker', 'toolbar', 'enter'), ('maker', 'menu', 'esc'),
    ('help', 'menu', 'ok'), ('help', 'toolbar', 'enter'), ('help', 'f1', 'esc'),
]


class DialogsCase(run_e2e.Case):
    def frame_case(self, runs_before):
        report = self.probe.dump(CAPTION, FRAME)
        self.require(report is not None, 'the probe describes the frame')
        self.view = self.view_of(report)
        self.require(self.view is not None, 'there is a view')
        self.toolbar = (report['toolbar'] or {}).get('items', [])
        plan = PLAN[:1] if self.args.only_about else PLAN
        for name, opening, closing in plan:
            self.one_dialog(name, opening, closing)
        self.end_program(report)

    def view_pixels(self):
        left, top, right, bottom = self.view['client']
        return self.screenshot().crop(left, top, right, bottom).pixels

    def open_dialog(self, name, opening):
        _, command, position, menu_keys, _ = DIALOGS[name]
        self.probe.run(['foreground', CAPTION, FRAME])
        if opening == 'menu':
            self.screen.keys('alt+h', *menu_keys)
        elif opening == 'f1':
            self.screen.keys('F1')
        else:
            item = self.toolbar[position] if position < len(self.toolbar) else {}
            self.require(item.get('command') == command and 'rect' in item,
                         'toolbar position %d is command %d (got %s)' % (position, command, item.get('command')))
            left, top, right, bottom = item['rect']
            self.screen.click((left + right) // 2, (top + bottom) // 2)

    def close_dialog(self, box, closing):
        if closing == 'ok':
            button = next((c for c in box['children'] if c['id'] == IDOK), None)
            self.require(button is not None, 'the dialog has an OK button')
            left, top, right, bottom = button['window']
            self.screen.click((left + right) // 2, (top + bottom) // 2)
        else:
            self.screen.keys('Return' if closing == 'enter' else 'Escape')

    def one_dialog(self, name, opening, closing):
        caption, _, _, _, want_texts = DIALOGS[name]
        what = '%s (opened by %s, closed by %s)' % (caption, opening, closing)
        self.open_dialog(name, opening)
        rc, reports = self.probe.run(['dialogs', caption, 8000])
        if not self.check(rc == 0 and reports and reports[0], '%s appears' % what):
            return
        box = reports[0][0]
        texts = [c['text'].replace('\r\n', '\n') for c in box['children']]
        missing = [t for t in want_texts if t not in texts]
        self.check(not missing, '%s shows its texts (missing %s)' % (caption, missing))
        if name == 'about':
            status = next((c['text'] for c in box['children'] if c['id'] == IDC_RENDERER_STATUS), None)
            self.check(status == STATUS[self.args.wing], 'the status line reads %r (got %r)' %
                       (STATUS[self.args.wing], status))
        sysmenu = bool(box['style'] & WS_SYSMENU)
        self.check(sysmenu == (name != 'help'), '%s %s a system menu' % (caption, 'has' if name != 'help' else 'lacks'))
        frozen = self.view_pixels()
        time.sleep(0.3)
        self.check(self.view_pixels() == frozen, 'the starfield stands still while %s is open' % caption)
        self.close_dialog(box, closing)
        rc, _ = self.probe.run(['gone', caption, '#32770', 5000])
        self.check(rc == 0, '%s closes' % what)
        self.require(self.program.poll() is None, 'the program is still running after %s (exit code %s)' %
                     (what, self.program.returncode))
        time.sleep(0.3)
        first = self.view_pixels()
        time.sleep(0.3)
        self.check(self.view_pixels() != first, 'the starfield runs again after %s' % what)


def main():
    p = run_e2e.case_arguments(__doc__)
    p.add_argument('--wing', choices=sorted(STATUS), required=True)
    p.add_argument('--wing-dll', help='our WING32.DLL (for --wing ours)')
    p.add_argument('--only-about', action='store_true', help='open the About box once only')
    p.add_argument('--size', default='800x600', help='virtual desktop size')
    args = p.parse_args()
    args.case = 'frame'
    args.start_minimised = False
    args.exit = 'ctrl-x'
    args.check_run_counter = True   # start past the first run's WinG hint
    if args.wing == 'ours':
        if not args.wing_dll:
            p.error('--wing ours needs --wing-dll')
        args.dll_overrides = 'wing32=n'
    else:
        args.dll_overrides = 'wing32='
    case = DialogsCase(args)
    if args.wing == 'ours':
        # A folder of its own, so that the DLL does not sit beside the
        # program that the other cases run.
        folder = os.path.join(case.dir, 'program')
        os.makedirs(folder)
        shutil.copy(args.exe, folder)
        shutil.copy(args.wing_dll, os.path.join(folder, 'WING32.DLL'))
        args.exe = os.path.join(folder, os.path.basename(args.exe))
    ok = case.run()
    return run_e2e.finish(case, ok)


if __name__ == '__main__':
    sys.exit(main())
