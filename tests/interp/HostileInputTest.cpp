// Whatever the editor holds, a run ends in an orderly way: with its output, or
// with an error that has a number and a line. These programs push the 16-bit
// limits, nest blocks thousands deep, write expressions tens of thousands of
// characters long and recurse without end; each must end as stated, without
// exhausting the C++ stack or the memory. How the time grows with such sizes
// is measured by bench/scaling_bench.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "interp/ProgramState.h"
#include "support/RecordingHost.h"
#include "support/TestSupport.h"

namespace tarnik {
namespace {

using test::RecordingHost;
using test::utf8;

std::u16string repeated(std::u16string_view piece, int count)
{
    std::u16string text;
    text.reserve(piece.size() * static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) text += piece;
    return text;
}

// `count` copies of a line, CR LF between them.
std::u16string lines(std::u16string_view line, int count)
{
    std::u16string text = repeated(std::u16string(line) + u"\r\n", count);
    text.resize(text.size() - 2);
    return text;
}

// The parts as lines of one text.
std::u16string joined(std::initializer_list<std::u16string> parts)
{
    std::u16string text;
    bool first = true;
    for (const std::u16string& part : parts) {
        if (!first) text += u"\r\n";
        first = false;
        text += part;
    }
    return text;
}

std::u16string utf16Number(int value) { return test::utf16(std::to_string(value)); }

// `depth` opening lines, the body, `depth` closing lines.
std::u16string nested(std::u16string_view open, std::u16string_view body, std::u16string_view close, int depth)
{
    return joined({lines(open, depth), std::u16string(body), lines(close, depth)});
}

// `depth` FOR loops, each over its own variable, once round.
std::u16string nestedFors(int depth)
{
    std::u16string text;
    for (int k = 0; k < depth; ++k) text += u"for v" + utf16Number(k) + u" = 1 to 1\r\n";
    return text + u"print 1\r\n" + lines(u"next", depth);
}

// if x = 1 then / elseif x = 2 then / ... / end if, each branch printing its number.
std::u16string elseIfChain(int branches)
{
    std::u16string text = u"x = " + utf16Number(branches - 1) + u"\r\nif x = 0 then\r\nprint 0";
    for (int k = 1; k < branches; ++k) {
        text += u"\r\nelseif x = " + utf16Number(k) + u" then\r\nprint " + utf16Number(k);
    }
    return text + u"\r\nend if";
}

struct HostileCase {
    const char* name;
    std::function<std::u16string()> source;  // made when the case runs: some are large
    std::u16string output;                    // the console, CR LF as LF
    std::u16string error;                     // "错误 N: DESCRIPTION(第L行)", or empty
    std::int64_t statementLimit = -1;         // the console is closed after this many
};

const HostileCase kCases[] = {
    // ---- the 16-bit line numbers, labels and bounds ----------------------
    {"ThirtyTwoThousandSevenHundredSixtySixStatementsRun",
     [] { return joined({lines(u"x = x + 1", 32765), u"print x"}); }, u"32765\n", u""},
    {"TheIndexCannotStepPastStatement32767",
     [] { return joined({lines(u"x = x + 1", 32766), u"print x"}); }, u"32766\n", u"错误 6: 溢出(第32767行)"},
    {"PhysicalLine32768Overflows", [] { return joined({u"print 1", lines(u"", 32767)}); }, u"",
     u"错误 6: 溢出(第32768行)"},
    {"Record32768OverflowsAtItsLine", [] { return lines(u"input a, b, c, d", 8192); }, u"",
     u"错误 6: 溢出(第8192行)"},

    // ---- lines longer than the word reader's 16-bit position ------------
    {"PrintOfAFortyThousandCharacterExpression",
     [] { return joined({u"print 1", u"print " + repeated(u"1+", 20000) + u"1"}); }, u"1\n",
     u"错误 6: 溢出(第2行)"},
    {"AssignmentOfAFortyThousandCharacterExpression", [] { return u"x = " + repeated(u"x+", 20000) + u"1"; }, u"",
     u"错误 6: 溢出(第1行)"},
    {"ConditionOfFortyThousandCharacters",
     [] { return joined({u"if " + repeated(u"1 = ", 10000) + u"1 then", u"print 1", u"end if"}); }, u"",
     u"错误 6: 溢出(第1行)"},
    {"FortyThousandCharacterLiteralIsPrinted", [] { return u"print \"" + repeated(u"ab", 20000) + u"\""; },
     repeated(u"ab", 20000) + u"\n", u""},
    {"FortyThousandCharacterCommentIsIgnored", [] { return joined({u"' " + repeated(u"x", 40000), u"print 1"}); },
     u"1\n", u""},
    {"NegationsThatOnlyTheRewriteMakesTooLong",
     [] { return u"print " + repeated(u"(-", 12000) + u"1" + repeated(u")", 12000); }, u"",
     u"错误 6: 溢出(第1行)"},

    // ---- blocks nested thousands deep ------------------------------------
    {"IfBlocksSixteenThousandDeep", [] { return nested(u"if 1 then", u"print 1", u"end if", 16000); }, u"1\n", u""},
    {"ForLoopsTenThousandDeep", [] { return nestedFors(10000); }, u"1\n", u""},
    {"DoLoopsTenThousandDeep", [] { return nested(u"do", u"print 1", u"loop until 0", 10000); }, u"1\n", u""},
    {"DoWhileLoopsTenThousandDeep",
     [] { return joined({nested(u"do while k = 0", u"k = 1", u"loop", 10000), u"print k"}); }, u"1\n", u""},
    {"SelectCaseEightThousandDeep", [] { return nested(u"select case 1\r\ncase 1", u"print 1", u"end select", 8000); },
     u"1\n", u""},
    {"ElseIfChainOfEightThousandBranches", [] { return elseIfChain(8000); }, u"7999\n", u""},
    {"UnclosedIfsFiveThousandDeep", [] { return lines(u"if 1 then", 5000); }, u"", u"错误 304: If没有End If(第5000行)"},

    // ---- expressions with tens of thousands of brackets or terms ---------
    {"FifteenThousandNestedBrackets",
     [] { return u"print " + repeated(u"(", 15000) + u"1" + repeated(u")", 15000); }, u"1\n", u""},
    {"SixteenThousandTerms", [] { return u"print " + repeated(u"1+", 15999) + u"1"; }, u"16000\n", u""},
    {"EightThousandNots", [] { return u"print " + repeated(u"not ", 8000) + u"0"; }, u"0\n", u""},
    {"FiveThousandNestedNegations",
     [] { return u"print " + repeated(u"(-", 5001) + u"1" + repeated(u")", 5001); }, u"-1\n", u""},
    {"TenThousandOpenBrackets", [] { return u"x = " + repeated(u"(", 10000) + u"1"; }, u"",
     u"错误 9: 下标越界(第1行)"},
    {"TenThousandClosingBrackets", [] { return u"x = 1" + repeated(u")", 10000); }, u"",
     u"错误 9: 下标越界(第1行)"},

    // ---- jumps that never come back --------------------------------------
    {"GosubThatNeverReturns", [] { return u"10 gosub 10"; }, u"", u"", 2'000'000},
    {"GotoLoopThatNeverEnds", [] { return joined({u"10 x = x + 1", u"goto 10"}); }, u"", u"", 2'000'000},
};

void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }

class HostileInput : public ::testing::TestWithParam<HostileCase> {
protected:
};

TEST_P(HostileInput, EndsInAnOrderlyWay)
{
    const HostileCase& c = GetParam();
    RecordingHost host;
    host.hideAfterStatements = c.statementLimit;
    const std::u16string source = c.source();
    const test::RunResult result = test::runProgram(source, host);

    EXPECT_EQ(utf8(result.output), utf8(c.output));
    EXPECT_EQ(utf8(result.error), utf8(c.error));
    if (c.statementLimit >= 0) {
        EXPECT_EQ(host.statements, c.statementLimit + 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, HostileInput, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<HostileCase>& param) { return param.param.name; });

}  // namespace
}  // namespace tarnik
