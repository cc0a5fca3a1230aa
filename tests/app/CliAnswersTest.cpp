// INPUT answers from standard input are read as `test` reads NAME.in: a
// UTF-8 byte-order mark dropped, a UTF-16 mark making the whole input
// UTF-16, CR LF, LF and a lone CR each ending a line; so `run < NAME.in` and
// `test` agree. The last question is closed with a line end when the run ends.
#include <gtest/gtest.h>

#include <string>

#include "support/CliRunner.h"
#include "support/TempFolder.h"

namespace tarnik::test {
namespace {

constexpr int kOk = 0;
constexpr int kProgramError = 1;

std::string utf16(std::string_view ascii, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : ascii) {
        const std::string unit = bigEndian ? std::string(1, '\0') + c : std::string(1, c) + '\0';
        bytes += unit;
    }
    return bytes;
}

TEST(CliAnswers, RunReadsEveryFormOfAnswerFileAsTestDoes)
{
    struct Case {
        const char* name;
        std::string answers;
    };
    const Case cases[] = {
        {"LF", "3\n4\n"},
        {"CR LF", "3\r\n4\r\n"},
        {"lone CR", "3\r4\r"},
        {"lone CR, no line end at the end", "3\r4"},
        {"mixed, with an empty line between", "3\r\n\r4\n"},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF" "3\n4\n"},
        {"UTF-8 byte-order mark and lone CRs", "\xEF\xBB\xBF" "3\r4\r"},
        {"UTF-16 little-endian", utf16("3\r\n4\r\n", false)},
        {"UTF-16 big-endian, lone CRs", utf16("3\r4\r", true)},
        {"blanks around an answer", " 3 \n4\n"},
    };
    TempFile program("input a\ninput b\nprint a + b\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliResult run = runCli({"run", program.path()}, c.answers);
        EXPECT_EQ(run.exitStatus, kOk) << run.err;
        EXPECT_TRUE(run.out.ends_with("\n7\n")) << run.out;

        TempFolder folder;
        folder.write("a.in", c.answers);
        folder.write("a.out", run.out);
        const CliResult tested = runCli({"test", program.path(), folder.path().string()});
        EXPECT_EQ(tested.out, "a: 通过\n共 1 个: 通过 1 个, 未通过 0 个\n");
    }
}

TEST(CliAnswers, EchoShowsTheAnswerWithoutItsMarkOrLineEnd)
{
    TempFile program("input a\nprint a * 2\n");
    for (const std::string& answers : {std::string("\xEF\xBB\xBF" "21\r"), utf16("21\r", false)}) {
        const CliResult result = runCli({"run", program.path()}, answers);
        EXPECT_EQ(result.exitStatus, kOk) << result.err;
        EXPECT_EQ(result.out, "21\n42\n");
    }
}

// On its own line at the end of the run, whether the run ends normally, on
// an error or at the end of the input.
TEST(CliAnswers, QuestionLeftOpenIsClosedWhenTheRunEnds)
{
    struct Case {
        const char* source;
        const char* answers;
        int exitStatus;
        const char* err;
    };
    const Case cases[] = {
        {"input a\nprint a\n", "5\n", kOk, "输入整数[a]：\n"},
        {"input a\nprint 1 / 0\n", "5\r", kProgramError, "输入整数[a]：\n错误 11: 除数为零(第2行)\n"},
        {"input a\ninput b\n", "5", kProgramError, "输入整数[a]：输入整数[b]：\n错误 62: 输入超出文件尾(第2行)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        TempFile program(c.source);
        const CliResult result = runCli({"run", program.path()}, c.answers);
        EXPECT_EQ(result.exitStatus, c.exitStatus);
        EXPECT_EQ(result.err, c.err);
    }
}

}  // namespace
}  // namespace tarnik::test
