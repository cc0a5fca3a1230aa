#include "app/StdioHost.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "app/cliCommands.h"
#include "interp/SourceText.h"

namespace tarnik::cli {

namespace {
constexpr std::size_t kFlushThreshold = 1 << 16;
}

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
        if (!std::getline(std::cin, line)) return std::nullopt;
        if (!line.empty() && line.back() == '\r') line.pop_back();
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
