// Step back at 10^6 and 10^7 executed statements: the first step back (which
// replays the whole run once, taking the checkpoints), then 200 steps back
// from positions spread over the run (each a replay from the checkpoint
// before it), their 95th percentile, and what the checkpoints and the
// console text hold. Two programs loop for ever: one reads an answer, prints
// now and then and calls a subroutine; one jumps back with GOTO, which keeps
// the return stack full (100000 lines in every checkpoint).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>
#include <vector>

#include "interp/RunTimeline.h"

namespace {

constexpr std::u16string_view kGosubLoop =
    u"input a\r\n"
    u"do while 1 = 1\r\n"
    u"    s = s + a\r\n"
    u"    if s mod 1000 = 0 then print s\r\n"
    u"    gosub 100\r\n"
    u"loop\r\n"
    u"100 k = k + 1\r\n"
    u"return\r\n";

constexpr std::u16string_view kGotoLoop =
    u"10 s = s + 1\r\n"
    u"if s mod 1000 = 0 then print s\r\n"
    u"goto 10\r\n";

constexpr std::u16string_view kPrograms[] = {kGosubLoop, kGotoLoop};

double millisecondsOf(const auto& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void StepBack(benchmark::State& state)
{
    const std::int64_t steps = state.range(0);
    for (auto _ : state) {
        tarnik::RunTimeline timeline{std::u16string(kPrograms[state.range(1)])};
        timeline.addAnswer(u"1");
        const double first = millisecondsOf([&] { benchmark::DoNotOptimize(timeline.momentAt(steps - 1)); });
        std::mt19937_64 random(42);
        std::vector<double> backs;
        for (int back = 0; back < 200; ++back) {
            const std::int64_t from = 1 + static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(steps - 1));
            backs.push_back(millisecondsOf([&] { benchmark::DoNotOptimize(timeline.momentAt(from - 1)); }));
        }
        std::sort(backs.begin(), backs.end());
        state.counters["first_back_ms"] = first;
        state.counters["back_p50_ms"] = backs[backs.size() / 2];
        state.counters["back_p95_ms"] = backs[backs.size() * 95 / 100];
        state.counters["back_max_ms"] = backs.back();
        state.counters["memory_MB"] = static_cast<double>(timeline.memoryBytes()) / (1 << 20);
        state.counters["checkpoints"] = static_cast<double>(timeline.checkpointCount());
    }
}
BENCHMARK(StepBack)
    ->ArgsProduct({{1'000'000, 10'000'000}, {0, 1}})
    ->ArgNames({"statements", "goto"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
