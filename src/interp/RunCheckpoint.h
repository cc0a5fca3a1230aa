#pragma once
// Everything a run holds between two statements that a later statement can
// read: enough to go on from there in a fresh program object of the same
// text, exactly as the run went on. (What the run only tells its host, the
// question an INPUT shows, is not kept: a replay asks nobody.)
#include <cstdint>
#include <vector>

#include "interp/VariableChanges.h"

namespace tarnik {

// A FOR line's bounds as its last execution left them.
struct ForBounds {
    std::int16_t index = 0;  // the FOR's table index
    std::int16_t min = 0;
    std::int16_t max = 0;
    std::int16_t step = 0;
    std::u16string name;
};

struct RunCheckpoint {
    std::int16_t nextIndex = 1;              // table index of the statement to run next
    std::int32_t currentLine = 0;            // its editor line
    std::int16_t previousLine = 0;           // editor line of the statement run last
    std::vector<std::int16_t> returnStack;   // table indices, the oldest first
    std::vector<ForBounds> forBounds;        // every FOR line's
    std::vector<VariableValue> variables;    // in the order of the variable table
};

}  // namespace tarnik
