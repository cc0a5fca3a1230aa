// --version and --help of both programs, run as child processes: they answer
// on standard output with exit status 0, the help lists exactly the commands
// there are, and the IDE answers without a display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "app/BuildInfo.h"
#include "support/CliRunner.h"

namespace tarnik::test {
namespace {

constexpr int kOk = 0;
constexpr int kFailure = 2;

bool containsLine(const std::string& text, const std::string& line)
{
    return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

TEST(CliVersion, PrintsTheProjectVersion)
{
    const CliResult result = runCli({"--version"});
    EXPECT_EQ(result.exitStatus, kOk);
    EXPECT_EQ(result.out, std::string("tarnik-cli ") + kVersion + "\n");
    EXPECT_EQ(result.err, "");
}

TEST(CliHelp, ShowsEveryCommandWithItsArguments)
{
    const CliResult result = runCli({"--help"});
    EXPECT_EQ(result.exitStatus, kOk);
    EXPECT_EQ(result.err, "");
    for (const char* usage : {"run [--crlf] [--max-steps N] FILE", "check FILE", "format [--crlf] FILE", "table FILE", "lint FILE", "explain N | [--max-steps N] FILE",
                              "--version", "--help"}) {
        EXPECT_TRUE(containsLine(result.out, std::string("  tarnik-cli ") + usage)) << usage << "\n" << result.out;
    }
}

// A listed command that did not exist would be refused as unknown; each
// listed one instead complains, in its own name, that its FILE is missing.
TEST(CliHelp, ListsOnlyCommandsThatExist)
{
    const std::string help = runCli({"--help"}).out;
    static const std::regex kCommandLine("\n  tarnik-cli ([a-z]+) ");
    std::vector<std::string> names;
    for (auto it = std::sregex_iterator(help.begin(), help.end(), kCommandLine); it != std::sregex_iterator(); ++it) {
        names.push_back((*it)[1]);
    }
    EXPECT_GE(names.size(), 4U) << help;
    for (const std::string& name : names) {
        const CliResult result = runCli({name});
        EXPECT_EQ(result.exitStatus, kFailure) << name;
        EXPECT_TRUE(result.err.starts_with("tarnik-cli " + name + "：")) << name << ": " << result.err;
    }
}

TEST(CliHelp, IsNamedInTheUsageOfAMistypedCommand)
{
    const CliResult result = runCli({"rnu", "x.bas"});
    EXPECT_EQ(result.exitStatus, kFailure);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("tarnik-cli --help"), std::string::npos) << result.err;
}

#ifdef TARNIK_IDE_PATH
// Qt is sent to an X display that is not there: had the IDE started Qt
// before answering, it would abort instead.
class IdeWithoutDisplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
};

TEST_F(IdeWithoutDisplay, PrintsTheProjectVersion)
{
    const CliResult result = runProgram(TARNIK_IDE_PATH, {"--version"});
    EXPECT_EQ(result.exitStatus, kOk) << result.err;
    EXPECT_EQ(result.out, std::string("tarnik ") + kVersion + "\n");
}

TEST_F(IdeWithoutDisplay, PrintsItsUsage)
{
    const CliResult result = runProgram(TARNIK_IDE_PATH, {"--help"});
    EXPECT_EQ(result.exitStatus, kOk) << result.err;
    EXPECT_TRUE(containsLine(result.out, "  tarnik [FILE]")) << result.out;
    EXPECT_TRUE(containsLine(result.out, "  tarnik --version")) << result.out;
}
#endif

}  // namespace
}  // namespace tarnik::test
