#pragma once
// A run as it stood between two statements, as the debugger shows it.
#include <cstdint>
#include <string>
#include <vector>

#include "interp/VariableChanges.h"

namespace tarnik {

struct RunMoment {
    std::int64_t step = 0;                // statements executed before this moment
    std::int32_t line = 0;                // CurrentLine: the next statement's, or after the end the last one's
    bool ended = false;                   // no statement follows: the run ended before this step
    std::vector<VariableValue> variables;  // in the order of the variable table
    std::u16string console;               // everything the console got
    std::vector<std::int32_t> gosubLines;  // editor lines that pushed the return stack, the oldest first

    friend bool operator==(const RunMoment&, const RunMoment&) = default;
};

}  // namespace tarnik
