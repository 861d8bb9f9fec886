"""What the command-line tools' table-driven tests share: running a tool
as a script would, and holding its exit status, standard output and
standard error to what a case expects."""
import os
import re
import subprocess
import sys
import unittest


def run_tool(program, arguments, cwd=None, timeout=120):
    """(status, stdout, stderr) of one run, with no standard input."""
    run = subprocess.run([program, *arguments], capture_output=True, cwd=cwd,
                         stdin=subprocess.DEVNULL, timeout=timeout)
    return (run.returncode, run.stdout.decode("utf-8", "replace"),
            run.stderr.decode("utf-8", "replace"))


def assert_outcome(test, outcome, status, out, err):
    """The status exactly; out and err are regular expressions searched in
    the whole text, and "" asks for no text at all."""
    code, stdout, stderr = outcome
    test.assertEqual(code, status, stdout + stderr)
    for pattern, text in ((out, stdout), (err, stderr)):
        if pattern:
            test.assertRegex(text, re.compile(pattern, re.S))
        else:
            test.assertEqual(text, "")


def main(script_globals, *names):
    """Runs a test script's cases after binding its globals NAMES to the
    absolute paths given on its command line, in that order."""
    for name, value in zip(names, sys.argv[1:]):
        script_globals[name] = os.path.abspath(value)
    unittest.main(argv=sys.argv[:1], verbosity=2)
