#!/usr/bin/env python3
"""Checks the Windows programs in dist/ against what Windows itself offers.

    check_windows_programs.py ROOT [--update]

Every program of dist/win32 must be a PE32 for Intel 80386 and every one of
dist/win64 a PE32+ for x86-64, and each may import only DLLs that a fresh
Windows 7 SP1 to 11 has in its system folder (packaging/windows/
system-dlls.txt). The shipped installer, signed or not, must be a GUI
program, import only DLLs that are known DLLs on all of those Windows
(known-dlls.txt), and import exactly the functions listed for its
architecture (InstalaQuimora-win32.imports, InstalaQuimora-win64.imports),
each with a note on why Windows 7 has it, so that every new import is a
deliberate change. --update rewrites those lists from the built installers,
keeping the notes; a new function comes without one and fails the check
until it is given one.
"""
import os
import re
import subprocess
import sys

ARCHES = {
    'win32': ('i686-w64-mingw32-objdump', 'pei-i386'),
    'win64': ('x86_64-w64-mingw32-objdump', 'pei-x86-64'),
}
INSTALLER = re.compile(r'^InstalaQuimora(-signed)?\.exe$')


def read_names(path):
    """The names of a list file, lower case, without comments."""
    with open(path, encoding='utf-8') as f:
        return {line.split('#')[0].strip().lower() for line in f} - {''}


def read_imports_list(path):
    """DLL!function -> note, from an imports list ('DLL!function  note')."""
    imports = {}
    if not os.path.exists(path):
        return imports
    with open(path, encoding='utf-8') as f:
        for line in f:
            if not line.strip() or line.startswith('#'):
                continue
            name, _, note = line.strip().partition(' ')
            imports[name] = note.strip()
    return imports


class Program:
    def __init__(self, path, objdump):
        self.path = path
        headers = subprocess.run([objdump, '-p', path], check=True, capture_output=True,
                                 text=True).stdout
        found = re.search(r'file format (\S+)', headers)
        self.format = found.group(1) if found else 'unknown'
        self.gui = re.search(r'^Subsystem.*\(Windows GUI\)', headers, re.M) is not None
        # DLL!function for every import; ordinals as DLL!#N.
        self.dlls = []
        self.functions = set()
        dll = None
        for line in headers.splitlines():
            named = re.match(r'\s*DLL Name: (\S+)', line)
            if named:
                dll = named.group(1)
                self.dlls.append(dll)
                continue
            if not line.strip():
                dll = None
                continue
            entry = re.match(r'\s*[0-9a-f]+\s+(\d+)\s+(\S+)', line)
            if dll and entry:
                name = entry.group(2)
                self.functions.add('%s!%s' % (dll, '#' + entry.group(1) if name == '<none>' else name))


def main():
    root = sys.argv[1]
    update = '--update' in sys.argv[2:]
    lists = os.path.join(root, 'packaging', 'windows')
    system_dlls = read_names(os.path.join(lists, 'system-dlls.txt'))
    known_dlls = read_names(os.path.join(lists, 'known-dlls.txt'))
    failures = []
    checked = 0
    for arch, (objdump, pe_format) in ARCHES.items():
        folder = os.path.join(root, 'dist', arch)
        if not os.path.isdir(folder):
            continue
        listed_path = os.path.join(lists, 'InstalaQuimora-%s.imports' % arch)
        listed = read_imports_list(listed_path)
        installer_functions = None
        for name in sorted(os.listdir(folder)):
            if not name.endswith('.exe'):
                continue
            program = Program(os.path.join(folder, name), objdump)
            checked += 1
            where = '%s/%s' % (arch, name)
            if program.format != pe_format:
                failures.append('%s: %s, not %s' % (where, program.format, pe_format))
            for dll in program.dlls:
                if dll.lower() not in system_dlls:
                    failures.append('%s imports %s, which Windows does not have' % (where, dll))
            if not INSTALLER.match(name):
                continue
            if not program.gui:
                failures.append('%s: not a Windows GUI program' % where)
            for dll in program.dlls:
                if dll.lower() not in known_dlls:
                    failures.append('%s imports %s, which is not a known DLL: the loader would '
                                    'look for it beside the installer first' % (where, dll))
            installer_functions = program.functions
            if update:
                continue
            for function in sorted(program.functions - listed.keys()):
                failures.append('%s imports %s, which %s does not list' %
                                (where, function, os.path.basename(listed_path)))
            for function in sorted(listed.keys() - program.functions):
                failures.append('%s no longer imports %s, which %s lists' %
                                (where, function, os.path.basename(listed_path)))
        if update and installer_functions is not None:
            write_imports_list(listed_path, arch, installer_functions, listed)
            listed = read_imports_list(listed_path)
        for function, note in sorted(listed.items()):
            if not note:
                failures.append('%s: %s has no note on why Windows 7 has it' %
                                (os.path.basename(listed_path), function))
    if checked == 0:
        failures.append('no Windows programs in %s/dist' % root)
    for failure in failures:
        print(failure)
    if not failures:
        print('%d Windows programs checked' % checked)
    return 1 if failures else 0


def write_imports_list(path, arch, functions, notes):
    header = []
    if os.path.exists(path):
        with open(path, encoding='utf-8') as f:
            header = [line for line in f if line.startswith('#')]
    width = max(len(f) for f in functions) + 2
    with open(path, 'w', encoding='utf-8') as f:
        f.writelines(header)
        for function in sorted(functions, key=str.lower):
            f.write(('%-*s%s' % (width, function, notes.get(function, ''))).rstrip() + '\n')


if __name__ == '__main__':
    sys.exit(main())
