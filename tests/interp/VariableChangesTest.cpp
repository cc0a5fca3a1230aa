// The debugger's marks: variables changed or new since the previous pause,
// compared as the text the debugger shows, and kept by the run controller
// from one pause to the next.
#include <gtest/gtest.h>

#include "interp/ProgramState.h"
#include "interp/RunController.h"
#include "interp/VariableChanges.h"
#include "support/RecordingHost.h"
#include "support/TestSupport.h"

namespace tarnik::test {
namespace {

// "x=1" for a variable left alone, "x=1*" for a changed one (with its text
// before: "x=2*1"), "x=1+" for a new one.
std::string marks(const std::vector<WatchedVariable>& watched)
{
    std::string text;
    for (const WatchedVariable& variable : watched) {
        if (!text.empty()) text += ' ';
        text += utf8(variable.name) + '=' + utf8(variable.text);
        if (variable.change == ValueChange::Changed) text += '*' + utf8(variable.previousText);
        if (variable.change == ValueChange::New) text += '+';
    }
    return text;
}

TEST(VariableChanges, MarksChangedAndNewByTheirShownText)
{
    using Values = std::vector<VariableValue>;
    struct Case {
        const char* name;
        std::optional<Values> previous;
        Values now;
        std::string marks;
    };
    const Case cases[] = {
        {"first pause marks nothing", std::nullopt, {{u"a", 1}, {u"b", 2}}, "a=1 b=2"},
        {"nothing changed", Values{{u"a", 1}}, {{u"a", 1}}, "a=1"},
        {"changed", Values{{u"a", 1}, {u"b", 2}}, {{u"a", 1}, {u"b", 3}}, "a=1 b=3*2"},
        {"new", Values{{u"a", 1}}, {{u"a", 1}, {u"c", 0}}, "a=1 c=0+"},
        {"new and changed", Values{}, {{u"x", 5}}, "x=5+"},
        {"order of now kept", Values{{u"b", 1}, {u"a", 1}}, {{u"a", 2}, {u"b", 1}}, "a=2*1 b=1"},
        {"same text is no change", Values{{u"t", 0.1 + 0.2}}, {{u"t", 0.3}}, "t=0.3"},
        {"negative zero shows as 0", Values{{u"z", 0.0}}, {{u"z", -0.0}}, "z=0"},
        {"Chinese name", Values{{u"总数", 1}}, {{u"总数", 2}}, "总数=2*1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(marks(compareWithPreviousPause(c.previous, c.now)), c.marks);
    }
}

class RunControllerMarks : public ::testing::Test {
protected:
    // Steps through `lines`, recording the marks at each pause.
    std::vector<std::string> stepThrough(std::initializer_list<std::u16string_view> lines)
    {
        RecordingHost host;
        std::vector<std::string> seen;
        host.onPause = [&] { seen.push_back(marks(controller.watchedVariables())); };
        (void)controller.start(editorText(lines), host, RunMode::Stepping);
        return seen;
    }

    RunController controller;
};

TEST_F(RunControllerMarks, EachStepMarksWhatTheLineBeforeChanged)
{
    // x = 1, x = 1, y = 2: after the third step only y is marked.
    EXPECT_EQ(stepThrough({u"x = 1", u"x = 1", u"y = 2", u"x = 4", u"print x"}),
              (std::vector<std::string>{"", "x=1+", "x=1", "x=1 y=2+", "x=4*1 y=2"}));
}

TEST_F(RunControllerMarks, ANewRunStartsWithoutMarks)
{
    (void)stepThrough({u"a = 1", u"a = 2"});
    EXPECT_EQ(stepThrough({u"a = 3", u"print a"}), (std::vector<std::string>{"", "a=3+"}));
    EXPECT_EQ(marks(controller.watchedVariables()), "a=3");
}

TEST_F(RunControllerMarks, ContinueToABreakpointMarksEverythingSinceTheLastPause)
{
    RecordingHost host;
    std::vector<std::string> seen;
    host.onPause = [&] {
        seen.push_back(marks(controller.watchedVariables()));
        if (seen.size() == 1) controller.setBreakpoint(4, true);
        controller.runFreely();
    };
    (void)controller.start(editorText({u"a = 1", u"b = 2", u"a = 3", u"print a"}), host, RunMode::Stepping);
    EXPECT_EQ(seen, (std::vector<std::string>{"", "a=3+ b=2+"}));
}

TEST_F(RunControllerMarks, TheConsoleStillGetsEverything)
{
    RecordingHost host;
    host.controller = &controller;
    host.answers = {u"5"};
    host.onPause = [&] { controller.runFreely(); };
    const std::optional<RunOutcome> outcome =
        controller.start(editorText({u"input n", u"stop", u"print n * 2"}), host, RunMode::Free);
    ASSERT_TRUE(outcome);
    EXPECT_FALSE(outcome->error);
    EXPECT_EQ(utf8(host.output), "5\r\n10\r\n");
    EXPECT_EQ(host.questions, std::vector<std::u16string>{u"输入整数[n]："});
    EXPECT_EQ(host.pausedLines, std::vector<std::int32_t>{2});
    EXPECT_EQ(host.caption, kEndedCaption);
    EXPECT_EQ(host.clears, 1);
    EXPECT_EQ(host.statements, 3);
}

TEST_F(RunControllerMarks, HidingTheConsoleStillEndsTheRun)
{
    RecordingHost host;
    host.hideAfterStatements = 1;
    (void)controller.start(editorText({u"print 1", u"print 2"}), host, RunMode::Free);
    EXPECT_EQ(utf8(host.output), "1\r\n");
}

}  // namespace
}  // namespace tarnik::test
