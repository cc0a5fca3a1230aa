#pragma once
// A failed case explained in one sentence: the kind of difference, then
// where the first wrong output line came from. Worked out only for a case
// whose output differs, by running it once more with the record on.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "services/DifferenceKind.h"
#include "services/Judging.h"
#include "services/OutputOrigin.h"
#include "services/TestCases.h"

namespace tarnik {

struct FailureExplanation {
    DifferenceDescription difference;
    std::optional<OutputOrigin> origin;

    // "内容不同。第3行输出 «7» 由程序第12行的 Print s 产生，当时 s = 7。"
    [[nodiscard]] std::u16string text() const;
};

// For a result of runCase that is OutputDiffers, with the limits it ran under.
[[nodiscard]] FailureExplanation explainFailure(std::u16string_view editorText, const TestCase& testCase,
                                                const CaseResult& result, std::int64_t maxStatements,
                                                std::size_t maxOutput = kCaseOutputLimit);

// For a result of judgeCase that is WA or PE.
[[nodiscard]] FailureExplanation explainFailure(std::u16string_view editorText, const JudgeCase& judgeCase,
                                                const JudgeResult& result, std::int64_t maxStatements);

// The sentence a failed case's verdict ends with: for a wrong output, its
// explainFailure; for a run stopped at the statement limit, why its loop
// never ends (a replay with the case's answers); nothing for the other
// verdicts. `pauseAfter`: the statements run before the one that wrote the
// first wrong line, where a debugger can pause.
struct CaseFailureNote {
    std::u16string text;
    std::optional<std::int64_t> pauseAfter;
};

[[nodiscard]] CaseFailureNote caseFailureNote(std::u16string_view editorText, const TestCase& testCase,
                                              const CaseResult& result, std::int64_t maxStatements);
[[nodiscard]] CaseFailureNote caseFailureNote(std::u16string_view editorText, const JudgeCase& judgeCase,
                                              const JudgeResult& result, std::int64_t maxStatements);

// The answers a case gives INPUT, one an element: NAME.in's lines, or the
// words of a judge case's input.
[[nodiscard]] std::vector<std::u16string> caseAnswers(const TestCase& testCase);
[[nodiscard]] std::vector<std::u16string> caseAnswers(const JudgeCase& judgeCase);

}  // namespace tarnik
