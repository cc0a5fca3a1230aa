// clsExpPlus against ReferenceEvaluator, the plain step-by-step evaluator:
// both must agree on the result (to the bit), on the error raised or recorded
// (number and description), and on the variables afterwards (names in order
// of first use, and their values). Hand-picked texts first, then generated
// ones. TARNIK_DIFF_COUNT sets how many texts are generated (default 3000).
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "expr/BasicError.h"
#include "expr/NumberText.h"
#include "interp/ProgramState.h"
#include "expr/clsExpPlus.h"
#include "expr/clsSen.h"
#include "support/ReferenceEvaluator.h"
#include "support/TestSupport.h"

namespace tarnik {
namespace {

// The state these tests evaluate in, as a run's program object holds one.
ProgramState program;

using test::ReferenceEvaluator;
using test::utf16;
using test::utf8;

enum class Mode { Exp, Logic };

// Everything a caller can see after one call.
struct Observation {
    bool raised = false;
    BasicError error;                    // the raised error, or the error state afterwards
    std::optional<double> value;         // logic: 1 for true, 0 for false
    std::vector<std::u16string> names;   // VarNames
    std::vector<std::optional<double>> values;
};

bool sameBits(const std::optional<double>& a, const std::optional<double>& b)
{
    if (a.has_value() != b.has_value()) return false;
    return !a || std::bit_cast<std::uint64_t>(*a) == std::bit_cast<std::uint64_t>(*b);
}

bool operator==(const Observation& a, const Observation& b)
{
    if (a.raised != b.raised || a.error.number != b.error.number || a.error.description != b.error.description ||
        !sameBits(a.value, b.value) || a.names != b.names || a.values.size() != b.values.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.values.size(); ++i) {
        if (!sameBits(a.values[i], b.values[i])) return false;
    }
    return true;
}

std::string numberForMessage(const std::optional<double>& value)
{
    if (!value) return "empty";
    char text[64];
    std::snprintf(text, sizeof text, "%.17g [%016llx]", *value,
                  static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(*value)));
    return text;
}

std::string describe(const Observation& seen)
{
    std::string text = "value " + numberForMessage(seen.value) + "; ";
    text += seen.raised ? "raised " : "error state ";
    text += std::to_string(seen.error.number) + " \"" + utf8(seen.error.description) + "\"; variables:";
    for (std::size_t i = 0; i < seen.names.size(); ++i) {
        text += ' ';
        text += utf8(seen.names[i]);
        text += '=';
        text += numberForMessage(seen.values[i]);
    }
    return text;
}

// Variables present before every case, so that arithmetic meets more than zeros.
void seedVariables()
{
    clsVar& variables = program.Variables;
    variables.setVar(u"x", 3);
    variables.setVar(u"y", -2.5);
    variables.setVar(u"big", 1e300);
    variables.setVar(u"third", 0.1 + 0.2);
    variables.setVar(u"neg", -7.5);
    variables.setVar(u"half", 2.5);
    variables.setVar(u"intmin", -2147483648.0);
}

void freshState(bool seeded)
{
    program.reset();
    if (seeded) seedVariables();
}

template <class Evaluator>
Observation observe(Evaluator& evaluator, Mode mode, std::u16string_view text)
{
    Observation seen;
    try {
        if (mode == Mode::Exp) {
            seen.value = evaluator.exp(text);
        } else {
            seen.value = evaluator.logic(text) ? 1.0 : 0.0;
        }
        seen.error = program.Err.error();
    } catch (const BasicError& raised) {
        seen.raised = true;
        seen.error = raised;
    } catch (const std::exception& unexpected) {
        seen.raised = true;
        seen.error = {-1, utf16(std::string("C++ exception: ") + unexpected.what())};
    }
    seen.names = program.Variables.VarNames();
    for (const std::u16string& name : seen.names) seen.values.push_back(program.Variables.getVar(name));
    return seen;
}

// One text on fresh objects in a freshly reset state.
template <class Evaluator>
Observation observeFresh(Mode mode, std::u16string_view text, bool seeded)
{
    freshState(seeded);
    Evaluator evaluator{program.Variables};
    return observe(evaluator, mode, text);
}

const char* modeName(Mode mode) { return mode == Mode::Exp ? "exp" : "logic"; }

// clsExpPlus driven through its compiled forms, as the statement executor
// holds them, compiled afresh for every call (the forms die with a Clear).
class CompiledForms {
public:
    explicit CompiledForms(clsVar& variables) : m_evaluator(variables) {}
    std::optional<double> exp(std::u16string_view text) { return m_evaluator.exp(m_evaluator.compileStatement(text)); }
    bool logic(std::u16string_view text) { return m_evaluator.logic(m_evaluator.compileLogic(text)); }

private:
    clsExpPlus m_evaluator;
};

std::string mismatchMessage(const std::string& what, const Observation& expected, const Observation& got,
                            const char* gotBy)
{
    return what + "\n  reference:  " + describe(expected) + "\n  " + gotBy + ": " + describe(got);
}

std::string framed(std::u16string_view text) { return "\xC2\xAB" + utf8(text) + "\xC2\xBB"; }

// Empty when clsExpPlus, called with the text and through its compiled form,
// agrees with the reference; else a message naming the text and the outcomes.
std::string compareFresh(Mode mode, std::u16string_view text, bool seeded)
{
    Observation expected = observeFresh<ReferenceEvaluator>(mode, text, seeded);
    Observation byText = observeFresh<clsExpPlus>(mode, text, seeded);
    Observation compiled = observeFresh<CompiledForms>(mode, text, seeded);
    std::string what = std::string(modeName(mode)) + " of " + framed(text) + (seeded ? " (seeded variables)" : "");
    if (!(byText == expected)) return mismatchMessage(what, expected, byText, "clsExpPlus");
    if (!(compiled == expected)) return mismatchMessage(what, expected, compiled, "compiled form");
    return {};
}

// ---------------------------------------------------------------------------
// Texts whose outcome the language fixes, checked on both evaluators.

struct Variable {
    std::string_view name;
    double value;
};

struct EdgeCase {
    std::string_view text;
    Mode mode;
    std::optional<double> value;            // expected result (logic: 1 or 0)
    BasicError error;                       // expected error, number 0 for none
    bool raised;
    std::vector<Variable> variables;        // VarNames afterwards, with values
    std::vector<std::string_view> setup{};  // exp'd first, on the same objects
};


const BasicError kNone{};
const BasicError kNotEnded = errorOf(kStatementNotEnded);

std::vector<EdgeCase> edgeCases()
{
    const BasicError overflow = errorOf(kOverflow);
    const BasicError divisionByZero = errorOf(kDivisionByZero);
    const BasicError invalidCall = errorOf(kInvalidCall);
    const BasicError outOfRange = errorOf(kSubscriptOutOfRange);
    return {
        // Precedence, associativity, the leading minus and the brackets.
        {"2+3*4", Mode::Exp, 14, kNone, false, {}},
        {"(2+3)*4", Mode::Exp, 20, kNone, false, {}},
        {"2^3^2", Mode::Exp, 64, kNone, false, {}},
        {"-2^2", Mode::Exp, -4, kNone, false, {}},
        {"7/2", Mode::Exp, 3.5, kNone, false, {}},
        {"7 mod 3", Mode::Exp, 1, kNone, false, {}},
        {"-7 mod 3", Mode::Exp, -1, kNone, false, {}},
        {"5.5 mod 2", Mode::Exp, 0, kNone, false, {}},
        {"((1+2))", Mode::Exp, 3, kNone, false, {}},
        {"(-3)*2", Mode::Exp, -6, kNone, false, {}},
        {"( -3)*2", Mode::Exp, -6, kNone, false, {}},
        {".5*2", Mode::Exp, 1, kNone, false, {}},
        {"1.2.3", Mode::Exp, 0, kNone, false, {{"1.2.3", 0}}},
        {"1 < 2", Mode::Exp, 1, kNone, false, {}},
        {"3 <> 3", Mode::Exp, 0, kNone, false, {}},
        {"not 0", Mode::Exp, 1, kNone, false, {}},
        {"not not 5", Mode::Exp, 1, kNone, false, {}},
        {"2 and 0", Mode::Exp, 0, kNone, false, {}},
        {"2 or 0", Mode::Exp, 1, kNone, false, {}},
        {"1 xor 1", Mode::Exp, 0, kNone, false, {}},
        // abs and sqr bind like functions.
        {"abs(-3) - 5", Mode::Exp, -2, kNone, false, {}},
        {"sqr(16) + 9", Mode::Exp, 13, kNone, false, {}},
        {"10 + sqr(16)", Mode::Exp, 14, kNone, false, {}},
        {"abs(x)^2", Mode::Exp, 9, kNone, false, {{"x", -3}}, {"x = 0-3"}},
        // The "=" of ">=" and "<=" is an assignment sign to exp.
        {"2 >= 2", Mode::Exp, std::nullopt, errorOf(kNameStartsWithDigit), true, {}},
        {"2 >= 2", Mode::Logic, 1, kNone, false, {}},
        {"a <= 5", Mode::Exp, std::nullopt, errorOf(kInvalidVariableName), true, {}},
        // Assignments.
        {"x = 5", Mode::Exp, 5, kNone, false, {{"x", 5}}},
        {"x = y = 3", Mode::Exp, 0, kNone, false, {{"y", 0}, {"x", 0}}},
        {"(x) = 5", Mode::Exp, 0, kNone, false, {{"x", 0}}},
        {"x = 1/3", Mode::Exp, 0.333333333333333, kNone, false, {{"x", 0.333333333333333}}},
        {"y = x*3", Mode::Exp, 0.999999999999999, kNone, false,
         {{"x", 0.333333333333333}, {"y", 0.999999999999999}}, {"x = 1/3"}},
        {" = 5", Mode::Exp, std::nullopt, errorOf(kEmptyVariableName), true, {}},
        {"2x = 5", Mode::Exp, std::nullopt, errorOf(kNameStartsWithDigit), true, {}},
        {"a b = 5", Mode::Exp, std::nullopt, errorOf(kInvalidVariableName), true, {}},
        {"a.b = 5", Mode::Exp, std::nullopt, errorOf(kInvalidVariableName), true, {}},
        {"if = 5", Mode::Exp, std::nullopt, reservedNameError(u"if"), false, {}},
        {"x = to", Mode::Exp, 0, kNone, false, {{"x", 0}}},
        {"x = 2 + (1", Mode::Exp, std::nullopt, kNotEnded, false, {{"#", 0}}},
        // Conditions.
        {"x", Mode::Logic, 0, kNone, false, {{"x", 0}}},
        {"a = b", Mode::Logic, 1, kNone, false, {{"b", 0}, {"a", 0}}},
        {"", Mode::Logic, 0, kNotEnded, false, {{"#", 0}}},
        {"3*-2", Mode::Logic, 0, kNotEnded, false, {{"#", 0}}},
        {"3*-2", Mode::Exp, std::nullopt, kNotEnded, false, {{"#", 0}}},
        {" -3", Mode::Exp, std::nullopt, kNotEnded, false, {{"#", 0}}},
        // Operator words only as words of their own.
        {"score", Mode::Exp, 0, kNone, false, {{"score", 0}}},
        {"random", Mode::Exp, 0, kNone, false, {{"random", 0}}},
        {"color", Mode::Exp, 0, kNone, false, {{"color", 0}}},
        {"mode", Mode::Exp, 0, kNone, false, {{"mode", 0}}},
        {"note", Mode::Exp, 0, kNone, false, {{"note", 0}}},
        {"7mod3", Mode::Exp, 1, kNone, false, {}},
        {"(a)and(b)", Mode::Exp, 1, kNone, false, {{"a", 1}, {"b", 2}}, {"a = 1", "b = 2"}},
        {"x2and3", Mode::Exp, 1, kNone, false, {{"x2", 4}}, {"x2 = 4"}},
        // A prefix operator is always pushed.
        {"a and not b", Mode::Exp, 1, kNone, false, {{"a", 1}, {"b", 0}}, {"a = 1", "b = 0"}},
        {"2 * not 0", Mode::Exp, 2, kNone, false, {}},
        {"-b + sqr(d)", Mode::Exp, 2, kNone, false, {{"b", 2}, {"d", 16}}, {"b = 2", "d = 16"}},
        // Arithmetic errors.
        {"1/0", Mode::Exp, std::nullopt, divisionByZero, true, {}},
        {"0/0", Mode::Exp, std::nullopt, overflow, true, {}},
        {"10^400", Mode::Exp, std::nullopt, overflow, true, {}},
        {"sqr(0-4)", Mode::Exp, std::nullopt, invalidCall, true, {}},
        {"(0-8)^.5", Mode::Exp, std::nullopt, invalidCall, true, {}},
        {"7 mod 0", Mode::Exp, std::nullopt, divisionByZero, true, {}},
        {"4294967296 mod 3", Mode::Exp, std::nullopt, overflow, true, {}},
        {"2.5 mod 2", Mode::Exp, 0, kNone, false, {}},
        {"3.5 mod 3", Mode::Exp, 1, kNone, false, {}},
        {"(0-2147483648) mod (0-1)", Mode::Exp, 0, kNone, false, {}},
        // Broken texts.
        {"1)", Mode::Exp, std::nullopt, outOfRange, true, {}},
        {"(1", Mode::Exp, std::nullopt, kNotEnded, false, {{"#", 0}}},
        {"\"abc", Mode::Exp, std::nullopt, outOfRange, true, {{"#", 0}}},
        {"x \"q\"", Mode::Exp, std::nullopt, kNotEnded, false, {{"\"q\"", 0}}},
        {"\"A b\" + 1", Mode::Exp, 1, kNone, false, {{"\"A b\"", 0}}},
        {"中 + 1", Mode::Exp, 1, kNone, false, {{"中", 0}}},
        {"变量 + 1", Mode::Exp, std::nullopt, kNotEnded, false, {{"量", 0}}},
        {"step + 1", Mode::Exp, 1, kNone, false, {}},
    };
}

template <class Evaluator>
void checkEdgeCase(const EdgeCase& edge)
{
    program.reset();
    Evaluator evaluator{program.Variables};
    for (std::string_view setup : edge.setup) evaluator.exp(utf16(setup));
    Observation seen = observe(evaluator, edge.mode, utf16(edge.text));

    EXPECT_EQ(seen.raised, edge.raised);
    EXPECT_EQ(seen.error.number, edge.error.number);
    EXPECT_EQ(utf8(seen.error.description), utf8(edge.error.description));
    EXPECT_EQ(numberForMessage(seen.value), numberForMessage(edge.value));
    std::vector<std::string> names;
    std::vector<std::string> expectedNames;
    for (std::size_t i = 0; i < seen.names.size(); ++i) {
        names.push_back(utf8(seen.names[i]) + "=" + numberForMessage(seen.values[i]));
    }
    for (const Variable& variable : edge.variables) {
        expectedNames.push_back(std::string(variable.name) + "=" + numberForMessage(variable.value));
    }
    EXPECT_EQ(names, expectedNames);
}

TEST(EvaluatorDifferentialTest, EdgeCasesGiveTheLanguagesOutcomeOnBothEvaluators)
{
    for (const EdgeCase& edge : edgeCases()) {
        SCOPED_TRACE(std::string(modeName(edge.mode)) + " of " + framed(utf16(edge.text)));
        {
            SCOPED_TRACE("ReferenceEvaluator");
            checkEdgeCase<ReferenceEvaluator>(edge);
        }
        {
            SCOPED_TRACE("clsExpPlus");
            checkEdgeCase<clsExpPlus>(edge);
        }
        {
            SCOPED_TRACE("compiled form");
            checkEdgeCase<CompiledForms>(edge);
        }
    }
}

TEST(EvaluatorDifferentialTest, IsKeyAgrees)
{
    const auto words = std::to_array<std::u16string_view>(
        {u"+", u"与", u",", u"#", u"", u"x", u"12", u"\"+\"", u"绝", u"开", u"(", u")", u"#,与", u"(,)", u" ", u"余,"});
    for (std::u16string_view word : words) {
        SCOPED_TRACE(utf8(word));
        EXPECT_EQ(clsExpPlus::isKey(word), ReferenceEvaluator::isKey(word));
    }
    EXPECT_TRUE(ReferenceEvaluator::isKey(u"开"));
    EXPECT_FALSE(ReferenceEvaluator::isKey(u"x"));
}

// The word reader walks through at most 32766 characters: the limit counts
// for the rewritten text ("+0" appended, operator words shortened, "(-"
// lengthened), so texts at and around it must agree too.
TEST(EvaluatorDifferentialTest, LongTextsAgreeAtTheReadersLimit)
{
    std::u16string fits = u"11";
    while (fits.size() + 2 < clsSen::kMaxTextLength) fits += u"+1";
    std::u16string tooLong = fits + u" ";
    std::u16string shortenedToFit = u"1";
    while (shortenedToFit.size() < clsSen::kMaxTextLength + 1000) shortenedToFit += u" and 1";
    std::u16string lengthenedBeyond = u"1";
    while (lengthenedBeyond.size() + 1000 < clsSen::kMaxTextLength) lengthenedBeyond += u"+(-1)";
    for (const std::u16string& text : {fits, tooLong, shortenedToFit, lengthenedBeyond}) {
        for (Mode mode : {Mode::Exp, Mode::Logic}) {
            std::string mismatch = compareFresh(mode, text, false);
            EXPECT_TRUE(mismatch.empty()) << mismatch.substr(0, 300);
        }
    }
    program.reset();
    ReferenceEvaluator reference{program.Variables};
    EXPECT_EQ(reference.exp(fits), 11.0 + double(fits.size() - 2) / 2);
    EXPECT_EQ(reference.exp(shortenedToFit), 1.0);
    for (const std::u16string& text : {tooLong, lengthenedBeyond}) {
        try {
            (void)reference.exp(text);
            ADD_FAILURE() << "a text beyond the reader's reach was evaluated";
        } catch (const BasicError& raised) {
            EXPECT_EQ(raised.number, kOverflow.number);
        }
    }
}

// The reference leans on readBack15 for the read-back of intermediate results;
// it must give the double nearest to the value's "%.15G" text.
TEST(EvaluatorDifferentialTest, ReadBackIsTheFifteenDigitTextRoundTrip)
{
    std::mt19937_64 random(4242);
    auto someValue = [&random]() {
        switch (random() % 6) {
        case 0: return std::bit_cast<double>(random() & ~(std::uint64_t(1) << 62));  // finite, any magnitude below 2
        case 1: return static_cast<double>(random() % 4000000000000000) * (random() % 2 ? 1 : -1);
        case 2: return static_cast<double>(random() % 100000) / static_cast<double>(1 + random() % 1000);
        // Halves, quarters ... of 16-digit numbers: exact ties at the sixteenth digit.
        case 3: return static_cast<double>(random() % 4000000000000000) / static_cast<double>(2 << (random() % 4));
        // Any fraction from 2^-28 to 2^50, where the read-back works by scaling.
        case 4: return std::ldexp(1.0 + static_cast<double>(random() >> 12) * 0x1p-52, static_cast<int>(random() % 79) - 28);
        default: return std::bit_cast<double>(random());
        }
    };
    for (int i = 0; i < 200000; ++i) {
        double value = someValue();
        if (!std::isfinite(value)) continue;
        char text[40];
        std::snprintf(text, sizeof text, "%.15G", value);
        double nearest = std::strtod(text, nullptr);
        SCOPED_TRACE(text);
        if (std::isinf(nearest)) {
            EXPECT_THROW((void)readBack15(value), BasicError);
        } else {
            EXPECT_EQ(std::bit_cast<std::uint64_t>(readBack15(value)), std::bit_cast<std::uint64_t>(nearest + 0.0));
        }
    }
}

// ---------------------------------------------------------------------------
// Hand-picked texts without a fixed outcome: the two must simply agree.

TEST(EvaluatorDifferentialTest, HandPickedTextsAgree)
{
    const auto texts = std::to_array<std::string_view>({
        "", " ", "x", "-x", "--x", "- x", "+x", "x+", "x y", "3*-2", "3 * - 2", "-(-3)", "0-(-3)",
        "(", ")", "()", "(()", "())", "((x)", "x)", ")x(", "1)+2", "1) abs 2", "1) not 2", "(1))",
        "\"", "\"\"", "x \"", "\"a\" + \"A\"", "\"q\" = \"q\"", "x = \"", "x = \"a\"", "\"a=b\" = 1",
        "a = \"b=c\"", "score = 3", "score and 3", "note or mode", "random xor color", "sand mod band",
        "abs", "sqr", "not", "and", "mod", "abs abs 3", "sqr sqr 16", "not abs 0", "abs - 3",
        "abs -3", "sqr -4", "2 ^ abs(-2) ^ 2", "- sqr 9 ^ 2", "1 < 2 < 3", "3 > 2 > 1", "1 = 1 = 1",
        "1 <> 2 <> 3", "x <= = 1", "x >= 3", "x => 3", "x =< 3", "x >< 3", "x < > 3", "1 , 2", "1 ; 2",
        "1 # 2", "# 1", "与 1", "1 余", "开 16", "3 绝", "if", "x = step + 1", "mod = 3", "and = 1",
        "X = 1", "Ab1 = 2", "x_1 = 2", "中x = 3", "😀 = 3", "😀x = 3", "😀中 = 3", "#x = 1", "x = third * 3", "intmin mod (0-1)",
        "big * big", "big * 1e5", "neg mod 2", "half mod 2", "y ^ half", "y ^ 2", "third * 3",
    });
    for (std::string_view text : texts) {
        for (Mode mode : {Mode::Exp, Mode::Logic}) {
            for (bool seeded : {false, true}) {
                std::string mismatch = compareFresh(mode, utf16(text), seeded);
                EXPECT_TRUE(mismatch.empty()) << mismatch;
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Generated texts.

template <class... Words>
constexpr auto words(Words... list)
{
    return std::array<std::u16string_view, sizeof...(Words)>{list...};
}

constexpr auto kNumbers = words(u"0", u"1", u"2", u"3", u"7", u"10", u"12", u"6", u"0.5", u".5", u"5.", u"3.5",
                                u"2.5", u"0.1", u"0.2", u"2.675", u"1.2.3", u"100", u"65536", u"2147483647",
                                u"2147483648", u"4294967296", u"1e5", u"999999999999999", u"1000000000000000",
                                u"123456789012345678", u"0.000001", u"1.7976931348623157", u"9.99999999999999",
                                u"0.30000000000000004");

// Plain names, names holding operator words, seeded names, upper-case and
// quoted and Chinese names, and the language's own words.
constexpr auto kNames = words(u"x", u"y", u"a", u"b", u"n", u"i", u"j", u"s", u"d", u"m", u"x1", u"total2", u"a.b",
                              u"score", u"random", u"color", u"mode", u"note", u"band", u"sqrt", u"absx", u"xor1",
                              u"notx", u"orbit", u"modal", u"and2", u"x2and3", u"sand", u"abs1", u"sqr2", u"big",
                              u"third", u"neg", u"half", u"intmin", u"A", u"X", u"Ab", u"ab", u"\"q\"", u"\"A b\"", u"\"a b\"",
                              u"\"x\"", u"中", u"if", u"to", u"step", u"then", u"end", u"print");

constexpr auto kOperators = words(u"+", u"-", u"*", u"/", u"^", u"mod", u"and", u"or", u"xor", u"=", u"<", u">",
                                  u"<>", u"<=", u">=", u"+", u"-", u"*", u"与", u"余", u"不", u",", u"#", u";", u"=>",
                                  u"AND", u"Mod");

constexpr auto kPrefixes = words(u"not", u"abs", u"sqr", u"-", u"反", u"绝", u"开");

constexpr auto kTargets = words(u"x", u"y", u"s", u"i", u"total2", u"score", u"note", u"a.b", u"2x", u"", u"a b",
                                u"if", u"step", u"Ab", u"A", u"X", u"x_1", u"中x", u"#", u"(x)", u"mod", u"and", u"big",
                                u"\"a\"");

constexpr auto kStrayCharacters =
    words(u"(", u")", u"\"", u"-", u"+", u"*", u" ", u"=", u"A", u"中", u"e", u"0", u".", u",", u"\t", u"😀");

class ExpressionGenerator {
public:
    explicit ExpressionGenerator(std::uint64_t seed) : m_random(seed) {}

    std::u16string text()
    {
        std::u16string result = below(8) == 0 ? tokenSoup() : expression(0);
        if (below(10) < 3) result = std::u16string(pick(kTargets)) + blanks() + u"=" + blanks() + result;
        if (below(12) == 0) result = u"-" + result;
        if (below(30) == 0) result = u" -" + result;
        if (below(7) == 0) result = corrupt(std::move(result));
        return result;
    }

private:
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(m_random() % n); }

    template <std::size_t N>
    std::u16string_view pick(const std::array<std::u16string_view, N>& list)
    {
        return list[below(N)];
    }

    std::u16string blanks()
    {
        std::size_t n = below(10);
        return n < 3 ? u"" : n < 8 ? u" " : u"  ";
    }

    // Operator words mostly stand apart; joined to a name they become part of it.
    std::u16string gapAfterOrBefore(std::u16string_view op)
    {
        bool word = op.front() >= u'a' && op.front() <= u'z';
        return word && below(4) != 0 ? u" " : blanks();
    }

    std::u16string operand()
    {
        if (below(200) == 0) return u"1" + std::u16string(400, u'0');
        return std::u16string(below(5) < 2 ? pick(kNumbers) : pick(kNames));
    }

    std::u16string expression(int depth)
    {
        std::size_t kind = depth >= 4 ? 0 : below(10);
        if (kind < 4) return operand();
        if (kind < 7) {
            std::u16string_view op = pick(kOperators);
            return expression(depth + 1) + gapAfterOrBefore(op) + std::u16string(op) + gapAfterOrBefore(op) +
                   expression(depth + 1);
        }
        if (kind < 8) {
            std::u16string_view prefix = pick(kPrefixes);
            if (below(2) == 0) return std::u16string(prefix) + blanks() + u"(" + expression(depth + 1) + u")";
            return std::u16string(prefix) + gapAfterOrBefore(prefix) + expression(depth + 1);
        }
        return u"(" + blanks() + expression(depth + 1) + blanks() + u")";
    }

    std::u16string tokenSoup()
    {
        std::u16string result;
        for (std::size_t n = 1 + below(8); n > 0; --n) {
            std::size_t kind = below(5);
            std::u16string_view token = kind == 0   ? pick(kNumbers)
                                        : kind == 1 ? pick(kNames)
                                        : kind == 2 ? pick(kOperators)
                                        : kind == 3 ? pick(kPrefixes)
                                                    : pick(kStrayCharacters);
            result += std::u16string(token) + blanks();
        }
        return result;
    }

    std::u16string corrupt(std::u16string text)
    {
        std::size_t at = below(text.size() + 1);
        if (below(2) == 0 && at < text.size()) {
            text.erase(at, 1);
        } else {
            text.insert(at, pick(kStrayCharacters));
        }
        return text;
    }

    std::mt19937_64 m_random;
};

std::size_t generatedCount()
{
    const char* configured = std::getenv("TARNIK_DIFF_COUNT");
    if (configured != nullptr && *configured != '\0') return std::strtoull(configured, nullptr, 10);
    return 3000;
}

constexpr std::size_t kMaxReportedMismatches = 25;

TEST(EvaluatorDifferentialTest, GeneratedTextsAgreeOnFreshEvaluators)
{
    ExpressionGenerator generator(20240531);
    const std::size_t count = generatedCount();
    std::size_t mismatches = 0;
    for (std::size_t i = 0; i < count; ++i) {
        std::u16string text = generator.text();
        for (Mode mode : {Mode::Exp, Mode::Logic}) {
            std::string mismatch = compareFresh(mode, text, i % 2 == 0);
            if (mismatch.empty()) continue;
            if (++mismatches <= kMaxReportedMismatches) ADD_FAILURE() << mismatch;
        }
    }
    std::printf("[ compared ] %zu generated texts, each by exp and by logic, by text and compiled: %zu mismatches\n",
                count, mismatches);
    EXPECT_EQ(mismatches, 0u);
}

// Sequences on one evaluator object: texts repeat (so compiled forms are
// replayed), variables change between the repeats, and the store is now and
// then cleared as at the start of a run.
struct SequenceStep {
    std::u16string text;
    Mode mode;
    bool resetBefore;
};

template <class Evaluator>
std::vector<Observation> runSequence(const std::vector<SequenceStep>& steps)
{
    freshState(true);
    Evaluator evaluator{program.Variables};
    std::vector<Observation> seen;
    for (const SequenceStep& step : steps) {
        if (step.resetBefore) freshState(true);
        seen.push_back(observe(evaluator, step.mode, step.text));
    }
    return seen;
}

std::vector<SequenceStep> makeSequence(ExpressionGenerator& generator, std::mt19937_64& random)
{
    std::vector<std::u16string> pool{u"i = i + 1",      u"s = s + i * j mod 7", u"j = j - 2.5",
                                     u"x = x / 3",      u"n mod d = 0 and d <= m", u"d = d + 1",
                                     u"m = m * 2 + 1",  u"y = y ^ 2",         u"A = a + 1",
                                     u"ab = Ab - 1"};
    for (int i = 0; i < 10; ++i) pool.push_back(generator.text());
    std::vector<SequenceStep> steps;
    for (int i = 0; i < 40; ++i) {
        const std::u16string& text = pool[random() % pool.size()];
        steps.push_back({text, random() % 5 < 3 ? Mode::Exp : Mode::Logic, random() % 30 == 0});
    }
    return steps;
}

std::string describeSequence(const std::vector<SequenceStep>& steps, std::size_t failing)
{
    std::string text;
    for (std::size_t i = 0; i <= failing; ++i) {
        text += "\n  " + std::to_string(i) + (steps[i].resetBefore ? " (after a reset) " : " ") +
                modeName(steps[i].mode) + " " + framed(steps[i].text);
    }
    return text;
}

// The index of the first step where got differs from expected, or the size.
std::size_t firstDivergence(const std::vector<Observation>& expected, const std::vector<Observation>& got)
{
    std::size_t i = 0;
    while (i < expected.size() && got[i] == expected[i]) ++i;
    return i;
}

TEST(EvaluatorDifferentialTest, GeneratedSequencesAgreeOnOneEvaluator)
{
    ExpressionGenerator generator(77001);
    std::mt19937_64 random(5150);
    const std::size_t sequences = generatedCount() / 20 + 1;
    std::size_t steps = 0;
    std::size_t mismatches = 0;
    for (std::size_t s = 0; s < sequences; ++s) {
        std::vector<SequenceStep> sequence = makeSequence(generator, random);
        std::vector<Observation> expected = runSequence<ReferenceEvaluator>(sequence);
        steps += sequence.size();
        const std::pair<std::vector<Observation>, const char*> runs[] = {
            {runSequence<clsExpPlus>(sequence), "clsExpPlus"}, {runSequence<CompiledForms>(sequence), "compiled form"}};
        for (const auto& [got, gotBy] : runs) {
            std::size_t i = firstDivergence(expected, got);
            if (i == sequence.size()) continue;
            if (++mismatches <= kMaxReportedMismatches) {
                ADD_FAILURE() << mismatchMessage("sequence:" + describeSequence(sequence, i), expected[i], got[i], gotBy);
            }
        }
    }
    std::printf("[ compared ] %zu sequences, %zu steps, by text and compiled: %zu diverging runs\n", sequences, steps,
                mismatches);
    EXPECT_EQ(mismatches, 0u);
}

}  // namespace
}  // namespace tarnik
