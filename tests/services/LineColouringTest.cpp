// The editor's colouring reads a line as the translator does. Each case gives
// the line and, under it, one letter per character: k keyword, n number,
// s literal, u unclosed literal, c comment, l label, o operator, and a blank
// for a character in no stretch.
#include <gtest/gtest.h>

#include <string>

#include "services/LineColouring.h"
#include "support/TestSupport.h"

namespace tarnik {
namespace {

char letterOf(LineStretchKind kind)
{
    switch (kind) {
    case LineStretchKind::Keyword: return 'k';
    case LineStretchKind::Number: return 'n';
    case LineStretchKind::Literal: return 's';
    case LineStretchKind::UnclosedLiteral: return 'u';
    case LineStretchKind::Comment: return 'c';
    case LineStretchKind::Label: return 'l';
    case LineStretchKind::Operator: return 'o';
    }
    return '?';
}

// The stretches drawn as letters under the line; '!' where two overlap.
std::string paint(const std::u16string& line)
{
    std::string letters(line.size(), ' ');
    std::size_t previousEnd = 0;
    for (const LineStretch& stretch : colourLine(line)) {
        EXPECT_GE(stretch.start, previousEnd) << "stretches out of order or overlapping";
        EXPECT_GT(stretch.length, 0u);
        for (std::size_t i = stretch.start; i < stretch.start + stretch.length && i < line.size(); ++i) {
            letters[i] = letters[i] == ' ' ? letterOf(stretch.kind) : '!';
        }
        previousEnd = stretch.start + stretch.length;
        EXPECT_LE(previousEnd, line.size());
    }
    return letters;
}

struct Case {
    std::u16string line;
    std::string letters;
};

TEST(LineColouring, ReadsEachLineAsTheTranslatorDoes)
{
    const Case cases[] = {
        {u"", ""},
        {u"    ", "    "},
        {u"print x", "kkkkk  "},
        {u"PRINT X", "kkkkk  "},  // the translator lower-cases the program first
        {u"If a <> b Then", "kk   oo   kkkk"},
        {u"x = 3.5 * (y + 2)", "  o nnn o o  o no"},
        {u"for i = 1 to 10 step -2", "kkk   o n kk nn kkkk on"},
        {u"print \"a'b\" ' 注释", "kkkkk sssss cccc"},  // no comment inside a literal
        {u"print \"没有结束", "kkkkk uuuuu"},
        {u"print \"open ' still open", "kkkkk uuuuuuuuuuuuuuuuuu"},
        {u"x = 1 ' \"unpaired", "  o n ccccccccccc"},
        {u"' 九九乘法表：两层 FOR 循环", "ccccccccccccccccc"},
        {u"10 print 1", "ll kkkkk n"},
        {u"  -5 goto 10", "  ll kkkk nn"},
        {u"20", "ll"},
        {u"20 ' 只有行号", "ll cccccc"},
        {u"x1 = 2", "   o n"},
        {u"a = 1e5", "  o n  "},  // the number 1, then the name e5
        {u"a = 1.2.3", "  o      "},  // no number the evaluator would take
        {u"score = 7 mod 3", "      o n kkk n"},  // «score» is a name, not «sc or e»
        {u"r = 7mod3", "  o nkkkn"},            // the evaluator's operators inside a name
        {u"y = x2and3.5", "  o   kkknnn"},
        {u"y = axor2 + xor2", "  o       o kkkn"},
        {u"y = sqr2", "  o kkkn"},
        {u"notes = andy", "      o     "},
        {u"print a; b, c", "kkkkk  o  o  "},
        {u"end if", "kkk kk"},
        {u"case 1 to 3, 5", "kkkk n kk no n"},
        {u"while not done", "kkkkk kkk     "},
        {u"print 中文", "kkkkk   "},
        {u"print \"\"", "kkkkk ss"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(test::utf8(c.line));
        EXPECT_EQ(paint(c.line), c.letters);
    }
}

TEST(LineColouring, StretchesKeepUtf16Positions)
{
    const std::u16string line = u"print \"𠀀\" ' 𠀀";  // a character held as two units
    const std::vector<LineStretch> stretches = colourLine(line);
    ASSERT_EQ(stretches.size(), 3u);
    EXPECT_EQ(stretches[1], (LineStretch{6, 4, LineStretchKind::Literal}));
    EXPECT_EQ(stretches[2], (LineStretch{11, 4, LineStretchKind::Comment}));
}

}  // namespace
}  // namespace tarnik
