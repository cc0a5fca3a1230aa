// Test cases of a program: comparing outputs line by line, running a case
// with its answers and limits, reading a folder of cases, and the result lines.
#include <gtest/gtest.h>


#include "interp/ProgramState.h"
#include "interp/TestCases.h"
#include "support/RecordingHost.h"
#include "support/TempFolder.h"
#include "support/TestSupport.h"

namespace tarnik::test {
namespace {

class TestCases : public ::testing::Test {
protected:
    void SetUp() override { program.reset(); }
};

TEST_F(TestCases, FirstDifferenceNamesTheLineAndBothSides)
{
    struct Case {
        const char* name;
        std::u16string expected;
        std::u16string actual;
        std::optional<OutputDifference> difference;
    };
    const Case cases[] = {
        {"equal", u"1\n2\n", u"1\r\n2\r\n", std::nullopt},
        {"both empty", u"", u"", std::nullopt},
        {"CR LF in the expected file", u"a\r\nb\r\n", u"a\r\nb\r\n", std::nullopt},
        {"second line", u"1\n2\n3\n", u"1\r\n5\r\n3\r\n", OutputDifference{2, u"2", u"5"}},
        {"missing last line end", u"7\n", u"7", OutputDifference{2, u"", std::nullopt}},
        {"extra line", u"7\n", u"7\r\n8\r\n", OutputDifference{2, u"", u"8"}},
        {"nothing printed", u"7\n", u"", OutputDifference{1, u"7", u""}},
        {"trailing blank is a difference", u"x\n", u"x \r\n", OutputDifference{1, u"x", u"x "}},
        {"Chinese text", u"和是 7\n", u"和是7\r\n", OutputDifference{1, u"和是 7", u"和是7"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<OutputDifference> difference = firstDifference(c.expected, c.actual);
        ASSERT_EQ(difference.has_value(), c.difference.has_value());
        if (!difference) continue;
        EXPECT_EQ(difference->line, c.difference->line);
        EXPECT_EQ(difference->expected, c.difference->expected);
        EXPECT_EQ(difference->actual, c.difference->actual);
    }
}

const std::u16string kAdd = editorText({u"input a", u"input b", u"print \"和\"; a + b"});

TEST_F(TestCases, RunCaseGivesAVerdictForEveryWayARunEnds)
{
    struct Case {
        const char* name;
        std::u16string program;
        TestCase testCase;
        std::u16string verdict;
    };
    const Case cases[] = {
        {"passes", kAdd, {u"a", u"3\n4\n", u"3\n4\n和7\n"}, u"通过"},
        {"answers with CR LF and an empty line", kAdd, {u"a", u"3\r\n\r\n4\r\n", u"3\n4\n和7\n"}, u"通过"},
        {"no INPUT, no answers", editorText({u"print 1"}), {u"a", u"", u"1\n"}, u"通过"},
        {"wrong sum", kAdd, {u"a", u"3\n5\n", u"3\n5\n和7\n"}, u"未通过 第3行: 期望 «和7» 实际 «和8»"},
        {"output too short", editorText({u"print 1"}), {u"a", u"", u"1\n2\n"},
         u"未通过 第2行: 期望 «2» 实际 «»"},
        {"output too long", editorText({u"print 1", u"print 2"}), {u"a", u"", u"1"},
         u"未通过 第2行: 期望 （没有这一行） 实际 «2»"},
        {"answers run out", kAdd, {u"a", u"3\n", u"3\n4\n和7\n"}, u"未通过 错误 62: 输入超出文件尾(第2行)"},
        {"run-time error", editorText({u"print 1", u"x = 1 / 0"}), {u"a", u"", u"1\n"},
         u"未通过 错误 11: 除数为零(第2行)"},
        {"translation error", editorText({u"for i = 1 to 3"}), {u"a", u"", u""},
         u"未通过 错误 303: For没有Next(第1行)"},
        {"STOP does not wait", editorText({u"stop", u"print 2"}), {u"a", u"", u"2\n"}, u"通过"},
        {"endless loop", editorText({u"do while 1 = 1", u"x = x + 1", u"loop"}), {u"a", u"", u""},
         u"未通过 运行了 1000 条语句还没有结束，已停止（是不是死循环？）"},
        {"endless output", editorText({u"do while 1 = 1", u"print \"0123456789\"", u"loop"}),
         {u"a", u"", u""}, u"未通过 输出超过 100 个字符，已停止"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CaseResult result = runCase(c.program, c.testCase, 1000, 100);
        EXPECT_EQ(utf8(verdictText(result)), utf8(c.verdict));
        EXPECT_EQ(result.name, u"a");
    }
}

TEST_F(TestCases, OutputIsKeptWithLfLineEndsAndBoundedByTheLimit)
{
    const CaseResult passed = runCase(kAdd, {u"a", u"1\n2\n", u"1\n2\n和3\n"});
    EXPECT_EQ(utf8(passed.output), utf8(u"1\n2\n和3\n"));
    const CaseResult endless =
        runCase(editorText({u"do while 1 = 1", u"print \"0123456789\"", u"loop"}), {u"a", u"", u""}, 1'000'000, 25);
    EXPECT_EQ(endless.verdict, CaseVerdict::OutputLimit);
    EXPECT_EQ(utf8(endless.output), "0123456789\n0123456789\n0");
}

TEST_F(TestCases, EachCaseRunsFreshAndIgnoresBreakpointsAndSteppingLeftOver)
{
    program.FreeRun = false;
    program.Breakpoints = {1};
    const std::u16string counter = editorText({u"n = n + 1", u"print n"});
    EXPECT_EQ(runCase(counter, {u"a", u"", u"1\n"}).verdict, CaseVerdict::Passed);
    EXPECT_EQ(runCase(counter, {u"b", u"", u"1\n"}).verdict, CaseVerdict::Passed);
}

TEST_F(TestCases, KeepGoingAnsweringNoStopsTheCaseAndIsAskedWhileItRuns)
{
    const std::u16string endless = editorText({u"do while 1 = 1", u"n = n + 1", u"loop"});
    int asked = 0;
    const CaseResult stopped = runCase(endless, {u"a", u"", u""}, kCaseStatementLimit, kCaseOutputLimit,
                                       [&asked] { return ++asked < 3; });
    EXPECT_EQ(stopped.verdict, CaseVerdict::Stopped);
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(utf8(verdictText(stopped)), "未完成 运行被停止");

    const CaseResult passed = runCase(kAdd, {u"a", u"1\n2\n", u"1\n2\n和3\n"}, kCaseStatementLimit,
                                      kCaseOutputLimit, [] { return true; });
    EXPECT_EQ(passed.verdict, CaseVerdict::Passed);
}

TEST_F(TestCases, SummaryCountsPassedAndFailed)
{
    std::vector<CaseResult> results(3);
    results[1].verdict = CaseVerdict::OutputDiffers;
    EXPECT_EQ(utf8(summaryText(results)), "共 3 个: 通过 2 个, 未通过 1 个");
    EXPECT_EQ(utf8(summaryText({})), "共 0 个: 通过 0 个, 未通过 0 个");
}

TEST_F(TestCases, FolderGivesEveryOutFileInNameOrderWithItsAnswers)
{
    TempFolder folder;
    folder.write("b.out", "2\n");
    folder.write("b.in", "5\n");
    folder.write("a.out", "1\n");
    folder.write("c.in", "ignored without c.out\n");
    folder.write("说明.txt", "not a case");
    folder.write("和.out", "\xBA\xCD\n");  // GBK, like a program file
    std::filesystem::create_directory(folder.path() / "d.out");

    const std::optional<std::vector<TestCase>> cases = readCaseFolder(folder.path());
    ASSERT_TRUE(cases);
    ASSERT_EQ(cases->size(), 3u);
    EXPECT_EQ(utf8((*cases)[0].name), "a");
    EXPECT_EQ(utf8((*cases)[0].answers), "");
    EXPECT_EQ(utf8((*cases)[1].name), "b");
    EXPECT_EQ(utf8((*cases)[1].answers), "5\r\n");
    EXPECT_EQ(utf8((*cases)[1].expected), "2\r\n");
    EXPECT_EQ(utf8((*cases)[2].name), "和");
    EXPECT_EQ(utf8((*cases)[2].expected), "和\r\n");
}

TEST_F(TestCases, FolderThatCannotBeReadGivesNothing)
{
    EXPECT_FALSE(readCaseFolder(std::filesystem::temp_directory_path() / "tarnik-no-such-folder"));
    TempFolder folder;
    folder.write("x.out", "");
    EXPECT_FALSE(readCaseFolder(folder.path() / "x.out"));
    const std::optional<std::vector<TestCase>> cases = readCaseFolder(folder.path());
    ASSERT_TRUE(cases);
    EXPECT_EQ(cases->size(), 1u);
}

}  // namespace
}  // namespace tarnik::test
