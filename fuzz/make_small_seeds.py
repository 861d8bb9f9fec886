#!/usr/bin/env python3
"""Small seeds that reach the code the shared test data's largest files
reach, for the fuzz targets to start from: a fuzzer mutating a 10 MB
archive of 111,110 entries or a multi-gigabyte entry runs a few dozen
inputs a second, these run thousands. Each archive fits in 4 KB, each
skin file body in 8 KB.

usage: make_small_seeds.py SKINTOOL LZHUF_VECTORS OUT

OUT/payload gets a small installer (a program stub and its payload);
OUT/zip gets archives (many entries in nested folders, Zip64 end records
and extra fields, huge declared sizes with tiny data, stray bytes after a
deflate stream, overlapping entries); OUT/lzh gets skin file bodies made by
the encoder from the first 8 KB of the large LZHUF vectors (the ring wraps)
and one stream of 32,500 one-bit literals, the fewest bytes that make the
adaptive Huffman tree rebuild itself; all also marked for the LZHUF
target's long outputs.
"""
import os
import struct
import subprocess
import sys
import zlib

from lzhuf_tree import literal_run


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


def archive(entries, zip64=False, base=0):
    """entries: (name, method, stored bytes, crc, declared size, zip64 extra);
    base: where the archive starts in its file (after a program stub)."""
    body, directory = b"", b""
    for name, method, stored, crc, usize, wide in entries:
        offset = base + len(body)
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
    start = base + len(body)
    tail = b""
    if zip64:
        record = struct.pack("<IQHHIIQQQQ", 0x06064B50, 44, 45, 45, 0, 0, len(entries),
                             len(entries), len(directory), start)
        locator = struct.pack("<IIQI", 0x07064B50, 0, start + len(directory), 1)
        tail = record + locator + end_record(0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF)
    else:
        tail = end_record(len(entries), len(directory), start)
    return body + directory + tail


def installer_seed():
    """An installer as the payload target sees it: a program stub, then the
    payload archive with CP437 names, folders and a deflated binary file."""
    stub = b"MZ".ljust(1024, b"\0")
    noise = bytes((i * 167 + 13) % 251 for i in range(300))
    return stub + archive([
        deflated(b"datos.bin", noise), stored(b"lecciones/", b""),
        stored(b"lecciones/qu\xa1mica/", b""),
        deflated(b"lecciones/qu\xa1mica/tema1.txt", "Tema 1\r\nEl átomo\r\n".encode()),
        deflated(b"l\x82ame.txt", b"Hola")], base=len(stub))


def stored(name, data):
    return (name, 0, data, zlib.crc32(data), len(data), False)


def deflated(name, data, declared=None, wide=False, tail=b""):
    return (name, 8, raw_deflate(data) + tail, zlib.crc32(data),
            len(data) if declared is None else declared, wide)


def zip_seeds():
    text = b"".join(b"line %d of the text\n" % i for i in range(100))
    seeds = {}
    # Many entries in nested folders, like a large product tree.
    many = []
    for i in range(36):
        folder = b"d%d/e%d/" % (i % 7, i % 3)
        if i % 11 == 0:
            many.append(stored(folder, b""))
        many.append(stored(folder + b"f%d" % i, b"%d" % i if i % 3 else b""))
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


def mark_long(body):
    """The same body with bit 31 of its size set: the LZHUF target decodes
    long outputs only when asked that way."""
    body = bytearray(body)
    body[3] |= 0x80
    return bytes(body)


def main():
    skintool, vectors, out = sys.argv[1:4]
    os.makedirs(os.path.join(out, "zip"), exist_ok=True)
    os.makedirs(os.path.join(out, "lzh"), exist_ok=True)
    for name, data in zip_seeds().items():
        with open(os.path.join(out, "zip", name), "wb") as f:
            f.write(data)
    os.makedirs(os.path.join(out, "payload"), exist_ok=True)
    with open(os.path.join(out, "payload", "small-installer.exe"), "wb") as f:
        f.write(installer_seed())
    for vector in ("text_300k", "lowentropy_2m", "dna_3m"):
        with open(os.path.join(vectors, vector + ".bin"), "rb") as f:
            prefix = f.read(8 << 10)
        plain = os.path.join(out, "lzh", vector + "-first-8k.bin")
        with open(plain, "wb") as f:
            f.write(prefix)
        packed = plain[:-4] + ".lzh"
        subprocess.run([skintool, "lzh-encode", plain, packed], check=True)
        os.remove(plain)
        with open(packed, "rb") as f:
            body = f.read()
        with open(packed[:-4] + "-long.lzh", "wb") as f:
            f.write(mark_long(body))
    literals = 32500
    with open(os.path.join(out, "lzh", "tree-rebuild-one-bit-literals.lzh"), "wb") as f:
        f.write(mark_long(struct.pack("<I", literals) + literal_run(ord("x"), literals)))


if __name__ == "__main__":
    main()
