#pragma once
// A console for tests: records output, answers INPUT from a script, counts
// pauses and can hide itself (abort) after a number of statements.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "interp/RunController.h"

namespace tarnik::test {

class RecordingHost : public RunConsole {
public:
    std::u16string output;
    std::deque<std::u16string> answers;        // INPUT answers; none left: end of input
    bool hideWhenAsked = false;                // INPUT: the console is closed instead of answering
    std::vector<std::u16string> questions;
    std::vector<std::int32_t> pausedLines;     // CurrentLine at every StopWindow
    RunController* controller = nullptr;       // the run's, while runProgram runs it
    std::function<void()> onPause;             // acts like the debugger's buttons
    RunMode mode = RunMode::Free;              // how runProgram starts the run
    std::int64_t statements = 0;               // calls of yield()
    std::int64_t grant = 0;                    // what quietStatements() grants each time
    std::int64_t hideAfterStatements = -1;     // hide the console when this many have run
    bool visible = false;
    std::u16string caption;
    int clears = 0;

    void yield() override;
    std::int64_t quietStatements() override { return grant; }
    bool consoleVisible() override { return visible; }
    void StopWindow() override;
    void Append(std::u16string_view text) override { output += text; }
    std::optional<std::u16string> InputWindow(std::u16string_view info) override;
    void Clear() override;
    void showConsole() override { visible = true; }
    void setCaption(std::u16string_view text) override { caption = text; }
};

// The outcome of running a program text the way the Start command does.
struct RunResult {
    std::u16string output;      // console text, CR LF as LF
    std::u16string error;       // "错误 N: DESCRIPTION(第L行)", or empty
    std::vector<std::u16string> variables;  // the names the run left, in the order of first use
};

RunResult runProgram(std::u16string_view source, RecordingHost& host);
RunResult runProgram(std::u16string_view source, std::deque<std::u16string> answers = {});

// Lines joined with CR LF, as the editor holds them.
std::u16string editorText(std::initializer_list<std::u16string_view> lines);

}  // namespace tarnik::test
