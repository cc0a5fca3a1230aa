// tarnik-cli explain FILE on whole programs (tests/data/explain/*.tnk). Each
// program says in its first comment lines what explain must print:
//   '$ ARGUMENTS   options given before FILE (--max-steps N)
//   '< ANSWER      the next line of standard input
//   '| LINE        the next line of standard output
// For an error, the lines given are the error line, the line as typed and the
// causes; the explanation of the error's number must follow them exactly as
// `explain N` prints it. Otherwise the lines given are the whole output.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "interp/ProgramRun.h"
#include "services/help/ErrorHelp.h"
#include "services/SourceText.h"
#include "support/CliRunner.h"
#include "support/RecordingHost.h"

namespace tarnik::test {
namespace {

struct ExplainedProgram {
    std::filesystem::path path;
    std::vector<std::string> options;
    std::vector<std::string> answers;
    std::vector<std::string> expected;
    std::string source;
};

ExplainedProgram readProgram(const std::filesystem::path& path)
{
    ExplainedProgram program{path, {}, {}, {}, readFileBytes(path)};
    std::istringstream lines(program.source);
    for (std::string line; std::getline(lines, line) && line.starts_with("'");) {
        const std::string text = line.size() > 3 ? line.substr(3) : "";
        if (line.starts_with("'$ ")) {
            std::istringstream words(text);
            for (std::string word; words >> word;) program.options.push_back(word);
        } else if (line.starts_with("'< ")) {
            program.answers.push_back(text);
        } else if (line.starts_with("'| ")) {
            program.expected.push_back(text);
        }
    }
    return program;
}

std::vector<ExplainedProgram> explainedPrograms()
{
    std::vector<ExplainedProgram> programs;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(TARNIK_TEST_DATA_DIR) / "explain")) {
        if (entry.path().extension() == ".tnk") programs.push_back(readProgram(entry.path()));
    }
    std::sort(programs.begin(), programs.end(),
              [](const ExplainedProgram& a, const ExplainedProgram& b) { return a.path < b.path; });
    return programs;
}

std::string joinedLines(const std::vector<std::string>& lines, std::size_t first, std::size_t end)
{
    std::string text;
    for (std::size_t i = first; i < end; ++i) text += lines[i] + "\n";
    return text;
}

CliResult explain(const ExplainedProgram& program)
{
    std::vector<std::string> arguments{"explain"};
    arguments.insert(arguments.end(), program.options.begin(), program.options.end());
    arguments.push_back(program.path.string());
    return runCli(arguments, joinedLines(program.answers, 0, program.answers.size()));
}

// The error number of an error line "错误 N: …"; 0 for any other line.
int errorNumberOf(const std::string& line)
{
    return line.starts_with("错误 ") ? std::stoi(line.substr(std::string("错误 ").size())) : 0;
}

bool isExplanationOf(int number, const std::string& text)
{
    const std::vector<const ErrorText*> rows = errorRowsNumbered(number);
    return std::any_of(rows.begin(), rows.end(),
                       [&](const ErrorText* row) { return text == toUtf8(explanationText(*row)); });
}

TEST(CliExplainFile, EveryProgramIsExplainedAsItsCommentsSay)
{
    const std::vector<ExplainedProgram> programs = explainedPrograms();
    ASSERT_GE(programs.size(), 30u);
    for (const ExplainedProgram& program : programs) {
        SCOPED_TRACE(program.path.filename().string());
        ASSERT_FALSE(program.expected.empty());
        const CliResult result = explain(program);
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(result.err, "");
        const std::string expected = joinedLines(program.expected, 0, program.expected.size());
        const int number = errorNumberOf(program.expected.front());
        if (number == 0) {
            EXPECT_EQ(result.out, expected);
            continue;
        }
        ASSERT_TRUE(result.out.starts_with(expected)) << result.out;
        EXPECT_TRUE(isExplanationOf(number, result.out.substr(expected.size()))) << result.out;
    }
}

// The IDE's error box shows what explain prints between the line as typed and
// the explanation, for the programs whose causes the text alone shows.
TEST(CliExplainFile, ErrorBoxDetailsAreTheCausesExplainPrints)
{
    std::size_t compared = 0;
    for (const ExplainedProgram& program : explainedPrograms()) {
        const int number = errorNumberOf(program.expected.front());
        if (number == 0 || number == 11 || number == 6 || number == 10) continue;  // those need the run's values
        SCOPED_TRACE(program.path.filename().string());
        RecordingHost host;
        for (const std::string& answer : program.answers) host.answers.push_back(fromUtf8(answer));
        const std::u16string text = withCrLfLineEnds(fromUtf8(program.source));
        const RunOutcome outcome = StartRun(text, host, RunMode::Free);
        ASSERT_TRUE(outcome.error.has_value());
        EXPECT_EQ(toUtf8(outcome.errorLine()), program.expected.front());
        EXPECT_EQ(toUtf8(errorBoxDetails(outcome, text)) + "\n", joinedLines(program.expected, 2, program.expected.size()));
        ++compared;
    }
    EXPECT_GE(compared, 20u);
}

TEST(CliExplainFile, AWholeNumberIsAnErrorNumberAndAnythingElseAProgram)
{
    EXPECT_EQ(runCli({"explain", "11"}).out, toUtf8(explanationText(kDivisionByZero)));

    TempFile program("x = 1 / 0\n", ".tnk");
    const CliResult limited = runCli({"explain", "--max-steps", "5", program.path()});
    EXPECT_EQ(limited.exitStatus, 0);
    EXPECT_TRUE(limited.out.starts_with("错误 11: 除数为零(第1行)\n第1行: x = 1 / 0\n")) << limited.out;

    const CliResult missing = runCli({"explain", "no-such-program.tnk"});
    EXPECT_EQ(missing.exitStatus, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("也找不到名为“no-such-program.tnk”的程序文件。"), std::string::npos) << missing.err;

    const CliResult folder = runCli({"explain", std::filesystem::temp_directory_path().string()});
    EXPECT_EQ(folder.exitStatus, 2);
    EXPECT_EQ(folder.out, "");
}

}  // namespace
}  // namespace tarnik::test
