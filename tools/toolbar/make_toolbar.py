#!/usr/bin/env python3
"""Turns the toolbar's pictures (toolbar_pictures.txt: one letter per pixel) into the image strip
of the toolbar, a 24-bit Windows bitmap of 16 x 15 pixel images side by side.

    make_toolbar.py PICTURES OUTPUT.bmp
"""
import struct
import sys

WIDTH, HEIGHT = 16, 15
COLOURS = {
    '.': (192, 192, 192), 'k': (0, 0, 0), 'w': (255, 255, 255), 'g': (128, 128, 128),
    'l': (224, 224, 224), 'y': (255, 255, 0), 'o': (128, 128, 0), 'r': (255, 0, 0),
    'R': (128, 0, 0), 'G': (0, 192, 0), 'd': (0, 128, 0), 'b': (0, 0, 128), 'B': (0, 0, 255),
    'c': (0, 255, 255), 'C': (0, 128, 128), 'm': (255, 0, 255),
}


def read_pictures(path):
    pictures = []
    current = None
    with open(path, encoding='ascii') as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip('\n')
            if not line or line.startswith('#'):
                current = None
                continue
            if line[0].isdigit():
                index = int(line.split()[0])
                if index != len(pictures):
                    sys.exit('%s:%d: picture %d out of order' % (path, number, index))
                current = []
                pictures.append((line, current))
                continue
            if current is None or len(line) != WIDTH or any(c not in COLOURS for c in line):
                sys.exit('%s:%d: a row of %d picture letters expected' % (path, number, WIDTH))
            current.append(line)
    for title, rows in pictures:
        if len(rows) != HEIGHT:
            sys.exit('%s: picture "%s" has %d rows, not %d' % (path, title, len(rows), HEIGHT))
    return [rows for _, rows in pictures]


def write_bitmap(path, pictures):
    width = WIDTH * len(pictures)
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(HEIGHT)):  # bottom-up
        row = bytearray()
        for rows in pictures:
            for letter in rows[y]:
                r, g, b = COLOURS[letter]
                row += bytes((b, g, r))
        row += bytes(stride - len(row))
        pixels += row
    header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + pixels)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    write_bitmap(sys.argv[2], read_pictures(sys.argv[1]))


if __name__ == '__main__':
    main()
