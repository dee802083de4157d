#!/usr/bin/env python3
"""Mutation testing: how many small faults planted in the program do its tests catch?

One mutant at a time: a small change to one line of a source file (a comparison flipped, a
boundary moved by one, && swapped with ||, a constant changed, a statement dropped, a function
left early), a rebuild of the test programs that cover its folder (chosen by ctest label, in a
Debug -O0 build of its own), and those tests run: the folder's own label first, then the fault
tests and the end-to-end scenarios that reach it. Every folder of program code is mutated, its
.cpp files and its headers alike, each folder's share of the sample its share of the code lines;
the Win32 backend and runtime (platform/windows/) too with --windows, through the Windows test
programs under Wine (`make windows` first). A test program runs its tests of the label in one
process split into 2 x jobs shards side by side (one process per test, as ctest runs them, is
several times slower) with a timeout per program, the same for the unmutated baseline and for
every mutant. A mutant is killed when a test fails, timed out when a test program did not end in
time, survived when every test passes, and did not compile when the build fails.
Kill rate = killed / mutants that compiled; the timed out are counted apart, never as kills.

Each run draws a fresh seed and prints it; --seed repeats a run's sample on the same sources.
Every file is restored afterwards, also on Ctrl-C; a run killed hard restores at the next start.

  scripts/mutate.py [--seed N] [--count N] [--build-dir DIR] [--jobs N] [--timeout S]
                    [--windows [--windows-build-dir DIR]] [--only FOLDER,...] [--labels LABEL,...]

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

# The folders mutated, their source files (.cpp and headers; a header with declarations alone
# offers no place to mutate) and the ctest labels of the tests that cover them, in the order run.
# A folder's share of the sample is its share of the code lines.
FOLDERS = [
    ("stats", ["stats/*"], ["stats", "faults"]),
    ("monitor", ["monitor/*"], ["monitor", "faults"]),
    ("options", ["options/*"], ["options", "faults"]),
    ("dialogs", ["dialogs/*"], ["dialogs"]),
    ("shell", ["shell/*"], ["shell", "e2e"]),
    ("platform/linux", ["platform/linux/*"], ["linux", "faults"]),
    ("platform", ["platform/*"], ["platform"]),
    ("platform/qt", ["platform/qt/*"], ["qt", "shell", "faults", "e2e"]),
]
WINDOWS_FOLDER = ("platform/windows", ["platform/windows/*", "platform/windows/forms/*"], ["windows"])
# Seconds the tests of a label are given when not --timeout: a scenario drives a real desktop, and
# so do the rounds of the session-end fault test.
LABEL_TIMEOUTS = {"e2e": 300, "faults": 300, "windows": 900}
# The session-end fault test's rounds for each mutant: fewer than its 40 in CI (each round starts a
# desktop), and the same rounds for the unmutated tests and every mutant (its seed is the run's).
SESSION_END_ROUNDS = 10
# Programs the tests of a label run besides their own test programs.
LABEL_TARGETS = {"e2e": ["sysvane"]}
# Built only for Windows: its mutants would never be compiled here.
SKIPPED_FILES = {"shell/main_windows.cpp"}

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


def files_of(patterns):
    return sorted({path for pattern in patterns for path in ROOT.glob(pattern)
                   if path.suffix in (".cpp", ".h") and path.is_file()
                   and str(path.relative_to(ROOT)) not in SKIPPED_FILES})


def code_lines(patterns):
    return sum(1 for path in files_of(patterns) for line in path.read_text().split("\n")
               if line.strip() and not line.lstrip().startswith(("//", "#")))


def all_sites(patterns):
    sites = []
    for path in files_of(patterns):
        sites.extend(sites_of(path, path.relative_to(ROOT).as_posix()))
    return sites


def sample(seed, count, folders):
    """The mutants, chosen from the seed: each folder its share of the code lines, and within a
    folder the kinds of mutation taken in turn so that no kind crowds out the others."""
    rng = random.Random(seed)
    shares = [code_lines(patterns) for _, patterns, _ in folders]
    wanted = [count * share // sum(shares) for share in shares]
    for i in range(count - sum(wanted)):
        wanted[i % len(wanted)] += 1
    chosen = []
    for (folder, patterns, labels), k in zip(folders, wanted):
        families = {}
        for site in all_sites(patterns):
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


def build_targets(build, targets, jobs):
    return run(["cmake", "--build", str(build), "-j", str(jobs), "--target", *targets], 900)


class Program:
    """One test program and the tests of a label it runs. Its tests run in one process (ctest
    would start one process per test, four times slower here), with the filter, environment and
    folder ctest would give each of them."""

    def __init__(self, command, cwd, env):
        self.path, self.cwd, self.env, self.filters, self.extra = command[0], cwd, env, [], command[1:]

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
    killed = [r for r in compiled if r["result"] == "killed"]
    return (100.0 * len(killed) / len(compiled)) if compiled else 0.0, len(killed), len(compiled)


def summary(rows):
    lines = ["| Folder | Mutants | Killed | Timed out | Survived | Did not compile | Kill rate |",
             "| --- | ---: | ---: | ---: | ---: | ---: | ---: |"]
    folders = list(dict.fromkeys(r["folder"] for r in rows))
    groups = [(folder, [r for r in rows if r["folder"] == folder]) for folder in folders]
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
          "Seed %(seed)d, %(count)d mutants, %(timeouts)s, the same for the unmutated tests; "
          "sources %(sources)s." % settings +
          (" %(minutes)s minutes, median %(median_seconds)s s per mutant." % settings if finished else ""),
          "Kill rate = killed / mutants that compiled; the timed out are not counted as kills." +
          ("" if finished else " **Unfinished run.**"), ""]
    md += summary(rows)
    for result, title in (("survived", "Survivors"), ("timed out", "Timed out")):
        md += ["", "## " + title, "", "| Where | Operator | Original | Mutated |", "| --- | --- | --- | --- |"]
        for r in rows:
            if r["result"] == result:
                md.append("| %s:%d | %s | `%s` | `%s` |" % (r["file"], r["line"], r["operator"],
                                                         r["original"].strip().replace("|", "\\|"),
                                                         r["mutated"].strip().replace("|", "\\|")))
    (build / "mutate-report.md").write_text("\n".join(md) + "\n")
    (build / "mutate-survivors.txt").write_text("".join(
        "%s:%d: %s: %s  ->  %s\n" % (r["file"], r["line"], r["operator"], r["original"].strip(),
                                     r["mutated"].strip()) for r in rows if r["result"] == "survived"))


# ---------------------------------------------------------------------------------------------


class Label:
    """The tests of one ctest label: the build they live in, their programs, the targets that
    rebuild them and the time they are given."""

    def __init__(self, name, build, programs, timeout, jobs):
        self.name, self.build, self.programs, self.timeout, self.jobs = name, build, programs, timeout, jobs
        built = {Path(p.path).name for p in programs if Path(p.path).resolve().is_relative_to(build)}
        self.targets = sorted(built) + LABEL_TARGETS.get(name, []) or ["all"]

    def rebuild(self):
        return build_targets(self.build, self.targets, self.jobs)

    def run(self):
        return run_label(self.programs, self.timeout, 2 * self.jobs)


def windows_label(build, timeout, jobs):
    """The Windows test programs of a Windows build, run under Wine by scripts/windows-test.sh."""
    if not (build / "CMakeCache.txt").exists():
        sys.exit("--windows needs a Windows build in %s: run `make windows` first" % build)
    program = Program([str(ROOT / "scripts" / "windows-test.sh"), str(build)], str(ROOT),
                      dict(os.environ, JOBS=str(jobs)))
    label = Label("windows", build, [program], timeout, jobs)
    label.targets = ["all"]
    return label


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--seed", type=int, default=None, help="repeat the sample of an earlier run")
    parser.add_argument("--count", type=int, default=300)
    parser.add_argument("--build-dir", default=str(ROOT / "build-mutate"))
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--timeout", type=int, default=20,
                        help="seconds per test program (its tests of the label run in one process); "
                             "the end-to-end scenarios and the Windows tests get their own unless given")
    parser.add_argument("--windows", action="store_true",
                        help="mutate platform/windows/ too, through the Windows tests under Wine")
    parser.add_argument("--windows-build-dir", default=str(ROOT / "build-windows"))
    parser.add_argument("--only", default="",
                        help="comma-separated folders: run only their mutants of the same sample")
    parser.add_argument("--labels", default="",
                        help="comma-separated ctest labels: run only these tests (a quick look while "
                             "writing tests; its rate is not the whole suite's)")
    args = parser.parse_args()
    timeout_given = "--timeout" in sys.argv
    seed = args.seed if args.seed is not None else random.SystemRandom().randrange(1, 2 ** 31)
    print("seed %d (--seed %d repeats this sample on the same sources)" % (seed, seed), flush=True)
    os.environ.update(ROUNDS=str(SESSION_END_ROUNDS), SEED=str(seed))  # read by the session-end test
    build = Path(args.build_dir).resolve()
    build.mkdir(parents=True, exist_ok=True)

    def interrupted(signum, frame):
        raise KeyboardInterrupt()
    # Ctrl-C too, also when the shell started this in the background with SIGINT ignored.
    for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, interrupted)

    sources = Sources(build)
    folders = FOLDERS + ([WINDOWS_FOLDER] if args.windows else [])
    mutants = sample(seed, args.count, folders)
    if args.only:
        wanted = set(args.only.split(","))
        mutants = [m for m in mutants if m[0] in wanted]
    if args.labels:
        kept = args.labels.split(",")
        mutants = [(folder, [l for l in labels if l in kept], site) for folder, labels, site in mutants
                   if any(l in kept for l in labels)]
    commit = run(["git", "rev-parse", "--short", "HEAD"], 30)[1].strip()
    dirty = run(["git", "status", "--porcelain", "--untracked-files=no"], 30)[1].strip()

    def timeout_of(label):
        return args.timeout if timeout_given else LABEL_TIMEOUTS.get(label, args.timeout)

    used = sorted({label for folder, labels, _ in mutants for label in labels})
    settings = {"seed": seed, "count": len(mutants),
                "timeouts": ", ".join("%s %d s" % (label, timeout_of(label)) for label in used),
                "sources": commit + (" with local changes" if dirty else "")
                + (", only the tests labelled " + args.labels if args.labels else "")}

    # The unmutated tests must pass within the same time as the mutants', else every mutant would
    # look killed or timed out: a failing test is left out, a label too slow ends the run.
    configure(build)
    print("building the tests (the first time takes a few minutes)...", flush=True)
    # Everything, not only what was never built: a test program built before its tests were renamed
    # would list its old names, and ctest would run none of them.
    code, out = build_targets(build, ["all"], args.jobs)
    if code != 0:
        sys.exit("the unmutated build failed:\n" + out[-4000:])
    excluded = list(SLOW_TESTS)
    labels = {}
    for name in used:
        if name == "windows":
            label = windows_label(Path(args.windows_build_dir).resolve(), timeout_of(name), args.jobs)
            if label.rebuild()[0] != 0:
                sys.exit("the unmutated Windows build failed")
        else:
            label = Label(name, build, programs_of(build, name, "|".join(excluded)), timeout_of(name), args.jobs)
        for program in label.programs:
            code, out = program.run(label.timeout, 2 * args.jobs)
            if code is None:
                sys.exit("the unmutated tests of %s did not end within %d s: give them more with --timeout"
                         % (name, label.timeout))
            failing = failed_tests(out) if code != 0 else []
            for test in failing:
                print("left out, fails unmutated: " + test)
                excluded.append("^" + re.escape(test) + "$")
            if code != 0 and not failing:
                sys.exit("the unmutated tests of %s failed:\n%s" % (name, out[-4000:]))
        if name != "windows":
            label = Label(name, build, programs_of(build, name, "|".join(excluded)), timeout_of(name), args.jobs)
        labels[name] = label

    rows = []
    started = time.monotonic()
    try:
        for index, (folder, folder_labels, site) in enumerate(mutants, 1):
            rel, line, _, family, op, original, mutated = site
            t0 = time.monotonic()
            sources.mutate(rel, line, mutated)
            # The folder's own tests first, then the others that reach it, each built only when needed.
            result, by = "survived", ""
            build_seconds = 0.0
            for name in folder_labels:
                t1 = time.monotonic()
                code, out = labels[name].rebuild()
                build_seconds += time.monotonic() - t1
                if code != 0:
                    # A test program that crashes while listing its tests fails the build, too.
                    if "Error running test executable" in out:
                        result, by = "killed", "listing the tests"
                    else:
                        result = "did not compile"
                    break
                result, by = labels[name].run()
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
    print("seed %d: %d mutants in %.1f minutes (median %.1f s each); report: %s" % (
        seed, len(rows), settings["minutes"], settings["median_seconds"], build / "mutate-report.md"))
    print("survivors:")
    print((build / "mutate-survivors.txt").read_text(), end="")
    return 0 if finished else 130


if __name__ == "__main__":
    sys.exit(main())
