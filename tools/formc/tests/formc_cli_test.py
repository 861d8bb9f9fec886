#!/usr/bin/env python3
"""formc as the build and people call it: each command line with the exit
status, standard output and standard error it must give.

usage: formc_cli_test.py FORMC
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
FORM = b"fmSmall: TfmSmall {\n  Left = 10\n  Caption = 'Hola'\n}\n"


def formc(*arguments, cwd=None):
    return run_tool(TOOL, arguments, cwd)


# (what, arguments, status, stdout pattern, stderr pattern, file made); ""
# asks for no text.
CASES = [
    ("--help", ["--help"], 0, r"^usage: formc .*exit status:.*64 usage", "", None),
    ("-h", ["-h"], 0, r"^usage: formc", "", None),
    ("help", ["help"], 0, r"^usage: formc", "", None),
    ("--version", ["--version"], 0, r"^formc \d+\.\d+", "", None),
    ("no arguments", [], 64, "", r"^formc: formc takes a form description and an output file\nusage:", None),
    ("unknown option", ["--fast", "small.form", "a.bin"], 64, "", r"unknown option '--fast'", None),
    ("option without its value", ["small.form", "a.bin", "--depfile"], 64, "", r"--depfile needs a value", None),
    ("done", ["small.form", "a.bin"], 0, "", "", "a.bin"),
    ("--opt=value", ["--depfile=b.d", "small.form", "b.bin"], 0, "", "", "b.d"),
    ("-- ends the options", ["--", "small.form", "-c.bin"], 0, "", "", "-c.bin"),
    ("a missing description", ["missing.form", "d.bin"], 1, "",
     r"^formc: cannot open missing\.form: No such file or directory\n$", None),
    ("a folder for a description", ["sub", "e.bin"], 1, "", r"^formc: cannot read sub: Is a directory\n$", None),
    ("an error in the description", ["broken.form", "f.bin"], 1, "", r"^formc: broken\.form", None),
]


class CommandLineTable(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="quimora-formc-")
        os.mkdir(os.path.join(self.work, "sub"))
        with open(os.path.join(self.work, "small.form"), "wb") as f:
            f.write(FORM)
        with open(os.path.join(self.work, "broken.form"), "wb") as f:
            f.write(b"fmBroken: TfmBroken {\n  Left = \n")

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def test_each_command_line(self):
        for what, arguments, status, out, err, made in CASES:
            with self.subTest(what):
                outcome = formc(*arguments, cwd=self.work)
                assert_outcome(self, outcome, status, out, err)
                if made:
                    self.assertTrue(os.path.isfile(os.path.join(self.work, made)), made)
        self.assertFalse([n for n in os.listdir(self.work) if n.endswith(".tmp") or n in ("d.bin", "e.bin", "f.bin")])


if __name__ == "__main__":
    cli_cases.main(globals(), "TOOL")
