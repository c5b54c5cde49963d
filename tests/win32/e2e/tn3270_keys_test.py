#!/usr/bin/env python3
"""Tolvi.exe in 3270 mode against the project's loopback tn3270 host: the PC keys of the 3270
keyboard file, pressed with xdotool, send the attention identifiers of Enter, Clear, PA1, PF1,
PF13 and PF24 (the host logs every inbound record).

    tn3270_keys_test.py TOLVI_BIN_DIR PROJECT_ROOT
"""
import subprocess
import sys

import e2e

CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=No
PromptForHost=No
[3270]
TerminalFamily3270=1
'''

# The PC key and the AID its record starts with.
KEYS = [('Return', '7D'), ('Pause', '6D'), ('Prior', '6C'), ('F1', 'F1'), ('shift+F1', 'C1'), ('shift+F12', '4C')]

# A formatted screen with one input field; after each record from the client the keyboard is
# restored (Write with WCC keyboard restore).
SCRIPT = "F5 C3 11 40 40 1D F0 'NAME' 1D 40 11 40 4A\n" + "wait 30\nF1 C2\n" * len(KEYS) + "sleep 2\n"


def test(session):
    port = session.tn3270_host(SCRIPT)
    session.tolvi(CONFIG, '/ip:127.0.0.1', '/tport:%d' % port, '/c')
    e2e.wait_until(lambda: session.read('host.log').startswith(b'type '), 'the terminal type at the host')
    session.click_view()
    for count, (key, aid) in enumerate(KEYS, 1):
        subprocess.run(['xdotool', 'key', key], check=True)

        def logged():
            records = session.read('host.log').decode().splitlines()[1:]
            return records if len(records) >= count else None
        records = e2e.wait_until(logged, lambda: 'the record of %s (host log: %r)' % (key, session.read('host.log')),
                                 timeout=20)
        if not records[count - 1].startswith(aid):
            raise e2e.Fail('%s sent %s, not the AID %s' % (key, records[count - 1], aid))


if __name__ == '__main__':
    sys.exit(e2e.run(test))
