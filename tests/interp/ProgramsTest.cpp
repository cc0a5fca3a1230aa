// Every program under tests/programs, run through the core and through
// tarnik-cli run, against the expectations written in its own comments (the
// format is in tests/programs/README.md).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "interp/ProgramState.h"
#include "services/SourceText.h"
#include "support/CliRunner.h"
#include "support/ProgramExpectations.h"
#include "support/RecordingHost.h"
#include "support/TestSupport.h"

namespace tarnik::test {
namespace {

// Far above what any of the programs needs: an endless loop fails its test
// instead of hanging it.
constexpr std::int64_t kStatementLimit = 5'000'000;
constexpr int kExitOk = 0;
constexpr int kExitProgramError = 1;
constexpr int kExitStepLimit = 3;

std::filesystem::path programsDir() { return TARNIK_PROGRAMS_DIR; }

// How a run ended, as tarnik-cli words it.
struct Outcome {
    std::string console;                 // UTF-8, LF line ends
    std::string errorLine;               // "错误 N: DESCRIPTION(第L行)", or empty
    std::string questions;               // every INPUT question, one after the other
    bool endless = false;                // still running after kStatementLimit statements
};

// The one place that knows how the core is asked to run a program; adapt it
// when the run's interface changes.
Outcome runInCore(std::u16string_view editorText, const std::vector<std::string>& answers)
{
    RecordingHost host;
    host.hideAfterStatements = kStatementLimit;
    for (const std::string& answer : answers) host.answers.push_back(utf16(answer));
    const RunResult result = runProgram(editorText, host);
    Outcome outcome{utf8(result.output), utf8(result.error), {}, host.statements > kStatementLimit};
    for (const std::u16string& question : host.questions) outcome.questions += utf8(question);
    return outcome;
}

// The console text cut after each line end; an open last line is a piece of its own.
std::vector<std::string_view> consoleLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
        lines.push_back(text.substr(0, length));
        text.remove_prefix(length);
    }
    return lines;
}

// A console line as a message shows it: between « and », a TAB as \t.
std::string shown(std::string_view line)
{
    const bool open = !line.ends_with('\n');
    if (!open) line.remove_suffix(1);
    std::string text = "«";
    for (char c : line) text += c == '\t' ? std::string("\\t") : std::string(1, c);
    return text + (open ? "» (line left open)" : "»");
}

struct Difference {
    std::size_t line = 0;  // 0-based console line
    std::string message;
};

std::optional<Difference> consoleDifference(std::string_view expected, std::string_view actual)
{
    const std::vector<std::string_view> wanted = consoleLines(expected);
    const std::vector<std::string_view> got = consoleLines(actual);
    for (std::size_t i = 0; i < std::max(wanted.size(), got.size()); ++i) {
        if (i < wanted.size() && i < got.size() && wanted[i] == got[i]) continue;
        return Difference{i, "console line " + std::to_string(i + 1) + ": expected " +
                                 (i < wanted.size() ? shown(wanted[i]) : "no more output") + ", got " +
                                 (i < got.size() ? shown(got[i]) : "no more output") +
                                 "\nThe whole console:\n" + std::string(actual)};
    }
    return std::nullopt;
}

std::string ending(const std::string& errorLine)
{
    return errorLine.empty() ? "a normal end" : "«" + errorLine + "»";
}

// Standard error of tarnik-cli run: the questions, each without a line end;
// on an error, a line end after them and the error line.
bool isExpectedErrorOutput(const std::string& err, const std::string& questions, const std::string& errorLine)
{
    if (errorLine.empty()) return err == questions || (!questions.empty() && err == questions + "\n");
    return err == questions + (questions.empty() ? "" : "\n") + errorLine + "\n";
}

class Program : public ::testing::TestWithParam<std::string> {
protected:
    // Failures point at the program's file, at the line of the annotation concerned.
    void failAt(int sourceLine, const std::string& message) const
    {
        ADD_FAILURE_AT(m_file.c_str(), sourceLine) << message;
    }

    int consoleSource(std::size_t consoleLine) const
    {
        const std::vector<int>& sources = m_expected.consoleLineSources;
        if (consoleLine < sources.size()) return sources[consoleLine];
        return sources.empty() ? errorSource() : sources.back();
    }

    int errorSource() const { return m_expected.errorSource > 0 ? m_expected.errorSource : 1; }

    void expectConsole(const char* runner, const std::string& console) const
    {
        if (std::optional<Difference> difference = consoleDifference(m_expected.console, console)) {
            failAt(consoleSource(difference->line), std::string(runner) + ": " + difference->message);
        }
    }

    void expectCoreRun(const Outcome& core) const
    {
        if (core.endless) failAt(1, "core: still running after " + std::to_string(kStatementLimit) + " statements");
        expectConsole("core", core.console);
        if (core.errorLine != m_expected.errorLine) {
            failAt(errorSource(), "core: expected " + ending(m_expected.errorLine) + ", got " + ending(core.errorLine));
        }
    }

    void expectCliRun(const CliResult& cli, const std::string& questions) const
    {
        if (cli.exitStatus == kExitStepLimit) {
            failAt(1, "tarnik-cli run: still running after " + std::to_string(kStatementLimit) + " statements");
            return;
        }
        const int exitStatus = m_expected.errorLine.empty() ? kExitOk : kExitProgramError;
        if (cli.exitStatus != exitStatus) {
            failAt(errorSource(), "tarnik-cli run: exit status " + std::to_string(cli.exitStatus) + ", expected " +
                                      std::to_string(exitStatus) + "\nStandard error:\n" + cli.err);
        }
        expectConsole("tarnik-cli run", cli.out);
        if (!isExpectedErrorOutput(cli.err, questions, m_expected.errorLine)) {
            failAt(errorSource(), "tarnik-cli run: expected " + ending(m_expected.errorLine) +
                                      (questions.empty() ? "" : " after the questions «" + questions + "»") +
                                      " on standard error, which holds:\n" + cli.err);
        }
    }

    std::string m_file;
    ProgramExpectations m_expected;
};

TEST_P(Program, RunsAsItsAnnotationsSay)
{
    m_file = (programsDir() / GetParam()).string();
    const std::string bytes = readFileBytes(m_file);
    m_expected = readExpectations(bytes);
    for (const AnnotationProblem& problem : m_expected.problems) failAt(problem.sourceLine, problem.text);
    if (!m_expected.problems.empty()) return;

    const Outcome core = runInCore(decodeSource(bytes).text, m_expected.answers);
    expectCoreRun(core);

    std::string input;
    for (const std::string& answer : m_expected.answers) input += answer + "\n";
    expectCliRun(runCli({"run", "--max-steps", std::to_string(kStatementLimit), m_file}, input), core.questions);
}

std::vector<std::string> programFiles()
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(programsDir())) {
        if (entry.path().extension() != ".tnk") continue;
        files.push_back(entry.path().lexically_relative(programsDir()).generic_string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// for/negative_step.tnk -> for_negative_step
std::string testName(const ::testing::TestParamInfo<std::string>& info)
{
    std::string name = std::filesystem::path(info.param).replace_extension().generic_string();
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Programs, Program, ::testing::ValuesIn(programFiles()), testName);

TEST(ProgramsFolder, HoldsOnlyProgramsAndItsReadme)
{
    for (const auto& entry : std::filesystem::recursive_directory_iterator(programsDir())) {
        if (!entry.is_regular_file()) continue;
        const std::filesystem::path relative = entry.path().lexically_relative(programsDir());
        EXPECT_TRUE(relative.extension() == ".tnk" || relative == "README.md")
            << relative << " would never run: programs end in .tnk";
    }
    EXPECT_GE(programFiles().size(), 100u);
}

// ---- the annotations themselves ---------------------------------------------

struct AnnotationCase {
    const char* source;
    const char* console;
    std::vector<std::string> answers;
    const char* errorLine;
};

TEST(ProgramAnnotations, AreReadFromCommentsOutsideLiterals)
{
    const AnnotationCase cases[] = {
        {"print 3 ' expect: 3", "3\n", {}, ""},
        {"print \"it's\" ' expect: it's", "it's\n", {}, ""},
        {"print \"' expect: 1\"\nprint 2 '   expect: 2", "2\n", {}, ""},
        {"print \"\" ' expect:", "\n", {}, ""},
        {"print 1, \"a \"; ' expect open: 1\\ta\\s\ninput x ' input: 5", "1\ta 5\n", {"5"}, ""},
        {"' input: \\s12\\s\r\n' expect: a\\\\b", " 12 \na\\b\n", {" 12 "}, ""},
        {"' an ordinary comment\nx = 1 / 0 ' expect error 11 at 2: 除数为零", "", {}, "错误 11: 除数为零(第2行)"},
        {"' expect error 202 at 1: 表达式(\"a\"; 1错误", "", {}, "错误 202: 表达式(\"a\"; 1错误(第1行)"},
    };
    for (const AnnotationCase& c : cases) {
        SCOPED_TRACE(c.source);
        const ProgramExpectations expected = readExpectations(c.source);
        EXPECT_TRUE(expected.problems.empty());
        EXPECT_EQ(expected.console, c.console);
        EXPECT_EQ(expected.answers, c.answers);
        EXPECT_EQ(expected.errorLine, c.errorLine);
    }
}

TEST(ProgramAnnotations, RejectsWhatTheyCannotRead)
{
    struct Case {
        const char* source;
        int problemLine;
    };
    const Case cases[] = {
        {"print 1", 1},
        {"print \"' expect: 1\"", 1},
        {"print 3 ' expect:3", 1},
        {"print 3 ' expect: 3 ", 1},
        {"print 3 ' expect:  3", 1},
        {"print 3\nprint 4 ' Expect: 4", 2},
        {"print 3 ' expected 3", 1},
        {"print 3 ' expect: 3\\n", 1},
        {"print 3; ' expect open:", 1},
        {"input a ' input:", 1},
        {"input a ' input : 5", 1},
        {"x = 1 / 0 ' expect error 11: 除数为零", 1},
        {"x = 1 / 0 ' expect error 11 at 1:", 1},
        {"x = 1 / 0 ' expect error 11 at 1: 除数为零\n' expect error 11 at 1: 除数为零", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        const ProgramExpectations expected = readExpectations(c.source);
        ASSERT_EQ(expected.problems.size(), 1u);
        EXPECT_EQ(expected.problems.front().sourceLine, c.problemLine);
    }
}

}  // namespace
}  // namespace tarnik::test
