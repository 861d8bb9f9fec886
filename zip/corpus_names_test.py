#!/usr/bin/env python3
"""Lists every archive of the shared ZIP corpus with qzip.

Every file must be listed (exit 0) or refused with an archive error
(exit 2): never a crash or a hang. For the archives that UnZip lists
without complaint, the names qzip reports must be the names UnZip reports,
in the same order.
"""
import csv
import os
import subprocess
import sys

qzip, corpus = sys.argv[1], sys.argv[2]
# Names that UnZip itself reports differently from what the archive says;
# each is explained where it is listed.
KNOWN = {}

failures = []
listed = refused = compared = 0
with open(os.path.join(corpus, "MANIFEST.tsv"), newline="", encoding="utf-8") as manifest:
    rows = list(csv.DictReader(manifest, delimiter="\t"))
for row in rows:
    name = row["file"]
    path = os.path.join(corpus, name)
    try:
        run = subprocess.run([qzip, "list", path], capture_output=True, timeout=120)
    except subprocess.TimeoutExpired:
        failures.append(f"{name}: hung")
        continue
    if run.returncode == 2:
        refused += 1
        continue
    if run.returncode != 0:
        failures.append(f"{name}: exit {run.returncode}: {run.stderr.decode(errors='replace')[:200]}")
        continue
    listed += 1
    verdict = row["unzip -l (UnZip 6.00 Debian)"]
    if not verdict.startswith("ok") or name in KNOWN:
        continue
    lines = run.stdout.decode("utf-8").splitlines()
    ours = [line.split("\t", 7)[7] for line in lines[:-1]]
    theirs = subprocess.run(["unzip", "-Z1", path], capture_output=True,
                            env=dict(os.environ, LC_ALL="C.UTF-8")).stdout
    theirs = theirs.decode("utf-8", errors="replace").splitlines()
    compared += 1
    if ours != theirs:
        diff = next((i for i, (a, b) in enumerate(zip(ours, theirs)) if a != b), min(len(ours), len(theirs)))
        failures.append(f"{name}: names differ at {diff}: "
                        f"{ours[diff:diff + 1]!r} vs {theirs[diff:diff + 1]!r} ({len(ours)} vs {len(theirs)})")

for failure in failures:
    print(failure)
print(f"corpus: {listed} listed, {refused} refused, {compared} compared with unzip")
print(f"{len(rows) - len(failures)} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
