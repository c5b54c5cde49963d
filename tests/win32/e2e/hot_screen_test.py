#!/usr/bin/env python3
"""HotScreen rules in Tolvi.exe: the session's .hot file (beside the configuration) recognises
the screens that telnetd's log-in script draws one after the other: a menu, a form, an error
screen. The window title follows the active set (with screen text in it); each set's buttons
(hotA, hotB ...) come and go, seen in the view's pixels: the raised frame and the blue text; a
button's own condition makes it come while its set stays active; clicks on buttons send their
actions to the host, which records them. The form's emulator-input action writes to the screen
as host data would (a button waits for that text). The error screen's message-box action and an
action of an unknown type show their boxes, answered here. Host command 26 loads another rule
file; a button's "%hotload%" loads the session's file again (rewritten meanwhile).

Case "dde": a set's DDE poke, with screen text as its data, reaches the DDE test host (a second
process with Tolvi's DDE server, which passes the poked text on to its own loopback peer).
Case "tn3270": the loopback tn3270 host draws a field screen; a field-attribute condition picks
the set, whose title joins the unprotected fields, and its button shows.

    hot_screen_test.py TOLVI_BIN_DIR PROJECT_ROOT DDE_TEST_HOST
"""
import os
import subprocess
import sys

import e2e
from button_pictures_test import grab, near

CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=Yes
PromptForHost=No
CursorStyle=0
'''

CONFIG_3270 = CONFIG + '''[3270]
TerminalFamily3270=1
'''

LOGIN = r'''#!/bin/bash
dir="$(dirname "$0")"
stty -opost -echo
step() { cat "$dir/$1"; IFS= read -r line; printf '%s\n' "$line" >> "$dir/got.txt"; }
step menu.bin
step choice.bin
step form.bin
step error.bin
cat "$dir/second.bin"
exec cat > "$dir/rest.bin"
'''

ESC = '\x1b'
SCREENS = {
    'menu.bin': ESC + '[2J' + ESC + '[H MAIN MENU\r\n\r\n 1 Orders\r\n 2 Stock' + ESC + '[24;1HMENU-READY',
    'choice.bin': ESC + '[10;1HCHOICE?' + ESC + '[24;1HCHOICE-READY',
    'form.bin': ESC + '[2J' + ESC + '[H ORDER FORM\r\n Name: ____' + ESC + '[24;1HFORM-READY',
    'error.bin': ESC + '[2J' + ESC + '[H ERROR 42: no stock' + ESC + '[24;1HERROR-READY',
}

# Buttons: (set's name in the checks, column, row, width) in text cells, 1-based.
RULES = r'''[HotScreen]
names=menu form error

[menu]
title=- menu %txt1,1,12%
flags=1
dynamic=true
match=m
button=orders stock
[menum]
string=MAIN MENU
col=0
row=1
[menuorders]
contents=Orders
col=50
row=3
width=12
click_l=pick1^M
[menustock]
contents=Stock
col=50
row=5
width=12
click_l=pick2^M
match=c
[menustockc]
string=CHOICE
col=0
row=0

[form]
title=- form %scr2,1,5%
flags=1
dynamic=true
match=f
button=save fed
action=input
[formf]
string=ORDER FORM
col=2
row=1
[formsave]
contents=Save
col=50
row=3
width=12
click_l=save^M
[formfed]
contents=Fed
col=50
row=7
width=12
match=t
[formfedt]
string=FED BY RULE
row=20
[forminput]
action=<esc>7<esc>[20;1HFED BY RULE<esc>8

[error]
title=- error
flags=1
match=e
action=box odd
[errore]
string=ERROR
col=2
[errorbox]
action=%txt1,1,30%
type=2
[errorodd]
action=odd %scr2,1,5%
type=7
'''

SECOND = r'''[HotScreen]
names=second
[second]
title=- second
flags=1
button=reload
[secondreload]
contents=Reload
col=50
row=3
width=12
click_l=%hotload%
'''

# The DDE case: the poke's data is screen text.
RULES_DDE = r'''[HotScreen]
names=poke
[poke]
title=- poke
flags=1
match=p
action=dde
[pokep]
string=POKE
[pokedde]
action=TOLVI;TOLVITOP;tohost;poked by %scr1,1,7%
type=1
'''

THIRD = '''[HotScreen]
names=third
[third]
title=- third
flags=1
'''

RULES_3270 = r'''[HotScreen]
names=fields
[fields]
title=- fields %u32fld,1,1,19%
flags=1
match=a
button=b
[fieldsa]
string=E0
type=1
col=1
row=1
[fieldsb]
contents=Field
col=50
row=5
width=12
'''

SCRIPT_3270 = "F5 C3 11 40 40 1D 60 'NAME' 1D 40 'ann' 1D 60 'CITY' 1D 40 'rome' 11 C1 50 1D 60 'END'\nsleep 60\n"


class View:
    """The cell grid of Tolvi's view on the screen and in its client area."""

    def __init__(self, session, cursor):
        """cursor: the cursor's cell (0-based row and column), where view_cells finds the caret."""
        info = subprocess.run([session.wine_run, os.path.join(session.bin, 'view_cells.exe'), '--title',
                               '(%s)' % e2e.CONFIG_NAME, str(cursor[0]), str(cursor[1])],
                              capture_output=True).stdout.decode().split()
        self.session = session
        self.cell_w, self.cell_h, self.origin_x, self.origin_y = int(info[1]), int(info[2]), int(info[4]), int(info[5])
        self.screen_x, self.screen_y = int(info[7]), int(info[8])

    def button(self, at, col, row, width):
        """True when a button of that cell rectangle is painted: its raised frame (light along
        the top, dark along the bottom) and its blue text inside."""
        left = self.origin_x + (col - 1) * self.cell_w
        top = self.origin_y + (row - 1) * self.cell_h
        right = left + width * self.cell_w - 1
        bottom = top + self.cell_h - 1
        light = [at(x, top) for x in range(left + 1, right - 1)]
        dark = [at(x, bottom) for x in range(left + 2, right - 1)]
        inside = [at(x, y) for x in range(left + 2, right - 2) for y in range(top + 2, bottom - 1)]
        return all(p and near(p, (255, 255, 255), 8) for p in light) and \
            all(p and near(p, (128, 128, 128), 8) for p in dark) and \
            any(p and p[2] > 150 and p[0] < 100 and p[1] < 100 for p in inside)

    def wait_buttons(self, shown, gone, what):
        last = [None]

        def check():
            at = grab(self.session)
            if not at:
                return False
            last[0] = [b for b in shown if not self.button(at, *b)] + [b for b in gone if self.button(at, *b)]
            return not last[0]
        try:
            e2e.wait_until(check, what, timeout=30, every=0.5)
        except e2e.Fail:
            raise e2e.Fail('%s: wrong buttons %r (shown %r, gone %r)' % (what, last[0], shown, gone))

    def click(self, col, row):
        x = self.screen_x + (col - 1) * self.cell_w + self.cell_w * 2
        y = self.screen_y + (row - 1) * self.cell_h + self.cell_h // 2
        subprocess.run(['xdotool', 'mousemove', str(x), str(y), 'click', '1'], check=True)


def wait_title(session, text):
    return e2e.wait_until(lambda: text in session.title(), lambda: 'the title to hold %r (it is %r)'
                          % (text, session.title()), timeout=30)


def answer_box(session, caption, expected, shot):
    """Reads the message box of that caption, keeps a screenshot and presses OK."""
    drive = [session.wine_run, os.path.join(session.bin, 'dlgdrive.exe'), caption, '--wait', '30000']
    out = subprocess.run(drive + ['text', '65535'], capture_output=True)
    text = out.stdout.decode('latin1').strip()
    if out.returncode != 0 or text != expected:
        raise e2e.Fail('the box %r: %r (exit %d), not %r' % (caption, text, out.returncode, expected))
    session.screenshot(shot)
    if subprocess.run(drive + ['click', '1', 'wait-closed'], capture_output=True).returncode != 0:
        raise e2e.Fail('the box %r did not close' % caption)


def start_dde_host(session, dde_host):
    """The DDE test host (Tolvi's DDE server, TOLVI|TOLVITOP) with its own loopback peer, which
    keeps what it receives in dde.bin."""
    port = e2e.free_port()
    session.write('dde.bin', '')
    session.start(['socat', 'TCP-LISTEN:%d,bind=127.0.0.1,reuseaddr' % port,
                   'SYSTEM:exec tee -a %s' % session.path('dde.bin')], log='dde-socat.log')
    e2e.wait_until(lambda: e2e.listening(port), 'the DDE host\'s peer', timeout=20, every=0.05)
    session.start([session.wine_run, dde_host], log='dde-host.log', env={'TOLVI_DDE_HOST_PORT': str(port)})

    def connected():
        out = subprocess.run(['ss', '-Htn', 'state', 'established', '( sport = :%d )' % port],
                             capture_output=True).stdout.decode()
        return out.strip() != ''
    e2e.wait_until(connected, 'the DDE test host to connect', timeout=60)
    # Its DDE server registers after the connection, and says so.
    e2e.wait_until(lambda: b'dde_test_host: serving' in session.read('dde-host.log'),
                   'the DDE test host\'s server', timeout=60)


def test_telnet(session):
    for name, data in SCREENS.items():
        session.write(name, data)
    session.write('second.hot', SECOND.replace('\n', '\r\n'))
    session.write('second.bin', ESC + '[26y' + session.windows_path('second.hot') + ESC + '\\' +
                  ESC + '[2J' + ESC + '[H SECOND' + ESC + '[24;1HSECOND-READY')
    session.write('tolvi-e2e.hot', RULES.replace('\n', '\r\n'))
    port = session.telnetd(LOGIN)
    session.tolvi(CONFIG, '/ip:127.0.0.1', '/tport:%d' % port, '/c')

    # The menu: its title with the screen's words, the first button; the second waits for CHOICE.
    session.wait_received(b'MENU-READY')
    wait_title(session, '- menu MAIN MENU')
    session.click_view()
    view = View(session, (23, 10))  # after MENU-READY
    view.wait_buttons([(50, 3, 12)], [(50, 5, 12)], 'the menu')
    session.screenshot('hot_screen_menu')
    session.type_line('')
    session.wait_received(b'CHOICE-READY')
    view.wait_buttons([(50, 3, 12), (50, 5, 12)], [], 'the menu with CHOICE')
    session.screenshot('hot_screen_choice')
    view.click(50, 5)

    # The form: its own title and buttons; the menu's Stock button is gone. Its input action put
    # FED BY RULE on row 20, so its second button came.
    session.wait_received(b'FORM-READY')
    wait_title(session, '- form ORDER')
    view.wait_buttons([(50, 3, 12), (50, 7, 12)], [(50, 5, 12)], 'the form')
    session.screenshot('hot_screen_form')
    view.click(50, 3)

    # The error screen: the message box with the screen's text, then the one of an unknown type.
    session.wait_received(b'ERROR-READY')
    answer_box(session, '', 'ERROR 42: no stock', 'hot_screen_box')
    answer_box(session, 'Error', 'Action "odd %scr2,1,5%" has invalid type 7', 'hot_screen_invalid_type')
    wait_title(session, '- error')
    view.wait_buttons([], [(50, 3, 12), (50, 7, 12)], 'the error screen')
    got = session.read('got.txt').decode('latin1').splitlines()
    if got != ['', 'pick2', 'save']:
        raise e2e.Fail('the host got the lines %r from the clicks, not %r' % (got, ['', 'pick2', 'save']))

    # Host command 26 loads second.hot; its button's %hotload% loads tolvi-e2e.hot again.
    session.click_view()
    session.type_line('')
    session.wait_received(b'SECOND-READY')
    wait_title(session, '- second')
    view.wait_buttons([(50, 3, 12)], [], 'the second rule file')
    session.write('tolvi-e2e.hot', THIRD.replace('\n', '\r\n'))
    view.click(50, 3)
    wait_title(session, '- third')
    view.wait_buttons([], [(50, 3, 12)], 'the session\'s rule file loaded again')
    if '- second' in session.title():
        raise e2e.Fail('the old title stayed: %r' % session.title())
    session.screenshot('hot_screen_third')
    if session.processes[-1].poll() is not None:
        raise e2e.Fail('Tolvi ended')


def test_dde(session, dde_host):
    start_dde_host(session, dde_host)
    session.write('tolvi-e2e.hot', RULES_DDE.replace('\n', '\r\n'))
    port = session.telnetd('#!/bin/bash\nprintf "\\033[2J\\033[HPOKE ME"\nexec sleep 120\n')
    session.tolvi(CONFIG, '/ip:127.0.0.1', '/tport:%d' % port, '/c')
    wait_title(session, '- poke')
    e2e.wait_until(lambda: b'poked by POKE ME' in session.read('dde.bin'),
                   lambda: 'the DDE poke (the DDE host\'s peer got %r)' % session.read('dde.bin'), timeout=30)


def test_tn3270(session):
    session.write('tolvi-e2e.hot', RULES_3270.replace('\n', '\r\n'))
    port = session.tn3270_host(SCRIPT_3270)
    session.tolvi(CONFIG_3270, '/ip:127.0.0.1', '/tport:%d' % port, '/c')
    wait_title(session, '- fields ann,rome')
    session.click_view()
    view = View(session, (0, 0))  # an erase/write leaves the cursor at the start
    view.wait_buttons([(50, 5, 12)], [], 'the 3270 field screen')
    session.screenshot('hot_screen_3270')


def test(session, case, dde_host=None):
    if case == 'telnet':
        test_telnet(session)
    elif case == 'dde':
        test_dde(session, dde_host)
    else:
        test_tn3270(session)


if __name__ == '__main__':
    sys.exit(e2e.run(test, cases=('telnet', 'dde', 'tn3270')))
