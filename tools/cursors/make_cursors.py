#!/usr/bin/env python3
"""Writes the terminal view's two mouse cursors (resources/cursors/*.cur) from the pictures
below: 'B' black, 'W' white, '.' see-through; 'h' marks the hot spot (drawn black).

    tools/cursors/make_cursors.py RESOURCES_DIR
"""
import os
import struct
import sys

# Over a screen button: a pointing hand.
BUTTON = r'''
.....h..........
....BWB.........
....BWB.........
....BWB.........
....BWBBB.......
....BWBWWBBB....
.BB.BWBWWBWWBB..
BWWBBWWWWWWWWWB.
BWWWBWWWWWWWWWB.
.BWWWWWWWWWWWWB.
..BWWWWWWWWWWWB.
..BWWWWWWWWWWB..
...BWWWWWWWWWB..
...BWWWWWWWWB...
....BWWWWWWWB...
....BBBBBBBBB...
'''

# While a file transfer runs: the arrow with a sheet of paper.
TRANSFER = r'''
h...............
BB..............
BWB.............
BWWB............
BWWWB...........
BWWWWB..........
BWWWWWB.........
BWWWWWWB........
BWWWWWWWB.......
BWWWWBBBBB......
BWBWWB...BBBBBB.
BB.BWWB..BWWWWBB
B..BWWB..BWBBWWB
....BWWB.BWWWWWB
....BWWB.BWBBBWB
.....BB..BWWWWWB
.........BWBBBWB
.........BWWWWWB
.........BBBBBBB
'''


def cursor(picture):
    rows = [r for r in picture.strip('\n').split('\n')]
    size = 32
    xor = bytearray(size * size // 8)
    mask = bytearray(b'\xff' * (size * size // 8))
    hot = (0, 0)
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch == '.':
                continue
            if ch == 'h':
                hot = (x, y)
            line = size - 1 - y  # bottom-up
            index = line * (size // 8) + x // 8
            bit = 0x80 >> (x % 8)
            mask[index] &= ~bit & 0xFF
            if ch == 'W':
                xor[index] |= bit
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 0)
    palette = b'\x00\x00\x00\x00\xff\xff\xff\x00'
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', size, size, 0, 0, hot[0], hot[1], len(image), 6 + 16)
    return directory + entry + image


def main():
    folder = os.path.join(sys.argv[1] if len(sys.argv) > 1 else 'resources', 'cursors')
    os.makedirs(folder, exist_ok=True)
    for name, picture in (('button', BUTTON), ('transfer', TRANSFER)):
        with open(os.path.join(folder, name + '.cur'), 'wb') as f:
            f.write(cursor(picture))


if __name__ == '__main__':
    main()
