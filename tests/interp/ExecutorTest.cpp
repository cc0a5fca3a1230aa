#include "interp/Executor.h"

#include <gtest/gtest.h>

#include "expr/ProgramState.h"
#include "interp/Breakpoints.h"
#include "support/RecordingHost.h"

namespace tarnik {
namespace {

using test::editorText;
using test::RecordingHost;
using test::runProgram;

class Executor : public ::testing::Test {
protected:
    void SetUp() override { program.reset(); }
};

TEST_F(Executor, PausesOncePerVisitOfAnEditorLine)
{
    RecordingHost host;
    host.hideAfterStatements = 50;  // many passes of the GOTO loop, which pauses only when first reached
    program.FreeRun = false;
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
    EXPECT_TRUE(program.Variables.VarNames().empty());
}

TEST_F(Executor, ContinuesToATickedLine)
{
    RecordingHost host;
    program.FreeRun = false;
    host.onPause = [&] {
        if (host.pausedLines.size() == 1) AddBreakpoint(4);
        program.FreeRun = true;  // Continue
    };
    runProgram(editorText({u"a = 1", u"b = 2", u"c = 3", u"d = 4", u"e = 5"}), host);
    EXPECT_EQ(host.pausedLines, (std::vector<std::int32_t>{1, 4}));
}

}  // namespace
}  // namespace tarnik
