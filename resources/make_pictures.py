#!/usr/bin/env python3
"""Writes the language module's small pictures: moltr.bmp, moltr.cur and moltr.ico.

Run from anywhere; the files land beside this script. The drawings are a blue square with a
white diagonal, so that a wrong image (or a mirrored one) is easy to see.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def bitmap_info(width, height, bits, colours=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, 0, 0, 0, colours, 0)


def pixel(x, y, size):
    """Colour (b, g, r) at x, y counted from the top."""
    return (255, 255, 255) if x == y else (200, 80, 20)


def rows_bottom_up(size):
    return range(size - 1, -1, -1)


def write_bmp(path, size):
    data = bytearray()
    for y in rows_bottom_up(size):
        row = b"".join(bytes(pixel(x, y, size)) for x in range(size))
        data += row + b"\0" * ((-len(row)) % 4)
    info = bitmap_info(size, size, 24)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    with open(path, "wb") as out:
        out.write(header + info + data)


def icon_image(size):
    """A 32-bit image with an all-opaque mask, as an icon directory entry's data."""
    colour = bytearray()
    for y in rows_bottom_up(size):
        for x in range(size):
            colour += bytes(pixel(x, y, size)) + b"\xff"
    mask_row = (size + 31) // 32 * 4
    mask = b"\0" * (mask_row * size)
    return bitmap_info(size, size * 2, 32) + bytes(colour) + mask


def cursor_image(size):
    """A 1-bit cursor: black diagonal, transparent elsewhere."""
    palette = b"\0\0\0\0" + b"\xff\xff\xff\0"
    stride = (size + 31) // 32 * 4
    xor = bytearray()
    andmask = bytearray()
    for y in rows_bottom_up(size):
        xrow = bytearray(stride)
        arow = bytearray(b"\xff" * stride)
        for x in range(size):
            if x == y:
                arow[x // 8] &= ~(0x80 >> (x % 8)) & 0xFF
        xor += xrow
        andmask += arow
    return bitmap_info(size, size * 2, 1, 2) + palette + bytes(xor) + bytes(andmask)


def write_directory(path, kind, images, hotspot=None):
    """An .ico (kind 1) or .cur (kind 2) file holding `images` as (size, data) pairs; a cursor's
    entry holds its hot spot where an icon's holds planes and bits."""
    header = struct.pack("<HHH", 0, kind, len(images))
    offset = len(header) + 16 * len(images)
    entries = b""
    for size, data in images:
        planes, bits = (1, 32) if kind == 1 else hotspot
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, planes, bits,
                               len(data), offset)
        offset += len(data)
    with open(path, "wb") as out:
        out.write(header + entries + b"".join(data for _, data in images))


write_bmp(os.path.join(HERE, "moltr.bmp"), 16)
write_directory(os.path.join(HERE, "moltr.ico"), 1, [(16, icon_image(16)), (32, icon_image(32))])
write_directory(os.path.join(HERE, "moltr.cur"), 2, [(32, cursor_image(32))], hotspot=(0, 0))
