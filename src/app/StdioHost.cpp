#include "app/StdioHost.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "app/cliCommands.h"
#include "services/SourceText.h"

namespace tarnik::cli {

namespace {

constexpr std::size_t kFlushThreshold = 1 << 16;

enum class LineRead { Line, End, TooLong };

// One line of standard input without its line end (LF or CR LF), read a byte
// at a time so that no more than kAnswerLineBytes is ever held; the rest of
// an over-long line stays unread.
LineRead readAnswerLine(std::string& line)
{
    std::streambuf& input = *std::cin.rdbuf();
    line.clear();
    for (;;) {
        const int c = input.sbumpc();
        if (c == std::char_traits<char>::eof()) return line.empty() ? LineRead::End : LineRead::Line;
        if (c == '\n') break;
        line += static_cast<char>(c);
        if (line.size() > kAnswerLineBytes + 1) return LineRead::TooLong;  // + 1: room for the CR of a CR LF
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line.size() > kAnswerLineBytes ? LineRead::TooLong : LineRead::Line;
}

}  // namespace

StdioHost::StdioHost(bool keepCrLf, std::optional<std::int64_t> maxSteps)
    : m_keepCrLf(keepCrLf), m_maxSteps(maxSteps)
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
    if (m_text.size() >= kFlushThreshold) flush();
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
    if (m_writeError != 0) return std::nullopt;  // the run ends; nobody sees the question's answer
    const std::string question = toUtf8(info);
    for (;;) {
        std::fputs(question.c_str(), stderr);
        std::fflush(stderr);
        m_errorMidLine = true;
        std::string line;
        const LineRead read = readAnswerLine(line);
        m_answerTooLong = read == LineRead::TooLong;
        if (read != LineRead::Line) return std::nullopt;
        if (!line.empty()) return decodeTypedLine(line);
    }
}

void StdioHost::finishErrorLine()
{
    flush();
    if (m_errorMidLine) std::fputc('\n', stderr);
    m_errorMidLine = false;
}

}  // namespace tarnik::cli
