// Runs share nothing: two different programs run at the same time in two
// threads, many times over, each give exactly what they give alone. (Class
// grading runs many programs at once; step back replays a run beside the
// paused one.) The sanitizer build runs this too.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "support/RecordingHost.h"
#include "support/TestSupport.h"

namespace tarnik {
namespace {

using test::editorText;
using test::RunResult;
using test::runProgram;

// Fractions read back on every pass (the read-back remembers recent values),
// GOSUB and RETURN, INPUT, and an error at the end of one of them.
const std::u16string kPrograms[] = {
    editorText({u"input n", u"s = 0", u"for i = 1 to n", u"s = s + sqr(i) / 3", u"gosub 100", u"next",
                u"print s", u"end", u"100 t = t + i mod 7", u"return"}),
    editorText({u"x = 0.1", u"do while x < 400", u"x = x * 1.7 + 0.3", u"print x;", u"loop",
                u"print \"\"", u"y = x / (x - x)"}),
};

RunResult runAlone(const std::u16string& program) { return runProgram(program, {u"20000"}); }

TEST(ConcurrentRuns, TwoProgramsInTwoThreadsEachGiveWhatTheyGiveAlone)
{
    const RunResult alone[] = {runAlone(kPrograms[0]), runAlone(kPrograms[1])};
    ASSERT_EQ(alone[0].error, u"");
    ASSERT_FALSE(alone[1].error.empty());
    constexpr int kRounds = 20;
    std::vector<RunResult> seen[2];
    for (int round = 0; round < kRounds; ++round) {
        std::thread first([&] { seen[0].push_back(runAlone(kPrograms[0])); });
        std::thread second([&] { seen[1].push_back(runAlone(kPrograms[1])); });
        first.join();
        second.join();
    }
    for (int which = 0; which < 2; ++which) {
        ASSERT_EQ(seen[which].size(), std::size_t{kRounds});
        for (const RunResult& result : seen[which]) {
            EXPECT_EQ(result.output, alone[which].output);
            EXPECT_EQ(result.error, alone[which].error);
            EXPECT_EQ(result.variables, alone[which].variables);
        }
    }
}

}  // namespace
}  // namespace tarnik
