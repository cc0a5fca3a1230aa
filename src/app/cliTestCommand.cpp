// tarnik-cli test: a program checked against a folder of test cases, or
// judged on online-judge cases.
#include <iostream>
#include <variant>

#include "app/cliArguments.h"
#include "app/cliCommands.h"
#include "app/cliJudging.h"
#include "services/FailureExplanation.h"
#include "services/OjCases.h"
#include "services/RegularFile.h"
#include "services/SourceText.h"
#include "services/TestCases.h"

namespace tarnik::cli {
namespace {

CliFailure unusableCaseFile(const CaseFileProblem& problem, std::string_view consequence)
{
    return {toUtf8(problem.text()) + std::string(consequence)};
}

CaseFolder casesOf(const std::string& folder)
{
    CaseFolder found = readCaseFolder(folder);
    if (!found.listed) throw CliFailure{"无法读取测试用例文件夹 " + folder + "，没有运行任何用例。"};
    if (found.problem) throw unusableCaseFile(*found.problem, "没有运行任何用例。");
    if (found.cases.empty()) throw CliFailure{"文件夹 " + folder + " 中没有测试用例（NAME.out 文件），没有运行任何用例。"};
    return found;
}

// Cases kept as online judges keep them are judged: an FPS file or a zip,
// and a folder holding a NAME.ans.
bool judgedAsOnlineJudge(const CommandArguments& words)
{
    if (words.has(kOjOption.name)) return true;
    const std::filesystem::path cases(std::u8string(words.operand(1).begin(), words.operand(1).end()));
    if (checkRegularFile(cases, Links::Follow).read()) return true;
    return holdsAnsFile(cases);
}

// A failed case's line ends with why it failed, after the verdict's own text.
void appendNote(std::u16string& line, const CaseFailureNote& note)
{
    if (note.text.empty()) return;
    line += u' ';
    line += note.text;
}

int judgeCommand(const CommandArguments& words, std::int64_t maxStatements)
{
    const std::u16string source = readSource(words.operand(0));
    const std::vector<JudgeCase> cases = judgeCasesOf(words.operand(1), words);
    const std::optional<RunOutcome> translationError = compileError(source);
    std::size_t passed = 0;
    for (const JudgeCase& judged : cases) {
        const JudgeResult result = translationError ? compileErrorResult(judged, *translationError)
                                                    : judgeCase(source, judged, maxStatements);
        if (result.verdict == Verdict::AC) ++passed;
        std::u16string line = result.name + u": " + judgeLineText(result);
        if (!translationError) appendNote(line, caseFailureNote(source, judged, result, maxStatements));
        if (const int written = writeOutput(toUtf8(line) + "\n")) return written;
    }
    if (const int written = writeOutput(toUtf8(summaryText(cases.size(), passed)) + "\n")) return written;
    return passed == cases.size() ? kExitOk : kExitProgramError;
}

}  // namespace

// Each case is read just before it runs, so that only one is held at a time.
int testCommand(Arguments arguments)
{
    constexpr OptionRule options[] = {kOjOption, kMaxStepsOption, kItemOption};
    constexpr OperandRule operands[] = {kFileOperand, {"DIR", "测试用例文件夹"}};
    const CommandArguments words("test", arguments, options, operands);
    if (judgedAsOnlineJudge(words)) return judgeCommand(words, statementLimit(words).value_or(kJudgeStatementLimit));
    const std::int64_t maxStatements = statementLimit(words).value_or(kCaseStatementLimit);
    const std::u16string source = readSource(words.operand(0));
    const CaseFolder folder = casesOf(words.operand(1));

    std::size_t passed = 0;
    for (const CaseFiles& files : folder.cases) {
        const std::variant<TestCase, CaseFileProblem> read = readCase(files);
        if (const auto* problem = std::get_if<CaseFileProblem>(&read)) {
            throw unusableCaseFile(*problem, "这个用例和后面的用例没有运行。");
        }
        const TestCase& testCase = std::get<TestCase>(read);
        const CaseResult result = runCase(source, testCase, maxStatements);
        if (result.verdict == CaseVerdict::Passed) ++passed;
        std::u16string line = result.name + u": " + verdictText(result);
        appendNote(line, caseFailureNote(source, testCase, result, maxStatements));
        // A line as soon as its case is judged: a long check shows how far it got.
        if (const int written = writeOutput(toUtf8(line) + "\n")) return written;
    }
    if (const int written = writeOutput(toUtf8(summaryText(folder.cases.size(), passed)) + "\n")) return written;
    return passed == folder.cases.size() ? kExitOk : kExitProgramError;
}

}  // namespace tarnik::cli
