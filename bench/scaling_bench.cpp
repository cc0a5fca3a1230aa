// How translating and running a program grows with what it pushes: blocks
// nested thousands deep, expressions of thousands of brackets or terms, long
// ELSEIF chains, deep GOSUB chains, many statements. Each shape runs at
// growing sizes and Google Benchmark fits the growth, so that a step gone
// quadratic shows as N^2 where N is expected.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "expr/NumberText.h"
#include "interp/ProgramState.h"
#include "interp/RunController.h"

namespace {

// A console that shows nothing and never pauses: only the run is timed.
class SilentConsole : public tarnik::RunConsole {
public:
    void yield() override {}
    bool consoleVisible() override { return true; }
    void StopWindow() override {}
    void Append(std::u16string_view) override {}
    std::optional<std::u16string> InputWindow(std::u16string_view) override { return std::nullopt; }
    void Clear() override {}
    void showConsole() override {}
    void setCaption(std::u16string_view) override {}
};

std::u16string repeated(std::u16string_view piece, std::int64_t count)
{
    std::u16string text;
    for (std::int64_t i = 0; i < count; ++i) text += piece;
    return text;
}

std::u16string number(std::int64_t n) { return tarnik::numberText(static_cast<double>(n)); }

// Translates and runs the program of size state.range(0) that `make` writes.
void timeRun(benchmark::State& state, const std::function<std::u16string(std::int64_t)>& make)
{
    const std::u16string source = make(state.range(0));
    SilentConsole console;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tarnik::StartRun(source, console, tarnik::RunMode::Free));
    }
    state.SetComplexityN(state.range(0));
}

void NestedIfBlocks(benchmark::State& state)
{
    timeRun(state, [](std::int64_t n) { return repeated(u"if 1 then\r\n", n) + u"print 1" + repeated(u"\r\nend if", n); });
}
BENCHMARK(NestedIfBlocks)->RangeMultiplier(2)->Range(1000, 16000)->Complexity();

void NestedForLoops(benchmark::State& state)
{
    timeRun(state, [](std::int64_t n) {
        std::u16string text;
        for (std::int64_t k = 0; k < n; ++k) text += u"for v" + number(k) + u" = 1 to 1\r\n";
        return text + u"print 1" + repeated(u"\r\nnext", n);
    });
}
BENCHMARK(NestedForLoops)->RangeMultiplier(2)->Range(1000, 8000)->Complexity();

void ElseIfChain(benchmark::State& state)
{
    timeRun(state, [](std::int64_t n) {
        std::u16string text = u"x = " + number(n - 1) + u"\r\nif x = 0 then\r\nprint 0";
        for (std::int64_t k = 1; k < n; ++k) {
            text += u"\r\nelseif x = " + number(k) + u" then\r\nprint " + number(k);
        }
        return text + u"\r\nend if";
    });
}
BENCHMARK(ElseIfChain)->RangeMultiplier(2)->Range(1000, 8000)->Complexity();

// One line stays below the 32767 characters the word reader can walk.
void NestedBrackets(benchmark::State& state)
{
    timeRun(state, [](std::int64_t n) { return u"print " + repeated(u"(", n) + u"1" + repeated(u")", n); });
}
BENCHMARK(NestedBrackets)->RangeMultiplier(2)->Range(1000, 16000)->Complexity();

void SumOfTerms(benchmark::State& state)
{
    timeRun(state, [](std::int64_t n) { return u"print " + repeated(u"1+", n - 1) + u"1"; });
}
BENCHMARK(SumOfTerms)->RangeMultiplier(2)->Range(1000, 16000)->Complexity();

// The return stack keeps the last 100000 calls; these chains stay within it.
void GosubChain(benchmark::State& state)
{
    timeRun(state, [](std::int64_t n) {
        return u"gosub 100\r\nend\r\n100 n = n + 1\r\nif n < " + number(n) +
               u" then gosub 100\r\nreturn";
    });
}
BENCHMARK(GosubChain)->RangeMultiplier(2)->Range(10000, 80000)->Complexity();

void ManyStatements(benchmark::State& state)
{
    timeRun(state, [](std::int64_t n) { return repeated(u"x = x + 1\r\n", n) + u"print x"; });
}
BENCHMARK(ManyStatements)->RangeMultiplier(2)->Range(4000, 32000)->Complexity();

}  // namespace
