#pragma once
// Told when a run pauses in the debugger and when it goes on (a step,
// Continue, an abort, the window closed), so that a window other than the
// console, such as the editor with its paused-line marker, can follow the
// pauses without the core knowing it.
#include <cstdint>

namespace tarnik {

class PauseWatcher {
public:
    virtual ~PauseWatcher() = default;
    // Before the debugger opens; `line` is the editor line about to run.
    virtual void paused(std::int32_t line) = 0;
    // After the debugger has closed, whatever closed it.
    virtual void resumed() = 0;
    // While paused, after a breakpoint was ticked or unticked.
    virtual void breakpointsChanged() = 0;
};

}  // namespace tarnik
