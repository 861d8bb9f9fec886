#!/usr/bin/env python3
"""mkinstaller's output read back by the archive engine (qzip list) and by
Info-ZIP (unzip, zipinfo): names, attributes, versions, times, offsets and
the stub size must all come out as written.

    mkinstaller_read_back_test.py MKINSTALLER QZIP MAKE_SAMPLE_DATA WORK_DIR
"""
import os
import re
import shutil
import subprocess
import sys
import time
import zlib

mkinstaller, qzip, make_sample_data, work = sys.argv[1:5]
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def run(*command):
    result = subprocess.run(command, capture_output=True)
    if result.returncode != 0:
        sys.exit(f'{command[0]} failed ({result.returncode}): {result.stderr.decode(errors="replace")}')
    return result.stdout


def pe_stub(body):
    """The smallest file mkinstaller takes for a Windows program: an MZ
    header whose field at 0x3C points at a PE signature."""
    return b'MZ' + bytes(0x3A) + (0x40).to_bytes(4, 'little') + b'PE\0\0' + body


def dos_time(seconds):
    t = time.localtime(seconds)
    return (t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec - t.tm_sec % 2)


def make_tree(root):
    """Folders and files whose names, contents and times the checks know.
    Returns the entries in the order the archive must hold them."""
    entries = [
        ('Créditos.txt', b'Cr\xe9ditos\r\n'),
        ('LEEME.txt', b'Quimora\r\n' * 400),
        ('a/', None),
        ('a/b/', None),
        ('a/b/vacío.dat', b''),
        ('a/equilibrio ⇌.txt', bytes(range(256)) * 3),
        ('a/z.bin', os.urandom(5000)),
        ('imágenes/', None),
        ('imágenes/moléculas/', None),
        ('zz/', None),
    ]
    shutil.rmtree(root, ignore_errors=True)
    os.makedirs(root)
    for name, data in entries:
        if data is None:
            os.makedirs(os.path.join(root, name), exist_ok=True)
        else:
            with open(os.path.join(root, name), 'wb') as f:
                f.write(data)
    times = {}
    for i, (name, _) in reversed(list(enumerate(entries))):
        when = 1535965200 + 3 + 86 * i  # odd seconds: stored rounded down
        os.utime(os.path.join(root, name), (when, when))
        times[name] = when
    return entries, times


def unzip_name(name):
    """The name as unzip prints it: it reads the stored bytes as code page
    437 and shows them in Latin-1; what 437 lacks was stored as "_"."""
    return name.replace('⇌', '_').encode('latin-1')


def qzip_list(path):
    lines = run(qzip, 'list', '--raw', path).decode('utf-8').splitlines()
    items = [line.split('\t') for line in lines[:-1]]
    summary = dict(field.split('=') for field in lines[-1].split())
    return items, summary


def check_tree_installer():
    payload = os.path.join(work, 'tree')
    entries, times = make_tree(payload)
    stub = pe_stub(bytes(range(256)) * 4 + b'PK\x05\x06 not an end record')
    stub_path = os.path.join(work, 'stub.exe')
    with open(stub_path, 'wb') as f:
        f.write(stub)
    out = os.path.join(work, 'tree.exe')
    run(mkinstaller, payload, stub_path, out)
    with open(out, 'rb') as f:
        data = f.read()
    check(data.startswith(stub), 'the stub is not copied unchanged')
    check(data[-22:-18] == b'PK\x05\x06' and data[-2:] == b'\0\0', 'the end record is not last, without comment')

    items, summary = qzip_list(out)
    check(summary['stub'] == str(len(stub)), f'stub size {summary["stub"]}, expected {len(stub)}')
    check(summary['entries'] == str(len(entries)) and summary['rebuilt'] == '0', f'qzip summary {summary}')
    check([i[7] for i in items] == [name for name, _ in entries],
          f'qzip names {[i[7] for i in items]}')
    check(items[0][6] == str(len(stub)), 'the first entry does not start right after the stub')
    for (index, method, csize, usize, crc, attributes, offset, name), (_, content) in zip(items, entries):
        offset = int(offset)
        check(data[offset:offset + 4] == b'PK\x03\x04', f'{name}: offset {offset} is not a local header')
        if content is None:
            check((method, csize, usize, attributes) == ('0', '0', '0', '00000010'), f'{name}: folder entry')
        else:
            check((method, attributes) == ('8', '00000020'), f'{name}: method {method}, attributes {attributes}')
            check(usize == str(len(content)) and int(crc, 16) == zlib.crc32(content), f'{name}: size or CRC')

    # Info-ZIP ignores the NU block.
    lines = run('unzip', '-l', out).split(b'\n')[3:-3]
    check([line[30:] for line in lines] == [unzip_name(name) for name, _ in entries],
          f'unzip names {[line[30:] for line in lines]}')
    for line, (name, content) in zip(lines, entries):
        check(int(line[:9]) == (len(content) if content else 0), f'{name}: unzip shows size {line[:9]}')
        stamp = tuple(int(x) for x in re.findall(rb'\d+', line[10:27]))
        check(stamp == dos_time(times[name])[:5], f'{name}: unzip shows time {stamp}')
    run('unzip', '-tq', out)
    details = run('zipinfo', '-v', out).decode('cp437')
    blocks = details.split('Central directory entry #')[1:]
    check(len(blocks) == len(entries), 'zipinfo sees another number of entries')
    for block, (name, content), item in zip(blocks, entries, items):
        check('version of encoding software:                   2.0' in block, f'{name}: version made by')
        check('minimum software version required to extract:   2.0' in block, f'{name}: version needed')
        check('MS-DOS, OS/2 or NT FAT' in block, f'{name}: host system')
        expected = 'MS-DOS file attributes (10 hex):                dir' if content is None else \
            'MS-DOS file attributes (20 hex):                arc'
        check(expected in block, f'{name}: attributes')
        check(f'offset of local header from start of archive:   {item[6]}' in block, f'{name}: offset')
        has_block = 'ID 0x554e' in block
        check(has_block == (not name.isascii()), f'{name}: NU block present={has_block}')
        y, mo, d, h, mi, s = dos_time(times[name])
        months = ['Jan', 'Feb', 'Mar', 'Apr', 'May', 'Jun', 'Jul', 'Aug', 'Sep', 'Oct', 'Nov', 'Dec']
        check(f'{y} {months[mo - 1]} {d} {h:02d}:{mi:02d}:{s:02d}' in block, f'{name}: time')


def check_sample_installer():
    program = os.path.join(work, 'QuimoraWindows18_19.exe')
    with open(program, 'wb') as f:
        f.write(pe_stub(bytes(4096)))
    payload = os.path.join(work, 'sample')
    run(sys.executable, make_sample_data, payload, '--program', program)
    out = os.path.join(work, 'sample.exe')
    run(mkinstaller, payload, program, out)
    items, summary = qzip_list(out)
    folders = [i for i in items if i[5] == '00000010']
    check(summary['entries'] == '216' and len(folders) == 7, f'sample: {summary}, {len(folders)} folders')
    check(summary['stub'] == str(os.path.getsize(program)), 'sample: stub size')
    run('unzip', '-tq', out)
    # The same folder gives the same installer.
    again = os.path.join(work, 'sample-again.exe')
    run(sys.executable, make_sample_data, payload, '--program', program)
    run(mkinstaller, payload, program, again)
    with open(out, 'rb') as a, open(again, 'rb') as b:
        check(a.read() == b.read(), 'sample: two runs give different installers')


def check_refusals():
    bad = os.path.join(work, 'bad')
    shutil.rmtree(bad, ignore_errors=True)
    os.makedirs(bad)
    os.symlink('/etc/hostname', os.path.join(bad, 'link'))
    stub = os.path.join(work, 'stub.exe')
    for payload, says in [(bad, 'only plain files and folders'), (os.path.join(work, 'empty'), 'empty')]:
        os.makedirs(payload, exist_ok=True)
        out = os.path.join(work, 'refused.exe')
        result = subprocess.run([mkinstaller, payload, stub, out], capture_output=True)
        check(result.returncode == 2 and says in result.stderr.decode(), f'refusal: {result.stderr}')
        check(not os.path.exists(out) and not os.path.exists(out + '.tmp'), 'a refused run left a file')


os.makedirs(work, exist_ok=True)
check_tree_installer()
check_sample_installer()
check_refusals()
for failure in failures:
    print('FAILED:', failure)
sys.exit(1 if failures else 0)
