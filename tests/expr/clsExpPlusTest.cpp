#include "expr/clsExpPlus.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <string>
#include <tuple>

#include "interp/ProgramState.h"
#include "support/TestSupport.h"

namespace tarnik {
namespace {

// The state these tests evaluate in, as a run's program object holds one.
ProgramState program;

using test::utf8;

class ExpressionEvaluator : public ::testing::Test {
protected:
    void SetUp() override { program.reset(); }

    // The value, or NaN standing for the empty result.
    double value(std::u16string_view text)
    {
        std::optional<double> result = evaluator.exp(text);
        return result.value_or(std::nan(""));
    }

    BasicError raisedBy(std::u16string_view text)
    {
        try {
            (void)evaluator.exp(text);
        } catch (const BasicError& error) {
            return error;
        }
        ADD_FAILURE() << "no error raised by " << utf8(text);
        return {};
    }

    clsExpPlus evaluator{program.Variables};
};

struct ValueCase {
    std::u16string_view text;
    double expected;
};

TEST_F(ExpressionEvaluator, ComputesWithTheDialectsPrecedence)
{
    const ValueCase cases[] = {
        {u"2+3*4", 14},        {u"(2+3)*4", 20},      {u"2^3^2", 64},          {u"-2^2", -4},
        {u"7/2", 3.5},         {u"7 mod 3", 1},       {u"-7 mod 3", -1},       {u"5.5 mod 2", 0},
        {u"((1+2))", 3},       {u"(-3)*2", -6},       {u"( -3)*2", -6},        {u".5*2", 1},
        {u"1 < 2", 1},         {u"3 <> 3", 0},        {u"not 0", 1},           {u"not not 5", 1},
        {u"2 and 0", 0},       {u"2 or 0", 1},        {u"1 xor 1", 0},         {u"1 xor 0", 1},
        {u"abs(-3) - 5", -2},  {u"sqr(16) + 9", 13},  {u"10 + sqr(16)", 14},   {u"abs(0-3)^2", 9},
        {u"2 * not 0", 2},     {u"(1 + 2) = 3", 1},     {u"2 < 3 and 3 < 2", 0}, {u"7mod3", 1},
        {u"(1)and(0)", 0},     {u"1.2.3", 0},         {u"\"12\" + 1", 1},      {u"6 - 3 - 2", 1},
        {u"(3) <= 3", 1},      {u"(4) >= 5", 0},        {u"8 / 2 / 2", 2},       {u"1 + 2 mod 2", 1},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(utf8(c.text));
        EXPECT_EQ(value(c.text), c.expected);
    }
}

TEST_F(ExpressionEvaluator, KeepsNamesThatContainOperatorWords)
{
    const std::u16string_view names[] = {u"score", u"random", u"color", u"mode", u"note", u"absolute", u"sqrt"};
    for (std::u16string_view name : names) {
        program.reset();
        clsExpPlus fresh{program.Variables};
        std::u16string assignment = std::u16string(name) + u" = 7";
        ASSERT_EQ(fresh.exp(assignment), 7.0) << utf8(name);
        EXPECT_EQ(fresh.exp(std::u16string(name) + u" * 2"), 14.0) << utf8(name);
        EXPECT_EQ(program.Variables.VarNames(), std::vector<std::u16string>{std::u16string(name)});
    }
}

TEST_F(ExpressionEvaluator, PrefixOperatorsTakeWhatFollowsThem)
{
    evaluator.exp(u"a = 1");
    evaluator.exp(u"b = 0");
    EXPECT_EQ(value(u"a and not b"), 1);
    evaluator.exp(u"b = -4");
    evaluator.exp(u"d = 36");
    EXPECT_EQ(value(u"-b + sqr(d)"), 10);  // the quadratic formula's numerator
}

TEST_F(ExpressionEvaluator, AssignsAndReturnsTheStoredValue)
{
    EXPECT_EQ(value(u"x = 5"), 5);
    EXPECT_EQ(program.Variables.getVar(u"x"), 5.0);
    evaluator.exp(u"y = 3");
    EXPECT_EQ(value(u"x = y = 3"), 1);  // the second "=" compares
    EXPECT_EQ(value(u"(x) = 5"), 0);    // a bracket before "=" makes it a comparison
    EXPECT_EQ(program.Variables.getVar(u"x"), 1.0);
}

TEST_F(ExpressionEvaluator, CharacterOutsideTheBasicPlaneNamesAVariableLikeAChineseOne)
{
    EXPECT_EQ(value(u"\U00020000"), 0);
    EXPECT_EQ(value(u"\U00020000 = 5"), 5);
    EXPECT_EQ(value(u"\U00020000 * 2 + 你"), 10);
    EXPECT_EQ(program.Variables.getVar(u"\U00020000"), 5.0);
}

TEST_F(ExpressionEvaluator, ReadsEveryIntermediateResultBackThroughFifteenDigits)
{
    EXPECT_EQ(value(u"x = 1/3"), 0.333333333333333);
    EXPECT_EQ(value(u"y = x*3"), 0.999999999999999);
    EXPECT_EQ(value(u"0.1 + 0.2"), 0.3);
}

TEST_F(ExpressionEvaluator, ListsVariablesInTheOrderTheyAreFirstRead)
{
    // The right operand of an operator is read before the left one.
    evaluator.exp(u"c = a + b");
    EXPECT_EQ(program.Variables.VarNames(), (std::vector<std::u16string>{u"b", u"a", u"c"}));
}

TEST_F(ExpressionEvaluator, LogicComparesAndTreatsUnknownNamesAsZero)
{
    EXPECT_FALSE(evaluator.logic(u"x"));
    EXPECT_EQ(program.Variables.VarNames(), std::vector<std::u16string>{u"x"});
    evaluator.exp(u"a = 2");
    evaluator.exp(u"b = 2");
    EXPECT_TRUE(evaluator.logic(u"a = b"));
    EXPECT_EQ(program.Variables.getVar(u"a"), 2.0);  // logic never assigns
}

struct RecordedCase {
    std::u16string_view text;
    std::int32_t number;
};

TEST_F(ExpressionEvaluator, RecordsMalformedExpressionsAndReturnsEmpty)
{
    const RecordedCase cases[] = {
        {u"", 120}, {u"3*-2", 120}, {u"1 2", 120}, {u"+5", 120}, {u"(1+2", 120}, {u"1 +", 120}, {u"1e400", 120},
    };
    for (const RecordedCase& c : cases) {
        SCOPED_TRACE(utf8(c.text));
        program.Err.clear();
        EXPECT_FALSE(evaluator.exp(c.text).has_value());
        EXPECT_EQ(program.Err.number(), c.number);
        EXPECT_FALSE(evaluator.logic(c.text));
        EXPECT_EQ(program.Err.number(), c.number);
    }
}

struct RaisedCase {
    std::u16string_view text;
    std::int32_t number;
    std::u16string_view description;
};

TEST_F(ExpressionEvaluator, RaisesNameArithmeticAndStackErrors)
{
    const RaisedCase cases[] = {
        {u" = 5", 102, u"变量名不得为空"},
        {u"2x = 5", 103, u"变量名不得以数字开头"},
        {u"2 >= 2", 103, u"变量名不得以数字开头"},
        {u"a b = 5", 104, u"变量名不合法"},
        {u"a <= 5", 104, u"变量名不合法"},
        {u"a\U00020000 = 5", 104, u"变量名不合法"},
        {u"\U00020000\U00020000 = 5", 104, u"变量名不合法"},
        {u"1/0", 11, u"除数为零"},
        {u"0/0", 6, u"溢出"},
        {u"5 mod 0", 11, u"除数为零"},
        {u"sqr(-1)", 5, u"无效的过程调用或参数"},
        {u"(-8)^(1/3)", 5, u"无效的过程调用或参数"},
        {u"10^400", 6, u"溢出"},
        {u"1000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         u"000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         u"000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         u"0000000000000000000000",
         6, u"溢出"},
        {u"*", 9, u"下标越界"},
        {u"3000000000 mod 2", 6, u"溢出"},
        {u"1)", 9, u"下标越界"},
        {u"x \"abc", 9, u"下标越界"},
    };
    for (const RaisedCase& c : cases) {
        SCOPED_TRACE(utf8(c.text));
        BasicError error = raisedBy(c.text);
        EXPECT_EQ(error.number, c.number);
        EXPECT_EQ(error.description, c.description);
    }
}

TEST_F(ExpressionEvaluator, RefusesReservedWordsAsAssignmentTargets)
{
    EXPECT_FALSE(evaluator.exp(u"if = 5").has_value());
    EXPECT_EQ(program.Err.number(), 59);
    EXPECT_EQ(program.Err.description(), u"变量名if不合法");
    EXPECT_TRUE(program.Variables.VarNames().empty());
}

TEST_F(ExpressionEvaluator, AnOperatorWithoutOperandsReadsTheBottomMarkerAsAVariable)
{
    EXPECT_FALSE(evaluator.exp(u"3*-2").has_value());
    EXPECT_EQ(program.Variables.VarNames(), std::vector<std::u16string>{u"#"});
}

TEST_F(ExpressionEvaluator, RejectsTextsTooLongForTheWordReader)
{
    std::u16string text(40000, u'1');
    EXPECT_EQ(raisedBy(text).number, 6);
}

TEST_F(ExpressionEvaluator, RecognisesOperatorKeys)
{
    for (std::u16string_view key : {u"+", u"与", u",", u"#", u"", u"(", u"绝"}) EXPECT_TRUE(clsExpPlus::isKey(key));
    for (std::u16string_view word : {u"x", u"12", u"\"+\"", u" "}) EXPECT_FALSE(clsExpPlus::isKey(word));
}

TEST_F(ExpressionEvaluator, CompiledFormsAreDroppedWhenTheVariablesAreCleared)
{
    evaluator.exp(u"x = 2");
    program.Variables.Clear();
    EXPECT_EQ(value(u"x + 1"), 1);
    EXPECT_EQ(program.Variables.VarNames(), std::vector<std::u16string>{u"x"});
}

// Counters ("v = v + c", "v = v - c") run without their steps once the name
// is in use; only the exact shape may be taken for one.
TEST_F(ExpressionEvaluator, OnlyAVariablePlusOrMinusAConstantIntoItselfIsACounter)
{
    const struct {
        std::u16string_view text;
        std::optional<double> amount;
    } cases[] = {
        {u"x = x + 1", 1},          {u"x=x-2.5", -2.5},       {u"x = x + (-3)", -3},   {u"x = x - (-3)", 3},
        {u"k=k+(2)", 2},            {u"x = y + 1", {}},       {u"x = 1 + x", {}},      {u"X = x + 1", {}},
        {u"x = x * 2", {}},         {u"x = x + 1 + 1", {}},   {u"x = x + y", {}},      {u"x = x", {}},
        {u"x + 1", {}},             {u"1x = 1x + 1", {}},     {u"x = (x + 1)", 1},     {u"x = x + 1 < 2", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.text));
        const std::optional<Increment>& increment = evaluator.compileStatement(c.text).increment;
        ASSERT_EQ(increment.has_value(), c.amount.has_value());
        if (increment) EXPECT_EQ(increment->amount, *c.amount);
    }
}

// A counter taken the short way must leave exactly what its compiled steps
// leave: the value's bits, the stored bits, the error state, what is raised.
TEST_F(ExpressionEvaluator, ACounterDoesExactlyWhatItsStepsDo)
{
    const double starts[] = {0,     -0.0,    1,        -1,         0.1,     1e15 - 1, 1e15,      999999999999999.5,
                             1e-9,  -2.5e-7, 1e300,    1.7e308,    -1.7e308, 1.0 / 3, 12345678901234.25, 4503599627370495.5};
    // 1 followed by 308 zeros: added to 1.7e308 it leaves the double range.
    const std::u16string huge = u"1" + std::u16string(308, u'0');
    const std::u16string texts[] = {u"x = x + 1",   u"x = x - 1",       u"x = x + 0.1",  u"x = x - " + huge,
                                    u"x = x + " + huge, u"x = x + 0.5", u"x = x - (-0.25)"};
    for (std::u16string_view text : texts) {
        for (double start : starts) {
            SCOPED_TRACE(utf8(text.substr(0, 12)) + " from " + std::to_string(start));
            auto run = [&](bool shortWay) {
                program.reset();
                clsExpPlus fresh(program.Variables);
                program.Variables.setVar(u"x", start);  // x in use: the counter may go the short way
                const CompiledStatement& compiled = fresh.compileStatement(text);
                EXPECT_TRUE(compiled.increment.has_value());
                std::vector<double> results(compiled.source->maxResults + 1);
                program.Err.record(kStatementNotEnded);  // left over: both must clear it
                std::optional<BasicError> raised;
                double value = 0;
                try {
                    value = shortWay ? fresh.exp(compiled).value_or(0)
                                     : compiled.source->assign(program.Variables, compiled.target, results.data());
                } catch (const BasicError& error) {
                    raised = error;
                }
                const double stored = program.Variables.valueOf(u"x");
                return std::tuple{std::bit_cast<std::uint64_t>(value), std::bit_cast<std::uint64_t>(stored),
                                  raised ? raised->number : 0, program.Err.number()};
            };
            EXPECT_EQ(run(true), run(false));
        }
    }
}

// A name not used before, or a reserved word, is not in use: the compiled
// steps run, listing the name or refusing it.
TEST_F(ExpressionEvaluator, ACounterOfANameNotYetUsedListsItOrRefusesIt)
{
    EXPECT_EQ(evaluator.exp(u"c = c + 1"), 1.0);
    EXPECT_EQ(evaluator.exp(u"c = c + 1"), 2.0);
    EXPECT_EQ(program.Variables.VarNames(), std::vector<std::u16string>{u"c"});

    EXPECT_EQ(evaluator.exp(u"step = step + 1"), std::nullopt);
    EXPECT_EQ(utf8(program.Err.description()), "变量名step不合法");
    EXPECT_EQ(program.Variables.VarNames(), std::vector<std::u16string>{u"c"});
}

}  // namespace
}  // namespace tarnik
