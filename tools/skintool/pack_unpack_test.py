#!/usr/bin/env python3
"""skintool on a small folder: pack takes its .ini and .bmp files (any
case of the extension, nothing else), unpack gives them back under their
lower-case names with the same bytes; lzh-encode and lzh-decode undo each
other; exit statuses 0, 1 and 64.

Arguments: the skintool program and a scratch folder (emptied first).
"""
import os
import random
import shutil
import subprocess
import sys


def run(tool, *arguments):
    return subprocess.run([tool, *arguments], stdout=subprocess.PIPE, stderr=subprocess.PIPE).returncode


def main():
    tool, scratch = sys.argv[1], sys.argv[2]
    shutil.rmtree(scratch, ignore_errors=True)
    source = os.path.join(scratch, "skin")
    os.makedirs(os.path.join(source, "images.bmp"))  # a folder: never packed
    rng = random.Random(7)
    parts = {
        "Skin.INI": b"[Form]\r\nColor=255\r\n" * 40,
        "Title.bmp": b"BM" + rng.randbytes(5000),
        "border.BMP": b"BM" + bytes(9000),
        "empty.bmp": b"",
    }
    for name, data in parts.items():
        with open(os.path.join(source, name), "wb") as f:
            f.write(data)
    with open(os.path.join(source, "readme.txt"), "wb") as f:
        f.write(b"not part of a skin")

    failures = []

    def check(condition, message):
        if not condition:
            failures.append(message)

    skin_file = os.path.join(scratch, "test.skn")
    check(run(tool, "pack", source, skin_file) == 0, "pack failed")
    unpacked = os.path.join(scratch, "unpacked")
    check(run(tool, "unpack", skin_file, unpacked) == 0, "unpack failed")
    found = sorted(os.listdir(unpacked)) if os.path.isdir(unpacked) else []
    check(found == sorted(n.lower() for n in parts), "unpacked names: %s" % found)
    for name, data in parts.items():
        path = os.path.join(unpacked, name.lower())
        if os.path.exists(path):
            with open(path, "rb") as f:
                check(f.read() == data, "%s differs" % name)

    original = os.path.join(source, "Title.bmp")
    packed = os.path.join(scratch, "title.lzh")
    decoded = os.path.join(scratch, "title.out")
    check(run(tool, "lzh-encode", original, packed) == 0, "lzh-encode failed")
    check(run(tool, "lzh-decode", packed, decoded) == 0, "lzh-decode failed")
    with open(original, "rb") as a, open(decoded, "rb") as b:
        check(a.read() == b.read(), "lzh-decode did not give the original back")

    check(run(tool) == 64, "no command: not 64")
    check(run(tool, "pack", source) == 64, "missing argument: not 64")
    check(run(tool, "frobnicate") == 64, "unknown command: not 64")
    check(run(tool, "unpack", original, unpacked) == 1, "unpacking a non-skin: not 1")
    check(run(tool, "lzh-decode", os.path.join(scratch, "missing"), decoded) == 1,
          "missing input: not 1")
    check(run(tool, "dump", skin_file) == 64, "dump on this platform: not 64")

    for message in failures:
        print("FAIL:", message)
    if not failures:
        shutil.rmtree(scratch, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
