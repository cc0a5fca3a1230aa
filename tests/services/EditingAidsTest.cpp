#include "services/EditingAids.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace tarnik {
namespace {

struct EnterCase {
    std::u16string_view line;  // the caret line left of the caret
    int blanks;
};

TEST(EditingAids, EnterIndentsAfterLinesThatOpenABlock)
{
    const EnterCase cases[] = {
        {u"    for i = 1 to 3", 8},
        {u"if a = 1 then", 4},
        {u"if a = 1 then print a", 0},  // a one-line IF opens nothing
        {u"    next", 4},                // closing lines keep their indentation
        {u"do", 4},
        {u"case else", 4},
        {u"  do while x < 3", 6},
        {u"select case x", 4},
        {u"case 1, 2", 4},
        {u"elseif a = 2 then", 4},
        {u"else", 4},
        {u"while x", 4},
        {u"x = 1", 0},
        {u"      ", 6},
        {u"", 0},
        {u"if x then print 1 else print 2", 0},
        {u"if x", 0},                    // no THEN yet: counts as one-line
        {u"   if a THEN", 3 + 4},        // THEN in capitals still ends the block IF's text
        {u"ifx = 1", 0},
    };
    for (const EnterCase& c : cases) {
        SCOPED_TRACE(test::utf8(c.line));
        EXPECT_EQ(indentationAfterEnter(c.line), c.blanks);
    }
}

TEST(EditingAids, CapitalisedLinesIndentAsTheirLowerCaseForm)
{
    const EnterCase cases[] = {
        {u"If s >= 90 Then", 4},
        {u"    For i = 1 To 10", 8},
        {u"Do While x", 4},
        {u"Select Case n", 4},
        {u"Case 1, 2", 4},
        {u"Case Else", 4},
        {u"Elseif a = 2 Then", 4},
        {u"Else", 4},
        {u"  While X < 3", 6},
        {u"Do", 4},
        {u"FOR I = 1 TO 3", 4},
        {u"If x Then Print 1", 0},
        {u"If x Then Print 1 Else Print 2", 0},
        {u"    Next", 4},
        {u"Loop Until x > 3", 0},
        {u"End If", 0},
        {u"Print \"IF\"", 0},
    };
    for (const EnterCase& c : cases) {
        SCOPED_TRACE(test::utf8(c.line));
        EXPECT_EQ(indentationAfterEnter(c.line), c.blanks);
    }
}

TEST(EditingAids, BackspaceRemovesAWholeStepOnlyAfterFourBlanks)
{
    EXPECT_TRUE(removesIndentStep(u"x\r\n        "));
    EXPECT_TRUE(removesIndentStep(u"    "));
    EXPECT_FALSE(removesIndentStep(u"   "));
    EXPECT_FALSE(removesIndentStep(u"    x"));
    EXPECT_FALSE(removesIndentStep(u""));
}

}  // namespace
}  // namespace tarnik
