#pragma once
// The value an expression of the program had at a moment of a run: it is
// evaluated by the language's own evaluator over the variables as they were
// then, so the help quotes exactly the number the run saw.
#include <optional>
#include <string_view>
#include <vector>

#include "interp/VariableChanges.h"

namespace tarnik {

// Nothing when the expression cannot be evaluated (an error in it).
[[nodiscard]] std::optional<double> expressionValue(std::u16string_view expression,
                                                    const std::vector<VariableValue>& variables);

}  // namespace tarnik
