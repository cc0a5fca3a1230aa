#include "services/JudgeConsole.h"

#include <algorithm>

#include "interp/clsCode.h"

namespace tarnik {
namespace {

constexpr std::u16string_view kWordSeparators = u" \t\r\n";

// The UTF-8 size of `text` once every CR LF is one LF.
std::size_t judgedBytes(std::u16string_view text)
{
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
        if (c < 0x80) bytes += 1;
        else if (c < 0x800) bytes += 2;
        else if (c >= 0xD800 && c <= 0xDBFF) bytes += 4;
        else if (c >= 0xDC00 && c <= 0xDFFF) continue;
        else bytes += 3;
    }
    return bytes;
}

}  // namespace

JudgeConsole::JudgeConsole(std::u16string_view input, std::int64_t maxStatements, std::size_t maxOutputBytes)
    : m_input(input), m_maxStatements(maxStatements), m_maxOutputBytes(maxOutputBytes)
{
}

void JudgeConsole::yield()
{
    if (++m_statements > m_maxStatements && !m_outputLimitReached) m_statementLimitReached = true;
}

// Nothing happens between statements but the counting, so it is done in
// advance for as many as the limit allows.
std::int64_t JudgeConsole::quietStatements()
{
    constexpr std::int64_t kBatch = 1 << 16;
    const std::int64_t granted = std::clamp<std::int64_t>(m_maxStatements - m_statements, 0, kBatch);
    m_statements += granted;
    return granted;
}

std::int32_t JudgeConsole::currentLine() const
{
    return m_code != nullptr ? m_code->program.CurrentLine : 0;
}

void JudgeConsole::Append(std::u16string_view text)
{
    if (m_outputLimitReached || m_statementLimitReached) return;
    if (m_echoNext) {
        m_echoNext = false;
        return;
    }
    const std::int32_t line = currentLine();
    if (line != m_line) {
        m_line = line;
        m_lineStart = m_output.size();
        m_lineStartBytes = m_outputBytes;
    }
    m_output += text;
    m_outputBytes += judgedBytes(text);
    if (m_outputBytes > m_maxOutputBytes) m_outputLimitReached = true;
}

// The INPUT's literal items were printed on its line just before: they are
// the question, not output.
void JudgeConsole::inputQuestion(std::u16string_view question)
{
    if (question.empty() || m_line != currentLine()) return;
    m_output.resize(m_lineStart);
    m_outputBytes = m_lineStartBytes;
}

std::optional<std::u16string> takeInputWord(std::u16string_view& input)
{
    input.remove_prefix(std::min(input.find_first_not_of(kWordSeparators), input.size()));
    if (input.empty()) return std::nullopt;
    const std::size_t end = std::min(input.find_first_of(kWordSeparators), input.size());
    std::u16string word(input.substr(0, end));
    input.remove_prefix(end);
    return word;
}

std::optional<std::u16string> JudgeConsole::InputWindow(std::u16string_view)
{
    std::optional<std::u16string> word = takeInputWord(m_input);
    if (!word) return std::nullopt;
    m_echoNext = true;
    m_line = -1;  // what the line prints after the answer is output again
    return word;
}

}  // namespace tarnik
