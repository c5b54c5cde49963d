#!/usr/bin/env python3
"""The Telnet Data Mark never reaches the screen. A scripted loopback host sends text, then IAC and
the Data Mark as urgent data (MSG_OOB) in the ways hosts do: IAC in-band and DM urgent in a send of
its own, IAC urgent with DM after it (telnetd's flush of output), both in one urgent send, and IAC DM
plainly in-band; then telnetd itself flushes its output when Ctrl-C interrupts a sleep. The
terminal's screen (the recording through termfeed) and the painted window show the text around the
mark and no 0xF2.

    data_mark_test.py TOLVI_BIN_DIR PROJECT_ROOT
"""
import socket
import sys
import threading
import time

import e2e

CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=No
PromptForHost=No
CursorStyle=0
Charset=3
'''

IAC, DM = b'\xff', b'\xf2'
# Each way of sending the mark: a list of (bytes, urgent) sends, after "<n>a" and before "b".
WAYS = [
    [(IAC, False), (DM, True)],
    [(IAC, True), (DM, False)],
    [(IAC + DM, True)],
    [(IAC + DM, False)],
]


def scripted_host(listener, done):
    connection, _ = listener.accept()
    with connection:
        connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        for n, way in enumerate(WAYS):
            connection.sendall(b'%da' % n)
            time.sleep(0.3)
            for data, urgent in way:
                connection.send(data, socket.MSG_OOB if urgent else 0)
                time.sleep(0.3)
            connection.sendall(b'b\r\n')
            time.sleep(0.3)
        connection.sendall(b'end\r\n')
        done.wait(60)


def scripted_peer(session):
    listener = socket.socket()
    listener.bind(('127.0.0.1', 0))
    listener.listen(1)
    done = threading.Event()
    threading.Thread(target=scripted_host, args=(listener, done), daemon=True).start()
    try:
        session.tolvi(CONFIG, '/ip:127.0.0.1', '/tport:%d' % listener.getsockname()[1], '/c')
        session.wait_received(b'end\r\n')
        expected = ['%dab' % n for n in range(len(WAYS))] + ['end']
        session.wait_painted(expected, (len(expected), 0), timeout=20)
    finally:
        done.set()
        listener.close()


LOGIN = r'''#!/bin/bash
export PS1='tolvi$ '
exec /bin/bash --norc --noprofile -i
'''


def telnetd_interrupt(session):
    port = session.telnetd(LOGIN)
    session.tolvi(CONFIG, '/ip:127.0.0.1', '/tport:%d' % port, '/c')
    prompt = session.wait_received(b'tolvi$ ')
    session.click_view()
    session.type_line('sleep 30')
    session.wait_received(b'sleep 30', prompt)
    time.sleep(1)
    e2e.subprocess.run(['xdotool', 'key', 'ctrl+c'], check=True)
    after = session.wait_received(b'tolvi$ ', prompt)
    # The screen as it should be: what the host sent, without any Data Mark.
    rows, cursor = session.termfeed(session.received().replace(DM, b''), 2)
    if not any(row.startswith('tolvi$') for row in rows[1:4]):
        raise e2e.Fail('no new prompt after the interrupt: %r' % rows[:3])
    session.wait_painted(rows, cursor, timeout=20)


if __name__ == '__main__':
    sys.exit(e2e.run(lambda session, case: case(session), (scripted_peer, telnetd_interrupt)))
