// Formatting never changes what a working program does: every program of
// tests/programs and examples, and random programs written the ways
// beginners write them, run byte for byte the same (standard output, standard
// error, exit status) before and after `tarnik-cli format`.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/CliRunner.h"
#include "support/ProgramExpectations.h"
#include "support/RandomProgram.h"

namespace tarnik::test {
namespace {

constexpr int kOk = 0;
constexpr int kStepLimit = 3;
constexpr int kRandomPrograms = 400;
const std::string kStatementLimit = "200000";

// The warning about unreadable bytes names the file, which differs; the
// formatted file, UTF-8 throughout, has none.
std::string withoutFileWarning(const std::string& err)
{
    return err.starts_with("警告: ") ? err.substr(err.find('\n') + 1) : err;
}

// Runs the program as it is and formatted; false when it is no working
// program (it stops on an error), which leaves nothing to compare.
bool expectSameRunFormatted(const std::string& source, const std::string& answers)
{
    TempFile original(source);
    const CliResult before = runCli({"run", "--max-steps", kStatementLimit, original.path()}, answers);
    if (before.exitStatus != kOk && before.exitStatus != kStepLimit) return false;
    const CliResult formatted = runCli({"format", original.path()});
    EXPECT_EQ(formatted.exitStatus, kOk);
    TempFile rewritten(formatted.out);
    const CliResult after = runCli({"run", "--max-steps", kStatementLimit, rewritten.path()}, answers);
    EXPECT_EQ(after.exitStatus, before.exitStatus) << formatted.out;
    EXPECT_EQ(after.out, before.out) << formatted.out;
    EXPECT_EQ(after.err, withoutFileWarning(before.err)) << formatted.out;
    return true;
}

std::string joinedAnswers(const std::vector<std::string>& answers)
{
    std::string joined;
    for (const std::string& answer : answers) joined += answer + "\n";
    return joined;
}

TEST(CliFormatKeepsRuns, EveryProgramOfTheTestsRunsTheSameFormatted)
{
    int working = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(TARNIK_PROGRAMS_DIR)) {
        if (entry.path().extension() != ".tnk") continue;
        SCOPED_TRACE(entry.path().string());
        const std::string source = readFileBytes(entry.path());
        working += expectSameRunFormatted(source, joinedAnswers(readExpectations(source).answers)) ? 1 : 0;
    }
    EXPECT_GT(working, 50);
}

TEST(CliFormatKeepsRuns, EveryExampleRunsTheSameFormatted)
{
    for (const std::filesystem::path& program : examplePrograms()) {
        SCOPED_TRACE(program.filename().string());
        const std::filesystem::path answers = std::filesystem::path(program).replace_extension(".in");
        EXPECT_TRUE(expectSameRunFormatted(readFileBytes(program),
                                           std::filesystem::exists(answers) ? readFileBytes(answers) : ""));
    }
}

TEST(CliFormatKeepsRuns, RandomProgramsRunTheSameFormatted)
{
    const std::string answers = [] {
        std::string lines;
        for (int i = 0; i < 200; ++i) lines += std::to_string(i % 7) + "\n";
        return lines;
    }();
    int working = 0;
    for (unsigned seed = 1; seed <= kRandomPrograms; ++seed) {
        const std::string source = RandomProgram(seed).text();
        SCOPED_TRACE("seed " + std::to_string(seed) + ":\n" + source);
        working += expectSameRunFormatted(source, answers) ? 1 : 0;
    }
    // Most programs must work, or the property would be checked on few.
    EXPECT_GT(working, kRandomPrograms / 2);
}

}  // namespace
}  // namespace tarnik::test
