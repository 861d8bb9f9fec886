#!/usr/bin/env python3
"""Extraction benchmark: `qzip extract` against its peers on the same
archives, each into an empty folder, in one run:

  (a) 216 entries (7 folders, 209 files) of about 100 MB of mixed text and
      binary data, deflated;
  (b) one entry of 1 GB of text, deflated;
  (c) 4,000 files of 1 to 12 KB (text and binary) in 60 folders, as
      program folders hold, deflated.

The peers are `unzip -o -qq`, and when installed `bsdtar -xf` (package
libarchive-tools) and `7zz x` or `7z x` (package 7zip or p7zip-full).

Prints per archive the best of several runs of each program, the time
ratios qzip / peer (below 1.0: qzip is faster; the aim is 0.90 or less
against bsdtar), qzip's peak resident memory and its ratio to unzip's, and
how qzip compares with zlib's inflate alone on the same deflate data
(inflate time / qzip time: above 1.0, qzip extracts faster than zlib
inflates), and "create-only", the floor: creating the same files and
writing zeros of their sizes, with nothing read or decoded.

Arguments name the archives to measure (mixed, large, small); none: all.
The qzip program is QZIP from the environment, else dist/bin/qzip. With
QZIP_BASELINE set to another qzip program, that one is measured as well
and the ratio of the two printed. The files are extracted under build/bench,
or under BENCH_OUT (e.g. /dev/shm, to leave the disk out of the figures).
"""
import os
import random
import shutil
import struct
import subprocess
import sys
import time
import zipfile
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
QZIP = os.environ.get("QZIP", os.path.join(ROOT, "dist", "bin", "qzip"))
WORK = os.path.join(ROOT, "build", "bench")
RUNS = {"mixed": 5, "large": 3, "small": 5}

WORDS = ("archive entry folder install window skin frame button menu stream deflate "
         "quimora programa instalar cancelar carpeta fichero the of and to in is that "
         "for it as with was on be at by this had not are but from or have an they "
         "which one you were her all she there would their we him been has when who").split()


def text_block(rng, size):
    """Varied text: words, numbers and line breaks, so that it deflates
    to roughly a third like ordinary text."""
    out = []
    length = 0
    while length < size:
        line = " ".join(rng.choice(WORDS) for _ in range(rng.randint(4, 14)))
        line += " %d.%02d\n" % (rng.randint(0, 99999), rng.randint(0, 99))
        out.append(line)
        length += len(line)
    return "".join(out).encode()[:size]


def binary_block(rng, size):
    """Half random bytes, half runs and repeated records: like executables
    and images, which deflate a little or not at all."""
    random_part = rng.randbytes(size // 2)
    record = rng.randbytes(64)
    rest = b"".join(record[: rng.randint(8, 64)] + bytes(rng.randint(0, 32))
                    for _ in range(size // 80 + 1))
    return (random_part + rest)[:size]


def make_mixed(path):
    if os.path.exists(path):
        return
    rng = random.Random(2024)
    tmp = path + ".tmp"
    folders = ["app/", "app/bin/", "app/data/", "app/data/images/", "app/docs/",
               "app/lang/", "app/skins/"]
    total = 100 << 20
    sizes = [rng.randint(1, 100) for _ in range(209)]
    scale = total / sum(sizes)
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED, compresslevel=6) as z:
        for folder in folders:
            z.writestr(zipfile.ZipInfo(folder), b"")
        for i, weight in enumerate(sizes):
            size = int(weight * scale)
            folder = folders[1 + i % (len(folders) - 1)]
            if i % 3 == 0:
                z.writestr("%sfile%03d.bin" % (folder, i), binary_block(rng, size))
            else:
                z.writestr("%sfile%03d.txt" % (folder, i), text_block(rng, size))
    os.replace(tmp, path)


def make_large(path):
    if os.path.exists(path):
        return
    rng = random.Random(1)
    # A pool far larger than the 32 KB window of deflate, taken from varying
    # places, so that the entry compresses like text and not like a repeat.
    pool = text_block(rng, 16 << 20)
    tmp = path + ".tmp"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED, compresslevel=6) as z:
        with z.open("large.txt", "w", force_zip64=True) as entry:
            written = 0
            while written < 1 << 30:
                start = rng.randrange(0, len(pool) - (1 << 20))
                piece = pool[start:start + min(1 << 20, (1 << 30) - written)]
                entry.write(piece)
                written += len(piece)
    os.replace(tmp, path)


def make_small(path):
    if os.path.exists(path):
        return
    rng = random.Random(7)
    tmp = path + ".tmp"
    folders = ["prog/"] + ["prog/part%02d/" % i for i in range(59)]
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED, compresslevel=6) as z:
        for folder in folders:
            z.writestr(zipfile.ZipInfo(folder), b"")
        for i in range(4000):
            size = rng.randint(1 << 10, 12 << 10)
            folder = folders[i % len(folders)]
            if i % 4 == 0:
                z.writestr("%sres%04d.dat" % (folder, i), binary_block(rng, size))
            else:
                z.writestr("%sfile%04d.txt" % (folder, i), text_block(rng, size))
    os.replace(tmp, path)


GNU_TIME = "/usr/bin/time"
RSS_FILE = os.path.join(WORK, "extract-rss.txt")


def run_measured(command):
    """Wall time and peak resident set size (bytes) of one run.

    A child's peak as the kernel reports it to its parent starts from the
    parent's own (the memory it had when it was forked), so the peak is
    taken by GNU time, a small process of its own, where that exists.
    """
    measured = os.path.exists(GNU_TIME)
    if measured:
        command = [GNU_TIME, "-f", "%M", "-o", RSS_FILE] + command
    start = time.perf_counter()
    process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit("failed: %s" % " ".join(command))
    if measured:
        with open(RSS_FILE) as f:
            return elapsed, int(f.read().split()[-1]) * 1024
    return elapsed, usage.ru_maxrss * 1024


def best_of(commands, destination, runs):
    """{name: (best time, peak RSS)} of each command, run in rounds (every
    command once a round) so that a slow spell of the machine or its disk
    falls on all of them alike. Each run starts in an empty destination
    after the writes of the one before have reached the disk."""
    best = {name: (None, 0) for name in commands}
    for _ in range(runs):
        for name, command in commands.items():
            shutil.rmtree(destination, ignore_errors=True)
            os.makedirs(destination)
            os.sync()
            elapsed, rss = run_measured(command)
            best_time, best_rss = best[name]
            best[name] = (elapsed if best_time is None else min(best_time, elapsed), max(best_rss, rss))
    shutil.rmtree(destination, ignore_errors=True)
    return best


def deflate_streams(path):
    """(offset, size) of every deflated entry's data."""
    streams = []
    with zipfile.ZipFile(path) as z, open(path, "rb") as f:
        for info in z.infolist():
            if info.compress_type != zipfile.ZIP_DEFLATED:
                continue
            f.seek(info.header_offset)
            header = f.read(30)
            name_length, extra_length = struct.unpack("<HH", header[26:30])
            streams.append((info.header_offset + 30 + name_length + extra_length,
                            info.compress_size))
    return streams


INFLATE_ALONE = os.path.join(WORK, "inflate_alone")


def inflate_alone(path, runs):
    """The best time zlib takes to inflate every entry's data, read from
    memory, the output thrown away: measured by a small C++ program where a
    compiler is at hand (Python's own overhead is far from negligible at
    these speeds), else through Python's zlib."""
    streams = deflate_streams(path)
    source = os.path.join(os.path.dirname(os.path.abspath(__file__)), "inflate_alone.cpp")
    compiler = shutil.which("c++") or shutil.which("g++")
    if compiler and not os.path.exists(INFLATE_ALONE):
        subprocess.run([compiler, "-O2", "-o", INFLATE_ALONE, source, "-lz"], check=True)
    if os.path.exists(INFLATE_ALONE):
        listing = "".join("%d %d\n" % stream for stream in streams)
        run = subprocess.run([INFLATE_ALONE, path, str(runs)], input=listing.encode(),
                             capture_output=True, check=True)
        return float(run.stdout)
    with open(path, "rb") as f:
        data = f.read()
    streams = [data[offset:offset + size] for offset, size in streams]
    best = None
    for _ in range(runs):
        start = time.perf_counter()
        for data in streams:
            inflater = zlib.decompressobj(-15)
            for at in range(0, len(data), 1 << 20):
                pending = data[at:at + (1 << 20)]
                while pending:
                    inflater.decompress(pending, 4 << 20)
                    pending = inflater.unconsumed_tail
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    return best


CREATE_ONLY = os.path.join(WORK, "create_only")


def create_only_command(archive, destination):
    """The command that creates the archive's files and folders and writes
    zeros of their sizes (None without a compiler)."""
    source = os.path.join(os.path.dirname(os.path.abspath(__file__)), "create_only.cpp")
    compiler = shutil.which("c++") or shutil.which("g++")
    if compiler and not os.path.exists(CREATE_ONLY):
        subprocess.run([compiler, "-O2", "-o", CREATE_ONLY, source], check=True)
    if not os.path.exists(CREATE_ONLY):
        return None
    listing = os.path.join(WORK, "create-only-listing.txt")
    with zipfile.ZipFile(archive) as z, open(listing, "w") as f:
        for info in z.infolist():
            f.write("%d %s\n" % (info.file_size, info.filename))
    return [CREATE_ONLY, listing, destination]


def peers(archive, destination):
    """(name, command) of every peer installed on this machine."""
    found = [("unzip", ["unzip", "-o", "-qq", archive, "-d", destination])]
    if shutil.which("bsdtar"):
        found.append(("bsdtar", ["bsdtar", "-xf", archive, "-C", destination]))
    seven = shutil.which("7zz") or shutil.which("7z")
    if seven:
        found.append(("7-Zip", [seven, "x", "-y", "-bso0", "-bsp0", archive, "-o" + destination]))
    return found


def main():
    os.makedirs(WORK, exist_ok=True)
    archives = {"mixed": os.path.join(WORK, "extract-mixed-216.zip"),
                "large": os.path.join(WORK, "extract-large-1g.zip"),
                "small": os.path.join(WORK, "extract-small-4000.zip")}
    only = sys.argv[1:]
    make_mixed(archives["mixed"])
    make_large(archives["large"])
    make_small(archives["small"])
    baseline = os.environ.get("QZIP_BASELINE")
    destination = os.path.join(os.environ.get("BENCH_OUT", WORK), "extract-out")
    for label, archive in archives.items():
        if only and label not in only:
            continue
        runs = RUNS[label]
        with zipfile.ZipFile(archive) as z:
            entries = len(z.infolist())
            expanded = sum(i.file_size for i in z.infolist())
        commands = {"qzip": [QZIP, "extract", archive, destination]}
        commands.update(peers(archive, destination))
        floor_command = create_only_command(archive, destination)
        if floor_command:
            commands["create-only"] = floor_command
        if baseline:
            commands["baseline"] = [baseline, "extract", archive, destination]
        best = best_of(commands, destination, runs)
        qzip_time, qzip_rss = best.pop("qzip")
        floor = best.pop("create-only", (None, 0))[0]
        before = best.pop("baseline", (None, 0))[0]
        measured = list(best.items())
        inflate_time = inflate_alone(archive, runs)
        unzip_rss = best["unzip"][1]
        print("(%s) %d entries, %.0f MB: qzip %.3f s; %s; peak RSS qzip %.1f MB, unzip %.1f MB, "
              "ratio %.2f; zlib inflate alone %.3f s, ratio inflate/qzip %.2f"
              % (label, entries, expanded / 1e6, qzip_time,
                 "; ".join("%s %.3f s, time ratio qzip/%s %.2f" % (name, t, name, qzip_time / t)
                           for name, (t, _) in measured),
                 qzip_rss / 1e6, unzip_rss / 1e6, qzip_rss / unzip_rss, inflate_time,
                 inflate_time / qzip_time))
        if floor is not None:
            print("    create-only %.3f s, %.2f of qzip's time" % (floor, floor / qzip_time))
        if before is not None:
            print("    baseline qzip %.3f s, time ratio qzip/baseline %.2f" % (before, qzip_time / before))


if __name__ == "__main__":
    sys.exit(main())
