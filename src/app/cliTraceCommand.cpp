// tarnik-cli trace: the program runs as under run, and standard output gets
// the execution record instead of the console output.
#include "app/StdioHost.h"
#include "app/StdioSignals.h"
#include "app/cliArguments.h"
#include "app/cliHostedRun.h"
#include "interp/TraceRecorder.h"
#include "interp/clsCode.h"

namespace tarnik::cli {
namespace {

constexpr OperandRule kFileOnly[] = {kFileOperand};

// The host of run with the console output held back: standard output is the
// record's.
class RecordOnlyConsole : public RunConsole {
public:
    explicit RecordOnlyConsole(StdioHost& host) : m_host(host) {}

    void yield() override { m_host.yield(); }
    bool consoleVisible() override { return m_host.consoleVisible(); }
    void StopWindow() override {}
    void Append(std::u16string_view) override {}
    std::optional<std::u16string> InputWindow(std::u16string_view info) override { return m_host.InputWindow(info); }
    void Clear() override {}
    void showConsole() override {}
    void setCaption(std::u16string_view) override {}

private:
    StdioHost& m_host;
};

}  // namespace

int traceCommand(Arguments arguments)
{
    constexpr OptionRule options[] = {kMaxStepsOption};
    const CommandArguments words("trace", arguments, options, kFileOnly);
    const std::optional<std::int64_t> maxSteps = statementLimit(words);
    const std::u16string source = readSource(words.operand(0));
    StdioHost host(false, maxSteps);
    RecordOnlyConsole console(host);
    clsCode code;
    TraceRecorder recorder(code, console, [&host](const RecordedStep& step) { host.Append(traceLine(step) + u'\n'); });
    InterruptSignals::install();
    const RunOutcome outcome = StartRun(code, source, recorder, RunMode::Free);
    recorder.finish();
    return finishHostedRun("trace", host, code, outcome, maxSteps);
}

}  // namespace tarnik::cli
