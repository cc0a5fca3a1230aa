#include "interp/Breakpoints.h"

#include <algorithm>

#include "interp/ProgramState.h"

namespace tarnik {

void AddBreakpoint(std::int16_t line)
{
    if (!IsBreakpoint(line)) program.Breakpoints.push_back(line);
}

void RemoveBreakpoint(std::int16_t line)
{
    auto& lines = program.Breakpoints;
    auto found = std::find(lines.begin(), lines.end(), line);
    if (found != lines.end()) lines.erase(found);
}

void ClearBreakpoints() { program.Breakpoints.clear(); }

bool IsBreakpoint(std::int16_t line)
{
    const auto& lines = program.Breakpoints;
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace tarnik
