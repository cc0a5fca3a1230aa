#include "interp/ErrorHelp.h"

#include <gtest/gtest.h>

#include <deque>
#include <set>

#include "interp/ProgramState.h"
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
    program.reset();
    test::RecordingHost host;
    host.answers = answersOf(example);
    return StartRun(exampleEditorText(example), host, RunMode::Free);
}

std::string nameOf(const ErrorText& row) { return std::to_string(row.number) + " " + utf8(row.text); }

TEST(ErrorHelp, EveryErrorIsExplainedWithMeaningAndCauses)
{
    for (const ErrorText* row : kErrorTable) {
        SCOPED_TRACE(nameOf(*row));
        EXPECT_FALSE(row->explanation->meaning.empty());
        EXPECT_FALSE(row->explanation->causes.empty());
        EXPECT_EQ(row->explanation->mistake.program.empty(), row->explanation->fix.program.empty());
    }
}

TEST(ErrorHelp, OnlyTheInternalChecksLackAnExample)
{
    std::set<std::int32_t> withoutExample;
    for (const ErrorText* row : kErrorTable) {
        if (row->explanation->mistake.program.empty()) withoutExample.insert(row->number);
    }
    EXPECT_EQ(withoutExample, kInternalChecks);
}

TEST(ErrorHelp, EveryMistakeGivesItsOwnErrorAndEveryFixRuns)
{
    for (const ErrorText* row : kErrorTable) {
        const ErrorExplanation& explained = *row->explanation;
        if (explained.mistake.program.empty()) continue;
        SCOPED_TRACE(nameOf(*row));

        const RunOutcome mistake = runExample(explained.mistake);
        ASSERT_TRUE(mistake.error.has_value()) << "the mistake runs without an error";
        EXPECT_EQ(errorRowOf(*mistake.error), row) << utf8(mistake.errorLine());

        const RunOutcome fix = runExample(explained.fix);
        EXPECT_FALSE(fix.error.has_value()) << utf8(fix.errorLine());
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

}  // namespace
}  // namespace tarnik
