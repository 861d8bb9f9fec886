#!/usr/bin/env python3
"""Extracts every archive of the shared ZIP corpus with qzip and compares
the result with UnZip's.

- Nothing crashes or hangs: `qzip extract --recover` ends in time with one
  of its documented statuses.
- The destination does not exist yet: qzip makes it and its parents.
- An archive that `unzip -t` passes (with or without warnings) extracts to
  the same files with the same bytes as `unzip -o` writes (a symbolic link
  that UnZip makes counts as a file holding its target).
- An entry that `unzip -t` finds corrupt (bad CRC, invalid compressed
  data), or whose method the engine does not decode, leaves no file
  behind.
- Archives that expand past EXTRACT_LIMIT are only decoded (`qzip test`),
  which must pass where `unzip -t` passes.
"""
import csv
import os
import re
import shutil
import stat
import subprocess
import sys
import tempfile
import zipfile

qzip, corpus = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
EXTRACT_LIMIT = 256 << 20
TIMEOUT = 300
PASSWORDS = {"commons-password-encrypted.zip": "hello"}
# Archives that UnZip passes but extracts otherwise; each is explained.
NAMES_DIFFER = "names in a legacy code page or UTF-8 without the flag: UnZip decodes them otherwise"
SIZE_CHECKED = "the decoded size differs from the directory's, which fails the entry; UnZip checks the CRC only"
CENTRAL_COUNTS = "the central directory decides method and CRC; UnZip takes the local header's"
UNSAFE = "names that would leave the destination are refused; UnZip strips them"
KNOWN = {
    "commons-COMPRESS-214-unix-symlinks.zip": NAMES_DIFFER,
    "go-utf8-osx.zip": NAMES_DIFFER,
    "libarchive-filename-cp932.zip": NAMES_DIFFER,
    "libarchive-filename-koi8r.zip": NAMES_DIFFER,
    "sharpc-Zip.deflate.zip": NAMES_DIFFER,
    "zip2-non_utf8.zip": NAMES_DIFFER,
    "libzip-test-cp437.zip": NAMES_DIFFER,
    "zip2-zip64_magic_in_filename_1.zip": "UnZip drops the control characters of a name",
    "yauzl-unicode-path-extra-field.zip": "UnZip writes an empty name for a valid 0x7075 field",
    "yauzl-sloppy-filenames.zip": "a \\ in a stored name separates folders here",
    "libarchive-size-exceeds-declared-deflate.zip": SIZE_CHECKED,
    "libarchive-uncompressed-size-off-by-4gib.zip": SIZE_CHECKED,
    "libzip-incons-stored-size.zip": SIZE_CHECKED,
    "yauzl-inflated-too-short.zip": SIZE_CHECKED,
    "yauzl-stored-size-mismatch.zip": SIZE_CHECKED,
    "yauzl-wrong-entry-sizes.zip": SIZE_CHECKED,
    "libzip-incons-central-compression-method.zip": CENTRAL_COUNTS,
    "libzip-incons-central-crc.zip": CENTRAL_COUNTS,
    "recext-zip-slip.zip": UNSAFE,
    "rubyzip-jwilk-relative2.zip": UNSAFE,
    "rubyzip-tuzovakaoff-absolutepath.zip": UNSAFE,
    "yauzl-absolute-path-drive.zip": UNSAFE,
    "yauzl-relative-path-dotdot.zip": UNSAFE,
    "rubyzip-jwilk-dirsymlink.zip": "a symbolic link is written as a file holding its target, "
                                    "so the entry meant to go through it has no folder",
    "go-dupdir.zip": "a file a/b and a folder a/b/: the folder and the file inside it fail",
    "libarchive-msdos.zip": "entries with the folder attribute and no trailing / are folders "
                            "here and empty files to UnZip",
    "go-comment-truncated.zip": "the comment runs past the end: the directory is rebuilt from "
                                "the local headers, which hold one more entry",
    "libzip-multidisk.zip": "the end record names another disk: read as a multi-volume archive, "
                            "whose volume request is declined",
    "zip2-comment_garbage.zip": "the end record is not found behind the bytes after its comment",
    "zip2-zip64_demo.zip": "the offset of a Zip64 archive behind a prefix is not corrected",
    "zip2-zip64_magic_in_filename_5.zip": "the directory is rebuilt from local headers",
}
# Entries whose data the corpus's reference readers reject although the
# central directory fits it: only the central directory counts here.
CORRUPT_BY_LOCAL_HEADER = {"libzip-incons-ef-local-dupe-zip64.zip",
                           "libzip-incons-local-compression-method.zip"}
RECORD = re.compile(r"(?m)^\d+\t(\d+)\t\d+\t\d+\t[0-9a-f]{8}\t[0-9a-f]{8}\t\d+\t(.*)$")
BAD_ENTRY = re.compile(r"^\s*testing: (.+?)\s+(bad CRC|$)")


def remove_tree(path):
    def writable(function, name, _):
        os.chmod(os.path.dirname(name), stat.S_IRWXU)
        if os.path.isdir(name):
            os.chmod(name, stat.S_IRWXU)
        else:
            os.chmod(name, stat.S_IRUSR | stat.S_IWUSR)
        function(name)
    shutil.rmtree(path, onerror=writable)


def tree(root):
    """Relative path -> bytes of every file (a link: its target)."""
    files = {}
    for folder, dirs, names in os.walk(root):
        for d in dirs:
            os.chmod(os.path.join(folder, d), stat.S_IRWXU)
        for name in names:
            path = os.path.join(folder, name)
            rel = os.path.relpath(path, root)
            if os.path.islink(path):
                files[rel] = os.readlink(path).encode("utf-8", "surrogateescape")
            else:
                os.chmod(path, stat.S_IRUSR | stat.S_IWUSR)
                with open(path, "rb") as f:
                    files[rel] = f.read()
    return files


def expanded_size(path):
    try:
        with zipfile.ZipFile(path) as z:
            return sum(i.file_size for i in z.infolist())
    except Exception:
        return 0


def undecodable_entries(path):
    """Entries of a method other than stored and deflate, as written to disk."""
    run = subprocess.run([qzip, "list", "--raw", "--recover", path], capture_output=True, timeout=TIMEOUT)
    text = run.stdout.decode("utf-8", "replace")
    return {m.group(2).replace("\\", "/").rstrip("/") for m in RECORD.finditer(text)
            if m.group(1) not in ("0", "8")}


def corrupt_entries(path):
    """Entries that `unzip -t` tests and finds bad."""
    run = subprocess.run(["unzip", "-t", path], capture_output=True, timeout=TIMEOUT,
                         env=dict(os.environ, LC_ALL="C.UTF-8"))
    lines = run.stdout.decode("utf-8", "replace").splitlines()
    bad = set()
    for i, line in enumerate(lines):
        m = BAD_ENTRY.match(line)
        if not m:
            continue
        following = lines[i + 1] if i + 1 < len(lines) else ""
        if m.group(2) == "bad CRC" or "invalid compressed data" in following:
            bad.add(m.group(1))
    return bad


# Done, warnings, damaged, unsupported, not an archive, password wrong:
# every answer but a crash, a hang or a usage error.
ACCEPTED = (0, 1, 2, 3, 9, 82)
failures = []
compared = decoded = checked = 0
with open(os.path.join(corpus, "MANIFEST.tsv"), newline="", encoding="utf-8") as manifest:
    rows = list(csv.DictReader(manifest, delimiter="\t"))
for index, row in enumerate(rows):
    name = row["file"]
    path = os.path.join(corpus, name)
    passes = row["unzip -t passes (yes/warn/no)"] in ("yes", "warn")
    password = ["--password", PASSWORDS[name]] if name in PASSWORDS else []
    if expanded_size(path) > EXTRACT_LIMIT:
        try:
            run = subprocess.run([qzip, "test", "--recover"] + password + [path], capture_output=True,
                                 timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            failures.append(f"{name}: test hung")
            continue
        decoded += 1
        if run.returncode not in ACCEPTED or (passes and name not in KNOWN and run.returncode not in (0, 1)):
            failures.append(f"{name}: test exit {run.returncode}: {run.stdout[:200]!r}")
        continue
    work = tempfile.mkdtemp(prefix="quimora-corpus-")
    try:
        # qzip makes the destination and its parents, named relative to
        # the current folder or absolute, in turn.
        ours, theirs = os.path.join(work, "ours", "not", "there"), os.path.join(work, "theirs")
        destination = os.path.relpath(ours, work) if index % 2 else ours
        try:
            run = subprocess.run([qzip, "extract", "--recover"] + password + [path, destination],
                                 capture_output=True, cwd=work, stdin=subprocess.DEVNULL,
                                 timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            failures.append(f"{name}: extract hung")
            continue
        if run.returncode not in ACCEPTED:
            failures.append(f"{name}: extract exit {run.returncode}: "
                            f"{run.stderr.decode(errors='replace')[:200]}")
            continue
        got = tree(ours)
        undecodable = undecodable_entries(path) if run.returncode not in (2, 9) else set()
        left = sorted(u for u in undecodable if u in got)
        if left:
            failures.append(f"{name}: entries of unsupported methods left behind: {left[:3]}")
        if passes and name not in KNOWN:
            os.mkdir(theirs)
            subprocess.run(["unzip", "-o", "-qq"] + (["-P", PASSWORDS[name]] if password else [])
                           + [path, "-d", theirs], capture_output=True, timeout=TIMEOUT,
                           stdin=subprocess.DEVNULL)
            want = {k: v for k, v in tree(theirs).items() if k not in undecodable}
            compared += 1
            missing = sorted(set(want) - set(got))
            extra = sorted(set(got) - set(want))
            differ = sorted(k for k in set(want) & set(got) if want[k] != got[k])
            # 1: the directory was rebuilt, which --recover reports as a warning.
            if missing or extra or differ or (run.returncode not in (0, 1) and not undecodable):
                failures.append(f"{name}: exit {run.returncode}, missing {missing[:3]}, "
                                f"extra {extra[:3]}, differ {differ[:3]} "
                                f"{run.stdout.decode(errors='replace')[:200]}")
        elif not passes and name not in CORRUPT_BY_LOCAL_HEADER:
            bad = corrupt_entries(path)
            checked += 1
            left = sorted(b for b in bad if b in got)
            if left:
                failures.append(f"{name}: corrupt entries left behind: {left[:3]}")
    finally:
        remove_tree(work)

for failure in failures:
    print(failure)
print(f"corpus: {compared} compared with unzip, {checked} checked for corrupt entries, "
      f"{decoded} decoded only")
print(f"{len(rows) - len(failures)} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
