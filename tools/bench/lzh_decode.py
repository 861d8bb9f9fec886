#!/usr/bin/env python3
"""LZHUF decoding benchmark: `skintool lzh-decode` on the largest shared
vector (dna_3m.lzh, 3 MiB of DNA-like text) against decompressors of the
same data measured in the same run: `gzip -dc` of the data packed with
gzip -9, and `xz -dc` of it packed with xz -9 when xz is there.

Prints the best of 5 runs of each, as output MB/s, and each peer's time
divided by skintool's (above 1.0: skintool is faster). Every decoded
output is checked against the original.

The skintool program is SKINTOOL from the environment, else dist/bin/skintool.
"""
import os
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SKINTOOL = os.environ.get("SKINTOOL", os.path.join(ROOT, "dist", "bin", "skintool"))
VECTORS = os.path.join(ROOT, "..", "shared", "testdata", "lzhuf")
WORK = os.path.join(ROOT, "build", "bench")
RUNS = 5


def best_time(command, output_path=None, stdout_path=None):
    best = None
    for _ in range(RUNS):
        out = open(stdout_path, "wb") if stdout_path else subprocess.DEVNULL
        start = time.perf_counter()
        status = subprocess.run(command, stdout=out, stderr=subprocess.DEVNULL).returncode
        elapsed = time.perf_counter() - start
        if stdout_path:
            out.close()
        if status != 0:
            raise SystemExit("failed: %s" % " ".join(command))
        best = elapsed if best is None else min(best, elapsed)
    return best


def same_file(a, b):
    with open(a, "rb") as f, open(b, "rb") as g:
        return f.read() == g.read()


def main():
    os.makedirs(WORK, exist_ok=True)
    packed = os.path.join(VECTORS, "dna_3m.lzh")
    original = os.path.join(VECTORS, "dna_3m.bin")
    size = os.path.getsize(original)
    decoded = os.path.join(WORK, "dna_3m.decoded")

    results = []
    skintool_time = best_time([SKINTOOL, "lzh-decode", packed, decoded])
    if not same_file(decoded, original):
        raise SystemExit("skintool lzh-decode gave wrong output")
    results.append(("skintool lzh-decode", os.path.getsize(packed), skintool_time))

    peers = [("gzip", ["gzip", "-9", "-c"], ["gzip", "-dc"], ".gz"),
             ("xz", ["xz", "-9", "-c"], ["xz", "-dc"], ".xz")]
    for name, pack, unpack, suffix in peers:
        if shutil.which(name) is None:
            continue
        compressed = os.path.join(WORK, "dna_3m.bin" + suffix)
        with open(original, "rb") as src, open(compressed, "wb") as dst:
            subprocess.run(pack, stdin=src, stdout=dst, check=True)
        elapsed = best_time(unpack + [compressed], stdout_path=decoded)
        if not same_file(decoded, original):
            raise SystemExit("%s gave wrong output" % name)
        results.append(("%s -dc" % name, os.path.getsize(compressed), elapsed))
        os.remove(compressed)
    os.remove(decoded)

    print("dna_3m: %d bytes, best of %d runs" % (size, RUNS))
    for label, compressed_size, elapsed in results:
        print("  %-20s input %8d bytes  %.3f s  %7.1f MB/s  peer time / skintool time %.2f"
              % (label, compressed_size, elapsed, size / elapsed / 1e6, elapsed / skintool_time))


if __name__ == "__main__":
    sys.exit(main())
