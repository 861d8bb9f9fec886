#!/usr/bin/env python3
"""The include check on small trees of its own: each forbidden edge is
reported with its line, and what the table allows is not."""
import pathlib
import subprocess
import sys
import tempfile
import unittest

CHECK = pathlib.Path(__file__).resolve().parents[1] / "check_includes.py"
RULES = (pathlib.Path(__file__).resolve().parents[1] / "include_rules.txt").read_text()


def run_check(files):
    with tempfile.TemporaryDirectory() as tree:
        root = pathlib.Path(tree)
        (root / "tools" / "layering").mkdir(parents=True)
        (root / "tools" / "layering" / "include_rules.txt").write_text(RULES)
        for name, text in files.items():
            (root / name).parent.mkdir(parents=True, exist_ok=True)
            (root / name).write_text(text)
        done = subprocess.run([sys.executable, str(CHECK), tree], capture_output=True, text=True)
        return done.returncode, done.stdout


HEADERS = {
    "runtime/strings.h": "",
    "runtime/gui/form.h": '#include "runtime/strings.h"\n',
    "zip/zip_archiver.h": '#include "runtime/strings.h"\n',
    "zip/tests/test_zip_builder.h": "",
    "skin/windows/skin_manager.h": '#include "runtime/gui/form.h"\n',
    "tools/windriver/window_driver_win.h": "",
}


class CheckIncludes(unittest.TestCase):
    def test_the_allowed_directions_pass(self):
        status, output = run_check({
            **HEADERS,
            "installer/main.cpp": '#include "skin/windows/skin_manager.h"\n#include "zip/zip_archiver.h"\n',
            "skin/gallery/main.cpp": '#include "tools/windriver/window_driver_win.h"\n',
            "zip/tests/a_test.cpp": '#include "zip/tests/test_zip_builder.h"\n#include "runtime/gui/form.h"\n',
        })
        self.assertEqual(status, 0, output)

    def test_each_forbidden_edge_is_reported_with_its_line(self):
        status, output = run_check({
            **HEADERS,
            "runtime/gui/dialogs.cpp": '// dialogs\n#include "zip/zip_archiver.h"\n',
            "runtime/format.cpp": '#include "runtime/gui/form.h"\n',
            "zip/crc32.cpp": '#include "zip/tests/test_zip_builder.h"\n',
            "skin/windows/frame.cpp": '#include "tools/windriver/window_driver_win.h"\n',
            "zip/extract.cpp": '#include "skin/windows/skin_manager.h"\n',
        })
        self.assertEqual(status, 1)
        for fault in ("runtime/gui/dialogs.cpp:2: runtime/gui may not include zip",
                      "runtime/format.cpp:1: runtime may not include runtime/gui",
                      "zip/crc32.cpp:1: production code includes test code",
                      "skin/windows/frame.cpp:1: skin may not include tools/windriver",
                      "zip/extract.cpp:1: zip may not include skin"):
            self.assertIn(fault, output)

    def test_an_include_relative_to_the_file_is_resolved_from_its_folder(self):
        status, output = run_check({**HEADERS, "zip/reader.cpp": '#include "../skin/windows/skin_manager.h"\n'})
        self.assertEqual(status, 1)
        self.assertIn("zip may not include skin", output)


if __name__ == "__main__":
    unittest.main()
