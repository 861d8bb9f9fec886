#!/usr/bin/env python3
"""Fails when a screenshot shows the skin's key colour.

Magenta (255, 0, 255) marks the pixels a skin image leaves out: wherever
one reaches the screen, a painter drew a transparent image opaque.

    scan_key_colour.py FOLDER...

Reads every .bmp of the folders (uncompressed, 24 or 32 bits a pixel, as
the screenshots are written) and prints, per screenshot, how many key
pixels it has and where the first few are. Exit status 1 when any has
one, or when a folder holds no screenshot at all.
"""
import pathlib
import struct
import sys

KEY = (255, 0, 255)
SHOWN = 5


def key_pixels(path):
    data = path.read_bytes()
    if data[:2] != b"BM" or len(data) < 54:
        raise ValueError(f"{path}: not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits not in (24, 32) or compression not in (0, 3):
        raise ValueError(f"{path}: {bits} bits a pixel, compression {compression}: not a screenshot")
    step = bits // 8
    stride = (width * step + 3) & ~3
    rows = abs(height)
    if offset + stride * rows > len(data):
        raise ValueError(f"{path}: shorter than its {width} x {rows} pixels")
    found = []
    for row in range(rows):
        start = offset + row * stride
        line = data[start:start + width * step]
        # Blue, green, red in the file.
        for x in range(width):
            at = x * step
            if line[at + 2] == KEY[0] and line[at + 1] == KEY[1] and line[at] == KEY[2]:
                y = rows - 1 - row if height > 0 else row
                found.append((x, y))
    return width, rows, found


def main():
    if len(sys.argv) < 2:
        sys.exit("usage: scan_key_colour.py FOLDER...")
    failed = False
    for folder in map(pathlib.Path, sys.argv[1:]):
        shots = sorted(folder.glob("*.bmp"))
        if not shots:
            print(f"{folder}: no screenshots")
            failed = True
        for shot in shots:
            width, height, found = key_pixels(shot)
            if found:
                failed = True
                where = ", ".join(f"({x}, {y})" for x, y in found[:SHOWN])
                print(f"{shot}: {len(found)} key pixels of {width} x {height}, first at {where}")
            else:
                print(f"{shot}: no key pixel")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
