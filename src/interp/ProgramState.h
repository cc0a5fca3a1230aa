#pragma once
// The state a run shares between its parts: the translator, the executor and
// the run controller. There is exactly one, `program`, like the single VM of a
// small interpreter; tests reset it. Only the core includes this header: the
// windows see a run through RunController, and the expression layer gets the
// variables (and with them the error state) passed in.
#include <cstdint>
#include <string>
#include <vector>

#include "expr/BasicError.h"
#include "expr/clsVar.h"

namespace tarnik {

struct ProgramState {
    ErrorState Err;                          // the one pending error
    bool FreeRun = true;                     // false: pause before every new editor line
    std::int32_t CurrentLine = 0;            // editor line being translated or executed
    std::u16string RunSource;                // editor text as it was when the run started
    std::vector<std::int16_t> Breakpoints;   // editor lines, in the order they were added
    clsVar Variables{Err};

    void reset();
};

extern ProgramState program;

}  // namespace tarnik
