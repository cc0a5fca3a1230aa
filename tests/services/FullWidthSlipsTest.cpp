// Full-width slips are found in code only. Each case gives the line, the
// line with every slip replaced by the character it names, and the warning
// of its first slip.
#include <gtest/gtest.h>

#include <string>

#include "services/FullWidthSlips.h"
#include "support/TestSupport.h"

namespace tarnik {
namespace {

using test::utf8;

struct Case {
    std::u16string line;
    std::u16string converted;  // the line itself when it has no slip
    std::u16string firstWarning;
};

const Case kCases[] = {
    {u"print （1，2）", u"print (1,2)", u"此处是全角符号“（”，程序需要半角“(”"},
    {u"x ＝ １２", u"x = 12", u"此处是全角符号“＝”，程序需要半角“=”"},
    {u"x = １", u"x = 1", u"此处是全角数字“１”，程序需要半角“1”"},
    {u"ｐｒｉｎｔ 1", u"print 1", u"此处是全角字母“ｐ”，程序需要半角“p”"},
    {u"a = 1；b = 2", u"a = 1;b = 2", u"此处是全角符号“；”，程序需要半角“;”"},
    {u"x = 3。5", u"x = 3.5", u"此处是全角符号“。”，程序需要半角“.”"},
    {u"print　x", u"print x", u"此处是全角空格，程序需要半角空格"},
    {u"if a ＜＞ b then", u"if a <> b then", u"此处是全角符号“＜”，程序需要半角“<”"},
    // Literals and comments keep what was typed.
    {u"print \"（你好，世界）\"", u"print \"（你好，世界）\"", {}},
    {u"print 1 ' 注释（一），２", u"print 1 ' 注释（一），２", {}},
    {u"print \"it's\"， 1", u"print \"it's\", 1", u"此处是全角符号“，”，程序需要半角“,”"},
    // Full-width quotes open and close a literal; what they hold is meant
    // as literal text.
    {u"print “你好，世界”", u"print \"你好，世界\"", u"此处是全角符号““”，程序需要半角“\"”"},
    {u"print “a，b\"； 1", u"print \"a，b\"; 1", u"此处是全角符号““”，程序需要半角“\"”"},
    {u"print ＂x＂", u"print \"x\"", u"此处是全角符号“＂”，程序需要半角“\"”"},
    // A full-width apostrophe starts a comment.
    {u"x = 1 ‘ 说明：（一）", u"x = 1 ' 说明：（一）", u"此处是全角符号“‘”，程序需要半角“'”"},
    {u"x = 1 ＇ 说明（一）", u"x = 1 ' 说明（一）", u"此处是全角符号“＇”，程序需要半角“'”"},
    // A literal left open keeps the rest of the line.
    {u"print \"open （", u"print \"open （", {}},
    // Chinese names and text are no slips.
    {u"总数 = 总数 + 1", u"总数 = 总数 + 1", {}},
    {u"", u"", {}},
};

// The line with every slip replaced by its half-width character.
std::u16string withHalfWidth(const std::u16string& line)
{
    std::u16string replaced(line);
    for (const FullWidthSlip& slip : fullWidthSlips(line)) {
        EXPECT_EQ(line[slip.start], slip.fullWidth);
        EXPECT_NE(slip.fullWidth, slip.halfWidth);
        replaced[slip.start] = slip.halfWidth;
    }
    return replaced;
}

TEST(FullWidthSlips, OnlyTheCodeOutsideLiteralsAndCommentsIsConverted)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(utf8(c.line));
        EXPECT_EQ(utf8(withHalfWidth(c.line)), utf8(c.converted));
        const std::vector<FullWidthSlip> slips = fullWidthSlips(c.line);
        ASSERT_EQ(slips.empty(), c.firstWarning.empty());
        if (!slips.empty()) {
            EXPECT_EQ(utf8(slipWarning(slips.front())), utf8(c.firstWarning));
        }
    }
}

TEST(FullWidthSlips, PositionsCountUtf16UnitsOfTheLine)
{
    const std::vector<FullWidthSlip> slips = fullWidthSlips(u"名字𠀀 = （１）");
    const std::vector<FullWidthSlip> expected = {{7, u'（', u'('}, {8, u'１', u'1'}, {9, u'）', u')'}};
    EXPECT_EQ(slips, expected);
}

TEST(FullWidthSlips, ConvertedLinesHaveNoSlipsLeft)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(utf8(c.line));
        EXPECT_TRUE(fullWidthSlips(withHalfWidth(c.line)).empty());
    }
}

TEST(FullWidthSlips, WarningsOfAProgramNameTheirLines)
{
    const std::u16string program = u"x = 1\r\nprint （x）\r\n' （注释）\nprint \"，\"\ry ＝ ２\r\n";
    const std::vector<FullWidthWarning> expected = {
        {2, u"此处是全角符号“（”，程序需要半角“(”"},
        {2, u"此处是全角符号“）”，程序需要半角“)”"},
        {5, u"此处是全角符号“＝”，程序需要半角“=”"},
        {5, u"此处是全角数字“２”，程序需要半角“2”"},
    };
    EXPECT_EQ(fullWidthWarnings(program), expected);
    EXPECT_TRUE(fullWidthWarnings(u"").empty());
}

}  // namespace
}  // namespace tarnik
