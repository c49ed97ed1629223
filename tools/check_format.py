#!/usr/bin/env python3
# The house's text rules for C++ sources, checked in well under a second: UTF-8, LF line ends,
# no tabs, no trailing blanks, a final newline, at most 100 characters a line, and a purpose
# note (a // comment) on the first line. Prints file:line: what, and exits 1 on any finding.
import os
import sys

FOLDERS = ("src", "tests", "bench", "fuzz")
SUFFIXES = (".cpp", ".h")
MAX_COLUMNS = 100
SHOWN = 60


def check_file(path, rel):
    findings = []
    with open(path, "rb") as f:
        data = f.read()
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as e:
        return [f"{rel}: not UTF-8 ({e.reason} at byte {e.start})"]
    if not text.startswith("//"):
        findings.append(f"{rel}:1: no purpose note (a // comment) on the first line")
    if text and not text.endswith("\n"):
        findings.append(f"{rel}: no newline at the end of the file")
    for number, line in enumerate(text.split("\n"), 1):
        if line.endswith("\r"):
            findings.append(f"{rel}:{number}: CR LF line end")
            line = line[:-1]
        if "\t" in line:
            findings.append(f"{rel}:{number}: tab")
        if line != line.rstrip():
            findings.append(f"{rel}:{number}: trailing blanks")
        if len(line) > MAX_COLUMNS:
            findings.append(f"{rel}:{number}: {len(line)} characters (at most {MAX_COLUMNS})")
    return findings


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(os.path.dirname(__file__), ".."))
    findings = []
    files = 0
    for folder in FOLDERS:
        for base, dirs, names in os.walk(os.path.join(root, folder)):
            dirs.sort()
            for name in sorted(names):
                if name.endswith(SUFFIXES):
                    path = os.path.join(base, name)
                    files += 1
                    findings += check_file(path, os.path.relpath(path, root))
    for line in findings[:SHOWN]:
        print(line)
    if len(findings) > SHOWN:
        print(f"... and {len(findings) - SHOWN} more")
    print(f"check_format: {files} files, {len(findings)} findings")
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
