#!/usr/bin/env python3
"""Config/Keyboard Map in Tolvi.exe against telnetd with a shell, the dialogs driven by control id
with dlgdrive and the keys pressed with xdotool:

  - Keyboard Mapping: F5's button, "echo mapped<cr>" for "Normal:", Accept; Terminal key ..: the
    terminal key MYKEY defined as "echo viakey<cr>"; F6 mapped to MYKEY; OK. F5 and F6 pressed in
    the view make the shell print "mapped" and "viakey" (received, and painted); the session's
    hotspot word "hot5", whose entry sends the PC key F5, is resolved again: a click on it sends
    the new "echo mapped<cr>";
  - Xlate table ..: Individual, outbound 61 -> 62 and inbound 78 -> 79: a typed "a" reaches the
    host as "b", and a received "x" is displayed as "y" (the screen read through Tolvi's DDE
    server); the session's character set is DEC multinational, which uses both tables;
  - File/Save config writes the .map, .key and .xlt files; a new start on them keeps all three;
  - "Load default" in the three dialogs brings back the emulation's defaults: the files saved then
    equal, byte for byte, those the same emulation's fresh configuration saves (for this the
    session is started with a character set whose default table is the shipped ANSI table).

Screenshots of the dialogs are kept in build/win64/screens.

    keyboard_map_test.py TOLVI_BIN_DIR PROJECT_ROOT
"""
import os
import subprocess
import sys
import time

import e2e

sys.dont_write_bytecode = True  # no cache of the imported tests in the source tree
from button_pictures_test import hotspot_words, view_geometry  # noqa: E402
from colors_test import dlgdrive, menu_keys  # noqa: E402
from settings_dialogs_test import activate  # noqa: E402

LOGIN = r'''#!/bin/bash
printf 'hot5\r\n'
export PS1='tolvi$ '
exec /bin/bash --norc --noprofile -i
'''

CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=Yes
PromptForHost=No
CursorStyle=0
ComType=2
Terminal=2
Platform=3
Charset=2
EnableDynamicHotspots=Yes
DynamicRow=1
DynamicColumn=1
DynamicWidth=80
DynamicHeight=1
DynamicDepth=1
[DDE]
DdeServerEnable=Yes
'''

KEYBOARD, KEY_DEFS, TRANSLATE = 'Keyboard Mapping', 'Terminal KeyName Definitions', 'Translate Tables'
FIRST_TIME = 'Tolvi - First time setup'
OK, YES = 1, 6
# Keyboard Mapping.
F5, F6, KEY_NAME, NORMAL, ACCEPT = 1014, 1015, 1038, 3047, 3044
TERMINAL_KEYS, XLATE, DEFAULT_MAP = 3071, 3072, 3097
# Terminal KeyName Definitions.
KDEF_NAME, KDEF_STRING, KDEF_ACCEPT, KDEF_DEFAULT = 1049, 3060, 3045, 3097
# Translate Tables.
OUTBOUND, INBOUND, NEW_OUTBOUND, NEW_INBOUND, XLT_ACCEPT, INDIVIDUAL, XLT_DEFAULT = 3084, 3085, 3090, 3091, 1083, 3096, 3097


def start(session, config=None):
    port = session.telnetd(LOGIN)
    if config is None:
        # The session's own translate file, both tables the identity (not the DEC multinational
        # default), so that the test's two changes are the only ones.
        with open(session.path('tolvi-e2e.xlt'), 'wb') as f:
            f.write(bytes(range(256)) * 2)
        session.write('tolvi-e2e.dyn', 'name: hot5 type: 0 sendstring: F5\n')
        session.tolvi(CONFIG, '/ip:127.0.0.1', '/tport:%d' % port, '/c')
    else:
        # A new start on the saved configuration and its data files.
        args = [session.windows_path(e2e.CONFIG_NAME), '/ip:127.0.0.1', '/tport:%d' % port, '/c',
                '/record:' + session.windows_path('session.trc')]
        e2e.forget_window_placement(session.root)
        session.start([session.wine_run, 'Tolvi.exe'] + args, cwd=session.bin, log='tolvi.log')
    session.wait_received(b'tolvi$ ')
    session.click_view()


def open_keyboard(session):
    for attempt in range(3):
        activate()
        menu_keys('alt+c', 'k')
        result = subprocess.run([session.wine_run, os.path.join(session.bin, 'dlgdrive.exe'), KEYBOARD, '--wait', '5000',
                                 'text', str(OK)], capture_output=True)
        if result.returncode == 0:
            return
    raise e2e.Fail('Config/Keyboard Map did not open the Keyboard Mapping dialog')


def answer_yes(session):
    """Answers the question the last click asked (a message box of Tolvi) with Yes."""
    dlgdrive(session, 'Tolvi', '--wait', '10000', 'click', YES, 'wait-closed')


def screen(session):
    result = subprocess.run([session.wine_run, os.path.join(session.bin, 'dde_screen.exe')], capture_output=True)
    return result.stdout.decode('latin1') if result.returncode == 0 else ''


def screen_rows(session):
    return [row.rstrip() for row in screen(session).replace('\r', '').split('\n')]


def press(session, key, output):
    """Presses a key in the view and waits for the shell's output line."""
    mark = len(session.received())
    session.click_view()
    subprocess.run(['xdotool', 'key', key], check=True)
    session.wait_received(b'\r' + output + b'\r\n', mark)
    session.wait_received(b'tolvi$ ', mark)


def echo_line(session, typed, output):
    mark = len(session.received())
    session.click_view()
    session.type_line('echo ' + typed)
    session.wait_received(b'\r' + output + b'\r\n', mark)
    session.wait_received(b'tolvi$ ', mark)


def map_keys(session):
    open_keyboard(session)
    dlgdrive(session, KEYBOARD, 'click', F5, 'type', KEY_NAME, 'F5', 'settext', NORMAL, 'echo mapped<cr>',
             'click', ACCEPT)
    dlgdrive(session, KEYBOARD, 'postclick', TERMINAL_KEYS)
    dlgdrive(session, KEY_DEFS, '--wait', '10000', 'type', KDEF_NAME, 'MYKEY', 'settext', KDEF_STRING, 'echo viakey<cr>',
             'click', KDEF_ACCEPT)
    session.keep_dialog(KEY_DEFS, 'e2e-dialog-key-definitions')
    dlgdrive(session, KEY_DEFS, 'click', OK, 'wait-closed')
    dlgdrive(session, KEYBOARD, 'click', F6, 'type', KEY_NAME, 'F6', 'settext', NORMAL, 'MYKEY', 'click', ACCEPT)
    if dlgdrive(session, KEYBOARD, 'text', NORMAL)[0] != 'MYKEY':
        raise e2e.Fail('F6 does not show its accepted value')
    session.keep_dialog(KEYBOARD, 'e2e-dialog-keyboard-map')
    dlgdrive(session, KEYBOARD, 'click', OK, 'wait-closed')


def set_translation(session):
    open_keyboard(session)
    dlgdrive(session, KEYBOARD, 'postclick', XLATE)
    dlgdrive(session, TRANSLATE, '--wait', '10000', 'click', INDIVIDUAL, 'pick', OUTBOUND, 0x61,
             'settext', NEW_OUTBOUND, '62', 'click', XLT_ACCEPT)
    dlgdrive(session, TRANSLATE, 'focus', INBOUND, 'pick', INBOUND, 0x78, 'settext', NEW_INBOUND, '79', 'click', XLT_ACCEPT)
    for control, index, text in ((OUTBOUND, 0x61, '61 -> 62'), (INBOUND, 0x78, '78 -> 79'), (INBOUND, 0x79, '79 -> 79')):
        shown = dlgdrive(session, TRANSLATE, 'item', control, index)[0]
        if shown != text:
            raise e2e.Fail('the translate list shows %r for %r' % (shown, text))
    session.keep_dialog(TRANSLATE, 'e2e-dialog-translate-tables')
    dlgdrive(session, TRANSLATE, 'click', OK, 'wait-closed')
    dlgdrive(session, KEYBOARD, 'click', OK, 'wait-closed')


def check_keys(session, translated):
    """F5 and F6 send their strings (through the outbound table, once it maps a to b)."""
    out = (lambda text: text.replace(b'a', b'b')) if translated else (lambda text: text)
    press(session, 'F5', out(b'mapped'))
    press(session, 'F6', out(b'viakey'))
    rows, cursor = session.termfeed(session.received(), 2)
    if not translated:
        session.wait_painted(rows, cursor)


def click_hotspot(session):
    """A click on the hotspot word "hot5" (row 0) sends what F5 is mapped to now."""
    rows, cursor = session.termfeed(session.received(), 2)
    last = [None]

    def button():
        last[0] = view_geometry(session, cursor)
        return last[0] if hotspot_words(session, [(0, 0, 'hot5')], last[0]) == {('hot5', 0)} else None
    cell_w, cell_h, _, _, screen_x, screen_y = e2e.wait_until(
        button, lambda: 'the hotspot button on "hot5" (view geometry %r)' % (last[0],), timeout=30)
    mark = len(session.received())
    subprocess.run(['xdotool', 'mousemove', str(screen_x + cell_w + cell_w // 2), str(screen_y + cell_h // 2),
                    'click', '1'], check=True)
    session.wait_received(b'\rmapped\r\n', mark)
    session.wait_received(b'tolvi$ ', mark)


def check_translation(session):
    # Outbound a -> b: the host gets "echo b".
    echo_line(session, 'a', b'b')
    # Inbound x -> y: the host's "x" is shown as "y".
    echo_line(session, 'x', b'x')
    e2e.wait_until(lambda: 'y' in screen_rows(session), lambda: 'the screen to show "y" for the received "x":\n%s'
                   % '\n'.join(screen_rows(session)))


def save(session):
    for name in ('tolvi-e2e.map', 'tolvi-e2e.key', 'tolvi-e2e.xlt'):
        if os.path.exists(session.path(name)):
            os.remove(session.path(name))
    activate()
    menu_keys('alt+f', 's')
    e2e.wait_until(lambda: all(session.read(n) for n in ('tolvi-e2e.map', 'tolvi-e2e.key', 'tolvi-e2e.xlt')),
                   'File/Save config to write the .map, .key and .xlt files')
    time.sleep(1)


def stop_tolvi(session):
    """Ends the session's Tolvi (its files are saved) before the next one starts."""
    for process in session.processes:
        if process.args[:2] == [session.wine_run, 'Tolvi.exe'] and process.poll() is None:
            process.terminate()
            try:
                process.wait(timeout=20)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()


def load_defaults(session):
    open_keyboard(session)
    dlgdrive(session, KEYBOARD, 'postclick', DEFAULT_MAP)
    answer_yes(session)
    dlgdrive(session, KEYBOARD, 'postclick', TERMINAL_KEYS)
    dlgdrive(session, KEY_DEFS, '--wait', '10000', 'postclick', KDEF_DEFAULT)
    answer_yes(session)
    dlgdrive(session, KEY_DEFS, 'click', OK, 'wait-closed')
    dlgdrive(session, KEYBOARD, 'postclick', XLATE)
    dlgdrive(session, TRANSLATE, '--wait', '10000', 'postclick', XLT_DEFAULT)
    answer_yes(session)
    dlgdrive(session, TRANSLATE, 'click', OK, 'wait-closed')
    dlgdrive(session, KEYBOARD, 'click', OK, 'wait-closed')


def fresh_files(session):
    """The data files a fresh configuration saves: created at start-up (the first-time setup taken
    as it comes), its first File/Save config writes them all. Its emulation must be the test's."""
    fresh = e2e.Session(session.bin, session.root)
    try:
        e2e.forget_window_placement(fresh.root)
        fresh.start([fresh.wine_run, 'Tolvi.exe', fresh.windows_path(e2e.CONFIG_NAME)], cwd=fresh.bin, log='tolvi.log')
        answer_yes(fresh)  # "Unable to find configuration file ... Continue using default settings?"
        dlgdrive(fresh, FIRST_TIME, '--wait', '30000', 'click', OK, 'wait-closed')
        subprocess.run([fresh.wine_run, os.path.join(fresh.bin, 'dlgdrive.exe'), 'Host Name', '--wait', '10000',
                        'click', '2', 'wait-closed'], capture_output=True)
        save(fresh)
        config = fresh.saved_config().split('\n')
        # The same default files: the emulation and platform, and a character set that takes the
        # ANSI table (every one but the DEC multinational and national sets).
        if 'Terminal=2' not in config or 'Platform=3' not in config or 'Charset=1' in config or 'Charset=2' in config:
            raise e2e.Fail('the fresh configuration is another emulation:\n' + '\n'.join(config))
        files = {ext: fresh.read('tolvi-e2e.' + ext) for ext in ('map', 'key', 'xlt')}
        stop_tolvi(fresh)
        return files
    finally:
        fresh.stop()


def test(session):
    start(session)
    map_keys(session)
    check_keys(session, translated=False)
    click_hotspot(session)
    set_translation(session)
    check_translation(session)
    save(session)
    saved = {ext: session.read('tolvi-e2e.' + ext) for ext in ('map', 'key', 'xlt')}
    for ext, needle in (('map', b'pckey: F5 code: 74  tx: echo mapped<cr>'), ('map', b'pckey: F6 code: 75  tx: MYKEY'),
                        ('key', b'define: MYKEY tx: echo viakey<cr>')):
        if needle not in saved[ext]:
            raise e2e.Fail('the saved .%s file lacks %r:\n%s' % (ext, needle, saved[ext].decode('latin1')))
    if len(saved['xlt']) != 512 or saved['xlt'][0x61] != 0x62 or saved['xlt'][256 + 0x78] != 0x79:
        raise e2e.Fail('the saved .xlt file does not hold the two changes')
    stop_tolvi(session)

    # A new start on the saved files keeps all three.
    start(session, config='saved')
    check_keys(session, translated=True)
    check_translation(session)

    stop_tolvi(session)

    # The defaults back: the files saved now are those of a fresh configuration of the emulation.
    session.write(e2e.CONFIG_NAME, session.saved_config().replace('Charset=2', 'Charset=0').replace('\n', '\r\n'))
    start(session, config='saved')
    load_defaults(session)
    save(session)
    restored = {ext: session.read('tolvi-e2e.' + ext) for ext in ('map', 'key', 'xlt')}
    stop_tolvi(session)
    expected = fresh_files(session)
    for ext in ('map', 'key', 'xlt'):
        if restored[ext] != expected[ext]:
            raise e2e.Fail('after "Load default" the .%s file differs from a fresh configuration\'s' % ext)
    if b'mapped' in restored['map'] or b'MYKEY' in restored['key']:
        raise e2e.Fail('the defaults still hold the mapped keys')


if __name__ == '__main__':
    sys.exit(e2e.run(test))
