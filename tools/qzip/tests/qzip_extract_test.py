#!/usr/bin/env python3
"""`qzip extract` as people use it: destinations that do not exist yet,
written relative or absolute and with either separator, messages that name
paths the way they were typed, the exit codes, archives whose deflate data
ends before its recorded size, and overlapping entries.

usage: qzip_extract_test.py QZIP CORPUS
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "cli", "tests"))
import cli_cases  # noqa: E402

QZIP = CORPUS = None
EXIT_DONE, EXIT_WARNING, EXIT_DAMAGED, EXIT_NOT_ARCHIVE, EXIT_USAGE = 0, 1, 2, 9, 64


def qzip(*arguments, cwd=None):
    run = subprocess.run([QZIP] + list(arguments), capture_output=True, cwd=cwd,
                         stdin=subprocess.DEVNULL, timeout=120)
    return run.returncode, run.stdout.decode("utf-8", "replace") + run.stderr.decode("utf-8", "replace")


def write_zip(path, entries):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in entries:
            z.writestr(name, data)


def stray_bytes_zip(path, text, stray):
    """One deflated entry whose compressed size counts stray bytes after the
    end of its deflate stream; size and CRC are those of the text."""
    squeeze = zlib.compressobj(9, zlib.DEFLATED, -15)
    data = squeeze.compress(text) + squeeze.flush() + stray
    name = b"stray.txt"
    crc = zlib.crc32(text)
    local = (b"PK\x03\x04" + (20).to_bytes(2, "little") + bytes(2) + (8).to_bytes(2, "little")
             + bytes(4) + crc.to_bytes(4, "little") + len(data).to_bytes(4, "little")
             + len(text).to_bytes(4, "little") + len(name).to_bytes(2, "little") + bytes(2) + name)
    central = (b"PK\x01\x02" + (20).to_bytes(2, "little") * 2 + bytes(2) + (8).to_bytes(2, "little")
               + bytes(4) + crc.to_bytes(4, "little") + len(data).to_bytes(4, "little")
               + len(text).to_bytes(4, "little") + len(name).to_bytes(2, "little") + bytes(8)
               + (0x20).to_bytes(4, "little") + bytes(4) + name)
    start = len(local) + len(data)
    end = (b"PK\x05\x06" + bytes(4) + (1).to_bytes(2, "little") * 2
           + len(central).to_bytes(4, "little") + start.to_bytes(4, "little") + bytes(2))
    with open(path, "wb") as f:
        f.write(local + data + central + end)


class Work(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="quimora-qzip-")
        self.archive = os.path.join(self.work, "a.zip")
        write_zip(self.archive, [("top.txt", b"top"), ("sub/inner.txt", b"inner" * 100)])

    def tearDown(self):
        shutil.rmtree(self.work)

    def assertExtracted(self, folder):
        with open(os.path.join(folder, "top.txt"), "rb") as f:
            self.assertEqual(f.read(), b"top")
        with open(os.path.join(folder, "sub", "inner.txt"), "rb") as f:
            self.assertEqual(f.read(), b"inner" * 100)


class DestinationTest(Work):
    def test_missing_folders_are_made_like_unzip_d(self):
        # relative with missing parents, absolute, a final separator,
        # "." and "..", and "\" mixed with "/" (the file layer's own
        # separator, which reaches the system as "/")
        cases = [("rel/deeper/out", "rel/deeper/out"),
                 (os.path.join(self.work, "abs", "x", "y"), "abs/x/y"),
                 ("trailing/", "trailing"),
                 ("./dot/../dotted", "dotted"),
                 ("mixed\\one/two\\", "mixed/one/two")]
        for typed, made in cases:
            with self.subTest(destination=typed):
                code, output = qzip("extract", self.archive, typed, cwd=self.work)
                self.assertEqual(code, EXIT_DONE, output)
                self.assertEqual(output, "")
                self.assertExtracted(os.path.join(self.work, made))

    def test_an_existing_folder_is_used_as_it_is(self):
        folder = os.path.join(self.work, "there")
        os.mkdir(folder)
        with open(os.path.join(folder, "kept.txt"), "w") as f:
            f.write("kept")
        self.assertEqual(qzip("extract", self.archive, folder)[0], EXIT_DONE)
        self.assertExtracted(folder)
        self.assertTrue(os.path.exists(os.path.join(folder, "kept.txt")))

    def test_a_destination_that_cannot_be_made_extracts_nothing(self):
        open(os.path.join(self.work, "file"), "w").close()
        for typed in ("file", "file/below"):
            with self.subTest(destination=typed):
                code, output = qzip("extract", self.archive, typed, cwd=self.work)
                self.assertEqual(code, EXIT_WARNING, output)
                # "file" is in the way of both: the system says so.
                self.assertEqual("qzip: cannot create directory %s: File exists\n" % typed, output)
        self.assertEqual(sorted(os.listdir(self.work)), ["a.zip", "file"])

    def test_messages_name_paths_as_typed(self):
        # "sub" is a file in the destination, so sub/inner.txt cannot get
        # its folder; the message names it relative, with "/".
        os.makedirs(os.path.join(self.work, "out", "here"))
        open(os.path.join(self.work, "out", "here", "sub"), "w").close()
        code, output = qzip("extract", self.archive, "out/here", cwd=self.work)
        self.assertEqual(code, EXIT_WARNING, output)
        self.assertEqual("qzip: out/here/sub/inner.txt: cannot create folder out/here/sub: File exists\n", output)
        self.assertNotIn("\\", output)
        self.assertNotIn(self.work, output)


class ExitCodeTest(Work):
    def test_documented_exit_codes(self):
        damaged = os.path.join(self.work, "damaged.zip")
        with open(self.archive, "rb") as f:
            data = bytearray(f.read())
        data[data.rindex(b"PK\x01\x02") + 16] ^= 0xFF  # the second entry's CRC
        with open(damaged, "wb") as f:
            f.write(data)
        not_zip = os.path.join(self.work, "not.zip")
        with open(not_zip, "wb") as f:
            f.write(b"no archive here")
        cases = [(["extract", self.archive, "o1"], EXIT_DONE),
                 (["extract", damaged, "o2"], EXIT_DAMAGED),
                 (["extract", not_zip, "o3"], EXIT_NOT_ARCHIVE),
                 (["extract", os.path.join(self.work, "missing.zip"), "o4"], EXIT_NOT_ARCHIVE),
                 (["extract", self.archive], EXIT_USAGE),
                 (["extract", self.archive, ""], EXIT_USAGE)]
        for arguments, expected in cases:
            with self.subTest(arguments=arguments[1:]):
                code, output = qzip(*arguments, cwd=self.work)
                self.assertEqual(code, expected, output)
        # An archive that cannot be opened leaves no destination behind.
        self.assertFalse(os.path.exists(os.path.join(self.work, "o3")))


class ForeignArchiveTest(Work):
    def test_stray_bytes_after_the_deflate_stream_are_ignored(self):
        text = b"".join(b"line %d of the text\n" % i for i in range(5000))
        for stray in (b"\x00", b"junk", b"z" * 70000):
            with self.subTest(stray=len(stray)):
                path = os.path.join(self.work, "stray-%d.zip" % len(stray))
                stray_bytes_zip(path, text, stray)
                with zipfile.ZipFile(path) as z:  # a peer agrees it is good
                    self.assertEqual(z.read("stray.txt"), text)
                out = os.path.join(self.work, "stray-%d" % len(stray))
                code, output = qzip("extract", path, out)
                self.assertEqual(code, EXIT_DONE, output)
                with open(os.path.join(out, "stray.txt"), "rb") as f:
                    self.assertEqual(f.read(), text)
                self.assertEqual(qzip("test", path)[0], EXIT_DONE)

    def test_overlapping_entries_write_one_entry_and_fail_the_rest(self):
        bomb = os.path.join(CORPUS, "recext-zbsm.zip")
        with zipfile.ZipFile(bomb) as z:
            infos = z.infolist()
            declared = sum(i.file_size for i in infos)
        out = os.path.join(self.work, "bomb")
        code, output = qzip("extract", bomb, out)
        self.assertEqual(code, EXIT_DAMAGED)
        written = sum(os.path.getsize(os.path.join(folder, name))
                      for folder, _, names in os.walk(out) for name in names)
        self.assertLessEqual(written, max(i.file_size for i in infos))
        self.assertLess(written, declared // 100)
        refused = [line for line in output.splitlines()
                   if line.endswith(": damaged entry: its data overlaps another entry's")]
        self.assertEqual(len(refused), len(infos) - 1, output[:500])


if __name__ == "__main__":
    cli_cases.main(globals(), "QZIP", "CORPUS")
