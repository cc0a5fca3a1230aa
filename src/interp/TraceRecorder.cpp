#include "interp/TraceRecorder.h"

#include "interp/clsCode.h"

namespace tarnik {

TraceRecorder::TraceRecorder(const clsCode& code, RunConsole& console, Sink sink)
    : m_code(code), m_console(console), m_sink(std::move(sink))
{
}

void TraceRecorder::yield()
{
    closeStep();
    m_console.yield();
    m_afterYield = true;
}

// Asked right after yield() once the next statement's line is current: when
// the console is still there, that statement starts now.
bool TraceRecorder::consoleVisible()
{
    const bool visible = m_console.consoleVisible();
    if (m_afterYield && visible) openStep();
    m_afterYield = false;
    return visible;
}

void TraceRecorder::Append(std::u16string_view text)
{
    if (m_stepIsOpen) m_open.output += text;
    m_console.Append(text);
}

std::optional<std::u16string> TraceRecorder::InputWindow(std::u16string_view info)
{
    std::optional<std::u16string> answer = m_console.InputWindow(info);
    if (answer) m_answers.push_back(*answer);
    return answer;
}

void TraceRecorder::finish() { closeStep(); }

void TraceRecorder::openStep()
{
    ++m_open.step;
    m_open.line = m_code.program.CurrentLine;
    m_open.changes.clear();
    m_open.output.clear();
    const clsVar& variables = m_code.program.Variables;
    m_before.clear();
    for (const std::u16string& name : variables.VarNames()) m_before.push_back(variables.valueOf(name));
    m_stepIsOpen = true;
}

// Values are compared as numbers: a variable set to the value it had is not a change.
void TraceRecorder::closeStep()
{
    if (!m_stepIsOpen) return;
    m_stepIsOpen = false;
    const clsVar& variables = m_code.program.Variables;
    const std::vector<std::u16string>& names = variables.VarNames();
    for (std::size_t at = 0; at < names.size(); ++at) {
        const double value = variables.valueOf(names[at]);
        if (at >= m_before.size() || value != m_before[at]) m_open.changes.push_back({names[at], value});
    }
    m_sink(m_open);
}

}  // namespace tarnik
