#pragma once
// The state of one run, shared by its translator, executor and controller:
// the pending error, the run mode, the line being translated or executed, the
// text the run started from, its breakpoints and its variables. Each run's
// program object (clsCode) holds its own, so any number of runs can exist at
// once, each in its own thread; the windows see a run only through
// RunController, and the expression layer gets the variables (and with them
// the error state) passed in.
#include <cstdint>
#include <string>
#include <vector>

#include "expr/BasicError.h"
#include "expr/clsVar.h"

namespace tarnik {

struct ProgramState {
    ProgramState() = default;
    // The variables hold a reference to the error state beside them.
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    ErrorState Err;                          // the one pending error
    bool FreeRun = true;                     // false: pause before every new editor line
    std::int32_t CurrentLine = 0;            // editor line being translated or executed
    std::u16string RunSource;                // editor text as it was when the run started
    std::vector<std::int16_t> Breakpoints;   // editor lines, in the order they were added
    bool WatchesChange = false;              // the host is asked before every statement whether to pause
    clsVar Variables{Err};

    // As a new run finds it.
    void reset();

    // The breakpoint set: editor lines at which the run pauses even when it runs freely.
    void AddBreakpoint(std::int16_t line);     // appends unless already there
    void RemoveBreakpoint(std::int16_t line);  // removes the first equal entry, if any
    void ClearBreakpoints() { Breakpoints.clear(); }
    [[nodiscard]] bool IsBreakpoint(std::int16_t line) const;
};

}  // namespace tarnik
