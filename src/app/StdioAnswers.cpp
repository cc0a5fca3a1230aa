#include "app/StdioAnswers.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>

#include "app/StdioSignals.h"
#include "services/SourceText.h"

namespace tarnik::cli {
namespace {

// Bytes of standard input into `buffer`: their count, 0 at the end, negative
// when the reading failed (errno says why).
long readStandardInput(char* buffer, std::size_t size)
{
#ifdef _WIN32
    return _read(0, buffer, static_cast<unsigned>(size));
#else
    return static_cast<long>(::read(STDIN_FILENO, buffer, size));
#endif
}

}  // namespace

int AnswerReader::peek(std::size_t ahead)
{
    while (m_end - m_start <= ahead) {
        // Once a signal has come nothing more is waited for.
        if (InterruptSignals::received() != 0) return kInterrupted;
        if (m_start > 0) {
            std::copy(m_buffer.begin() + static_cast<std::ptrdiff_t>(m_start),
                      m_buffer.begin() + static_cast<std::ptrdiff_t>(m_end), m_buffer.begin());
            m_end -= m_start;
            m_start = 0;
        }
        const long count = readStandardInput(m_buffer.data() + m_end, m_buffer.size() - m_end);
        if (count > 0) {
            m_end += static_cast<std::size_t>(count);
        } else if (count == 0 || errno != EINTR) {
            return kEnd;  // an input that cannot be read ends like an empty one
        }
    }
    return static_cast<unsigned char>(m_buffer[m_start + ahead]);
}

int AnswerReader::character(bool consume)
{
    for (std::size_t i = 0; i < unitBytes(); ++i) {
        const int byte = peek(i);
        if (byte == kEnd) m_start = m_end;  // half a UTF-16 unit at the end is no character
        if (byte < 0) return byte;
    }
    const auto byte = [this](std::size_t i) { return static_cast<int>(static_cast<unsigned char>(m_buffer[m_start + i])); };
    int c = byte(0);
    if (m_encoding == Encoding::Utf16Le) c |= byte(1) << 8;
    if (m_encoding == Encoding::Utf16Be) c = c << 8 | byte(1);
    if (consume) m_start += unitBytes();
    return c;
}

// Looks only as far as a mark could reach: a first byte that starts none is
// all it needs, so an answer typed at a terminal is not waited on.
void AnswerReader::decideEncoding()
{
    m_encoding = Encoding::Bytes;
    if (peek(0) == 0xEF && peek(1) == 0xBB && peek(2) == 0xBF) {
        m_start += 3;
    } else if (peek(0) == 0xFF && peek(1) == 0xFE) {
        m_encoding = Encoding::Utf16Le;
        m_start += 2;
    } else if (peek(0) == 0xFE && peek(1) == 0xFF) {
        m_encoding = Encoding::Utf16Be;
        m_start += 2;
    }
}

AnswerReader::Status AnswerReader::readLine(std::u16string& line)
{
    line.clear();
    if (m_encoding == Encoding::Unknown) decideEncoding();
    if (m_lfMayFollow) {
        const int c = character(false);
        if (c == kInterrupted) return Status::Interrupted;
        if (c == '\n') character(true);
        m_lfMayFollow = false;
    }
    std::string bytes;
    for (;;) {
        const int c = character(true);
        if (c == kInterrupted) return Status::Interrupted;
        if (c == kEnd && bytes.empty() && line.empty()) return Status::End;
        if (c == kEnd || c == '\n') break;
        if (c == '\r') {
            m_lfMayFollow = true;
            break;
        }
        if (m_encoding == Encoding::Bytes) {
            bytes += static_cast<char>(c);
        } else {
            line += static_cast<char16_t>(c);
        }
        if (bytes.size() + 2 * line.size() > kAnswerLineBytes) return Status::TooLong;
    }
    if (m_encoding == Encoding::Bytes) line = decodeTypedLine(bytes);
    return Status::Line;
}

}  // namespace tarnik::cli
