#!/usr/bin/env python3
"""Draws TolviFTP's bitmaps into resources/tolviftp/: the toolbar strip (four 32 x 31 buttons:
Exit, Help, Send selected files, Receive selected files, Abort; in toolbar order Exit, Help, Send,
Abort, Receive) and the 8 x 8 fill pattern of the progress bar. Run it after changing a drawing."""
import math
import os
import struct
import sys

SILVER = (192, 192, 192)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
NAVY = (0, 0, 128)
BLUE = (0, 0, 255)
RED = (192, 0, 0)
BRIGHT_RED = (255, 0, 0)
GREEN = (0, 128, 0)
YELLOW = (255, 255, 0)
BROWN = (128, 64, 0)


class Canvas:
    def __init__(self, width, height, background):
        self.w, self.h = width, height
        self.px = [[background] * width for _ in range(height)]

    def set(self, x, y, colour):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            self.set(x, y0, colour)
            self.set(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.set(x0, y, colour)
            self.set(x1, y, colour)

    def disc(self, cx, cy, r, colour):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.set(x, y, colour)

    def polygon(self, points, colour):
        ys = [p[1] for p in points]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            xs = []
            for i in range(len(points)):
                (x0, y0), (x1, y1) = points[i], points[(i + 1) % len(points)]
                if (y0 <= y < y1) or (y1 <= y < y0):
                    xs.append(x0 + (y - y0) * (x1 - x0) / (y1 - y0))
            xs.sort()
            for a, b in zip(xs[::2], xs[1::2]):
                for x in range(int(math.ceil(a)), int(math.floor(b)) + 1):
                    self.set(x, y, colour)

    def line(self, x0, y0, x1, y1, colour, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = x0 + (x1 - x0) * i / steps
            y = y0 + (y1 - y0) * i / steps
            for dy in range(width):
                for dx in range(width):
                    self.set(int(round(x)) + dx, int(round(y)) + dy, colour)

    def blit(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                self.set(ox + x, oy + y, other.px[y][x])

    def bmp(self):
        row = (self.w * 3 + 3) & ~3
        data = bytearray()
        for y in range(self.h - 1, -1, -1):
            line = bytearray()
            for r, g, b in self.px[y]:
                line += bytes((b, g, r))
            line += b'\0' * (row - len(line))
            data += line
        header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
        info = struct.pack('<IiiHHIIiiII', 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        return header + info + bytes(data)


def pc(c, x, y):
    """A small PC: monitor with a blue screen on a stand."""
    c.rect(x, y, x + 11, y + 8, GREY)
    c.frame(x, y, x + 11, y + 8, BLACK)
    c.rect(x + 2, y + 2, x + 9, y + 6, BLUE)
    c.rect(x + 4, y + 9, x + 7, y + 10, BLACK)
    c.rect(x + 1, y + 11, x + 10, y + 12, GREY)
    c.frame(x + 1, y + 11, x + 10, y + 12, BLACK)


def host(c, x, y):
    """A host: a tower cabinet with drive slots and a green light."""
    c.rect(x, y, x + 8, y + 14, WHITE)
    c.frame(x, y, x + 8, y + 14, BLACK)
    for slot in (3, 6):
        c.line(x + 2, y + slot, x + 6, y + slot, GREY)
    c.rect(x + 2, y + 10, x + 3, y + 11, GREEN)


def exit_button():
    c = Canvas(32, 31, SILVER)
    # An open door in its frame, an arrow leaving through it.
    c.rect(6, 3, 19, 27, BROWN)
    c.frame(6, 3, 19, 27, BLACK)
    c.polygon([(9, 5), (17, 3), (17, 27), (9, 25)], (160, 96, 32))
    c.rect(14, 14, 15, 16, YELLOW)
    c.rect(19, 13, 26, 17, GREEN)
    c.polygon([(24, 9), (30, 15), (24, 21)], GREEN)
    return c


def help_button():
    c = Canvas(32, 31, SILVER)
    c.disc(15.5, 15, 13, NAVY)
    c.disc(15.5, 15, 11, WHITE)
    # The question mark.
    for a in range(200, 420, 4):
        r = math.radians(a)
        c.line(int(15.5 + 5 * math.cos(r)), int(11 + 5 * math.sin(r)),
               int(15.5 + 5 * math.cos(r)), int(11 + 5 * math.sin(r)), NAVY, 3)
    c.rect(14, 15, 16, 19, NAVY)
    c.rect(14, 22, 16, 24, NAVY)
    return c


def transfer_button(sending):
    c = Canvas(32, 31, SILVER)
    pc(c, 1, 15)
    host(c, 22, 1)
    # The arrow: from the PC up to the host to send, from the host down to the PC to receive.
    tail, head = ((8, 12), (22, 5)) if sending else ((22, 10), (8, 17))
    c.line(tail[0], tail[1], head[0], head[1], RED, 3)
    dx, dy = head[0] - tail[0], head[1] - tail[1]
    length = math.hypot(dx, dy)
    ux, uy = dx / length, dy / length
    hx, hy = head[0] + ux * 3, head[1] + uy * 3
    c.polygon([(hx + ux * 2, hy + uy * 2), (hx - ux * 6 - uy * 5, hy - uy * 6 + ux * 5),
               (hx - ux * 6 + uy * 5, hy - uy * 6 - ux * 5)], RED)
    return c


def abort_button():
    c = Canvas(32, 31, SILVER)
    # A stop sign: a red octagon with a white bar.
    points = []
    for i in range(8):
        a = math.radians(22.5 + 45 * i)
        points.append((15.5 + 13 * math.cos(a), 15 + 13 * math.sin(a)))
    c.polygon(points, BLACK)
    points = [(15.5 + 11.5 * math.cos(math.radians(22.5 + 45 * i)), 15 + 11.5 * math.sin(math.radians(22.5 + 45 * i)))
              for i in range(8)]
    c.polygon(points, BRIGHT_RED)
    c.rect(8, 13, 23, 17, WHITE)
    return c


def toolbar():
    buttons = [exit_button(), help_button(), transfer_button(True), abort_button(), transfer_button(False)]
    strip = Canvas(32 * len(buttons), 31, SILVER)
    for i, b in enumerate(buttons):
        strip.blit(b, 32 * i, 0)
    return strip


def progress_pattern():
    # Navy and blue diagonal stripes: the fill of the progress bar.
    c = Canvas(8, 8, BLUE)
    for y in range(8):
        for x in range(8):
            if (x + y) % 8 < 3:
                c.set(x, y, NAVY)
    return c


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'resources', 'tolviftp')
    with open(os.path.join(folder, 'ftp_toolbar.bmp'), 'wb') as f:
        f.write(toolbar().bmp())
    with open(os.path.join(folder, 'ftp_progress.bmp'), 'wb') as f:
        f.write(progress_pattern().bmp())


if __name__ == '__main__':
    main()
