#include "interp/Executor.h"

#include <gtest/gtest.h>

#include "interp/ProgramState.h"
#include "support/RecordingHost.h"

namespace tarnik {
namespace {

using test::editorText;
using test::RecordingHost;
using test::runProgram;

using Executor = ::testing::Test;

TEST_F(Executor, PausesOncePerVisitOfAnEditorLine)
{
    RecordingHost host;
    host.hideAfterStatements = 50;  // many passes of the GOTO loop, which pauses only when first reached
    host.mode = RunMode::Stepping;
    runProgram(editorText({u"x = 1", u"if x = 1 then y = 2 else y = 3", u"10 goto 10"}), host);
    EXPECT_EQ(host.pausedLines, (std::vector<std::int32_t>{1, 2, 3}));
}

TEST_F(Executor, StoppingTheConsoleEndsTheRunWithoutAnError)
{
    RecordingHost host;
    host.hideAfterStatements = 1000;
    test::RunResult result = runProgram(editorText({u"10 x = x + 1", u"goto 10"}), host);
    EXPECT_EQ(result.error, u"");
    EXPECT_EQ(host.statements, 1001);
    EXPECT_EQ(host.caption, u"程序中止 - 控制台");
}

TEST_F(Executor, ClosingTheConsoleWhileAskingEndsTheRunQuietly)
{
    RecordingHost host;
    host.hideWhenAsked = true;
    test::RunResult result = runProgram(editorText({u"print 1", u"input a", u"print 2"}), host);
    EXPECT_EQ(result.error, u"");
    EXPECT_EQ(result.output, u"1\n");
    EXPECT_TRUE(result.variables.empty());
}

// Ten statements with a STOP and an INPUT among them, three granted after
// every yield: the host is asked before statements 1, 5 and 9, however the
// run waited in between, unless the console was hidden while it waited.
TEST_F(Executor, QuietStatementsGrantHoldsAcrossStopAndInput)
{
    const std::u16string source = editorText(
        {u"x = 1", u"stop", u"x = 2", u"input a", u"x = 3", u"x = 4", u"x = 5", u"x = 6", u"x = 7", u"print x"});
    RecordingHost host;
    host.grant = 3;
    host.answers = {u"5"};
    EXPECT_EQ(runProgram(source, host).output, u"5\n7\n");
    EXPECT_EQ(host.statements, 3);
    EXPECT_EQ(host.pausedLines, std::vector<std::int32_t>{2});

    RecordingHost hidden;
    hidden.grant = 3;
    hidden.hideWhenAsked = true;
    EXPECT_EQ(runProgram(source, hidden).output, u"");
    EXPECT_EQ(hidden.statements, 1);
    EXPECT_TRUE(hidden.pausedLines.size() == 1 && hidden.questions.size() == 1);
}

TEST_F(Executor, ContinuesToATickedLine)
{
    RecordingHost host;
    host.mode = RunMode::Stepping;
    host.onPause = [&] {
        if (host.pausedLines.size() == 1) host.controller->setBreakpoint(4, true);
        host.controller->runFreely();  // Continue
    };
    runProgram(editorText({u"a = 1", u"b = 2", u"c = 3", u"d = 4", u"e = 5"}), host);
    EXPECT_EQ(host.pausedLines, (std::vector<std::int32_t>{1, 4}));
}

}  // namespace
}  // namespace tarnik
