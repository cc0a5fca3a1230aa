#pragma once
// The execution record, kept by standing between a run and its console: the
// run calls the host before every statement, so the host sees where one
// statement ends and the next begins without the statement loop doing
// anything for it. A run that is not recorded goes straight to its console
// and pays nothing.
//
// The recorder grants no quiet statements, so it is told of every one; each
// finished statement goes to the sink as soon as the next one starts or the
// run ends (finish()). The INPUT answers the console gave are kept, so that
// the run can be replayed without asking again.
#include <functional>
#include <string>
#include <vector>

#include "interp/RecordedStep.h"
#include "interp/RunConsole.h"

namespace tarnik {

class clsCode;

class TraceRecorder : public RunConsole {
public:
    using Sink = std::function<void(const RecordedStep&)>;

    // Records the run of `code` shown on `console`.
    TraceRecorder(const clsCode& code, RunConsole& console, Sink sink);

    // Hands over the statement still open when the run ended (the last one,
    // or the one that stopped on an error).
    void finish();
    [[nodiscard]] const std::vector<std::u16string>& answers() const { return m_answers; }
    [[nodiscard]] std::int64_t steps() const { return m_open.step; }

    void translated(const clsCode& code) override { m_console.translated(code); }
    void yield() override;
    [[nodiscard]] bool consoleVisible() override;
    void StopWindow() override { m_console.StopWindow(); }
    void Append(std::u16string_view text) override;
    void inputQuestion(std::u16string_view question) override { m_console.inputQuestion(question); }
    std::optional<std::u16string> InputWindow(std::u16string_view info) override;
    void Clear() override { m_console.Clear(); }
    void showConsole() override { m_console.showConsole(); }
    void setCaption(std::u16string_view caption) override { m_console.setCaption(caption); }

private:
    void closeStep();
    void openStep();

    const clsCode& m_code;
    RunConsole& m_console;
    Sink m_sink;
    RecordedStep m_open;          // the statement running now; step 0 before the first
    bool m_stepIsOpen = false;
    bool m_afterYield = false;    // the next consoleVisible() decides whether a statement starts
    std::vector<double> m_before;  // the values before the open statement, in table order
    std::vector<std::u16string> m_answers;
};

}  // namespace tarnik
