#pragma once
// How a run, or a translation on its own, ended.
#include <cstdint>
#include <optional>
#include <string>

#include "expr/BasicError.h"
#include "interp/UnclosedBlock.h"

namespace tarnik {

struct RunOutcome {
    std::optional<BasicError> error;  // the error it stopped on, if any
    std::int32_t line = 0;            // the editor line that error names
    bool aborted = false;             // ended without an error by the console being hidden
    UnclosedBlock unclosed;           // for a block left open: where it begins

    // "错误 N: DESCRIPTION(第L行)", the form the command line prints.
    [[nodiscard]] std::u16string errorLine() const;
};

// DESCRIPTION(第L行): the text of the error box and of the error line.
[[nodiscard]] std::u16string descriptionWithLine(const BasicError& error, std::int32_t line);

}  // namespace tarnik
