// What a failing case's explanation hands the test results window besides
// its sentence: the step of the statement that wrote the first wrong line
// (the debugger pauses just before it) and the step of each variable's last
// assignment, in the numbering of the execution record.
#include <gtest/gtest.h>

#include "services/FailureExplanation.h"

namespace tarnik::test {
namespace {

// Steps as the record numbers them: 1 s = 0, 2 FOR, then the body (3, 5, 7)
// and NEXT (4, 6, 8) three times, 9 the PRINT.
constexpr std::u16string_view kSum = u"s = 0\r\nfor i = 1 to 3\r\n    s = s + i\r\nnext\r\nprint s\r\n";

TEST(FailureExplanation, PlainCaseNamesTheStepsOfThePrintAndTheLastAssignment)
{
    const TestCase testCase{u"a", u"", u"7\n"};
    const CaseResult result = runCase(kSum, testCase);
    ASSERT_EQ(result.verdict, CaseVerdict::OutputDiffers);
    const FailureExplanation explanation = explainFailure(kSum, testCase, result, kCaseStatementLimit);
    EXPECT_EQ(explanation.difference.kind, DifferenceKind::Content);
    ASSERT_TRUE(explanation.origin);
    const OutputOrigin& origin = *explanation.origin;
    EXPECT_EQ(origin.step, 9);
    EXPECT_EQ(origin.line, 5);
    EXPECT_EQ(origin.values, (std::vector<VariableValue>{{u"s", 6}}));
    ASSERT_EQ(origin.assignments.size(), 1U);
    EXPECT_EQ(origin.assignments[0].step, 7);
    EXPECT_EQ(origin.assignments[0].line, 3);
    EXPECT_EQ(origin.assignments[0].loopVariables, (std::vector<VariableValue>{{u"i", 3}}));
}

// Comment lines are records of the line pass that the linker drops: the
// loops around a line are looked for in the table as linked.
TEST(FailureExplanation, CommentLinesBeforeTheLoopLeaveItsVariableNamed)
{
    const std::u16string program = u"' 从 1 加到 3\r\n' 的和\r\n\r\n" + std::u16string(kSum);
    const TestCase testCase{u"a", u"", u"7\n"};
    const CaseResult result = runCase(program, testCase);
    const FailureExplanation explanation = explainFailure(program, testCase, result, kCaseStatementLimit);
    ASSERT_TRUE(explanation.origin);
    EXPECT_EQ(explanation.origin->line, 8);
    ASSERT_EQ(explanation.origin->assignments.size(), 1U);
    EXPECT_EQ(explanation.origin->assignments[0].line, 6);
    EXPECT_EQ(explanation.origin->assignments[0].loopVariables, (std::vector<VariableValue>{{u"i", 3}}));
}

// The record counts the question of an INPUT as a step of its own
// (1 "a=", 2 the answer, 3 "b=", 4 the answer); the judged output has
// neither, so its second line is the fourth line's PRINT, step 6.
TEST(FailureExplanation, JudgedCaseCountsTheStepsTheJudgedOutputLeavesOut)
{
    constexpr std::u16string_view program = u"input \"a=\"; a\r\ninput \"b=\"; b\r\nprint a\r\nprint a * b\r\n";
    const JudgeCase judged{u"1", u"1 2", u"1\n3\n", 4};
    const JudgeResult result = judgeCase(program, judged);
    ASSERT_EQ(result.verdict, Verdict::WA);
    const FailureExplanation explanation = explainFailure(program, judged, result, kJudgeStatementLimit);
    ASSERT_TRUE(explanation.origin);
    EXPECT_EQ(explanation.origin->outputLine, 2);
    EXPECT_EQ(explanation.origin->step, 6);
    EXPECT_EQ(explanation.origin->piece, u"2");
    ASSERT_EQ(explanation.origin->assignments.size(), 2U);
    EXPECT_EQ(explanation.origin->assignments[0].step, 2);
    EXPECT_EQ(explanation.origin->assignments[1].step, 4);
}

}  // namespace
}  // namespace tarnik::test
