#include "services/FailureExplanation.h"

namespace tarnik {
namespace {

std::size_t lineIndex(const OutputDifference& difference)
{
    return static_cast<std::size_t>(difference.line - 1);
}

}  // namespace

std::u16string FailureExplanation::text() const
{
    std::u16string sentence = difference.text + u"。";
    if (origin) sentence += originText(*origin) + u"。";
    return sentence;
}

FailureExplanation explainFailure(std::u16string_view editorText, const TestCase& testCase, const CaseResult& result,
                                  std::int64_t maxStatements, std::size_t maxOutput)
{
    const CaseReplay replay = replayCase(editorText, testCase, result.difference, maxStatements, maxOutput);
    FailureExplanation explanation{promptOrEchoDifference(), replay.origin};
    if (!replay.promptOrEcho) {
        // A longer expected output was read only as far as a case can print.
        const bool expectedWhole = testCase.expected.size() <= maxOutput;
        explanation.difference = describeDifference(outputLines(testCase.expected), outputLines(replay.output),
                                                    lineIndex(result.difference), expectedWhole);
    }
    return explanation;
}

FailureExplanation explainFailure(std::u16string_view editorText, const JudgeCase& judgeCase,
                                  const JudgeResult& result, std::int64_t maxStatements)
{
    const CaseReplay replay = replayJudgedCase(editorText, judgeCase, result.difference, maxStatements);
    return {describeDifference(judgedLines(judgeCase.expected), judgedLines(replay.output), lineIndex(result.difference)),
            replay.origin};
}

}  // namespace tarnik
