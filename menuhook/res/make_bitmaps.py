#!/usr/bin/env python3
"""Draws the two menu bitmaps of the context-menu item: a price tag with a note on it.

Menuhook13.bmp: 13 x 13 pixels, 8 bits per pixel (palette; the first pixel's colour becomes
the window colour when loaded with LR_LOADTRANSPARENT).
Menuhook16.bmp: 16 x 16 pixels, 32 bits per pixel, premultiplied alpha (drawn blended by the
menu from Windows Vista on).

Run it from this folder to write both files again; the output is committed beside it.
"""
import struct

TAG = (0x1E, 0x88, 0xA8)      # teal body
EDGE = (0x0E, 0x4F, 0x63)     # darker outline
NOTE = (0xFF, 0xFF, 0xFF)     # white note
HOLE = (0xFF, 0xFF, 0xFF)


def inside_tag(x, y, size):
    """A tag pointing left: a rectangle with its left end cut to a point."""
    m = size / 16.0
    left, right, top, bottom = 1.0 * m, 15.0 * m, 2.5 * m, 13.5 * m
    mid = (top + bottom) / 2
    point = 5.0 * m  # where the point's slopes meet the straight edges
    if not (left <= x <= right and top <= y <= bottom):
        return False
    if x < point:
        # Within the triangle whose tip is (left, mid).
        half = (bottom - top) / 2 * (x - left) / (point - left)
        return abs(y - mid) <= half
    return True


def on_note(x, y, size):
    """An eighth note: a round head, a stem, a flag."""
    m = size / 16.0
    hx, hy, r = 8.5 * m, 10.3 * m, 1.6 * m
    if (x - hx) ** 2 + ((y - hy) * 1.25) ** 2 <= r * r:
        return True
    sx = hx + r - 0.6 * m
    if sx - 0.55 * m <= x <= sx + 0.55 * m and 4.0 * m <= y <= hy:
        return True
    if sx <= x <= sx + 2.6 * m and 4.0 * m <= y <= 4.0 * m + 1.3 * m + (x - sx) * 0.45:
        return True
    return False


def in_hole(x, y, size):
    m = size / 16.0
    return (x - 3.6 * m) ** 2 + (y - 8.0 * m) ** 2 <= (0.9 * m) ** 2


def coverage(px, py, size, test, n=4):
    hits = 0
    for i in range(n):
        for j in range(n):
            if test(px + (i + 0.5) / n, py + (j + 0.5) / n, size):
                hits += 1
    return hits / (n * n)


def pixel(px, py, size):
    """Colour and coverage of one pixel (top-down coordinates)."""
    body = coverage(px, py, size, inside_tag)
    if body == 0:
        return (0, 0, 0), 0.0
    inner = coverage(px, py, size, lambda x, y, s: inside_tag(x - 0.9 * s / 16, y, s) and
                     inside_tag(x + 0.9 * s / 16, y, s) and inside_tag(x, y - 0.9 * s / 16, s) and
                     inside_tag(x, y + 0.9 * s / 16, s))
    note = coverage(px, py, size, on_note)
    hole = coverage(px, py, size, in_hole)
    colour = [EDGE[k] * (1 - inner) + TAG[k] * inner for k in range(3)]
    colour = [colour[k] * (1 - note) + NOTE[k] * note for k in range(3)]
    colour = [colour[k] * (1 - hole) + HOLE[k] * hole for k in range(3)]
    return tuple(int(round(c)) for c in colour), body


def file_header(size_of_bits, offset):
    return b"BM" + struct.pack("<IHHI", offset + size_of_bits, 0, 0, offset)


def write_8bpp(path, size):
    background = (0xFF, 0x00, 0xFF)  # index 0: replaced by the window colour on load
    palette = [background]
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            colour, alpha = pixel(px, py, size)
            if alpha < 0.5:
                row.append(0)
                continue
            if colour not in palette:
                palette.append(colour)
            row.append(palette.index(colour))
        rows.append(row)
    assert len(palette) <= 256
    stride = (size + 3) // 4 * 4
    bits = b"".join(bytes(row) + b"\0" * (stride - size) for row in reversed(rows))
    colours = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 8, 0, len(bits), 2835, 2835,
                       len(palette), 0)
    with open(path, "wb") as f:
        f.write(file_header(len(bits), 14 + 40 + len(colours)) + info + colours + bits)


def write_32bpp(path, size):
    rows = []
    for py in range(size):
        row = b""
        for px in range(size):
            (r, g, b), alpha = pixel(px, py, size)
            a = int(round(alpha * 255))
            # Premultiplied, as the menu's alpha blend expects.
            row += bytes((b * a // 255, g * a // 255, r * a // 255, a))
        rows.append(row)
    bits = b"".join(reversed(rows))
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 32, 0, len(bits), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(file_header(len(bits), 14 + 40) + info + bits)


if __name__ == "__main__":
    write_8bpp("Menuhook13.bmp", 13)
    write_32bpp("Menuhook16.bmp", 16)
