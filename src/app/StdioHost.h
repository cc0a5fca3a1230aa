#pragma once
// The console of tarnik-cli: output to standard output (UTF-8, CR LF written
// as LF unless asked to keep it), INPUT questions to standard error and
// answers from standard input (AnswerReader). Output is written in large
// pieces, and at every line end when standard output is a terminal, where
// someone watches it. The debugger never opens. With a statement limit the
// run ends, like an abort, before the statement past the limit; so does it
// once standard output cannot be written, since nothing the program does
// could be seen any more, and once an interrupting signal has come.
#include <cstdint>
#include <optional>
#include <string>

#include "app/StdioAnswers.h"
#include "interp/RunController.h"

namespace tarnik::cli {

class StdioHost : public RunConsole {
public:
    StdioHost(bool keepCrLf, std::optional<std::int64_t> maxSteps);
    ~StdioHost() override;

    void yield() override;
    std::int64_t quietStatements() override;
    bool consoleVisible() override;
    void StopWindow() override {}
    void Append(std::u16string_view text) override;
    std::optional<std::u16string> InputWindow(std::u16string_view info) override;
    void Clear() override {}
    void showConsole() override {}
    void setCaption(std::u16string_view) override {}

    [[nodiscard]] bool limitReached() const { return m_limitReached; }
    // An answer line went on past kAnswerLineBytes; the run stopped at that INPUT.
    [[nodiscard]] bool answerTooLong() const { return m_answerTooLong; }
    // The errno of the first failed write of standard output, 0 while none failed.
    [[nodiscard]] int writeError() const { return m_writeError; }
    void flush();
    // Writes what is held and ends a question left on standard error, so
    // that what follows stands on its own line.
    void finishErrorLine();

private:
    bool m_keepCrLf;
    bool m_flushEveryLine;  // standard output is a terminal
    bool m_answersTyped;    // standard input is a terminal
    std::optional<std::int64_t> m_maxSteps;
    std::int64_t m_steps = 0;
    bool m_limitReached = false;
    bool m_answerTooLong = false;
    int m_writeError = 0;
    bool m_pendingCr = false;      // a CR at the end of the last output, its LF maybe still to come
    bool m_errorMidLine = false;   // a question stands on standard error without a line end
    std::u16string m_text;         // output not yet converted
    AnswerReader m_answers;
};

}  // namespace tarnik::cli
