#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Mutation testing: how many small faults in the product sources does the test suite catch?

Picks a seeded sample of single-point mutations (a flipped comparison, + and - swapped, a
constant off by one, true and false swapped, a statement dropped, two arguments swapped), and
for each one rebuilds a private copy of the tree incrementally and runs the suite with a time
limit. A mutant is killed when a test fails, survives when all pass, and counts as build-failed
when it does not compile. The working tree is never touched: the copy lives in the work folder.

    tools/mutants.py                      # 60 mutants of RecInfo/, seed 1
    tools/mutants.py --sample 100 --seed 7 --folders RecInfo/report RecInfo/support
    tools/mutants.py --save sample.json   # keep the sample, to measure it again later:
    tools/mutants.py --load sample.json   # the same mutants, whatever the sources look like now
"""

import argparse
import io
import json
import os
import random
import re
import subprocess
import sys
import tarfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

COMPARISONS = {" == ": " != ", " != ": " == ", " < ": " >= ", " >= ": " < ", " > ": " <= ", " <= ": " > "}
ARITHMETIC = {" + ": " - ", " - ": " + "}
BOOLEANS = {"true": "false", "false": "true"}
# A plain statement: a call or an assignment to a name, members and subscripts allowed.
STATEMENT = re.compile(r"^\s*[A-Za-z_][\w.:>\-\[\]]*\s*(\(|=[^=]|\+=|-=|\+\+|--|<<)")
DECLARATION_START = re.compile(r"^\s*(return|if|for|while|switch|case|else|const|auto|static|using|throw|co_)\b")
TWO_ARGUMENTS = re.compile(r"\b([A-Za-z_]\w*)\(([A-Za-z_]\w*|\d+), ([A-Za-z_]\w*|\d+)\)")
INTEGER = re.compile(r"(?<![\w.])(\d+)(?![\w.'])")


def code_part(line):
    """The line without its string and character literals and its comment, same length."""
    out, quote, i = [], None, 0
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                out.append("  ")
                i += 2
                continue
            if c == quote:
                quote = None
            out.append(" " if c != '"' and c != "'" else c)
        elif c in "\"'":
            quote = c
            out.append(c)
        elif line.startswith("//", i):
            out.append(" " * (len(line) - i))
            break
        else:
            out.append(c)
        i += 1
    return "".join(out)[: len(line)]


def sites_of(path, text):
    """Every mutation a file offers: (line number, column, old text, new text, kind)."""
    sites = []
    in_block_comment = False
    for number, line in enumerate(text.split("\n"), 1):
        stripped = line.strip()
        if in_block_comment:
            in_block_comment = "*/" not in stripped
            continue
        if stripped.startswith("/*"):
            in_block_comment = "*/" not in stripped
            continue
        if not stripped or stripped.startswith(("#", "//")) or "static_assert" in line:
            continue
        code = code_part(line)
        for table, kind in ((COMPARISONS, "comparison"), (ARITHMETIC, "arithmetic")):
            for old, new in table.items():
                for m in re.finditer(re.escape(old), code):
                    sites.append((number, m.start(), old, new, kind))
        for old, new in BOOLEANS.items():
            for m in re.finditer(r"\b%s\b" % old, code):
                sites.append((number, m.start(), old, new, "boolean"))
        for m in INTEGER.finditer(code):
            value = int(m.group(1))
            if value > 100000 or (m.start() > 0 and code[m.start() - 1] in "0x"):
                continue
            for delta in (1, -1):
                if value + delta >= 0:
                    sites.append((number, m.start(), m.group(1), str(value + delta), "constant"))
        if (stripped.endswith(";") and STATEMENT.match(code) and not DECLARATION_START.match(code)
                and code.count("(") == code.count(")") and "{" not in code and "}" not in code):
            body = line[len(line) - len(line.lstrip()):]
            sites.append((number, len(line) - len(body), body, ";", "drop"))
        for m in TWO_ARGUMENTS.finditer(code):
            a, b = m.group(2), m.group(3)
            if a != b and (a.isdigit() == b.isdigit()):
                start = m.start(2)
                sites.append((number, start, "%s, %s" % (a, b), "%s, %s" % (b, a), "swap"))
    lines = text.split("\n")
    return [{"file": str(path), "line": n, "column": c, "old": o, "new": w, "kind": k, "text": lines[n - 1]}
            for n, c, o, w, k in sites]


def collect(folders, rev):
    prefixes = tuple(f.rstrip("/") + "/" for f in folders)
    sites = []
    for rel, data, _ in sorted(tree_files(rev)):
        if rel.startswith(prefixes) and rel.endswith(".cpp"):
            sites += sites_of(rel, data.decode("utf-8"))
    return sites


def apply(text, site):
    """The text with the mutation made, on the line as it was drawn, wherever the line has moved
    to since (the nearest one with the same text); None when it is no longer there."""
    lines = text.split("\n")
    want = site["line"] - 1
    places = [i for i, line in enumerate(lines) if line == site["text"]]
    if not places:
        return None
    at_line = min(places, key=lambda i: abs(i - want))
    line, at = lines[at_line], site["column"]
    lines[at_line] = line[:at] + site["new"] + line[at + len(site["old"]):]
    return "\n".join(lines)


def tree_files(rev):
    """(path, bytes, executable) of every file of a commit, or of the working tree (tracked and
    new files) when rev is None."""
    if rev:
        archive = subprocess.run(["git", "archive", "--format=tar", rev], cwd=ROOT, capture_output=True, check=True)
        with tarfile.open(fileobj=io.BytesIO(archive.stdout)) as tar:
            for member in tar.getmembers():
                if member.isfile():
                    yield member.name, tar.extractfile(member).read(), bool(member.mode & 0o100)
        return
    listed = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=ROOT,
                            capture_output=True, check=True).stdout.decode().split("\0")
    for rel in filter(None, listed):
        path = ROOT / rel
        if path.is_file():
            yield rel, path.read_bytes(), os.access(path, os.X_OK)


def sync_copy(source, rev):
    """Makes source a copy of the tree, rewriting only files that differ, so that the build
    there stays incremental."""
    for rel, data, executable in tree_files(rev):
        dst = source / rel
        if dst.exists() and dst.read_bytes() == data:
            continue
        dst.parent.mkdir(parents=True, exist_ok=True)
        dst.write_bytes(data)
        dst.chmod(0o755 if executable else 0o644)


def run(command, cwd, timeout, env=None):
    try:
        result = subprocess.run(command, cwd=cwd, capture_output=True, timeout=timeout, env=env)
        return result.returncode
    except subprocess.TimeoutExpired:
        return None


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--sample", type=int, default=60, help="mutants to try (default 60)")
    parser.add_argument("--seed", type=int, default=1, help="seed of the sample (default 1)")
    parser.add_argument("--folders", nargs="+", default=["RecInfo"], help="source folders to mutate (default RecInfo)")
    parser.add_argument("--work", default=str(ROOT / "build-mutants"), help="folder of the copy and its build")
    parser.add_argument("--timeout", type=int, default=300, help="seconds the suite may take per mutant")
    parser.add_argument("--exclude", default="install_and_use|debian_package|layers_point_down",
                        help="ctest -E pattern of tests not run (default: the packaging tests)")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--save", help="write the sample to this JSON file")
    parser.add_argument("--load", help="try the mutants of a saved sample instead of drawing one")
    parser.add_argument("--rev", help="mutate the tree of this commit instead of the working tree")
    parser.add_argument("--list", action="store_true", help="print the sample and stop")
    args = parser.parse_args()

    if args.load:
        sample = json.loads(Path(args.load).read_text())
    else:
        sites = collect(args.folders, args.rev)
        if not sites:
            sys.exit("no mutation sites in " + " ".join(args.folders))
        sample = random.Random(args.seed).sample(sites, min(args.sample, len(sites)))
        print("%d sites in %s; sample of %d, seed %d" % (len(sites), " ".join(args.folders), len(sample), args.seed))
    if args.save:
        Path(args.save).write_text(json.dumps(sample, indent=1) + "\n")
    if args.list:
        for s in sample:
            print("%s:%d  %s: %r -> %r" % (s["file"], s["line"], s["kind"], s["old"], s["new"]))
        return 0

    work = Path(args.work).resolve()
    source, build = work / "src", work / "build"
    source.mkdir(parents=True, exist_ok=True)
    sync_copy(source, args.rev)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    if not (build / "build.ninja").exists():
        subprocess.run(["cmake", "-S", str(source), "-B", str(build), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Debug",
                        "-DVXRECINFO_BENCH=OFF", "-DCMAKE_LINK_DEPENDS_NO_SHARED=ON"],
                       check=True, stdout=subprocess.DEVNULL)
    print("building the unmutated copy ...", flush=True)
    subprocess.run(["cmake", "--build", str(build), "-j", str(args.jobs)], check=True, stdout=subprocess.DEVNULL)
    ctest = ["ctest", "-j", str(args.jobs), "--stop-on-failure", "-E", args.exclude]
    started = time.monotonic()
    if run(ctest, build, args.timeout, env) != 0:
        sys.exit("the unmutated suite does not pass in %s; nothing to measure" % build)
    print("unmutated suite passes (%.0f s)" % (time.monotonic() - started), flush=True)

    counts = {"killed": 0, "survived": 0, "build-failed": 0, "not applicable": 0}
    survivors = []
    for i, site in enumerate(sample, 1):
        target = source / site["file"]
        original = target.read_text(encoding="utf-8") if target.exists() else ""
        mutated = apply(original, site)
        label = "%s:%d %s %r -> %r" % (site["file"], site["line"], site["kind"], site["old"], site["new"])
        if mutated is None:
            verdict = "not applicable"
        else:
            try:
                target.write_text(mutated, encoding="utf-8")
                if run(["cmake", "--build", str(build), "-j", str(args.jobs)], build, 1800) != 0:
                    verdict = "build-failed"
                else:
                    verdict = "survived" if run(ctest, build, args.timeout, env) == 0 else "killed"
            finally:
                target.write_text(original, encoding="utf-8")
        counts[verdict] += 1
        if verdict == "survived":
            survivors.append(label)
        print("[%d/%d] %-14s %s" % (i, len(sample), verdict, label), flush=True)
    # Leave the copy built as the sources are.
    subprocess.run(["cmake", "--build", str(build), "-j", str(args.jobs)], stdout=subprocess.DEVNULL)

    judged = counts["killed"] + counts["survived"]
    print()
    print("killed %d, survived %d, build-failed %d, not applicable %d" %
          (counts["killed"], counts["survived"], counts["build-failed"], counts["not applicable"]))
    if judged:
        print("kill rate %.1f %% (%d of %d mutants that built)" % (100.0 * counts["killed"] / judged, counts["killed"], judged))
    if survivors:
        print("survivors:")
        for s in survivors:
            print("  " + s)
    return 0


if __name__ == "__main__":
    sys.exit(main())
