#pragma once
// Test cases of a program, as practice problems give them: the answers to
// type (one a line) and the console output expected for them. Each case runs
// in a fresh run, bounded in statements and output, and its result names the
// first line that differs or the error the run stopped on. A folder of cases
// holds NAME.out (the expected output) with an optional NAME.in (the answers);
// its files are read one case at a time, only if they are regular files and
// only as far as judging needs.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "interp/ProgramRun.h"

namespace tarnik {

// The lines of an output, whatever its line ends.
[[nodiscard]] std::vector<std::u16string> outputLines(std::u16string_view text);

struct TestCase {
    std::u16string name;
    std::u16string answers;   // one a line, any line ends
    std::u16string expected;  // the console output, any line ends
};

// A run stops after this many statements (an endless loop fails its case)
// or this many characters of output.
inline constexpr std::int64_t kCaseStatementLimit = 10'000'000;
inline constexpr std::size_t kCaseOutputLimit = 1 << 20;

// Answers are typed numbers; a NAME.in past this is no answer file.
inline constexpr std::size_t kAnswerFileBytes = 4 << 20;
// An output of kCaseOutputLimit characters is judged with this much of
// NAME.out: a character takes at most three bytes in any encoding we read.
inline constexpr std::size_t kExpectedFileBytes = 3 * kCaseOutputLimit + (64 << 10);

// What the results window shows of an output: at most kExcerptLines lines,
// each cut at kExcerptLineLength characters (a cut line ends in "…").
inline constexpr std::size_t kExcerptLines = 40;
inline constexpr std::size_t kExcerptLineLength = 256;

// Stopped: the user stopped the run before it ended.
enum class CaseVerdict { Passed, OutputDiffers, StoppedOnError, StatementLimit, OutputLimit, Stopped };

// The first differing line of two outputs, counted from 1; a line one side
// does not have is nothing on that side.
struct OutputDifference {
    std::int32_t line = 0;
    std::optional<std::u16string> expected;
    std::optional<std::u16string> actual;
};

// A stretch of an output kept to be shown: its lines from `firstLine`
// (counted from 1), LF between them.
struct OutputExcerpt {
    std::int32_t firstLine = 1;
    std::u16string text;
    bool cutAfter = false;  // the output goes on past `text`
};

struct CaseResult {
    std::u16string name;
    CaseVerdict verdict = CaseVerdict::Passed;
    OutputDifference difference;  // for OutputDiffers
    RunOutcome outcome;           // for StoppedOnError
    std::int64_t limit = 0;       // for StatementLimit and OutputLimit: the limit passed
    // The same lines of both outputs: around the first difference, before
    // the error a run stopped on, or else from the start.
    OutputExcerpt expected;
    OutputExcerpt actual;
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

// The excerpts of both outputs that a result shows, chosen by its verdict.
void keepExcerpts(CaseResult& result, std::u16string_view expected, std::u16string_view actual);

// A case as its folder holds it: the files to read when it runs.
struct CaseFiles {
    std::u16string name;
    std::filesystem::path expected;                // NAME.out
    std::optional<std::filesystem::path> answers;  // NAME.in, when there is one
};

// A case file that cannot be used, and why, in the user's words.
struct CaseFileProblem {
    std::filesystem::path file;
    std::u16string reason;

    // "无法使用测试用例文件 FILE：REASON。"
    [[nodiscard]] std::u16string text() const;
};

struct CaseFolder {
    bool listed = false;                     // false: the folder cannot be read
    std::vector<CaseFiles> cases;            // in name order
    std::optional<CaseFileProblem> problem;  // a case file that is no regular file; then no cases
};

// Every NAME.out of the folder, with NAME.in when there is one. A folder
// named NAME.out is no case; any other NAME.out or NAME.in that is not a
// regular file (a link, a FIFO, a device, a folder NAME.in) is a problem.
[[nodiscard]] CaseFolder readCaseFolder(const std::filesystem::path& folder);

// The case's files read and decoded like program files (UTF-8 or GBK):
// NAME.in up to kAnswerFileBytes, NAME.out as far as judging needs. A file
// that cannot be read, or a NAME.in past the limit, is a problem.
[[nodiscard]] std::variant<TestCase, CaseFileProblem> readCase(const CaseFiles& files);

// "通过", "未通过 第K行: 期望 «…» 实际 «…»", "未通过 错误 N: DESCRIPTION(第L行)"
// or the limit that stopped the run: the result as one line, without the
// name. The quoted lines are cut at `lineLength` characters, as excerpts are.
[[nodiscard]] std::u16string verdictText(const CaseResult& result, std::size_t lineLength = std::u16string::npos);

// "共 N 个: 通过 P 个, 未通过 F 个"
[[nodiscard]] std::u16string summaryText(std::size_t cases, std::size_t passed);

}  // namespace tarnik
