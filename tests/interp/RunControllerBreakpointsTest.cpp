// Breakpoints brought to a run from the editor, their conditions, 运行到光标处,
// 值改变时暂停 and watches: where a run pauses, and that looking at a run
// never changes its variables.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "interp/ProgramState.h"
#include "interp/RunController.h"
#include "interp/WatchEvaluator.h"
#include "support/RecordingHost.h"

namespace tarnik::test {
namespace {

// The sum of 1 to 5; line 2 runs once per turn, line 4 once at the end.
const std::u16string kLoop = editorText({u"for i = 1 to 5", u"s = s + i", u"next", u"print s"});

double valueOf(const RunController& controller, std::u16string_view name)
{
    return controller.state()->Variables.valueOf(name);
}

TEST(RunControllerBreakpoints, PausesWhereTheEditorsBreakpointsAndTheirConditionsSay)
{
    struct Case {
        const char* name;
        RunMode mode;
        std::vector<LineBreakpoint> breakpoints;
        std::optional<std::int32_t> runTo;                   // 运行到光标处 before the run
        std::function<void(RunController&)> atFirstPause;  // then on freely
        std::vector<std::int32_t> pausedLines;
        std::vector<double> iAtPauses;
    };
    const auto watchS = [](RunController& controller) { controller.pauseOnChange(u"s"); };
    const auto runToPrint = [](RunController& controller) { controller.runTo(4); };
    const auto runToBody = [](RunController& controller) { controller.runTo(2); };
    const Case cases[] = {
        {"none, Start", RunMode::Free, {}, {}, {}, {}, {}},
        {"plain, Start", RunMode::Free, {{2, u""}}, {}, {}, {2, 2, 2, 2, 2}, {1, 2, 3, 4, 5}},
        {"= compares", RunMode::Free, {{2, u"i = 3"}}, {}, {}, {2}, {3}},
        {"upper case", RunMode::Free, {{2, u"I > 3 AND S > 5"}}, {}, {}, {2, 2}, {4, 5}},
        {"never holds", RunMode::Free, {{2, u"i = 9"}}, {}, {}, {}, {}},
        {"cannot evaluate: pauses", RunMode::Free, {{2, u"1 / 0"}}, {}, {}, {2, 2, 2, 2, 2}, {1, 2, 3, 4, 5}},
        {"blank condition", RunMode::Free, {{4, u"  "}}, {}, {}, {4}, {6}},
        {"Debug pauses first", RunMode::Stepping, {{4, u""}}, {}, {}, {1, 4}, {0, 6}},
        {"run to, no run yet", RunMode::Stepping, {}, 4, {}, {4}, {6}},
        {"run to passes a false condition", RunMode::Stepping, {{4, u"i = 1"}}, 4, {}, {4}, {6}},
        {"run to stops at a breakpoint first", RunMode::Stepping, {{2, u"i = 2"}}, 4, {}, {2}, {2}},
        {"run to while paused", RunMode::Stepping, {}, {}, runToPrint, {1, 4}, {0, 6}},
        {"run to is for once", RunMode::Stepping, {}, {}, runToBody, {1, 2}, {0, 1}},
        {"run to keeps a breakpoint", RunMode::Stepping, {{2, u""}}, {}, runToBody, {1, 2, 2, 2, 2, 2}, {0, 1, 2, 3, 4, 5}},
        {"value changes", RunMode::Stepping, {}, {}, watchS, {1, 3, 3, 3, 3, 3}, {0, 1, 2, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunController controller;
        RecordingHost host;
        host.controller = &controller;
        std::vector<double> iAtPauses;
        host.onPause = [&] {
            iAtPauses.push_back(valueOf(controller, u"i"));
            if (host.pausedLines.size() == 1 && c.atFirstPause) c.atFirstPause(controller);
            controller.runFreely();
        };
        controller.setStartBreakpoints(c.breakpoints);
        if (c.runTo) controller.runTo(*c.runTo);
        const std::optional<RunOutcome> outcome = controller.start(kLoop, host, c.mode);
        ASSERT_TRUE(outcome);
        EXPECT_FALSE(outcome->error);
        EXPECT_EQ(host.pausedLines, c.pausedLines);
        EXPECT_EQ(iAtPauses, c.iAtPauses);
        EXPECT_EQ(host.output, u"15\r\n");  // conditions compare; they never assign
    }
}

// A run-to target that was no breakpoint is gone once reached; the run's
// conditions and watched variable go with the run, the editor's breakpoints stay.
TEST(RunControllerBreakpoints, OnlyTheEditorsBreakpointsOutliveARun)
{
    RunController controller;
    RecordingHost host;
    host.controller = &controller;
    controller.setStartBreakpoints({{1, u"1 = 1"}});  // holds: Debug's own first pause is there too
    std::vector<bool> targetTicked;
    host.onPause = [&] {
        targetTicked.push_back(controller.isBreakpoint(3));
        if (host.pausedLines.size() == 1) controller.runTo(3);
        if (host.pausedLines.size() == 2) controller.pauseOnChange(u"s");
    };
    (void)controller.start(kLoop, host, RunMode::Stepping);
    EXPECT_EQ(host.pausedLines, (std::vector<std::int32_t>{1, 3, 3, 3, 3, 3}));
    EXPECT_EQ(targetTicked, std::vector<bool>(6, false));
    EXPECT_EQ(controller.breakpointCondition(1), u"1 = 1");

    host.pausedLines.clear();
    host.onPause = [&] { EXPECT_EQ(controller.changeWatched(), std::nullopt); };
    (void)controller.start(kLoop, host, RunMode::Free);
    EXPECT_EQ(host.pausedLines, (std::vector<std::int32_t>{1}));
}

TEST(WatchEvaluator, ShowsAValueOrWhyThereIsNone)
{
    struct Case {
        std::u16string_view expression;
        WatchResult result;
    };
    const std::u16string refused = WatchEvaluator({}).value(u"a = 1").text;
    const Case cases[] = {
        {u"a + b", {true, u"5"}},
        {u" A * B ", {true, u"6"}},
        {u"(a) = 2", {true, WatchEvaluator({}).value(u"(1) = 1").text}},
        {u"a = 5", {false, refused}},
        {u"a <= 5", {false, refused}},
        {u"never", {true, u"0"}},
        {u"1 / 0", {false, WatchEvaluator({}).value(u"1/0").text}},
    };
    EXPECT_NE(refused.find(u"赋值"), std::u16string::npos);
    WatchEvaluator evaluator({{u"a", 2}, {u"b", 3}});
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.expression.begin(), c.expression.end()));
        EXPECT_EQ(evaluator.value(c.expression), c.result);
    }
    EXPECT_FALSE(WatchEvaluator({}).value(u"1/0").ok);
    EXPECT_FALSE(WatchEvaluator({}).value(u"1/0").text.empty());
}

// Watches are evaluated at every pause, and neither an assignment nor a
// name the program never used reaches the run's variables.
TEST(RunControllerBreakpoints, WatchesNeverChangeTheRun)
{
    RunController controller;
    RecordingHost host;
    host.controller = &controller;
    controller.setWatches({u"s", u"s = 100", u"s + i * 10", u"unused"});
    std::vector<std::vector<std::u16string>> shown;
    host.onPause = [&] {
        std::vector<std::u16string> texts;
        for (const WatchResult& result : controller.watchValues()) texts.push_back(result.ok ? result.text : u"-");
        shown.push_back(texts);
        controller.runFreely();
    };
    controller.setStartBreakpoints({{3, u"i >= 4"}});
    (void)controller.start(kLoop, host, RunMode::Free);
    EXPECT_EQ(shown, (std::vector<std::vector<std::u16string>>{{u"10", u"-", u"50", u"0"}, {u"15", u"-", u"65", u"0"}}));
    EXPECT_EQ(host.output, u"15\r\n");
    std::vector<std::u16string> names;
    for (const VariableValue& variable : controller.variables()) names.push_back(variable.name);
    EXPECT_EQ(names, (std::vector<std::u16string>{u"i", u"s"}));
}

// 后退到上一个断点 goes through the record to each earlier visit of a
// breakpoint's line, the latest first, and stops at the run's start.
TEST(RunControllerBreakpoints, BackToThePreviousBreakpoint)
{
    struct Case {
        const char* name;
        std::u16string source;
        std::int32_t breakpoint;
        std::vector<double> iOnTheWayBack;  // at each moment reached
    };
    const Case cases[] = {
        {"each turn", kLoop, 2, {5, 4, 3, 2, 1}},
        {"a line of two statements counts once",
         editorText({u"for i = 1 to 3", u"if i > 1 then s = s + i", u"next", u"print s"}), 2, {3, 2, 1}},
        {"back to the start", kLoop, 1, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunController controller;
        RecordingHost host;
        host.controller = &controller;
        std::vector<double> iOnTheWayBack;
        std::vector<std::int32_t> lines;
        int pauses = 0;
        host.onPause = [&] {
            if (++pauses == 1) {
                controller.runTo(4);  // the PRINT after the loop
                return;
            }
            controller.setBreakpoint(c.breakpoint, true);
            while (controller.stepBackToBreakpoint()) {
                iOnTheWayBack.push_back(controller.variables().empty() ? 0 : controller.variables().front().value);
                lines.push_back(controller.currentLine());
            }
            controller.runFreely();
        };
        (void)controller.start(c.source, host, RunMode::Stepping);
        EXPECT_EQ(iOnTheWayBack, c.iOnTheWayBack);
        EXPECT_EQ(lines, std::vector<std::int32_t>(c.iOnTheWayBack.size(), c.breakpoint));
    }
}

}  // namespace
}  // namespace tarnik::test
