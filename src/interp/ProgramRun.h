#pragma once
// A run as the Start and Debug commands start it, and translation alone, with
// no window: whoever calls owns the program object the run lives in.
#include <string_view>

#include "interp/RunConsole.h"
#include "interp/RunOutcome.h"

namespace tarnik {

class clsCode;

// Start runs freely, pausing only at breakpoints and STOP; Debug pauses
// before the first line and after every step.
enum class RunMode { Free, Stepping };

// Translates and runs the editor text in a fresh program object: empties and
// shows the console, clears the breakpoints, sets the captions around the run.
RunOutcome StartRun(std::u16string_view editorText, RunConsole& console, RunMode mode);
// The same in `code`, which the caller keeps to look into the run while it
// pauses or after it ended.
RunOutcome StartRun(clsCode& code, std::u16string_view editorText, RunConsole& console, RunMode mode);

// Translation alone, as a run does before its first statement (the variables
// are cleared): the first error and its line, if any. `code` keeps the table.
RunOutcome TranslateProgram(std::u16string_view editorText, clsCode& code);

}  // namespace tarnik
