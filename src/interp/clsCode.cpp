#include "interp/clsCode.h"

#include "expr/clsExpPlus.h"
#include "expr/TextHelpers.h"
#include "interp/Executor.h"
#include "interp/RunHost.h"

namespace tarnik {

clsCode::clsCode() = default;
clsCode::~clsCode() = default;

void clsCode::Init(std::u16string_view sCode)
{
    strCode = LowerOutsideQuotes(sCode);
}

void clsCode::Translate()
{
    program.Variables.Clear();
    LineCount = 0;
    m_unclosed = {};
    splitPhysicalLines();
    rewriteSelectCase();
    flattenElseIf();
    linkBlocks();
    checkUnclosedBlocks();
}

void clsCode::Run(RunHost& host)
{
    program.Err.clear();
    if (!program.Err.resumeNext([&] { Translate(); })) return;
    host.translated(*this);
    Executor executor(*this, host);
    m_running = &executor;
    executor.run();
    m_running = nullptr;
}

void clsCode::Resume(RunHost& host, const RunCheckpoint& from)
{
    program.Err.clear();
    if (!program.Err.resumeNext([&] { Translate(); })) return;
    restore(from);
    Executor executor(*this, host);
    m_running = &executor;
    executor.resume(from.nextIndex, from.returnStack);
    m_running = nullptr;
}

RunCheckpoint clsCode::checkpoint() const
{
    RunCheckpoint point;
    point.nextIndex = m_running->nextIndex();
    point.currentLine = program.CurrentLine;
    point.previousLine = PreviousLine;
    point.returnStack = m_running->returnStack();
    for (std::size_t index = 1; index < Lines.size(); ++index) {
        const clsLine& line = Lines[index];
        if (line.for_next_id == 0) continue;
        point.forBounds.push_back(
            {static_cast<std::int16_t>(index), line.for_min, line.for_max, line.for_step, line.for_var_name});
    }
    for (const std::u16string& name : program.Variables.VarNames()) {
        point.variables.push_back({name, program.Variables.valueOf(name)});
    }
    return point;
}

// Setting the variables in table order lists them in that order again.
void clsCode::restore(const RunCheckpoint& from)
{
    for (const VariableValue& variable : from.variables) program.Variables.setVar(variable.name, variable.value);
    program.Err.clear();
    for (const ForBounds& bounds : from.forBounds) {
        clsLine& line = Lines[bounds.index];
        line.for_min = bounds.min;
        line.for_max = bounds.max;
        line.for_step = bounds.step;
        line.for_var_name = bounds.name;
    }
    PreviousLine = from.previousLine;
    program.CurrentLine = from.currentLine;
}

}  // namespace tarnik
