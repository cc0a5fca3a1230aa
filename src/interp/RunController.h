#pragma once
// Starting a run from the editor and reporting how it ended, without any
// window, and the windows' only way into a run in progress. The IDE and the
// tests drive a run through a RunConsole (the console window as the run sees
// it); the debugger and the console read the paused run and steer it through
// a RunController, never through the core's run state.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "expr/BasicError.h"
#include "interp/PauseWatcher.h"
#include "interp/RunHost.h"
#include "interp/VariableChanges.h"
#include "interp/UnclosedBlock.h"

namespace tarnik {

class clsCode;
struct ProgramState;
struct CaseResult;
struct TestCase;

class RunConsole : public RunHost {
public:
    virtual void Clear() = 0;
    virtual void showConsole() = 0;
    virtual void setCaption(std::u16string_view caption) = 0;
};

inline constexpr std::u16string_view kRunningCaption = u"程序运行中 - 控制台";
inline constexpr std::u16string_view kEndedCaption = u"程序中止 - 控制台";

// Start runs freely, pausing only at breakpoints and STOP; Debug pauses
// before the first line and after every step.
enum class RunMode { Free, Stepping };

// How a run, or a translation on its own, ended.
struct RunOutcome {
    std::optional<BasicError> error;  // the error it stopped on, if any
    std::int32_t line = 0;            // the editor line that error names
    bool aborted = false;             // ended without an error by the console being hidden
    UnclosedBlock unclosed;           // for a block left open: where it begins

    // "错误 N: DESCRIPTION(第L行)", the form the command line prints.
    [[nodiscard]] std::u16string errorLine() const;
};

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
RunOutcome StartRun(std::u16string_view editorText, RunConsole& console, RunMode mode);
// The same in `code`, which the caller keeps to look into the run while it
// pauses or after it ended.
RunOutcome StartRun(clsCode& code, std::u16string_view editorText, RunConsole& console, RunMode mode);

// Translation alone, as a run does before its first statement (the variables
// are cleared): the first error and its line, if any. `code` keeps the table.
RunOutcome TranslateProgram(std::u16string_view editorText, clsCode& code);

// The report for an error on `line`, with the line's place in the editor's
// present text (which may have changed while the program ran).
[[nodiscard]] ErrorReport makeErrorReport(const BasicError& error, std::int32_t line, std::u16string_view editorText);

// The IDE's door into runs: starts them (never one inside another: a run
// yields to the event loop, where a second Start may arrive) and lets the
// debugger and the console see and steer the run in progress.
class RunController {
public:
    using Variable = VariableValue;

    RunController();
    ~RunController();
    RunController(const RunController&) = delete;
    RunController& operator=(const RunController&) = delete;

    // Starts a run unless one is in progress (then returns nothing at once).
    // `translated`, when given, sees the translated program before it runs.
    std::optional<RunOutcome> start(std::u16string_view editorText, RunConsole& console, RunMode mode,
                                    std::function<void(const clsCode&)> translated = {});
    [[nodiscard]] bool running() const { return m_running; }
    // One test case in a fresh run (see runCase in TestCases.h), unless a run
    // is in progress (then nothing at once). `keepGoing` as for runCase.
    std::optional<CaseResult> runTestCase(std::u16string_view editorText, const TestCase& testCase,
                                          const std::function<bool()>& keepGoing);

    // The paused run, as the debugger shows it.
    [[nodiscard]] std::vector<Variable> variables() const;  // in the order of first use
    // The same, each marked against the previous pause of this run.
    [[nodiscard]] std::vector<WatchedVariable> watchedVariables() const;
    [[nodiscard]] std::u16string_view source() const;      // the text as it was started
    [[nodiscard]] std::int32_t currentLine() const;         // the line about to run
    // The line the run is paused before; nothing while it runs or after it ended.
    [[nodiscard]] std::optional<std::int32_t> pausedLine() const { return m_pausedLine; }
    // Told of every pause from now on; nullptr: no one.
    void setPauseWatcher(PauseWatcher* watcher) { m_pauseWatcher = watcher; }
    [[nodiscard]] bool isBreakpoint(std::int32_t line) const;
    void setBreakpoint(std::int32_t line, bool ticked);

    // Step and the console's Pause: stop again before the next editor line.
    void pauseBeforeNextLine();
    // Continue: run on until a breakpoint or STOP.
    void runFreely();

    // The state of the run in progress or of the last one (nothing before
    // the first): for tests and diagnostics, never for steering.
    [[nodiscard]] const ProgramState* state() const;

private:
    class PauseRecorder;

    bool m_running = false;
    std::unique_ptr<clsCode> m_run;  // the run in progress, or the last one
    std::function<void(const clsCode&)> m_translated;
    // The variables as the last pause left them; nothing before a run's first pause.
    std::optional<std::vector<Variable>> m_previousPause;
    std::optional<std::int32_t> m_pausedLine;
    PauseWatcher* m_pauseWatcher = nullptr;
};

}  // namespace tarnik
