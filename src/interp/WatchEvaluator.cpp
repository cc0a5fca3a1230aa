#include "interp/WatchEvaluator.h"

#include <optional>

#include "expr/NumberText.h"
#include "expr/TextHelpers.h"

namespace tarnik {
namespace {

constexpr std::u16string_view kAssignRefused = u"监视中的“=”会给变量赋值，所以没有计算；比较请给左边加括号，如 (a) = 5";
constexpr std::u16string_view kNoValue = u"表达式没有值";

// As exp() decides: an "=" outside quotes, with no "(" before it, assigns.
bool wouldAssign(std::u16string_view text)
{
    ErrorState scratch;
    const int equals = FindOutsideQuotes(text, u"=", scratch);
    const int bracket = FindOutsideQuotes(text, u"(", scratch);
    return equals != 0 && (bracket == 0 || bracket > equals);
}

}  // namespace

WatchEvaluator::WatchEvaluator(const std::vector<VariableValue>& variables)
{
    for (const VariableValue& variable : variables) m_variables.setVar(variable.name, variable.value);
    m_errors.clear();
}

WatchResult WatchEvaluator::value(std::u16string_view expression)
{
    const std::u16string text = LowerOutsideLiterals(trimBlanks(expression));
    if (wouldAssign(text)) return {false, std::u16string(kAssignRefused)};
    m_errors.clear();
    std::optional<double> result;
    m_errors.resumeNext([&] { result = m_evaluator.exp(text); });
    if (m_errors.pending() || !result) {
        return {false, m_errors.pending() ? m_errors.description() : std::u16string(kNoValue)};
    }
    return {true, numberText(*result)};
}

bool WatchEvaluator::holds(std::u16string_view condition)
{
    const std::u16string text = LowerOutsideLiterals(trimBlanks(condition));
    m_errors.clear();
    bool holds = true;
    m_errors.resumeNext([&] { holds = m_evaluator.logic(text); });
    return holds || m_errors.pending();
}

}  // namespace tarnik
