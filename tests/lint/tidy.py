#!/usr/bin/env python3
"""Runs clang-tidy (the checks of .clang-tidy) over every source of src/ and
tools/ in the compile database of the "fuzz" preset (configured into
build/lint, beside the fuzz run's own build/fuzz), two at a time. A file
whose result is known is skipped: the cache (under the user's cache folder)
keeps one mark per clean file, named by the hash of everything the result
depends on: the file, the project headers it includes (transitively), its
compile command, .clang-tidy and the clang-tidy version. Exit status 1 when
any file has findings."""
import concurrent.futures
import hashlib
import json
import os
import re
import subprocess
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
DATABASE = os.path.join(ROOT, "build", "lint", "compile_commands.json")
CACHE = os.path.join(os.environ.get("XDG_CACHE_HOME", os.path.expanduser("~/.cache")),
                     "maple-writer", "clang-tidy")
INCLUDE = re.compile(rb'^\s*#\s*include\s+"([^"]+)"', re.M)


def project_headers():
    headers = {}
    for folder in ("src", "tools"):
        for path, _, names in os.walk(os.path.join(ROOT, folder)):
            for name in names:
                if name.endswith(".h"):
                    headers.setdefault(name, []).append(os.path.join(path, name))
    return headers


def read(path):
    with open(path, "rb") as f:
        return f.read()


def key_of(entry, headers, common):
    """The hash of the file, the project headers it reaches, its command."""
    digest = hashlib.sha256(common)
    digest.update(entry.get("command", " ".join(entry.get("arguments", []))).encode())
    seen, pending = set(), [entry["file"]]
    while pending:
        path = pending.pop()
        if path in seen:
            continue
        seen.add(path)
        text = read(path)
        digest.update(path.encode() + b"\0" + text)
        for include in INCLUDE.findall(text):
            pending.extend(headers.get(os.path.basename(include.decode()), []))
    return digest.hexdigest()


def tidy(path):
    run = subprocess.run(["clang-tidy", "-p", os.path.dirname(DATABASE), "--quiet", path],
                         capture_output=True, text=True)
    findings = [line for line in run.stdout.splitlines() if ": error: " in line
                or ": warning: " in line]
    return run.returncode == 0 and not findings, run.stdout


def main():
    with open(DATABASE) as f:
        entries = [e for e in json.load(f)
                   if os.path.relpath(e["file"], ROOT).split(os.sep)[0] in ("src", "tools")]
    version = subprocess.run(["clang-tidy", "--version"], capture_output=True,
                             text=True).stdout.encode()
    common = read(os.path.join(ROOT, ".clang-tidy")) + version
    headers = project_headers()
    os.makedirs(CACHE, exist_ok=True)
    todo = []
    for entry in entries:
        key = key_of(entry, headers, common)
        if not os.path.exists(os.path.join(CACHE, key)):
            todo.append((entry["file"], key))
    print(f"clang-tidy: {len(entries)} files, {len(entries) - len(todo)} known clean")
    failed = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        for (path, key), (clean, output) in zip(todo, pool.map(lambda t: tidy(t[0]), todo)):
            if clean:
                open(os.path.join(CACHE, key), "w").close()
            else:
                failed += 1
                print(output, end="")
    print(f"clang-tidy: {failed} files with findings")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
