#include "services/LineFormatter.h"

#include <gtest/gtest.h>

#include "interp/ProgramState.h"
#include "support/TestSupport.h"

namespace tarnik {
namespace {

// The state these tests evaluate in, as a run's program object holds one.
ProgramState program;

using test::utf16;
using test::utf8;

struct Case {
    const char* line;
    const char* formatted;
};

class LineFormatter : public ::testing::Test {
protected:
    // The editor formats while a program runs: a run's pending error must
    // come through every call untouched.
    void SetUp() override
    {
        program.reset();
        program.Err.record(kOverflow);
    }

    static void expectFormats(std::initializer_list<Case> cases)
    {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.line);
            EXPECT_EQ(utf8(FormatLine(utf16(c.line))), c.formatted);
            EXPECT_EQ(program.Err.number(), kOverflow.number);
        }
    }
};

TEST_F(LineFormatter, SpacesWordsAndCapitalisesKeywords)
{
    expectFormats({
        {"X=ABS(Y)+1", "x = Abs (y) + 1"},
        {"PRINT \"MiXed\";A", "Print \"MiXed\"; a"},
        {"if a< >b then", "If a <> b Then"},
        {"a < = b", "a <= b"},
        {"a > = b", "a >= b"},
        {"if a<>b then", "If a <> b Then"},
        {"IF X>=1 AND X<=5 THEN", "If x >= 1 And x <= 5 Then"},
        {"for i=1 to 10 step 2", "For i = 1 To 10 Step 2"},
        {"next", "Next"},
        {"do while x<3", "Do While x < 3"},
        {"loop until x>3", "Loop Until x > 3"},
        {"select case x", "Select Case x"},
        {"case 1 to 5", "Case 1 To 5"},
        {"case else", "Case Else"},
        {"end select", "End Select"},
        {"elseif a=2 then", "Elseif a = 2 Then"},
        {"end if", "End If"},
        {"exit for", "Exit For"},
        {"exit do", "Exit Do"},
        {"while x", "While x"},
        {"wend", "Wend"},
        {"input \"a, b\";a,b", "Input \"a, b\"; a, b"},
        {"10 gosub 100", "10 Gosub 100"},
        {"goto 10", "Goto 10"},
        {"return", "Return"},
        {"stop", "Stop"},
        {"end", "End"},
        {"y=a xor b or not c", "y = a Xor b Or Not c"},
        {"r=n mod 7+sqr(x)", "r = n Mod 7 + Sqr (x)"},
    });
}

TEST_F(LineFormatter, RespacesEveryWord)
{
    expectFormats({
        {"   print   x", "Print x"},
        // The reader's last word before the end is a blank when the line ends in
        // blanks; it comes out as two blanks.
        {"print x ", "Print x  "},
        {"print x     ", "Print x  "},
        {"x=3.14*r^2", "x = 3.14 * r ^ 2"},
        {"total2=total2+1", "total2 = total2 + 1"},
        {"x=2y", "x = 2 y"},
        {"print(1,2);", "Print (1, 2);"},
        {"print a,b;c", "Print a, b; c"},
        {"x=((a))", "x = ((a))"},
        {"print \"a  b\";\"c\"", "Print \"a  b\"; \"c\""},
        {"\tprint x", "\t Print x"},
        // A character outside the Basic Multilingual Plane stays whole.
        {"print \U00020000", "Print \U00020000"},
        {"x=\U0001F600+\U0001F600", "x = \U0001F600 + \U0001F600"},
        {"print \"\U0001F600\";\U00020000 ' \U00020000", "Print \"\U0001F600\"; \U00020000 ' \U00020000"},
    });
}

TEST_F(LineFormatter, KeywordsInsideWordsLiteralsAndAfterParenthesesStayLowerCase)
{
    expectFormats({
        {"printx=1", "printx = 1"},
        {"score=total+ending", "score = total + ending"},
        {"print \"if then else\"", "Print \"if then else\""},
        {"y=(not x)", "y = (not x)"},
        {"x=abs(abs(y))", "x = Abs (abs (y))"},
        {"if (a and b) then", "If (a And b) Then"},
    });
}

TEST_F(LineFormatter, EqualKeywordsSideBySideShareTheirBlank)
{
    expectFormats({
        {"print print 1", "Print print 1"},
        {"print print print", "Print print Print"},
        {"to to", "To to"},
        {"if not not a then", "If Not Not a Then"},
        {"a and and b", "a And And b"},
        {"a or or b", "a Or Or b"},
        {"a and and and b", "a And And And b"},
    });
}

TEST_F(LineFormatter, LineTheReaderCannotReadComesBackUnchanged)
{
    expectFormats({
        {"print \"abc", "print \"abc"},
        {"PRINT  \"Abc", "PRINT  \"Abc"},
        {"X = \"a\" + \"B", "X = \"a\" + \"B"},
    });
}

TEST_F(LineFormatter, CommentIsKeptAsTypedAfterTheFormattedCode)
{
    expectFormats({
        {"' 求 1 到 100 之间的质数个数", "' 求 1 到 100 之间的质数个数"},
        {"x=1 ' Sum Of Print", "x = 1 ' Sum Of Print"},
        {"x = 1 ' Set X", "x = 1 ' Set X"},
        {"IF a< >b THEN 'Note \"q", "If a <> b Then 'Note \"q"},
        {"for i=1 to 10\t' 循环 Ten  Times", "For i = 1 To 10 ' 循环 Ten  Times"},
        {"PRINT X   '   spaced   ", "Print x '   spaced   "},
        {"x=1'no blank", "x = 1 'no blank"},
        {"print \"it's\";A  ' It's OK", "Print \"it's\"; a ' It's OK"},
        {"PRINT \"Abc ' x\" ' 他说\"你好", "Print \"Abc ' x\" ' 他说\"你好"},
        {"x=1 ' 'twice' ' \"", "x = 1 ' 'twice' ' \""},
        // Nothing but a comment, or an empty one.
        {"'", "'"},
        {"  ' Indented", "  ' Indented"},
        {"\t' Tabbed", "\t' Tabbed"},
        {"END '", "End '"},
    });
}

TEST_F(LineFormatter, LineWithAnOpenLiteralBeforeAnyCommentComesBackUnchanged)
{
    expectFormats({
        {"PRINT \"Abc ' Not A Comment", "PRINT \"Abc ' Not A Comment"},
        {"X = \"a\" + \"B 'C", "X = \"a\" + \"B 'C"},
    });
}

TEST_F(LineFormatter, CodeTheReaderCannotReadLeavesTheCommentedLineUnchanged)
{
    // Past the reader's 32767 positions.
    const std::u16string line = u"X = " + std::u16string(40000, u'A') + u"   ' Long";
    EXPECT_EQ(FormatLine(line), line);
    EXPECT_EQ(program.Err.number(), kOverflow.number);  // the run's error, set up above, untouched
}

TEST_F(LineFormatter, LiteralsAreTheOnesTheReaderReadsEvenAcrossALineEnd)
{
    // The editor never hands over a line end, but a literal holding one must
    // not change what is read as code.
    expectFormats({
        {"print \"Ab\r\nCd\" LOOP until X", "Print \"Ab\r\nCd\" Loop Until x"},
        {"x=1 ' \"\r\n\" Ab", "x = 1 ' \"\r\n\" Ab"},
    });
}

// PRINT takes such an item as one text from its first quote to its last, so
// a blank put in or taken out between the literals would change the output.
TEST_F(LineFormatter, LiteralsSideBySideKeepTheLineAsTyped)
{
    expectFormats({
        {"print \"a\"\"b\"", "print \"a\"\"b\""},
        {"PRINT \"x\"   \"y\"", "PRINT \"x\"   \"y\""},
        {"print \"\"\"\"", "print \"\"\"\""},
        {"IF X THEN PRINT \"a\" \"b\";X", "IF X THEN PRINT \"a\" \"b\";X"},
        {"print \"a\"\"b\"   ' Note  Here", "print \"a\"\"b\"   ' Note  Here"},
        // Literals apart, or side by side only in a comment: formatted as ever.
        {"print \"a\";\"b\"", "Print \"a\"; \"b\""},
        {"print \"a\" x \"b\"", "Print \"a\" x \"b\""},
        {"X=1 ' \"a\"\"b\"", "x = 1 ' \"a\"\"b\""},
    });
    EXPECT_EQ(utf8(formatFinishedLine(u"    print  \"a\"\"b\"")), "    print  \"a\"\"b\"");
}

// «-5» is a label and a jump target, «- 5» is neither.
TEST_F(LineFormatter, SignedLabelsAndJumpTargetsKeepTheLineAsTyped)
{
    expectFormats({
        {"-32768 PRINT 2", "-32768 PRINT 2"},
        {"+7 print x", "+7 print x"},
        {"\t-11 input a", "\t-11 input a"},
        {"GOTO -32768", "GOTO -32768"},
        {"if x then gosub +7 else goto 9", "if x then gosub +7 else goto 9"},
        // A sign elsewhere is an operator, spaced as ever.
        {"x=-5", "x = - 5"},
        {"goto 5", "Goto 5"},
        {"10 x=a-5", "10 x = a - 5"},
    });
}

TEST_F(LineFormatter, BlankLineComesBackUnchanged)
{
    expectFormats({
        {"", ""},
        {"    ", "    "},
    });
}

TEST_F(LineFormatter, FormattedLineStaysAsItIs)
{
    for (const char* line : {"X=ABS(Y)+1", "if a< >b then print \"A\";b else c=d mod 2", "for i=-10 to 10 step -2",
                             "a and and and b", "' 注释 FOR",
                             "x=1 ' Sum Of Print", "IF a< >b THEN 'Note \"q", "for i=1 to 3\t' 循环",
                             "print \"Ab\r\nCd\" LOOP until X"}) {
        SCOPED_TRACE(line);
        const std::u16string once = FormatLine(utf16(line));
        EXPECT_EQ(utf8(FormatLine(once)), utf8(once));
    }
}

TEST_F(LineFormatter, FinishedLineKeepsItsIndentation)
{
    const Case cases[] = {
        {"    print x", "    Print x"},
        {"  IF A THEN", "  If a Then"},
        {"      ", "      "},
        {"", ""},
        {"    print \"abc", "    print \"abc"},  // unreadable: not indented a second time
        {"    x=1   ' Keep", "    x = 1 ' Keep"},
        {"    ' Only A Comment", "    ' Only A Comment"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(utf8(formatFinishedLine(utf16(c.line))), c.formatted);
    }
}

}  // namespace
}  // namespace tarnik
