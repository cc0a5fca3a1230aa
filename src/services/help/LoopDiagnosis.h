#pragma once
// Why a run that reached its statement limit has not ended. The run is
// replayed (with the answers it was given) and the state before each of its
// last statements kept: where the whole state (line, variables, return stack,
// FOR bounds) at a loop's first line comes back exactly, the loop can never
// end; otherwise the loop still running is named with what the variables of
// its condition did (never changed, moving away from the bound, stepping over
// the value the condition waits for).
#include <cstdint>
#include <string>
#include <stop_token>
#include <string_view>
#include <vector>

namespace tarnik {

// The sentences, in order; `steps` is the number of statements the run
// executed. The replay takes as long as the run did; a stop requested ends
// it soon, with no sentences.
[[nodiscard]] std::vector<std::u16string> loopDiagnosis(std::u16string_view editorText,
                                                        const std::vector<std::u16string>& answers,
                                                        std::int64_t steps, const std::stop_token& stop = {});

}  // namespace tarnik
