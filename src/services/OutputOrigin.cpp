#include "services/OutputOrigin.h"

#include "expr/NumberText.h"
#include "interp/ProgramRun.h"
#include "interp/TraceRecorder.h"
#include "interp/clsCode.h"
#include "services/CaseConsole.h"
#include "services/JudgeConsole.h"
#include "services/OriginTracker.h"

namespace tarnik {
namespace {

// `expectedWithInputText`: the expected output of a console that shows
// what INPUT lines print, to see whether that text is to blame.
template <typename Console>
CaseReplay replay(std::u16string_view editorText, Console& console, const OutputDifference& difference,
                  std::optional<std::u16string_view> expectedWithInputText)
{
    clsCode code;
    OriginTracker tracker(code, editorText, console.output(), difference);
    TraceRecorder recorder(code, console, [&tracker](const RecordedStep& step) { tracker.stepDone(step); });
    if (expectedWithInputText) tracker.keepOutputWithoutInputText(recorder);
    (void)StartRun(code, editorText, recorder, RunMode::Free);
    recorder.finish();
    CaseReplay found{console.output(), tracker.origin(), false};
    if (expectedWithInputText) found.promptOrEcho = tracker.rightWithoutInputText(*expectedWithInputText);
    return found;
}

std::u16string valuesText(const std::vector<VariableValue>& values)
{
    std::u16string text;
    for (const VariableValue& value : values) {
        if (!text.empty()) text += u"，";
        text += value.name + u" = " + numberText(value.value);
    }
    return text;
}

std::u16string assignmentText(const LastAssignment& assignment)
{
    if (assignment.step == 0) return assignment.name + u" 一直是 0，没有被赋过别的值";
    std::u16string text = assignment.name + u" 最后一次在第" + numberText(assignment.line) + u"行被赋值";
    if (!assignment.loopVariables.empty()) {
        text += u"（";
        text += valuesText(assignment.loopVariables) + u"）";
    }
    return text;
}

}  // namespace

std::u16string originText(const OutputOrigin& origin)
{
    std::u16string text(u"第");
    text += numberText(origin.outputLine) + u"行";
    text += origin.piece.empty() ? std::u16string(u"的空行") : u"输出 «" + origin.piece + u"» ";
    text += u"由程序第" + numberText(origin.line) + u"行的 " + origin.statement + u" 产生";
    if (!origin.values.empty()) text += u"，当时 " + valuesText(origin.values);
    for (std::size_t i = 0; i < origin.assignments.size(); ++i) {
        text += i == 0 ? u'；' : u'，';
        text += assignmentText(origin.assignments[i]);
    }
    return text;
}

CaseReplay replayCase(std::u16string_view editorText, const TestCase& testCase, const OutputDifference& difference,
                      std::int64_t maxStatements, std::size_t maxOutput)
{
    CaseConsole console(testCase.answers, maxStatements, maxOutput);
    return replay(editorText, console, difference, testCase.expected);
}

CaseReplay replayJudgedCase(std::u16string_view editorText, const JudgeCase& judgeCase,
                            const OutputDifference& difference, std::int64_t maxStatements)
{
    JudgeConsole console(judgeCase.input, maxStatements, outputLimitFor(judgeCase.expectedBytes));
    return replay(editorText, console, difference, std::nullopt);
}

}  // namespace tarnik
