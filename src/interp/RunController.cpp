#include "interp/RunController.h"

#include "expr/NumberText.h"
#include "interp/ProgramState.h"
#include "interp/clsCode.h"

namespace tarnik {

// The console as the run sees it: everything goes through to the real one.
// A pause is also told to the watcher, and when it ends, its variables are
// kept for the next pause to be compared with (the debugger window lives for
// one pause only, so the controller keeps them).
class RunController::PauseRecorder final : public RunConsole {
public:
    PauseRecorder(RunController& controller, RunConsole& console) : m_controller(controller), m_console(console) {}

    void translated(const clsCode& code) override
    {
        if (m_controller.m_translated) m_controller.m_translated(code);
        m_console.translated(code);
    }
    void yield() override { m_console.yield(); }
    std::int64_t quietStatements() override { return m_console.quietStatements(); }
    bool consoleVisible() override { return m_console.consoleVisible(); }
    void StopWindow() override
    {
        m_controller.m_pausedLine = m_controller.currentLine();
        if (m_controller.m_pauseWatcher) m_controller.m_pauseWatcher->paused(*m_controller.m_pausedLine);
        m_console.StopWindow();
        m_controller.m_previousPause = m_controller.variables();
        m_controller.m_pausedLine.reset();
        if (m_controller.m_pauseWatcher) m_controller.m_pauseWatcher->resumed();
    }
    void Append(std::u16string_view text) override { m_console.Append(text); }
    void inputQuestion(std::u16string_view question) override { m_console.inputQuestion(question); }
    std::optional<std::u16string> InputWindow(std::u16string_view info) override
    {
        return m_console.InputWindow(info);
    }
    void Clear() override { m_console.Clear(); }
    void showConsole() override { m_console.showConsole(); }
    void setCaption(std::u16string_view caption) override { m_console.setCaption(caption); }

private:
    RunController& m_controller;
    RunConsole& m_console;
};

std::optional<RunOutcome> RunController::start(std::u16string_view editorText, RunConsole& console, RunMode mode,
                                              std::function<void(const clsCode&)> translated)
{
    if (m_running) return std::nullopt;
    m_running = true;
    m_translated = std::move(translated);
    m_previousPause.reset();
    m_run = std::make_unique<clsCode>();
    PauseRecorder recorder(*this, console);
    RunOutcome outcome = StartRun(*m_run, editorText, recorder, mode);
    m_translated = nullptr;
    m_running = false;
    return outcome;
}

std::vector<RunController::Variable> RunController::variables() const
{
    std::vector<Variable> list;
    if (!m_run) return list;
    const clsVar& variables = m_run->program.Variables;
    for (const std::u16string& name : variables.VarNames()) list.push_back({name, variables.valueOf(name)});
    return list;
}

std::vector<WatchedVariable> RunController::watchedVariables() const
{
    return compareWithPreviousPause(m_previousPause, variables());
}

std::u16string_view RunController::source() const { return m_run ? m_run->program.RunSource : std::u16string_view(); }

std::int32_t RunController::currentLine() const { return m_run ? m_run->program.CurrentLine : 0; }

const ProgramState* RunController::state() const { return m_run ? &m_run->program : nullptr; }

// Breakpoints are 16-bit line numbers; a line beyond them cannot be run to.
bool RunController::isBreakpoint(std::int32_t line) const
{
    return m_run && line <= kMax16Bit && m_run->program.IsBreakpoint(static_cast<std::int16_t>(line));
}

void RunController::setBreakpoint(std::int32_t line, bool ticked)
{
    if (!m_run || line > kMax16Bit) return;
    if (ticked) {
        m_run->program.AddBreakpoint(static_cast<std::int16_t>(line));
    } else {
        m_run->program.RemoveBreakpoint(static_cast<std::int16_t>(line));
    }
    if (m_pausedLine && m_pauseWatcher) m_pauseWatcher->breakpointsChanged();
}

void RunController::pauseBeforeNextLine()
{
    if (m_run) m_run->program.FreeRun = false;
}

void RunController::runFreely()
{
    if (m_run) m_run->program.FreeRun = true;
}

RunController::RunController() = default;
RunController::~RunController() = default;

}  // namespace tarnik
