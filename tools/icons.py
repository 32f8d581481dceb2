#!/usr/bin/env python3
"""Writes the programs' 16-colour icons from pixel art kept in this file.

Each image is a list of rows; each character picks a colour of the standard
16-colour palette ('.' is transparent). Run: python3 tools/icons.py OUTDIR
(the installer's images: python3 tools/icons.py --installer [OUTDIR])
"""
import os
import struct
import sys

PALETTE = [  # the standard VGA order, (r, g, b)
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
KEYS = "0123456789abcdef"  # index into PALETTE


def _dib(rows):
    size = len(rows)
    assert all(len(r) == size for r in rows), "images are square"
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor, mask = b"", b""
    for row in reversed(rows):  # bottom-up
        nibbles = [0 if c == "." else KEYS.index(c) for c in row]
        line = bytes((nibbles[i] << 4) | (nibbles[i + 1] if i + 1 < size else 0) for i in range(0, size, 2))
        xor += line.ljust(xor_stride, b"\0")
        bits = 0
        out = bytearray(and_stride)
        for x, c in enumerate(row):
            if c == ".":
                out[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(out)
        del bits
    return header + palette + xor + mask


def write_ico(path, images):
    dibs = [_dib(rows) for rows in images]
    out = struct.pack("<HHH", 0, 1, len(dibs))
    offset = 6 + 16 * len(dibs)
    for rows, dib in zip(images, dibs):
        size = len(rows)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 16, 0, 1, 4, len(dib), offset)
        offset += len(dib)
    with open(path, "wb") as f:
        f.write(out + b"".join(dibs))


def chip(size, body="0", pin="7", mark="f", notch="8"):
    """A dual-in-line chip seen from above, pins left and right."""
    rows = [["."] * size for _ in range(size)]
    s = size / 32
    left, right = int(8 * s), size - int(8 * s)
    top, bottom = int(2 * s), size - int(2 * s)
    for y in range(top, bottom):
        for x in range(left, right):
            rows[y][x] = body
    pitch = max(2, int(4 * s))
    for y in range(top + pitch // 2, bottom - 1, pitch):
        for x in list(range(left - int(5 * s), left)) + list(range(right, right + int(5 * s))):
            rows[y][x] = pin
            if pitch > 2:
                rows[y + 1][x] = pin
    cx = size // 2
    for x in range(cx - int(3 * s), cx + int(3 * s)):
        for y in range(top, top + max(1, int(2 * s))):
            rows[y][x] = notch
    d = max(1, int(2 * s))
    for y in range(top + int(4 * s), top + int(4 * s) + d):
        for x in range(left + int(3 * s), left + int(3 * s) + d):
            rows[y][x] = mark
    return ["".join(r) for r in rows]


def certificate(size):
    """A sheet with written lines and a red seal with ribbons, lower right."""
    rows = [["."] * size for _ in range(size)]
    s = size / 32
    left, right = int(4 * s), size - int(6 * s)
    top, bottom = int(2 * s), size - int(3 * s)
    for y in range(top, bottom):
        for x in range(left, right):
            edge = y in (top, bottom - 1) or x in (left, right - 1)
            rows[y][x] = "0" if edge else "f"
    for y in range(top + max(2, int(5 * s)), bottom - int(12 * s), max(2, int(4 * s))):
        for x in range(left + max(2, int(4 * s)), right - max(2, int(4 * s))):
            rows[y][x] = "8"
    cx, cy, r = right - int(6 * s), bottom - int(7 * s), max(2, int(5 * s))
    for y in range(cy, min(size, cy + int(8 * s) + 1)):
        for x in (cx - r // 2, cx + r // 2):
            rows[y][x] = "1"
    for y in range(cy - r, cy + r + 1):
        for x in range(cx - r, cx + r + 1):
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                rows[y][x] = "b" if (x - cx) ** 2 + (y - cy) ** 2 <= (r // 3) ** 2 else "9"
    return ["".join(r) for r in rows]


def floppy(size):
    """A blue floppy disk: silver shutter at the top, white label below."""
    rows = [["."] * size for _ in range(size)]
    s = size / 32
    lo, hi = int(2 * s), size - int(2 * s)
    for y in range(lo, hi):
        for x in range(lo, hi):
            rows[y][x] = "0" if y in (lo, hi - 1) or x in (lo, hi - 1) else "4"
    # the cut corner, top right
    for i in range(int(4 * s)):
        for j in range(int(4 * s) - i):
            rows[lo + i][hi - 1 - j] = "."
    for y in range(lo + 1, lo + int(10 * s)):
        for x in range(lo + int(7 * s), hi - int(7 * s)):
            rows[y][x] = "7"
    for y in range(lo + int(2 * s), lo + int(8 * s)):
        for x in range(hi - int(12 * s), hi - int(9 * s)):
            rows[y][x] = "4"
    for y in range(hi - int(13 * s), hi - 1):
        for x in range(lo + int(4 * s), hi - int(4 * s)):
            rows[y][x] = "f"
    for y in range(hi - int(10 * s), hi - int(2 * s), max(2, int(3 * s))):
        for x in range(lo + int(6 * s), hi - int(6 * s)):
            rows[y][x] = "8"
    return ["".join(r) for r in rows]


def install_arrow(size):
    """A yellow folder with a green arrow pointing into it."""
    rows = [["."] * size for _ in range(size)]
    s = size / 32
    left, right = int(2 * s), size - int(2 * s)
    top, bottom = int(14 * s), size - int(3 * s)
    for x in range(left, left + int(11 * s)):
        for y in range(top - int(3 * s), top):
            rows[y][x] = "3" if y == top - int(3 * s) or x == left else "b"
    for y in range(top, bottom):
        for x in range(left, right):
            edge = y in (top, bottom - 1) or x in (left, right - 1)
            rows[y][x] = "3" if edge else "b"
    cx = size // 2
    shaft = max(1, int(3 * s))
    for y in range(0, top + int(4 * s)):
        for x in range(cx - shaft, cx + shaft):
            rows[y][x] = "2"
    head = int(7 * s)
    tip = top + int(10 * s)
    for i in range(head):
        y = tip - head + i
        for x in range(cx - (head - i), cx + (head - i)):
            rows[y][x] = "2" if i < head - 1 else "a"
    return ["".join(r) for r in rows]


def velisca(outdir):
    """The installer's window icon and the picture on its install button."""
    os.makedirs(outdir, exist_ok=True)
    write_ico(os.path.join(outdir, "velisca.ico"), [floppy(32), floppy(16)])
    write_ico(os.path.join(outdir, "installa.ico"), [install_arrow(32)])


def main(outdir):
    os.makedirs(outdir, exist_ok=True)
    # The calculator's chip: black body, silver pins, white pin-1 dot.
    write_ico(os.path.join(outdir, "zornavex.ico"), [chip(32), chip(16)])
    # Second icon of the program file (for shortcuts): the chip in blue.
    write_ico(os.path.join(outdir, "zornavex2.ico"), [chip(32, body="4"), chip(16, body="4")])
    # The authorship certificate's window icon.
    write_ico(os.path.join(outdir, "certificato.ico"), [certificate(32), certificate(16)])


if __name__ == "__main__":
    # python3 tools/icons.py --installer [OUTDIR] writes the installer's images.
    if len(sys.argv) > 1 and sys.argv[1] == "--installer":
        velisca(sys.argv[2] if len(sys.argv) > 2 else "installer/res")
    else:
        main(sys.argv[1] if len(sys.argv) > 1 else "calculator/res")
