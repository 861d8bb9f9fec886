#!/usr/bin/env python3
"""Writes a skin of extreme values from a well-formed one, for the engine
to show without crashing or looping.

    make_extreme_skin.py SOURCE_DIR OUT_DIR

Every line of SOURCE_DIR's definition is kept in order, changed by rule,
and the images are copied or replaced:
- every third object loses its image (the key is dropped) and every third
  of the rest names a file the skin does not hold;
- images are cut down to a few pixels, far smaller than their margins;
- margins, heights and widths become huge or negative, by turns;
- frame counts become 7, 0 and -3 by turns, which divide no image's width.
The same bytes on every run.
"""
import os
import re
import shutil
import struct
import sys

IMAGE_KEYS = re.compile(r"^(Image|Bitmap|Chunk|Border|ButtonImage|GlyphImage|CheckButton|RadioButton|"
                        r"Left|Right|Top|Bottom|TextBack|MENUBAR)$", re.IGNORECASE)
SIZE_KEYS = re.compile(r"(Width|Height|TopHeight|BotHeight|Shift|Clip|Xcoord|Ycoord|TXTBackleft|"
                       r"TXTBackRight|TileLeftMenu|TileRightMenu)$", re.IGNORECASE)
FRAME_KEYS = re.compile(r"^(frame|FrameCount|.*Frame)$", re.IGNORECASE)
HUGE_SIZES = ["0x7FFFFFFF", "-2147483648", "100000", "-7", "$FFFF"]
FRAME_COUNTS = ["7", "0", "-3"]


def tiny_bmp(width, height):
    """A 24-bit picture of grey pixels, never the key colour."""
    stride = (width * 3 + 3) // 4 * 4
    pixels = b"".join(bytes((90, 100, 110)) * width + bytes(stride - width * 3) for _ in range(height))
    offset = 14 + 40
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    return header + info + pixels


def rewrite(lines):
    counters = {"image": 0, "size": 0, "frame": 0}
    out = []
    for line in lines:
        key, sep, value = line.partition("=")
        name = key.strip()
        if not sep or name.startswith(";") or name.startswith("["):
            out.append(line)
            continue
        if IMAGE_KEYS.match(name) and value.strip().lower().endswith(".bmp"):
            turn = counters["image"] % 3
            counters["image"] += 1
            if turn == 0:
                continue
            if turn == 1:
                line = f"{key}= absent.bmp"
        elif FRAME_KEYS.match(name):
            line = f"{key}= {FRAME_COUNTS[counters['frame'] % len(FRAME_COUNTS)]}"
            counters["frame"] += 1
        elif SIZE_KEYS.search(name):
            line = f"{key}= {HUGE_SIZES[counters['size'] % len(HUGE_SIZES)]}"
            counters["size"] += 1
        out.append(line)
    return out


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_extreme_skin.py SOURCE_DIR OUT_DIR")
    source, out = sys.argv[1], sys.argv[2]
    if os.path.isdir(out):
        shutil.rmtree(out)
    os.makedirs(out)
    names = sorted(os.listdir(source))
    for index, name in enumerate(names):
        path = os.path.join(source, name)
        if ".ini" in name.lower():
            with open(path, encoding="latin-1", newline="") as f:
                lines = f.read().splitlines()
            with open(os.path.join(out, name), "w", encoding="latin-1", newline="") as f:
                f.write("\r\n".join(rewrite(lines)) + "\r\n")
        elif name.lower().endswith(".bmp"):
            # Pictures of 1 x 1 to 3 x 2 pixels, by turns; a few kept whole.
            if index % 4 == 3:
                shutil.copyfile(path, os.path.join(out, name))
            else:
                with open(os.path.join(out, name), "wb") as f:
                    f.write(tiny_bmp(1 + index % 3, 1 + index % 2))


if __name__ == "__main__":
    main()
