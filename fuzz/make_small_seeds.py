#!/usr/bin/env python3
"""Small seeds that reach the code the shared test data's largest files
reach, for the fuzz targets to start from: a fuzzer mutating a 10 MB
archive of 111,110 entries or a multi-gigabyte entry runs a few dozen
inputs a second, these run thousands.

usage: make_small_seeds.py SKINTOOL LZHUF_VECTORS OUT

OUT/zip gets archives (many entries in nested folders, Zip64 end records
and extra fields, huge declared sizes with tiny data, stray bytes after a
deflate stream, overlapping entries); OUT/lzh gets skin file bodies made by
the encoder from the first 40 KB of the large LZHUF vectors (enough symbols
for a rebuild of the adaptive Huffman tree), also marked for the LZHUF
target's long outputs.
"""
import os
import struct
import subprocess
import sys
import zlib


def local_header(name, method, crc, csize, usize, extra=b"", flags=0):
    return struct.pack("<IHHHHHIIIHH", 0x04034B50, 45, flags, method, 0x6000, 0x5A21, crc,
                       csize, usize, len(name), len(extra)) + name + extra


def central_header(name, method, crc, csize, usize, offset, extra=b"", attributes=0x20):
    return struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 45, 45, 0, method, 0x6000, 0x5A21, crc,
                       csize, usize, len(name), len(extra), 0, 0, 0, attributes,
                       offset) + name + extra


def end_record(count, size, offset):
    return struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, count, count, size, offset, 0)


def raw_deflate(data):
    squeeze = zlib.compressobj(9, zlib.DEFLATED, -15)
    return squeeze.compress(data) + squeeze.flush()


def archive(entries, zip64=False):
    """entries: (name, method, stored bytes, crc, declared size, zip64 extra)."""
    body, directory = b"", b""
    for name, method, stored, crc, usize, wide in entries:
        offset = len(body)
        if wide:
            extra = struct.pack("<HHQQQ", 1, 24, usize, len(stored), offset)
            body += local_header(name, method, crc, 0xFFFFFFFF, 0xFFFFFFFF,
                                 struct.pack("<HHQQ", 1, 16, usize, len(stored))) + stored
            directory += central_header(name, method, crc, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF,
                                        extra)
        else:
            body += local_header(name, method, crc, len(stored), usize) + stored
            attributes = 0x10 if name.endswith(b"/") else 0x20
            directory += central_header(name, method, crc, len(stored), usize, offset,
                                        attributes=attributes)
    start = len(body)
    tail = b""
    if zip64:
        record = struct.pack("<IQHHIIQQQQ", 0x06064B50, 44, 45, 45, 0, 0, len(entries),
                             len(entries), len(directory), start)
        locator = struct.pack("<IIQI", 0x07064B50, 0, start + len(directory), 1)
        tail = record + locator + end_record(0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF)
    else:
        tail = end_record(len(entries), len(directory), start)
    return body + directory + tail


def stored(name, data):
    return (name, 0, data, zlib.crc32(data), len(data), False)


def deflated(name, data, declared=None, wide=False, tail=b""):
    return (name, 8, raw_deflate(data) + tail, zlib.crc32(data),
            len(data) if declared is None else declared, wide)


def zip_seeds():
    text = b"".join(b"line %d of the text\n" % i for i in range(300))
    seeds = {}
    # Many entries in nested folders, like a large product tree.
    many = []
    for i in range(300):
        folder = b"d%02d/e%d/" % (i % 23, i % 5)
        if i % 37 == 0:
            many.append(stored(folder, b""))
        many.append(stored(folder + b"f%04d.txt" % i, b"%d" % i if i % 3 else b""))
    seeds["many-entries.zip"] = archive(many)
    # Zip64 end records, locator and extra fields on every entry.
    seeds["zip64-records.zip"] = archive(
        [deflated(b"a.txt", text, wide=True), stored(b"b.txt", b"bee"),
         deflated(b"c/zeros.bin", bytes(5000), wide=True)], zip64=True)
    # Sizes declared far beyond the data: gigabytes, with and without Zip64.
    seeds["zip64-declares-5-gb.zip"] = archive(
        [deflated(b"zeros.bin", bytes(70000), declared=5 << 30, wide=True)], zip64=True)
    seeds["declares-4-gb.zip"] = archive(
        [deflated(b"zeros.bin", bytes(70000), declared=0xFFFFFFFE), stored(b"x", b"x")])
    # The deflate stream ends before the recorded compressed size.
    seeds["stray-bytes-after-deflate-end.zip"] = archive(
        [deflated(b"stray.txt", text, tail=b"junk" * 10)])
    # Entries quoted inside the one before: each directory entry's data runs
    # over the local header and data of the next; one shares a local header.
    kernel = raw_deflate(bytes(20000))
    header = local_header(b"b", 8, zlib.crc32(bytes(20000)), len(kernel), 20000)
    inner = header + kernel
    quote = bytes([0]) + struct.pack("<HH", len(header), ~len(header) & 0xFFFF)
    whole = header + bytes(20000)
    outer = local_header(b"a", 8, zlib.crc32(whole), len(quote) + len(inner), len(whole))
    body = outer + quote + inner
    directory = (central_header(b"a", 8, zlib.crc32(whole), len(quote) + len(inner), len(whole), 0)
                 + central_header(b"b", 8, zlib.crc32(bytes(20000)), len(kernel), 20000,
                                  len(outer) + len(quote))
                 + central_header(b"c", 8, zlib.crc32(bytes(20000)), len(kernel), 20000,
                                  len(outer) + len(quote)))
    seeds["overlapping-entries.zip"] = body + directory + end_record(3, len(directory), len(body))
    return seeds


def main():
    skintool, vectors, out = sys.argv[1:4]
    os.makedirs(os.path.join(out, "zip"), exist_ok=True)
    os.makedirs(os.path.join(out, "lzh"), exist_ok=True)
    for name, data in zip_seeds().items():
        with open(os.path.join(out, "zip", name), "wb") as f:
            f.write(data)
    for vector in ("text_300k", "lowentropy_2m", "dna_3m"):
        with open(os.path.join(vectors, vector + ".bin"), "rb") as f:
            prefix = f.read(40 << 10)
        plain = os.path.join(out, "lzh", vector + "-first-40k.bin")
        with open(plain, "wb") as f:
            f.write(prefix)
        packed = plain[:-4] + ".lzh"
        subprocess.run([skintool, "lzh-encode", plain, packed], check=True)
        os.remove(plain)
        # The same with bit 31 of the size set: the LZHUF target decodes
        # long outputs only when asked that way.
        with open(packed, "rb") as f:
            body = bytearray(f.read())
        body[3] |= 0x80
        with open(packed[:-4] + "-long.lzh", "wb") as f:
            f.write(body)


if __name__ == "__main__":
    main()
