// The generator's cost per command, measured on the batch a user would typically ask
// for: a million copy commands collected into one CR LF separated text, the way the
// results area receives them.

#include "app/Generator.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

constexpr std::int32_t LastIndex = 999999;
constexpr std::int64_t CommandsPerRun = std::int64_t{LastIndex} + 1;

const vormix::ParameterValues Bases{0, 100};
const vormix::ParameterValues Steps{1, 5};

using Clock = std::chrono::steady_clock;

// Wall time over the whole timing loop, as a plain number: an inverted rate counter would
// show as "16.9s" in the console, which reads as seconds.
void SetCommandCounters(benchmark::State& state, Clock::time_point start)
{
    const double elapsedNs = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    const std::int64_t commands = state.iterations() * CommandsPerRun;
    state.SetItemsProcessed(commands);
    state.counters["ns_per_command"] = elapsedNs / static_cast<double>(commands);
}

void BM_GenerateCommands(benchmark::State& state)
{
    std::string output;
    output.reserve(static_cast<std::size_t>(CommandsPerRun) * 24);
    const Clock::time_point start = Clock::now();
    for (auto _ : state) {
        output.clear();  // keeps the capacity, so no run pays for growing the text
        vormix::GenerateCommands(
            "copy a%d.txt b%d.txt", Bases, Steps, LastIndex,
            [&](std::string_view command) {
                output.append(command);
                output.append("\r\n");
            },
            [](std::int64_t) {});
        benchmark::DoNotOptimize(output.data());
        benchmark::ClobberMemory();
    }
    SetCommandCounters(state, start);
}
BENCHMARK(BM_GenerateCommands)->Unit(benchmark::kMillisecond);

// The expansion alone, without collecting the text: what a caller that needs one
// command at a time pays.
void BM_ExpandOneAtATime(benchmark::State& state)
{
    vormix::CommandExpander expander("copy a%d.txt b%d.txt", Bases, Steps);
    const Clock::time_point start = Clock::now();
    for (auto _ : state) {
        for (std::int32_t k = 0; k <= LastIndex; ++k) {
            const std::string_view command = expander.Expand(k);
            benchmark::DoNotOptimize(command.data());
            benchmark::DoNotOptimize(command.size());
        }
    }
    SetCommandCounters(state, start);
}
BENCHMARK(BM_ExpandOneAtATime)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
