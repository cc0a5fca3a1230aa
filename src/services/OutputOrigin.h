#pragma once
// Where a wrong output line came from: a failing case is run once more with
// the execution record on, and the first wrong character of the output is
// traced to the statement that wrote it, the values of the variables that
// statement names, and where each of them last got its value (with the FOR
// loops' variables then). Only failing cases pay for this second run.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interp/VariableChanges.h"
#include "services/Judging.h"
#include "services/TestCases.h"

namespace tarnik {

struct LastAssignment {
    std::u16string name;  // as the statement writes it
    std::int64_t step = 0;  // 0: the variable never held anything but 0 before
    std::int32_t line = 0;  // the editor line of that step
    std::vector<VariableValue> loopVariables;  // of the FOR loops around that line, as they were then
};

struct OutputOrigin {
    std::int32_t outputLine = 0;  // from 1
    std::u16string piece;         // what the statement wrote on that output line
    std::int64_t step = 0;        // the statement's step: a debugger pauses just before it
    std::int32_t line = 0;        // its editor line
    std::u16string statement;     // that line as typed, trimmed
    std::vector<VariableValue> values;        // the variables the line names (as typed), after it ran
    std::vector<LastAssignment> assignments;  // for each of them, the last change before the statement
};

// "第3行输出 «7» 由程序第12行的 Print s 产生，当时 s = 7；s 最后一次在第10行被赋值（i = 3）"
[[nodiscard]] std::u16string originText(const OutputOrigin& origin);

// What the second run of a failing case found.
struct CaseReplay {
    std::u16string output;  // the output as it was compared
    std::optional<OutputOrigin> origin;  // none when the output has no such line
    // Without the text INPUT lines printed (their prompts, or prompts and
    // echoed answers) the output would be right up to the differing line.
    bool promptOrEcho = false;
};

// A test case run again as runCase ran it, `difference` being its first
// differing line.
[[nodiscard]] CaseReplay replayCase(std::u16string_view editorText, const TestCase& testCase,
                                    const OutputDifference& difference, std::int64_t maxStatements,
                                    std::size_t maxOutput = kCaseOutputLimit);

// A judge case run again as judgeCase ran it (the judged output only).
[[nodiscard]] CaseReplay replayJudgedCase(std::u16string_view editorText, const JudgeCase& judgeCase,
                                          const OutputDifference& difference, std::int64_t maxStatements);

}  // namespace tarnik
