#include "interp/clsLine.h"

#include <gtest/gtest.h>

#include "expr/TextHelpers.h"
#include "interp/clsCode.h"
#include "support/TestSupport.h"

namespace tarnik {
namespace {

using test::utf8;

struct HeadCase {
    std::u16string_view text;
    std::u16string_view head;
    std::u16string_view body;
};

void expectHeadAndBody(const HeadCase& c)
{
    SCOPED_TRACE("line: " + utf8(c.text));
    clsLine line;
    line.strText = c.text;
    EXPECT_EQ(utf8(line.Head()), utf8(c.head));
    EXPECT_EQ(utf8(line.Body()), utf8(c.body));
}

TEST(LineRecord, HeadAndBodySplitTheStatementKeywordOff)
{
    const HeadCase cases[] = {
        {u"print", u"print", u""},                  {u"print x; y", u"print", u"x; y"},
        {u"printx = 1", u"", u"printx = 1"},        {u"next", u"next", u""},
        {u"next i", u"", u"next i"},                {u"end1 = 5", u"", u"end1 = 5"},
        {u"end if", u"end if", u""},                {u"end", u"end", u""},
        {u"case else x", u"", u"case else x"},      {u"do while x < 3", u"do while", u"x < 3"},
        {u"do", u"do", u""},                        {u"elseif a = 2 then", u"elseif", u"a = 2 then"},
        {u"if x > 1 then", u"if", u"x > 1 then"},   {u"if(x>1) then y = 1", u"", u"if(x>1) then y = 1"},
        {u"input a, b", u"input", u"a, b"},         {u"x = 1", u"", u"x = 1"},
        {u"", u"", u""},                            {u"print   x", u"print", u"x"},
    };
    for (const HeadCase& c : cases) expectHeadAndBody(c);
}

// The walk stops at the first keyword matching the start of the line, so each
// longer keyword must win over the shorter one it begins with.
TEST(LineRecord, LongerKeywordsWinOverTheirPrefixes)
{
    const HeadCase cases[] = {
        {u"end select", u"end select", u""},   {u"elseif x", u"elseif", u"x"},
        {u"else", u"else", u""},               {u"do while", u"do while", u""},
        {u"loop until x", u"loop until", u"x"}, {u"loop", u"loop", u""},
        {u"case else", u"case else", u""},     {u"case 1, 2", u"case", u"1, 2"},
        {u"exit for", u"exit for", u""},       {u"exit do", u"exit do", u""},
        {u"select case x", u"select case", u"x"}, {u"while x", u"while", u"x"},
        {u"wend", u"wend", u""},               {u"stop", u"stop", u""},
        {u"return", u"return", u""},           {u"for i = 1 to 3", u"for", u"i = 1 to 3"},
        {u"goto 10", u"goto", u"10"},          {u"gosub 20", u"gosub", u"20"},
    };
    for (const HeadCase& c : cases) expectHeadAndBody(c);
}

TEST(LineRecord, KeywordsNeedTheirExactForm)
{
    const HeadCase cases[] = {
        // A whole-line keyword must be the entire line; the walk then stops.
        {u"stop 1", u"", u"stop 1"},
        {u"return x", u"", u"return x"},
        {u"else if x", u"", u"else if x"},
        {u"do x", u"", u"do x"},
        {u"end select x", u"", u"end select x"},
        {u"exit fo", u"", u"exit fo"},
        // A prefix keyword needs a blank or the end of the line after it.
        {u"gosub", u"gosub", u""},
        {u"goto10", u"", u"goto10"},
        {u"print\tx", u"", u"print\tx"},
        {u"while", u"while", u""},
        // Keywords are compared exactly, in lower case.
        {u"PRINT x", u"", u"PRINT x"},
        {u"End", u"", u"End"},
    };
    for (const HeadCase& c : cases) expectHeadAndBody(c);
}

TEST(ProgramObject, StartsWithSlotZeroOnly)
{
    clsCode code;
    ASSERT_EQ(code.Lines.size(), 1u);
    EXPECT_TRUE(code.Lines[0].strText.empty());
    EXPECT_EQ(code.LineCount, 0);
}

TEST(ProgramObject, InitKeepsTheTextLowerCasedOutsideLiterals)
{
    clsCode code;
    code.Init(u"IF X > 1 THEN\r\n  PRINT \"Big\"\r\nEND IF");
    EXPECT_EQ(utf8(code.strCode), "if x > 1 then\r\n  print \"Big\"\r\nend if");
}

TEST(ProgramObject, AnOpenLiteralLeavesTheKeywordsOfOtherLinesRecognised)
{
    clsCode code;
    code.Init(u"PRINT \"x\r\nEND IF");
    clsLine line;
    line.strText = splitLines(code.strCode).back();
    EXPECT_EQ(utf8(line.strText), "end if");
    EXPECT_EQ(line.Head(), u"end if");
}

}  // namespace
}  // namespace tarnik
