#!/usr/bin/env python3
"""Writes test_icon.ico: one icon in three sizes, each in a colour of its own, so a test can
tell which image a load chose: 16 x 16 red (32 bits with alpha), 32 x 32 green (32 bits, the
top-left quarter transparent through alpha), 48 x 48 blue (8 bits with a palette, the top-left
quarter transparent through the AND mask)."""
import struct
import sys


def dib_header(size, bits, colors=0):
    return struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bits, 0, 0, 0, 0, colors, 0)


def mask_rows(size, transparent):
    row_bytes = ((size + 31) // 32) * 4
    out = b''
    for y in range(size - 1, -1, -1):  # bottom row first
        bits = bytearray(row_bytes)
        for x in range(size):
            if transparent(x, y):
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bytes(bits)
    return out


def image32(size, rgb, transparent):
    pixels = b''
    for y in range(size - 1, -1, -1):
        for x in range(size):
            alpha = 0 if transparent(x, y) else 255
            pixels += bytes((rgb[2], rgb[1], rgb[0], alpha))
    return dib_header(size, 32) + pixels + mask_rows(size, lambda x, y: False)


def image8(size, rgb, transparent):
    palette = bytes((rgb[2], rgb[1], rgb[0], 0)) + bytes(4 * 255)
    pixels = bytes(size * size)  # every pixel is palette entry 0
    return dib_header(size, 8, 256) + palette + pixels + mask_rows(size, transparent)


def main(path):
    def quarter(size):
        return lambda x, y: x < size // 2 and y < size // 2
    images = [
        (16, 32, image32(16, (255, 0, 0), lambda x, y: False)),
        (32, 32, image32(32, (0, 255, 0), quarter(32))),
        (48, 8, image8(48, (0, 0, 255), quarter(48))),
    ]
    header = struct.pack('<HHH', 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, data = b'', b''
    for size, bits, image in images:
        colors = 0 if bits >= 8 else 1 << bits
        entries += struct.pack('<BBBBHHII', size, size, colors, 0, 1, bits, len(image), offset + len(data))
        data += image
    with open(path, 'wb') as f:
        f.write(header + entries + data)


main(sys.argv[1] if len(sys.argv) > 1 else 'test_icon.ico')
