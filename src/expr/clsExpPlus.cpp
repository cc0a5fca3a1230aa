#include "expr/clsExpPlus.h"

#include "expr/ExpressionCompiler.h"
#include "expr/TextHelpers.h"

namespace tarnik {
namespace {

bool isAsciiLetterOrDigit(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// The checks on an assignment's target, in order; nullptr when the name is fine.
const ErrorText* nameError(std::u16string_view name)
{
    if (name.empty()) return &kEmptyVariableName;
    if (name[0] >= u'0' && name[0] <= u'9') return &kNameStartsWithDigit;
    for (char16_t c : name.substr(unitsOfCharacterAt(name, 0))) {
        if (!isAsciiLetterOrDigit(c)) return &kInvalidVariableName;
    }
    return nullptr;
}

// The counter an assignment is, if it is one: one step adding a constant to,
// or taking one from, the very name it assigns.
std::optional<Increment> incrementOf(const CompiledStatement& compiled)
{
    if (compiled.kind != CompiledStatement::Kind::Assignment) return std::nullopt;
    const CompiledExpression& source = *compiled.source;
    if (source.ending != CompiledExpression::Ending::Result || source.constantResult || !source.addsZeroLast ||
        source.steps.size() != 1) {
        return std::nullopt;
    }
    const ExpressionStep& step = source.steps.front();
    const bool addsOrSubtracts = step.op == Operator::Add || step.op == Operator::Subtract;
    if (!addsOrSubtracts || step.right.kind != Operand::Kind::Constant || step.left.kind != Operand::Kind::Variable ||
        step.left.variable.name != compiled.target.name) {
        return std::nullopt;
    }
    return Increment{compiled.target, step.op == Operator::Add ? step.right.constant : -step.right.constant};
}

}  // namespace

clsExpPlus::clsExpPlus(clsVar& variables) : m_variables(variables), m_generation(m_variables.generation()) {}

bool clsExpPlus::isKey(std::u16string_view word) { return isOperatorKey(word); }

bool clsExpPlus::logic(std::u16string_view text) { return logic(compiledExpression(text)); }

std::optional<double> clsExpPlus::exp(std::u16string_view text) { return exp(compileStatement(text)); }

const CompiledStatement& clsExpPlus::compileStatement(std::u16string_view text)
{
    dropCacheIfStale();
    auto found = m_exps.find(std::u16string(text));
    if (found != m_exps.end()) return *found->second;

    // An "=" before any "(" makes the text an assignment: name = source.
    auto compiled = std::make_unique<CompiledStatement>();
    int equals = FindOutsideQuotes(text, u"=", m_variables.errors());
    int bracket = FindOutsideQuotes(text, u"(", m_variables.errors());
    if (equals == 0 || (bracket != 0 && bracket < equals)) {
        compiled->source = &compiledExpression(text);
    } else {
        std::u16string_view name = trimBlanks(text.substr(0, static_cast<std::size_t>(equals - 1)));
        if (const ErrorText* error = nameError(name)) {
            compiled->kind = CompiledStatement::Kind::BadName;
            compiled->nameError = *error;
        } else {
            compiled->kind = CompiledStatement::Kind::Assignment;
            compiled->target = m_variables.resolve(name);
            compiled->source = &compiledExpression(trimBlanks(text.substr(static_cast<std::size_t>(equals))));
            compiled->increment = incrementOf(*compiled);
        }
    }
    return *m_exps.emplace(std::u16string(text), std::move(compiled)).first->second;
}

const CompiledExpression& clsExpPlus::compiledExpression(std::u16string_view text)
{
    dropCacheIfStale();
    auto found = m_expressions.find(std::u16string(text));
    if (found != m_expressions.end()) return *found->second;
    auto compiled = std::make_unique<CompiledExpression>(compileExpression(text, m_variables));
    if (m_results.size() < compiled->maxResults) m_results.resize(compiled->maxResults);
    return *m_expressions.emplace(std::u16string(text), std::move(compiled)).first->second;
}

void clsExpPlus::dropCacheIfStale()
{
    if (m_generation == m_variables.generation()) return;
    m_expressions.clear();
    m_exps.clear();
    m_generation = m_variables.generation();
}

}  // namespace tarnik
