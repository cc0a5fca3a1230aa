#include "interp/Executor.h"

#include <stdexcept>

#include "expr/CompilerHints.h"
#include "expr/NumberText.h"
#include "expr/clsExpPlus.h"
#include "interp/ExecutorPlan.h"
#include "interp/RunHost.h"
#include "interp/clsCode.h"

namespace tarnik {

Executor::Executor(clsCode& code, RunHost& host)
    : m_code(code),
      program(code.program),
      m_host(host),
      m_evaluator(code.Evaluator ? *code.Evaluator : *(code.Evaluator = std::make_unique<clsExpPlus>(program.Variables)))
{
}

Executor::~Executor() = default;

// Pauses once per visit of an editor line: a line that translation split into
// several statements, or a line that jumps to itself, pauses only the first
// time. A watched value is asked about first, so that a pause for another
// reason still takes its change as seen.
void Executor::pauseIfWanted(std::int16_t line)
{
    const bool changed = program.WatchesChange && m_host.watchedValueChanged();
    const bool atLine = m_code.PreviousLine != line &&
                        (!program.FreeRun || (program.IsBreakpoint(line) && m_host.breakpointHolds(line)));
    if (changed || atLine) stopWindow();
}

void Executor::noteHowToPause()
{
    m_mayPause = !program.FreeRun || !program.Breakpoints.empty() || program.WatchesChange;
}

// Gives the host its turn before the statement on `line`; false when the
// console was closed meanwhile and the run ends.
bool Executor::yieldToHost(std::int16_t index, std::int16_t line)
{
    m_nextIndex = index;
    m_host.yield();
    requireVariablesKept();
    noteHowToPause();
    program.CurrentLine = line;
    if (!m_host.consoleVisible()) return false;
    m_quietStatements = m_host.quietStatements();
    return true;
}

// The debugger may hide the console (Abort): the run then ends before its
// next statement. Otherwise the statements granted to run quietly still do;
// the host has counted them as run.
void Executor::stopWindow()
{
    m_host.quietStatementsLeft(m_quietStatements);
    m_host.StopWindow();
    afterWaitingForUser();
}

void Executor::afterWaitingForUser()
{
    requireVariablesKept();
    noteHowToPause();
    if (!m_host.consoleVisible()) m_quietStatements = 0;
}

void Executor::requireVariablesKept() const
{
    if (program.Variables.generation() != m_variablesGeneration) {
        throw std::logic_error("the variables were cleared while a run was using them");
    }
}

Executor::Flow Executor::execute(PreparedLine& prepared, std::int16_t& i)
{
    switch (prepared.kind) {
    case Kind::Nothing: return Flow::Continue;
    case Kind::Expression: program.Err.resumeNext([&] { (void)m_evaluator.exp(*prepared.exp); }); return Flow::Continue;
    case Kind::Assignment:
        program.Err.resumeNext([&] { (void)m_evaluator.assign(*prepared.exp); });
        return Flow::Continue;
    case Kind::If: return executeIf(prepared, i);
    case Kind::For: {
        // executeFor is not inlined; a copy keeps `i` out of memory in the statement loop.
        std::int16_t next = i;
        const Flow flow = executeFor(prepared, next);
        i = next;
        return flow;
    }
    case Kind::Next: executeNext(prepared, i); return Flow::Continue;
    case Kind::Jump: return executeJump(prepared, i);
    case Kind::Return: executeReturn(i); return Flow::Continue;
    case Kind::Print: return executeList(*prepared.list, false);
    case Kind::Input: return executeList(*prepared.list, true);
    case Kind::End: return Flow::Leave;
    case Kind::Stop: stopWindow(); return Flow::Continue;
    case Kind::Else:
    case Kind::ExitLoop:
    case Kind::Loop: i = prepared.target; return Flow::Continue;
    case Kind::DoWhile:
        program.Err.resumeNext([&] {
            if (!m_evaluator.logic(*prepared.condition)) i = prepared.target;
        });
        return Flow::Continue;
    case Kind::LoopUntil:
        // Repeats while the condition holds, not until it does; programs rely on it.
        program.Err.resumeNext([&] {
            if (m_evaluator.logic(*prepared.condition)) i = prepared.target;
        });
        return Flow::Continue;
    }
    TARNIK_UNREACHABLE();  // every kind is handled above: no range check before the jump table
}

void Executor::run() { loop(1); }

void Executor::resume(std::int16_t nextIndex, const std::vector<std::int16_t>& returnStack)
{
    for (const std::int16_t entry : returnStack) m_returnStack.push(entry);
    loop(nextIndex);
}

void Executor::loop(std::int16_t first)
{
    prepare();
    m_variablesGeneration = program.Variables.generation();
    PreparedLine* const lines = m_lines.data();  // prepared once: no statement changes the table
    const auto last = static_cast<std::int16_t>(m_code.Lines.size() - 1);
    for (std::int16_t i = first; i <= last;) {
        PreparedLine& prepared = lines[i];
        const std::int16_t line = prepared.phLine;
        if (m_quietStatements > 0) {
            --m_quietStatements;
        } else if (!yieldToHost(i, line)) {
            return;
        }
        program.CurrentLine = line;
        if (m_mayPause) [[unlikely]] pauseIfWanted(line);
        m_code.PreviousLine = line;
        if (execute(prepared, i) == Flow::Leave || program.Err.pending()) return;
        if (i == kMax16Bit) {  // the 16-bit line index cannot step any further
            program.Err.record(kOverflow);
            return;
        }
        ++i;
    }
}

Executor::Flow Executor::executeIf(const PreparedLine& prepared, std::int16_t& i)
{
    if (prepared.error) {
        program.Err.record(*prepared.error);
        return Flow::Leave;
    }
    bool holds = false;
    program.Err.resumeNext([&] { holds = m_evaluator.logic(*prepared.condition); });
    if (program.Err.pending()) return Flow::Leave;
    if (!holds) i = prepared.target;
    return Flow::Continue;
}

// Stops at the first error of any of its parts, so that a loop never runs with
// bounds it could not compute.
Executor::Flow Executor::executeFor(PreparedLine& prepared, std::int16_t& i)
{
    const ForPlan& plan = *prepared.forPlan;
    clsLine& line = m_code.Lines[i];
    auto bound = [this](const CompiledStatement& exp, std::int16_t& field) {
        return program.Err.resumeNext([&] {
            std::optional<double> value = m_evaluator.exp(exp);
            if (value) field = toInt16(*value);
        }) && !program.Err.pending();
    };
    if (plan.cutError) {
        program.Err.record(*plan.cutError);
        return Flow::Leave;
    }
    if (plan.step) {
        if (!bound(*plan.step, line.for_step)) return Flow::Leave;
    } else {
        line.for_step = 1;
    }
    if (!bound(*plan.start, line.for_min) || !bound(*plan.limit, line.for_max)) return Flow::Leave;
    line.for_var_name = plan.varName;
    if (line.for_step == 0) {
        program.Err.record(kStepIsZero);
        return Flow::Leave;
    }
    if (NextCache* next = m_lines[line.for_next_id].next.get()) refreshIncrement(*next, line);
    bool skipBody = line.for_step < 1 ? line.for_min < line.for_max : line.for_max < line.for_min;
    if (skipBody) {
        i = line.for_next_id;
    } else {
        program.Variables.setVar(plan.var, line.for_min);
    }
    return Flow::Continue;
}

// The NEXT's increment "k=k+(step)" for its FOR line's name and step, compiled
// again only when they changed: when the FOR runs, or when the NEXT is reached
// without its FOR having run.
void Executor::refreshIncrement(NextCache& cache, const clsLine& forLine)
{
    if (cache.increment && cache.step == forLine.for_step && cache.nameLength == forLine.for_var_name.size()) return;
    std::u16string text = forLine.for_var_name + u"=" + forLine.for_var_name + u"+(" + numberText(forLine.for_step) + u")";
    cache = {forLine.for_var_name.size(), forLine.for_step, &m_evaluator.compileStatement(text)};
    // Compiling searched the text; whatever the searches noted is not the program's.
    program.Err.clear();
}

// k = k + (step), then back to the body while (k - limit) / step is not above 0.
void Executor::executeNext(PreparedLine& prepared, std::int16_t& i)
{
    const clsLine& forLine = m_code.Lines[prepared.target];
    NextCache& cache = *prepared.next;
    if (!cache.increment) [[unlikely]] refreshIncrement(cache, forLine);
    double value = 0;  // what a failed increment leaves for the test
    program.Err.resumeNext([&] {
        if (const std::optional<double> incremented = m_evaluator.exp(*cache.increment)) value = *incremented;
    });
    program.Err.resumeNext([&] {
        if (!(checkedDivide(value - forLine.for_max, forLine.for_step) > 0)) i = prepared.target;
    });
}

Executor::Flow Executor::executeJump(const PreparedLine& prepared, std::int16_t& i)
{
    if (prepared.error) {
        program.Err.record(*prepared.error);
        return Flow::Leave;
    }
    m_returnStack.push(i);
    i = prepared.target;
    return Flow::Continue;
}

void Executor::executeReturn(std::int16_t& i)
{
    if (!m_returnStack.empty()) i = m_returnStack.pop();
}

}  // namespace tarnik
