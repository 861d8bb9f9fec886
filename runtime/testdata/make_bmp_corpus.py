#!/usr/bin/env python3
"""Writes the seed corpus of the BMP decoder's fuzz target: small bitmaps of
every supported depth and header kind, and a few malformed ones.

    make_bmp_corpus.py OUT_DIR
"""
import struct
import sys
from pathlib import Path


def bmp(width, height, bits, pixels, *, header=40, compression=0, masks=(), palette=(),
        colors_used=0, offset_adjust=0, planes=1):
    info = struct.pack('<IiiHHIIiiII', header, width, height, planes, bits, compression,
                       len(pixels), 2835, 2835, colors_used, 0)
    info += b''.join(struct.pack('<I', m) for m in masks)
    info = info.ljust(header, b'\0') if len(info) < header else info
    info += b''.join(struct.pack('<I', c) for c in palette)
    offset = 14 + len(info) + offset_adjust
    return b'BM' + struct.pack('<III', 14 + len(info) + len(pixels), 0, offset) + info + pixels


def core(width, height, bits, pixels, palette):
    info = struct.pack('<IHHHH', 12, width, height, 1, bits)
    info += b''.join(struct.pack('<I', c)[:3] for c in palette)
    return b'BM' + struct.pack('<III', 14 + len(info) + len(pixels), 0, 14 + len(info)) + info + pixels


def rows(width, height, bytes_per_pixel, fill):
    stride = (width * bytes_per_pixel + 3) // 4 * 4
    return b''.join((fill(y) * width)[:width * bytes_per_pixel].ljust(stride, b'\0') for y in range(height))


FILES = {
    'rgb24-bottom-up.bmp': bmp(3, 2, 24, rows(3, 2, 3, lambda y: bytes([255 * y, 0, 255]))),
    'rgb24-top-down.bmp': bmp(5, -3, 24, rows(5, 3, 3, lambda y: bytes([0x9C, 0xD7, 0xF3]))),
    'bitfields32.bmp': bmp(2, 2, 32, rows(2, 2, 4, lambda y: bytes([1, 2, 3, 0])), compression=3,
                           masks=(0xFF0000, 0xFF00, 0xFF)),
    'bitfields32-v5-alpha.bmp': bmp(2, -2, 32, rows(2, 2, 4, lambda y: bytes([9, 8, 7, 0x80])),
                                    header=124, compression=3,
                                    masks=(0xFF, 0xFF00, 0xFF0000, 0xFF000000)),
    'rgb565.bmp': bmp(3, 1, 16, rows(3, 1, 2, lambda y: bytes([0x1F, 0xF8])), compression=3,
                      masks=(0xF800, 0x07E0, 0x001F)),
    'rgb555.bmp': bmp(2, 2, 16, rows(2, 2, 2, lambda y: bytes([0xFF, 0x7F]))),
    'palette8.bmp': bmp(3, 1, 8, b'\x00\x01\x02\x00', colors_used=3,
                        palette=(0x112233, 0x445566, 0x778899)),
    'palette4.bmp': bmp(3, 2, 4, b'\x01\x20\x00\x00\x12\x00\x00\x00', colors_used=3,
                        palette=(0, 0xFF0000, 0x00FF00)),
    'mono.bmp': bmp(9, 2, 1, b'\xA5\x80\x00\x00\x5A\x00\x00\x00', palette=(0, 0xFFFFFF)),
    'core-header.bmp': core(2, 1, 8, b'\x00\x01\x00\x00', (0xFF0000, 0x0000FF)),
    'truncated-pixels.bmp': bmp(4, 4, 24, b'\x00' * 40),
    'offset-past-end.bmp': bmp(1, 1, 24, b'\x00' * 4, offset_adjust=100),
    'rle8.bmp': bmp(2, 2, 8, b'\x02\x00\x00\x00', compression=1, palette=(0, 0xFFFFFF)),
    'huge-dimensions.bmp': bmp(30000, 30000, 1, b'\x00' * 16, palette=(0, 0xFFFFFF)),
    'scattered-mask.bmp': bmp(1, 1, 32, b'\x00' * 4, compression=3, masks=(0xF0F00000, 0xFF00, 0xFF)),
}


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for name, data in FILES.items():
        (out / name).write_bytes(data)


if __name__ == '__main__':
    main()
