#!/usr/bin/env python3
"""Times the question forms against icepool, the exact Python dice library, in
one run: Pipwright's Google Benchmark cases, and the same questions written
the way an icepool user writes them. It also checks that both give the same
exact fractions, reading Pipwright's from pipwright-cli --json.

    bench/compare_icepool.py [--icepool-src DIR] [--build DIR] [--repetitions N]

DIR for --icepool-src (or ICEPOOL_SRC in the environment) is a folder that
holds icepool's pure-Python package, icepool/ (the src/ folder of its
sources); the script never installs it. --build is the configured tree with
pipwright-cli, dice_bench and pools_bench built (default build-ci, from
cmake --build build-ci --target pipwright-cli dice_bench pools_bench).

Neither the test command nor CI runs this script, and nothing else here needs
icepool. icepool keeps caches between calls (dice, pools, evaluators, binomial
rows); they are cleared before every timed run, as Pipwright's benchmarks
parse and count afresh on every iteration.
"""

import argparse
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time
from fractions import Fraction

# Wall-clock time given to each icepool case, at least 5 and at most 200 runs.
ICEPOOL_BUDGET = 2.0


def crit_damage(atk):
    import icepool

    if atk == 20:
        return 2 @ icepool.d(8) + 3
    if atk + 5 >= 15:
        return icepool.d(8) + 3
    return 0


def blades(highest_and_count):
    highest, count = highest_and_count
    if highest == 6:
        return "critical" if count >= 2 else "success"
    return "partial" if highest >= 4 else "failure"


def ironsworn(act, c1, c2):
    if act > c1 and act > c2:
        return "strong hit"
    if act > c1 or act > c2:
        return "weak hit"
    return "miss"


def icepool_cases():
    """(Pipwright expression, dice_bench case, pools_bench case, icepool question)."""
    import icepool
    from icepool import d

    return [
        (
            "let atk = 1d20 in if atk = 20 then 2d8+3 else if atk + 5 >= 15 then 1d8+3 else 0",
            "crit",
            None,
            lambda: d(20).map(crit_damage),
        ),
        (
            "let atk = 2d20kh1 in if atk = 20 then 2d8+3 else if atk + 5 >= 15 then 1d8+3 else 0",
            "crit_with_advantage",
            None,
            lambda: d(20).highest(2).map(crit_damage),
        ),
        (
            "let att = 3d6, def = 2d6 in (if highest(att) > highest(def) then 0 else 1) + "
            "(if nth(2, att) > nth(2, def) then 0 else 1)",
            "risk_3_against_2",
            None,
            # Sorted pairs, the defender taking ties: the attacker's losses.
            lambda: d(6).pool(3).compair(d(6).pool(2), "<="),
        ),
        (
            'let pool = 4d6 in if count(6, pool) >= 2 then "critical" else if highest(pool) = 6 then "success" '
            'else if highest(pool) >= 4 then "partial" else "failure"',
            "blades_4_dice",
            None,
            lambda: d(6).pool(4).highest_outcome_and_count().map(blades),
        ),
        (
            "let act = min(1d6 + 2, 10), c1 = 1d10, c2 = 1d10 in if act > c1 and act > c2 then \"strong hit\" "
            'else if act > c1 or act > c2 then "weak hit" else "miss"',
            "ironsworn",
            None,
            lambda: icepool.map(ironsworn, (d(6) + 2).clip(max_outcome=10), d(10), d(10)),
        ),
        ("nth(2, 4d6)", "nth_2_of_4d6", "4d6_nth_2", lambda: d(6).pool(4)[-2]),
        ("6d(4d6kh3)kh1", "best_of_six_scores", None, lambda: d(6).highest(4, 3).highest(6)),
        ("1d(4d6kh3)r<8", "score_rerolled_below_8", None, lambda: d(6).highest(4, 3).reroll(lambda x: x < 8)),
        ("largest_count(10d10)", "largest_count_10d10", "10d10_largest_count", lambda: d(10).pool(10).largest_count()),
        (
            "largest_straight(10d10)",
            "largest_straight_10d10",
            "10d10_largest_straight",
            lambda: d(10).pool(10).largest_straight(),
        ),
        (
            "sets(2, 10d10)",
            "sets_2_10d10",
            "10d10_sets_2",
            lambda: d(10).pool(10).keep_counts(2).unique().count(),
        ),
        ("largest_count(50d6)", "largest_count_50d6", "50d6_largest_count", lambda: d(6).pool(50).largest_count()),
        (
            "let a = 5d6, b = 5d6 in (if nth(1, a) > nth(1, b) then 1 else 0) + (if nth(2, a) > nth(2, b) then 1 else 0) + "
            "(if nth(3, a) > nth(3, b) then 1 else 0) + (if nth(4, a) > nth(4, b) then 1 else 0) + "
            "(if nth(5, a) > nth(5, b) then 1 else 0)",
            "risk_5_against_5",
            None,
            lambda: d(6).pool(5).compair(d(6).pool(5), ">"),
        ),
    ]


def clear_icepool_caches():
    import icepool
    import icepool.math

    icepool.d.cache_clear()
    icepool.Pool.clear_cache()
    icepool.math.comb_row_cache.clear()
    for shared in (icepool.evaluator.sum_evaluator, icepool.evaluator.count_evaluator, icepool.evaluator.any_evaluator):
        shared.__dict__.pop("_cache", None)


def time_icepool(question):
    """Median seconds of a cold run, and the answer of the last one."""
    times = []
    started = time.perf_counter()
    while len(times) < 5 or (len(times) < 200 and time.perf_counter() - started < ICEPOOL_BUDGET):
        clear_icepool_caches()
        start = time.perf_counter()
        answer = question()
        times.append(time.perf_counter() - start)
    return statistics.median(times), answer


def icepool_shares(die):
    denominator = die.denominator()
    return {outcome: Fraction(quantity, denominator) for outcome, quantity in die.items() if quantity}


def pipwright_shares(cli, expression):
    done = subprocess.run([cli, "--json", expression], capture_output=True, text=True, check=True)
    roll = json.loads(done.stdout)["rolls"][0]
    if roll.get("remainder") is not None:
        raise SystemExit(f"{expression}: pipwright-cli left a remainder, so the shares are not all listed")
    rows = roll["labels"] if "labels" in roll else roll["totals"]
    key = "label" if "labels" in roll else "total"
    return {row[key]: Fraction(row["fraction"]) for row in rows if Fraction(row["fraction"])}


def benchmark_median(binary, case, repetitions):
    """Seconds per iteration of one Google Benchmark case, the median of the repetitions."""
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        done = subprocess.run(
            [
                binary,
                f"--benchmark_filter=^{case}$",
                f"--benchmark_repetitions={repetitions}",
                "--benchmark_report_aggregates_only=true",
                f"--benchmark_out={out.name}",
                "--benchmark_out_format=json",
            ],
            capture_output=True,
            text=True,
            check=False,
        )
        if done.returncode != 0:
            raise SystemExit(f"{binary} failed: {done.stderr.strip()}")
        report = json.load(out)
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    median = next(run for run in report["benchmarks"] if run.get("aggregate_name") == "median")
    return median["real_time"] * scale[median["time_unit"]]


def shown(seconds):
    if seconds is None:
        return "-"
    if seconds < 1e-3:
        return f"{seconds * 1e6:.1f} µs"
    if seconds < 1:
        return f"{seconds * 1e3:.2f} ms"
    return f"{seconds:.2f} s"


def ratio(icepool_time, ours):
    times = icepool_time / ours
    return f"{times:.1f}x" if times < 10 else f"{times:.0f}x"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--icepool-src", default=os.environ.get("ICEPOOL_SRC"))
    parser.add_argument("--build", default="build-ci")
    parser.add_argument("--repetitions", type=int, default=5)
    options = parser.parse_args()
    if not options.icepool_src or not os.path.isfile(os.path.join(options.icepool_src, "icepool", "__init__.py")):
        raise SystemExit("give the folder holding icepool/ with --icepool-src DIR or ICEPOOL_SRC=DIR")
    sys.path.insert(0, options.icepool_src)
    import icepool

    cli = os.path.join(options.build, "cli", "pipwright-cli")
    dice_bench = os.path.join(options.build, "bench", "dice_bench")
    pools_bench = os.path.join(options.build, "bench", "pools_bench")
    for program in (cli, dice_bench, pools_bench):
        if not os.access(program, os.X_OK):
            raise SystemExit(f"no {program}: cmake --build {options.build} --target pipwright-cli dice_bench pools_bench")

    print(f"icepool {icepool.__version__} from {options.icepool_src}; Pipwright medians of {options.repetitions} repetitions")
    print(f"{'case':<26}{'Pipwright':>12}{'pool read':>12}{'icepool':>12}{'ratio':>9}  answers agree")
    # Each case's three timings are taken back to back, so that a change in the
    # load of a shared machine falls on both sides alike.
    for expression, count_case, read_case, question in icepool_cases():
        ours = benchmark_median(dice_bench, f"Count/{count_case}", options.repetitions)
        read = benchmark_median(pools_bench, f"Read/{read_case}", options.repetitions) if read_case else None
        icepool_time, answer = time_icepool(question)
        agree = "yes" if pipwright_shares(cli, expression) == icepool_shares(answer) else "NO"
        print(
            f"{count_case:<26}{shown(ours):>12}{shown(read):>12}{shown(icepool_time):>12}"
            f"{ratio(icepool_time, ours):>9}  {agree}",
            flush=True,
        )
    print(
        "(Pipwright: dice_bench, parsing and counting the expression; pool read: pools_bench, the pool function "
        "alone; icepool: median of cold runs, caches cleared; ratio: icepool over Pipwright)"
    )


if __name__ == "__main__":
    main()
