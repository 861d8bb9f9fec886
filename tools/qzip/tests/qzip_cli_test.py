#!/usr/bin/env python3
"""qzip as scripts and people call it: each command line with the exit
status, standard output and standard error it must give; then a full disk
(a 16 KiB tmpfs), a truncated archive with and without --recover, and the
overwrite question at a terminal (a pseudo-terminal).

usage: qzip_cli_test.py QZIP CORPUS
"""
import os
import pty
import select
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "cli", "tests"))
import cli_cases  # noqa: E402
from cli_cases import assert_outcome, run_tool  # noqa: E402
import zipfile

QZIP = CORPUS = None
HELLO_CRC = "3610a686"  # CRC-32 of b"hello"


def qzip(*arguments, cwd=None):
    return run_tool(QZIP, arguments, cwd)


def set_method(data, name, method):
    """Writes method into the local and central headers of the entry name."""
    for signature, method_at, length_at, header in ((b"PK\x03\x04", 8, 26, 30),
                                                    (b"PK\x01\x02", 10, 28, 46)):
        at = data.find(signature)
        while at >= 0:
            length = struct.unpack_from("<H", data, at + length_at)[0]
            if bytes(data[at + header:at + header + length]) == name:
                struct.pack_into("<H", data, at + method_at, method)
            at = data.find(signature, at + 4)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def make_archives(work):
    good = os.path.join(work, "good.zip")
    with zipfile.ZipFile(good, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("a.txt", b"hello")
        z.writestr("d/empty", b"")
        z.writestr("ctl\x1bname", b"x")
    data = read(good)
    with open(os.path.join(work, "-dash.zip"), "wb") as f:
        f.write(data)
    with open(os.path.join(work, "trunc.zip"), "wb") as f:
        f.write(data[:-10])  # the end record cut
    damaged = bytearray(data)
    damaged[damaged.index(b"a.txt") + 7] ^= 0x55  # the first entry's data
    with open(os.path.join(work, "badcrc.zip"), "wb") as f:
        f.write(damaged)
    methods = os.path.join(work, "methods.zip")
    with zipfile.ZipFile(methods, "w") as z:
        for method in (12, 14, 99):
            z.writestr("m%d.bin" % method, b"abc")
    data = bytearray(read(methods))
    for method in (12, 14, 99):
        set_method(data, b"m%d.bin" % method, method)
    with open(methods, "wb") as f:
        f.write(data)
    with open(os.path.join(work, "not.zip"), "wb") as f:
        f.write(b"no archive here")


# (what, arguments, status, stdout pattern, stderr pattern); patterns are
# regular expressions searched in the whole text, "" asks for no text.
CASES = [
    ("--help", ["--help"], 0, r"^usage: qzip .*exit status:.*82 password", ""),
    ("-h", ["-h"], 0, r"^usage: qzip", ""),
    ("help", ["help"], 0, r"^usage: qzip", ""),
    ("help after a command", ["list", "--help"], 0, r"^usage: qzip", ""),
    ("--version", ["--version"], 0, r"^qzip \d+\.\d+", ""),
    ("no command", [], 64, "", r"no command given\nusage: qzip"),
    ("unknown command", ["unpack"], 64, "", r"unknown command 'unpack'"),
    ("option without its value", ["test", "--password"], 64, "", r"^qzip: --password needs a value\n"),
    ("unknown option", ["list", "--bogus", "good.zip"], 64, "", r"unknown option '--bogus'"),
    ("-o and -n together", ["extract", "-o", "-n", "good.zip", "o"], 64, "", r"exclude each other"),
    ("--opt=value", ["test", "--password=x", "good.zip"], 0, r"No errors detected in good\.zip \(3 files\)", ""),
    ("-- ends the options", ["list", "-1", "--", "-dash.zip"], 0, r"^a\.txt\nd/empty\nctl\\x1bname\n$", ""),
    ("short listing", ["list", "good.zip"], 0,
     r"Length +Date +Time +Name\n.*\n +5  \d{4}-\d\d-\d\d \d\d:\d\d   a\.txt\n.*ctl\\x1bname\n.*\n +6 +3 files\n$", ""),
    ("long listing", ["list", "-v", "good.zip"], 0,
     r"Method.*CRC-32 +Enc +Name\n.*\n +5  Defl:N +\d+ +-?\d+% [-0-9]+ [0-9:]+ " + HELLO_CRC + r"  -    a\.txt\n", ""),
    ("raw listing", ["list", "--raw", "good.zip"], 0, r"\nentries=3 stub=0 centraldir=\d+ zip64=0 rebuilt=0\n$", ""),
    ("find", ["find", "good.zip", "d/*"], 0, r"^1\td/empty\n$", ""),
    ("find matching nothing", ["find", "good.zip", "nothing*"], 11, "", r"^qzip: nothing matched nothing\* in good\.zip\n$"),
    ("bad CRC", ["test", "badcrc.zip"], 2, r"testing: d/empty   OK",
     r"^qzip: a\.txt: bad CRC [0-9a-f]{8} \(expected " + HELLO_CRC + r"\)\nqzip: 1 of 3 files failed"),
    ("bad CRC extracting", ["extract", "badcrc.zip", "crc"], 2, "",
     r"^qzip: crc/a\.txt: bad CRC [0-9a-f]{8} \(expected " + HELLO_CRC + r"\)\n$"),
    ("unsupported entries", ["test", "methods.zip"], 3, "",
     r"m12\.bin: unsupported compression method 12 \(bzip2\)\n.*m14\.bin: unsupported compression method 14 "
     r"\(LZMA\)\n.*m99\.bin: encrypted with AES: not supported\n"),
    ("missing archive", ["list", "missing.zip"], 9, "", r"^qzip: cannot open missing\.zip: No such file or directory\n$"),
    ("a folder for an archive", ["extract", ".", "o"], 9, "", r"^qzip: cannot open \.: Is a directory\n$"),
    ("no archive", ["test", "not.zip"], 9, "", r"^qzip: not\.zip: not a ZIP archive\n$"),
    ("truncated", ["list", "trunc.zip"], 2, "", r"^qzip: trunc\.zip: damaged archive: end of central directory not found"),
    ("truncated, extracting", ["extract", "trunc.zip", "cut"], 2, "", r"end of central directory not found"),
    ("truncated, recovered", ["list", "-1", "--recover", "trunc.zip"], 1, r"^a\.txt\nd/empty\nctl\\x1bname\n$",
     r"^qzip: warning: trunc\.zip: no usable central directory; entries rebuilt"),
    ("mask matching nothing", ["extract", "good.zip", "none", "*.bmp"], 11, "", r"^qzip: nothing matched \*\.bmp in good\.zip\n$"),
    ("a mask too long", ["find", "good.zip", "x" * 300], 64, "", r"a mask is at most 259 characters"),
    ("bad attribute set", ["extract", "good.zip", "o", "*", "many"], 64, "", r"attribute set must be a number"),
]


class Work(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="quimora-qzip-cli-")
        make_archives(self.work)

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def path(self, *parts):
        return os.path.join(self.work, *parts)


class CommandLineTable(Work):
    def test_each_command_line(self):
        for what, arguments, status, out, err in CASES:
            with self.subTest(what):
                _, stdout, stderr = outcome = qzip(*arguments, cwd=self.work)
                assert_outcome(self, outcome, status, out, err)
                self.assertNotIn("\x1b", stdout + stderr)
                self.assertNotIn("Native error", stdout + stderr)
        # Nothing matched or nothing opened: no destination was made.
        for folder in ("none", "cut", "o"):
            self.assertFalse(os.path.exists(self.path(folder)), folder)


class ArchiveTest(Work):
    def test_a_recovered_empty_file_stays_a_file(self):
        code, stdout, stderr = qzip("extract", "--recover", "trunc.zip", "out", cwd=self.work)
        self.assertEqual(code, 1, stderr)
        self.assertIn("warning", stderr)
        self.assertTrue(os.path.isfile(self.path("out", "d", "empty")))
        self.assertEqual(os.path.getsize(self.path("out", "d", "empty")), 0)
        self.assertEqual(read(self.path("out", "a.txt")), b"hello")

    def test_password_missing_wrong_and_right(self):
        archive = os.path.join(CORPUS, "commons-password-encrypted.zip")
        for password, status in (([], 82), (["--password", "wrong"], 82), (["--password=hello"], 0)):
            with self.subTest(password=password):
                code, stdout, stderr = qzip("test", *password, archive)
                self.assertEqual(code, status, stderr)
                if status:
                    self.assertIn(": skipped: password missing or wrong", stderr)

    def test_the_question_without_a_terminal_reads_the_input(self):
        qzip("extract", "good.zip", "out", cwd=self.work)
        with open(self.path("out", "a.txt"), "wb") as f:
            f.write(b"old")
        run = subprocess.run([QZIP, "extract", "--overwrite=prompt", "good.zip", "out"], cwd=self.work,
                             input=b"n\nN\n", capture_output=True, timeout=60)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertIn(b"replace out/a.txt? [y]es, [n]o, [A]ll, [N]one: ", run.stdout)
        self.assertEqual(read(self.path("out", "a.txt")), b"old")

    def test_overwrite_options_without_a_terminal(self):
        qzip("extract", "good.zip", "out", cwd=self.work)
        target = self.path("out", "a.txt")
        for option, expected in ((["-n"], b"old"), (["-o"], b"hello"), (["--overwrite=never"], b"old"), ([], b"hello")):
            with self.subTest(option=option):
                with open(target, "wb") as f:
                    f.write(b"old")
                code, _, stderr = qzip("extract", *option, "good.zip", "out", cwd=self.work)
                self.assertEqual(code, 0, stderr)
                self.assertEqual(read(target), expected)


class DiskFullTest(Work):
    def test_a_full_disk_ends_with_a_message_and_status_50(self):
        volume = self.path("small")
        os.mkdir(volume)
        mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=16k", "tmpfs", volume],
                                 capture_output=True)
        if mounted.returncode != 0:
            self.skipTest("cannot mount a 16 KiB tmpfs here (needs root): " + mounted.stderr.decode().strip())
        try:
            # A small entry, decoded whole, and one of 9 MiB, which streams.
            for size in (40000, 9 << 20):
                with self.subTest(size=size):
                    with zipfile.ZipFile(self.path("big.zip"), "w", zipfile.ZIP_DEFLATED) as z:
                        z.writestr("a.bin", os.urandom(size))
                        z.writestr("b.txt", b"after")
                    code, stdout, stderr = qzip("extract", "big.zip", "small/out", cwd=self.work)
                    self.assertEqual(code, 50, stderr)
                    self.assertEqual(stderr, "qzip: disk full writing small/out/a.bin\n")
                    self.assertEqual(os.listdir(self.path("small", "out")), [], "a partial file is left")
        finally:
            subprocess.run(["umount", volume], check=True)


class PromptTest(Work):
    def run_at_terminal(self, answers, folder):
        """qzip extract on a pseudo-terminal; answers each question in turn.
        Returns the status and everything the terminal showed."""
        pid, terminal = pty.fork()
        if pid == 0:
            os.chdir(self.work)
            os.execv(QZIP, [QZIP, "extract", "good.zip", folder])
        shown, pending = b"", list(answers)
        while True:
            ready, _, _ = select.select([terminal], [], [], 30)
            if not ready:
                os.kill(pid, 9)
                self.fail("no answer from qzip: " + shown.decode(errors="replace"))
            try:
                chunk = os.read(terminal, 4096)
            except OSError:
                break
            if not chunk:
                break
            shown += chunk
            if shown.endswith(b"[N]one: ") and pending:
                os.write(terminal, pending.pop(0).encode() + b"\n")
        _, status = os.waitpid(pid, 0)
        os.close(terminal)
        return os.waitstatus_to_exitcode(status), shown.decode("utf-8", "replace")

    def prepare(self, folder):
        qzip("extract", "good.zip", folder, cwd=self.work)
        for name in ("a.txt", "d/empty", "ctl\x1bname"):
            with open(self.path(folder, name), "wb") as f:
                f.write(b"old")

    def content(self, folder, name):
        return read(self.path(folder, name))

    def test_yes_no_and_none(self):
        self.prepare("out")
        code, shown = self.run_at_terminal(["what", "n", "y", "N"], "out")
        self.assertEqual(code, 0, shown)
        self.assertIn("replace out/a.txt? [y]es, [n]o, [A]ll, [N]one: ", shown)
        self.assertIn("error: invalid response [what]", shown)
        self.assertIn("replace out/ctl\\x1bname?", shown)
        self.assertEqual(self.content("out", "a.txt"), b"old")
        self.assertEqual(self.content("out", "d/empty"), b"")
        self.assertEqual(self.content("out", "ctl\x1bname"), b"old")

    def test_all_answers_the_rest(self):
        self.prepare("all")
        code, shown = self.run_at_terminal(["A"], "all")
        self.assertEqual(code, 0, shown)
        self.assertEqual(shown.count("replace "), 1, shown)
        self.assertEqual(self.content("all", "a.txt"), b"hello")
        self.assertEqual(self.content("all", "ctl\x1bname"), b"x")


if __name__ == "__main__":
    cli_cases.main(globals(), "QZIP", "CORPUS")
