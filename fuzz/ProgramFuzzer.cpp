// Whole programs. The input is a source file, optionally followed by a NUL
// byte and the INPUT answers, one a line. The file is decoded as tarnik-cli
// decodes it and run as the Start command runs it, on a console that never
// blocks and ends the run after a fixed number of statements. Every run must
// end in an orderly way: at its end, or with an error that has a number, a
// description and a line of the program. Started a second time, as the user
// starts it again, the program must do exactly what it did the first time;
// and so it must when debugged, pausing before every line and setting a
// breakpoint at each, as long as the debugger changes nothing else. Every
// error it meets has its explanation, and every warning names one of its lines.
#include <algorithm>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "services/help/ErrorHelp.h"
#include "services/ProgramWarnings.h"
#include "expr/TextHelpers.h"
#include "interp/RunController.h"
#include "services/SourceText.h"

namespace tarnik {
namespace {

constexpr std::int64_t kStatementLimit = 20000;
// Statements granted at once without yield(), so that both ways of the
// executor's statement loop are driven.
constexpr std::int64_t kQuietBatch = 64;

// What a run showed: its output (as a digest) and how it ended.
struct RunRecord {
    std::uint64_t outputDigest = 0xcbf29ce484222325;  // FNV-1a of the output
    std::size_t outputLength = 0;
    std::optional<BasicError> error;
    std::int32_t line = 0;

    bool operator==(const RunRecord& other) const
    {
        return outputDigest == other.outputDigest && outputLength == other.outputLength &&
               error.has_value() == other.error.has_value() &&
               (!error || (error->number == other.error->number && error->description == other.error->description)) &&
               line == other.line;
    }
};

// Output goes into a digest, not kept: a printing loop must not fill the memory.
class FuzzConsole : public RunConsole {
public:
    explicit FuzzConsole(std::deque<std::u16string> answers) : m_answers(std::move(answers)) {}

    RunRecord outcome;

    void yield() override { ++m_statements; }
    std::int64_t quietStatements() override
    {
        const std::int64_t granted = std::clamp<std::int64_t>(kStatementLimit - m_statements, 0, kQuietBatch);
        m_statements += granted;
        return granted;
    }
    bool consoleVisible() override { return m_statements <= kStatementLimit; }
    void StopWindow() override
    {
        RunController debugger;
        debugger.setBreakpoint(debugger.currentLine(), true);
    }
    void Append(std::u16string_view text) override
    {
        for (char16_t c : text) outcome.outputDigest = (outcome.outputDigest ^ c) * 0x100000001b3;
        outcome.outputLength += text.size();
    }
    std::optional<std::u16string> InputWindow(std::u16string_view) override
    {
        if (m_answers.empty()) return std::nullopt;
        std::u16string answer = std::move(m_answers.front());
        m_answers.pop_front();
        return answer;
    }
    void Clear() override { outcome = {}; }
    void showConsole() override {}
    void setCaption(std::u16string_view) override {}

private:
    std::deque<std::u16string> m_answers;
    std::int64_t m_statements = 0;
};

// The non-empty lines after the NUL byte; an empty line is asked again, so it
// is no answer.
std::deque<std::u16string> answersOf(std::string_view script)
{
    const std::u16string text = decodeSource(script).text;
    std::deque<std::u16string> answers;
    for (std::u16string_view line : splitLines(text)) {
        if (!line.empty()) answers.emplace_back(line);
    }
    return answers;
}

// Started (freeRun) or debugged.
RunRecord run(std::u16string_view source, std::deque<std::u16string> answers, bool freeRun)
{
    FuzzConsole console(std::move(answers));
    const RunOutcome ended = StartRun(source, console, freeRun ? RunMode::Free : RunMode::Stepping);
    console.outcome.error = ended.error;
    console.outcome.line = ended.line;
    return console.outcome;
}

}  // namespace
}  // namespace tarnik

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarnik;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = bytes.find('\0');
    const std::u16string source = decodeSource(bytes.substr(0, nul)).text;
    const std::deque<std::u16string> answers =
        nul == std::string_view::npos ? std::deque<std::u16string>{} : answersOf(bytes.substr(nul + 1));

    const RunRecord first = run(source, answers, true);
    if (first.error) {
        const auto lines = static_cast<std::int32_t>(splitLines(source).size());
        fuzz::require(first.error->number > 0 && !first.error->description.empty(),
                      "an error has a number and a description", first.error->description);
        fuzz::require(first.line >= 1 && first.line <= lines, "an error names a line of the program", source);
        fuzz::require(errorRowOf(*first.error) != nullptr, "every error a program meets is explained",
                      first.error->description);
    }
    for (const ProgramWarning& warning : lintProgram(source).warnings) {
        const auto lines = static_cast<std::int32_t>(splitLines(source).size());
        fuzz::require(warning.line >= 1 && warning.line <= lines && !warning.text.empty(),
                      "a warning names a line of the program", warning.text);
    }
    fuzz::require(run(source, answers, true) == first, "a program started again does what it did", source);
    fuzz::require(run(source, answers, false) == first, "a program debugged does what it does when started", source);
    return 0;
}
