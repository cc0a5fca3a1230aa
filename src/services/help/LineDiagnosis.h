#pragma once
// What the line an error stopped on shows to be its likely cause, told from
// that line's own characters and words: a "==", a "+=", a brace, a label with
// a colon, a PRINT without separators, a divisor that was 0 and where it got
// that value… One sentence per cause, in the beginner's own names; the IDE's
// error box and `tarnik-cli explain FILE` show the same sentences.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "interp/RunOutcome.h"
#include "interp/VariableChanges.h"

namespace tarnik {

// Where a variable got the value it held when the run stopped.
struct ValueOrigin {
    std::u16string name;
    std::int32_t line = 0;  // editor line of the statement that last changed it; 0: never given a value
};

// What the run knew when it stopped, beyond the text; empty when unknown
// (a translation error, or a host that did not keep it).
struct ErrorFacts {
    std::vector<VariableValue> variables;  // the values when the run stopped
    std::vector<ValueOrigin> origins;
};

// The causes the error's line (and, for a block left open, the block's
// lines) shows, one sentence each, in the order they stand in the line.
[[nodiscard]] std::vector<std::u16string> lineCauses(const RunOutcome& outcome, std::u16string_view editorText,
                                                     const ErrorFacts& facts = {});

// The facts of a run that stopped on an error, found by running it again
// with the answers it was given.
[[nodiscard]] ErrorFacts replayErrorFacts(std::u16string_view editorText, const std::vector<std::u16string>& answers);

// The facts the causes of `outcome` can use (a divisor's value, a FOR
// bound's or step's), replayed only for the errors that need them; none
// for the others.
[[nodiscard]] ErrorFacts factsForError(const RunOutcome& outcome, std::u16string_view editorText,
                                       const std::vector<std::u16string>& answers);

}  // namespace tarnik
