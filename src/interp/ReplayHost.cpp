#include "interp/ReplayHost.h"

#include <algorithm>

#include "interp/clsCode.h"

namespace tarnik {
namespace {

RunMoment momentOf(const clsCode& code, std::int64_t step, const RunCheckpoint& point, bool ended)
{
    RunMoment moment;
    moment.step = step;
    moment.line = point.currentLine;
    moment.ended = ended;
    moment.variables = point.variables;
    for (const std::int16_t index : point.returnStack) moment.gosubLines.push_back(code.Lines[index].phLine);
    return moment;
}

}  // namespace

ReplayHost::ReplayHost(const clsCode& code, const std::vector<std::u16string>& answers, Start start,
                       std::int64_t stopAt)
    : m_code(code),
      m_answers(answers),
      m_answersUsed(start.answersUsed),
      m_startStep(start.step),
      m_done(start.step),
      m_stopAt(stopAt)
{
}

void ReplayHost::takeCheckpoints(std::int64_t spacing, CheckpointSink sink)
{
    m_spacing = spacing;
    m_sink = std::move(sink);
}

// The next step at which the host must see the run: the stop, or a checkpoint.
std::int64_t ReplayHost::nextStop() const
{
    if (m_spacing == 0) return m_stopAt;
    return std::min(m_stopAt, (m_done / m_spacing + 1) * m_spacing);
}

std::int64_t ReplayHost::quietStatements()
{
    const std::int64_t granted = std::max<std::int64_t>(0, nextStop() - m_done);
    m_done += granted;
    return granted;
}

// Asked after yield() with the next statement's line current and m_done
// statements behind: the point to stop at, a checkpoint, or one more statement.
bool ReplayHost::consoleVisible()
{
    if (!m_afterYield) return !m_stopped;
    m_afterYield = false;
    if (m_done >= m_stopAt) {
        m_stopped = momentOf(m_code, m_done, m_code.checkpoint(), false);
        return false;
    }
    if (m_spacing != 0 && m_done % m_spacing == 0 && m_done > m_startStep) {
        m_sink(m_done, m_answersUsed, m_code.checkpoint());
    }
    ++m_done;
    return true;
}

std::optional<std::u16string> ReplayHost::InputWindow(std::u16string_view)
{
    if (m_answersUsed >= m_answers.size()) return std::nullopt;
    return m_answers[m_answersUsed++];
}

RunMoment ReplayHost::moment()
{
    if (m_stopped) return *m_stopped;
    RunCheckpoint end;
    end.currentLine = m_code.program.CurrentLine;
    for (const std::u16string& name : m_code.program.Variables.VarNames()) {
        end.variables.push_back({name, m_code.program.Variables.valueOf(name)});
    }
    // The run ended before the step asked for; the caller asks for no step
    // past the end it knows.
    return momentOf(m_code, m_stopAt, end, true);
}

}  // namespace tarnik
