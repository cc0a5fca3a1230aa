#include "expr/TextHelpers.h"

#include <gtest/gtest.h>

#include "interp/ProgramState.h"
#include "support/TestSupport.h"

namespace tarnik {
namespace {

// The state these tests evaluate in, as a run's program object holds one.
ProgramState program;

using test::utf8;

class QuoteAwareHelpers : public ::testing::Test {
protected:
    void SetUp() override { program.reset(); }

    template <class Call>
    static BasicError raisedBy(Call&& call)
    {
        try {
            call();
        } catch (const BasicError& error) {
            return error;
        }
        ADD_FAILURE() << "no error raised";
        return {};
    }
};

TEST_F(QuoteAwareHelpers, FindOutsideQuotesSkipsStringLiterals)
{
    const struct {
        std::u16string_view text;
        std::u16string_view pattern;
        int position;
    } cases[] = {
        {u"a = \"x=y\"", u"=", 3},        {u"print \"a=b\"", u"=", 0}, {u"for i = 1  to 10", u" to ", 11},
        {u"a AND b", u"and", 0},          {u"and", u"AND", 1},         {u"\"then\" then", u"then", 8},
        {u"x = \"abc", u"=", 3},  // found before the stray quote
        {u"a\"\"=b", u"=", 4},     // adjacent quotes close and reopen
        {u"\"a\"b\"c\"b", u"b", 4},       {u"abab", u"ab", 1},         {u"xx", u"xxx", 0},
        {u"", u"=", 0},                   {u"a = 1", u"", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.text) + " / " + utf8(c.pattern));
        EXPECT_EQ(FindOutsideQuotes(c.text, c.pattern, program.Err), c.position);
        EXPECT_FALSE(program.Err.pending());
    }
}

TEST_F(QuoteAwareHelpers, FindOutsideQuotesRecords202WhenItEndsInsideAQuote)
{
    EXPECT_EQ(FindOutsideQuotes(u"x \"abc", u"=", program.Err), 0);
    EXPECT_EQ(program.Err.number(), 202);
    EXPECT_EQ(utf8(program.Err.description()), "表达式x \"abc错误");
}

TEST_F(QuoteAwareHelpers, ReplaceOutsideQuotesRewritesEveryOccurrenceOutsideLiterals)
{
    const struct {
        std::u16string_view text, find, replacement, result;
    } cases[] = {
        {u"a and \"and\" band", u"and", u"与", u"a 与 \"and\" b与"},
        {u"< > < =", u"< >", u"<>", u"<> < ="},
        {u"(-3)*(-2)", u"(-", u"(0-", u"(0-3)*(0-2)"},
        {u"a AND b and c", u"AND", u"与", u"a AND b 与 c"},
        {u"a  b", u" ", u"", u"ab"},
        {u"no match", u"xor", u"异", u"no match"},
        // Each search starts again from the beginning, so an occurrence formed
        // with the text in front of a replacement is replaced as well.
        {u"----", u"--", u"+-", u"+++-"},
        {u"\"--\"---", u"--", u"+-", u"\"--\"++-"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.text) + " / " + utf8(c.find));
        EXPECT_EQ(utf8(ReplaceOutsideQuotes(c.text, c.find, c.replacement, program.Err)), utf8(c.result));
    }
}

TEST_F(QuoteAwareHelpers, ReplaceOutsideQuotesStopsAtAStrayQuoteWithoutLosingText)
{
    EXPECT_EQ(utf8(ReplaceOutsideQuotes(u"x and \"and", u"and", u"与", program.Err)), "x 与 \"and");
    EXPECT_EQ(program.Err.number(), 202);
}

TEST_F(QuoteAwareHelpers, ReplaceOutsideQuotesRaises333WhenTheReplacementContainsTheFind)
{
    const struct {
        std::u16string_view find, replacement;
    } cases[] = {{u"and", u"band"}, {u"", u"x"}, {u"<", u"<="}};
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.find) + " -> " + utf8(c.replacement));
        BasicError error = raisedBy([&] { (void)ReplaceOutsideQuotes(u"a and b", c.find, c.replacement, program.Err); });
        EXPECT_EQ(error.number, 333);
        EXPECT_EQ(utf8(error.description), "不能替换");
    }
}

TEST_F(QuoteAwareHelpers, FindListSeparatorSkipsBracketsAndLiterals)
{
    const struct {
        std::u16string_view text;
        int position;
    } cases[] = {
        {u"a, b", 2},       {u"a; b", 2},         {u"f(a,b), c", 7},    {u"\"a,b\"; c", 6},
        {u"((a),b);c", 8},  {u"\"(\", x", 4},     {u"(\"a\"), b", 6},   {u"((a),b)", 0},
        {u"abc", 0},        {u"", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.text));
        EXPECT_EQ(FindListSeparator(c.text), c.position);
    }
}

TEST_F(QuoteAwareHelpers, FindListSeparatorRaisesForUnbalancedText)
{
    const struct {
        std::u16string_view text;
        std::int32_t number;
        const char* description;
    } cases[] = {
        {u"a), b", 201, "表达式错误：缺少左括号"},
        {u"\")\", b", 201, "表达式错误：缺少左括号"},  // brackets count inside literals too
        {u"(a, b", 202, "表达式(a, b错误"},
        {u"\"abc", 202, "表达式\"abc错误"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.text));
        BasicError error = raisedBy([&] { (void)FindListSeparator(c.text); });
        EXPECT_EQ(error.number, c.number);
        EXPECT_EQ(utf8(error.description), c.description);
        EXPECT_FALSE(program.Err.pending());  // raised, not recorded
    }
}

TEST_F(QuoteAwareHelpers, LowerOutsideQuotesWorksLineByLine)
{
    const struct {
        std::u16string_view text;
        std::u16string_view lowered;
    } cases[] = {
        {u"PRINT \"Hello World\"", u"print \"Hello World\""},
        {u"\"\"AB\"C\"D", u"\"\"ab\"C\"d"},
        {u"ÄÖ 中 Z", u"ÄÖ 中 z"},
        {u"PRINT \"你好 World\"; 中文X", u"print \"你好 World\"; 中文x"},
        {u"", u""},
        // Lines whose quotes pair up.
        {u"X = 1\r\nPRINT \"A\" + B\r\nIF \"Q\" = Y THEN", u"x = 1\r\nprint \"A\" + b\r\nif \"Q\" = y then"},
        {u"END\r\n", u"end\r\n"},
        {u"\r\n\r\nA", u"\r\n\r\na"},
        // A comment keeps its text; an apostrophe inside a literal starts none.
        {u"X = 1 ' Set X", u"x = 1 ' Set X"},
        {u"PRINT \"It's\" + A ' B", u"print \"It's\" + a ' B"},
        {u"' He said \"Hi\" TO\r\nEND", u"' He said \"Hi\" TO\r\nend"},
        {u"For i = 1 To 3 ' 屏幕是 15\" 的\r\nPrint i\r\nNext", u"for i = 1 to 3 ' 屏幕是 15\" 的\r\nprint i\r\nnext"},
        {u"' 他说\"你好\r\nIf X Then Print \"OK\"", u"' 他说\"你好\r\nif x then print \"OK\""},
        // A quote without its pair on its line keeps the rest of that line only.
        {u"For i = 1 To 3\r\nPrint \"Ab CD\r\nNext", u"for i = 1 to 3\r\nprint \"Ab CD\r\nnext"},
        {u"A\"B\"C\"D E", u"a\"B\"c\"D E"},
        {u"PRINT \"A ' B\r\nX", u"print \"A ' B\r\nx"},
        {u"PRINT \"A\r\nB\" X", u"print \"A\r\nb\" X"},
        // Only CR LF ends a line: a literal holding a lone LF or CR goes on.
        {u"PRINT \"A\nB\" X\rY", u"print \"A\nB\" x\ry"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.text));
        EXPECT_EQ(utf8(LowerOutsideQuotes(c.text)), utf8(c.lowered));
    }
}

TEST_F(QuoteAwareHelpers, LowerOutsideLiteralsPairsQuotesOverTheWholeText)
{
    const struct {
        std::u16string_view text;
        std::u16string_view lowered;
    } cases[] = {
        {u"PRINT \"Ab\" + X ' Note", u"print \"Ab\" + x ' note"},
        {u"PRINT \"A\r\nB\" X", u"print \"A\r\nB\" x"},
        {u"X = \"Ab ' Cd", u"x = \"Ab ' Cd"},
        {u"中文 \"中 Z\" Z", u"中文 \"中 Z\" z"},
        {u"", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.text));
        EXPECT_EQ(utf8(LowerOutsideLiterals(c.text)), utf8(c.lowered));
    }
}

}  // namespace
}  // namespace tarnik
