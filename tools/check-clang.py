#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Compiles the component, the host, the Python module and the fuzz targets once more with clang
(-fsyntax-only, the build's own flags from compile_commands.json), so that a warning only clang
gives, which -Werror makes an error in the fuzz build, fails the suite and not `make fuzz`.

Usage: check-clang.py BUILD [CLANG]"""

import json
import os
import shlex
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

build = Path(sys.argv[1]).resolve()
clang = sys.argv[2] if len(sys.argv) > 2 else "clang++-14"
source = Path(__file__).resolve().parents[1]
folders = [source / name for name in ("RecInfo", "host", "python", "fuzz")]


def clang_command(entry):
    args = shlex.split(entry["command"])
    kept, skip = [clang, "-fsyntax-only"], False
    for arg in args[1:]:
        if skip:
            skip = False
        elif arg in ("-o", "-MT", "-MF"):
            skip = True
        elif arg != "-MD":
            kept.append(arg)
    return kept


def compile_one(entry):
    run = subprocess.run(clang_command(entry), cwd=entry["directory"], capture_output=True, text=True)
    return entry["file"], run.returncode, run.stdout + run.stderr


entries = [e for e in json.loads((build / "compile_commands.json").read_text())
           if any(Path(e["file"]).resolve().is_relative_to(f) for f in folders)]
with ThreadPoolExecutor(os.cpu_count()) as pool:
    failed = [(file, output) for file, code, output in pool.map(compile_one, entries) if code != 0]
for file, output in failed:
    print(f"FAILED: {file}\n{output}")
print(f"{len(entries) - len(failed)} of {len(entries)} sources compile with {clang}")
sys.exit(1 if failed or not entries else 0)
