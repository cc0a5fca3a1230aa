#pragma once
// The console of a judged run: INPUT takes the next word of the case input
// and asks nothing; only what PRINT writes is kept for judging (an INPUT's
// own literal items and the echoed answer are left out); the run ends, like
// an abort, at the statement limit or once the judged output passes its
// limit in UTF-8 bytes (LF line ends).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "interp/RunConsole.h"

namespace tarnik {

// The next word of a judge case's input (words are separated by blanks,
// tabs and line ends), taken off the front of `input`; nothing when none is left.
[[nodiscard]] std::optional<std::u16string> takeInputWord(std::u16string_view& input);

class JudgeConsole : public RunConsole {
public:
    // `input` must outlive the console: its words are taken one at a time.
    JudgeConsole(std::u16string_view input, std::int64_t maxStatements, std::size_t maxOutputBytes);

    void translated(const clsCode& code) override { m_code = &code; }
    void yield() override;
    std::int64_t quietStatements() override;
    bool consoleVisible() override { return !m_statementLimitReached && !m_outputLimitReached; }
    void StopWindow() override {}
    void Append(std::u16string_view text) override;
    void inputQuestion(std::u16string_view question) override;
    std::optional<std::u16string> InputWindow(std::u16string_view info) override;
    void Clear() override {}
    void showConsole() override {}
    void setCaption(std::u16string_view) override {}

    [[nodiscard]] const std::u16string& output() const { return m_output; }
    [[nodiscard]] bool statementLimitReached() const { return m_statementLimitReached; }
    [[nodiscard]] bool outputLimitReached() const { return m_outputLimitReached; }

private:
    [[nodiscard]] std::int32_t currentLine() const;

    const clsCode* m_code = nullptr;
    std::u16string_view m_input;  // the words not yet taken
    std::int64_t m_maxStatements;
    std::size_t m_maxOutputBytes;
    std::int64_t m_statements = 0;
    std::size_t m_outputBytes = 0;
    bool m_statementLimitReached = false;
    bool m_outputLimitReached = false;
    bool m_echoNext = false;         // the next Append is an INPUT's echoed answer
    std::int32_t m_line = -1;        // the editor line of the latest Append
    std::size_t m_lineStart = 0;     // where that line's output begins in m_output
    std::size_t m_lineStartBytes = 0;
    std::u16string m_output;
};

}  // namespace tarnik
