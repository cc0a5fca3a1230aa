// tarnik-cli test as a child process: passing, failing, erroring and endless
// programs against folders of cases, the exit statuses, the usage errors, and
// every example with its answers and expected output as a case.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/CliRunner.h"
#include "support/TempFolder.h"

namespace tarnik::test {
namespace {

constexpr int kAllPassed = 0;
constexpr int kSomeFailed = 1;
constexpr int kUsage = 2;

// Adds two answers; cases "ok" (passes) and "wrong" (expects 8 for 3 + 4).
struct AdditionCases {
    TempFolder folder;
    AdditionCases()
    {
        folder.write("ok.in", "3\n4\n");
        folder.write("ok.out", "3\n4\n7\n");
        folder.write("wrong.in", "3\n4\n");
        folder.write("wrong.out", "3\n4\n8\n");
    }
    [[nodiscard]] std::string dir() const { return folder.path().string(); }
};

CliResult testProgram(std::string_view source, const std::string& dir)
{
    TempFile program(source);
    return runCli({"test", program.path(), dir});
}

TEST(CliTest, ReportsEachCaseInNameOrderAndTheSummary)
{
    struct Case {
        const char* name;
        std::string program;
        int exitStatus;
        std::string out;
    };
    const Case cases[] = {
        {"passing and failing", "input a\ninput b\nprint a + b\n", kSomeFailed,
         "ok: 通过\n"
         "wrong: 未通过 第3行: 期望 «8» 实际 «7» 内容不同。第3行输出 «7» 由程序第3行的 print a + b 产生，"
         "当时 a = 3，b = 4；a 最后一次在第1行被赋值，b 最后一次在第2行被赋值。\n"
         "共 2 个: 通过 1 个, 未通过 1 个\n"},
        {"erroring", "input a\ninput b\nprint a / 0\n", kSomeFailed,
         "ok: 未通过 错误 11: 除数为零(第3行)\n"
         "wrong: 未通过 错误 11: 除数为零(第3行)\n"
         "共 2 个: 通过 0 个, 未通过 2 个\n"},
        {"too few INPUTs", "input a\nprint a\n", kSomeFailed,
         "ok: 未通过 第2行: 期望 «4» 实际 «3» 内容不同。第2行输出 «3» 由程序第2行的 print a 产生，当时 a = 3；"
         "a 最后一次在第1行被赋值。\n"
         "wrong: 未通过 第2行: 期望 «4» 实际 «3» 内容不同。第2行输出 «3» 由程序第2行的 print a 产生，当时 a = 3；"
         "a 最后一次在第1行被赋值。\n"
         "共 2 个: 通过 0 个, 未通过 2 个\n"},
        {"endless", "input a\ndo while 1 = 1\n    a = a + 1\nloop\n", kSomeFailed,
         "ok: 未通过 运行了 10000000 条语句还没有结束，已停止（是不是死循环？） "
         "程序执行了 10000000 条语句还没有结束，这时正在第2行开始的循环里。\n"
         "wrong: 未通过 运行了 10000000 条语句还没有结束，已停止（是不是死循环？） "
         "程序执行了 10000000 条语句还没有结束，这时正在第2行开始的循环里。\n"
         "共 2 个: 通过 0 个, 未通过 2 个\n"},
    };
    const AdditionCases addition;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliResult result = testProgram(c.program, addition.dir());
        EXPECT_EQ(result.exitStatus, c.exitStatus) << result.err;
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, "");
    }
}

// A failing case's line goes on with the kind of difference and, when the
// output has the line, the statement that wrote its first wrong character.
TEST(CliTest, AFailingCaseIsExplained)
{
    struct Case {
        const char* name;
        std::string program;
        std::string answers;
        std::string expected;
        std::string line;  // after "a: 未通过 "
    };
    const Case cases[] = {
        {"loop variable at the last assignment", "s = 0\nfor i = 1 to 3\n    s = s + i\nnext\nprint s\n", "", "7\n",
         "第1行: 期望 «7» 实际 «6» 内容不同。第1行输出 «6» 由程序第5行的 print s 产生，当时 s = 6；"
         "s 最后一次在第3行被赋值（i = 3）。"},
        {"two loops around the assignment",
         "t = 0\nFor I = 1 To 3\n  for j = 1 to 2\n    t = t + I * j\n  next\nnext\nprint \"t=\"; T\n", "",
         "t=19\n",
         "第1行: 期望 «t=19» 实际 «t=18» 内容不同。第1行输出 «t=18» 由程序第7行的 print \"t=\"; T 产生，"
         "当时 T = 18；T 最后一次在第4行被赋值（I = 3，j = 2）。"},
        {"a misspelt variable", "sum = 5\nprint sun\n", "", "5\n",
         "第1行: 期望 «5» 实际 «0» 内容不同。第1行输出 «0» 由程序第2行的 print sun 产生，当时 sun = 0；"
         "sun 一直是 0，没有被赋过别的值。"},
        {"a blank at the line end", "print 3;\nprint \" \"\n", "", "3\n",
         "第1行: 期望 «3» 实际 «3 » 只差行末空格。第1行输出 « » 由程序第2行的 print \" \" 产生。"},
        {"a prompt", "input \"n=\"; n\nprint n * 2\n", "5\n", "5\n10\n",
         "第1行: 期望 «5» 实际 «n=» 多输出了提示或输入的答案。第1行输出 «n=» 由程序第1行的 input \"n=\"; n 产生。"},
        {"an echoed answer", "input n\nprint n * 2\n", "5\n", "10\n",
         "第1行: 期望 «10» 实际 «5» 多输出了提示或输入的答案。第1行输出 «5» 由程序第1行的 input n 产生，当时 n = 5。"},
        {"a number written otherwise", "print 3 / 2\n", "", "1.50\n",
         "第1行: 期望 «1.50» 实际 «1.5» 数字写法不同：期望 1.50，实际 1.5。第1行输出 «1.5» 由程序第1行的 print 3 / 2 产生。"},
        {"a full-width comma", "print \"1，2\"\n", "", "1,2\n",
         "第1行: 期望 «1,2» 实际 «1，2» 全角/半角不同：期望 «,»，实际 «，»。第1行输出 «1，2» 由程序第1行的 print \"1，2\" 产生。"},
        {"the last line missing", "print 1\n", "", "1\n2\n", "第2行: 期望 «2» 实际 «» 少了最后一行。"},
        {"a line too many", "print 1\nprint 2\n", "", "1\n",
         "第2行: 期望 «» 实际 «2» 多了一行。第2行输出 «2» 由程序第2行的 print 2 产生。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        folder.write("a.out", c.expected);
        if (!c.answers.empty()) folder.write("a.in", c.answers);
        const CliResult result = testProgram(c.program, folder.path().string());
        EXPECT_EQ(result.exitStatus, kSomeFailed) << result.err;
        EXPECT_EQ(result.out, "a: 未通过 " + c.line + "\n共 1 个: 通过 0 个, 未通过 1 个\n");
    }
}

TEST(CliTest, ExitsZeroWhenEveryCasePasses)
{
    TempFolder folder;
    folder.write("1.in", "6\n");
    folder.write("1.out", "6\n36\n");
    folder.write("2.in", "-2\n");
    folder.write("2.out", "-2\n4\n");
    folder.write("3.in", "\n\n5\n");  // empty answers are skipped, as run asks again
    folder.write("3.out", "5\n25\n");
    const CliResult result = testProgram("input n\nprint n * n\n", folder.path().string());
    EXPECT_EQ(result.exitStatus, kAllPassed) << result.err;
    EXPECT_EQ(result.out, "1: 通过\n2: 通过\n3: 通过\n共 3 个: 通过 3 个, 未通过 0 个\n");
}

TEST(CliTest, UsageErrorsExitTwoWithAMessage)
{
    const AdditionCases addition;
    TempFolder empty;
    empty.write("readme.txt", "no cases here");
    TempFile program("print 1\n");
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
    };
    const Case cases[] = {
        {"no cases", {"test", program.path(), empty.path().string()}},
        {"missing folder", {"test", program.path(), (empty.path() / "gone").string()}},
        {"folder is a file", {"test", program.path(), program.path()}},
        {"missing program", {"test", (empty.path() / "gone.bas").string(), addition.dir()}},
        {"no folder", {"test", program.path()}},
        {"too many", {"test", program.path(), addition.dir(), addition.dir()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliResult result = runCli(c.arguments);
        EXPECT_EQ(result.exitStatus, kUsage);
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(result.err.starts_with("tarnik-cli test：")) << result.err;
    }
}

TEST(CliTest, HelpListsTheCommand)
{
    const CliResult result = runCli({"--help"});
    EXPECT_NE(result.out.find("tarnik-cli test [--oj] [--max-steps N] [--item N] FILE DIR\n"), std::string::npos) << result.out;
}

// Each example's answers and expected output, copied into a folder of their
// own, make one case that passes.
class ExampleAsCase : public ::testing::TestWithParam<std::filesystem::path> {};

TEST_P(ExampleAsCase, Passes)
{
    const std::filesystem::path& program = GetParam();
    const std::string name = program.stem().string();
    TempFolder folder;
    folder.write(name + ".out", readFileBytes(std::filesystem::path(program).replace_extension(".out")));
    const std::filesystem::path answers = std::filesystem::path(program).replace_extension(".in");
    if (std::filesystem::exists(answers)) folder.write(name + ".in", readFileBytes(answers));

    const CliResult result = runCli({"test", program.string(), folder.path().string()});
    EXPECT_EQ(result.exitStatus, kAllPassed) << result.out << result.err;
    EXPECT_EQ(result.out, name + ": 通过\n共 1 个: 通过 1 个, 未通过 0 个\n");
}

std::string exampleName(const ::testing::TestParamInfo<std::filesystem::path>& info)
{
    return info.param.stem().string();
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleAsCase, ::testing::ValuesIn(examplePrograms()), exampleName);

}  // namespace
}  // namespace tarnik::test
