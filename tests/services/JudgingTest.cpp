// The judging rules that the command-line tests reach only through whole
// runs: how outputs compare (AC, PE, WA and the line named), the natural
// order of case names, and when two programs count as the same.
#include <gtest/gtest.h>

#include "services/ClassGrading.h"
#include "services/Judging.h"
#include "services/OjCases.h"

namespace tarnik::test {
namespace {

TEST(Judging, OutputsCompareAsOnlineJudgesDo)
{
    struct Case {
        std::u16string_view expected;
        std::u16string_view actual;
        Verdict verdict;
        std::int32_t line;  // the line WA and PE name
    };
    const Case cases[] = {
        {u"3\n", u"3\r\n", Verdict::AC, 0},
        {u"3\n4\n", u"3  \t\r\n4\r\n\r\n\r\n", Verdict::AC, 0},
        {u"3\n\n\n", u"3", Verdict::AC, 0},
        {u"1 2\n", u"1  2\n", Verdict::PE, 1},
        {u"1 2\n", u"12\n", Verdict::PE, 1},
        {u"a\nb\n", u"a\n\nb\n", Verdict::PE, 2},
        {u"a\nb\n", u" a\nb\n", Verdict::PE, 1},
        {u"3\n", u"4\n", Verdict::WA, 1},
        {u"3\n4\n", u"3\n", Verdict::WA, 2},
        {u"", u"x", Verdict::WA, 1},
    };
    for (const Case& c : cases) {
        const JudgeResult result = compareOutputs(c.expected, c.actual);
        EXPECT_EQ(result.verdict, c.verdict) << std::string(c.expected.begin(), c.expected.end());
        if (c.verdict != Verdict::AC) EXPECT_EQ(result.difference.line, c.line);
    }
}

TEST(Judging, CaseNamesInNaturalOrder)
{
    std::vector<std::u16string> names{u"10", u"2", u"1", u"a10", u"a9", u"b", u"a09x", u"002", u"样例2", u"样例10"};
    std::sort(names.begin(), names.end(), naturalLess);
    const std::vector<std::u16string> expected{u"1", u"002", u"2", u"10", u"a9", u"a09x", u"a10", u"b", u"样例2",
                                               u"样例10"};
    EXPECT_EQ(names, expected);
}

TEST(Judging, ProgramsAreTheSameOnceFormattedWithoutCommentsBlankLinesAndIndentation)
{
    const std::u16string plain = samenessKey(u"input a\r\nprint a * 2\r\n");
    EXPECT_EQ(samenessKey(u"' 乘以二\r\n\r\n   INPUT a\r\nPRINT a*2 ' 结果\r\n"), plain);
    EXPECT_NE(samenessKey(u"input a\r\nprint a * 3\r\n"), plain);
    EXPECT_NE(samenessKey(u"input a\r\nprint \"a ' b\"\r\n"), samenessKey(u"input a\r\nprint \"a \"\r\n"));
}

}  // namespace
}  // namespace tarnik::test
