#include "interp/ProgramState.h"

#include <algorithm>

namespace tarnik {

void ProgramState::reset()
{
    Err.clear();
    FreeRun = true;
    CurrentLine = 0;
    RunSource.clear();
    Breakpoints.clear();
    WatchesChange = false;
    Variables.Clear();
}

void ProgramState::AddBreakpoint(std::int16_t line)
{
    if (!IsBreakpoint(line)) Breakpoints.push_back(line);
}

void ProgramState::RemoveBreakpoint(std::int16_t line)
{
    const auto found = std::find(Breakpoints.begin(), Breakpoints.end(), line);
    if (found != Breakpoints.end()) Breakpoints.erase(found);
}

bool ProgramState::IsBreakpoint(std::int16_t line) const
{
    return std::find(Breakpoints.begin(), Breakpoints.end(), line) != Breakpoints.end();
}

}  // namespace tarnik
