// How a run started from the editor says it ended: by itself, on an error,
// or aborted by its console being hidden.
#include <gtest/gtest.h>

#include "interp/ProgramState.h"
#include "support/RecordingHost.h"

namespace tarnik::test {
namespace {

TEST(RunController, OutcomeSaysHowTheRunEnded)
{
    struct Case {
        const char* name;
        std::u16string source;
        std::int64_t hideAfterStatements;  // -1: never
        bool hideWhenAsked;
        std::int32_t error;                // 0: none
        std::int32_t line;
        bool aborted;
    };
    const Case cases[] = {
        {"finished", editorText({u"print 1", u"print 2"}), -1, false, 0, 0, false},
        {"error", editorText({u"a = 1", u"print 1 / 0"}), -1, false, 11, 2, false},
        {"translation error", editorText({u"for i = 1 to 2"}), -1, false, 303, 1, false},
        {"hidden during a loop", editorText({u"do while 1 = 1", u"loop"}), 20, false, 0, 0, true},
        {"hidden while INPUT asks", editorText({u"input a"}), -1, true, 0, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        program.reset();
        RecordingHost host;
        host.grant = 0;
        host.hideAfterStatements = c.hideAfterStatements;
        host.hideWhenAsked = c.hideWhenAsked;
        const RunOutcome outcome = StartRun(c.source, host, RunMode::Free);
        EXPECT_EQ(outcome.error ? outcome.error->number : 0, c.error);
        EXPECT_EQ(outcome.line, c.line);
        EXPECT_EQ(outcome.aborted, c.aborted);
    }
}

}  // namespace
}  // namespace tarnik::test
