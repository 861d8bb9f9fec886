#!/usr/bin/env python3
"""skintool as people and scripts call it: pack takes the .ini and .bmp
files of a folder (any case of the extension, nothing else) and unpack
gives them back under their lower-case names with the same bytes;
lzh-encode and lzh-decode undo each other; then each command line with
the exit status, standard output and standard error it must give, among
them damaged skins and streams that must fail and write nothing, and a
full disk (a 16 KiB tmpfs).

usage: skintool_cli_test.py SKINTOOL
"""
import os
import random
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "cli", "tests"))
import cli_cases  # noqa: E402
from cli_cases import assert_outcome, run_tool  # noqa: E402

TOOL = None
PARTS = {
    "Skin.INI": b"[Form]\r\nColor=255\r\n" * 40,
    "Title.bmp": b"BM" + random.Random(7).randbytes(5000),
    "border.BMP": b"BM" + bytes(9000),
    "empty.bmp": b"",
}


def skintool(*arguments, cwd=None):
    return run_tool(TOOL, arguments, cwd)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


class Work(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="quimora-skintool-")
        source = self.path("skin")
        os.makedirs(os.path.join(source, "images.bmp"))  # a folder: never packed
        for name, data in PARTS.items():
            write(os.path.join(source, name), data)
        write(os.path.join(source, "readme.txt"), b"not part of a skin")
        self.assertEqual(skintool("pack", "skin", "good.skn", cwd=self.work)[0], 0)
        self.make_damaged_inputs()

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def path(self, *parts):
        return os.path.join(self.work, *parts)

    def make_damaged_inputs(self):
        skin = read(self.path("good.skn"))
        write(self.path("cut.skn"), skin[:len(skin) * 72 // 100])
        # The archive with its first entry's size one larger than its bytes.
        self.assertEqual(skintool("lzh-decode", "good.skn", "archive", cwd=self.work)[0], 0)
        archive = bytearray(read(self.path("archive")))
        names = int.from_bytes(archive[4:8], "little")
        sizes = 16 + names
        archive[sizes:sizes + 4] = (int.from_bytes(archive[sizes:sizes + 4], "little") + 1).to_bytes(4, "little")
        write(self.path("archive"), archive)
        self.assertEqual(skintool("lzh-encode", "archive", "inconsistent.skn", cwd=self.work)[0], 0)
        # 8 bytes: a size of 64 MiB - 1 and four bytes of stream.
        write(self.path("garbage.bin"), b"\xff\xff\xff\x03\x01\x02\x03\x04")
        # 100 bytes whose last match runs past a stated size of 99.
        write(self.path("a100"), b"a" * 100)
        self.assertEqual(skintool("lzh-encode", "a100", "a100.lzh", cwd=self.work)[0], 0)
        stream = bytearray(read(self.path("a100.lzh")))
        stream[0:4] = (99).to_bytes(4, "little")
        write(self.path("past.lzh"), stream)


class RoundTrip(Work):
    def test_unpack_gives_the_packed_files_back(self):
        code, _, stderr = skintool("unpack", "good.skn", "unpacked", cwd=self.work)
        self.assertEqual(code, 0, stderr)
        self.assertEqual(sorted(os.listdir(self.path("unpacked"))), sorted(n.lower() for n in PARTS))
        for name, data in PARTS.items():
            self.assertEqual(read(self.path("unpacked", name.lower())), data, name)

    def test_lzh_decode_undoes_lzh_encode(self):
        for name in ("Title.bmp", "empty.bmp"):
            with self.subTest(name):
                self.assertEqual(skintool("lzh-encode", "skin/" + name, "x.lzh", cwd=self.work)[0], 0)
                self.assertEqual(skintool("lzh-decode", "x.lzh", "x.out", cwd=self.work)[0], 0)
                self.assertEqual(read(self.path("x.out")), PARTS[name])

    def test_the_form_value_is_the_length_then_the_file(self):
        code, _, stderr = skintool("pack", "--form-value=form.bin", "skin", "again.skn", cwd=self.work)
        self.assertEqual(code, 0, stderr)
        skin = read(self.path("again.skn"))
        self.assertEqual(read(self.path("form.bin")), len(skin).to_bytes(4, "little") + skin)


# (what, arguments, status, stdout pattern, stderr pattern, a path that must
# not exist afterwards); "" asks for no text.
CASES = [
    ("--help", ["--help"], 0, r"^usage: skintool .*exit status:.*2  the input is no skin", "", None),
    ("-h", ["-h"], 0, r"^usage: skintool", "", None),
    ("help", ["help"], 0, r"^usage: skintool", "", None),
    ("--version", ["--version"], 0, r"^skintool \d+\.\d+", "", None),
    ("no command", [], 64, "", r"no command given\nusage:", None),
    ("missing argument", ["pack", "skin"], 64, "", r"pack takes a folder and a skin file", None),
    ("unknown command", ["frobnicate"], 64, "", r"unknown command 'frobnicate'", None),
    ("unknown option", ["unpack", "--fast", "good.skn", "u"], 64, "", r"unknown option '--fast'", "u"),
    ("option without its value", ["pack", "skin", "x.skn", "--form-value"], 64, "", r"--form-value needs a value", None),
    ("-- ends the options", ["lzh-decode", "--", "good.skn", "--out"], 0, "", "", None),
    ("unpack a non-skin", ["unpack", "skin/Title.bmp", "u1"], 2, "",
     r"^skintool: skin/Title\.bmp: damaged: unpacked size \d+ is over the limit of 67108864\n$", "u1"),
    ("unpack a skin cut to 72 %", ["unpack", "cut.skn", "u2"], 2, "",
     r"^skintool: cut\.skn: damaged: the stream ends early: \d+ bits decoded from \d+ bytes\n$", "u2"),
    ("unpack an inconsistent skin", ["unpack", "inconsistent.skn", "u3"], 2, "",
     r"^skintool: inconsistent\.skn: damaged: its entries declare (\d+) bytes, it holds \d+\n$", "u3"),
    ("lzh-decode 8 bytes of garbage", ["lzh-decode", "garbage.bin", "g.out"], 2, "",
     r"^skintool: garbage\.bin: damaged: stated length 67108863 is more than a stream of 4 bytes can hold\n$",
     "g.out"),
    ("lzh-decode past the stated length", ["lzh-decode", "past.lzh", "p.out"], 2, "",
     r"decodes past its stated length: 100 bytes instead of 99\n$", "p.out"),
    ("lzh-decode a file without its size", ["lzh-decode", "a100", "s.out"], 2, "", r"damaged", "s.out"),
    ("lzh-decode a missing file", ["lzh-decode", "missing", "m.out"], 1, "",
     r"^skintool: cannot open missing: No such file or directory\n$", "m.out"),
    ("lzh-decode a folder", ["lzh-decode", "skin", "f.out"], 1, "", r"^skintool: cannot read skin: Is a directory\n$", None),
]
if sys.platform != "win32":
    # The skin data component builds its images with GDI: dump exists on
    # Windows only, and is not offered elsewhere.
    CASES.append(("dump is not offered here", ["dump", "good.skn"], 64, "", r"unknown command 'dump'", None))


class CommandLineTable(Work):
    def test_each_command_line(self):
        for what, arguments, status, out, err, absent in CASES:
            with self.subTest(what):
                outcome = skintool(*arguments, cwd=self.work)
                assert_outcome(self, outcome, status, out, err)
                if absent:
                    self.assertFalse(os.path.exists(self.path(absent)), absent + " was written")
        self.assertNotIn("dump", skintool("--help")[1] if sys.platform != "win32" else "")
        self.assertEqual([n for n in os.listdir(self.work) if n.endswith(".tmp")], [])


class DiskFullTest(Work):
    def test_a_full_disk_ends_with_a_message_and_status_50(self):
        os.mkdir(self.path("small"))
        mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=16k", "tmpfs", self.path("small")],
                                 capture_output=True)
        if mounted.returncode != 0:
            self.skipTest("cannot mount a 16 KiB tmpfs here (needs root): " + mounted.stderr.decode().strip())
        try:
            write(self.path("big"), random.Random(3).randbytes(40000))
            self.assertEqual(skintool("lzh-encode", "big", "big.lzh", cwd=self.work)[0], 0)
            code, _, stderr = skintool("lzh-decode", "big.lzh", "small/big", cwd=self.work)
            self.assertEqual(code, 50, stderr)
            self.assertEqual(stderr, "skintool: disk full writing small/big\n")
            self.assertEqual(os.listdir(self.path("small")), [])
        finally:
            subprocess.run(["umount", self.path("small")], check=True)


if __name__ == "__main__":
    cli_cases.main(globals(), "TOOL")
