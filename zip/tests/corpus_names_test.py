#!/usr/bin/env python3
"""Lists every archive of the shared ZIP corpus with qzip.

Every file must be listed (exit 0, or 1 when its directory was rebuilt
from local headers) or refused (2 damaged, 9 no archive): never a crash
or a hang. For the archives that UnZip lists
without complaint, the names qzip reports must be the names UnZip reports,
in the same order.
"""
import csv
import os
import re
import subprocess
import sys

qzip, corpus = sys.argv[1], sys.argv[2]
# Names that UnZip itself reports differently from what the archive says;
# each is explained where it is listed.
UTF8_WITHOUT_FLAG = "UTF-8 name without the UTF-8 flag: read as OEM text; UnZip guesses UTF-8"
RAW_BYTES = "legacy code-page name: read as OEM text; UnZip prints the stored bytes"
KNOWN = {
    "commons-COMPRESS-214-unix-symlinks.zip": UTF8_WITHOUT_FLAG,
    "go-utf8-osx.zip": UTF8_WITHOUT_FLAG,
    "libarchive-filename-cp932.zip": RAW_BYTES,
    "libarchive-filename-koi8r.zip": RAW_BYTES,
    "sharpc-Zip.deflate.zip": RAW_BYTES,
    "zip2-non_utf8.zip": RAW_BYTES,
    "libzip-test-cp437.zip": RAW_BYTES,
    "yauzl-unicode-path-extra-field.zip": "UnZip prints an empty name for a valid 0x7075 field",
}
# UnZip shows control characters of names as ^A .. ^_; qzip as \x01 .. \x1f.
CONTROL = re.compile(r"\\x([01][0-9a-f])")
RECORD = re.compile(r"(?m)^\d+\t\d+\t\d+\t\d+\t[0-9a-f]{8}\t[0-9a-f]{8}\t\d+\t")

failures = []
listed = refused = compared = 0
with open(os.path.join(corpus, "MANIFEST.tsv"), newline="", encoding="utf-8") as manifest:
    rows = list(csv.DictReader(manifest, delimiter="\t"))
for row in rows:
    name = row["file"]
    path = os.path.join(corpus, name)
    try:
        run = subprocess.run([qzip, "list", "--raw", "--recover", path], capture_output=True, timeout=120)
    except subprocess.TimeoutExpired:
        failures.append(f"{name}: hung")
        continue
    if run.returncode in (2, 9):
        refused += 1
        continue
    if run.returncode not in (0, 1):
        failures.append(f"{name}: exit {run.returncode}: {run.stderr.decode(errors='replace')[:200]}")
        continue
    listed += 1
    verdict = row["unzip -l (UnZip 6.00 Debian)"]
    if not verdict.startswith("ok") or name in KNOWN:
        continue
    text = run.stdout.decode("utf-8", errors="replace")
    # A record starts a line with seven numeric fields.
    starts = list(RECORD.finditer(text))
    summary = text.rindex("entries=")
    ends = [m.start() for m in starts[1:]] + [summary]
    ours = [CONTROL.sub(lambda c: "^" + chr(int(c.group(1), 16) + 64), text[m.end():end - 1])
            for m, end in zip(starts, ends)]
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
