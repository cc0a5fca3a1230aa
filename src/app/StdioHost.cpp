#include "app/StdioHost.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdio>

#include "app/StdioSignals.h"
#include "app/cliCommands.h"
#include "services/SourceText.h"

namespace tarnik::cli {

namespace {

constexpr std::size_t kFlushThreshold = 1 << 16;

bool isTerminal(int descriptor)
{
#ifdef _WIN32
    return _isatty(descriptor) != 0;
#else
    return ::isatty(descriptor) != 0;
#endif
}

}  // namespace

StdioHost::StdioHost(bool keepCrLf, std::optional<std::int64_t> maxSteps)
    : m_keepCrLf(keepCrLf), m_flushEveryLine(isTerminal(1)), m_answersTyped(isTerminal(0)), m_maxSteps(maxSteps)
{
}

StdioHost::~StdioHost() { flush(); }

void StdioHost::yield()
{
    if (m_maxSteps && ++m_steps > *m_maxSteps) m_limitReached = true;
}

// Nothing happens between statements here but the counting, so the counting
// is done in advance for as many as the limit allows.
std::int64_t StdioHost::quietStatements()
{
    constexpr std::int64_t kBatch = 1 << 16;
    if (!m_maxSteps) return kBatch;
    const std::int64_t granted = std::min(kBatch, *m_maxSteps - m_steps);
    m_steps += granted;
    return granted;
}

bool StdioHost::consoleVisible()
{
    return !m_limitReached && m_writeError == 0 && InterruptSignals::received() == 0;
}

void StdioHost::Append(std::u16string_view text)
{
    if (m_keepCrLf) {
        m_text += text;
    } else {
        for (char16_t c : text) {
            if (m_pendingCr && c != u'\n') m_text += u'\r';
            m_pendingCr = c == u'\r';
            if (!m_pendingCr) m_text += c;
        }
    }
    if (m_text.size() >= kFlushThreshold || (m_flushEveryLine && text.find(u'\n') != std::u16string_view::npos)) {
        flush();
    }
}

void StdioHost::flush()
{
    if (m_text.empty() || m_writeError != 0) {
        m_text.clear();
        return;
    }
    m_writeError = writeStandardOutput(toUtf8(m_text));
    m_text.clear();
}

std::optional<std::u16string> StdioHost::InputWindow(std::u16string_view info)
{
    flush();
    if (!consoleVisible()) return std::nullopt;  // the run ends; nobody would see the answer's effect
    const std::string question = toUtf8(info);
    for (;;) {
        std::fputs(question.c_str(), stderr);
        std::fflush(stderr);
        std::u16string line;
        const AnswerReader::Status read = m_answers.readLine(line);
        // A line typed at a terminal ends with the Enter the terminal shows.
        m_errorMidLine = !(m_answersTyped && read == AnswerReader::Status::Line);
        m_answerTooLong = read == AnswerReader::Status::TooLong;
        if (read != AnswerReader::Status::Line) return std::nullopt;
        if (!line.empty()) return line;
    }
}

void StdioHost::finishErrorLine()
{
    flush();
    if (m_errorMidLine) std::fputc('\n', stderr);
    m_errorMidLine = false;
}

}  // namespace tarnik::cli
