#include "support/ReferenceEvaluator.h"

#include <array>
#include <cmath>
#include <variant>

#include "expr/BasicError.h"
#include "expr/NumberText.h"
#include "expr/TextHelpers.h"
#include "expr/clsSen.h"

// GCC 12 takes the text alternative of a StackValue holding a number for
// uninitialised when the stack's vector grows; it is not.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace tarnik::test {
namespace {

// Operator characters by level, lowest first; a word's level is its index + 1.
// abs and sqr bind like functions, tighter than "^".
constexpr std::array<std::u16string_view, 7> kLevels{
    u"#,与,或,反,异", u"<,>,=,不,高,低", u"+,-,余", u"*,/", u"^", u"绝,开", u"(,)"};

// The operator words only count where they stand as words of their own, so
// that names such as score or random survive the rewriting.
struct Rewrite {
    std::u16string_view find;
    std::u16string_view replacement;
    bool wholeWord;
};

constexpr std::array<Rewrite, 12> kRewrites{{
    {u"(-", u"(0-", false},
    {u"( -", u"(0-", false},
    {u"and", u"与", true},
    {u"xor", u"异", true},
    {u"or", u"或", true},
    {u"not", u"反", true},
    {u"<>", u"不", false},
    {u">=", u"高", false},
    {u"<=", u"低", false},
    {u"mod", u"余", true},
    {u"abs", u"绝", true},
    {u"sqr", u"开", true},
}};

bool isLowerLetter(char16_t c) { return c >= u'a' && c <= u'z'; }

bool isNameCharacter(char16_t c)
{
    return isLowerLetter(c) || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

bool isPrefixOperator(std::u16string_view word) { return word == u"反" || word == u"绝" || word == u"开"; }

// 1-based position of the first occurrence of word outside quoted stretches
// with no letter a-z right before or right after it; 0 when there is none.
std::size_t findWholeWordOutsideQuotes(std::u16string_view text, std::u16string_view word)
{
    bool inside = false;
    for (std::size_t p = 0; p < text.size(); ++p) {
        if (text[p] == u'"') {
            inside = !inside;
            continue;
        }
        if (inside || text.substr(p, word.size()) != word) continue;
        bool letterBefore = p > 0 && isLowerLetter(text[p - 1]);
        std::size_t after = p + word.size();
        bool letterAfter = after < text.size() && isLowerLetter(text[after]);
        if (!letterBefore && !letterAfter) return p + 1;
    }
    return 0;
}

std::u16string replaceWholeWordsOutsideQuotes(std::u16string text, const Rewrite& rewrite)
{
    while (std::size_t p = findWholeWordOutsideQuotes(text, rewrite.find)) {
        text.replace(p - 1, rewrite.find.size(), rewrite.replacement);
    }
    return text;
}

// "+0" appended, a leading minus given a 0 in front, every operator turned
// into its single character.
std::u16string rewrite(std::u16string_view source, ErrorState& errors)
{
    std::u16string text(source);
    text += u"+0";
    if (text.front() == u'-') text = u"0" + text;
    for (const Rewrite& step : kRewrites) {
        text = step.wholeWord ? replaceWholeWordsOutsideQuotes(std::move(text), step)
                              : ReplaceOutsideQuotes(text, step.find, step.replacement, errors);
    }
    return text;
}

// A number on the value stack is a key exactly when its text form is.
bool isKeyEntry(const StackValue& entry)
{
    if (const double* number = std::get_if<double>(&entry)) return ReferenceEvaluator::isKey(numberText(*number));
    return ReferenceEvaluator::isKey(std::get<std::u16string>(entry));
}

double checkedResult(double result)
{
    if (std::isnan(result)) raiseError(kInvalidCall);
    if (std::isinf(result)) raiseError(kOverflow);
    return result;
}

double divide(double a, double b)
{
    if (b == 0) raiseError(a == 0 ? kOverflow : kDivisionByZero);
    return checkedResult(a / b);
}

double modulo(double a, double b)
{
    std::int64_t dividend = toInt32(a);
    std::int64_t divisor = toInt32(b);
    if (divisor == 0) raiseError(kDivisionByZero);
    return static_cast<double>(dividend % divisor);
}

double truth(bool value) { return value ? 1 : 0; }

double applyPrefix(std::u16string_view op, double x)
{
    if (op == u"反") return truth(x == 0);
    if (op == u"绝") return std::fabs(x);
    if (x < 0) raiseError(kInvalidCall);
    return std::sqrt(x);
}

double applyTwoOperand(std::u16string_view op, double a, double b)
{
    char16_t c = op.size() == 1 ? op.front() : u'\0';
    switch (c) {
    case u'+': return checkedResult(a + b);
    case u'-': return checkedResult(a - b);
    case u'*': return checkedResult(a * b);
    case u'/': return divide(a, b);
    case u'^': return checkedResult(std::pow(a, b));
    case u'余': return modulo(a, b);
    case u'与': return truth(a != 0 && b != 0);
    case u'或': return truth(a != 0 || b != 0);
    case u'异': return truth((a != 0) != (b != 0));
    case u'<': return truth(a < b);
    case u'>': return truth(a > b);
    case u'=': return truth(a == b);
    case u'不': return truth(a != b);
    case u'高': return truth(a >= b);
    case u'低': return truth(a <= b);
    default: return 0;
    }
}

}  // namespace

ReferenceEvaluator::ReferenceEvaluator(clsVar& variables)
    : m_variables(variables), m_priority(variables.errors())
{
    for (std::size_t level = 1; level <= kLevels.size(); ++level) {
        std::u16string_view operators = kLevels[level - 1];
        for (std::size_t start = 0; start <= operators.size();) {
            std::size_t comma = operators.find(u',', start);
            if (comma == std::u16string_view::npos) comma = operators.size();
            m_priority.setVar(operators.substr(start, comma - start), static_cast<double>(level));
            start = comma + 1;
        }
    }
}

bool ReferenceEvaluator::isKey(std::u16string_view word)
{
    for (std::u16string_view operators : kLevels) {
        if (contains(operators, word)) return true;
    }
    return false;
}

bool ReferenceEvaluator::logic(std::u16string_view text)
{
    std::optional<double> value = evalExp(text);
    return value && *value != 0;
}

std::optional<double> ReferenceEvaluator::exp(std::u16string_view text)
{
    int p = FindOutsideQuotes(text, u"=", m_variables.errors());
    int q = FindOutsideQuotes(text, u"(", m_variables.errors());
    if (p == 0 || (q != 0 && q < p)) return evalExp(text);

    std::u16string_view name = trimBlanks(text.substr(0, static_cast<std::size_t>(p - 1)));
    std::u16string_view source = trimBlanks(text.substr(static_cast<std::size_t>(p)));
    if (name.empty()) raiseError(kEmptyVariableName);
    if (isOperandNumber(name.substr(0, 1))) raiseError(kNameStartsWithDigit);
    // The first character may be any; a surrogate pair is one character.
    for (char16_t c : name.substr(unitsOfCharacterAt(name, 0))) {
        if (!isNameCharacter(c)) raiseError(kInvalidVariableName);
    }

    std::optional<double> value = evalExp(source);
    if (m_variables.errors().number() >= 1) return std::nullopt;
    m_variables.setVar(name, *value);
    return m_variables.getVar(name);
}

std::optional<double> ReferenceEvaluator::evalExp(std::u16string_view source)
{
    std::u16string text = rewrite(source, m_variables.errors());
    m_ops.Clear();
    m_vals.Clear();
    m_ops.Push(u"#");
    m_vals.Push(u"#");

    // The reader's 16-bit position could not walk through a longer text.
    if (text.size() > clsSen::kMaxTextLength) raiseError(kOverflow);
    clsSen reader(m_variables.errors());
    reader.setStrText(text);
    while (!reader.Eof()) shunt(reader.ReadWord());
    while (m_ops.Count() > 1) moveTopOperator();

    m_variables.errors().clear();
    if (m_vals.Count() != 2) {
        m_variables.errors().record(kStatementNotEnded);
        return std::nullopt;
    }
    if (isKeyEntry(m_vals.Item(0))) {
        m_variables.errors().record(kStatementInvalid);
        return std::nullopt;
    }
    return std::get<double>(m_vals.Pop());
}

void ReferenceEvaluator::shunt(const std::u16string& word)
{
    if (!isKey(word)) {
        m_vals.Push(word);
        return;
    }
    std::int32_t wordLevel = levelOf(word);
    std::u16string top = topOperator();
    std::int32_t topLevel = levelOf(top);
    if (isPrefixOperator(word) || (top == u"(" && word == u")") || wordLevel > topLevel) {
        if (word == u")") {
            closeBracket();
        } else {
            m_ops.Push(word);
        }
        return;
    }
    while (m_ops.Count() > 1 && topOperator() != u"(" && wordLevel <= levelOf(topOperator())) moveTopOperator();
    m_ops.Push(word);
}

// Applies everything back to the innermost "(" and drops it; without an open
// bracket the bottom marker goes instead.
void ReferenceEvaluator::closeBracket()
{
    while (m_ops.Count() > 1 && topOperator() != u"(") moveTopOperator();
    m_ops.Pop();
}

void ReferenceEvaluator::moveTopOperator()
{
    m_vals.Push(m_ops.Pop());
    reduce();
}

void ReferenceEvaluator::reduce()
{
    while (isKeyEntry(m_vals.Item(0)) && m_vals.Count() >= 2) {
        std::u16string op = std::get<std::u16string>(m_vals.Pop());
        if (isPrefixOperator(op)) {
            double x = valueOf(m_vals.Pop());
            m_vals.Push(applyPrefix(op, x));
        } else {
            double b = valueOf(m_vals.Pop());
            double a = valueOf(m_vals.Pop());
            m_vals.Push(applyTwoOperand(op, a, b));
        }
    }
}

double ReferenceEvaluator::valueOf(const StackValue& entry)
{
    if (const double* number = std::get_if<double>(&entry)) return readBack15(*number);
    const std::u16string& word = std::get<std::u16string>(entry);
    if (isOperandNumber(word)) return decimalValue(word);
    return m_variables.getVar(word).value_or(0);
}

std::int32_t ReferenceEvaluator::levelOf(std::u16string_view word)
{
    return static_cast<std::int32_t>(m_priority.getVar(word).value_or(0));
}

const std::u16string& ReferenceEvaluator::topOperator() const
{
    return std::get<std::u16string>(m_ops.Item(0));
}

}  // namespace tarnik::test
