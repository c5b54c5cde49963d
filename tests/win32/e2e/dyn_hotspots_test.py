#!/usr/bin/env python3
"""Tolvi.exe against telnetd: dynamic hotspots set up in Config/Preferences/Dynamic Hotspots.

The log-in prints the menu line "date ls-la" and starts a shell. The dialog, opened from the menu
with keys and driven by control id with dlgdrive, switches the hotspots on, sets the area over
that line and adds "date" (sending "date<cr>") and "ls-la" (sending "ls -la<cr>"; the hyphen
joins the extra word characters) as they are. After OK both words carry hotspot buttons, and a
click on "date" runs the command on the host, whose output is painted. File/Save config writes
the .dyn file. "date" deleted in the dialog loses its button while "ls-la" keeps one. A new start
on the saved configuration shows both buttons, and a click on "ls-la" runs that command.

    dyn_hotspots_test.py TOLVI_BIN_DIR PROJECT_ROOT
"""
import re
import subprocess
import sys

import e2e
from button_pictures_test import hotspot_words, view_geometry
from session_dialogs_test import dlgdrive, keys

LOGIN = r'''#!/bin/bash
printf 'date ls-la\r\n'
export PS1='tolvi$ '
exec /bin/bash --norc --noprofile -i
'''

# The hotspots are off and their area lies elsewhere until the dialog sets them.
CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=Yes
PromptForHost=No
CursorStyle=0
EnableDynamicHotspots=No
DynamicRow=10
DynamicColumn=5
DynamicWidth=20
DynamicHeight=3
DynamicDepth=1
ExtraDynWordChars=_
'''

DIALOG = 'Dynamic Hotspots Settings'
WORDS = [(0, 0, 'date'), (0, 5, 'ls-la')]
DYN_LINES = [b'name: date type: 2 sendstring: date<cr>', b'name: ls-la type: 2 sendstring: ls -la<cr>']


def start(session, config):
    port = session.telnetd(LOGIN)
    session.tolvi(config, '/ip:127.0.0.1', '/tport:%d' % port, '/c')
    prompt = session.wait_received(b'tolvi$ ')
    session.click_view()
    return prompt


def wait_buttons(session, name, words=WORDS, cursor=(1, 7)):
    """Waits until exactly `words` of WORDS carry hotspot buttons (the caret at `cursor`)."""
    last = [None, None]

    def shown():
        last[1] = view_geometry(session, cursor)
        last[0] = hotspot_words(session, WORDS, last[1])
        return last[0] == {(t, r) for r, c, t in words}
    try:
        e2e.wait_until(shown, 'the hotspot buttons', timeout=30, every=1)
    except e2e.Fail:
        raise e2e.Fail('%s: hotspot words %r (view geometry %r), expected %s'
                       % (name, last[0] if last[0] is None else sorted(last[0]), last[1],
                          ' and '.join(t for r, c, t in words)))
    session.screenshot(name)
    return last[1]


def click_word(session, geometry, word, after, output):
    """Clicks the word's button; the host runs the command, whose output (a pattern) arrives and
    is painted."""
    cell_w, cell_h, _, _, screen_x, screen_y = geometry
    row, col, text = next(w for w in WORDS if w[2] == word)
    x, y = screen_x + (col + 1) * cell_w + cell_w // 2, screen_y + row * cell_h + cell_h // 2
    subprocess.run(['xdotool', 'mousemove', str(x), str(y), 'click', '1'], check=True)
    end = session.wait_received(b'tolvi$ ', after)
    got = session.received()[after:end]
    if not re.search(output, got, re.S):
        raise e2e.Fail('a click on %s: the host answered %r' % (word, got))
    rows, cursor = session.termfeed(session.received(), 2)
    session.wait_painted(rows, cursor)
    session.screenshot('dyn_hotspots_click_' + word)
    return end


def test(session):
    prompt = start(session, CONFIG)
    # Config/Preferences (above Reset to Default and Lock settings, the menu's last entries; 'p'
    # would run Phone Number) and its Dynamic Hotspots.
    keys('alt+c', 'Up', 'Up', 'Up', 'Right', 'y')
    dlgdrive(session, DIALOG, 'click', 3118)
    for id_, value in ((3272, '1'), (3273, '1'), (3274, '80'), (3275, '1')):
        dlgdrive(session, DIALOG, 'settext', id_, value)
    for text, send in (('date', 'date<cr>'), ('ls-la', 'ls -la<cr>')):
        dlgdrive(session, DIALOG, 'type', 3279, text, 'settext', 3284, send, 'click', 3283, 'click', 3285)
    extra = dlgdrive(session, DIALOG, 'text', 3291)[0]
    if extra != '_-':
        raise e2e.Fail('the extra characters are %r, not "_-"' % extra)
    session.keep_dialog(DIALOG, 'e2e-dialog-dyn-hotspots')
    dlgdrive(session, DIALOG, 'click', 1, 'wait-closed')

    geometry = wait_buttons(session, 'dyn_hotspots_buttons')
    click_word(session, geometry, 'date', prompt, rb'^date\r\n.*\d\d:\d\d:\d\d .*\r\n')

    session.click_view()
    keys('alt+f', 's')
    e2e.wait_until(lambda: all(line in session.read('tolvi-e2e.dyn') for line in DYN_LINES),
                   lambda: 'the .dyn file to hold both words: %r' % session.read('tolvi-e2e.dyn'))
    saved = session.saved_config()
    for setting in (r'EnableDynamicHotspots=Yes\n', r'DynamicRow=1\n', r'DynamicColumn=1\n', r'DynamicWidth=80\n',
                    r'DynamicHeight=1\n', r'ExtraDynWordChars="?_-"?\n'):
        if not re.search(setting, saved):
            raise e2e.Fail('the saved configuration lacks %r' % setting)
    dyn = session.read('tolvi-e2e.dyn').decode('latin1')

    # The table changed again: the deleted word's button goes, the other one is made anew.
    session.click_view()
    keys('alt+c', 'Up', 'Up', 'Up', 'Right', 'y')
    dlgdrive(session, DIALOG, 'type', 3279, 'date', 'click', 3286, 'click', 1, 'wait-closed')
    rows, cursor = session.termfeed(session.received(), 2)
    wait_buttons(session, 'dyn_hotspots_after_delete', words=[WORDS[1]], cursor=cursor)
    session.stop()

    again = e2e.Session(session.bin, session.root)
    try:
        again.write('tolvi-e2e.dyn', dyn)
        prompt = start(again, saved)
        geometry = wait_buttons(again, 'dyn_hotspots_buttons_again')
        click_word(again, geometry, 'ls-la', prompt, rb'^ls -la\r\n.*total \d+\r\n')
    finally:
        again.stop()


if __name__ == '__main__':
    sys.exit(e2e.run(test))
