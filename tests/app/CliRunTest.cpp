// tarnik-cli run as a child process: every example program with its scripted
// answers, and the command line's contract (questions and answers, error
// lines, line ends, the statement limit, bad command lines).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "support/CliRunner.h"

namespace tarnik::test {
namespace {

constexpr int kOk = 0;
constexpr int kProgramError = 1;
constexpr int kFailure = 2;
constexpr int kStepLimit = 3;

CliResult runSource(std::string_view source, std::string_view input = {}, std::vector<std::string> options = {})
{
    return runCliOnSource("run", source, input, std::move(options));
}

std::string question(std::string_view name) { return "输入整数[" + std::string(name) + "]："; }

// How many INPUT questions standard error holds, and what is left without them.
struct Questions {
    long count = 0;
    std::string rest;
};

Questions splitQuestions(const std::string& err)
{
    static const std::regex kQuestion("输入整数\\[[a-z0-9]+\\]：");
    return {std::distance(std::sregex_iterator(err.begin(), err.end(), kQuestion), std::sregex_iterator()),
            std::regex_replace(err, kQuestion, "")};
}

// Questions only: each without a line end, at most one line end after the last.
void expectOnlyQuestions(const std::string& err, long count)
{
    const Questions questions = splitQuestions(err);
    EXPECT_EQ(questions.count, count) << err;
    EXPECT_TRUE(questions.rest.empty() || questions.rest == "\n") << err;
}

long lineCount(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

// ---- the examples ----------------------------------------------------------

std::filesystem::path sibling(const std::filesystem::path& program, const char* extension)
{
    return std::filesystem::path(program).replace_extension(extension);
}

class ExampleProgram : public ::testing::TestWithParam<std::filesystem::path> {};

TEST_P(ExampleProgram, PrintsItsExpectedOutputForItsScriptedAnswers)
{
    const std::filesystem::path& program = GetParam();
    const std::filesystem::path answers = sibling(program, ".in");
    const std::filesystem::path expected = sibling(program, ".out");
    ASSERT_TRUE(std::filesystem::exists(expected)) << expected << " is missing";
    const std::string input = std::filesystem::exists(answers) ? readFileBytes(answers) : "";

    CliResult result = runCli({"run", program.string()}, input);
    EXPECT_EQ(result.exitStatus, kOk) << result.err;
    EXPECT_EQ(result.out, readFileBytes(expected));
    expectOnlyQuestions(result.err, lineCount(input));
}

// multiplication_table -> MultiplicationTable
std::string testName(const ::testing::TestParamInfo<std::filesystem::path>& info)
{
    std::string name;
    bool upper = true;
    for (char c : info.param.stem().string()) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            upper = true;
        } else {
            name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
            upper = false;
        }
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleProgram, ::testing::ValuesIn(examplePrograms()), testName);

TEST(CliRunExamples, AnswersAndExpectedOutputsBelongToAProgram)
{
    for (const auto& entry : std::filesystem::directory_iterator(TARNIK_EXAMPLES_DIR)) {
        const std::filesystem::path& path = entry.path();
        if (path.extension() != ".in" && path.extension() != ".out") continue;
        EXPECT_TRUE(std::filesystem::exists(sibling(path, ".bas"))) << path << " has no program";
    }
}

// ---- questions and answers -------------------------------------------------

TEST(CliRun, AsksOnStandardErrorWithoutALineEndAndEchoesTheAnswer)
{
    CliResult result = runSource("input a\ninput b\nprint a + b\n", "2\n40\n");
    EXPECT_EQ(result.exitStatus, kOk);
    EXPECT_EQ(result.out, "2\n40\n42\n");
    const std::string questions = question("a") + question("b");
    EXPECT_TRUE(result.err == questions || result.err == questions + "\n") << result.err;
}

TEST(CliRun, ReadsOneAnswerPerLine)
{
    struct Case {
        const char* name;
        const char* input;
        const char* out;
        long questions;
    };
    const Case cases[] = {
        {"an empty line asks again", "\n\n21\n", "21\n42\n", 3},
        {"CR LF is taken off the answer", "21\r\n", "21\n42\n", 1},
        {"an empty CR LF line asks again", "\r\n21\r\n", "21\n42\n", 2},
        {"the last line needs no line end", "21", "21\n42\n", 1},
        {"lines after the last INPUT are left unread", "21\n5\n6\n", "21\n42\n", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CliResult result = runSource("input a\nprint a * 2\n", c.input);
        EXPECT_EQ(result.exitStatus, kOk);
        EXPECT_EQ(result.out, c.out);
        expectOnlyQuestions(result.err, c.questions);
    }
}

TEST(CliRun, ConvertsAnswersToNumbers)
{
    struct Case {
        const char* answer;
        const char* printed;
    };
    const Case cases[] = {
        {"12", "12"},        {" 12 ", "12"},      {"+3", "3"},         {"-2.5", "-2.5"},  {".5", "0.5"},
        {"+.5", "0.5"},      {"5.", "5"},         {"007", "7"},        {"1e3", "1000"},   {"2.5E-1", "0.25"},
        {"-.5e+1", "-5"},    {"1E+20", "1E+20"},  {"-0", "0"},         {"0.1", "0.1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        CliResult result = runSource("a = 5\ninput a\nprint a\n", std::string(c.answer) + "\n");
        EXPECT_EQ(result.exitStatus, kOk) << result.err;
        // The answer is echoed exactly as typed, blanks and all.
        EXPECT_EQ(result.out, std::string(c.answer) + "\n" + c.printed + "\n");
    }
}

TEST(CliRun, AnswerThatIsNotANumberIsEchoedAndStopsTheRun)
{
    struct Case {
        const char* answer;
        const char* errorLine;
    };
    const Case cases[] = {
        {"abc", "错误 13: 类型不匹配(第3行)"},     {"12abc", "错误 13: 类型不匹配(第3行)"},
        {"1,5", "错误 13: 类型不匹配(第3行)"},     {"1 2", "错误 13: 类型不匹配(第3行)"},
        {"0x10", "错误 13: 类型不匹配(第3行)"},    {"1e", "错误 13: 类型不匹配(第3行)"},
        {".", "错误 13: 类型不匹配(第3行)"},       {"e5", "错误 13: 类型不匹配(第3行)"},
        {"--1", "错误 13: 类型不匹配(第3行)"},     {"inf", "错误 13: 类型不匹配(第3行)"},
        {"nan", "错误 13: 类型不匹配(第3行)"},     {"   ", "错误 13: 类型不匹配(第3行)"},
        {"1e400", "错误 6: 溢出(第3行)"},          {"-1e400", "错误 6: 溢出(第3行)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        CliResult result = runSource("print \"start\"\na = 5\ninput a\nprint a\n", std::string(c.answer) + "\n");
        EXPECT_EQ(result.exitStatus, kProgramError);
        EXPECT_EQ(result.out, "start\n" + std::string(c.answer) + "\n");
        EXPECT_EQ(result.err, question("a") + "\n" + c.errorLine + "\n");
    }
}

TEST(CliRun, EndOfInputStopsWithErrorSixtyTwoOnALineOfItsOwn)
{
    struct Case {
        const char* name;
        const char* source;
        const char* input;
        const char* out;
        long questions;
        const char* errorLine;
    };
    const Case cases[] = {
        {"no input at all", "print 1\ninput a\nprint a\n", "", "1\n", 1, "错误 62: 输入超出文件尾(第2行)"},
        {"only empty lines", "print 1\ninput a\nprint a\n", "\n\n", "1\n", 3, "错误 62: 输入超出文件尾(第2行)"},
        {"the second of two answers missing", "input a\nprint a\ninput b\nprint b\n", "7\n", "7\n7\n", 2,
         "错误 62: 输入超出文件尾(第3行)"},
        {"a prompt and a variable on one editor line", "\n\ninput \"几岁？\"; age\nprint age\n", "", "几岁？\n", 1,
         "错误 62: 输入超出文件尾(第3行)"},
        {"inside a loop", "do while 1\ninput a\nprint a * a\nloop\n", "3\n4\n", "3\n9\n4\n16\n", 3,
         "错误 62: 输入超出文件尾(第2行)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CliResult result = runSource(c.source, c.input);
        EXPECT_EQ(result.exitStatus, kProgramError);
        EXPECT_EQ(result.out, c.out);
        ASSERT_TRUE(result.err.ends_with(std::string("\n") + c.errorLine + "\n")) << result.err;
        const Questions questions = splitQuestions(result.err);
        EXPECT_EQ(questions.count, c.questions);
        EXPECT_EQ(questions.rest, std::string("\n") + c.errorLine + "\n");
    }
}

TEST(CliRun, QuoteInACommentLeavesCapitalisedKeywordsWorking)
{
    struct Case {
        const char* source;
        int exitStatus;
        const char* out;
        const char* err;
    };
    const Case cases[] = {
        {"' 屏幕是 15\" 的\nFor i = 1 To 3\n    Print i;\nNext\nIf i > 3 Then Print \"Done\"\n", kOk, "123Done\n", ""},
        {"X = 2 ' 他说\"你好\nDo While X > 0\n    Print X;\n    X = X - 1\nLoop\n", kOk, "21", ""},
        {"For i = 1 To 2\n    Print i;\nNext\nPrint \"Ab\nPrint \"End\"\n", kProgramError, "",
         "错误 202: 表达式print \"Ab错误(第4行)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        CliResult result = runSource(c.source);
        EXPECT_EQ(result.exitStatus, c.exitStatus);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, c.err);
    }
}

// ---- line ends and text ----------------------------------------------------

TEST(CliRun, WritesLineFeedsUnlessAskedToKeepCrLf)
{
    const char* source = "print 1\nprint \"a\", \"b\"\ninput x\nprint \"甲\"; x;\n";
    CliResult plain = runSource(source, "7\n");
    EXPECT_EQ(plain.exitStatus, kOk);
    EXPECT_EQ(plain.out, "1\na\tb\n7\n甲7");

    CliResult kept = runSource(source, "7\n", {"--crlf"});
    EXPECT_EQ(kept.exitStatus, kOk);
    EXPECT_EQ(kept.out, "1\r\na\tb\r\n7\r\n甲7");
}

TEST(CliRun, SourceLineEndsAndEncodingDoNotChangeTheOutput)
{
    struct Case {
        const char* name;
        std::string source;
    };
    const Case cases[] = {
        {"LF", "print \"你好\"\nprint 2\n"},
        {"CR LF", "print \"你好\"\r\nprint 2\r\n"},
        {"lone CR", "print \"你好\"\rprint 2\r"},
        {"byte-order mark", "\xEF\xBB\xBF" "print \"你好\"\nprint 2"},
        {"GBK", "print \"\xC4\xE3\xBA\xC3\"\r\nprint 2\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CliResult result = runSource(c.source);
        EXPECT_EQ(result.exitStatus, kOk);
        EXPECT_EQ(result.out, "你好\n2\n");
        EXPECT_EQ(result.err, "");
    }
}

// ---- the statement limit ---------------------------------------------------

TEST(CliRun, MaxStepsStopsBeforeTheStatementPastTheLimit)
{
    struct Case {
        const char* source;
        const char* limit;
        int exitStatus;
        const char* out;
    };
    const Case cases[] = {
        {"print 1\nprint 2\nprint 3\n", "3", kOk, "1\n2\n3\n"},
        {"print 1\nprint 2\nprint 3\n", "2", kStepLimit, "1\n2\n"},
        {"print 1\nprint 2\nprint 3\n", "0", kStepLimit, ""},
        {"\n' nothing to run\n", "0", kOk, ""},
        {"print 1\nend\nprint 2\n", "2", kOk, "1\n"},
        {"10 print 1;\ngoto 10\n", "7", kStepLimit, "1111"},
        // The FOR line once, then 30000 passes of three lines: 90001 statements before the PRINT.
        {"for i = 1 to 30000\nx = x + 1\ny = y + 1\nnext\nprint x\n", "90001", kStepLimit, ""},
        {"for i = 1 to 30000\nx = x + 1\ny = y + 1\nnext\nprint x\n", "90002", kOk, "30000\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.source) + " --max-steps " + c.limit);
        CliResult result = runSource(c.source, "", {"--max-steps", c.limit});
        EXPECT_EQ(result.exitStatus, c.exitStatus);
        EXPECT_EQ(result.out, c.out);
        if (c.exitStatus == kStepLimit) {
            EXPECT_EQ(lineCount(result.err), 1) << result.err;
            EXPECT_NE(result.lastErrorLine().find(c.limit), std::string::npos) << result.err;
        } else {
            EXPECT_EQ(result.err, "");
        }
    }
}

TEST(CliRun, EndlessJumpLoopsKeepTheirMemoryFlat)
{
    constexpr long kMemoryCeilingKilobytes = 64 * 1024;
    const char* limit = "50000000";
    for (const char* source : {"10 goto 10\n", "10 gosub 10\n", "10 x = x + 1\ngoto 10\n"}) {
        SCOPED_TRACE(source);
        CliResult result = runSource(source, "", {"--max-steps", limit});
        EXPECT_EQ(result.exitStatus, kStepLimit);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.lastErrorLine().find(limit), std::string::npos) << result.err;
        EXPECT_GT(result.peakResidentKilobytes, 0);
        EXPECT_LT(result.peakResidentKilobytes, kMemoryCeilingKilobytes);
    }
}

// ---- bad command lines -----------------------------------------------------

TEST(CliRun, BadCommandLinesAndMissingFilesExitWithTwo)
{
    TempFile file("print 1\n");
    const std::string missing = file.path() + ".missing";
    const std::vector<std::string> commandLines[] = {
        {"run"},
        {"run", file.path(), file.path()},
        {"run", "--max-steps"},
        {"run", file.path(), "--max-steps"},
        {"run", "--max-steps", "many", file.path()},
        {"run", "--max-steps", "-1", file.path()},
        {"run", "--max-steps", "1.5", file.path()},
        {"run", "--fast", file.path()},
        {"run", missing},
        {"run", TARNIK_EXAMPLES_DIR},
        {"format", "--max-steps", "5", file.path()},
    };
    for (const auto& arguments : commandLines) {
        CliResult result = runCli(arguments);
        SCOPED_TRACE(result.err);
        EXPECT_EQ(result.exitStatus, kFailure);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err, "");
    }
    // The reason in the user's words, naming the file.
    const std::string missingError = runCli({"run", missing}).err;
    EXPECT_NE(missingError.find(missing), std::string::npos);
    EXPECT_NE(missingError.find("文件不存在"), std::string::npos) << missingError;
    const std::string folderError = runCli({"run", TARNIK_EXAMPLES_DIR}).err;
    EXPECT_NE(folderError.find("这是一个文件夹"), std::string::npos) << folderError;
}

}  // namespace
}  // namespace tarnik::test
