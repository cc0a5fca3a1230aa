#pragma once
// What run and trace share once the program has run on a StdioHost: a run
// stopped by a signal, a failed output, an answer line too long, the
// statement limit, the program's error, each said on standard error and
// turned into the exit status.
#include <cstdint>
#include <optional>
#include <string_view>

#include "interp/RunOutcome.h"

namespace tarnik {
class clsCode;
}

namespace tarnik::cli {

class StdioHost;

// `command` names the command in the messages ("run", "trace").
[[nodiscard]] int finishHostedRun(std::string_view command, StdioHost& host, const clsCode& code,
                                  const RunOutcome& outcome, std::optional<std::int64_t> maxSteps);

}  // namespace tarnik::cli
