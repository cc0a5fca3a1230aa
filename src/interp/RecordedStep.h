#pragma once
// One executed statement as the execution record keeps it: its number (the
// count a statement limit counts), the editor line it ran on, the variables
// it introduced or changed (in the order of the variable table) and the
// console text it appended.
#include <cstdint>
#include <string>
#include <vector>

#include "interp/VariableChanges.h"

namespace tarnik {

struct RecordedStep {
    std::int64_t step = 0;
    std::int32_t line = 0;
    std::vector<VariableValue> changes;
    std::u16string output;
};

// The step as one line of the trace: STEP, LINE, CHANGES and OUTPUT separated
// by tabs, the output's backslashes, line ends and tabs escaped; no line end.
[[nodiscard]] std::u16string traceLine(const RecordedStep& step);

}  // namespace tarnik
