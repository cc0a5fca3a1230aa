// The translation of source text into the linked line table: statement
// rewriting, labels and comments, SELECT CASE, ELSEIF flattening and the
// links. The translation errors, each with the editor line it names, are
// whole programs in tests/programs/translation-errors.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "interp/ProgramState.h"
#include "interp/clsCode.h"
#include "support/TestSupport.h"

namespace tarnik {
namespace {

using test::utf16;
using test::utf8;

// The sources below are written with LF; the editor holds CR LF.
std::u16string editorText(std::string_view source)
{
    std::u16string text;
    for (char16_t c : utf16(source)) {
        if (c == u'\n') text += u'\r';
        text += c;
    }
    return text;
}

// "" when the source translates; otherwise "N: DESCRIPTION @ CurrentLine".
std::string translate(clsCode& code, std::string_view source)
{
    code.program.reset();
    code.Init(editorText(source));
    try {
        code.Translate();
    } catch (const BasicError& error) {
        return std::to_string(error.number) + ": " + utf8(error.description) + " @ " +
               std::to_string(code.program.CurrentLine);
    }
    return "";
}

// The statement texts of the table, "|" between records.
std::string texts(const clsCode& code)
{
    std::string out;
    for (std::size_t i = 1; i < code.Lines.size(); ++i) {
        if (i > 1) out += '|';
        out += utf8(code.Lines[i].strText);
    }
    return out;
}

// "phLine:vLine:text" per record.
std::string rows(const clsCode& code)
{
    std::string out;
    for (std::size_t i = 1; i < code.Lines.size(); ++i) {
        const clsLine& line = code.Lines[i];
        if (i > 1) out += '|';
        out += std::to_string(line.phLine) + ":" + std::to_string(line.vLine) + ":" + utf8(line.strText);
    }
    return out;
}

struct TextCase {
    const char* source;
    const char* expected;
};

void expectTexts(const TextCase& c)
{
    SCOPED_TRACE(c.source);
    clsCode code;
    ASSERT_EQ(translate(code, c.source), "");
    EXPECT_EQ(texts(code), c.expected);
}

TEST(Translator, RewritesOneLineIfInputAndWhile)
{
    const TextCase cases[] = {
        {"if x > 1 then print x", "if x > 1 then|print x|end if"},
        {"if x > 1 then y = 1 else y = 2", "if x > 1 then|y = 1|else|y = 2|end if"},
        {"if x > 1 then\nprint x\nend if", "if x > 1 then|print x|end if"},
        {"IF X > 1 THEN PRINT \"Hi\"", "if x > 1 then|print \"Hi\"|end if"},
        {"if x then else y = 2", "if x then|else|y = 2|end if"},
        {"if x then y = 1 else", "if x then|y = 1|else|end if"},
        {"if x then y = 1 else z = 2 else w = 3", "if x then|y = 1|else|z = 2 else w = 3|end if"},
        // Plain substring searches: the first "then" counts, even inside a name.
        {"if thenx = 1 then y = 2", "if  then|x = 1 then y = 2|end if"},
        // An "else" only before "then" gives no ELSE part.
        {"if elsewhere > 1 then y = 2", "if elsewhere > 1 then|y = 2|end if"},
        {"if a = \"then\" then b = 1", "if a = \"then\" then|b = 1|end if"},
        {"if a then print \"else\"", "if a then|print \"else\"|end if"},
        // The THEN part is final as it is made.
        {"if x then input a, b", "if x then|input a, b|end if"},
        {"if x then while y", "if x then|while y|end if"},
        {"input a, b, c", "input a|input b|input c"},
        {"input a, b,", "input a|input b"},
        {"input a;", "input a;"},
        {"input a;;", "input a"},
        {"input a ,b", "input a |input b"},
        {"input \"n=\"; n", "input \"n=\"|input n"},
        {"input \"a,b\"; x", "input \"a,b\"|input x"},
        {"input f(1, 2); y", "input f(1, 2)|input y"},
        {"input", "input"},
        {"while x < 3\nx = x + 1\nwend", "do while x < 3|x = x + 1|loop"},
        {"print 1 ' comment", "print 1"},
        {"print \"it's\"", "print \"it's\""},
        {"print \"a'b\" ' c", "print \"a'b\""},
        {"x = 1\t' tabbed comment", "x = 1"},
        {"\tprint\tx", "print    x"},
        {"next i", "next i"},
        {"goto 10", "goto 10"},
    };
    for (const TextCase& c : cases) expectTexts(c);
}

TEST(Translator, QuoteInACommentLeavesCapitalisedKeywordsRecognised)
{
    const TextCase cases[] = {
        {"' 屏幕是 15\" 的\nFor i = 1 To 3\nPrint i\nNext", "for i = 1 to 3|print i|next"},
        {"' a \"quote\nIF x THEN y = 1", "if x then|y = 1|end if"},
        {"X = 1 ' 他说\"你好\nIf X > 1 Then Print \"Big\" Else Print \"Small\"",
         "x = 1|if x > 1 then|print \"Big\"|else|print \"Small\"|end if"},
        {"Select Case N ' \"\nCase 1 To 5\nEnd Select", "select case |if n>=1 and n<=5 then|end if"},
    };
    for (const TextCase& c : cases) expectTexts(c);
}

TEST(Translator, OpenLiteralStopsAtItsLineAfterTheLinesBeforeItTranslated)
{
    clsCode code;
    EXPECT_EQ(translate(code, "For i = 1 To 2\nPrint \"Ab ' CD\nNext"), "202: 表达式print \"Ab ' CD错误 @ 2");
    EXPECT_EQ(texts(code), "for i = 1 to 2|print \"Ab ' CD");
}

TEST(Translator, CaseBlocksBecomeIfChains)
{
    const TextCase cases[] = {
        {"select case x\ncase 1 to 5\nprint 1\ncase 7, 9\nprint 2\ncase else\nprint 3\nend select",
         "select case |if x>=1 and x<=5 then|print 1|else|if x=7 or x= 9 then|print 2|else|print 3|end if|end if"},
        {"select case n\ncase 1\ncase 2\nprint 2\nend select",
         "select case |if n=1 then|else|if n=2 then|print 2|end if|end if"},
        {"select case x\ncase 1 to 5, 7\nend select", "select case |if x>=1 and x<=5, 7 then|end if"},
        {"select case x\ncase f(1,2)\nend select", "select case |if x=f(1 or x=2) then|end if"},
        {"select case x\ncase \"a\" to \"m\"\nend select", "select case |if x>=\"a\" and x<=\"m\" then|end if"},
        {"select case a + b\ncase 1\nend select", "select case |if a + b=1 then|end if"},
        {"SELECT CASE X\nCASE 1 TO 5\nEND SELECT", "select case |if x>=1 and x<=5 then|end if"},
        {"select case x\ncase\nend select", "select case |if x= then|end if"},
        {"select case x\ncase 1\nselect case y\ncase 2\nprint 2\nend select\ncase 3\nprint 3\nend select",
         "select case |if x=1 then|select case |if y=2 then|print 2|end if|else|if x=3 then|print 3|end if|end if"},
    };
    for (const TextCase& c : cases) expectTexts(c);
}

TEST(Translator, RecordsKeepEditorLineAndLabel)
{
    const TextCase cases[] = {
        {"\n\nprint 1", "3:0:print 1"},
        {"10 print x\n\n20 y = 1", "1:10:print x|3:20:y = 1"},
        {"\t10 print x", "1:10:print x"},
        {"   10    print x", "1:10:print x"},
        {"-5 print x", "1:-5:print x"},
        {"+7 print x", "1:7:print x"},
        {"1e1 print x", "1:10:print x"},
        {"2.5 print x", "1:2:print x"},
        {"3.5 print x", "1:4:print x"},
        {"32767 x = 1\n-32768 x = 2", "1:32767:x = 1|2:-32768:x = 2"},
        {"&h10 print x", "1:0:&h10 print x"},
        {"10: print x", "1:0:10: print x"},
        {"10\tprint x", "1:0:10    print x"},
        {"10\nprint x", "2:0:print x"},
        {"10 ' label and comment\nprint x", "2:0:print x"},
        {"10 if a then b = 1 else b = 2", "1:10:if a then|1:0:b = 1|1:0:else|1:0:b = 2|1:0:end if"},
        {"20 input a, b", "1:20:input a|1:0:input b"},
        {"5 if a = 1 then\nx = 1\n6 elseif a = 2 then\nx = 2\n7 end if",
         "1:5:if a = 1 then|2:0:x = 1|3:6:else|3:6:if a = 2 then|4:0:x = 2|5:7:end if|5:7:end if"},
        {"if a = 1 then\n\nx = 1\n  elseif a = 2 then\nelseif a = 3 then\nelse\nend if",
         "1:0:if a = 1 then|3:0:x = 1|4:0:else|4:0:if a = 2 then|5:0:else|5:0:if a = 3 then|6:0:else|"
         "7:0:end if|7:0:end if|7:0:end if"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.source);
        clsCode code;
        ASSERT_EQ(translate(code, c.source), "");
        EXPECT_EQ(rows(code), c.expected);
    }
}

TEST(Translator, EmptyStatementsCountInTheLinePassButAreDropped)
{
    struct Case {
        const char* source;
        int lineCount;
        std::size_t records;
    };
    const Case cases[] = {
        {"", 0, 0},
        {"\n  \n\n", 0, 0},
        {"\t\t", 1, 0},
        {"' only a comment", 1, 0},
        {"10", 1, 0},
        {"if x then else y = 2", 5, 4},
        {"input a, b, c", 3, 3},
        {"if a then\nelseif b then\nend if", 3, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        clsCode code;
        ASSERT_EQ(translate(code, c.source), "");
        EXPECT_EQ(code.LineCount, c.lineCount);
        EXPECT_EQ(code.Lines.size() - 1, c.records);
    }
}

std::string repeatedLines(std::string_view line, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) text.append(i > 0 ? "\n" : "").append(line);
    return text;
}

TEST(Translator, SixteenBitLimitsOverflowAtTheLineThatPassesThem)
{
    clsCode code;
    std::string lines = repeatedLines("x = 1", 32767);
    EXPECT_EQ(translate(code, lines), "");
    EXPECT_EQ(code.Lines.size() - 1, 32767u);
    // A line end after the last line starts physical line 32768.
    EXPECT_EQ(translate(code, lines + "\n"), "6: 溢出 @ 32768");

    // Three records per line: line 10923 appends record 32768.
    EXPECT_EQ(translate(code, repeatedLines("if x then y = 1", 10923)), "6: 溢出 @ 10923");

    // Each ELSEIF adds a record when flattened: the 16384th (line 16385) emits record 32768.
    std::string chain = "if a then\n" + repeatedLines("elseif b then", 16384) + "\nend if";
    EXPECT_EQ(translate(code, chain), "6: 溢出 @ 16385");
}

class TranslatorLinks : public ::testing::Test {
protected:
    void translateOk(std::string_view source) { ASSERT_EQ(translate(code, source), ""); }
    const clsLine& line(std::size_t index) const { return code.Lines.at(index); }
    clsCode code;
};

TEST_F(TranslatorLinks, LinksArePositionsInTheCompactedTable)
{
    translateOk("for i = 1 to 3\n\n' comment\n\nnext");
    ASSERT_EQ(rows(code), "1:0:for i = 1 to 3|5:0:next");
    EXPECT_EQ(line(1).for_next_id, 2);
    EXPECT_EQ(line(2).next_for_id, 1);
}

TEST_F(TranslatorLinks, ElseIfChainBecomesNestedIfs)
{
    translateOk("if a = 1 then\nx = 1\nelseif a = 2 then\nx = 2\nelse\nx = 3\nend if");
    ASSERT_EQ(texts(code), "if a = 1 then|x = 1|else|if a = 2 then|x = 2|else|x = 3|end if|end if");
    EXPECT_EQ(line(1).if_else_id, 3);
    EXPECT_EQ(line(1).if_endif_id, 9);
    EXPECT_EQ(line(3).else_if_id, 1);
    EXPECT_EQ(line(4).if_else_id, 6);
    EXPECT_EQ(line(4).if_endif_id, 8);
    EXPECT_EQ(line(6).else_if_id, 4);
}

TEST_F(TranslatorLinks, NestedIfInsideElseIfBranchClosesOnlyItself)
{
    translateOk("if a then\nelseif b then\nif c then\nx = 1\nend if\nend if");
    ASSERT_EQ(texts(code), "if a then|else|if b then|if c then|x = 1|end if|end if|end if");
    EXPECT_EQ(line(1).if_else_id, 2);
    EXPECT_EQ(line(1).if_endif_id, 8);
    EXPECT_EQ(line(3).if_endif_id, 7);
    EXPECT_EQ(line(4).if_endif_id, 6);
    EXPECT_EQ(line(4).if_else_id, 0);
}

TEST_F(TranslatorLinks, SecondElseOfAnIfWins)
{
    translateOk("if a then\nelse\nelse\nend if");
    EXPECT_EQ(line(1).if_else_id, 3);
    EXPECT_EQ(line(2).else_if_id, 1);
    EXPECT_EQ(line(3).else_if_id, 1);
    EXPECT_EQ(line(1).if_endif_id, 4);
}

TEST_F(TranslatorLinks, ExitForLeavesTheInnermostFor)
{
    translateOk("for i = 1 to 2\nfor j = 1 to 2\nexit for\nnext\nexit for\nnext");
    EXPECT_EQ(line(3).exitfor_for_id, 2);
    EXPECT_EQ(line(5).exitfor_for_id, 1);
    EXPECT_EQ(line(1).for_next_id, 6);
    EXPECT_EQ(line(2).for_next_id, 4);
    EXPECT_EQ(line(4).next_for_id, 2);
    EXPECT_EQ(line(6).next_for_id, 1);
}

TEST_F(TranslatorLinks, ExitDoLeavesTheDoWhileOpenedLast)
{
    translateOk("do\ndo while a\nexit do\nloop\nexit do\nloop until b");
    EXPECT_EQ(utf8(line(3).exitdo_dowhile), "2");
    EXPECT_EQ(utf8(line(3).exitdo_do), "");
    EXPECT_EQ(utf8(line(5).exitdo_do), "1");
    EXPECT_EQ(utf8(line(5).exitdo_dowhile), "");
    EXPECT_EQ(utf8(line(2).dowhile_loop), "4");
    EXPECT_EQ(utf8(line(4).loop_dowhile), "2");
    EXPECT_EQ(utf8(line(1).do_loopuntil_id), "6");
    EXPECT_EQ(utf8(line(6).loopuntile_do_id), "1");
}

TEST_F(TranslatorLinks, ExitDoLeavesTheDoOpenedLast)
{
    translateOk("do while a\ndo\nexit do\nloop until b\nloop");
    EXPECT_EQ(utf8(line(3).exitdo_do), "2");
    EXPECT_EQ(utf8(line(3).exitdo_dowhile), "");
}

TEST_F(TranslatorLinks, LoopAndLoopUntilCloseTheirOwnKindAcrossEachOther)
{
    translateOk("do while a\ndo\nloop\nloop until b");
    EXPECT_EQ(utf8(line(3).loop_dowhile), "1");
    EXPECT_EQ(utf8(line(1).dowhile_loop), "3");
    EXPECT_EQ(utf8(line(4).loopuntile_do_id), "2");
    EXPECT_EQ(utf8(line(2).do_loopuntil_id), "4");
}

TEST_F(TranslatorLinks, LinkIndicesAboveNineAreWrittenInFull)
{
    translateOk("do while a\n" + repeatedLines("x = 1", 10) + "\nloop");
    EXPECT_EQ(utf8(line(1).dowhile_loop), "12");
    EXPECT_EQ(utf8(line(12).loop_dowhile), "1");
}

TEST(Translator, TranslationStartsWithNoVariables)
{
    clsCode code;
    code.program.Variables.setVar(u"a", 1);
    code.Init(u"print a");
    code.Translate();
    EXPECT_TRUE(code.program.Variables.VarNames().empty());
}

}  // namespace
}  // namespace tarnik
