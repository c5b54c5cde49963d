#!/usr/bin/env python3
"""Print Screen and capture to a printer in Tolvi.exe against telnetd, printing through the Wine
test printer (the PostScript driver with our small PPD, its port a file). The printed text is read
back from the PostScript: each character is a "/name glyphshow" after a "x y moveto"; the glyphs
are put back into rows by their y and into columns by their x.

Cases (each with a session and a printer of its own, removed afterwards):
  dialog     File/Print Screen through the print dialog: the printed rows equal the screen (line
             drawing as '+', '-', '|'), centred on the page
  font0      the same with ScreenDumpType 0 (the printer's own font)
  font2      and with ScreenDumpType 2 (ScreenDumpFont, bold, scaled to the page)
  append     ScreenDumpAppend: further Print Screens answered Yes go on the same page until it is
             full; after another, No ends the job
  host       the host's print-screen request (ESC [ i) prints on the default printer, no dialog
  wyse       the same for a Wyse 50 host's request (ESC p)
  gone       a host's request when the default printer has gone: message 61702, no crash
  file       print to file: the dump file holds the screen rows, line drawing in OEM bytes
  selection  a dragged selection prints only its cells
  capture    File/Capture to Printer/File to the printer: the received lines are printed

    print_screen_test.py TOLVI_BIN_DIR PROJECT_ROOT
"""
import os
import re
import subprocess
import sys
import time

import e2e
from mouse_clipboard_test import Grid, drag, dlgdrive, menu

# The print dialog of the system: the printer list, Selection, Print to file.
PRINTER_LIST = 1139
SELECTION = 1057
PRINT_TO_FILE = 1040
IDOK, IDYES, IDNO = 1, 6, 7

FULL_ROW = '0123456789' * 8
# The screen the host draws: rows of line drawing, colours, a blank row, a full row; the cursor
# ends at (13, 0), where view_cells finds the cell grid.
SCREEN = ['+----------+', '| Print me |', '+----------+', '', 'red and blue text'] + \
         ['Line %02d of the screen' % n for n in range(5, 22)] + [FULL_ROW, 'the last row']
# The screen as the dump file holds it: line drawing in the OEM code page's box characters.
DUMPED = [b'\xda' + b'\xc4' * 10 + b'\xbf', b'\xb3 Print me \xb3', b'\xc0' + b'\xc4' * 10 + b'\xd9'] + \
         [row.encode('latin1') for row in SCREEN[3:]]
LOGIN = r'''#!/bin/bash
stty -echo
printf '\033[2J\033[H'
printf '\033(0lqqqqqqqqqqk\033(B\r\n'
printf '\033(0x\033(B Print me \033(0x\033(B\r\n'
printf '\033(0mqqqqqqqqqqj\033(B\r\n'
printf '\r\n'
printf '\033[31mred\033[0m and \033[44mblue\033[0m text\r\n'
for n in $(seq 5 21); do printf 'Line %02d of the screen\r\n' $n; done
printf 'FULL\r\n'
printf 'the last row\033[14;1H'
while IFS= read -r key; do
  case "${key%$'\r'}" in
    h) printf '\033[i' ;;
    c) for n in $(seq 1 5); do printf 'captured line %d\r\n' $n; done
       printf 'end of capture\r\n' ;;
  esac
done
'''.replace('FULL', FULL_ROW)

# A Wyse 50 host: two rows of text, and the print-screen request (ESC p) on "w".
WYSE_LOGIN = r'''#!/bin/bash
stty -echo
printf 'wyse screen line one\r\nwyse screen line two\r\n'
while IFS= read -r key; do
  [[ ${key%$'\r'} == w ]] && printf '\033p'
done
'''

CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=No
PromptForHost=No
ScreenDumpAppend=%d
'''

GLYPHS = {
    'space': ' ', 'exclam': '!', 'quotedbl': '"', 'numbersign': '#', 'dollar': '$', 'percent': '%',
    'ampersand': '&', 'quotesingle': "'", 'quoteright': "'", 'parenleft': '(', 'parenright': ')',
    'asterisk': '*', 'plus': '+', 'comma': ',', 'hyphen': '-', 'minus': '-', 'period': '.', 'slash': '/',
    'colon': ':', 'semicolon': ';', 'less': '<', 'equal': '=', 'greater': '>', 'question': '?', 'at': '@',
    'bracketleft': '[', 'backslash': '\\', 'bracketright': ']', 'asciicircum': '^', 'underscore': '_',
    'grave': '`', 'quoteleft': '`', 'braceleft': '{', 'bar': '|', 'braceright': '}', 'asciitilde': '~',
    'zero': '0', 'one': '1', 'two': '2', 'three': '3', 'four': '4', 'five': '5', 'six': '6', 'seven': '7',
    'eight': '8', 'nine': '9',
}


def glyph_char(name):
    if len(name) == 1 and name.isalpha():
        return name
    return GLYPHS.get(name, '?')


def postscript_pages(data):
    """The pages of a PostScript file, each a list of text runs [x, y, text]: a "x y moveto"
    starts a run, and each "/name glyphshow" after it adds a character."""
    pages = []
    run = None
    tokens = data.decode('latin1').split()
    for i, token in enumerate(tokens):
        if token == '%%Page:':
            pages.append([])
            run = None
        elif token == 'moveto' and i >= 2:
            try:
                run = [float(tokens[i - 2]), float(tokens[i - 1]), '']
            except ValueError:
                run = None
        elif token == 'glyphshow' and i >= 1 and tokens[i - 1].startswith('/') and pages and run is not None:
            if not run[2]:
                pages[-1].append(run)
            run[2] += glyph_char(tokens[i - 1][1:])
    return pages


def widest_box(data):
    """The widest background box ("x y moveto w 0 rlineto") of a PostScript file: (x, w)."""
    boxes = re.findall(rb'(\d+) \d+ moveto\s+(\d+) 0 rlineto', data)
    return max(((int(x), int(w)) for x, w in boxes), key=lambda b: b[1], default=(0, 0))


def page_rows(runs):
    """The rows of a page, top first (the driver's y grows downwards), each its runs joined from
    left to right (a printed line is contiguous, blanks included); also the leftmost x and the
    character width (from a row of several runs, 0 when there is none)."""
    by_row = {}
    for x, y, text in runs:
        by_row.setdefault(round(y), []).append((x, text))
    rows, width = [], 0
    for y in sorted(by_row):
        line = sorted(by_row[y])
        if len(line) > 1:
            width = (line[1][0] - line[0][0]) / len(line[0][1])
        rows.append(''.join(text for _, text in line).rstrip())
    left = min((x for x, _, _ in runs), default=0)
    return rows, left, width


class Printer:
    """The Wine test printer of a session, writing to printer.ps in the session's folder."""

    def __init__(self, session):
        self.session = session
        self.file = session.path('printer.ps')
        self.tool([ 'add', session.windows_path('printer.ps')])

    def tool(self, args):
        result = subprocess.run([self.session.wine_run, os.path.join(self.session.bin, 'test_printer_tool.exe')] + args,
                                capture_output=True)
        if result.returncode != 0:
            raise e2e.Fail('test_printer_tool %s: %s' % (args, result.stderr.decode(errors='replace')))

    def remove(self):
        self.tool(['remove'])

    def output(self):
        """Waits for a finished document; returns its bytes."""
        def done():
            try:
                data = open(self.file, 'rb').read()
            except OSError:
                return None
            return data if b'%%EOF' in data else None
        return e2e.wait_until(done, 'the printer to write a document', timeout=60)

    def printed_within(self, seconds):
        """True when a finished document is there within the given seconds."""
        end = time.monotonic() + seconds
        while True:
            if os.path.exists(self.file) and b'%%EOF' in open(self.file, 'rb').read():
                return True
            if time.monotonic() > end:
                return False
            time.sleep(0.2)

    def forget(self):
        """Removes what was printed, before the next document starts."""
        if os.path.exists(self.file):
            os.remove(self.file)


def expected_rows(rows):
    return [r.rstrip() for r in rows]


def compare(printed, wanted, what):
    if printed != wanted:
        raise e2e.Fail('%s:\nprinted:\n%s\nwanted:\n%s' % (what, '\n'.join(printed), '\n'.join(wanted)))


def print_screen_menu():
    menu(0, 'p')


def choose_printer(session, selection=None, to_file=False, shot=None):
    """Answers the print dialog: the test printer, Selection as told, Print to file as told."""
    count = int(dlgdrive(session, 'Print', 'count', str(PRINTER_LIST)).split()[0])
    names = [dlgdrive(session, 'Print', 'item', str(PRINTER_LIST), str(i)).strip() for i in range(count)]
    if 'Tolvi Test Printer' not in names:
        raise e2e.Fail('the print dialog does not list the test printer: %r' % names)
    dlgdrive(session, 'Print', 'pick', str(PRINTER_LIST), str(names.index('Tolvi Test Printer')))
    if selection is not None:
        offered = subprocess.run([session.wine_run, os.path.join(session.bin, 'dlgdrive.exe'), 'Print', 'checked',
                                  str(SELECTION)], capture_output=True)
        checked = offered.stdout.decode().strip() == '1'
        if checked != selection:
            raise e2e.Fail('Selection is %s in the print dialog' % ('chosen' if checked else 'not chosen'))
    if to_file:
        dlgdrive(session, 'Print', 'click', str(PRINT_TO_FILE))
    if shot:
        session.keep_dialog('Print', shot)
    dlgdrive(session, 'Print', 'click', str(IDOK), 'wait-closed')


def start(session, append=0, more_config=''):
    port = session.telnetd(LOGIN)
    session.tolvi(CONFIG % append + more_config, '/ip:127.0.0.1', '/tport:%d' % port, '/c')
    session.wait_received(b'the last row')
    session.wait_painted(SCREEN, (13, 0))
    session.click_view()


def check_screen_page(rows, what):
    compare(rows, expected_rows(SCREEN), what)


def case_dialog(session, printer):
    start(session)
    print_screen_menu()
    choose_printer(session, selection=False, shot='e2e-dialog-print-screen')
    data = printer.output()
    pages = postscript_pages(data)
    if len(pages) != 1:
        raise e2e.Fail('%d pages printed, not 1' % len(pages))
    rows, _, _ = page_rows(pages[0])
    check_screen_page(rows, 'the printed page')
    # Centred: the full row's background box has as much room left of it as right of it (A4,
    # 595 points, at 300 dpi).
    left, width = widest_box(data)
    right = 595 * 300 // 72 - (left + width)
    if width < 80 or abs(left - right) > width // 80:
        raise e2e.Fail('the rows are not centred: %d dots left, %d right' % (left, right))


def print_with_font(session, printer, dump_type, more_config=''):
    start(session, more_config='ScreenDumpType=%d\n%s' % (dump_type, more_config))
    print_screen_menu()
    choose_printer(session)
    data = printer.output()
    rows, _, _ = page_rows(postscript_pages(data)[0])
    check_screen_page(rows, 'the page printed with ScreenDumpType %d' % dump_type)
    return data


def case_font0(session, printer):
    print_with_font(session, printer, 0)


def case_font2(session, printer):
    data = print_with_font(session, printer, 2, 'ScreenDumpFont="Courier New"\nScreenDumpFontWeight=700\n')
    # The system puts a fixed-pitch face of its own in place of the one asked for; the weight stays.
    if not re.search(rb'/FontName /\S*Bold', data):
        raise e2e.Fail('the page is not printed in a bold font')
    left, width = widest_box(data)
    if left + width > 595 * 300 // 72:
        raise e2e.Fail('the scaled font does not fit the page: %d + %d dots' % (left, width))


def case_append(session, printer):
    start(session, append=1)
    print_screen_menu()
    choose_printer(session)
    time.sleep(1)
    if os.path.exists(printer.file) and b'%%EOF' in open(printer.file, 'rb').read():
        raise e2e.Fail('the first screen was printed at once although it was to be appended to')
    # Each Yes appends a screen; the page is printed once the next screen would not fit on it.
    # How many fit depends on the height of the printer's font (the fonts installed), so the
    # page is checked to hold as many whole screens as were printed, at least two.
    screens = 1
    while True:
        print_screen_menu()
        if screens == 1:
            session.keep_dialog('Tolvi', 'e2e-dialog-append-screendump')
        dlgdrive(session, 'Tolvi', 'click', str(IDYES))
        screens += 1
        if printer.printed_within(2 if screens < 6 else 60):
            break
    pages = postscript_pages(printer.output())
    if len(pages) != 1:
        raise e2e.Fail('%d pages printed, not 1' % len(pages))
    rows, _, _ = page_rows(pages[0])
    compare(rows, expected_rows(SCREEN) * screens, 'the page of %d screens' % screens)
    # A new job stays open after one screen; No ends it, and the next screen starts another.
    printer.forget()
    print_screen_menu()
    choose_printer(session)
    print_screen_menu()
    dlgdrive(session, 'Tolvi', 'click', str(IDNO))
    pages = postscript_pages(printer.output())
    rows, _, _ = page_rows(pages[0])
    check_screen_page(rows, 'the job ended by No')
    dlgdrive(session, 'Print', 'click', '2', 'wait-closed')  # Cancel: no third job
    # A job held open for appending is printed when the program ends.
    printer.forget()
    print_screen_menu()
    choose_printer(session)
    time.sleep(1)
    if os.path.exists(printer.file) and b'%%EOF' in open(printer.file, 'rb').read():
        raise e2e.Fail('the held screen was printed before the program ended')
    menu(0, 'x')
    dlgdrive(session, 'Tolvi', 'click', str(IDYES))  # disconnect and exit
    pages = postscript_pages(printer.output())
    rows, _, _ = page_rows(pages[0])
    check_screen_page(rows, 'the job held open at exit')


def case_host(session, printer):
    start(session)
    session.type_line('h')
    pages = postscript_pages(printer.output())
    rows, _, _ = page_rows(pages[0])
    check_screen_page(rows, 'the page the host asked for')


def case_wyse(session, printer):
    port = session.telnetd(WYSE_LOGIN)
    session.tolvi(CONFIG % 0 + 'Terminal=8\n', '/ip:127.0.0.1', '/tport:%d' % port, '/c')
    session.wait_received(b'line two')
    session.click_view()
    session.type_line('w')
    pages = postscript_pages(printer.output())
    rows, _, _ = page_rows(pages[0])
    compare(rows, ['wyse screen line one', 'wyse screen line two'] + [''] * 22, 'the page the Wyse host asked for')


def case_gone(session, printer):
    """The default printer has gone when the host asks: message 61702, and the session goes on."""
    start(session)
    printer.remove()
    session.type_line('h')
    text = dlgdrive(session, 'Tolvi', 'text', '65535')
    if 'Could not start print job.' not in text:
        raise e2e.Fail('the message is %r' % text)
    session.keep_dialog('Tolvi', 'e2e-dialog-print-job-failed')
    dlgdrive(session, 'Tolvi', 'click', str(IDOK), 'wait-closed')
    session.wait_painted(SCREEN, (13, 0))


def case_file(session, printer):
    start(session, append=1)
    dump = session.windows_path('dump.txt')
    for n in range(2):
        print_screen_menu()
        if n == 0:
            choose_printer(session, to_file=True)
            session.keep_dialog('Save As', 'e2e-dialog-screen-dump-file')
            # The proposed name is selected in the file name box, which has the keyboard.
            subprocess.run(['xdotool', 'type', '--delay', '40', dump], check=True)
            dlgdrive(session, 'Save As', 'click', str(IDOK), 'wait-closed')
        else:
            dlgdrive(session, 'Tolvi', 'click', str(IDYES))
        screen = b''.join(row.ljust(80) + b'\r\n' for row in DUMPED)
        wanted = screen * (n + 1)
        got = e2e.wait_until(lambda: session.read('dump.txt') if len(session.read('dump.txt')) >= len(wanted) else None,
                             lambda: 'the dump file (%d bytes)' % len(session.read('dump.txt')), timeout=20)
        if got != wanted:
            raise e2e.Fail('the dump file differs:\n%r\nwanted:\n%r' % (got[:400], wanted[:400]))


def case_selection(session, printer):
    start(session)
    grid = Grid(session)
    drag(grid, 1, 2, 4, 9)
    print_screen_menu()
    choose_printer(session, selection=True, shot='e2e-dialog-print-selection')
    pages = postscript_pages(printer.output())
    rows, _, _ = page_rows(pages[0])
    compare(rows, [r.ljust(10)[2:10].rstrip() for r in SCREEN[1:5]], 'the printed selection')


def case_capture(session, printer):
    start(session)
    menu(0, 'c')
    choose_printer(session)
    session.type_line('c')
    session.wait_received(b'end of capture')
    time.sleep(1)
    menu(0, 'c')
    pages = postscript_pages(printer.output())
    rows, _, _ = page_rows(pages[0])
    compare(rows, ['captured line %d' % n for n in range(1, 6)] + ['end of capture'], 'the captured page')


CASES = {'dialog': case_dialog, 'font0': case_font0, 'font2': case_font2, 'append': case_append, 'host': case_host, 'wyse': case_wyse, 'gone': case_gone,
         'file': case_file, 'selection': case_selection, 'capture': case_capture}


def test(session, case):
    printer = Printer(session)
    try:
        CASES[case](session, printer)
    finally:
        printer.remove()


if __name__ == '__main__':
    wanted = os.environ.get('TOLVI_PRINT_CASES')
    sys.exit(e2e.run(test, cases=wanted.split(',') if wanted else list(CASES)))
