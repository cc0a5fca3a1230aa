#include "interp/RunController.h"

#include <algorithm>

#include "expr/NumberText.h"
#include "expr/TextHelpers.h"
#include "interp/ProgramState.h"
#include "interp/clsCode.h"

namespace tarnik {

// The console as the run sees it: everything goes through to the real one.
// A pause is also told to the watcher, and when it ends, its variables are
// kept for the next pause to be compared with (the debugger window lives for
// one pause only, so the controller keeps them). In a Debug run it also
// counts the statements and keeps the answers for the record, so it grants
// no quiet statements there: it must see every statement start.
class RunController::PauseRecorder final : public RunConsole {
public:
    PauseRecorder(RunController& controller, RunConsole& console) : m_controller(controller), m_console(console) {}

    void translated(const clsCode& code) override
    {
        m_controller.prepareRun();
        if (m_controller.m_translated) m_controller.m_translated(code);
        m_console.translated(code);
    }
    bool breakpointHolds(std::int16_t line) override { return m_controller.breakpointHolds(line); }
    bool watchedValueChanged() override { return m_controller.watchedValueChanged(); }
    void yield() override
    {
        m_afterYield = true;
        m_console.yield();
    }
    // Granted statements count as started, as the host that grants them
    // counts them; those still to come at a pause are taken off meanwhile.
    std::int64_t quietStatements() override
    {
        const std::int64_t granted = m_controller.m_timeline ? 0 : m_console.quietStatements();
        m_controller.m_liveStarted += granted;
        return granted;
    }
    void quietStatementsLeft(std::int64_t left) override { m_quietLeft = left; }
    bool consoleVisible() override
    {
        const bool visible = m_console.consoleVisible();
        if (m_afterYield && visible) {
            ++m_controller.m_liveStarted;
            m_controller.pauseAtStepTarget();
        }
        m_afterYield = false;
        return visible;
    }
    void StopWindow() override
    {
        m_controller.m_liveStarted -= m_quietLeft;
        m_console.quietStatementsLeft(m_quietLeft);
        pause();
        m_controller.m_liveStarted += m_quietLeft;
        m_quietLeft = 0;
    }
    void Append(std::u16string_view text) override { m_console.Append(text); }
    void inputQuestion(std::u16string_view question) override { m_console.inputQuestion(question); }
    std::optional<std::u16string> InputWindow(std::u16string_view info) override
    {
        std::optional<std::u16string> answer = m_console.InputWindow(info);
        if (answer && m_controller.m_timeline) m_controller.m_timeline->addAnswer(*answer);
        return answer;
    }
    void Clear() override { m_console.Clear(); }
    void showConsole() override { m_console.showConsole(); }
    void setCaption(std::u16string_view caption) override { m_console.setCaption(caption); }

private:
    // The pause as the debugger sees it, counted up to the paused statement.
    void pause()
    {
        m_controller.forgetRunTo();
        m_controller.lookBackToStepTarget();
        m_controller.m_pausedLine = m_controller.currentLine();
        if (m_controller.m_pauseWatcher) m_controller.m_pauseWatcher->paused(*m_controller.m_pausedLine);
        m_console.StopWindow();
        m_controller.backToLive();
        m_controller.m_previousPause = m_controller.variables();
        m_controller.m_pausedLine.reset();
        if (m_controller.m_pauseWatcher) m_controller.m_pauseWatcher->resumed();
    }

    RunController& m_controller;
    RunConsole& m_console;
    bool m_afterYield = false;  // the next consoleVisible() tells whether a statement starts
    std::int64_t m_quietLeft = 0;  // granted statements not started when the run paused
};

std::optional<RunOutcome> RunController::start(std::u16string_view editorText, RunConsole& console, RunMode mode,
                                              std::function<void(const clsCode&)> translated)
{
    if (m_running) return std::nullopt;
    m_running = true;
    m_translated = std::move(translated);
    m_previousPause.reset();
    m_run = std::make_unique<clsCode>();
    m_timeline = mode == RunMode::Stepping ? std::make_unique<RunTimeline>(std::u16string(editorText)) : nullptr;
    m_liveStarted = 0;
    m_conditions.clear();
    m_changeWatched.reset();
    PauseRecorder recorder(*this, console);
    RunOutcome outcome = StartRun(*m_run, editorText, recorder, mode);
    m_runTo.reset();
    m_runToStep.reset();
    m_translated = nullptr;
    m_running = false;
    return outcome;
}

std::vector<RunController::Variable> RunController::variables() const
{
    if (m_shown) return m_shown->variables;
    std::vector<Variable> list;
    if (!m_run) return list;
    const clsVar& variables = m_run->program.Variables;
    for (const std::u16string& name : variables.VarNames()) list.push_back({name, variables.valueOf(name)});
    return list;
}

std::vector<WatchedVariable> RunController::watchedVariables() const
{
    if (m_shown) {
        const auto before = m_beforeShown ? std::optional(m_beforeShown->variables) : std::nullopt;
        return compareWithPreviousPause(before, variables());
    }
    return compareWithPreviousPause(m_previousPause, variables());
}

std::u16string_view RunController::source() const { return m_run ? m_run->program.RunSource : std::u16string_view(); }

std::int32_t RunController::currentLine() const
{
    if (m_shown) return m_shown->line;
    return m_run ? m_run->program.CurrentLine : 0;
}

// While paused, the statement about to run has been counted as started.
std::int64_t RunController::shownStep() const { return m_shown ? m_shown->step : m_liveStarted - 1; }

bool RunController::canStepBack() const { return m_timeline && m_pausedLine && shownStep() > 0; }

bool RunController::stepBack()
{
    if (!canStepBack()) return false;
    show(shownStep() - 1);
    return true;
}

// The record is read backwards a stretch at a time, each stretch with one
// step more at its start: the step before tells whether a step begins a
// visit of its line.
bool RunController::stepBackToBreakpoint()
{
    if (!canStepBack()) return false;
    constexpr std::int64_t kStretch = 4096;
    for (std::int64_t last = shownStep(); last > 0; last -= kStretch) {
        const std::vector<RecordedStep> steps = m_timeline->steps(std::max<std::int64_t>(1, last - kStretch), last);
        for (std::size_t j = steps.size(); j-- > 0;) {
            if (j == 0 && steps[j].step != 1) break;  // looked at with the next stretch
            const bool visitStarts = j == 0 || steps[j - 1].line != steps[j].line;
            if (visitStarts && isBreakpoint(steps[j].line)) {
                show(steps[j].step - 1);
                return true;
            }
        }
    }
    return false;
}

bool RunController::stepForward()
{
    if (!m_shown) return false;
    if (m_shown->step + 1 >= m_liveStarted - 1) {
        backToLive();
        if (m_pauseWatcher) m_pauseWatcher->paused(currentLine());
    } else {
        show(m_shown->step + 1);
    }
    return true;
}

void RunController::show(std::int64_t step)
{
    m_shown = m_timeline->momentAt(step);
    m_beforeShown = step > 0 ? std::optional(m_timeline->momentAt(step - 1)) : std::nullopt;
    if (m_pauseWatcher) m_pauseWatcher->paused(m_shown->line);
}

void RunController::backToLive()
{
    m_shown.reset();
    m_beforeShown.reset();
}

std::u16string_view RunController::shownConsole() const
{
    return m_shown ? std::u16string_view(m_shown->console) : std::u16string_view();
}

std::vector<std::int32_t> RunController::shownGosubLines() const
{
    return m_shown ? m_shown->gosubLines : std::vector<std::int32_t>();
}

std::vector<std::int32_t> RunController::gosubLines() const
{
    if (m_shown) return m_shown->gosubLines;
    std::vector<std::int32_t> lines;
    if (!m_run || !m_pausedLine) return lines;
    for (const std::int16_t index : m_run->checkpoint().returnStack) lines.push_back(m_run->Lines[index].phLine);
    return lines;
}

// A RETURN goes on after the GOSUB's statement: the next line of the table
// on a later editor line (a one-line IF's other parts share its line).
std::optional<std::int32_t> RunController::lineAfter(std::int32_t line) const
{
    if (!m_run) return std::nullopt;
    for (std::size_t index = 1; index < m_run->Lines.size(); ++index) {
        if (m_run->Lines[index].phLine > line) return m_run->Lines[index].phLine;
    }
    return std::nullopt;
}

std::int64_t RunController::recordedSteps() const { return m_timeline && m_pausedLine ? m_liveStarted - 1 : 0; }

std::vector<RecordedStep> RunController::record(std::int64_t first, std::int64_t last)
{
    if (recordedSteps() == 0) return {};
    return m_timeline->steps(first, std::min(last, recordedSteps()));
}

bool RunController::showStep(std::int64_t step)
{
    if (step < 0 || step > recordedSteps() || recordedSteps() == 0) return false;
    if (step == recordedSteps()) {
        backToLive();
        if (m_pauseWatcher) m_pauseWatcher->paused(currentLine());
    } else {
        show(step);
    }
    return true;
}

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

void RunController::prepareRun()
{
    for (const LineBreakpoint& breakpoint : m_startBreakpoints) {
        setBreakpoint(breakpoint.line, true);
        setBreakpointCondition(breakpoint.line, breakpoint.condition);
    }
    if (m_runToStep) runFreely();
    if (!m_runTo) return;
    runTo(*m_runTo);
}

void RunController::runToStep(std::int64_t steps)
{
    m_runToStep = steps;
    runFreely();
}

// Before the statement after the target: pause before the next line.
void RunController::pauseAtStepTarget()
{
    if (m_runToStep && m_liveStarted > *m_runToStep) pauseBeforeNextLine();
}

void RunController::lookBackToStepTarget()
{
    if (!m_runToStep) return;
    const std::int64_t target = *m_runToStep;
    m_runToStep.reset();
    if (m_timeline && target < shownStep()) show(target);
}

void RunController::runTo(std::int32_t line)
{
    m_runTo = line;
    if (!m_running || !m_run) return;
    m_runToIsOnlyForNow = !isBreakpoint(line);
    setBreakpoint(line, true);
    runFreely();
}

void RunController::forgetRunTo()
{
    if (!m_runTo) return;
    if (m_runToIsOnlyForNow) setBreakpoint(*m_runTo, false);
    m_runTo.reset();
}

void RunController::setBreakpointCondition(std::int32_t line, std::u16string condition)
{
    if (trimBlanks(condition).empty()) {
        m_conditions.erase(line);
    } else {
        m_conditions[line] = std::move(condition);
    }
}

std::u16string RunController::breakpointCondition(std::int32_t line) const
{
    const auto found = m_conditions.find(line);
    return found == m_conditions.end() ? std::u16string() : found->second;
}

// The run-to target pauses whatever the condition on its line says.
bool RunController::breakpointHolds(std::int32_t line) const
{
    const auto found = m_conditions.find(line);
    if (found == m_conditions.end() || m_runTo == line) return true;
    return WatchEvaluator(variables()).holds(found->second);
}

void RunController::pauseOnChange(std::optional<std::u16string> name)
{
    m_changeWatched = std::move(name);
    if (!m_run) return;
    if (m_changeWatched) m_watchedValue = m_run->program.Variables.valueOf(*m_changeWatched);
    m_run->program.WatchesChange = m_changeWatched.has_value();
}

bool RunController::watchedValueChanged()
{
    const double now = m_run->program.Variables.valueOf(*m_changeWatched);
    if (now == m_watchedValue) return false;
    const bool changed = numberText(now) != numberText(m_watchedValue);
    m_watchedValue = now;
    return changed;
}

std::vector<WatchResult> RunController::watchValues() const
{
    WatchEvaluator evaluator(variables());
    std::vector<WatchResult> values;
    for (const std::u16string& expression : m_watches) values.push_back(evaluator.value(expression));
    return values;
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
