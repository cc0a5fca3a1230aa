// Test cases of a program: comparing outputs line by line, running a case
// with its answers and limits, reading a folder of cases, and the result lines.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <variant>

#include "interp/ProgramState.h"
#include "services/TestCases.h"
#include "support/RecordingHost.h"
#include "support/TempFolder.h"
#include "support/TestSupport.h"

namespace tarnik::test {
namespace {

using TestCases = ::testing::Test;

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

// Every case of a folder read; a problem fails the test.
std::vector<TestCase> readAll(const std::filesystem::path& folder)
{
    const CaseFolder found = readCaseFolder(folder);
    EXPECT_TRUE(found.listed);
    EXPECT_FALSE(found.problem) << utf8(found.problem->text());
    std::vector<TestCase> cases;
    for (const CaseFiles& files : found.cases) {
        std::variant<TestCase, CaseFileProblem> read = readCase(files);
        if (auto* problem = std::get_if<CaseFileProblem>(&read)) ADD_FAILURE() << utf8(problem->text());
        else cases.push_back(std::move(std::get<TestCase>(read)));
    }
    return cases;
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
    EXPECT_EQ(utf8(passed.actual.text), utf8(u"1\n2\n和3\n"));
    const CaseResult endless =
        runCase(editorText({u"do while 1 = 1", u"print \"0123456789\"", u"loop"}), {u"a", u"", u""}, 1'000'000, 25);
    EXPECT_EQ(endless.verdict, CaseVerdict::OutputLimit);
    EXPECT_EQ(utf8(endless.actual.text), "0123456789\n0123456789\n0");
}

TEST_F(TestCases, EachCaseRunsFresh)
{
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
    EXPECT_EQ(utf8(summaryText(3, 2)), "共 3 个: 通过 2 个, 未通过 1 个");
    EXPECT_EQ(utf8(summaryText(0, 0)), "共 0 个: 通过 0 个, 未通过 0 个");
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

    const std::vector<TestCase> cases = readAll(folder.path());
    ASSERT_EQ(cases.size(), 3u);
    EXPECT_EQ(utf8(cases[0].name), "a");
    EXPECT_EQ(utf8(cases[0].answers), "");
    EXPECT_EQ(utf8(cases[1].name), "b");
    EXPECT_EQ(utf8(cases[1].answers), "5\r\n");
    EXPECT_EQ(utf8(cases[1].expected), "2\r\n");
    EXPECT_EQ(utf8(cases[2].name), "和");
    EXPECT_EQ(utf8(cases[2].expected), "和\r\n");
}

TEST_F(TestCases, FolderThatCannotBeReadGivesNothing)
{
    EXPECT_FALSE(readCaseFolder(std::filesystem::temp_directory_path() / "tarnik-no-such-folder").listed);
    TempFolder folder;
    folder.write("x.out", "");
    EXPECT_FALSE(readCaseFolder(folder.path() / "x.out").listed);
    const CaseFolder cases = readCaseFolder(folder.path());
    ASSERT_TRUE(cases.listed);
    EXPECT_EQ(cases.cases.size(), 1u);
}

// A case file that is no regular file is never opened: the folder names it
// and gives no cases, whatever else it holds.
TEST_F(TestCases, FolderRefusesCaseFilesThatAreNoRegularFiles)
{
    TempFolder outside;
    const std::filesystem::path secret = outside.write("secret.txt", "root:x:0:0\n");
    struct Case {
        const char* name;
        std::function<void(const TempFolder&)> make;
        const char* file;
        std::u16string reason;
    };
    const Case cases[] = {
        {"answers that are a folder", [](const TempFolder& f) { std::filesystem::create_directory(f.path() / "a.in"); },
         "a.in", u"这是一个文件夹，不是文件"},
        {"answers that are a FIFO", [](const TempFolder& f) { ASSERT_EQ(::mkfifo((f.path() / "a.in").c_str(), 0600), 0); },
         "a.in", u"它不是普通文件（而是设备或管道），读取它可能永远不会结束"},
        {"answers linked to a file outside",
         [&](const TempFolder& f) { std::filesystem::create_symlink(secret, f.path() / "a.in"); }, "a.in",
         u"这是一个链接，这里只读取普通文件，不跟随链接"},
        {"answers linked to nothing",
         [](const TempFolder& f) { std::filesystem::create_symlink(f.path() / "gone", f.path() / "a.in"); }, "a.in",
         u"这是一个链接，这里只读取普通文件，不跟随链接"},
        {"expected output linked to a file outside",
         [&](const TempFolder& f) { std::filesystem::create_symlink(secret, f.path() / "b.out"); }, "b.out",
         u"这是一个链接，这里只读取普通文件，不跟随链接"},
        {"expected output that is a device",
         [](const TempFolder& f) { std::filesystem::create_symlink("/dev/zero", f.path() / "b.out"); }, "b.out",
         u"这是一个链接，这里只读取普通文件，不跟随链接"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        folder.write("a.out", "1\n");
        c.make(folder);
        const CaseFolder found = readCaseFolder(folder.path());
        EXPECT_TRUE(found.listed);
        EXPECT_TRUE(found.cases.empty());
        ASSERT_TRUE(found.problem);
        EXPECT_EQ(found.problem->file, folder.path() / c.file);
        EXPECT_EQ(utf8(found.problem->text()),
                  "无法使用测试用例文件 " + (folder.path() / c.file).string() + "：" + utf8(c.reason) + "。");
    }
}

// What was listed as a regular file may be something else by the time the
// case runs; reading checks again and never follows a link.
TEST_F(TestCases, ReadingACaseRefusesAFileReplacedByALink)
{
    TempFolder outside;
    const std::filesystem::path secret = outside.write("secret.txt", "root:x:0:0\n");
    TempFolder folder;
    folder.write("a.out", "1\n");
    folder.write("a.in", "5\n");
    const CaseFolder found = readCaseFolder(folder.path());
    ASSERT_EQ(found.cases.size(), 1u);
    std::filesystem::remove(folder.path() / "a.in");
    std::filesystem::create_symlink(secret, folder.path() / "a.in");
    const std::variant<TestCase, CaseFileProblem> read = readCase(found.cases[0]);
    ASSERT_TRUE(std::holds_alternative<CaseFileProblem>(read));
    EXPECT_EQ(std::get<CaseFileProblem>(read).file, folder.path() / "a.in");
}

TEST_F(TestCases, AnswersPastTheLimitAreAProblemNamingTheFile)
{
    TempFolder folder;
    folder.write("a.out", "1\n");
    folder.write("a.in", std::string(kAnswerFileBytes + 1, '7'));
    const CaseFolder found = readCaseFolder(folder.path());
    ASSERT_EQ(found.cases.size(), 1u);
    const std::variant<TestCase, CaseFileProblem> read = readCase(found.cases[0]);
    ASSERT_TRUE(std::holds_alternative<CaseFileProblem>(read));
    EXPECT_EQ(utf8(std::get<CaseFileProblem>(read).text()),
              "无法使用测试用例文件 " + (folder.path() / "a.in").string() + "：文件超过 4 MB，不像是 INPUT 的答案（每行一个）。");

    folder.write("a.in", std::string(kAnswerFileBytes, '7'));
    EXPECT_TRUE(std::holds_alternative<TestCase>(readCase(found.cases[0])));
}

// An output is cut at kCaseOutputLimit characters, so of a huge NAME.out only
// the start can ever be compared: reading stops there, and the verdict is the
// one the whole file would give.
TEST_F(TestCases, AHugeExpectedOutputIsReadOnlyAsFarAsJudgingReaches)
{
    TempFolder folder;
    std::string huge = "1\n2\n";
    while (huge.size() < 5'000'000) huge += "line\n";
    folder.write("a.out", huge);
    // UTF-8 whose cut would fall inside a character: without the tail
    // dropped, the few Chinese characters would not outnumber the broken
    // one and the start would read as GBK.
    std::string mostlyAscii = "和\n" + std::string(kExpectedFileBytes - 5, 'a') + "和和\n";
    folder.write("b.out", mostlyAscii);
    const std::vector<TestCase> cases = readAll(folder.path());
    ASSERT_EQ(cases.size(), 2u);
    for (const TestCase& c : cases) EXPECT_LE(c.expected.size(), kCaseOutputLimit + 64);
    EXPECT_TRUE(cases[1].expected.starts_with(u"和\r\naaa"));

    const CaseResult result = runCase(editorText({u"print 1", u"print 2"}), cases[0]);
    EXPECT_EQ(utf8(verdictText(result)), "未通过 第3行: 期望 «line» 实际 «»");
    const CaseResult chinese = runCase(editorText({u"print \"和\""}), cases[1]);
    EXPECT_EQ(chinese.verdict, CaseVerdict::OutputDiffers);
    EXPECT_EQ(chinese.difference.line, 2);
}

// A result keeps of each output only the lines the results window shows:
// an endless output and a difference deep in a long one stay small.
TEST_F(TestCases, ResultsKeepABoundedExcerptAroundWhatMatters)
{
    const auto bounded = [](const OutputExcerpt& excerpt) {
        std::size_t lines = 1;
        std::size_t lineLength = 0;
        for (char16_t c : excerpt.text) {
            lineLength = c == u'\n' ? 0 : lineLength + 1;
            if (c == u'\n') ++lines;
            EXPECT_LE(lineLength, kExcerptLineLength + 1);
        }
        EXPECT_LE(lines, kExcerptLines);
    };
    const CaseResult endless = runCase(editorText({u"do while 1 = 1", u"print \"0123456789\"", u"loop"}), {u"a", u"", u""});
    EXPECT_EQ(endless.verdict, CaseVerdict::OutputLimit);
    bounded(endless.actual);
    EXPECT_EQ(endless.actual.firstLine, 1);
    EXPECT_TRUE(endless.actual.cutAfter);

    const CaseResult wide = runCase(editorText({u"do while 1 = 1", u"print \"0123456789\";", u"loop"}), {u"a", u"", u""});
    bounded(wide.actual);
    EXPECT_TRUE(wide.actual.text.ends_with(u"…"));

    // Line 500 of 1000 differs: lines 490 to 529 are kept on both sides.
    std::u16string expected;
    for (int i = 1; i <= 1000; ++i) expected += utf16(std::to_string(i == 500 ? -1 : i)) + u"\n";
    const CaseResult deep = runCase(editorText({u"for i = 1 to 1000", u"print i", u"next"}), {u"a", u"", expected});
    EXPECT_EQ(utf8(verdictText(deep)), "未通过 第500行: 期望 «-1» 实际 «500»");
    EXPECT_EQ(deep.actual.firstLine, 490);
    EXPECT_EQ(deep.expected.firstLine, 490);
    EXPECT_TRUE(deep.actual.text.starts_with(u"490\n491\n"));
    EXPECT_TRUE(deep.expected.text.starts_with(u"490\n491\n"));
    EXPECT_TRUE(deep.actual.text.ends_with(u"\n529"));
    EXPECT_TRUE(deep.actual.cutAfter);

    // A run that stops on an error keeps the lines before the error.
    const CaseResult error = runCase(editorText({u"for i = 1 to 100", u"print i", u"next", u"x = 1 / 0"}), {u"a", u"", u""});
    EXPECT_EQ(error.verdict, CaseVerdict::StoppedOnError);
    EXPECT_EQ(error.actual.firstLine, 62);
    EXPECT_TRUE(error.actual.text.ends_with(u"100\n"));
}

TEST_F(TestCases, VerdictLinesCanBeCutForShowingWithoutSplittingACharacter)
{
    CaseResult result;
    result.verdict = CaseVerdict::OutputDiffers;
    result.difference = {2, u"ab𠀀c", u"abc"};
    EXPECT_EQ(utf8(verdictText(result)), "未通过 第2行: 期望 «ab𠀀c» 实际 «abc»");
    EXPECT_EQ(utf8(verdictText(result, 3)), "未通过 第2行: 期望 «ab…» 实际 «abc»");
    EXPECT_EQ(utf8(verdictText(result, 4)), "未通过 第2行: 期望 «ab𠀀…» 实际 «abc»");
}

}  // namespace
}  // namespace tarnik::test
