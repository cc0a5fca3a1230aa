// Cost of evaluating typical statement texts once their compiled form is cached.
#include <benchmark/benchmark.h>

#include "interp/ProgramState.h"
#include "expr/clsExpPlus.h"

namespace {

using tarnik::clsExpPlus;
using tarnik::ProgramState;

// The state the evaluations run in, as a run's program object holds one.
ProgramState program;

void setUpVariables(clsExpPlus& evaluator)
{
    program.reset();
    evaluator.exp(u"i = 17");
    evaluator.exp(u"j = 23");
    evaluator.exp(u"n = 91");
    evaluator.exp(u"d = 7");
    evaluator.exp(u"m = 9");
}

void AssignmentThroughTextCache(benchmark::State& state)
{
    clsExpPlus evaluator(program.Variables);
    setUpVariables(evaluator);
    for (auto _ : state) benchmark::DoNotOptimize(evaluator.exp(u"s = s + i * j mod 7"));
}
BENCHMARK(AssignmentThroughTextCache);

void AssignmentCompiled(benchmark::State& state)
{
    clsExpPlus evaluator(program.Variables);
    setUpVariables(evaluator);
    const auto& compiled = evaluator.compileStatement(u"s = s + i * j mod 7");
    for (auto _ : state) benchmark::DoNotOptimize(evaluator.exp(compiled));
}
BENCHMARK(AssignmentCompiled);

void ConditionThroughTextCache(benchmark::State& state)
{
    clsExpPlus evaluator(program.Variables);
    setUpVariables(evaluator);
    for (auto _ : state) benchmark::DoNotOptimize(evaluator.logic(u"n mod d = 0 and d <= m"));
}
BENCHMARK(ConditionThroughTextCache);

void ConditionCompiled(benchmark::State& state)
{
    clsExpPlus evaluator(program.Variables);
    setUpVariables(evaluator);
    const auto& compiled = evaluator.compileLogic(u"n mod d = 0 and d <= m");
    for (auto _ : state) benchmark::DoNotOptimize(evaluator.logic(compiled));
}
BENCHMARK(ConditionCompiled);

void FractionalResults(benchmark::State& state)
{
    clsExpPlus evaluator(program.Variables);
    setUpVariables(evaluator);
    const auto& compiled = evaluator.compileStatement(u"x = i / d + j / m");
    for (auto _ : state) benchmark::DoNotOptimize(evaluator.exp(compiled));
}
BENCHMARK(FractionalResults);

}  // namespace
