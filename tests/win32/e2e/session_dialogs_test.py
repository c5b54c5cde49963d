#!/usr/bin/env python3
"""Tolvi.exe against telnetd: the small session dialogs, the prompt and lock administration,
opened from the menu with keys and driven by control id with dlgdrive.

- auto login: log-on pairs typed into Config/Auto Login log on by themselves at the next connect.
- environment: a UNIX environment of two lines typed into Config/UNIX ENV setup reaches the log-in
  script's report; after File/Save config and a new start on the saved file it does again.
- pin: a configuration whose password reply is %pin% asks with the prompt, which echoes '*'; the
  typed PIN reaches the host.
- user name: a configuration whose user reply is %pluser%, on a PC that gives no user name (Wine
  takes it from USER, here empty), asks with the user-name dialog; the typed name reaches the host
  in lower case, as %pluser% with a lower-case first letter gives it.
- locks: Config/Lock settings locks Colors behind a password, which has to be typed twice;
  File/Save config; on a new start Config/Colors opens nothing and Lock settings refuses a wrong
  password.

Screenshots of the dialogs are kept in build/win64/screens.

    session_dialogs_test.py TOLVI_BIN_DIR PROJECT_ROOT

TOLVI_E2E_CASE=locks (or another case's name) runs one case alone.
"""
import os
import subprocess
import sys
import time

import e2e

# The log-in host also reports two environment variables and marks the end of its report.
LOGIN = e2e.logon_host('user=[$user] pass=[$pass] TERM=[$TERM] TOLVIVAR=[$TOLVIVAR]', 'REPORTED\\r\\n')

BASE = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=No
PromptForHost=No
AutoConnect=No
CursorStyle=0
'''

AUTO_LOGIN, LOCK_ADMIN, KEYIN, USER_NAME = 'Automatic Login', 'Lock administration', 'Keyin:', 'USER NAME'


def dlgdrive_run(session, caption, *commands, wait=None):
    args = [session.wine_run, os.path.join(session.bin, 'dlgdrive.exe'), caption]
    if wait is not None:
        args += ['--wait', str(wait)]
    return subprocess.run(args + [str(c) for c in commands], capture_output=True)


def dlgdrive(session, caption, *commands):
    result = dlgdrive_run(session, caption, *commands)
    if result.returncode != 0:
        raise e2e.Fail('dlgdrive %s %r: exit %d %s' % (caption, commands, result.returncode,
                                                       result.stderr.decode(errors='replace')))
    return result.stdout.decode().replace('\r', '').split('\n')


def dlgdrive_async(session, caption, *commands):
    """A dlgdrive whose command waits on a nested dialog (it returns once that is done)."""
    return subprocess.Popen([session.wine_run, os.path.join(session.bin, 'dlgdrive.exe'), caption] +
                            [str(c) for c in commands], stdout=subprocess.PIPE, stderr=subprocess.PIPE)


def keys(*names):
    for key in names:
        subprocess.run(['xdotool', 'key', key], check=True)
        time.sleep(0.4)


def check(session, caption, id_, on):
    if dlgdrive(session, caption, 'checked', id_)[0] != ('1' if on else '0'):
        dlgdrive(session, caption, 'click', id_)


def focus_window():
    """A click into Tolvi's terminal area gives it the keyboard (it shows a caret only once
    connected)."""
    window = e2e.wait_until(lambda: e2e.xdotool_out('search', '--onlyvisible', '--name', e2e.WINDOW_NAME),
                            "Tolvi's window").split()[0]
    subprocess.run(['xdotool', 'mousemove', '--window', window, '300', '200', 'click', '1'], check=True)
    time.sleep(0.5)


def start(session, config, *options):
    port = session.telnetd(LOGIN, ['--accept-env=TOLVIVAR'])
    session.tolvi(config, '/ip:127.0.0.1', '/tport:%d' % port, *options)
    e2e.wait_until(lambda: session.title(), "Tolvi's window")
    if '/c' in options:
        session.wait_received(b'login: ')
        session.click_view()
    else:
        focus_window()


def connect(session):
    keys('alt+s', 'c')
    session.wait_received(b'login: ')


def report(session):
    session.wait_received(b'REPORTED')
    return session.read('report.txt').decode('latin1').strip()


def restart(session):
    """Stops the session and starts Tolvi again, connected, on the configuration it saved."""
    saved = session.saved_config()
    session.stop()
    again = e2e.Session(session.bin, session.root)
    start(again, saved, '/c')
    return again


def lock_settings():
    """Config/Lock settings, the menu's last entry."""
    keys('alt+c', 'Up', 'Return')


def test_auto_login(session):
    start(session, BASE + 'AutoLogin=No\n')
    keys('alt+c', 'a')
    for id_, text in ((1040, 'ogin:'), (1041, 'tester'), (1042, 'ord:'), (1043, 's3cret')):
        dlgdrive(session, AUTO_LOGIN, 'settext', id_, text)
    check(session, AUTO_LOGIN, 1087, True)
    check(session, AUTO_LOGIN, 1057, True)
    session.keep_dialog(AUTO_LOGIN, 'e2e-dialog-auto-login')
    dlgdrive(session, AUTO_LOGIN, 'click', 1, 'wait-closed')
    focus_window()
    connect(session)
    got = report(session)
    if not got.startswith('user=[tester] pass=[s3cret]'):
        raise e2e.Fail('the log-in script got %r' % got)
    session.wait_received(b'tolvi$ ')


def test_environment(session):
    start(session, BASE + 'UnixEnvEnable=No\nUnixEnv=\n')
    keys('alt+c', 'e')
    check(session, 'Host environment table', 1046, True)
    dlgdrive(session, 'Host environment table', 'focus', 1088)
    subprocess.run(['xdotool', 'type', '--delay', '60', 'TERM=%terminal%'], check=True)
    keys('Return')
    subprocess.run(['xdotool', 'type', '--delay', '60', 'TOLVIVAR=hello'], check=True)
    text = dlgdrive(session, 'Host environment table', 'text', 1088)
    if 'TOLVIVAR=hello' not in ''.join(text) or len([t for t in text if t]) < 2:
        raise e2e.Fail('the table holds %r, not two lines' % text)
    session.keep_dialog('Host environment table', 'e2e-dialog-host-env')
    dlgdrive(session, 'Host environment table', 'click', 1, 'wait-closed')
    focus_window()
    keys('alt+f', 's')
    e2e.wait_until(lambda: b'UnixEnv="TERM=%terminal% TOLVIVAR=hello"' in session.read(e2e.CONFIG_NAME),
                   lambda: 'the environment in the saved file: %r' % session.read(e2e.CONFIG_NAME)[-400:])
    connect(session)
    session.click_view()
    session.type_line('tester')
    session.wait_received(b'Password: ')
    session.type_line('x')
    got = report(session)
    if 'TOLVIVAR=[hello]' not in got or 'TERM=[]' in got:
        raise e2e.Fail('the log-in script got %r' % got)

    again = restart(session)
    try:
        again.type_line('tester')
        again.wait_received(b'Password: ')
        again.type_line('x')
        got = report(again)
        if 'TOLVIVAR=[hello]' not in got:
            raise e2e.Fail('after the restart the log-in script got %r' % got)
    finally:
        again.stop()


def test_pin(session):
    config = BASE + 'AutoLogin=Yes\nAutoLoginCR=Yes\nAutoHost1="ogin:"\nAutoUser1="tester"\nAutoHost2="ord:"\n'
    config += 'AutoUser2=%s\n' % e2e.scrambled('%pin%')
    port = session.telnetd(LOGIN)
    session.tolvi(config, '/ip:127.0.0.1', '/tport:%d' % port, '/c')
    session.wait_received(b'Password: ')
    prompt = dlgdrive(session, KEYIN, 'text', 111)
    if prompt[0] != 'Pin code:':
        raise e2e.Fail('the prompt says %r' % prompt)
    dlgdrive(session, KEYIN, 'focus', 110)
    subprocess.run(['xdotool', 'type', '--delay', '80', 's3cret'], check=True)
    session.keep_dialog(KEYIN, 'e2e-dialog-pin')
    keys('Return')
    got = report(session)
    if not got.startswith('user=[tester] pass=[s3cret]'):
        raise e2e.Fail('the log-in script got %r' % got)
    session.wait_received(b'tolvi$ ')


def test_locks(session):
    start(session, BASE, '/c')
    session.wait_received(b'login: ')
    lock_settings()
    dlgdrive(session, LOCK_ADMIN, 'click', 3301, 'settext', 3324, 'tolvi7')
    if dlgdrive(session, LOCK_ADMIN, 'pressed', 3301)[0] != '1':
        raise e2e.Fail('the Colors padlock is not shut')
    session.keep_dialog(LOCK_ADMIN, 'e2e-dialog-lock-admin')
    ok = dlgdrive_async(session, LOCK_ADMIN, 'click', 1)
    # OK asks for the new password again.
    if dlgdrive(session, KEYIN, 'text', 111)[0] != 'Re-enter password:':
        raise e2e.Fail('no re-entry prompt')
    dlgdrive(session, KEYIN, 'settext', 110, 'tolvi7', 'click', 1, 'wait-closed')
    ok.wait(timeout=30)
    e2e.wait_until(lambda: dlgdrive_run(session, LOCK_ADMIN, 'text', 3324, wait=0).returncode == 2,
                   'the lock dialog to close')
    session.click_view()
    keys('alt+f', 's')
    e2e.wait_until(lambda: 'LockColors=Yes' in session.saved_config(),
                   lambda: 'LockColors=Yes in the saved file: %r' % session.saved_config()[-600:])
    if 'tolvi7' in session.saved_config():
        raise e2e.Fail('the password is saved in the clear')

    again = restart(session)
    try:
        keys('alt+c', 'c')
        if dlgdrive_run(again, 'Colors', 'text', 1, wait=4000).returncode != 2:
            raise e2e.Fail('Config/Colors opened its dialog in a locked configuration')
        keys('Escape', 'Escape')
        again.click_view()
        lock_settings()
        if dlgdrive(again, KEYIN, 'text', 111)[0] != 'Lock administration  password':
            raise e2e.Fail('Lock settings does not ask for the password')
        again.keep_dialog(KEYIN, 'e2e-dialog-lock-password')
        dlgdrive(again, KEYIN, 'settext', 110, 'wrong', 'click', 1, 'wait-closed')
        message = dlgdrive(again, 'Tolvi', 'text', 65535)
        again.keep_dialog('Tolvi', 'e2e-dialog-invalid-password')
        if message[0] != 'Invalid password':
            raise e2e.Fail('the refusal says %r' % message)
        dlgdrive(again, 'Tolvi', 'click', 1, 'wait-closed')
        if dlgdrive_run(again, LOCK_ADMIN, 'text', 3324, wait=3000).returncode != 2:
            raise e2e.Fail('lock administration opened after a wrong password')
    finally:
        again.stop()

def test_user_name(session):
    config = BASE + 'AutoLogin=Yes\nAutoLoginCR=Yes\nAutoHost1="ogin:"\nAutoUser1="%pluser%"\nAutoHost2="ord:"\n'
    config += 'AutoUser2=%s\n' % e2e.scrambled('s3cret')
    port = session.telnetd(LOGIN)
    session.tolvi(config, '/ip:127.0.0.1', '/tport:%d' % port, '/c', env={'USER': ''})
    session.wait_received(b'login: ')
    dlgdrive(session, USER_NAME, 'focus', 3101)
    subprocess.run(['xdotool', 'type', '--delay', '80', 'Oskar'], check=True)
    session.keep_dialog(USER_NAME, 'e2e-dialog-user-name')
    keys('Return')
    got = report(session)
    if not got.startswith('user=[oskar] pass=[s3cret]'):
        raise e2e.Fail('the log-in script got %r' % got)
    session.wait_received(b'tolvi$ ')


CASES = {'auto login': test_auto_login, 'environment': test_environment, 'pin': test_pin, 'user name': test_user_name,
         'locks': test_locks}


def test(session, case):
    CASES[case](session)


if __name__ == '__main__':
    only = os.environ.get('TOLVI_E2E_CASE')
    sys.exit(e2e.run(test, [only] if only else list(CASES)))
