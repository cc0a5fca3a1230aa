#pragma once
// Judging a program as online judges do: each case's input is a stream of
// words for INPUT, only what PRINT writes is compared with the expected
// output, and the verdict is one of the seven codes teachers know. The
// statement limit stands in for a time limit, so every computer gives the
// same verdict.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interp/RunOutcome.h"
#include "services/TestCases.h"

namespace tarnik {

inline constexpr std::int64_t kJudgeStatementLimit = 10'000'000;

// In order of precedence.
enum class Verdict { CE, TLE, OLE, RE, AC, PE, WA };

struct JudgeCase {
    std::u16string name;
    std::u16string input;     // words for INPUT, any separators
    std::u16string expected;  // what PRINT should write, any line ends
    std::size_t expectedBytes = 0;  // the size of the expected file, for the output limit
};

struct JudgeResult {
    std::u16string name;
    Verdict verdict = Verdict::AC;
    OutputDifference difference;  // WA and PE: the first differing line
    RunOutcome outcome;           // CE and RE: the error
    std::int64_t statementLimit = 0;  // TLE
};

[[nodiscard]] std::u16string_view verdictCode(Verdict verdict);  // "AC"
[[nodiscard]] std::u16string_view verdictWord(Verdict verdict);  // "通过"

// The judged output may pass the expected file's size this much before the
// run is stopped (OLE).
[[nodiscard]] std::size_t outputLimitFor(std::size_t expectedBytes);

// The translation error of the program, if it has one (CE for every case).
[[nodiscard]] std::optional<RunOutcome> compileError(std::u16string_view editorText);

// A result of CE for the case, from the program's translation error.
[[nodiscard]] JudgeResult compileErrorResult(const JudgeCase& judgeCase, const RunOutcome& error);

// Runs a program that translates on one case and judges what it printed.
[[nodiscard]] JudgeResult judgeCase(std::u16string_view editorText, const JudgeCase& judgeCase,
                                    std::int64_t maxStatements = kJudgeStatementLimit);

struct JudgedRun {
    JudgeResult result;
    std::u16string output;  // what PRINT wrote, as far as the run went
};

// judgeCase, keeping the judged output as well.
[[nodiscard]] JudgedRun judgeRun(std::u16string_view editorText, const JudgeCase& judgeCase,
                                 std::int64_t maxStatements = kJudgeStatementLimit);

// A judged case as the test results window shows a case: its verdict in
// the window's terms and the excerpts of the expected and the judged output.
[[nodiscard]] CaseResult shownCaseResult(const JudgeCase& judgeCase, const JudgedRun& judged);

// The lines as AC compares them: blanks and tabs at every line end dropped,
// empty lines at the end dropped.
[[nodiscard]] std::vector<std::u16string> judgedLines(std::u16string_view text);

// The verdict of an output that ran to its end: AC, PE or WA with the
// first differing line (read with line ends and blanks at line ends dropped).
[[nodiscard]] JudgeResult compareOutputs(std::u16string_view expected, std::u16string_view actual);

// The result as one line without the name: "通过", "答案错误 第K行: 期望 «…» 实际 «…»",
// "超时（超过 N 条语句）", "运行错误 错误 N: …(第L行)"…
[[nodiscard]] std::u16string judgeLineText(const JudgeResult& result);

}  // namespace tarnik
