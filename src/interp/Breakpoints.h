#pragma once
// The breakpoint set: editor line numbers at which a run pauses even when it
// runs freely, kept in program.Breakpoints in the order they were added.
#include <cstdint>

namespace tarnik {

void AddBreakpoint(std::int16_t line);     // appends unless already there
void RemoveBreakpoint(std::int16_t line);  // removes the first equal entry, if any
void ClearBreakpoints();
[[nodiscard]] bool IsBreakpoint(std::int16_t line);

}  // namespace tarnik
