// tarnik-cli explain, run as a child process.
#include <gtest/gtest.h>

#include <string>

#include "expr/Errors.h"
#include "services/help/ErrorHelp.h"
#include "services/SourceText.h"
#include "support/CliRunner.h"

namespace tarnik::test {
namespace {

constexpr int kOk = 0;
constexpr int kFailure = 2;

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

TEST(CliExplain, PrintsTheErrorLineThenMeaningCausesAndBothPrograms)
{
    const CliResult result = runCli({"explain", "11"});
    EXPECT_EQ(result.exitStatus, kOk);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(firstLine(result.out), "错误 11: 除数为零");
    EXPECT_EQ(result.out, toUtf8(explanationText(kDivisionByZero)));
    EXPECT_NE(result.out.find("\n    Print 10 / a\n"), std::string::npos) << result.out;
}

TEST(CliExplain, NumberWithTwoMessagesExplainsBoth)
{
    const CliResult result = runCli({"explain", "303"});
    EXPECT_EQ(result.exitStatus, kOk);
    EXPECT_EQ(firstLine(result.out), "错误 303: Loop没有Do While");
    EXPECT_NE(result.out.find("\n\n错误 303: For没有Next\n"), std::string::npos) << result.out;
}

// An open quote and a missing ")" both give 202; the explanation names both.
TEST(CliExplain, ErrorOfAnUnpairedQuoteOrBracketNamesBothCauses)
{
    for (const char* source : {"print \"hello\n", "print (1 + 2\n"}) {
        TempFile program(source);
        EXPECT_TRUE(runCli({"run", program.path()}).lastErrorLine().starts_with("错误 202: ")) << source;
    }
    const CliResult result = runCli({"explain", "202"});
    EXPECT_EQ(result.exitStatus, kOk);
    EXPECT_NE(result.out.find("例如 Print \"hello"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("例如 Print (1 + 2"), std::string::npos) << result.out;
}

TEST(CliExplain, EveryNumberOfTheTableIsExplained)
{
    for (const ErrorText* row : kErrorTable) {
        const CliResult result = runCli({"explain", std::to_string(row->number)});
        EXPECT_EQ(result.exitStatus, kOk) << row->number;
        EXPECT_NE(result.out.find(toUtf8(explanationText(*row))), std::string::npos) << row->number;
    }
}

TEST(CliExplain, NumberNeverRaisedIsRefusedInChinese)
{
    for (const char* number : {"7", "0", "-5", "99999"}) {
        const CliResult result = runCli({"explain", number});
        EXPECT_EQ(result.exitStatus, kFailure) << number;
        EXPECT_EQ(result.out, "") << number;
        EXPECT_EQ(result.err, std::string("tarnik-cli explain：没有编号为 ") + number +
                                  " 的错误。运行程序时报告的“错误 N”才有解释。\n");
    }
}

TEST(CliExplain, ArgumentThatIsNotOneNumberIsAUsageError)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"explain"}, {"explain", "abc"}, {"explain", "30x"}, {"explain", "11", "12"}}) {
        const CliResult result = runCli(arguments);
        EXPECT_EQ(result.exitStatus, kFailure);
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(result.err.starts_with("tarnik-cli explain：")) << result.err;
        EXPECT_NE(result.err.find("tarnik-cli explain N"), std::string::npos) << result.err;
    }
}

}  // namespace
}  // namespace tarnik::test
