#!/usr/bin/env python3
"""Writes resources/vuko.ico: one 32 x 32 image with 16 colours (4 bits a pixel).

The picture is a sheet of paper with rows of hexadecimal cells and a blue
band at the top, drawn from a character map so that it is easy to change.
Run it again after editing PICTURE; the .ico is committed.
"""
import struct
import sys

# The standard 16-colour palette (blue, green, red, reserved).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
# Characters of PICTURE and their palette indices; '.' is transparent.
KEY = {'.': None, 'k': 0, 'b': 1, 'w': 15, 'g': 7, 'd': 8, 'r': 12, 'c': 9, 'y': 14}

PICTURE = [
    "................................",
    "..kkkkkkkkkkkkkkkkkkkkkkkk......",
    "..kbbbbbbbbbbbbbbbbbbbbbbk......",
    "..kbwwbbwwbbbwbbbwbwwwbbbk......",
    "..kbwwbbwwbbbwbbbwbwbwbbbkk.....",
    "..kbbwwwwbbbbwbbbwbwbwbbbkwk....",
    "..kbbbwwbbbbbbwwwbbwwwbbbkwwk...",
    "..kbbbbbbbbbbbbbbbbbbbbbbkkkkk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwddwddwddwwwrrwwcccwcccwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwddwddwddwwwddwwcccwcccwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwddwrrwddwwwddwwcccwcccwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwddwddwddwwwddwwcccwcccwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwddwddwddwwwddwwcccwcccwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwddwddwrrwwwddwwcccwcccwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwddwddwddwwwddwwcccwcccwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwddwddwddwwwddwwcccwcccwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwddwddwddwwwddwwcccwcccwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwgggggggggggggggggggggggwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kkkkkkkkkkkkkkkkkkkkkkkkkkkk..",
    "................................",
    "................................",
]


def main(path):
    assert len(PICTURE) == 32 and all(len(row) == 32 for row in PICTURE)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(PICTURE):  # bitmaps are stored bottom-up
        line = bytearray()
        for x in range(0, 32, 2):
            hi = KEY[row[x]] or 0
            lo = KEY[row[x + 1]] or 0
            line.append((hi << 4) | lo)
        xor += line
        bits = 0
        for x, ch in enumerate(row):
            if KEY[ch] is None:
                bits |= 1 << (31 - x)
        mask += bits.to_bytes(4, 'big')
    header = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    palette = b''.join(bytes((b, g, r, 0)) for (b, g, r) in PALETTE)
    image = header + palette + bytes(xor) + bytes(mask)
    icondir = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', 32, 32, 16, 0, 1, 4, len(image), 6 + 16)
    with open(path, 'wb') as f:
        f.write(icondir + entry + image)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'resources/vuko.ico')
