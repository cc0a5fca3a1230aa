#include "expr/BasicError.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "interp/ProgramState.h"
#include "expr/TextHelpers.h"
#include "expr/clsSen.h"
#include "support/TestSupport.h"

namespace tarnik {
namespace {

// The state these tests evaluate in, as a run's program object holds one.
ProgramState program;

using test::utf8;

class ProgramErrorState : public ::testing::Test {
protected:
    void SetUp() override { program.reset(); }
};

TEST_F(ProgramErrorState, RaisingLeavesTheProcedureAtOnceAndRecordsNothing)
{
    bool reachedAfterRaise = false;
    auto procedure = [&] {
        raiseError(kDivisionByZero);
        reachedAfterRaise = true;
    };
    try {
        procedure();
        ADD_FAILURE() << "no error raised";
    } catch (const BasicError& error) {
        EXPECT_EQ(error.number, 11);
        EXPECT_EQ(utf8(error.description), "除数为零");
    }
    EXPECT_FALSE(reachedAfterRaise);
    EXPECT_FALSE(program.Err.pending());
}

TEST(ErrorModel, RecordingStoresTheErrorAndClearEmptiesIt)
{
    ErrorState state;
    state.record(kMissingQuote);
    EXPECT_TRUE(state.pending());
    EXPECT_EQ(state.number(), 208);
    EXPECT_EQ(utf8(state.description()), "缺少双引号");

    state.clear();
    EXPECT_FALSE(state.pending());
    EXPECT_EQ(state.number(), 0);
    EXPECT_TRUE(state.description().empty());
}

TEST(ErrorModel, ResumeNextRecordsARaisedErrorAndSkipsOnlyTheRestOfThatStep)
{
    ErrorState state;
    std::vector<int> done;
    bool firstFinished = state.resumeNext([&] {
        done.push_back(1);
        raiseError(kOverflow);
        done.push_back(2);
    });
    bool secondFinished = state.resumeNext([&] { done.push_back(3); });

    EXPECT_FALSE(firstFinished);
    EXPECT_TRUE(secondFinished);
    EXPECT_EQ(done, (std::vector<int>{1, 3}));
    // A step that succeeds leaves the recorded error in place.
    EXPECT_EQ(state.number(), 6);
    EXPECT_EQ(utf8(state.description()), "溢出");
}

TEST(ErrorModel, ResumeNextKeepsTheLatestError)
{
    ErrorState state;
    state.resumeNext([] { raiseError(kOverflow); });
    state.resumeNext([] { raiseError(kTypeMismatch); });
    EXPECT_EQ(state.number(), 13);
    EXPECT_EQ(utf8(state.description()), "类型不匹配");
}

// Procedures that work in resume-next mode start from a clear state, so an
// error recorded earlier is gone once one of them has run successfully.
TEST_F(ProgramErrorState, ResumeNextProceduresClearThePendingErrorOnEntry)
{
    const struct {
        const char* name;
        std::function<void()> call;
    } procedures[] = {
        {"getVar", [] { (void)program.Variables.getVar(u"x"); }},
        {"setVar", [] { program.Variables.setVar(u"x", 1); }},
        {"FindOutsideQuotes", [] { (void)FindOutsideQuotes(u"a = 1", u"=", program.Err); }},
        {"ReadWord", [] {
             clsSen reader(program.Err);
             reader.setStrText(u"x");
             (void)reader.ReadWord();
         }},
    };
    for (const auto& procedure : procedures) {
        SCOPED_TRACE(procedure.name);
        program.Err.record(kOverflow);
        procedure.call();
        EXPECT_FALSE(program.Err.pending());
    }
}

TEST_F(ProgramErrorState, RaisingHelpersLeaveThePendingErrorAlone)
{
    program.Err.record(kOverflow);
    EXPECT_THROW((void)FindListSeparator(u"a)"), BasicError);
    EXPECT_THROW((void)ReplaceOutsideQuotes(u"a", u"and", u"band", program.Err), BasicError);
    EXPECT_EQ(program.Err.number(), 6);
}

}  // namespace
}  // namespace tarnik
