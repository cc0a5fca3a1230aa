#pragma once
// INPUT answers from standard input, a line at a time, read as `test` reads an
// answer file: a UTF-8 byte-order mark at the start is dropped, a UTF-16 mark
// (FF FE or FE FF) makes the whole input UTF-16, and CR LF, a lone LF and a
// lone CR each end a line. A line of bytes is UTF-8 where it is valid UTF-8,
// otherwise GBK. Nothing is read before it is needed: a lone CR ends its line
// at once, and whether an LF follows it is seen only when the next line is
// asked for, so a terminal or a pipe never waits for a character to come.
#include <array>
#include <cstddef>
#include <string>

namespace tarnik::cli {

// An answer is a typed number; a line past this is no answer.
inline constexpr std::size_t kAnswerLineBytes = 1 << 20;

class AnswerReader {
public:
    // TooLong: the line went on past kAnswerLineBytes (the rest stays unread).
    // Interrupted: a signal came while waiting (InterruptSignals).
    enum class Status { Line, End, TooLong, Interrupted };

    // The next line without its line end.
    Status readLine(std::u16string& line);

private:
    enum class Encoding { Unknown, Bytes, Utf16Le, Utf16Be };
    static constexpr int kEnd = -1;
    static constexpr int kInterrupted = -2;

    // The byte `ahead` places on, reading more only when needed; kEnd or kInterrupted.
    int peek(std::size_t ahead);
    // The next character (a byte, or a UTF-16 unit), taken when `consume`.
    int character(bool consume);
    void decideEncoding();
    [[nodiscard]] std::size_t unitBytes() const { return m_encoding == Encoding::Bytes ? 1 : 2; }

    Encoding m_encoding = Encoding::Unknown;
    bool m_lfMayFollow = false;  // the last line ended in a lone CR so far
    std::array<char, 4096> m_buffer{};
    std::size_t m_start = 0;  // the first byte not yet consumed
    std::size_t m_end = 0;
};

}  // namespace tarnik::cli
