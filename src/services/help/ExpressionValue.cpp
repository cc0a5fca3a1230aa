#include "services/help/ExpressionValue.h"

#include "expr/BasicError.h"
#include "expr/TextHelpers.h"
#include "expr/clsExpPlus.h"
#include "expr/clsVar.h"

namespace tarnik {

std::optional<double> expressionValue(std::u16string_view expression, const std::vector<VariableValue>& variables)
{
    ErrorState errors;
    clsVar store(errors);
    for (const VariableValue& variable : variables) store.setVar(variable.name, variable.value);
    clsExpPlus evaluator(store);
    const std::optional<double> value = evaluator.exp(lowerAscii(expression));
    if (errors.pending()) return std::nullopt;
    return value;
}

}  // namespace tarnik
