#include "expr/NumberText.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "expr/BasicError.h"
#include "support/TestSupport.h"

namespace tarnik {
namespace {

using test::utf8;

template <class Call>
void expectRaised(Call&& call, const ErrorText& expected)
{
    try {
        call();
        ADD_FAILURE() << "no error raised";
    } catch (const BasicError& error) {
        EXPECT_EQ(error.number, expected.number);
        EXPECT_EQ(utf8(error.description), utf8(expected.text));
    }
}

using Texts = std::initializer_list<std::u16string_view>;

void expectVerdicts(bool (*isNumber)(std::u16string_view), Texts accepted, Texts rejected)
{
    for (std::u16string_view text : accepted) EXPECT_TRUE(isNumber(text)) << utf8(text);
    for (std::u16string_view text : rejected) EXPECT_FALSE(isNumber(text)) << utf8(text);
}

TEST(NumberText, DecimalNumberTestAcceptsSignDigitsPointAndExponent)
{
    expectVerdicts(isDecimalNumber, {u"12", u"-3.5", u"+.5", u"5.", u"1e-3", u"1E+20", u"007", u"0.0e0"},
                   {u"", u"+", u"-", u".", u"-.", u"1e", u"1e+", u"e5", u".e5", u" 1", u"1 ", u"1.2.3", u"1,5",
                    u"0x10", u"1e5.5", u"inf", u"--1"});
}

TEST(NumberText, OperandTestAcceptsDigitsWithAtMostOnePoint)
{
    expectVerdicts(isOperandNumber, {u"12", u"3.5", u".5", u"5.", u"0"},
                   {u"", u".", u"1.2.3", u"-3", u"+3", u"1e5", u"x1", u"1 2"});
}

TEST(NumberText, TextToDoubleIgnoresSurroundingBlanks)
{
    const struct {
        std::u16string_view text;
        double value;
    } cases[] = {{u"  2.5  ", 2.5}, {u"-4", -4}, {u"+.5", 0.5}, {u"5.", 5}, {u"1E+3", 1000}, {u" 1e-3", 0.001},
                 {u"1.7976931348623157e308", DBL_MAX}};
    for (const auto& c : cases) EXPECT_EQ(textToDouble(c.text), c.value) << utf8(c.text);
}

TEST(NumberText, TextToDoubleRaisesTypeMismatchOrOverflow)
{
    for (std::u16string_view text : {u"", u"   ", u"abc", u"2 .5", u"\t5", u"1e", u"1,5", u"12x"}) {
        SCOPED_TRACE(utf8(text));
        expectRaised([&] { (void)textToDouble(text); }, kTypeMismatch);
    }
    for (std::u16string_view text : {u"1e309", u"-1e400", u" 2e308 "}) {
        SCOPED_TRACE(utf8(text));
        expectRaised([&] { (void)textToDouble(text); }, kOverflow);
    }
}

TEST(NumberText, IntegerConversionsRoundHalvesToEven)
{
    const struct {
        double value;
        std::int32_t rounded;
    } cases[] = {{0.5, 0},        {1.5, 2},          {2.5, 2},          {-0.5, 0},        {-1.5, -2},
                 {-2.5, -2},      {2.4999, 2},       {2.5001, 3},       {-2.5001, -3},    {32766.5, 32766},
                 {32767.4, 32767}, {-32768.5, -32768}, {-0.0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(toInt16(c.value), c.rounded) << c.value;
        EXPECT_EQ(toInt32(c.value), c.rounded) << c.value;
    }
    EXPECT_EQ(toInt32(100000.5), 100000);
    EXPECT_EQ(toInt32(2147483646.5), 2147483646);
    EXPECT_EQ(toInt32(-2147483648.5), -2147483648);
    // The edges of the 32-bit range, where an out-of-range conversion and the
    // smallest value look alike to the processor.
    EXPECT_EQ(toInt32(-2147483648.0), -2147483648);
    EXPECT_EQ(toInt32(-2147483647.5), -2147483648);
    EXPECT_EQ(toInt32(-2147483647.4), -2147483647);
    EXPECT_EQ(toInt32(2147483647.0), 2147483647);
    EXPECT_EQ(toInt32(2147483647.4), 2147483647);
}

TEST(NumberText, IntegerConversionsOverflowOutsideTheirRange)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double value : {32767.5, 32768.0, -32768.6, -32769.0, 1e10, inf, nan}) {
        SCOPED_TRACE(value);
        expectRaised([&] { (void)toInt16(value); }, kOverflow);
    }
    for (double value : {2147483647.5, 2147483648.0, -2147483648.6, -2147483649.0, 3e9, 4294967296.0, 1e300, -inf, nan}) {
        SCOPED_TRACE(value);
        expectRaised([&] { (void)toInt32(value); }, kOverflow);
    }
}

TEST(NumberText, NumberTextHasFifteenSignificantDigitsAndACapitalExponent)
{
    const struct {
        double value;
        std::u16string_view text;
    } cases[] = {{1, u"1"},
                 {-2.5, u"-2.5"},
                 {1.0 / 3, u"0.333333333333333"},
                 {2.0 / 3, u"0.666666666666667"},
                 {1e20, u"1E+20"},
                 {1234567890123456, u"1.23456789012346E+15"},
                 {123456789012345, u"123456789012345"},
                 {1e15, u"1E+15"},
                 {1e-5, u"1E-05"},
                 {0.0001, u"0.0001"},
                 {-1e-300, u"-1E-300"},
                 {0.1 + 0.2, u"0.3"},
                 {-0.0, u"0"}};
    for (const auto& c : cases) EXPECT_EQ(utf8(numberText(c.value)), utf8(c.text));
}

TEST(NumberText, ReadBackRoundsToFifteenSignificantDigits)
{
    const struct {
        double value;
        double readBack;
    } cases[] = {{1.0 / 3, 0.333333333333333},            {2.0 / 3, 0.666666666666667},
                 {0.1 + 0.2, 0.3},                        {1234567890123456, 1.23456789012346e15},
                 {123456789.123456789, 123456789.123457}, {-1e-5 / 3, -3.33333333333333e-6}};
    for (const auto& c : cases) EXPECT_EQ(readBack15(c.value), c.readBack) << c.value;
}

TEST(NumberText, ReadBackKeepsValuesOfAtMostFifteenDigits)
{
    for (double value : {0.5, -2.5, 0.1, 1e20, 1e-5, 123456789012345.0, -0.333333333333333, 1e308, 7.0}) {
        EXPECT_EQ(readBack15(value), value);
    }
    EXPECT_FALSE(std::signbit(readBack15(-0.0)));  // its text form is "0"
}

TEST(NumberText, ReadBackOverflowsWhenTheRoundedValueLeavesTheDoubleRange)
{
    // DBL_MAX rounds up to 1.79769313486232E+308, which no double holds.
    expectRaised([] { (void)readBack15(DBL_MAX); }, kOverflow);
}

}  // namespace
}  // namespace tarnik
