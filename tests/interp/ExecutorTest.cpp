#include "interp/Executor.h"

#include <gtest/gtest.h>

#include "expr/ProgramState.h"
#include "interp/Breakpoints.h"
#include "support/RecordingHost.h"
#include "support/TestSupport.h"

namespace tarnik {
namespace {

using test::editorText;
using test::RecordingHost;
using test::runProgram;
using test::utf8;

struct ProgramCase {
    const char* name;
    std::u16string source;
    std::u16string output;
    std::u16string error;
    std::deque<std::u16string> answers = {};
};

class Executor : public ::testing::Test {
protected:
    void SetUp() override { program.reset(); }

    static void expectRuns(const ProgramCase& c)
    {
        SCOPED_TRACE(c.name);
        program.reset();
        test::RunResult result = runProgram(c.source, c.answers);
        EXPECT_EQ(utf8(result.output), utf8(c.output));
        EXPECT_EQ(utf8(result.error), utf8(c.error));
    }
};

TEST_F(Executor, RunsLoopsAndBranches)
{
    const ProgramCase cases[] = {
        {"for counts up and leaves the variable past the limit",
         editorText({u"for k = 1 to 3", u"print k;", u"next", u"print", u"print k"}), u"1234\n", u""},
        {"negative step", editorText({u"for k = 3 to 1 step -1", u"print k;", u"next"}), u"321", u""},
        {"a loop that cannot start skips its body and leaves the variable unset",
         editorText({u"for k = 1 to 3 step -1", u"print k", u"next", u"print k"}), u"0\n", u""},
        {"equal bounds run once for either step sign",
         editorText({u"for k = 5 to 5", u"print k;", u"next", u"for k = 5 to 5 step -1", u"print k;", u"next"}),
         u"55", u""},
        {"exit for leaves the innermost loop",
         editorText({u"for i = 1 to 2", u"for j = 1 to 9", u"if j = 2 then exit for", u"print i; j; \" \";", u"next",
                     u"next"}),
         u"11 21 ", u""},
        {"loop until repeats while its condition holds",
         editorText({u"k = 1", u"do", u"k = k + 1", u"loop until k > 3", u"print k"}), u"2\n", u""},
        {"loop until with a condition that holds twice",
         editorText({u"k = 1", u"do", u"k = k + 1", u"loop until k < 3", u"print k"}), u"3\n", u""},
        {"do while and exit do", editorText({u"i = 0", u"do while i < 10", u"i = i + 1", u"if i = 4 then exit do",
                                             u"loop", u"print i"}),
         u"4\n", u""},
        {"exit do inside do leaves it", editorText({u"do", u"i = i + 1", u"if i > 2 then", u"exit do", u"end if",
                                                    u"loop until 1", u"print i"}),
         u"3\n", u""},
        {"while wend", editorText({u"while n < 3", u"n = n + 1", u"wend", u"print n"}), u"3\n", u""},
        {"elseif chain", editorText({u"for a = 1 to 4", u"if a = 1 then", u"print \"one\";", u"elseif a = 2 then",
                                     u"print \"two\";", u"elseif a = 3 then", u"print \"three\";", u"else",
                                     u"print \"many\";", u"end if", u"next"}),
         u"onetwothreemany", u""},
        {"one-line if with else", editorText({u"x = 2", u"if x > 1 then print \"big\" else print \"small\""}),
         u"big\n", u""},
        {"select case with ranges and lists",
         editorText({u"for s = 55 to 95 step 20", u"select case s", u"case 90 to 100", u"print \"A\";", u"case 60, 75",
                     u"print \"B\";", u"case else", u"print \"C\";", u"end select", u"next"}),
         u"CBA", u""},
        {"gosub returns after the call", editorText({u"gosub 100", u"print \"back\"", u"end", u"100 print \"sub\"",
                                                     u"return"}),
         u"sub\nback\n", u""},
        {"return after goto continues after that goto",
         editorText({u"goto 200", u"print \"after\"", u"end", u"200 return"}), u"after\n", u""},
        {"return with nothing pushed is ignored", editorText({u"return", u"print 1"}), u"1\n", u""},
        {"the first line carrying a label wins",
         editorText({u"goto 10", u"10 print \"first\"", u"end", u"10 print \"second\""}), u"first\n", u""},
        {"end stops the run", editorText({u"print 1", u"end", u"print 2"}), u"1\n", u""},
        {"stop pauses and goes on", editorText({u"stop", u"print 1"}), u"1\n", u""},
    };
    for (const ProgramCase& c : cases) expectRuns(c);
}

TEST_F(Executor, PrintsListsAsTheConsoleShowsThem)
{
    const ProgramCase cases[] = {
        {"comma gives a tab", editorText({u"print 1, 2"}), u"1\t2\n", u""},
        {"semicolon gives nothing", editorText({u"print 1; 2"}), u"12\n", u""},
        {"a trailing separator keeps the line open", editorText({u"print \"a\";", u"print \"b\","}), u"ab\t", u""},
        {"bare print appends nothing", editorText({u"print", u"print 1"}), u"1\n", u""},
        {"brackets hold one item, where a comma applies as zero", editorText({u"print (1, 2); 3"}), u"03\n", u""},
        {"numbers in the 15-digit text form",
         editorText({u"print 1/3; \" \"; 10^20; \" \"; 2^60; \" \"; 1/100000; \" \"; -2.5"}),
         u"0.333333333333333 1E+20 1.15292150460685E+18 1E-05 -2.5\n", u""},
        {"literal with a separator inside", editorText({u"print \"a,b;c\"; \"(\""}), u"a,b;c(\n", u""},
        {"two literals joined print between the outer quotes", editorText({u"print \"a\" + \"b\""}), u"a\" + \"b\n",
         u""},
        {"chinese text", editorText({u"print \"你好，\"; \"世界\""}), u"你好，世界\n", u""},
    };
    for (const ProgramCase& c : cases) expectRuns(c);
}

TEST_F(Executor, ReadsInputAndEchoesTheAnswer)
{
    const ProgramCase cases[] = {
        {"a number", editorText({u"input a", u"print a * 2"}), u"12\n24\n", u"", {u"12"}},
        {"several variables and a prompt",
         editorText({u"input \"x=\"; a, b", u"print a + b"}), u"x=\n1\n2\n3\n", u"", {u"1", u"2"}},
        {"a trailing comma", editorText({u"input a,", u"print a"}), u"5\n5\n", u"", {u"5"}},
        {"an answer that is not a number is echoed and stops the run",
         editorText({u"a = 7", u"input a", u"print a"}), u"abc\n", u"错误 13: 类型不匹配(第2行)", {u"abc"}},
        {"end of input", editorText({u"print 1", u"input a"}), u"1\n", u"错误 62: 输入超出文件尾(第2行)"},
    };
    for (const ProgramCase& c : cases) expectRuns(c);
}

TEST_F(Executor, StopsAtTheFirstErrorWithItsLine)
{
    const ProgramCase cases[] = {
        {"step zero", editorText({u"", u"for k = 1 to 3 step 0", u"next"}), u"", u"错误 10: For语句中Step不能为0(第2行)"},
        {"a failing step is reported, not a zero step", editorText({u"for k = 1 to 3 step 1/0", u"next"}), u"",
         u"错误 11: 除数为零(第1行)"},
        {"a failing start stops the loop", editorText({u"for k = 1/0 to 3", u"print k", u"next"}), u"",
         u"错误 11: 除数为零(第1行)"},
        {"a for without to", editorText({u"for k = 1", u"next"}), u"", u"错误 5: 无效的过程调用或参数(第1行)"},
        {"bounds beyond 16 bits", editorText({u"for k = 1 to 40000", u"next"}), u"", u"错误 6: 溢出(第1行)"},
        {"goto without a number", editorText({u"goto abc"}), u"", u"错误 50: goto或者gosub语句后面只能跟数字行号(第1行)"},
        {"goto a missing label", editorText({u"print 1", u"goto 100"}), u"1\n", u"错误 51: 找不到行号(第2行)"},
        {"goto 0", editorText({u"goto 0"}), u"", u"错误 52: 找不到行号(第1行)"},
        {"an elseif without then", editorText({u"if 0 then", u"elseif 1", u"end if"}), u"",
         u"错误 209: If没有Then(第2行)"},
        {"division by zero", editorText({u"print 1", u"x = 1 / 0", u"print 2"}), u"1\n", u"错误 11: 除数为零(第2行)"},
        {"a malformed item prints empty text first", editorText({u"print 3*-2, 5"}), u"\t",
         u"错误 120: 语句未结束(第1行)"},
        {"a raised error in an item appends nothing", editorText({u"print 1/0; 5"}), u"", u"错误 11: 除数为零(第1行)"},
        {"a closing bracket without an opening one", editorText({u"print \")\""}), u"",
         u"错误 201: 表达式错误：缺少左括号(第1行)"},
        {"an open literal in a list", editorText({u"print (\"a\"; 1"}), u"", u"错误 202: 表达式(\"a\"; 1错误(第1行)"},
        {"translation errors come before any statement runs", editorText({u"print 1", u"if = 5"}), u"",
         u"错误 301: If缺少Then(第2行)"},
        {"a reserved word assigned", editorText({u"x = 1", u"step = 5"}), u"", u"错误 59: 变量名step不合法(第2行)"},
    };
    for (const ProgramCase& c : cases) expectRuns(c);
}

TEST_F(Executor, CapitalisedProgramWithAStrayQuoteInACommentRuns)
{
    const ProgramCase cases[] = {
        {"a quote in a comment line",
         editorText({u"' 屏幕是 15\" 的", u"For i = 1 To 3", u"    Print i;", u"Next",
                     u"If i > 3 Then Print \"Done\" Else Print \"No\""}),
         u"123Done\n", u""},
        {"a quote in a comment after code",
         editorText({u"Select Case 2 ' 他说\"你好", u"Case 1", u"    Print \"One\"", u"Case Else",
                     u"    Print \"Other\"", u"End Select"}),
         u"Other\n", u""},
        {"an open literal is reported at its line",
         editorText({u"For i = 1 To 2", u"    Print i;", u"Next", u"Print \"Ab", u"Print \"End\""}), u"",
         u"错误 202: 表达式print \"Ab错误(第4行)"},
    };
    for (const ProgramCase& c : cases) expectRuns(c);
}

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

TEST_F(Executor, AnEndlessGotoLoopKeepsItsReturnStackBounded)
{
    // GOTO pushes like GOSUB; past 100000 entries the oldest, the GOSUB's, is dropped.
    test::RunResult result = runProgram(editorText({u"gosub 100", u"print \"back\"", u"end", u"100 n = n + 1",
                                                    u"if n <= 100000 then goto 100", u"return", u"print \"lost\""}));
    EXPECT_EQ(result.error, u"");
    EXPECT_EQ(result.output, u"lost\n");
}

}  // namespace
}  // namespace tarnik
