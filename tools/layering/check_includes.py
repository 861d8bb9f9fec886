#!/usr/bin/env python3
"""Fails when a source file includes across a forbidden edge.

Reads the quoted #include lines of every C and C++ file under the tree's
modules and checks each against include_rules.txt. Includes are written
from the top of the tree ("zip/zip_archiver.h"); one written relative to
the including file is resolved from its folder first.

    check_includes.py ROOT
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
SOURCES = {".c", ".cc", ".cpp", ".h", ".hpp", ".rc"}


def read_rules(path):
    rules = {}
    for line in path.read_text().splitlines():
        line = line.split("#", 1)[0].split()
        if line:
            rules[line[0]] = set(line[1:]) | {line[0]}
    return rules


def module_of(relative, modules):
    """The longest module folder holding relative, or None."""
    best = None
    for module in modules:
        if relative == module or relative.startswith(module + "/"):
            if best is None or len(module) > len(best):
                best = module
    return best


def is_test(relative):
    return "/tests/" in "/" + relative


def check(root):
    rules = read_rules(root / "tools" / "layering" / "include_rules.txt")
    # Every folder named in the table, modules or not, owns what it holds.
    folders = set(rules).union(*rules.values())
    faults = []
    for module in rules:
        for path in sorted((root / module).rglob("*")):
            if path.suffix not in SOURCES or not path.is_file():
                continue
            source = path.relative_to(root).as_posix()
            if module_of(source, rules) != module or is_test(source):
                continue
            for number, target in numbered_includes(path):
                if (path.parent / target).is_file() and not (root / target).is_file():
                    target = (path.parent / target).resolve().relative_to(root.resolve()).as_posix()
                if is_test(target):
                    faults.append(f"{source}:{number}: production code includes test code {target}")
                    continue
                owner = module_of(target, folders)
                if owner is None and (root / target).is_file():
                    faults.append(f"{source}:{number}: {module} may not include {target}")
                elif owner is not None and owner not in rules[module]:
                    faults.append(f"{source}:{number}: {module} may not include {owner} ({target})")
    return faults


def numbered_includes(path):
    text = path.read_text(errors="replace")
    for match in INCLUDE.finditer(text):
        yield text.count("\n", 0, match.start()) + 1, match.group(1)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: check_includes.py ROOT")
    faults = check(pathlib.Path(sys.argv[1]))
    for fault in faults:
        print(fault)
    print(f"{len(faults)} forbidden include(s)" if faults else "includes point one way")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
