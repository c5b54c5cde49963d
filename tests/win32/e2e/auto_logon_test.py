#!/usr/bin/env python3
"""Tolvi.exe logs on by itself: the session's configuration file holds the automatic log-on's
prompt/reply pairs ("ogin:" -> the user, "ord:" -> the password, stored scrambled as the
configuration file keeps it), and Tolvi answers the prompts of telnetd's log-in script, which
reports the user and the password and starts a shell for the right password. Nothing is typed by
the test. A second case keeps the default pairs, whose user reply is the PC's user name
(%pluser%, in lower case).

    auto_logon_test.py TOLVI_BIN_DIR PROJECT_ROOT
"""
import os
import pwd
import sys

import e2e

LOGIN = e2e.logon_host()


CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=No
PromptForHost=No
CursorStyle=0
AutoLogin=Yes
AutoUser2=%s
''' % e2e.scrambled('s3cret')

# Wine gives the Unix user's name as the PC user's.
CASES = {
    'configured pairs': ('AutoLoginCR=Yes\nAutoHost1="ogin:"\nAutoUser1="tester"\nAutoHost2="ord:"\n', 'tester'),
    'default pairs': ('', pwd.getpwuid(os.getuid()).pw_name.lower()),
}


def test(session, case):
    pairs, user = CASES[case]
    port = session.telnetd(LOGIN)
    session.tolvi(CONFIG + pairs, '/ip:127.0.0.1', '/tport:%d' % port, '/c')
    session.wait_received(b'login: ')
    prompt = session.wait_received(b'tolvi$ ')
    report = session.read('report.txt').decode('latin1').strip()
    if report != 'user=[%s] pass=[s3cret]' % user:
        raise e2e.Fail('the log-in script got %r' % report)
    rows, cursor = session.termfeed(session.received(), 2)
    if rows[:4] != ['Welcome to the test host', '', 'login: ' + user, 'Password:'] or rows[4] != 'tolvi$':
        raise e2e.Fail('the screen after the log-on: %r' % rows[:6])
    session.wait_painted(rows, cursor)
    # The log-on has run through its pairs: the window title no longer shows it.
    title = e2e.wait_until(lambda: 'auto-login' not in session.title() and session.title(),
                           lambda: 'the title to drop the log-on state: %r' % session.title())
    if '127.0.0.1' not in title:
        raise e2e.Fail('the window title is %r' % title)
    if session.received()[prompt:].strip():
        raise e2e.Fail('the host sent more after the prompt: %r' % session.received()[prompt:])


if __name__ == '__main__':
    sys.exit(e2e.run(test, list(CASES)))
