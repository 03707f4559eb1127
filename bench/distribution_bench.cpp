// Times one whole computation of the roll state, seeding, distribution and
// number of outcomes, for the fast build and for the plain one side by side.
#include "rollstats/rollstats.h"
#include "tests/reference/plain_distribution.h"

#include <benchmark/benchmark.h>

namespace
{

template <void (*Build)(std::int16_t)> void Compute(benchmark::State &state)
{
    const auto dice = static_cast<std::int16_t>(state.range(0));
    const auto sides = static_cast<std::int16_t>(state.range(1));
    for (auto _ : state) {
        rollstats::Sides = sides;
        rollstats::SeedRollState();
        Build(dice);
        rollstats::ComputeTotalOutcomes(dice);
        benchmark::DoNotOptimize(rollstats::Counts[1]);
    }
}

void Rolls(benchmark::internal::Benchmark *b)
{
    b->Args({ 10, 100 })
        ->Args({ 20, 30 })
        ->Args({ 2, 6 })
        ->ArgNames({ "dice", "sides" })
        ->Unit(benchmark::kMicrosecond);
}

} // namespace

BENCHMARK(Compute<rollstats::BuildDistribution>)->Name("Fast")->Apply(Rolls);
BENCHMARK(Compute<reference::BuildDistributionPlain>)->Name("Plain")->Apply(Rolls);

BENCHMARK_MAIN();
