#include "services/FailureExplanation.h"

#include "services/JudgeConsole.h"
#include "services/help/LoopDiagnosis.h"

namespace tarnik {
namespace {

std::size_t lineIndex(const OutputDifference& difference)
{
    return static_cast<std::size_t>(difference.line - 1);
}

CaseFailureNote noteOf(const FailureExplanation& explanation)
{
    CaseFailureNote note{explanation.text(), std::nullopt};
    if (explanation.origin) note.pauseAfter = explanation.origin->step - 1;
    return note;
}

CaseFailureNote endlessNote(std::u16string_view editorText, const std::vector<std::u16string>& answers,
                            std::int64_t steps)
{
    CaseFailureNote note;
    for (const std::u16string& sentence : loopDiagnosis(editorText, answers, steps)) note.text += sentence;
    return note;
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

CaseFailureNote caseFailureNote(std::u16string_view editorText, const TestCase& testCase, const CaseResult& result,
                                std::int64_t maxStatements)
{
    if (result.verdict == CaseVerdict::OutputDiffers) {
        return noteOf(explainFailure(editorText, testCase, result, maxStatements));
    }
    if (result.verdict == CaseVerdict::StatementLimit) return endlessNote(editorText, caseAnswers(testCase), result.limit);
    return {};
}

CaseFailureNote caseFailureNote(std::u16string_view editorText, const JudgeCase& judgeCase, const JudgeResult& result,
                                std::int64_t maxStatements)
{
    if (result.verdict == Verdict::WA || result.verdict == Verdict::PE) {
        return noteOf(explainFailure(editorText, judgeCase, result, maxStatements));
    }
    if (result.verdict == Verdict::TLE) return endlessNote(editorText, caseAnswers(judgeCase), result.statementLimit);
    return {};
}

std::vector<std::u16string> caseAnswers(const TestCase& testCase)
{
    std::vector<std::u16string> answers = outputLines(testCase.answers);
    if (!answers.empty() && answers.back().empty()) answers.pop_back();
    return answers;
}

std::vector<std::u16string> caseAnswers(const JudgeCase& judgeCase)
{
    std::vector<std::u16string> words;
    std::u16string_view input = judgeCase.input;
    while (std::optional<std::u16string> word = takeInputWord(input)) words.push_back(std::move(*word));
    return words;
}

}  // namespace tarnik
