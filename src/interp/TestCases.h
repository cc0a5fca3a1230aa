#pragma once
// Test cases of a program, as practice problems give them: the answers to
// type (one a line) and the console output expected for them. Each case runs
// in a fresh run, bounded in statements and output, and its result names the
// first line that differs or the error the run stopped on. A folder of cases
// holds NAME.out (the expected output) with an optional NAME.in (the answers).
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "interp/RunController.h"

namespace tarnik {

struct TestCase {
    std::u16string name;
    std::u16string answers;   // one a line, any line ends
    std::u16string expected;  // the console output, any line ends
};

// A run stops after this many statements (an endless loop fails its case)
// or this many characters of output.
inline constexpr std::int64_t kCaseStatementLimit = 10'000'000;
inline constexpr std::size_t kCaseOutputLimit = 1 << 20;

// Stopped: the user stopped the run before it ended.
enum class CaseVerdict { Passed, OutputDiffers, StoppedOnError, StatementLimit, OutputLimit, Stopped };

// The first differing line of two outputs, counted from 1; a line one side
// does not have is nothing on that side.
struct OutputDifference {
    std::int32_t line = 0;
    std::optional<std::u16string> expected;
    std::optional<std::u16string> actual;
};

struct CaseResult {
    std::u16string name;
    CaseVerdict verdict = CaseVerdict::Passed;
    OutputDifference difference;  // for OutputDiffers
    RunOutcome outcome;           // for StoppedOnError
    std::int64_t limit = 0;       // for StatementLimit and OutputLimit: the limit passed
    std::u16string output;        // what the console showed, line ends LF
};

// Outputs compared line by line after every line end became one; nothing
// when they are equal.
[[nodiscard]] std::optional<OutputDifference> firstDifference(std::u16string_view expected,
                                                              std::u16string_view actual);

// Runs `editorText` as the Start command would, for one case. `keepGoing`,
// when given, is asked now and then while the case runs; false stops it.
[[nodiscard]] CaseResult runCase(std::u16string_view editorText, const TestCase& testCase,
                                 std::int64_t maxStatements = kCaseStatementLimit,
                                 std::size_t maxOutput = kCaseOutputLimit,
                                 const std::function<bool()>& keepGoing = {});

// The cases of a folder in name order: every NAME.out, with NAME.in when
// there is one (UTF-8 or GBK, like program files). Nothing when the folder
// cannot be read.
[[nodiscard]] std::optional<std::vector<TestCase>> readCaseFolder(const std::filesystem::path& folder);

// "通过", "未通过 第K行: 期望 «…» 实际 «…»", "未通过 错误 N: DESCRIPTION(第L行)"
// or the limit that stopped the run: the result as one line, without the name.
[[nodiscard]] std::u16string verdictText(const CaseResult& result);

// "共 N 个: 通过 P 个, 未通过 F 个"
[[nodiscard]] std::u16string summaryText(const std::vector<CaseResult>& results);

}  // namespace tarnik
