#!/usr/bin/env python3
"""A mutation sample of the window layer, the Compare core and the dice engine, run by hand.

Each mutant in mutants.ini changes one exact snippet of one source file. The
runner applies one mutant at a time, rebuilds only the test programs that
mutant names in an existing build folder, runs them (Qt tests offscreen), and
records whether a test failed (killed), none did (survived), the mutant did
not compile (build-broken) or the programs came out byte for byte as before
(same-binary: the compiler saw no difference). The source file is always put
back, also on Ctrl-C or an error; a copy kept under the build folder restores
it on the next start should the runner itself be killed.

It is slow (a rebuild and a test run per mutant), so the test command does not
run it. From a checkout with a configured build-ci (cmake --preset ci):

    tests/mutation/run.py                 # every mutant
    tests/mutation/run.py --only ID,ID    # some of them
    tests/mutation/run.py --only 'dice-*' # those whose ids match a pattern
    tests/mutation/run.py --list          # the mutants, without running

Options: --build-dir (default build-ci), --timeout per test program in
seconds (default 300), --jobs for the build (default 2). Results also go to
<build-dir>/mutation/results.tsv. Needs python3 (3.9 or later) only.

A mutant whose change no test can see carries `equivalent = <why>`; it is
run all the same (a kill would show the reason wrong) but left out of the
share killed, which counts only the mutants that change behaviour.
"""

import argparse
import configparser
import fnmatch
import hashlib
import os
import pathlib
import re
import shutil
import signal
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parents[2]
MUTANTS = pathlib.Path(__file__).resolve().with_name("mutants.ini")
KINDS = {"flip", "boundary", "remove", "constant"}


class Interrupted(Exception):
    pass


def on_signal(signum, frame):
    raise Interrupted(signal.Signals(signum).name)


def read_mutants(path):
    """Every mutant in the file; their snippets are looked for once chosen,
    so that one gone stale does not stop a run of the others."""
    parser = configparser.ConfigParser(interpolation=None, delimiters=("=",), comment_prefixes=("#",))
    parser.optionxform = str
    with open(path, encoding="utf-8") as f:
        parser.read_file(f)
    mutants = []
    for name in parser.sections():
        section = parser[name]
        mutant = {
            "id": name,
            "file": section["file"],
            "kind": section["kind"],
            "from": section["from"],
            "to": section.get("to", ""),
            "tests": section["tests"].split(),
            "equivalent": section.get("equivalent", ""),
        }
        if mutant["kind"] not in KINDS:
            sys.exit(f"{name}: kind must be one of {sorted(KINDS)}, not {mutant['kind']}")
        mutants.append(mutant)
    return mutants


def check_snippets(mutants):
    for mutant in mutants:
        source = (ROOT / mutant["file"]).read_text(encoding="utf-8")
        found = len(pattern(mutant["from"]).findall(source))
        if found != 1:
            sys.exit(f"{mutant['id']}: the snippet occurs {found} times in {mutant['file']}, not once:\n{mutant['from']}")


def chosen(mutants, only):
    """The mutants named by --only: ids, or patterns such as dice-*."""
    wanted = [w for w in only.split(",") if w]
    unmatched = [w for w in wanted if not any(fnmatch.fnmatchcase(m["id"], w) for m in mutants)]
    if unmatched:
        sys.exit(f"no such mutants: {', '.join(unmatched)}")
    return [m for m in mutants if any(fnmatch.fnmatchcase(m["id"], w) for w in wanted)]


def pattern(snippet):
    """The snippet with any run of white space matching any other, as the
    mutants file cannot keep the indentation of a snippet's later lines."""
    return re.compile(r"\s+".join(re.escape(word) for word in snippet.split()))


class Restorer:
    """Puts mutated files back; the copy on disk outlives a killed runner."""

    def __init__(self, build):
        self.folder = build / "mutation" / "originals"
        self.folder.mkdir(parents=True, exist_ok=True)

    def restore_left_over(self):
        for copy in self.folder.rglob("*"):
            if copy.is_file():
                relative = copy.relative_to(self.folder)
                print(f"restoring {relative}, left mutated by an earlier run")
                shutil.copyfile(copy, ROOT / relative)
                copy.unlink()

    def mutate(self, mutant):
        target = ROOT / mutant["file"]
        original = target.read_bytes()
        copy = self.folder / mutant["file"]
        copy.parent.mkdir(parents=True, exist_ok=True)
        copy.write_bytes(original)
        text = original.decode("utf-8")
        target.write_text(pattern(mutant["from"]).sub(lambda _: mutant["to"], text, count=1), encoding="utf-8")
        return original

    def restore(self, mutant, original):
        # A fresh modification time, so that the next build compiles the
        # original again rather than keep the mutant's object files.
        (ROOT / mutant["file"]).write_bytes(original)
        (self.folder / mutant["file"]).unlink(missing_ok=True)


def program(build, name):
    found = [p for p in build.rglob(name) if p.is_file() and os.access(p, os.X_OK)]
    if len(found) != 1:
        sys.exit(f"test program {name}: found {len(found)} in {build}")
    return found[0]


def build_targets(build, names, jobs):
    command = ["cmake", "--build", str(build), "-j", str(jobs), "--target", *names]
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    return done.returncode == 0, done.stdout


def digest(paths):
    return {p: hashlib.sha256(p.read_bytes()).hexdigest() for p in paths}


def run_tests(build, tests, timeout):
    """The first failing test program and what it said, or None when all pass."""
    environment = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    for test in tests:
        name, _, args = test.partition(":")
        command = [str(program(build, name)), *[a for a in args.split(",") if a]]
        try:
            done = subprocess.run(
                command,
                cwd=build,
                env=environment,
                stdout=subprocess.PIPE,
                stderr=subprocess.STDOUT,
                text=True,
                errors="replace",
                timeout=timeout,
                start_new_session=True,
            )
        except subprocess.TimeoutExpired:
            return test, "timed out"
        if done.returncode != 0:
            failed = [line for line in done.stdout.splitlines() if line.startswith(("FAIL!", "[  FAILED  ]"))]
            return test, (failed[0] if failed else f"exit code {done.returncode}")
    return None


def main():
    options = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    options.add_argument("--build-dir", default="build-ci")
    options.add_argument("--only", default="", help="comma-separated mutant ids or patterns (dice-*)")
    options.add_argument("--timeout", type=int, default=300)
    options.add_argument("--jobs", type=int, default=2)
    options.add_argument("--list", action="store_true")
    args = options.parse_args()

    build = (ROOT / args.build_dir).resolve()
    if not (build / "CMakeCache.txt").exists():
        sys.exit(f"{build} is not a configured build folder: run cmake --preset ci first")
    restorer = Restorer(build)
    restorer.restore_left_over()
    mutants = read_mutants(MUTANTS)
    if args.only:
        mutants = chosen(mutants, args.only)
    check_snippets(mutants)
    if args.list:
        for m in mutants:
            print(f"{m['id']:32} {m['kind']:9} {m['file']}")
        return 0

    for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, on_signal)

    names = sorted({t.partition(":")[0] for m in mutants for t in m["tests"]})
    print(f"baseline: building and running {' '.join(names)}")
    built, log = build_targets(build, names, args.jobs)
    if not built:
        sys.exit("the unmutated tree does not build:\n" + log[-3000:])
    baseline = digest([program(build, n) for n in names])
    # As the mutants run them, arguments and all: a test that one leaves out
    # must not stop the baseline.
    failed = run_tests(build, sorted({t for m in mutants for t in m["tests"]}), args.timeout)
    if failed:
        sys.exit(f"the unmutated tree fails {failed[0]}: {failed[1]}")

    results = []
    try:
        for number, mutant in enumerate(mutants, 1):
            started = time.monotonic()
            original = restorer.mutate(mutant)
            try:
                targets = sorted({t.partition(":")[0] for t in mutant["tests"]})
                built, log = build_targets(build, targets, args.jobs)
                if not built:
                    outcome, detail = "build-broken", ""
                elif all(digest([program(build, n)])[program(build, n)] == baseline[program(build, n)] for n in targets):
                    outcome, detail = "same-binary", ""
                else:
                    failed = run_tests(build, mutant["tests"], args.timeout)
                    outcome, detail = ("killed", f"{failed[0]}: {failed[1]}") if failed else ("survived", "")
            finally:
                restorer.restore(mutant, original)
            seconds = time.monotonic() - started
            results.append((mutant, outcome, detail))
            mark = f" (judged equivalent: {mutant['equivalent']})" if mutant["equivalent"] else ""
            print(f"[{number}/{len(mutants)}] {mutant['id']}: {outcome} in {seconds:.0f} s {detail}{mark}", flush=True)
    except Interrupted as stop:
        print(f"stopped by {stop}; the source is restored")
    finally:
        # Leaves the build folder as the source is.
        build_targets(build, names, args.jobs)

    summarise(build, results)
    return 0


def summarise(build, results):
    out = build / "mutation" / "results.tsv"
    with open(out, "w", encoding="utf-8") as f:
        f.write("id\tkind\tfile\toutcome\tequivalent\tdetail\n")
        for m, outcome, detail in results:
            f.write(f"{m['id']}\t{m['kind']}\t{m['file']}\t{outcome}\t{m['equivalent']}\t{detail}\n")
    count = lambda pick: sum(1 for r in results if pick(*r))
    broken = count(lambda m, o, d: o == "build-broken")
    same = count(lambda m, o, d: o == "same-binary")
    equivalent = count(lambda m, o, d: o in ("killed", "survived") and m["equivalent"])
    behaviour = [(m, o) for m, o, d in results if o in ("killed", "survived") and not m["equivalent"]]
    killed = sum(1 for m, o in behaviour if o == "killed")
    print()
    print(f"mutants run: {len(results)}; build-broken {broken}; same binary {same}; judged equivalent {equivalent}")
    if behaviour:
        print(f"behaviour-changing: {len(behaviour)}, killed {killed} ({100 * killed / len(behaviour):.0f}%)")
    for m, o in behaviour:
        if o == "survived":
            print(f"  survived: {m['id']} ({m['file']})")
    for m, o, d in results:
        if m["equivalent"] and o == "killed":
            print(f"  killed although judged equivalent: {m['id']}: {d}")
        elif m["equivalent"] and o == "survived":
            print(f"  equivalent: {m['id']}: {m['equivalent']}")
    print(f"results in {out}")


if __name__ == "__main__":
    sys.exit(main())
