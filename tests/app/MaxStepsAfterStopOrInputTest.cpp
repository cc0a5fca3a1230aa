// A fault once found by fuzzing: statements granted to run between two
// checks of the console were lost at every STOP and INPUT, though tarnik-cli
// had counted them already, so --max-steps stopped a run far too early.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/CliRunner.h"

namespace tarnik::test {
namespace {

constexpr int kOk = 0;
constexpr int kStepLimit = 3;

TEST(MaxStepsAfterStopOrInput, OnlyTheStatementsThatRanCount)
{
    struct Case {
        const char* source;
        const char* input;
        const char* limit;
        int exitStatus;
        const char* out;
    };
    const Case cases[] = {
        {"print 1\nstop\nprint 2\nprint 3\n", "", "4", kOk, "1\n2\n3\n"},
        {"print 1\nstop\nprint 2\nprint 3\n", "", "3", kStepLimit, "1\n2\n"},
        {"input a\nprint a\nprint 2\nprint 3\n", "7\n", "4", kOk, "7\n7\n2\n3\n"},
        {"input a\nprint a\nprint 2\nprint 3\n", "7\n", "3", kStepLimit, "7\n7\n2\n"},
        // 100 passes of three statements, a STOP in each, then the PRINT.
        {"for i = 1 to 100\nstop\nnext\nprint i\n", "", "202", kOk, "101\n"},
        {"for i = 1 to 100\nstop\nnext\nprint i\n", "", "201", kStepLimit, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.source) + " --max-steps " + c.limit);
        TempFile file(c.source);
        CliResult result = runCli({"run", "--max-steps", c.limit, file.path()}, c.input);
        EXPECT_EQ(result.exitStatus, c.exitStatus) << result.err;
        EXPECT_EQ(result.out, c.out);
    }
}

}  // namespace
}  // namespace tarnik::test
