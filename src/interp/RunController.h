#pragma once
// The windows' only way into a run: RunController starts runs (never one
// inside another: a run yields to the event loop, where a second Start may
// arrive), owns the run it started, and lets the debugger and the console see
// and steer that run while it pauses, never through the core's run state.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "interp/PauseWatcher.h"
#include "interp/ProgramRun.h"
#include "interp/RunMoment.h"
#include "interp/RunTimeline.h"
#include "interp/VariableChanges.h"
#include "interp/WatchEvaluator.h"

namespace tarnik {

class clsCode;
struct ProgramState;

// A breakpoint the editor keeps between runs; an empty condition always holds.
struct LineBreakpoint {
    std::int32_t line = 0;
    std::u16string condition;

    friend bool operator==(const LineBreakpoint&, const LineBreakpoint&) = default;
};

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
    // `work`, a run of its own such as a test case, unless a run is in
    // progress (then nothing at once): no Start or Debug while it runs.
    template <typename Work>
    auto runAlone(Work&& work) -> std::optional<decltype(work())>
    {
        if (m_running) return std::nullopt;
        m_running = true;
        struct Done {
            bool& running;
            ~Done() { running = false; }
        } done{m_running};
        return work();
    }

    // The paused run, as the debugger shows it; while looking back, the
    // moment shown.
    [[nodiscard]] std::vector<Variable> variables() const;  // in the order of first use
    // The same, each marked against the previous pause of this run (while
    // looking back: against the moment one statement earlier).
    [[nodiscard]] std::vector<WatchedVariable> watchedVariables() const;
    [[nodiscard]] std::u16string_view source() const;      // the text as it was started
    [[nodiscard]] std::int32_t currentLine() const;         // the line about to run

    // Step back and forward while a Debug run pauses (Start keeps no record).
    // 后退: the moment one statement earlier; false at the run's start or
    // without a record.
    bool stepBack();
    // 前进 while looking back: the next moment of the record; false when the
    // live moment is shown, so that Step runs the next statement.
    bool stepForward();
    [[nodiscard]] bool canStepBack() const;
    // 后退到上一个断点: the latest earlier moment about to start a visit of a
    // line that is a breakpoint now (conditions are not looked at); false
    // when the record has none.
    bool stepBackToBreakpoint();
    [[nodiscard]] bool lookingBack() const { return m_shown.has_value(); }
    // Statements executed before the moment shown (the live one when not looking back).
    [[nodiscard]] std::int64_t shownStep() const;
    // The console's text at the moment shown while looking back.
    [[nodiscard]] std::u16string_view shownConsole() const;
    // The return stack at the moment shown while looking back: editor lines, the oldest first.
    [[nodiscard]] std::vector<std::int32_t> shownGosubLines() const;
    // The return stack while paused, of the moment shown or of the live run:
    // editor lines, the oldest first.
    [[nodiscard]] std::vector<std::int32_t> gosubLines() const;
    // The editor line a RETURN to the GOSUB on `line` goes on with; nothing
    // when no statement follows it.
    [[nodiscard]] std::optional<std::int32_t> lineAfter(std::int32_t line) const;
    // Statements recorded so far while a Debug run pauses (0 without a record).
    [[nodiscard]] std::int64_t recordedSteps() const;
    // The record of steps `first` to `last` (numbered from 1), at most up to recordedSteps().
    [[nodiscard]] std::vector<RecordedStep> record(std::int64_t first, std::int64_t last);
    // Shows the moment after `step` statements of the record; the live one
    // at its end. False without a record or outside it.
    bool showStep(std::int64_t step);
    // The line the run is paused before; nothing while it runs or after it ended.
    [[nodiscard]] std::optional<std::int32_t> pausedLine() const { return m_pausedLine; }
    // Told of every pause from now on; nullptr: no one.
    void setPauseWatcher(PauseWatcher* watcher) { m_pauseWatcher = watcher; }
    // The breakpoints of the run in progress (none without one).
    [[nodiscard]] bool isBreakpoint(std::int32_t line) const;
    void setBreakpoint(std::int32_t line, bool ticked);
    // The breakpoints every run starts with, each with its condition: the editor's.
    void setStartBreakpoints(std::vector<LineBreakpoint> breakpoints) { m_startBreakpoints = std::move(breakpoints); }
    // The condition of a breakpoint of the run in progress, evaluated on a
    // copy of the variables as IF reads it; empty: it always holds.
    void setBreakpointCondition(std::int32_t line, std::u16string condition);
    [[nodiscard]] std::u16string breakpointCondition(std::int32_t line) const;
    // 值改变时暂停: the run in progress pauses before the next statement
    // after `name`'s value changed; nothing: no such pause.
    void pauseOnChange(std::optional<std::u16string> name);
    [[nodiscard]] const std::optional<std::u16string>& changeWatched() const { return m_changeWatched; }
    // 运行到光标处: while paused, runs on freely until `line`, a breakpoint
    // for this once; otherwise the next run starts so (a Debug run without
    // its first pause).
    void runTo(std::int32_t line);
    // Runs freely until `steps` statements have run, then pauses at that
    // moment: a run can pause only where a new line starts, so when the
    // moment lies inside a line, the pause comes after it and looks back to
    // it. Started before a Debug run, the run skips its first pause. Like
    // runTo, the target is dropped when the run pauses elsewhere first.
    void runToStep(std::int64_t steps);

    // 监视: expressions shown at every pause, kept from run to run.
    void setWatches(std::vector<std::u16string> expressions) { m_watches = std::move(expressions); }
    [[nodiscard]] const std::vector<std::u16string>& watches() const { return m_watches; }
    // Each watch against the moment shown, on a copy of its variables.
    [[nodiscard]] std::vector<WatchResult> watchValues() const;

    // Step and the console's Pause: stop again before the next editor line.
    void pauseBeforeNextLine();
    // Continue: run on until a breakpoint or STOP.
    void runFreely();

    // The state of the run in progress or of the last one (nothing before
    // the first): for tests and diagnostics, never for steering.
    [[nodiscard]] const ProgramState* state() const;

private:
    class PauseRecorder;

    void show(std::int64_t step);
    void backToLive();
    // After translation, before the first statement: the run's breakpoints and how it starts.
    void prepareRun();
    // At a pause: a 运行到光标处 target is reached or passed by.
    void forgetRunTo();
    void pauseAtStepTarget();
    void lookBackToStepTarget();
    [[nodiscard]] bool breakpointHolds(std::int32_t line) const;
    [[nodiscard]] bool watchedValueChanged();

    bool m_running = false;
    std::unique_ptr<clsCode> m_run;  // the run in progress, or the last one
    std::function<void(const clsCode&)> m_translated;
    // The variables as the last pause left them; nothing before a run's first pause.
    std::optional<std::vector<Variable>> m_previousPause;
    std::optional<std::int32_t> m_pausedLine;
    PauseWatcher* m_pauseWatcher = nullptr;
    // The record of a Debug run: its moments rebuilt on demand, and how many
    // statements have started live.
    std::unique_ptr<RunTimeline> m_timeline;
    std::int64_t m_liveStarted = 0;
    // While looking back: the moment shown and the one a statement before it (for the marks).
    std::optional<RunMoment> m_shown;
    std::optional<RunMoment> m_beforeShown;
    std::vector<LineBreakpoint> m_startBreakpoints;
    std::map<std::int32_t, std::u16string> m_conditions;  // of the run in progress
    std::optional<std::u16string> m_changeWatched;
    double m_watchedValue = 0;  // its value when last asked
    std::optional<std::int32_t> m_runTo;
    std::optional<std::int64_t> m_runToStep;
    bool m_runToIsOnlyForNow = false;  // the target was no breakpoint before
    std::vector<std::u16string> m_watches;
};

}  // namespace tarnik
