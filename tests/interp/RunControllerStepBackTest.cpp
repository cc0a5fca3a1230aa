// 后退 and 前进 through RunController while a Debug run pauses: the variables
// with their marks, the line and the console text as they were a statement
// earlier, the return stack, the editor told of each shown line, INPUT never
// asked again, and the live run going on unchanged afterwards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interp/RunController.h"
#include "support/RecordingHost.h"

namespace tarnik::test {
namespace {

class ShownLines : public PauseWatcher {
public:
    void paused(std::int32_t line) override { lines.push_back(line); }
    void resumed() override {}
    void breakpointsChanged() override {}
    std::vector<std::int32_t> lines;
};

std::vector<std::u16string> texts(const std::vector<WatchedVariable>& variables)
{
    std::vector<std::u16string> shown;
    for (const WatchedVariable& variable : variables) {
        shown.push_back(variable.name + u"=" + variable.text + (variable.change == ValueChange::Same ? u"" : u"*"));
    }
    return shown;
}

TEST(RunControllerStepBack, BackAndForwardShowEarlierMomentsThenTheRunGoesOn)
{
    RunController controller;
    ShownLines watcher;
    controller.setPauseWatcher(&watcher);
    RecordingHost host;
    host.controller = &controller;
    host.answers = {u"5"};
    const std::u16string source =
        editorText({u"input a", u"gosub 10", u"print a + b", u"end", u"10 b = a * 2", u"return"});
    int pauses = 0;
    std::vector<std::string> seen;
    auto note = [&](const char* what) {
        std::string line = std::string(what) + " step " + std::to_string(controller.shownStep()) + " line " +
                           std::to_string(controller.currentLine()) + ":";
        for (const std::u16string& text : texts(controller.watchedVariables())) {
            line += " " + std::string(text.begin(), text.end());
        }
        seen.push_back(line);
    };
    host.onPause = [&] {
        if (++pauses != 4) return;  // before line 6 (RETURN): a = 5, b = 10, inside the subroutine
        EXPECT_FALSE(controller.lookingBack());
        note("live");
        EXPECT_TRUE(controller.stepBack());
        note("back");
        EXPECT_EQ(controller.shownGosubLines(), std::vector<std::int32_t>{2});
        EXPECT_EQ(controller.shownConsole(), u"5\r\n");
        EXPECT_TRUE(controller.stepBack());
        note("back");
        EXPECT_TRUE(controller.stepBack());
        note("back");
        EXPECT_TRUE(controller.shownConsole().empty());
        EXPECT_FALSE(controller.stepBack());  // the run's start
        EXPECT_TRUE(controller.stepForward());
        note("forward");
        while (controller.stepForward()) {
        }
        note("live again");
        EXPECT_FALSE(controller.lookingBack());
    };
    const std::optional<RunOutcome> outcome = controller.start(source, host, RunMode::Stepping);
    ASSERT_TRUE(outcome.has_value());
    EXPECT_FALSE(outcome->error);
    EXPECT_EQ(host.output, u"5\r\n15\r\n");
    EXPECT_TRUE(host.answers.empty());  // asked once, by the live run
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "live step 3 line 6: a=5 b=10*",
                        "back step 2 line 5: a=5",
                        "back step 1 line 2: a=5*",
                        "back step 0 line 1:",
                        "forward step 1 line 2: a=5*",
                        "live again step 3 line 6: a=5 b=10*",
                    }));
    // The live pauses, the moments shown going back and forward, then the live run's next pauses.
    EXPECT_EQ(watcher.lines, (std::vector<std::int32_t>{1, 2, 5, 6, 5, 2, 1, 2, 5, 6, 3, 4}));
}

TEST(RunControllerStepBack, StartKeepsNoRecord)
{
    RunController controller;
    RecordingHost host;
    host.controller = &controller;
    bool refused = false;
    host.onPause = [&] { refused = !controller.stepBack() && !controller.canStepBack(); };
    (void)controller.start(editorText({u"a = 1", u"stop", u"print a"}), host, RunMode::Free);
    EXPECT_TRUE(refused);
}

}  // namespace
}  // namespace tarnik::test
