// tarnik-cli lint, run as a child process on files.
#include <gtest/gtest.h>

#include <string>

#include "interp/ProgramState.h"
#include "services/ProgramWarnings.h"
#include "services/SourceText.h"
#include "support/CliRunner.h"

namespace tarnik::test {
namespace {

constexpr int kOk = 0;
constexpr int kProgramError = 1;
constexpr int kFailure = 2;

CliResult lint(std::string_view bytes)
{
    TempFile file(bytes);
    return runCli({"lint", file.path()});
}

TEST(CliLint, PrintsEachWarningWithItsLineInLineOrder)
{
    const CliResult result = lint("total = 0\r\n"
                                  "For i = 1 To 3\r\n"
                                  "    total = total + i\r\n"
                                  "Next\r\n"
                                  "Goto 99\r\n"
                                  "Print totl\r\n");
    EXPECT_EQ(result.exitStatus, kOk);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              "第5行: 警告: Goto 99：没有一行的行号是 99，运行到这里会停止。\n"
              "第6行: 警告: 变量 totl 从来没有赋值，读到的总是 0。是否想写 total？\n");
}

// A full-width letter still makes a name, so the line translates and runs;
// lint names the slip among the other warnings, in line order.
TEST(CliLint, FullWidthSlipsAreWarningsInLineOrder)
{
    const CliResult result = lint("x = 1\nprint ｘ\nGoto 99\nprint \"（不是错误）\" ' ，也不是\n");
    EXPECT_EQ(result.exitStatus, kOk);
    EXPECT_EQ(result.out,
              "第1行: 警告: 变量 x 赋了值，可是程序里没有一处读它，这个值没有用上。\n"
              "第2行: 警告: 此处是全角字母“ｘ”，程序需要半角“x”\n"
              "第3行: 警告: Goto 99：没有一行的行号是 99，运行到这里会停止。\n");
}

// Names as the evaluator reads them, Chinese ones too; the warnings of one
// line in the order they stand; the nearest assigned name within two edits.
TEST(CliLint, ChineseNamesPositionsAndNearNames)
{
    const CliResult result = lint("总 = 10\n"
                                  "count = 1\n"
                                  "print 宗 * 2\n"
                                  "print zeta; cnt; alpha ' beta\n"
                                  "if flag then goto 99\n");
    EXPECT_EQ(result.exitStatus, kOk);
    EXPECT_EQ(result.out,
              "第1行: 警告: 变量 总 赋了值，可是程序里没有一处读它，这个值没有用上。\n"
              "第2行: 警告: 变量 count 赋了值，可是程序里没有一处读它，这个值没有用上。\n"
              "第3行: 警告: 变量 宗 从来没有赋值，读到的总是 0。是否想写 总？\n"
              "第4行: 警告: 变量 zeta 从来没有赋值，读到的总是 0。\n"
              "第4行: 警告: 变量 cnt 从来没有赋值，读到的总是 0。是否想写 count？\n"
              "第4行: 警告: 变量 alpha 从来没有赋值，读到的总是 0。\n"
              "第5行: 警告: 变量 flag 从来没有赋值，读到的总是 0。\n"
              "第5行: 警告: 条件里的变量 flag 从来没有赋值，总是 0，所以这个条件总是不成立，结果永远不变。\n"
              "第5行: 警告: Goto 99：没有一行的行号是 99，运行到这里会停止。\n");
}

// A beginner's program with the slips that run without an error: the
// warnings name the very names, values and lines.
TEST(CliLint, CertainMistakesOfAWholeProgram)
{
    const CliResult result = lint("Input \"两个数：\"; a，b\r\n"
                                  "For i = 1 To 10\r\n"
                                  "    If i = 5 Then i = 9\r\n"
                                  "    sum = sum + i\r\n"
                                  "Next\r\n"
                                  "average = sum / 10\r\n"
                                  "Do While finished = 0\r\n"
                                  "    Print sum\r\n"
                                  "    Exit Do\r\n"
                                  "Loop\r\n"
                                  "End\r\n"
                                  "Print \"再见\"\r\n");
    EXPECT_EQ(result.exitStatus, kOk);
    EXPECT_EQ(result.out,
              "第1行: 警告: Input a，b 里的“，”是全角，算作变量名的一部分：运行时只问一次，答案存进名叫 a，b "
              "的一个变量，a、b 都得不到这次输入的值。请改成半角“,”。\n"
              "第3行: 警告: 变量 i 是第2行 For 循环的计数变量，在循环里又给它赋值，Next 会从改过的值接着数。\n"
              "第6行: 警告: 变量 average 赋了值，可是程序里没有一处读它，这个值没有用上。\n"
              "第7行: 警告: 变量 finished 从来没有赋值，读到的总是 0。\n"
              "第7行: 警告: 条件里的变量 finished 从来没有赋值，总是 0，所以这个条件总是成立，结果永远不变。\n"
              "第12行: 警告: 这一行永远不会运行：第11行的 End 让程序在那里结束，中间又没有行号可以跳到这里。\n");
}

TEST(CliLint, ProgramWithoutWarningsPrintsNothing)
{
    const CliResult result = lint("input n\nprint n * 2\n");
    EXPECT_EQ(result.exitStatus, kOk);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
}

TEST(CliLint, TranslationErrorIsReportedAsCheckReportsIt)
{
    const std::string source = "print totl\nfor i = 1 to 3\nprint i\n";
    const CliResult linted = lint(source);
    TempFile file(source);
    const CliResult checked = runCli({"check", file.path()});
    EXPECT_EQ(linted.exitStatus, kProgramError);
    EXPECT_EQ(linted.out, "");
    EXPECT_EQ(linted.err, "错误 303: For没有Next(第3行)\n");
    EXPECT_EQ(linted.err, checked.err);
}

TEST(CliLint, MissingFileOrArgumentIsAUsageError)
{
    EXPECT_EQ(runCli({"lint"}).exitStatus, kFailure);
    EXPECT_EQ(runCli({"lint", "/nonexistent/a.bas"}).exitStatus, kFailure);
    EXPECT_EQ(runCli({"lint", "a.bas", "b.bas"}).exitStatus, kFailure);
}

// The command line prints what the core finds, which the IDE shows.
TEST(CliLint, ExamplesGiveTheCoresWarnings)
{
    for (const std::filesystem::path& example : examplePrograms()) {
        SCOPED_TRACE(example.filename().string());
        std::string expected;
        for (const ProgramWarning& warning : lintProgram(decodeSource(readFileBytes(example)).text).warnings) {
            expected += "第" + std::to_string(warning.line) + "行: 警告: " + toUtf8(warning.text) + "\n";
        }
        const CliResult result = runCli({"lint", example.string()});
        EXPECT_EQ(result.exitStatus, kOk);
        EXPECT_EQ(result.out, expected);
    }
}

}  // namespace
}  // namespace tarnik::test
