// The kind of difference a failed case's line names, for outputs as the
// test command compares them (every line end alike, blanks kept).
#include <gtest/gtest.h>

#include "services/SourceText.h"
#include "services/DifferenceKind.h"
#include "services/TestCases.h"

namespace tarnik::test {
namespace {

TEST(DifferenceKind, NamesTheSlipOfTheFirstDifferingLine)
{
    struct Case {
        std::u16string_view expected;
        std::u16string_view actual;
        DifferenceKind kind;
        std::u16string_view text;
        bool expectedWhole = true;  // false: only the start of the expected output was read
    };
    const Case cases[] = {
        {u"1\n2\n", u"1 \r\n2\r\n", DifferenceKind::TrailingBlanks, u"只差行末空格"},
        {u"a b\n", u"a  b\r\n", DifferenceKind::Blanks, u"只差空格"},
        {u"1\n2\n3\n", u"1\r\n2\r\n", DifferenceKind::MissingLines, u"少了最后一行"},
        {u"1\n2\n3\n", u"1\r\n", DifferenceKind::MissingLines, u"少了最后 2 行"},
        {u"1\n2\n3\n", u"1\r\n3\r\n", DifferenceKind::MissingLines, u"少了一行"},
        {u"1\n2\n3\n", u"1\r\n", DifferenceKind::MissingLines, u"少了最后至少 2 行", false},
        {u"1\n2\n", u"1\r\n", DifferenceKind::MissingLines, u"少了最后至少一行", false},
        {u"1\n2\n", u"1\r\n2", DifferenceKind::MissingLineEnd, u"最后少了换行"},
        {u"1\n", u"1\r\n\r\n", DifferenceKind::ExtraEmptyLines, u"最后多了空行"},
        {u"1\n", u"1\r\n2\r\n", DifferenceKind::ExtraLines, u"多了一行"},
        {u"1\n3\n", u"1\r\nx\r\ny\r\n3\r\n", DifferenceKind::ExtraLines, u"多了 2 行"},
        {u"s = 3\n", u"s = 3.0\r\n", DifferenceKind::NumberWriting, u"数字写法不同：期望 3，实际 3.0"},
        {u"0.5 1E+20\n", u"0.5 100000000000000000000\r\n", DifferenceKind::NumberWriting,
         u"数字写法不同：期望 1E+20，实际 100000000000000000000"},
        {u"1,2\n", u"1，2\r\n", DifferenceKind::FullWidth, u"全角/半角不同：期望 «,»，实际 «，»"},
        {u"和：5\n", u"和:5\r\n", DifferenceKind::FullWidth, u"全角/半角不同：期望 «：»，实际 «:»"},
        {u"1 2\n", u"1\r\n2\r\n", DifferenceKind::LineBreaks, u"只差空格和换行的位置"},
        {u"s = 3\n", u"s = 4\r\n", DifferenceKind::Content, u"内容不同"},
        {u"3\n", u"3.5\r\n", DifferenceKind::Content, u"内容不同"},
        {u"a\nb\n", u"x\r\n", DifferenceKind::Content, u"内容不同"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(toUtf8(c.actual));
        const std::optional<OutputDifference> first = firstDifference(c.expected, c.actual);
        ASSERT_TRUE(first);
        const DifferenceDescription found = describeDifference(outputLines(c.expected), outputLines(c.actual),
                                                               static_cast<std::size_t>(first->line - 1),
                                                               c.expectedWhole);
        EXPECT_EQ(found.kind, c.kind);
        EXPECT_EQ(toUtf8(found.text), toUtf8(c.text));
    }
}

}  // namespace
}  // namespace tarnik::test
