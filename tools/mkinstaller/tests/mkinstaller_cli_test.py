#!/usr/bin/env python3
"""mkinstaller as the build and people call it: each command line with the
exit status, standard output and standard error it must give. Payloads with
names Windows reserves for devices or cannot tell apart by case, and stubs
that are empty, no PE image or a folder, are refused with a clear message
and leave no output behind.

usage: mkinstaller_cli_test.py MKINSTALLER
"""
import os
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "cli", "tests"))
import cli_cases  # noqa: E402
from cli_cases import assert_outcome, run_tool  # noqa: E402

TOOL = None
PE_STUB = b"MZ" + bytes(0x3A) + (0x40).to_bytes(4, "little") + b"PE\0\0" + bytes(64)


def mkinstaller(*arguments, cwd=None):
    return run_tool(TOOL, arguments, cwd)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


# Payload folders: name -> files in it.
PAYLOADS = {
    "good": ["readme.txt", "docs/CON-notes.txt", "docs/console.txt", "COM10.txt"],
    "con": ["CON"],
    "nul-ext": ["docs/nul.txt"],
    "com1": ["com1.log"],
    "lpt9-blank": ["LPT9 .dat"],
    "aux-folder": ["Aux/file.txt"],
    "case": ["Readme.txt", "README.TXT"],
    "case-folders": ["Docs/a.txt", "docs/b.txt"],
    "trailing-dot": ["name."],
}

# (what, arguments, status, stdout pattern, stderr pattern); "" asks for no text.
CASES = [
    ("--help", ["--help"], 0, r"^usage: mkinstaller .*CON, PRN.*exit status:.*64 usage", ""),
    ("-h", ["-h"], 0, r"^usage: mkinstaller", ""),
    ("help", ["help"], 0, r"^usage: mkinstaller", ""),
    ("--version", ["--version"], 0, r"^mkinstaller \d+\.\d+", ""),
    ("no arguments", [], 64, "", r"^mkinstaller: mkinstaller takes a payload folder, a stub and an output file\nusage:"),
    ("unknown option", ["--fast", "good", "stub.exe", "out.exe"], 64, "", r"unknown option '--fast'"),
    ("done", ["good", "stub.exe", "out.exe"], 0, r"^mkinstaller: out\.exe: 5 entries \(4 files, 1 folders\)", ""),
    ("-- ends the options", ["--", "good", "stub.exe", "-out.exe"], 0, r"-out\.exe: 5 entries", ""),
    ("CON", ["con", "stub.exe", "x.exe"], 2, "", r"^mkinstaller: con/CON: the name is reserved for a device on Windows\n$"),
    ("nul with an extension", ["nul-ext", "stub.exe", "x.exe"], 2, "", r"nul-ext/docs/nul\.txt: the name is reserved"),
    ("com1 in lower case", ["com1", "stub.exe", "x.exe"], 2, "", r"com1/com1\.log: the name is reserved"),
    ("LPT9 and a blank", ["lpt9-blank", "stub.exe", "x.exe"], 2, "", r"LPT9 \.dat: the name is reserved"),
    ("a folder named Aux", ["aux-folder", "stub.exe", "x.exe"], 2, "", r"aux-folder/Aux: the name is reserved"),
    ("names differing in case", ["case", "stub.exe", "x.exe"], 2, "",
     r"^mkinstaller: case/README\.TXT and Readme\.txt: the names differ only in case, which Windows does not "
     r"tell apart\n$"),
    ("folders differing in case", ["case-folders", "stub.exe", "x.exe"], 2, "", r"Docs and docs: the names differ only in case"),
    ("a trailing dot", ["trailing-dot", "stub.exe", "x.exe"], 2, "", r"Windows drops a trailing dot"),
    ("an empty stub", ["good", "empty.exe", "x.exe"], 2, "", r"^mkinstaller: empty\.exe: the stub is empty\n$"),
    ("a stub without MZ", ["good", "text.exe", "x.exe"], 2, "", r"^mkinstaller: text\.exe: the stub is not a Windows program \(no MZ header\)\n$"),
    ("a DOS program", ["good", "dos.exe", "x.exe"], 2, "", r"^mkinstaller: dos\.exe: the stub is not a Windows program \(no PE signature\)\n$"),
    ("a folder for a stub", ["good", "good", "x.exe"], 1, "", r"^mkinstaller: cannot read good: Is a directory\n$"),
    ("a missing stub", ["good", "missing.exe", "x.exe"], 1, "", r"^mkinstaller: cannot open missing\.exe: No such file or directory\n$"),
    ("a missing payload", ["nothing", "stub.exe", "x.exe"], 2, "", r"^mkinstaller: nothing: not a folder\n$"),
]


class CommandLineTable(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="quimora-mkinstaller-")
        for folder, files in PAYLOADS.items():
            for name in files:
                write(os.path.join(self.work, folder, name), name.encode())
        write(os.path.join(self.work, "stub.exe"), PE_STUB)
        write(os.path.join(self.work, "empty.exe"), b"")
        write(os.path.join(self.work, "text.exe"), b"#!/bin/sh\necho not a program\n" * 4)
        write(os.path.join(self.work, "dos.exe"), b"MZ" + bytes(200))

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def test_each_command_line(self):
        for what, arguments, status, out, err in CASES:
            with self.subTest(what):
                outcome = mkinstaller(*arguments, cwd=self.work)
                assert_outcome(self, outcome, status, out, err)
                self.assertNotIn("basic_filebuf", outcome[2])
        # Every refusal left nothing behind.
        self.assertFalse([n for n in os.listdir(self.work) if n.startswith("x.exe")])
        with open(os.path.join(self.work, "out.exe"), "rb") as f:
            self.assertTrue(f.read().startswith(PE_STUB))


if __name__ == "__main__":
    cli_cases.main(globals(), "TOOL")
