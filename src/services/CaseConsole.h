#pragma once
// The console of a test-case run: answers INPUT from the case's prepared
// answers, records the output, and ends the run, like an abort, once the run
// has started a given number of statements or printed more than a reader
// could want (an endless loop must fail its case, not hang the check).
#include <cstdint>
#include <functional>
#include <string>

#include "interp/ProgramRun.h"

namespace tarnik {

class CaseConsole : public RunConsole {
public:
    // `answers`: one a line, any line ends; taken a line at a time, so the
    // text must outlive the console.
    CaseConsole(std::u16string_view answers, std::int64_t maxStatements, std::size_t maxOutput);

    // Asked between batches of statements; false ends the run like an abort
    // (a window's Stop: the window processes its events in there).
    void setKeepGoing(std::function<bool()> keepGoing) { m_keepGoing = std::move(keepGoing); }

    void yield() override;
    std::int64_t quietStatements() override;
    bool consoleVisible() override { return !m_statementLimitReached && !m_outputLimitReached && !m_stopped; }
    // STOP and breakpoints pause nothing: no one is there to go on.
    void StopWindow() override {}
    void Append(std::u16string_view text) override;
    // The next non-empty answer; none left: the run ends with error 62.
    std::optional<std::u16string> InputWindow(std::u16string_view info) override;
    void Clear() override { m_output.clear(); }
    void showConsole() override {}
    void setCaption(std::u16string_view) override {}

    [[nodiscard]] const std::u16string& output() const { return m_output; }
    [[nodiscard]] bool statementLimitReached() const { return m_statementLimitReached; }
    [[nodiscard]] bool outputLimitReached() const { return m_outputLimitReached; }
    [[nodiscard]] bool stopped() const { return m_stopped; }

private:
    std::u16string_view m_answers;  // those not yet given
    std::int64_t m_maxStatements;
    std::size_t m_maxOutput;
    std::int64_t m_statements = 0;
    bool m_statementLimitReached = false;
    bool m_outputLimitReached = false;
    bool m_stopped = false;
    std::function<bool()> m_keepGoing;
    std::u16string m_output;
};

}  // namespace tarnik
