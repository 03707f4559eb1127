// Times the exact count of each expression the speed table lists, parsing
// included: run with --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
// for the medians. 100d100!!kh50 runs once per repetition: it takes seconds.
#include "dice/dice.h"

#include <benchmark/benchmark.h>

namespace
{

void Count(benchmark::State &state, const char *text)
{
    for (auto _ : state) {
        const dice::Distribution distribution = dice::Evaluate(dice::Parse(text));
        benchmark::DoNotOptimize(distribution.counts.data());
    }
}

} // namespace

BENCHMARK_CAPTURE(Count, 4d6kh3, "4d6kh3")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Count, 2d20kh1 + 5, "2d20kh1+5")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Count, 1d8 + 2d6 + 3, "1d8+2d6+3")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Count, 20d30kh10, "20d30kh10")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Count, 20d100kh10, "20d100kh10")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Count, 100d100kh50, "100d100kh50")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Count, 100d100kh99, "100d100kh99")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Count, 100d100kl1, "100d100kl1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Count, 100d100dl1, "100d100dl1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Count, 100d1000, "100d1000")->Unit(benchmark::kMillisecond);

// The modifiers: each counts every total down to the 10^-15 remainder.
BENCHMARK_CAPTURE(Count, 1d6_explode, "1d6!")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Count, 3d6_explode, "3d6!")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Count, 2d6_reroll_once_below_2, "2d6ro<2")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Count, 12d6_explode_6_count_5_up, "12d6!=6>=5")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Count, 8d10_explode_10_count_8_up_less_1s, "8d10!=10>=8f1")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Count, 6d10_compound_kh3, "6d10!!kh3")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Count, 10d10_compound_kh5, "10d10!!kh5")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Count, 100d100_compound_kh50, "100d100!!kh50")->Unit(benchmark::kMillisecond)->Iterations(1);

// Groups and arithmetic.
BENCHMARK_CAPTURE(Count, best_of_1d8_and_1d6_compound, "{1d8!!, 1d6!!}kh1")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Count, doubled_2d6 + 3, "2*(2d6+3)")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Count, halved_8d6, "floor((8d6)/2)")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Count, 1d100_times_1d100, "1d100 * 1d100")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Count, best_of_six_4d6kh3, "{4d6kh3, 4d6kh3, 4d6kh3, 4d6kh3, 4d6kh3, 4d6kh3}kh1")
    ->Unit(benchmark::kMillisecond);
// A member far below the others, and a keep whose mean is a tie of the
// ninth decimal: each once took half a minute or more.
BENCHMARK_CAPTURE(Count, keep_beside_a_far_member, "{1d6!, 2d4, -1755}dl1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Count, keep_with_a_tied_mean, "{1d6!, 2d4, 45-2d40}dl1")->Unit(benchmark::kMillisecond);
// Keeps beside a member far above the others: keeping the lowest, each but
// the first once took from 2 s to more than 300 s.
BENCHMARK_CAPTURE(Count, highest_beside_a_far_member, "{1d4!, 1d4!+4000}kh1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Count, lowest_beside_a_far_member, "{1d4!+4000, 1d4!}kl1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Count, lowest_beside_a_farther_member, "{1d4!, 1d4!+9000}kl1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Count, lowest_beside_a_member_a_million_up, "{1d4!, 1d4!+1000000}kl1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Count, min_beside_a_far_member, "min(1d6!, 1d6!+100000)")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Count, two_lowest_beside_a_far_member, "{1d4!, 1d4!+4000, 1d6}kl2")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

// Questions: a throw read twice, labels, pools read by position and matches.
BENCHMARK_CAPTURE(Count, crit, "let atk = 1d20 in if atk = 20 then 2d8+3 else if atk + 5 >= 15 then 1d8+3 else 0")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(
    Count, crit_with_advantage, "let atk = 2d20kh1 in if atk = 20 then 2d8+3 else if atk + 5 >= 15 then 1d8+3 else 0")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Count,
    risk_3_against_2,
    "let att = 3d6, def = 2d6 in (if highest(att) > highest(def) then 0 else 1) + "
    "(if nth(2, att) > nth(2, def) then 0 else 1)")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Count,
    blades_4_dice,
    "let pool = 4d6 in if count(6, pool) >= 2 then \"critical\" else if highest(pool) = 6 then \"success\" "
    "else if highest(pool) >= 4 then \"partial\" else \"failure\"")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Count,
    ironsworn,
    "let act = min(1d6 + 2, 10), c1 = 1d10, c2 = 1d10 in if act > c1 and act > c2 then \"strong hit\" "
    "else if act > c1 or act > c2 then \"weak hit\" else \"miss\"")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Count, nth_2_of_4d6, "nth(2, 4d6)")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Count, best_of_six_scores, "6d(4d6kh3)kh1")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Count, score_rerolled_below_8, "1d(4d6kh3)r<8")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Count, largest_count_10d10, "largest_count(10d10)")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Count, largest_straight_10d10, "largest_straight(10d10)")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Count, sets_2_10d10, "sets(2, 10d10)")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Count, largest_count_50d6, "largest_count(50d6)")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Count,
    risk_5_against_5,
    "let a = 5d6, b = 5d6 in (if nth(1, a) > nth(1, b) then 1 else 0) + (if nth(2, a) > nth(2, b) then 1 else 0) + "
    "(if nth(3, a) > nth(3, b) then 1 else 0) + (if nth(4, a) > nth(4, b) then 1 else 0) + "
    "(if nth(5, a) > nth(5, b) then 1 else 0)")
    ->Unit(benchmark::kMillisecond);
