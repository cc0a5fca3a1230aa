#pragma once
// The commands of tarnik-cli and what they share: reading a source file the
// way the editor would hold it, translating it, and the error line. Each
// command takes the arguments after its name and returns the exit status.
#include <span>
#include <string>
#include <string_view>

#include "interp/RunController.h"

namespace tarnik::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitProgramError = 1;  // a translation or run-time error of the BASIC program
inline constexpr int kExitFailure = 2;       // bad arguments, unreadable file

using Arguments = std::span<const std::string>;

// A failure that is not the BASIC program's: the command stops with exit
// status 2. With `showUsage` the command's usage line follows the message.
struct CliFailure {
    std::string message;
    bool showUsage = false;
};

// The one FILE operand of a command without options.
[[nodiscard]] std::string fileArgument(std::string_view command, Arguments arguments);

// The file's bytes decoded as the editor would hold them (line ends CR LF);
// bytes that could not be read are announced by a warning line on standard
// error, since the text then differs from the file.
[[nodiscard]] std::u16string readSource(const std::string& path);

// "错误 N: DESCRIPTION(第L行)" on standard error.
void reportError(const RunOutcome& outcome);

inline constexpr int kExitStepLimit = 3;     // run: --max-steps reached
inline constexpr int kExitOutputFailed = 4;  // standard output could not be written

// Writes to standard output, unbuffered; the errno of a failed write, 0 when
// everything went out. A write cut short by a signal goes on.
[[nodiscard]] int writeStandardOutput(std::string_view bytes);

// Says on standard error that standard output failed with `error`; returns
// the exit status for it.
int reportOutputFailure(int error);

// A command's output written: kExitOk, or the failure reported and its status.
[[nodiscard]] int writeOutput(std::string_view bytes);

int checkCommand(Arguments arguments);
int tableCommand(Arguments arguments);
int runCommand(Arguments arguments);
int formatCommand(Arguments arguments);
// Exit 0 when every case passes, 1 when one does not.
int testCommand(Arguments arguments);
int explainCommand(Arguments arguments);
int lintCommand(Arguments arguments);
// Exit 0 when the class was judged, 4 when a report could not be written.
int gradeCommand(Arguments arguments);
// run with the execution record on standard output instead of the console output.
int traceCommand(Arguments arguments);

}  // namespace tarnik::cli
