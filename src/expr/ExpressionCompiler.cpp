#include "expr/ExpressionCompiler.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "expr/BasicError.h"
#include "expr/NumberText.h"
#include "expr/TextHelpers.h"
#include "expr/clsSen.h"

namespace tarnik {
namespace {

struct Rewrite {
    std::u16string_view find;
    std::u16string_view replacement;
    bool wholeWord;  // only where neither neighbour is a letter a-z
};

// In this order: "xor" before "or", the brackets before anything else.
constexpr Rewrite kRewrites[] = {
    {u"(-", u"(0-", false}, {u"( -", u"(0-", false}, {u"and", u"与", true}, {u"xor", u"异", true},
    {u"or", u"或", true},   {u"not", u"反", true},    {u"<>", u"不", false}, {u">=", u"高", false},
    {u"<=", u"低", false},  {u"mod", u"余", true},    {u"abs", u"绝", true}, {u"sqr", u"开", true},
};

bool isLetter(char16_t c) { return c >= u'a' && c <= u'z'; }

// Replacing only whole words never puts a letter next to another occurrence,
// so one pass gives what repeated leftmost searches would.
std::u16string replaceWholeWords(std::u16string_view text, std::u16string_view word,
                                 std::u16string_view replacement)
{
    std::u16string result;
    result.reserve(text.size());
    bool inside = false;
    for (std::size_t i = 0; i < text.size();) {
        bool whole = !inside && text.substr(i, word.size()) == word && (i == 0 || !isLetter(text[i - 1])) &&
                     (i + word.size() == text.size() || !isLetter(text[i + word.size()]));
        if (whole) {
            result += replacement;
            i += word.size();
            continue;
        }
        if (text[i] == u'"') inside = !inside;
        result += text[i++];
    }
    return result;
}

int levelOf(std::u16string_view key)
{
    if (key.size() != 1 || key == u",") return 0;
    for (int level = 1; level <= 7; ++level) {
        if (contains(kOperatorLevels[level - 1], key)) return level;
    }
    return 0;
}

Operator operatorOf(std::u16string_view key)
{
    static constexpr std::pair<char16_t, Operator> kOperators[] = {
        {u'+', Operator::Add},      {u'-', Operator::Subtract},     {u'*', Operator::Multiply},
        {u'/', Operator::Divide},   {u'^', Operator::Power},        {u'余', Operator::Mod},
        {u'与', Operator::And},     {u'或', Operator::Or},          {u'异', Operator::Xor},
        {u'<', Operator::Less},     {u'>', Operator::Greater},      {u'=', Operator::Equal},
        {u'不', Operator::NotEqual}, {u'高', Operator::GreaterEqual}, {u'低', Operator::LessEqual},
        {u'反', Operator::Not},     {u'绝', Operator::Abs},         {u'开', Operator::Sqr},
    };
    if (key.size() == 1) {
        for (auto [character, op] : kOperators) {
            if (key[0] == character) return op;
        }
    }
    return Operator::Zero;
}

// Runs the two-stack algorithm on entry kinds instead of values.
class SymbolicEvaluation {
public:
    SymbolicEvaluation(clsVar& variables, CompiledExpression& compiled) : m_variables(variables), m_compiled(compiled) {}

    // Returns false when a stack error ends the evaluation.
    bool run(std::u16string_view rewritten)
    {
        m_ops = {u"#"};
        m_vals = {{Entry::Key, u"#"}};
        clsSen reader(m_variables.errors());
        reader.setStrText(rewritten);
        while (!reader.Eof()) {
            std::u16string word = reader.ReadWord();
            if (!isOperatorKey(word)) {
                m_vals.push_back({Entry::Word, std::move(word)});
            } else if (!readOperator(word)) {
                return false;
            }
        }
        while (m_ops.size() > 1) {
            if (!moveTopAndReduce()) return false;
        }
        return true;
    }

    // The value when the whole expression was worked out here.
    [[nodiscard]] std::optional<double> constantResult() const
    {
        if (m_vals.back().kind != Entry::Folded) return std::nullopt;
        return m_vals.back().value;
    }

    [[nodiscard]] CompiledExpression::Ending ending() const
    {
        if (m_vals.size() != 2) return CompiledExpression::Ending::NotEnded;
        if (m_vals.back().kind == Entry::Key) return CompiledExpression::Ending::Invalid;
        return CompiledExpression::Ending::Result;
    }

private:
    struct Entry {
        enum Kind { Key, Word, Result, Folded } kind;
        std::u16string text;
        double value = 0;  // a Folded entry's: a result worked out here already
    };

    bool readOperator(const std::u16string& word)
    {
        if (m_ops.empty()) return false;  // the bottom marker went with an unmatched ")"
        const int wordLevel = levelOf(word);
        const std::u16string& top = m_ops.back();
        bool prefix = isPrefixOperator(operatorOf(word));
        if (prefix || (top == u"(" && word == u")") || wordLevel > levelOf(top)) {
            if (word != u")") {
                m_ops.push_back(word);
                return true;
            }
            while (m_ops.size() > 1 && m_ops.back() != u"(") {
                if (!moveTopAndReduce()) return false;
            }
            m_ops.pop_back();  // the "(", or the bottom marker when none was open
            return true;
        }
        while (m_ops.size() > 1 && m_ops.back() != u"(" && wordLevel <= levelOf(m_ops.back())) {
            if (!moveTopAndReduce()) return false;
        }
        m_ops.push_back(word);
        return true;
    }

    bool moveTopAndReduce()
    {
        m_vals.push_back({Entry::Key, std::move(m_ops.back())});
        m_ops.pop_back();
        return reduce();
    }

    // Applies the operator on top of the values; each call applies one, since
    // every result pushed is a number and not an operator.
    bool reduce()
    {
        while (m_vals.back().kind == Entry::Key && m_vals.size() >= 2) {
            ExpressionStep step;
            step.op = operatorOf(m_vals.back().text);
            m_vals.pop_back();
            step.right = operandOf(m_vals.back());
            m_vals.pop_back();
            if (!isPrefixOperator(step.op)) {
                if (m_vals.empty()) {
                    step.op = Operator::FailAfterRight;
                    step.bind();
                    m_compiled.steps.push_back(step);
                    return false;
                }
                step.left = operandOf(m_vals.back());
                m_vals.pop_back();
            }
            step.bind();
            if (std::optional<double> value = foldedValue(step)) {
                m_vals.push_back({Entry::Folded, {}, *value});
                continue;
            }
            step.output = m_results;
            m_compiled.steps.push_back(step);
            m_vals.push_back({Entry::Result, {}});
            m_compiled.maxResults = std::max<std::uint32_t>(m_compiled.maxResults, ++m_results);
        }
        return true;
    }

    // A step on constants alone has nothing to show but its result, which is
    // worked out here, unless it fails: then it stays, to fail when it runs.
    std::optional<double> foldedValue(ExpressionStep& step)
    {
        const bool constant = step.right.kind == Operand::Kind::Constant &&
                              (isPrefixOperator(step.op) || step.left.kind == Operand::Kind::Constant);
        if (!constant || step.op == Operator::FailAfterRight) return std::nullopt;
        step.bind();
        try {
            return step.run(step, m_variables, nullptr);  // constants need no earlier results
        } catch (const BasicError&) {
            return std::nullopt;
        }
    }

    Operand operandOf(const Entry& entry)
    {
        Operand operand;
        if (entry.kind == Entry::Result) {
            operand.kind = Operand::Kind::Result;
            operand.slot = --m_results;
        } else if (entry.kind == Entry::Folded) {
            try {
                operand.constant = readBack15(entry.value);  // as any result taken as an operand
            } catch (const BasicError&) {
                operand.kind = Operand::Kind::Overflow;
            }
        } else if (entry.kind == Entry::Word && isOperandNumber(entry.text)) {
            try {
                operand.constant = decimalValue(entry.text);
            } catch (const BasicError&) {
                operand.kind = Operand::Kind::Overflow;
            }
        } else {
            operand.kind = Operand::Kind::Variable;
            operand.variable = m_variables.resolve(entry.text);
        }
        return operand;
    }

    clsVar& m_variables;
    CompiledExpression& m_compiled;
    std::vector<std::u16string> m_ops;
    std::vector<Entry> m_vals;
    std::uint32_t m_results = 0;
};

// "variable + 0" taken at once by the next step: as its right operand, which
// is fetched first, or as its left one after a constant right one. Fetching
// the variable there instead happens at the same point among the fetches.
void foldVariablePlusZero(CompiledExpression& compiled)
{
    auto& steps = compiled.steps;
    for (std::size_t k = 0; k + 1 < steps.size(); ++k) {
        const ExpressionStep& sum = steps[k];
        if (sum.op != Operator::Add || sum.left.kind != Operand::Kind::Variable ||
            sum.right.kind != Operand::Kind::Constant || sum.right.constant != 0) {
            continue;
        }
        ExpressionStep& next = steps[k + 1];
        const bool unary = isPrefixOperator(next.op);
        Operand* taker = nullptr;
        if (next.right.kind == Operand::Kind::Result) {
            taker = &next.right;
        } else if (!unary && next.right.kind == Operand::Kind::Constant && next.left.kind == Operand::Kind::Result) {
            taker = &next.left;
        }
        if (taker == nullptr || next.op == Operator::FailAfterRight) continue;
        *taker = {.kind = Operand::Kind::VariablePlusZero, .variable = sum.left.variable};
        next.bind();
        steps.erase(steps.begin() + static_cast<std::ptrdiff_t>(k));
    }
}

// The last step "result + 0" of a program that ends with that one result.
void foldFinalAddZero(CompiledExpression& compiled)
{
    if (compiled.ending != CompiledExpression::Ending::Result || compiled.constantResult || compiled.steps.empty()) return;
    const ExpressionStep& last = compiled.steps.back();
    if (last.op == Operator::Add && last.left.kind == Operand::Kind::Result &&
        last.right.kind == Operand::Kind::Constant && last.right.constant == 0) {
        compiled.steps.pop_back();
        compiled.addsZeroLast = true;
    }
}

}  // namespace

bool isOperatorKey(std::u16string_view word)
{
    return std::any_of(std::begin(kOperatorLevels), std::end(kOperatorLevels),
                       [word](std::u16string_view level) { return contains(level, word); });
}

std::u16string rewriteOperators(std::u16string_view text, ErrorState& errors)
{
    std::u16string rewritten(text);
    rewritten += u"+0";
    if (rewritten.front() == u'-') rewritten.insert(0, 1, u'0');
    for (const Rewrite& rewrite : kRewrites) {
        rewritten = rewrite.wholeWord ? replaceWholeWords(rewritten, rewrite.find, rewrite.replacement)
                                      : ReplaceOutsideQuotes(rewritten, rewrite.find, rewrite.replacement, errors);
    }
    return rewritten;
}

CompiledExpression compileExpression(std::u16string_view text, clsVar& variables)
{
    CompiledExpression compiled;
    std::u16string rewritten = rewriteOperators(text, variables.errors());
    if (rewritten.size() > clsSen::kMaxTextLength) {
        compiled.ending = CompiledExpression::Ending::TooLong;
        return compiled;
    }
    SymbolicEvaluation evaluation(variables, compiled);
    compiled.ending = evaluation.run(rewritten) ? evaluation.ending() : CompiledExpression::Ending::StackError;
    if (compiled.ending == CompiledExpression::Ending::Result) compiled.constantResult = evaluation.constantResult();
    foldFinalAddZero(compiled);
    foldVariablePlusZero(compiled);
    compiled.chooseEvaluation();
    return compiled;
}

}  // namespace tarnik
