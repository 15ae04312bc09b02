#!/usr/bin/env python3
"""Writes the manual-duplex dialog's pictures: mdn_remove.bmp, mdn_turn.bmp and mdn_insert.bmp.

Run from anywhere; the files land beside this script. Each is a 64 by 48 drawing on the
background colour RGB(128,128,0), which the dialog leaves transparent: the printed stack lifted
out of the tray, the stack turned over, and the tray pushed back in.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
WIDTH, HEIGHT = 64, 48
BACKGROUND = (0, 128, 128)  # b, g, r
TRAY = (80, 80, 80)
SHEET = (255, 255, 255)
EDGE = (0, 0, 0)
ARROW = (200, 80, 20)


def rectangle(canvas, left, top, right, bottom, colour):
    for y in range(top, bottom):
        for x in range(left, right):
            canvas[y][x] = colour


def stack(canvas, left, top):
    """Three sheets seen from the side, each with a dark edge."""
    for n in range(3):
        y = top + n * 4
        rectangle(canvas, left, y, left + 30, y + 3, SHEET)
        rectangle(canvas, left, y + 3, left + 30, y + 4, EDGE)


def tray(canvas, left):
    rectangle(canvas, left, 38, left + 40, 44, TRAY)
    rectangle(canvas, left, 30, left + 3, 44, TRAY)
    rectangle(canvas, left + 37, 30, left + 40, 44, TRAY)


def arrow_up(canvas, x, top, bottom):
    rectangle(canvas, x - 1, top + 4, x + 2, bottom, ARROW)
    for n in range(5):
        rectangle(canvas, x - n, top + n, x + n + 1, top + n + 1, ARROW)


def arrow_right(canvas, left, right, y):
    rectangle(canvas, left, y - 1, right - 4, y + 2, ARROW)
    for n in range(5):
        rectangle(canvas, right - 5 + n, y - 4 + n, right - 4 + n, y + 5 - n, ARROW)


def remove(canvas):
    tray(canvas, 4)
    stack(canvas, 9, 8)
    arrow_up(canvas, 54, 4, 40)


def turn(canvas):
    stack(canvas, 17, 18)
    # the turn: up on the left, across, down on the right
    rectangle(canvas, 8, 10, 11, 34, ARROW)
    rectangle(canvas, 8, 8, 56, 11, ARROW)
    rectangle(canvas, 53, 8, 56, 30, ARROW)
    for n in range(5):
        rectangle(canvas, 54 - n, 34 - n, 55 + n, 35 - n, ARROW)


def insert(canvas):
    tray(canvas, 22)
    stack(canvas, 27, 26)
    arrow_right(canvas, 2, 20, 40)


def write_bmp(path, draw):
    canvas = [[BACKGROUND] * WIDTH for _ in range(HEIGHT)]
    draw(canvas)
    data = bytearray()
    for row in reversed(canvas):
        line = b"".join(bytes(colour) for colour in row)
        data += line + b"\0" * ((-len(line)) % 4)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, 0, 0, 0, 0, 0)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    with open(path, "wb") as out:
        out.write(header + info + data)


if __name__ == "__main__":
    for name, draw in (("mdn_remove.bmp", remove), ("mdn_turn.bmp", turn),
                       ("mdn_insert.bmp", insert)):
        write_bmp(os.path.join(HERE, name), draw)
