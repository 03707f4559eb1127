#!/usr/bin/env python3
"""Runs the same dice expressions through Debian's dicelab (`dicelab -c`, which
enumerates the throws) and through pipwright-cli, whole process against whole
process, and prints both times, their ratio and whether the probabilities agree
to the six decimals dicelab prints.

    bench/compare_dicelab.py [PIPWRIGHT_CLI]

PIPWRIGHT_CLI defaults to the one in build-ci/ or else build/. dicelab comes from the Debian
package of that name (apt-get install --no-install-recommends dicelab); the
script offers to install it when it is missing and it runs as root. A dicelab
run that does not finish in 60 s is reported as such.
"""

import os
import shutil
import statistics
import subprocess
import sys
import time
from fractions import Fraction

DICELAB_LIMIT = 60.0

# Pipwright's expression and the same roll in dicelab's language.
CASES = [
    ("4d6kh3", "sum(high 3 4#d6)"),
    ("2d20kh1+5", "sum(high 1 2#d20)+5"),
    ("1d8+2d6+3", "d8+sum(2#d6)+3"),
    ("2d6-1d4", "sum(2#d6)-d4"),
    ("8d6kl5", "sum(low 5 8#d6)"),
    ("20d30kh10", "sum(high 10 20#d30)"),
    ("20d100kh10", "sum(high 10 20#d100)"),
    ("100d100kh50", "sum(high 50 100#d100)"),
    ("100d100kh99", "sum(high 99 100#d100)"),
    ("100d100kl1", "sum(low 1 100#d100)"),
    ("100d100dl1", "sum(high 99 100#d100)"),
    ("100d1000", "sum(100#d1000)"),
]


def timed(command, stdin_text=None, limit=None):
    start = time.perf_counter()
    try:
        done = subprocess.run(command, input=stdin_text, capture_output=True, text=True, timeout=limit, check=False)
    except subprocess.TimeoutExpired:
        return None, None
    elapsed = time.perf_counter() - start
    if done.returncode != 0:
        raise SystemExit(f"{' '.join(command)} failed with status {done.returncode}: {done.stderr.strip()}")
    return elapsed, done.stdout


def pipwright_shares(cli, expression):
    """Times pipwright-cli --csv (median of five runs) and reads the exact shares."""
    times = []
    output = ""
    for _ in range(5):
        elapsed, output = timed([cli, "--csv", expression])
        times.append(elapsed)
    shares = {}
    lines = output.splitlines()
    total_outcomes = sum(int(line.split(",")[1]) for line in lines[1:])
    for line in lines[1:]:
        total, outcomes, _ = line.split(",")
        shares[int(total)] = Fraction(int(outcomes), total_outcomes)
    return statistics.median(times), shares


def dicelab_shares(expression):
    """Times dicelab -c once, three times when it is quick, and reads its shares."""
    elapsed, output = timed(["dicelab", "-c"], expression + "\n", DICELAB_LIMIT)
    if elapsed is None:
        return None, None
    times = [elapsed]
    if elapsed < 5:
        for _ in range(2):
            times.append(timed(["dicelab", "-c"], expression + "\n", DICELAB_LIMIT)[0])
    shares = {}
    for line in output.splitlines():
        fields = line.split()
        if len(fields) >= 2:
            shares[int(fields[0])] = fields[1]
    return statistics.median(times), shares


def six_decimals(share):
    """The exact share rounded to six decimals, halves to even."""
    scaled = share * 10**6
    whole = scaled.numerator // scaled.denominator
    rest = scaled - whole
    if rest > Fraction(1, 2) or (rest == Fraction(1, 2) and whole % 2 == 1):
        whole += 1
    return f"{whole // 10**6}.{whole % 10**6:06d}"


def agreement(ours, theirs):
    """'yes' when every total agrees to six decimals, else how far they differ."""
    worst = Fraction(0)
    for total in set(ours) | set(theirs):
        exact = ours.get(total, Fraction(0))
        shown = theirs.get(total, "0.000000")
        if six_decimals(exact) != shown:
            worst = max(worst, abs(exact - Fraction(shown)))
    return "yes" if worst == 0 else f"no, off by up to {float(worst):.2e}"


def milliseconds(seconds):
    return f"{seconds * 1000:.1f} ms" if seconds < 10 else f"{seconds:.1f} s"


def main():
    built = [os.path.join(tree, "cli", "pipwright-cli") for tree in ("build-ci", "build")]
    cli = sys.argv[1] if len(sys.argv) > 1 else next((path for path in built if os.path.exists(path)), built[-1])
    if not os.access(cli, os.X_OK):
        raise SystemExit(f"no pipwright-cli at {cli}: build it first (cmake --build build --target pipwright-cli)")
    if shutil.which("dicelab") is None:
        if os.geteuid() != 0:
            raise SystemExit("dicelab is missing: sudo apt-get install --no-install-recommends dicelab")
        subprocess.run(["apt-get", "install", "-y", "--no-install-recommends", "dicelab"], check=True)

    print(f"{'expression':<14}{'pipwright-cli':>15}{'dicelab -c':>15}{'ratio':>11}  agree to 6 decimals")
    for ours_text, theirs_text in CASES:
        ours_time, ours = pipwright_shares(cli, ours_text)
        theirs_time, theirs = dicelab_shares(theirs_text)
        if theirs_time is None:
            print(f"{ours_text:<14}{milliseconds(ours_time):>15}{'> 60 s':>15}{'-':>11}  dicelab did not finish in 60 s")
            continue
        ratio = f"{theirs_time / ours_time:.1f}x"
        print(
            f"{ours_text:<14}{milliseconds(ours_time):>15}{milliseconds(theirs_time):>15}{ratio:>11}  "
            f"{agreement(ours, theirs)}"
        )
    print("(times are medians of whole processes; the ratio is dicelab's time over pipwright-cli's)")


if __name__ == "__main__":
    main()
