#include "interp/ProgramState.h"

namespace tarnik {

ProgramState program;

void ProgramState::reset()
{
    Err.clear();
    FreeRun = true;
    CurrentLine = 0;
    RunSource.clear();
    Breakpoints.clear();
    Variables.Clear();
}

}  // namespace tarnik
