#include "services/CaseConsole.h"

#include <algorithm>

namespace tarnik {

CaseConsole::CaseConsole(std::u16string_view answers, std::int64_t maxStatements, std::size_t maxOutput)
    : m_answers(answers), m_maxStatements(maxStatements), m_maxOutput(maxOutput)
{
}

// The limit reached first is the one that stopped the run.
void CaseConsole::yield()
{
    if (++m_statements > m_maxStatements && !m_outputLimitReached) m_statementLimitReached = true;
    if (m_keepGoing && !m_keepGoing()) m_stopped = true;
}

// Nothing happens between statements but the counting, so it is done in
// advance for as many as the limit allows.
std::int64_t CaseConsole::quietStatements()
{
    constexpr std::int64_t kBatch = 1 << 16;
    const std::int64_t granted = std::clamp<std::int64_t>(m_maxStatements - m_statements, 0, kBatch);
    m_statements += granted;
    return granted;
}

// The quiet statements still run after the limit is passed; their output is
// dropped, so that the memory a runaway case takes stays bounded.
void CaseConsole::Append(std::u16string_view text)
{
    if (m_outputLimitReached) return;
    if (m_output.size() + text.size() > m_maxOutput) {
        m_output.append(text.substr(0, m_maxOutput - m_output.size()));
        m_outputLimitReached = true;
        return;
    }
    m_output += text;
}

// An empty line is skipped, as the command line asks again on one. CR LF,
// a lone CR and a lone LF each end a line.
std::optional<std::u16string> CaseConsole::InputWindow(std::u16string_view)
{
    while (!m_answers.empty()) {
        const std::size_t end = std::min(m_answers.find_first_of(u"\r\n"), m_answers.size());
        std::u16string answer(m_answers.substr(0, end));
        const bool crLf = m_answers.substr(end).starts_with(u"\r\n");
        m_answers.remove_prefix(std::min(m_answers.size(), end + (crLf ? 2 : 1)));
        if (!answer.empty()) return answer;
    }
    return std::nullopt;
}

}  // namespace tarnik
