#!/usr/bin/env python3
"""Open-and-list benchmark: `qzip list` against `unzip -Z1` on the same
archives of 10,000 and 100,000 entries, in one run.

Prints, per size, the best of several runs of each program and their ratio
(qzip / unzip: below 1.0 means qzip is faster), then how qzip's time grows
from 10,000 to 100,000 entries.
"""
import os
import subprocess
import sys
import time
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
QZIP = os.path.join(ROOT, "dist", "bin", "qzip")
WORK = os.path.join(ROOT, "build", "bench")
RUNS = 7


def make_archive(path, entries):
    if os.path.exists(path):
        return
    tmp = path + ".tmp"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_STORED) as z:
        for i in range(entries):
            folder = "folder%03d" % (i % 500)
            z.writestr("%s/file%06d.txt" % (folder, i), b"x" * (i % 7))
    os.replace(tmp, path)


def best_time(command):
    best = None
    for _ in range(RUNS):
        start = time.perf_counter()
        subprocess.run(command, stdout=subprocess.DEVNULL, check=True)
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    return best


def main():
    os.makedirs(WORK, exist_ok=True)
    results = {}
    for entries in (10000, 100000):
        archive = os.path.join(WORK, "list-%d.zip" % entries)
        make_archive(archive, entries)
        qzip = best_time([QZIP, "list", archive])
        unzip = best_time(["unzip", "-Z1", archive])
        results[entries] = qzip
        print("%7d entries: qzip %.4f s, unzip -Z1 %.4f s, ratio %.2f"
              % (entries, qzip, unzip, qzip / unzip))
    print("scaling 10,000 -> 100,000 entries: %.1fx" % (results[100000] / results[10000]))


if __name__ == "__main__":
    sys.exit(main())
