#!/usr/bin/env python3
"""Skin start-up benchmark: how long after a Windows process starts the
product's skin object model is built, as the installer's form builds it
(unpacking, the INI, 39 images, the combo box composition).

Runs `skintool.exe dump SKIN --time` under Wine, which reports the time
from its own process creation until the model exists and how much of that
the load itself took (reading the file, unpacking, building), and measures, in the
same run and the same Wine session, the wall time of the whole dump and of
`skintool.exe` without arguments (the same program with the same system
libraries, which only prints its usage): their difference is what loading
the skin costs beyond starting and ending the process. Prints medians of
15 runs of each.

Needs the Windows build (dist/win64) and the packed skin
(build/win64/content/skin/quimora.skin); it starts a persistent wineserver
for the build's prefix, as ./test does, and stops it at the end.
"""
import os
import re
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE_RUN = os.path.join(ROOT, "cmake", "wine-run")
SKINTOOL = os.path.join(ROOT, "dist", "win64", "skintool.exe")
QZIP = os.path.join(ROOT, "dist", "win64", "qzip.exe")
SKIN = os.path.join(ROOT, "build", "win64", "content", "skin", "quimora.skin")
RUNS = 15
USAGE_STATUS = 64


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def wall(command, expected_status=0):
    start = time.perf_counter()
    done = subprocess.run([WINE_RUN] + command, capture_output=True, text=True)
    elapsed = time.perf_counter() - start
    if done.returncode != expected_status:
        raise SystemExit("failed: %s\n%s" % (" ".join(command), done.stderr))
    return elapsed, done.stderr


def main():
    for path in (SKINTOOL, QZIP, SKIN):
        if not os.path.exists(path):
            raise SystemExit("missing %s: build the win64 tree first" % path)
    env_prefix = os.path.join(ROOT, "build", "wine", "prefix")
    os.environ.setdefault("WINEPREFIX", env_prefix)
    subprocess.run(["wineserver", "-p"], check=False)
    try:
        # The first program of a session starts Wine's services; started
        # with no pipes of ours, they cannot hold a later run's output open.
        subprocess.run([WINE_RUN, QZIP, "version"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        built, loading, dump_wall, baseline_wall = [], [], [], []
        for _ in range(RUNS):
            elapsed, err = wall([SKINTOOL, "dump", windows_path(SKIN), "--time"])
            match = re.search(r"skin built ([0-9.]+) ms after the process started \(([0-9.]+) ms", err)
            if not match:
                raise SystemExit("no timing in: %s" % err)
            built.append(float(match.group(1)))
            loading.append(float(match.group(2)))
            dump_wall.append(elapsed)
            baseline_wall.append(wall([SKINTOOL], USAGE_STATUS)[0])
    finally:
        subprocess.run(["wineserver", "-k"], check=False)
    b, d, q = statistics.median(built), statistics.median(dump_wall), statistics.median(baseline_wall)
    print("skin model built after process start: %.1f ms (median of %d)" % (b, RUNS))
    print("  of which reading, unpacking and building the skin: %.1f ms" % statistics.median(loading))
    print("skintool dump, whole run:            %.1f ms" % (d * 1000))
    print("skintool usage, whole run (peer):    %.1f ms" % (q * 1000))
    print("dump / peer: %.2f; the skin costs about %.1f ms beyond starting and ending the process"
          % (d / q, (d - q) * 1000))


if __name__ == "__main__":
    sys.exit(main())
