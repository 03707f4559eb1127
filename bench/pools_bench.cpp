// Times the exact reading of pools of plain dice, which the notation's pool
// functions count: run with --benchmark_repetitions=9
// --benchmark_report_aggregates_only=true for the medians.
#include "dice/pools/pool.h"

#include <benchmark/benchmark.h>

namespace
{

using dice::pools::Reading;
using Function = Reading::Function;

dice::pools::Pool Plain(int count, int sides)
{
    dice::pools::Kind kind { count, {}, {} };
    for (int face = 1; face <= sides; ++face) {
        kind.faces.push_back(face);
        kind.weights.emplace_back(1);
    }
    return { { kind } };
}

void Read(benchmark::State &state, int count, int sides, Reading reading)
{
    const dice::pools::Pool pool = Plain(count, sides);
    for (auto _ : state) {
        const dice::Distribution roll = dice::pools::Read(pool, reading, {});
        benchmark::DoNotOptimize(roll.counts.data());
    }
}

void Multisets(benchmark::State &state, int count, int sides)
{
    const dice::pools::Pool pool = Plain(count, sides);
    for (auto _ : state) {
        const std::vector<dice::pools::Multiset> multisets = dice::pools::Multisets(pool, {});
        benchmark::DoNotOptimize(multisets.data());
    }
}

void ReadThrow(benchmark::State &state, Reading reading)
{
    const std::vector<std::int64_t> faces { 1, 2, 2, 3, 5, 6, 6, 6, 8, 9 };
    for (auto _ : state)
        benchmark::DoNotOptimize(dice::pools::ReadThrow(faces, reading));
}

} // namespace

BENCHMARK_CAPTURE(Read, 4d6_highest, 4, 6, Reading { Function::Highest, 1, {} })->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Read, 4d6_nth_2, 4, 6, Reading { Function::Nth, 2, {} })->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Read, 10d10_largest_count, 10, 10, Reading { Function::LargestCount, 1, {} })
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Read, 10d10_largest_straight, 10, 10, Reading { Function::LargestStraight, 1, {} })
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Read, 10d10_sets_2, 10, 10, Reading { Function::Sets, 2, {} })->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Read, 50d6_largest_count, 50, 6, Reading { Function::LargestCount, 1, {} })
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Multisets, 5d6, 5, 6)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReadThrow, 10_dice_largest_straight, Reading { Function::LargestStraight, 1, {} });
BENCHMARK_CAPTURE(ReadThrow, 10_dice_sets_2, Reading { Function::Sets, 2, {} });

BENCHMARK_MAIN();
