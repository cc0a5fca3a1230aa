#include "interp/ProgramRun.h"

#include "interp/ProgramState.h"
#include "interp/clsCode.h"

namespace tarnik {
namespace {

// The error left by a run or a translation of `code`, taken out of its state.
RunOutcome takeOutcome(clsCode& code)
{
    RunOutcome outcome;
    ErrorState& pending = code.program.Err;
    if (!pending.pending()) return outcome;
    outcome.error = pending.error();
    outcome.line = code.program.CurrentLine;
    outcome.unclosed = code.unclosedBlock();
    pending.clear();
    return outcome;
}

}  // namespace

RunOutcome StartRun(std::u16string_view editorText, RunConsole& console, RunMode mode)
{
    clsCode code;
    return StartRun(code, editorText, console, mode);
}

RunOutcome StartRun(clsCode& code, std::u16string_view editorText, RunConsole& console, RunMode mode)
{
    code.Init(editorText);
    ProgramState& program = code.program;
    program.RunSource.assign(editorText);
    program.FreeRun = mode == RunMode::Free;
    console.Clear();
    console.showConsole();
    program.ClearBreakpoints();
    program.WatchesChange = false;
    console.setCaption(kRunningCaption);
    code.Run(console);
    console.setCaption(kEndedCaption);
    RunOutcome outcome = takeOutcome(code);
    // A run that ends by itself leaves its console shown.
    outcome.aborted = !outcome.error && !console.consoleVisible();
    return outcome;
}

RunOutcome TranslateProgram(std::u16string_view editorText, clsCode& code)
{
    code.Init(editorText);
    code.program.Err.clear();
    code.program.Err.resumeNext([&] { code.Translate(); });
    return takeOutcome(code);
}

}  // namespace tarnik
