#include "services/Judging.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "expr/NumberText.h"
#include "expr/TextHelpers.h"
#include "interp/ProgramRun.h"
#include "interp/clsCode.h"
#include "services/JudgeConsole.h"
#include "services/SourceText.h"
#include "services/TestCases.h"

namespace tarnik {
namespace {

constexpr std::size_t kOutputLimitFactor = 10;
constexpr std::size_t kOutputLimitMargin = 65536;

std::u16string withoutWhiteSpace(std::u16string_view text)
{
    std::u16string kept;
    std::copy_if(text.begin(), text.end(), std::back_inserter(kept),
                 [](char16_t c) { return c != u' ' && c != u'\t' && c != u'\r' && c != u'\n'; });
    return kept;
}

std::optional<std::u16string> lineAt(const std::vector<std::u16string>& lines, std::size_t index)
{
    if (index < lines.size()) return lines[index];
    return std::nullopt;
}

std::optional<OutputDifference> firstJudgedDifference(const std::vector<std::u16string>& expected,
                                                      const std::vector<std::u16string>& actual)
{
    for (std::size_t i = 0; i < std::max(expected.size(), actual.size()); ++i) {
        OutputDifference difference{static_cast<std::int32_t>(i + 1), lineAt(expected, i), lineAt(actual, i)};
        if (difference.expected != difference.actual) return difference;
    }
    return std::nullopt;
}

std::u16string quoted(const std::optional<std::u16string>& line)
{
    if (!line) return u"（没有这一行）";
    return u"«" + *line + u"»";
}

}  // namespace

std::vector<std::u16string> judgedLines(std::u16string_view text)
{
    std::vector<std::u16string> lines = outputLines(text);
    for (std::u16string& line : lines) line.erase(line.find_last_not_of(u" \t") + 1);
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

namespace {

struct VerdictName {
    Verdict verdict;
    std::u16string_view code;
    std::u16string_view word;
};
constexpr VerdictName kVerdictNames[] = {
    {Verdict::CE, u"CE", u"编译错误"}, {Verdict::TLE, u"TLE", u"超时"}, {Verdict::OLE, u"OLE", u"输出超限"},
    {Verdict::RE, u"RE", u"运行错误"}, {Verdict::AC, u"AC", u"通过"},   {Verdict::PE, u"PE", u"格式错误"},
    {Verdict::WA, u"WA", u"答案错误"},
};

const VerdictName& nameOf(Verdict verdict)
{
    return *std::find_if(std::begin(kVerdictNames), std::end(kVerdictNames),
                         [verdict](const VerdictName& name) { return name.verdict == verdict; });
}

}  // namespace

std::u16string_view verdictCode(Verdict verdict) { return nameOf(verdict).code; }

std::u16string_view verdictWord(Verdict verdict) { return nameOf(verdict).word; }

std::size_t outputLimitFor(std::size_t expectedBytes)
{
    return kOutputLimitFactor * expectedBytes + kOutputLimitMargin;
}

std::optional<RunOutcome> compileError(std::u16string_view editorText)
{
    clsCode code;
    RunOutcome outcome = TranslateProgram(editorText, code);
    if (outcome.error) return outcome;
    return std::nullopt;
}

JudgeResult compileErrorResult(const JudgeCase& judgeCase, const RunOutcome& error)
{
    JudgeResult result;
    result.name = judgeCase.name;
    result.verdict = Verdict::CE;
    result.outcome = error;
    return result;
}

JudgeResult compareOutputs(std::u16string_view expected, std::u16string_view actual)
{
    JudgeResult result;
    const std::vector<std::u16string> expectedLines = judgedLines(expected);
    const std::vector<std::u16string> actualLines = judgedLines(actual);
    std::optional<OutputDifference> difference = firstJudgedDifference(expectedLines, actualLines);
    if (!difference) return result;
    result.verdict = withoutWhiteSpace(expected) == withoutWhiteSpace(actual) ? Verdict::PE : Verdict::WA;
    result.difference = std::move(*difference);
    return result;
}

JudgeResult judgeCase(std::u16string_view editorText, const JudgeCase& judgeCase, std::int64_t maxStatements)
{
    return judgeRun(editorText, judgeCase, maxStatements).result;
}

JudgedRun judgeRun(std::u16string_view editorText, const JudgeCase& judgeCase, std::int64_t maxStatements)
{
    JudgeConsole console(judgeCase.input, maxStatements, outputLimitFor(judgeCase.expectedBytes));
    const RunOutcome outcome = StartRun(editorText, console, RunMode::Free);
    JudgedRun judged{{}, console.output()};
    JudgeResult& result = judged.result;
    if (console.statementLimitReached()) {
        result.verdict = Verdict::TLE;
        result.statementLimit = maxStatements;
    } else if (console.outputLimitReached()) {
        result.verdict = Verdict::OLE;
    } else if (outcome.error) {
        result.verdict = Verdict::RE;
        result.outcome = outcome;
    } else {
        result = compareOutputs(judgeCase.expected, console.output());
    }
    result.name = judgeCase.name;
    return judged;
}

CaseResult shownCaseResult(const JudgeCase& judgeCase, const JudgedRun& judged)
{
    const JudgeResult& judgement = judged.result;
    CaseResult shown;
    shown.name = judgement.name;
    shown.difference = judgement.difference;
    shown.outcome = judgement.outcome;
    switch (judgement.verdict) {
    case Verdict::AC: shown.verdict = CaseVerdict::Passed; break;
    case Verdict::WA:
    case Verdict::PE: shown.verdict = CaseVerdict::OutputDiffers; break;
    case Verdict::CE:
    case Verdict::RE: shown.verdict = CaseVerdict::StoppedOnError; break;
    case Verdict::TLE:
        shown.verdict = CaseVerdict::StatementLimit;
        shown.limit = judgement.statementLimit;
        break;
    case Verdict::OLE:
        shown.verdict = CaseVerdict::OutputLimit;
        shown.limit = static_cast<std::int64_t>(outputLimitFor(judgeCase.expectedBytes));
        break;
    }
    keepExcerpts(shown, judgeCase.expected, judged.output);
    return shown;
}

std::u16string judgeLineText(const JudgeResult& result)
{
    const std::u16string word(verdictWord(result.verdict));
    switch (result.verdict) {
    case Verdict::AC:
    case Verdict::OLE: return word;
    case Verdict::WA:
    case Verdict::PE:
        return word + u" 第" + numberText(result.difference.line) + u"行: 期望 " + quoted(result.difference.expected) +
               u" 实际 " + quoted(result.difference.actual);
    case Verdict::TLE:
        return word + u"（超过 " + numberText(static_cast<double>(result.statementLimit)) + u" 条语句）";
    case Verdict::RE:
    case Verdict::CE: return word + u" " + result.outcome.errorLine();
    }
    return word;
}

}  // namespace tarnik
