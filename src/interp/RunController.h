#pragma once
// Starting a run from the editor and reporting how it ended, without any
// window: the IDE's Start and Debug commands and the tests drive it through a
// RunConsole, the console window as the run sees it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "expr/BasicError.h"
#include "interp/RunHost.h"

namespace tarnik {

class RunConsole : public RunHost {
public:
    virtual void Clear() = 0;
    virtual void showConsole() = 0;
    virtual void setCaption(std::u16string_view caption) = 0;
};

inline constexpr std::u16string_view kRunningCaption = u"程序运行中 - 控制台";
inline constexpr std::u16string_view kEndedCaption = u"程序中止 - 控制台";

// What the user is shown when a run stops on an error.
struct ErrorReport {
    std::u16string title;  // "错误 " + number
    std::u16string text;   // description + "(第" + line + "行)"
    // The reported line in the editor text, counting a line break as two
    // characters (CR LF) and, for editors that hold LF only, as one.
    std::int32_t selectionStart = 0;
    std::int32_t selectionStartSingleBreaks = 0;
    std::int32_t selectionLength = 0;
};

// Translates and runs the editor text in a fresh program object: empties and
// shows the console, clears the breakpoints, sets the captions around the run.
// Returns the error the run stopped on (the error state is cleared again),
// with program.CurrentLine naming its line.
std::optional<BasicError> StartRun(std::u16string_view editorText, RunConsole& console);

// The report for an error on `line`, with the line's place in the editor's
// present text (which may have changed while the program ran).
[[nodiscard]] ErrorReport makeErrorReport(const BasicError& error, std::int32_t line, std::u16string_view editorText);

}  // namespace tarnik
