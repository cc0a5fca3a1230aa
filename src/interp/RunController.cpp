#include "interp/RunController.h"

#include "expr/NumberText.h"
#include "expr/TextHelpers.h"
#include "interp/Breakpoints.h"
#include "interp/ProgramState.h"
#include "interp/clsCode.h"

namespace tarnik {
namespace {

// The error left by a run or a translation of `code`, taken out of the run state.
RunOutcome takeOutcome(const clsCode& code)
{
    RunOutcome outcome;
    if (!program.Err.pending()) return outcome;
    outcome.error = program.Err.error();
    outcome.line = program.CurrentLine;
    outcome.unclosed = code.unclosedBlock();
    program.Err.clear();
    return outcome;
}

std::u16string descriptionWithLine(const BasicError& error, std::int32_t line)
{
    return error.description + u"(第" + numberText(line) + u"行)";
}

}  // namespace

std::u16string RunOutcome::errorLine() const
{
    if (!error) return {};
    return u"错误 " + numberText(error->number) + u": " + descriptionWithLine(*error, line);
}

RunOutcome StartRun(std::u16string_view editorText, RunConsole& console, RunMode mode)
{
    clsCode code;
    code.Init(editorText);
    program.RunSource.assign(editorText);
    program.FreeRun = mode == RunMode::Free;
    console.Clear();
    console.showConsole();
    ClearBreakpoints();
    console.setCaption(kRunningCaption);
    code.Run(console);
    console.setCaption(kEndedCaption);
    return takeOutcome(code);
}

RunOutcome TranslateProgram(std::u16string_view editorText, clsCode& code)
{
    code.Init(editorText);
    program.Err.clear();
    program.Err.resumeNext([&] { code.Translate(); });
    return takeOutcome(code);
}

ErrorReport makeErrorReport(const BasicError& error, std::int32_t line, std::u16string_view editorText)
{
    ErrorReport report;
    report.title = u"错误 " + numberText(error.number);
    report.text = descriptionWithLine(error, line);

    // Walks the lines up to the reported one; no line matches for line 0 or a
    // line deleted since, and the start then lies past the end of the text.
    std::size_t start = 0;
    std::int32_t index = 0;
    for (std::u16string_view text : splitLines(editorText)) {
        if (index == line - 1) {
            report.selectionLength = static_cast<std::int32_t>(text.size());
            break;
        }
        start += text.size() + 2;
        ++index;
    }
    report.selectionStart = static_cast<std::int32_t>(start);
    report.selectionStartSingleBreaks = report.selectionStart - index;
    return report;
}

std::optional<RunOutcome> RunController::start(std::u16string_view editorText, RunConsole& console, RunMode mode)
{
    if (m_running) return std::nullopt;
    m_running = true;
    RunOutcome outcome = StartRun(editorText, console, mode);
    m_running = false;
    return outcome;
}

std::vector<RunController::Variable> RunController::variables() const
{
    std::vector<Variable> list;
    for (const std::u16string& name : program.Variables.VarNames()) {
        list.push_back({name, program.Variables.valueOf(name)});
    }
    return list;
}

std::u16string_view RunController::source() const { return program.RunSource; }

std::int32_t RunController::currentLine() const { return program.CurrentLine; }

// Breakpoints are 16-bit line numbers; a line beyond them cannot be run to.
bool RunController::isBreakpoint(std::int32_t line) const
{
    return line <= kMax16Bit && IsBreakpoint(static_cast<std::int16_t>(line));
}

void RunController::setBreakpoint(std::int32_t line, bool ticked)
{
    if (line > kMax16Bit) return;
    if (ticked) {
        AddBreakpoint(static_cast<std::int16_t>(line));
    } else {
        RemoveBreakpoint(static_cast<std::int16_t>(line));
    }
}

void RunController::pauseBeforeNextLine() { program.FreeRun = false; }

void RunController::runFreely() { program.FreeRun = true; }

}  // namespace tarnik
