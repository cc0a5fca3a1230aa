// The commands that help a beginner: explain (an error number, or the error
// a program meets and why a program does not end) and lint (the warnings of a
// program).
#include <charconv>
#include <filesystem>
#include <iostream>

#include "app/StdioHost.h"
#include "app/StdioSignals.h"
#include "app/cliArguments.h"
#include "app/cliCommands.h"
#include "expr/NumberText.h"
#include "expr/TextHelpers.h"
#include "interp/ProgramRun.h"
#include "interp/clsCode.h"
#include "services/help/ErrorHelp.h"
#include "services/help/LoopDiagnosis.h"
#include "services/ProgramWarnings.h"
#include "services/SourceText.h"

namespace tarnik::cli {
namespace {

// Long enough for any program a beginner means to end; an endless one is
// stopped in a few seconds.
constexpr std::int64_t kExplainStepLimit = 10'000'000;

const std::string kNotANumber = "不是错误编号，错误编号是一个整数，例如 303";

// The answers come from standard input as under run, but nothing of the run
// is shown (no output, no question); the answers are kept to replay the run.
class QuietAnswersConsole : public RunConsole {
public:
    explicit QuietAnswersConsole(StdioHost& host) : m_host(host) {}

    void yield() override { m_host.yield(); }
    std::int64_t quietStatements() override { return m_host.quietStatements(); }
    bool consoleVisible() override { return m_host.consoleVisible(); }
    void StopWindow() override {}
    void Append(std::u16string_view) override {}
    std::optional<std::u16string> InputWindow(std::u16string_view) override
    {
        std::optional<std::u16string> answer = m_host.InputWindow(u"");
        if (answer) m_answers.push_back(*answer);
        return answer;
    }
    void Clear() override {}
    void showConsole() override {}
    void setCaption(std::u16string_view) override {}

    [[nodiscard]] const std::vector<std::u16string>& answers() const { return m_answers; }

private:
    StdioHost& m_host;
    std::vector<std::u16string> m_answers;
};

std::optional<std::int32_t> errorNumberIn(const std::string& text)
{
    std::int32_t number = 0;
    auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (end != text.data() + text.size() || text.empty()) return std::nullopt;
    if (problem == std::errc::result_out_of_range) {
        throw CliFailure{"没有编号为 " + text + " 的错误。运行程序时报告的“错误 N”才有解释。"};
    }
    if (problem != std::errc{}) return std::nullopt;
    return number;
}

int explainNumber(std::int32_t number)
{
    const std::vector<const ErrorText*> rows = errorRowsNumbered(number);
    if (rows.empty()) {
        throw CliFailure{"没有编号为 " + std::to_string(number) + " 的错误。运行程序时报告的“错误 N”才有解释。"};
    }
    std::string out;
    for (const ErrorText* row : rows) {
        if (!out.empty()) out += '\n';
        out += toUtf8(explanationText(*row));
    }
    return writeOutput(out);
}

// The error line, the line as typed, what the line shows, and the error's explanation.
std::u16string errorExplained(const RunOutcome& outcome, std::u16string_view source,
                              const std::vector<std::u16string>& answers)
{
    std::u16string out = outcome.errorLine() + u"\n";
    const std::vector<std::u16string_view> lines = splitLines(source);
    if (outcome.line >= 1 && static_cast<std::size_t>(outcome.line) <= lines.size()) {
        out += std::u16string(u"第") + numberText(outcome.line) + u"行: " +
               std::u16string(lines[static_cast<std::size_t>(outcome.line) - 1]) + u"\n";
    }
    const ErrorFacts facts = factsForError(outcome, source, answers);
    if (const std::u16string details = errorBoxDetails(outcome, source, facts); !details.empty()) {
        out += details + u"\n";
    }
    if (const ErrorText* row = errorRowOf(*outcome.error)) out += explanationText(*row);
    return out;
}

int explainFile(const CommandArguments& words)
{
    const std::int64_t maxSteps = statementLimit(words).value_or(kExplainStepLimit);
    const std::u16string source = readSource(words.operand(0));
    StdioHost host(false, maxSteps);
    QuietAnswersConsole console(host);
    InterruptSignals::install();
    clsCode code;
    const RunOutcome outcome = StartRun(code, source, console, RunMode::Free);
    if (const int signal = InterruptSignals::received()) InterruptSignals::endProcess(signal);
    if (host.answerTooLong()) {
        throw CliFailure{"第" + std::to_string(outcome.line) + "行的 INPUT 从标准输入读到的一行超过 1 MB，这不是一个回答。"};
    }
    std::u16string out;
    if (host.limitReached()) {
        for (const std::u16string& sentence : loopDiagnosis(source, console.answers(), maxSteps)) out += sentence + u"\n";
    } else if (outcome.error) {
        out = errorExplained(outcome, source, console.answers());
    } else {
        out = u"程序运行结束，没有错误。\n";
    }
    return writeOutput(toUtf8(out));
}

}  // namespace

// A number alone is an error number; anything else names a program.
int explainCommand(Arguments arguments)
{
    constexpr OptionRule options[] = {kMaxStepsOption};
    constexpr OperandRule operands[] = {{"N", "错误编号"}};
    const CommandArguments words("explain", arguments, options, operands);
    const std::string& operand = words.operand(0);
    const std::optional<std::int32_t> number = errorNumberIn(operand);
    if (number && !words.has(kMaxStepsOption.name)) return explainNumber(*number);
    if (!number && !std::filesystem::exists(std::filesystem::u8path(operand))) {
        throw CliFailure{"“" + operand + "”" + kNotANumber + "\n也找不到名为“" + operand + "”的程序文件。", true};
    }
    return explainFile(words);
}

int lintCommand(Arguments arguments)
{
    const std::u16string source = readSource(fileArgument("lint", arguments));
    const LintResult result = lintProgram(source);
    if (result.translation.error) {
        reportError(result.translation);
        return kExitProgramError;
    }
    std::string out;
    for (const ProgramWarning& warning : result.warnings) {
        out += toUtf8(warning.shown()) + "\n";
    }
    return writeOutput(out);
}

}  // namespace tarnik::cli
