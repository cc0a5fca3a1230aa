#include "services/help/ErrorHelp.h"

#include <gtest/gtest.h>

#include <deque>
#include <set>

#include "interp/ProgramState.h"
#include "interp/clsCode.h"
#include "support/RecordingHost.h"
#include "support/TestSupport.h"

namespace tarnik {
namespace {

using test::utf8;

// Checks that no program can reach, so their rows carry no example: 121
// (every operator moved to the values is applied at once), 208 (an open
// quote fails the quote-aware searches with 202 first), 333 (the evaluator's
// rewrites never put back what they replace) and 602 (the ELSEIF pass
// reports every END IF without an IF as 362 before the linker sees it).
const std::set<std::int32_t> kInternalChecks{121, 208, 333, 602};

std::deque<std::u16string> answersOf(const ErrorExample& example)
{
    std::deque<std::u16string> answers;
    std::u16string_view rest = example.answers;
    while (!rest.empty()) {
        std::size_t end = rest.find(u'\n');
        answers.emplace_back(rest.substr(0, end));
        rest = end == std::u16string_view::npos ? std::u16string_view{} : rest.substr(end + 1);
    }
    return answers;
}

RunOutcome runExample(const ErrorExample& example)
{
    test::RecordingHost host;
    host.answers = answersOf(example);
    return StartRun(exampleEditorText(example), host, RunMode::Free);
}

std::string nameOf(const ErrorText& row) { return std::to_string(row.number) + " " + utf8(row.text); }

TEST(ErrorHelp, EveryErrorIsExplainedWithMeaningAndCauses)
{
    for (const ErrorText* row : kErrorTable) {
        SCOPED_TRACE(nameOf(*row));
        EXPECT_FALSE(explanationOf(*row).meaning.empty());
        EXPECT_FALSE(explanationOf(*row).causes.empty());
        EXPECT_EQ(explanationOf(*row).mistake.program.empty(), explanationOf(*row).fix.program.empty());
    }
}

TEST(ErrorHelp, OnlyTheInternalChecksLackAnExample)
{
    std::set<std::int32_t> withoutExample;
    for (const ErrorText* row : kErrorTable) {
        if (explanationOf(*row).mistake.program.empty()) withoutExample.insert(row->number);
    }
    EXPECT_EQ(withoutExample, kInternalChecks);
}

TEST(ErrorHelp, EveryMistakeGivesItsOwnErrorAndEveryFixRuns)
{
    for (const ErrorText* row : kErrorTable) {
        const ErrorExplanation& explained = explanationOf(*row);
        if (explained.mistake.program.empty()) continue;
        SCOPED_TRACE(nameOf(*row));

        const RunOutcome mistake = runExample(explained.mistake);
        ASSERT_TRUE(mistake.error.has_value()) << "the mistake runs without an error";
        EXPECT_EQ(errorRowOf(*mistake.error), row) << utf8(mistake.errorLine());

        const RunOutcome fix = runExample(explained.fix);
        EXPECT_FALSE(fix.error.has_value()) << utf8(fix.errorLine());
    }
}

struct BeginnerMistake {
    std::initializer_list<std::u16string_view> lines;
    std::deque<std::u16string> answers;
    const ErrorText* error;
    const char* namedCause;  // what the explanation's causes must mention
};

// The mistakes beginners make first each give an error whose explanation
// names that very cause.
TEST(ErrorHelp, UsualBeginnerMistakesAreNamedAmongTheCauses)
{
    const BeginnerMistake mistakes[] = {
        {{u"print rnd(1)"}, {}, &kStatementNotEnded, "rnd"},
        {{u"print int(3.7)"}, {}, &kStatementNotEnded, "int"},
        {{u"dim a(10)"}, {}, &kStatementNotEnded, "dim a(10)"},
        {{u"print 1e20"}, {}, &kStatementNotEnded, "1e20"},
        {{u"print 1，2"}, {}, &kStatementNotEnded, "全角的标点"},
        {{u"name$ = \"Tom\""}, {}, &kInvalidVariableName, "name$"},
        {{u"x = 1", u"x += 1"}, {}, &kInvalidVariableName, "+="},
        {{u"print \"hello"}, {}, &kBadExpression, "漏写了结尾的双引号"},
        {{u"print (1 + 2"}, {}, &kBadExpression, "漏写了右括号"},
        {{u"x = 1", u"print x; (x + 2"}, {}, &kBadExpression, "Print (1 + 2"},
        {{u"for i = 1 to 3", u"next i"}, {}, &kForWithoutNext, "Next i"},
        {{u"input x"}, {u"５０"}, &kTypeMismatch, "全角数字"},
        {{u"step = 1"}, {}, &kReservedName, "关键字"},
        {{u"do", u"x = x + 1", u"loop"}, {}, &kLoopWithoutDoWhile, "Loop Until"},
    };
    for (const BeginnerMistake& mistake : mistakes) {
        const std::u16string text = test::editorText(mistake.lines);
        SCOPED_TRACE(utf8(text));
        test::RecordingHost host;
        host.answers = mistake.answers;
        const RunOutcome outcome = StartRun(text, host, RunMode::Free);
        ASSERT_TRUE(outcome.error.has_value());
        EXPECT_EQ(errorRowOf(*outcome.error), mistake.error) << utf8(outcome.errorLine());
        EXPECT_NE(utf8(explanationOf(*mistake.error).causes).find(mistake.namedCause), std::string::npos);
    }
}

TEST(ErrorHelp, RowOfAnErrorTellsApartTheMessagesOfOneNumber)
{
    EXPECT_EQ(errorRowOf(errorOf(kForWithoutNext)), &kForWithoutNext);
    EXPECT_EQ(errorRowOf(errorOf(kLoopWithoutDoWhile)), &kLoopWithoutDoWhile);
    EXPECT_EQ(errorRowOf(reservedNameError(u"step")), &kReservedName);
    EXPECT_EQ(errorRowOf(badExpressionError(u"print \"a")), &kBadExpression);
    EXPECT_EQ(errorRowOf(BasicError{303, u"别的说明"}), nullptr);
    EXPECT_EQ(errorRowOf(BasicError{7, u"溢出"}), nullptr);
}

TEST(ErrorHelp, RowsNumberedListBothMessagesOfANumber)
{
    const std::vector<const ErrorText*> rows = errorRowsNumbered(303);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], &kLoopWithoutDoWhile);
    EXPECT_EQ(rows[1], &kForWithoutNext);
    EXPECT_TRUE(errorRowsNumbered(7).empty());
}

TEST(ErrorHelp, ExplanationStartsWithTheErrorAndShowsBothPrograms)
{
    const std::string text = utf8(explanationText(kForWithoutNext));
    EXPECT_EQ(text.substr(0, text.find('\n')), "错误 303: For没有Next");
    EXPECT_NE(text.find("    Next i\n"), std::string::npos) << text;
    EXPECT_LT(text.find("错误的写法："), text.find("改正以后："));
    EXPECT_NE(text.find("Next 后面写了变量名"), std::string::npos);
}

TEST(ErrorHelp, ExplanationShowsTheAnswersAnExampleNeeds)
{
    const std::string text = utf8(explanationText(kTypeMismatch));
    EXPECT_NE(text.find("输入数据：\n    ５０\n"), std::string::npos) << text;
    EXPECT_NE(text.find("输入数据：\n    50\n"), std::string::npos) << text;
}

struct UnclosedCase {
    const char* name;
    std::initializer_list<std::u16string_view> lines;
    const ErrorText* error;
    std::int32_t errorLine;      // unchanged: the last statement's
    std::int32_t openingLine;
    std::int32_t namedNextLine;
    std::u16string_view context;
};

TEST(ErrorHelp, BlockLeftOpenNamesTheLineWhereItBegins)
{
    const UnclosedCase cases[] = {
        {"for", {u"x = 1", u"for i = 1 to 3", u"    print i", u"print x"}, &kForWithoutNext, 4, 2, 0,
         u"没有结束的 For 从第2行开始。"},
        {"inner for", {u"for i = 1 to 3", u"for j = 1 to 3", u"next", u"x = 1"}, &kForWithoutNext, 4, 1, 0,
         u"没有结束的 For 从第1行开始。"},
        {"innermost of two", {u"for i = 1 to 3", u"for j = 1 to 3", u"x = 1"}, &kForWithoutNext, 3, 2, 0,
         u"没有结束的 For 从第2行开始。"},
        {"next with a name", {u"s = 0", u"for i = 1 to 10", u"    s = s + i", u"next i", u"", u"print s"},
         &kForWithoutNext, 6, 2, 4,
         u"没有结束的 For 从第2行开始。第4行的 Next 后面写了变量名：这里的 Next 不带变量名，只写 Next 就能结束这个 For。"},
        {"if", {u"if x > 1 then", u"    print x", u"x = 2"}, &kIfWithoutEndIf, 3, 1, 0,
         u"没有结束的 If 从第1行开始。"},
        {"if in a one-line if", {u"x = 1", u"if x then if x then print x", u"print 2"}, &kIfWithoutEndIf, 3, 2, 0,
         u"没有结束的 If 从第2行开始。"},
        {"do", {u"x = 0", u"do", u"    x = x + 1", u"print x"}, &kDoWithoutLoopUntil, 4, 2, 0,
         u"没有结束的 Do 从第2行开始。"},
        {"while", {u"while x < 3", u"    x = x + 1", u"print x"}, &kDoWhileWithoutLoop, 3, 1, 0,
         u"没有结束的 While（Do While） 从第1行开始。"},
        {"do while", {u"x = 0", u"do while x < 3", u"x = x + 1"}, &kDoWhileWithoutLoop, 3, 2, 0,
         u"没有结束的 While（Do While） 从第2行开始。"},
        {"select case", {u"x = 1", u"select case x", u"case 1", u"    print 1", u"print 2"},
         &kSelectWithoutEndSelect, 5, 2, 0, u"没有结束的 Select Case 从第2行开始。"},
    };
    for (const UnclosedCase& c : cases) {
        SCOPED_TRACE(c.name);
        clsCode code;
        const std::u16string text = test::editorText(c.lines);
        const RunOutcome outcome = TranslateProgram(text, code);
        ASSERT_TRUE(outcome.error.has_value());
        EXPECT_EQ(errorRowOf(*outcome.error), c.error) << utf8(outcome.errorLine());
        EXPECT_EQ(outcome.line, c.errorLine);
        EXPECT_EQ(outcome.unclosed.openingLine, c.openingLine);
        EXPECT_EQ(outcome.unclosed.namedNextLine, c.namedNextLine);
        EXPECT_EQ(utf8(errorContextText(outcome, text)), utf8(c.context));
    }
}

TEST(ErrorHelp, OtherErrorsHaveNoContext)
{
    for (std::initializer_list<std::u16string_view> lines :
         {std::initializer_list<std::u16string_view>{u"next"}, {u"for i = 1 to 3", u"next", u"print 1 / 0"},
          {u"print \"a"}}) {
        test::RecordingHost host;
        const std::u16string text = test::editorText(lines);
        const RunOutcome outcome = StartRun(text, host, RunMode::Free);
        ASSERT_TRUE(outcome.error.has_value());
        EXPECT_EQ(outcome.unclosed.openingLine, 0);
        EXPECT_EQ(errorContextText(outcome, text), u"");
    }
}

struct StrayCase {
    std::initializer_list<std::u16string_view> lines;
    const char* error;
    const char* context;
};

TEST(ErrorHelp, FullWidthCharactersOfTheErrorLineAreNamedWithWhatToType)
{
    const StrayCase cases[] = {
        {{u"a = 3", u"print a，a * 2"}, "错误 120: 语句未结束(第2行)",
         "第2行有全角字符：「，」（U+FF0C）应写成「,」。请切换到半角（英文）输入。"},
        {{u"x = （1 + 2）"}, "错误 120: 语句未结束(第1行)",
         "第1行有全角字符：「（」（U+FF08）应写成「(」；「）」（U+FF09）应写成「)」。请切换到半角（英文）输入。"},
        {{u"x = ５０"}, "错误 120: 语句未结束(第1行)",
         "第1行有全角字符：「５」（U+FF15）应写成「5」；「０」（U+FF10）应写成「0」。请切换到半角（英文）输入。"},
        {{u"print “hello”"}, "错误 120: 语句未结束(第1行)",
         "第1行有全角字符：「“」（U+201C）应写成「\"」；「”」（U+201D）应写成「\"」。请切换到半角（英文）输入。"},
        {{u"print \"，\"; 1 / 0 ' 全角，"}, "错误 11: 除数为零(第1行)", ""},  // in a literal or a comment: fine
        {{u"for i = 1 to 3", u"print i；", u"next i"}, "错误 303: For没有Next(第3行)",
         "没有结束的 For 从第1行开始。第3行的 Next 后面写了变量名：这里的 Next 不带变量名，只写 Next 就能结束这个 For。"},
    };
    for (const StrayCase& c : cases) {
        const std::u16string text = test::editorText(c.lines);
        SCOPED_TRACE(utf8(text));
        test::RecordingHost host;
        const RunOutcome outcome = StartRun(text, host, RunMode::Free);
        EXPECT_EQ(utf8(outcome.errorLine()), c.error);
        EXPECT_EQ(utf8(errorContextText(outcome, text)), c.context);
    }
}

// The error box's own sentences below its first line: they name the line a
// block left open begins on, the full-width characters and their half-width
// forms without code points, and the statement a misspelt word means.
TEST(ErrorHelp, ErrorBoxSaysWhatIsKnownBeyondTheLine)
{
    const StrayCase cases[] = {
        {{u"x = 0", u"for i = 1 to 3", u"    x = x + i", u"print x"}, "错误 303: For没有Next(第4行)",
         "这个 For 从第2行开始，还没有 Next。"},
        {{u"for i = 1 to 3", u"print i", u"next i"}, "错误 303: For没有Next(第3行)",
         "这个 For 从第1行开始，还没有 Next。\n"
         "第3行的 Next 后面写了变量名：这里的 Next 不带变量名，只写 Next 就能结束这个 For。"},
        {{u"x = 1", u"if x then", u"print x"}, "错误 304: If没有End If(第3行)", "这个 If 从第2行开始，还没有 End If。"},
        {{u"select case 1", u"case 1", u"print 1"}, "错误 353: Select没有End Select(第3行)",
         "这个 Select Case 从第1行开始，还没有 End Select。"},
        {{u"total = 10", u"avg = （total / 5）", u"print avg"}, "错误 11: 除数为零(第2行)",
         "第2行有全角字符 （ ），应改为半角 ( )。"},
        {{u"x = 1", u"pirnt x"}, "错误 120: 语句未结束(第2行)", "第2行的 pirnt 是否想写 Print？"},
        {{u"imput x"}, "错误 120: 语句未结束(第1行)", "第1行的 imput 是否想写 Input？"},
        {{u"10 PIRNT 5"}, "错误 120: 语句未结束(第1行)", "第1行的 PIRNT 是否想写 Print？"},
        {{u"gosub 10", u"end", u"10 retrun 5"}, "错误 120: 语句未结束(第3行)", "第3行的 retrun 是否想写 Return？"},
        {{u"pirnt （1）"}, "错误 120: 语句未结束(第1行)",
         "第1行有全角字符 （ ），应改为半角 ( )。\n第1行的 pirnt 是否想写 Print？"},
        // No hint: a variable given a value, a word far from every statement,
        // one that starts with another letter, a full-width character in a literal.
        {{u"pirnt = 1 / 0"}, "错误 11: 除数为零(第1行)", ""},
        {{u"total 5"}, "错误 120: 语句未结束(第1行)", ""},
        {{u"rpint 5"}, "错误 120: 语句未结束(第1行)", ""},
        {{u"print \"（\"; 1 / 0"}, "错误 11: 除数为零(第1行)", ""},
    };
    for (const StrayCase& c : cases) {
        const std::u16string text = test::editorText(c.lines);
        SCOPED_TRACE(utf8(text));
        test::RecordingHost host;
        const RunOutcome outcome = StartRun(text, host, RunMode::Free);
        EXPECT_EQ(utf8(outcome.errorLine()), c.error);
        EXPECT_EQ(utf8(errorBoxDetails(outcome, text)), c.context);
    }
}

TEST(ErrorHelp, RunThatStopsOnAnOpenBlockKeepsItsContext)
{
    test::RecordingHost host;
    const RunOutcome outcome = StartRun(test::editorText({u"for i = 1 to 3", u"next i"}), host, RunMode::Free);
    EXPECT_EQ(utf8(outcome.errorLine()), "错误 303: For没有Next(第2行)");
    EXPECT_EQ(outcome.unclosed.openingLine, 1);
    EXPECT_EQ(outcome.unclosed.namedNextLine, 2);
}

}  // namespace
}  // namespace tarnik
