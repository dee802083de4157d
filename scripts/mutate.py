#!/usr/bin/env python3
"""Mutation testing: how many small faults planted in the program do its tests catch?

One mutant at a time: a small change to one line of a source file (a comparison flipped, a
boundary moved by one, && swapped with ||, a constant changed, a statement dropped, a function
left early), a rebuild of the test programs of that folder only (chosen by ctest label, in a Debug
-O0 build of its own), and those tests run: the folder's own label first, then the fault tests
that cover it. A test program runs its tests of the label in one process split into 2 x jobs
shards side by side (one process per test, as ctest runs them, is several times slower) with a
timeout per program. A mutant is killed when a test fails, timed out when a test program hangs,
survived when every test passes, and did not compile when the build fails.
Kill rate = (killed + timed out) / mutants that compiled.

The sample is fixed by the seed and the sources: the same sources and seed give the same mutants.
Every file is restored afterwards, also on Ctrl-C; a run killed hard restores at the next start.

  scripts/mutate.py [--seed N] [--count N] [--build-dir DIR] [--jobs N] [--timeout S]
                    [--list-survivors]

The report lands in DIR/mutate-report.md and DIR/mutate-report.json.
"""
import argparse
import json
import os
import random
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

# The folders mutated, the share of the sample each gets (per cent, roughly its share of the
# code), the source files (only .cpp: a header rebuilds half the program) and the ctest labels of
# the tests that cover it.
FOLDERS = [
    ("stats", 10, "stats/*.cpp", ["stats", "faults"]),
    ("monitor", 20, "monitor/*.cpp", ["monitor", "faults"]),
    ("options", 18, "options/*.cpp", ["options", "faults"]),
    ("dialogs", 8, "dialogs/*.cpp", ["dialogs"]),
    ("shell", 11, "shell/*.cpp", ["shell"]),
    ("platform/linux", 25, "platform/linux/*.cpp", ["linux", "faults"]),
    ("platform", 8, "platform/*.cpp", ["platform"]),
]
# main.cpp is the Qt program itself: only the end-to-end tests reach it; main_windows.cpp is
# built only for Windows.
SKIPPED_FILES = {"shell/main.cpp", "shell/main_windows.cpp"}

# Tests left out, each takes many seconds: kill -9 during 300 saves (twice), and the live machine's
# idle time, which waits up to 30 s for an idle processor on a busy machine.
SLOW_TESTS = ["KillDuringSaveTest\\.", "LiveMachineTest\\.IdleTimeGrows"]

RESTORE_FILE = "mutate-restore.json"

# ---------------------------------------------------------------------------------------------
# Finding the places to mutate


def code_only(lines):
    """The lines with comments, string and character literals blanked (same lengths), and
    preprocessor lines emptied: only code is ever mutated."""
    out = []
    in_block = False
    for line in lines:
        chars = list(line)
        i = 0
        if not in_block and line.lstrip().startswith("#"):
            out.append(" " * len(line))
            continue
        while i < len(chars):
            c = line[i]
            if in_block:
                if line.startswith("*/", i):
                    chars[i] = chars[i + 1] = " "
                    in_block = False
                    i += 2
                    continue
                chars[i] = " "
                i += 1
            elif line.startswith("//", i):
                for j in range(i, len(chars)):
                    chars[j] = " "
                break
            elif line.startswith("/*", i):
                chars[i] = chars[i + 1] = " "
                in_block = True
                i += 2
            elif c in "\"'":
                j = i + 1
                while j < len(line) and line[j] != c:
                    j += 2 if line[j] == "\\" else 1
                for k in range(i, min(j + 1, len(chars))):
                    chars[k] = " "
                i = j + 1
            else:
                i += 1
        out.append("".join(chars))
    return out


NEGATED = {"<": ">=", ">": "<=", "<=": ">", ">=": "<", "==": "!=", "!=": "=="}
BOUNDARY = {"<": "<=", "<=": "<", ">": ">=", ">=": ">"}
# Binary operators are written with a space each side; templates and arrows never are.
COMPARISON = re.compile(r"(?<= )(<=|>=|==|!=|<|>)(?= )")
LOGICAL = re.compile(r"(?<= )(&&|\|\|)(?= )")
INTEGER = re.compile(r"(?<![\w.'])(\d+)([uUlL]*)(?![\w.'])")
BOOLEAN = re.compile(r"\b(true|false)\b")
NOT_STATEMENTS = ("return", "break", "continue", "else", "case", "default", "public", "private",
                  "protected", "using", "namespace", "template", "typedef", "static", "const",
                  "constexpr", "auto", "struct", "class", "enum", "friend", "goto")
DECLARATION = re.compile(r"^[\w:<>,*&]+\s+[*&]*\w")
VOID_DEFINITION = re.compile(r"^void\s+[\w:~]+\(.*\)\s*(const)?\s*(noexcept)?\s*\{$")


def balanced(text):
    return text.count("(") == text.count(")") and text.count("{") == text.count("}")


def sites_of(path, rel):
    """Every mutant of one file: (rel, line number, column, family, operator, original, mutated)."""
    lines = path.read_text().split("\n")
    code = code_only(lines)
    sites = []

    def add(number, family, op, start, end, replacement):
        original = lines[number]
        mutated = original[:start] + replacement + original[end:]
        sites.append((rel, number + 1, start, family, op, original, mutated))

    previous = ";"
    for n, text in enumerate(code):
        for m in COMPARISON.finditer(text):
            add(n, "comparison", "negate " + m.group(1), m.start(), m.end(), NEGATED[m.group(1)])
            if m.group(1) in BOUNDARY:
                add(n, "boundary", "boundary " + m.group(1), m.start(), m.end(), BOUNDARY[m.group(1)])
        for m in LOGICAL.finditer(text):
            other = "||" if m.group(1) == "&&" else "&&"
            add(n, "logical", m.group(1) + " to " + other, m.start(), m.end(), other)
        for m in INTEGER.finditer(text):
            value, suffix = int(m.group(1)), m.group(2)
            if text.strip().startswith("case ") or text[m.start() - 1:m.start()] == "[":
                continue  # case labels and sizes: a shift mostly gives a duplicate or a compile error
            add(n, "literal", "+1", m.start(), m.end(), str(value + 1) + suffix)
            if value > 0:
                add(n, "literal", "-1", m.start(), m.end(), str(value - 1) + suffix)
            add(n, "constant", "constant", m.start(), m.end(), ("1" if value == 0 else "0") + suffix)
        for m in BOOLEAN.finditer(text):
            add(n, "constant", "constant", m.start(), m.end(), "false" if m.group(1) == "true" else "true")
        stripped = text.strip()
        first = re.match(r"[\w:]+", stripped)
        if (stripped.endswith(";") and balanced(stripped) and previous[-1:] in ";{}:)"
                and stripped.count(";") == 1 and first is not None
                and first.group(0) not in NOT_STATEMENTS
                and (first.group(0) in ("if", "for", "while") or not DECLARATION.match(stripped))):
            indent = lines[n][: len(lines[n]) - len(lines[n].lstrip())]
            add(n, "statement", "drop statement", 0, len(lines[n]), indent + ";")
        if VOID_DEFINITION.match(text.rstrip()):
            add(n, "return", "return early", len(lines[n]), len(lines[n]), " return;")
        if stripped:
            previous = stripped
    return sites


def all_sites(pattern):
    sites = []
    for path in sorted(ROOT.glob(pattern)):
        rel = path.relative_to(ROOT).as_posix()
        if rel not in SKIPPED_FILES:
            sites.extend(sites_of(path, rel))
    return sites


def sample(seed, count):
    """The mutants, chosen from the seed: each folder its share, and within a folder the kinds of
    mutation taken in turn so that no kind crowds out the others."""
    rng = random.Random(seed)
    total_share = sum(share for _, share, _, _ in FOLDERS)
    wanted = [count * share // total_share for _, share, _, _ in FOLDERS]
    for i in range(count - sum(wanted)):
        wanted[i % len(wanted)] += 1
    chosen = []
    for (folder, _, pattern, labels), k in zip(FOLDERS, wanted):
        families = {}
        for site in all_sites(pattern):
            families.setdefault(site[3], []).append(site)
        order = sorted(families)
        for name in order:
            rng.shuffle(families[name])
        picked = []
        while len(picked) < k and any(families.values()):
            for name in order:
                if families[name] and len(picked) < k:
                    picked.append(families[name].pop())
        chosen.extend((folder, labels, site) for site in sorted(picked))
    return chosen


# ---------------------------------------------------------------------------------------------
# Building and testing


def run_together(commands, timeout, cwd=ROOT, envs=None):
    """Runs the commands side by side: [(exit status, output)], the status None for those still
    running when the time ran out (their whole process groups are ended then)."""
    processes = [subprocess.Popen(command, cwd=cwd, env=(envs or [None] * len(commands))[i],
                                  stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                                  errors="replace", start_new_session=True)
                 for i, command in enumerate(commands)]
    deadline = time.monotonic() + timeout
    results = []
    try:
        for process in processes:
            try:
                out, _ = process.communicate(timeout=max(0.1, deadline - time.monotonic()))
                results.append((process.returncode, out))
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                results.append((None, process.communicate()[0]))
    finally:
        for process in processes:
            if process.poll() is None:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()
    return results


def run(command, timeout, cwd=ROOT, env=None):
    return run_together([command], timeout, cwd, [env])[0]


def configure(build):
    if (build / "build.ninja").exists() or (build / "Makefile").exists():
        return
    generator = ["-G", "Ninja"] if subprocess.run(["which", "ninja"], capture_output=True).returncode == 0 else []
    code, out = run(["cmake", "-S", str(ROOT), "-B", str(build), *generator, "-DCMAKE_BUILD_TYPE=Debug",
                     "-DCMAKE_CXX_FLAGS_DEBUG=-O0 -g0"], 600)
    if code != 0:
        sys.exit("configure failed:\n" + out)


def gtest_targets(build):
    """Every gtest program: before their first build ctest lists each as <target>_NOT_BUILT."""
    code, out = run(["ctest", "--test-dir", str(build), "-N"], 120)
    return sorted(set(re.findall(r"Test +#\d+: (\w+)_NOT_BUILT", out)))


def build_targets(build, targets, jobs):
    return run(["cmake", "--build", str(build), "-j", str(jobs), "--target", *targets], 900)


class Program:
    """One test program and the tests of a label it runs. Its tests run in one process (ctest
    would start one process per test, four times slower here), with the filter, environment and
    folder ctest would give each of them."""

    def __init__(self, command, cwd, env):
        self.path, self.cwd, self.env, self.filters, self.extra = command[0], cwd, env, [], []

    def command(self):
        filters = [f for f in self.filters if f]
        return [self.path] + (["--gtest_filter=" + ":".join(filters)] if filters else []) + self.extra

    def run(self, timeout, shards=1):
        """(exit status, output): the tests split into shards run side by side, each stopping at
        its first failure; the status is None when a shard ran out of time."""
        if not self.filters:
            return run(self.command(), timeout, self.cwd, self.env)
        envs = [dict(self.env, GTEST_TOTAL_SHARDS=str(shards), GTEST_SHARD_INDEX=str(i)) for i in range(shards)]
        results = run_together([self.command() + ["--gtest_fail_fast"]] * shards, timeout, self.cwd, envs)
        out = "".join(out for _, out in results)
        if any(code is None for code, _ in results):
            return None, out
        return next((code for code, _ in results if code != 0), 0), out


def programs_of(build, label, excluded):
    """The test programs of a label (ctest -L), less the tests excluded (ctest -E)."""
    command = ["ctest", "--test-dir", str(build), "-N", "--show-only=json-v1", "-L", "^" + label + "$"]
    if excluded:
        command += ["-E", excluded]
    code, out = run(command, 120)
    if code != 0:
        sys.exit("ctest cannot list the tests of %s:\n%s" % (label, out))
    programs = {}
    for test in json.loads(out[out.index("{"):])["tests"]:
        if not test.get("command"):
            continue
        properties = {p["name"]: p["value"] for p in test.get("properties", [])}
        env = dict(os.environ)
        env.update(v.split("=", 1) for v in properties.get("ENVIRONMENT", []))
        command = test["command"]
        key = command[0] if "--gtest_filter=" in " ".join(command) else test["name"]
        program = programs.setdefault(key, Program(command, properties.get("WORKING_DIRECTORY", str(ROOT)), env))
        filters = [a[len("--gtest_filter="):] for a in command[1:] if a.startswith("--gtest_filter=")]
        program.filters += filters
        program.extra = [a for a in command[1:] if not a.startswith("--gtest_filter=")]
    return list(programs.values())


def failed_tests(out):
    return re.findall(r"^\[  FAILED  \] (\S+) \(", out, re.M)


def run_label(programs, timeout, shards):
    """killed, timed out or survived, and what failed."""
    for program in programs:
        code, out = program.run(timeout, shards)
        if code is None:
            return "timed out", Path(program.path).name
        if code != 0:
            failed = failed_tests(out)
            return "killed", failed[0] if failed else "%s (exit %d)" % (Path(program.path).name, code)
    return "survived", ""


# ---------------------------------------------------------------------------------------------
# Files changed and put back


class Sources:
    """Writes mutants and restores every file, keeping the originals on disk until then."""

    def __init__(self, build):
        self.keep = build / RESTORE_FILE
        self.originals = {}
        if self.keep.exists():  # a run killed hard left files mutated
            for rel, text in json.loads(self.keep.read_text()).items():
                (ROOT / rel).write_text(text)
                print("restored " + rel + " from an interrupted run")
            self.keep.unlink()

    def mutate(self, rel, number, mutated):
        path = ROOT / rel
        if rel not in self.originals:
            self.originals[rel] = path.read_text()
            self.keep.write_text(json.dumps(self.originals))
        lines = self.originals[rel].split("\n")
        lines[number - 1] = mutated
        path.write_text("\n".join(lines))

    def restore(self):
        for rel, text in self.originals.items():
            (ROOT / rel).write_text(text)
        self.originals = {}
        if self.keep.exists():
            self.keep.unlink()


# ---------------------------------------------------------------------------------------------
# The report

RESULTS = ["killed", "timed out", "survived", "did not compile"]


def rate(rows):
    compiled = [r for r in rows if r["result"] != "did not compile"]
    caught = [r for r in compiled if r["result"] in ("killed", "timed out")]
    return (100.0 * len(caught) / len(compiled)) if compiled else 0.0, len(caught), len(compiled)


def summary(rows):
    lines = ["| Folder | Mutants | Killed | Timed out | Survived | Did not compile | Kill rate |",
             "| --- | ---: | ---: | ---: | ---: | ---: | ---: |"]
    groups = [(folder, [r for r in rows if r["folder"] == folder]) for folder, *_ in FOLDERS]
    for name, group in groups + [("all", rows)]:
        counts = [sum(1 for r in group if r["result"] == result) for result in RESULTS]
        percent, _, compiled = rate(group)
        lines.append("| %s | %d | %d | %d | %d | %d | %s |" % (
            name, len(group), *counts, ("%.1f %%" % percent) if compiled else "-"))
    return lines


def write_report(build, rows, settings, finished):
    data = {"settings": settings, "finished": finished, "mutants": rows}
    (build / "mutate-report.json").write_text(json.dumps(data, indent=1))
    md = ["# Mutation testing", "",
          "Seed %(seed)d, %(count)d mutants, %(timeout)d s per test program, sources %(sources)s." % settings +
          (" %(minutes)s minutes, median %(median_seconds)s s per mutant." % settings if finished else ""),
          "Kill rate = (killed + timed out) / mutants that compiled." +
          ("" if finished else " **Unfinished run.**"), ""]
    md += summary(rows)
    md += ["", "## Survivors", "", "| Where | Operator | Original | Mutated |", "| --- | --- | --- | --- |"]
    for r in rows:
        if r["result"] == "survived":
            md.append("| %s:%d | %s | `%s` | `%s` |" % (r["file"], r["line"], r["operator"],
                                                     r["original"].strip().replace("|", "\\|"),
                                                     r["mutated"].strip().replace("|", "\\|")))
    (build / "mutate-report.md").write_text("\n".join(md) + "\n")
    (build / "mutate-survivors.txt").write_text("".join(
        "%s:%d: %s: %s  ->  %s\n" % (r["file"], r["line"], r["operator"], r["original"].strip(),
                                     r["mutated"].strip()) for r in rows if r["result"] == "survived"))


# ---------------------------------------------------------------------------------------------


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--count", type=int, default=300)
    parser.add_argument("--build-dir", default=str(ROOT / "build-mutate"))
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--timeout", type=int, default=20,
                        help="seconds per test program (its tests of the label run in one process)")
    parser.add_argument("--list-survivors", action="store_true")
    parser.add_argument("--only", default="",
                        help="comma-separated folders: run only their mutants of the same sample")
    args = parser.parse_args()
    build = Path(args.build_dir).resolve()
    build.mkdir(parents=True, exist_ok=True)

    def interrupted(signum, frame):
        raise KeyboardInterrupt()
    # Ctrl-C too, also when the shell started this in the background with SIGINT ignored.
    for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, interrupted)

    sources = Sources(build)
    mutants = sample(args.seed, args.count)
    if args.only:
        wanted = set(args.only.split(","))
        mutants = [m for m in mutants if m[0] in wanted]
    commit = run(["git", "rev-parse", "--short", "HEAD"], 30)[1].strip()
    dirty = run(["git", "status", "--porcelain", "--untracked-files=no"], 30)[1].strip()
    settings = {"seed": args.seed, "count": len(mutants), "timeout": args.timeout,
                "sources": commit + (" with local changes" if dirty else "")}

    # The unmutated tests must pass, else every mutant would look killed: a failing one is left out.
    configure(build)
    print("building the tests (the first time takes a few minutes)...", flush=True)
    code, out = build_targets(build, gtest_targets(build) or ["all"], args.jobs)
    if code != 0:
        sys.exit("the unmutated build failed:\n" + out[-4000:])
    excluded = list(SLOW_TESTS)
    labels = sorted({label for _, _, _, folder_labels in FOLDERS for label in folder_labels})
    for label in labels:
        for program in programs_of(build, label, "|".join(excluded)):
            code, out = program.run(args.timeout * 3, 2 * args.jobs)
            failing = failed_tests(out) if code != 0 else []
            for name in failing:
                print("left out, fails unmutated: " + name)
                excluded.append("^" + re.escape(name) + "$")
            if code != 0 and not failing:
                sys.exit("the unmutated tests of %s failed:\n%s" % (label, out[-4000:]))
    excluded = "|".join(excluded)
    programs = {label: programs_of(build, label, excluded) for label in labels}
    targets = {label: sorted({Path(p.path).name for p in programs[label]}) for label in labels}

    rows = []
    started = time.monotonic()
    try:
        for index, (folder, folder_labels, site) in enumerate(mutants, 1):
            rel, line, _, family, op, original, mutated = site
            t0 = time.monotonic()
            sources.mutate(rel, line, mutated)
            # The folder's own tests first, then the fault tests, each built only when needed.
            result, by = "survived", ""
            build_seconds = 0.0
            for label in folder_labels:
                t1 = time.monotonic()
                code, out = build_targets(build, targets[label], args.jobs)
                build_seconds += time.monotonic() - t1
                if code != 0:
                    # A test program that crashes while listing its tests fails the build, too.
                    if "Error running test executable" in out:
                        result, by = "killed", "listing the tests"
                    else:
                        result = "did not compile"
                    break
                result, by = run_label(programs[label], args.timeout, 2 * args.jobs)
                if result != "survived":
                    break
            sources.restore()
            seconds = time.monotonic() - t0
            rows.append({"folder": folder, "file": rel, "line": line, "family": family, "operator": op,
                         "original": original, "mutated": mutated, "result": result, "by": by,
                         "seconds": round(seconds, 1), "build_seconds": round(build_seconds, 1)})
            print("[%d/%d] %5.1fs (build %4.1fs) %-15s %s:%d %s" % (index, len(mutants), seconds, build_seconds,
                                                                   result, rel, line, op), flush=True)
            if index % 10 == 0:
                write_report(build, rows, settings, False)
    except KeyboardInterrupt:
        print("interrupted: the sources are restored", flush=True)
    finally:
        sources.restore()
    finished = len(rows) == len(mutants)
    settings["minutes"] = round((time.monotonic() - started) / 60, 1)
    settings["median_seconds"] = sorted(r["seconds"] for r in rows)[len(rows) // 2] if rows else 0
    write_report(build, rows, settings, finished)
    # The mutated objects are stale now: the next build compiles the restored files again.
    print("\n".join(summary(rows)))
    print("%d mutants in %.1f minutes (median %.1f s each); report: %s" % (
        len(rows), settings["minutes"], settings["median_seconds"], build / "mutate-report.md"))
    if args.list_survivors:
        print((build / "mutate-survivors.txt").read_text(), end="")
    return 0 if finished else 130


if __name__ == "__main__":
    sys.exit(main())
