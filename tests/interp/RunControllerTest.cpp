// What the run controller tells: how a run ended (by itself, on an error, or
// aborted by its console being hidden), the paused line while the debugger is
// open, and the watcher's calls around every pause.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interp/ProgramState.h"
#include "interp/RunController.h"
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

// Records "paused N" and "resumed" in order, with the controller's paused
// line at each call.
class RecordingWatcher : public PauseWatcher {
public:
    explicit RecordingWatcher(const RunController& controller) : m_controller(controller) {}

    void paused(std::int32_t line) override { events.push_back("paused " + std::to_string(line) + seen()); }
    void resumed() override { events.push_back("resumed" + seen()); }
    void breakpointsChanged() override { events.push_back("breakpoints" + seen()); }

    std::vector<std::string> events;

private:
    std::string seen() const
    {
        const std::optional<std::int32_t> line = m_controller.pausedLine();
        return line ? " (" + std::to_string(*line) + ")" : " (-)";
    }

    const RunController& m_controller;
};

class RunControllerPauses : public ::testing::Test {
protected:
    void SetUp() override { host.controller = &controller; }
    RunController controller;
    RecordingWatcher watcher{controller};
    RecordingHost host;
};

TEST_F(RunControllerPauses, WatcherHearsEveryPauseAndItsEnd)
{
    struct Case {
        const char* name;
        RunMode mode;
        std::vector<std::u16string_view> lines;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {"no pause", RunMode::Free, {u"a = 1", u"print a"}, {}},
        {"stepping", RunMode::Stepping, {u"a = 1", u"print a"},
         {"paused 1 (1)", "resumed (-)", "paused 2 (2)", "resumed (-)"}},
        {"STOP", RunMode::Free, {u"a = 1", u"stop", u"print a"}, {"paused 2 (2)", "resumed (-)"}},
    };
    controller.setPauseWatcher(&watcher);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        watcher.events.clear();
        std::vector<std::optional<std::int32_t>> pausedLines;
        host.onPause = [&] { pausedLines.push_back(controller.pausedLine()); };
        std::u16string text;
        for (std::u16string_view line : c.lines) text.append(line).append(u"\r\n");
        (void)controller.start(text, host, c.mode);
        EXPECT_EQ(watcher.events, c.events);
        EXPECT_EQ(controller.pausedLine(), std::nullopt);
        for (const std::optional<std::int32_t>& line : pausedLines) EXPECT_TRUE(line.has_value());
    }
}

// A console that lets statements run quietly between its turns still sees
// at a pause how many ran before it, exactly as a recorded run counts them.
TEST_F(RunControllerPauses, StatementsBeforeAPauseAreCountedWhateverTheGrant)
{
    const std::u16string text = editorText({u"s = 0", u"for i = 1 to 700", u"s = s + i", u"if s > 1000 then stop", u"next"});
    std::vector<std::int64_t> counted;
    host.onPause = [&] {
        counted.push_back(controller.shownStep());
        controller.runFreely();
    };
    host.grant = 0;
    (void)controller.start(text, host, RunMode::Stepping);  // recorded: every statement is its own turn
    ASSERT_GE(counted.size(), 2u);
    const std::vector<std::int64_t> recorded(counted.begin() + 1, counted.end());  // after the first pause
    for (const std::int64_t grant : {1, 7, 1000}) {
        SCOPED_TRACE(grant);
        counted.clear();
        host.grant = grant;
        (void)controller.start(text, host, RunMode::Free);
        EXPECT_EQ(counted, recorded);
    }
}

TEST_F(RunControllerPauses, AnAbortAtAPauseStillEndsIt)
{
    controller.setPauseWatcher(&watcher);
    host.onPause = [&] { host.visible = false; };  // the debugger's Abort hides the console
    (void)controller.start(editorText({u"print 1", u"print 2"}), host, RunMode::Stepping);
    EXPECT_EQ(watcher.events, (std::vector<std::string>{"paused 1 (1)", "resumed (-)"}));
    EXPECT_EQ(host.output, u"1\r\n");  // the paused line still runs, then the run ends
    EXPECT_EQ(controller.pausedLine(), std::nullopt);
}

// A breakpoint ticked or unticked in the debugger is told at once, so the
// editor can mark it; one set while nothing is paused is not.
TEST_F(RunControllerPauses, WatcherHearsBreakpointsTickedWhilePaused)
{
    controller.setPauseWatcher(&watcher);
    controller.setBreakpoint(2, true);
    EXPECT_TRUE(watcher.events.empty());
    int pauses = 0;
    host.onPause = [&] {
        if (++pauses == 1) {
            controller.setBreakpoint(3, true);  // ticked at the first pause, then on freely to it
            controller.runFreely();
        } else {
            controller.setBreakpoint(3, false);
        }
    };
    (void)controller.start(editorText({u"print 1", u"print 2", u"print 3"}), host, RunMode::Stepping);
    EXPECT_EQ(watcher.events, (std::vector<std::string>{"paused 1 (1)", "breakpoints (1)", "resumed (-)",
                                                        "paused 3 (3)", "breakpoints (3)", "resumed (-)"}));
}

TEST_F(RunControllerPauses, WithoutAWatcherPausesStillWork)
{
    controller.setPauseWatcher(&watcher);
    controller.setPauseWatcher(nullptr);
    (void)controller.start(editorText({u"stop"}), host, RunMode::Free);
    EXPECT_EQ(host.pausedLines, std::vector<std::int32_t>{1});
    EXPECT_TRUE(watcher.events.empty());
}

}  // namespace
}  // namespace tarnik::test
