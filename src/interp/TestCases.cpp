#include "interp/TestCases.h"

#include <algorithm>
#include <deque>
#include <fstream>
#include <iterator>

#include "expr/NumberText.h"
#include "expr/TextHelpers.h"
#include "interp/CaseConsole.h"
#include "interp/SourceText.h"

namespace tarnik {
namespace {

std::vector<std::u16string> linesOf(std::u16string_view text)
{
    const std::u16string crLf = withCrLfLineEnds(text);
    std::vector<std::u16string> lines;
    for (std::u16string_view line : splitLines(crLf)) lines.emplace_back(line);
    return lines;
}

std::optional<std::u16string> lineAt(const std::vector<std::u16string>& lines, std::size_t index)
{
    if (index < lines.size()) return lines[index];
    return std::nullopt;
}

std::u16string withLfLineEnds(std::u16string_view text)
{
    std::u16string lf;
    const std::vector<std::u16string> lines = linesOf(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) lf += u'\n';
        lf += lines[i];
    }
    return lf;
}

std::optional<std::string> readBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) return std::nullopt;
    return bytes;
}

std::optional<std::u16string> readText(const std::filesystem::path& path)
{
    std::optional<std::string> bytes = readBytes(path);
    if (!bytes) return std::nullopt;
    return decodeSource(*bytes).text;
}

std::u16string quoted(const std::optional<std::u16string>& line)
{
    if (!line) return u"（没有这一行）";
    return u"«" + *line + u"»";
}

}  // namespace

std::optional<OutputDifference> firstDifference(std::u16string_view expected, std::u16string_view actual)
{
    const std::vector<std::u16string> expectedLines = linesOf(expected);
    const std::vector<std::u16string> actualLines = linesOf(actual);
    const std::size_t count = std::max(expectedLines.size(), actualLines.size());
    for (std::size_t i = 0; i < count; ++i) {
        OutputDifference difference{static_cast<std::int32_t>(i + 1), lineAt(expectedLines, i), lineAt(actualLines, i)};
        if (difference.expected != difference.actual) return difference;
    }
    return std::nullopt;
}

CaseResult runCase(std::u16string_view editorText, const TestCase& testCase, std::int64_t maxStatements,
                   std::size_t maxOutput, const std::function<bool()>& keepGoing)
{
    const std::vector<std::u16string> answerLines = linesOf(testCase.answers);
    CaseConsole console(std::deque<std::u16string>(answerLines.begin(), answerLines.end()), maxStatements, maxOutput);
    console.setKeepGoing(keepGoing);
    CaseResult result;
    result.name = testCase.name;
    result.outcome = StartRun(editorText, console, RunMode::Free);
    result.output = withLfLineEnds(console.output());
    if (console.stopped()) {
        result.verdict = CaseVerdict::Stopped;
    } else if (console.statementLimitReached()) {
        result.verdict = CaseVerdict::StatementLimit;
        result.limit = maxStatements;
    } else if (console.outputLimitReached()) {
        result.verdict = CaseVerdict::OutputLimit;
        result.limit = static_cast<std::int64_t>(maxOutput);
    } else if (result.outcome.error) {
        result.verdict = CaseVerdict::StoppedOnError;
    } else if (std::optional<OutputDifference> difference = firstDifference(testCase.expected, console.output())) {
        result.verdict = CaseVerdict::OutputDiffers;
        result.difference = std::move(*difference);
    }
    return result;
}

std::optional<std::vector<TestCase>> readCaseFolder(const std::filesystem::path& folder)
{
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error) return std::nullopt;
    std::vector<std::filesystem::path> expectedFiles;
    for (const std::filesystem::directory_entry& entry : entries) {
        if (entry.path().extension() == ".out" && entry.is_regular_file(error)) expectedFiles.push_back(entry.path());
    }
    std::sort(expectedFiles.begin(), expectedFiles.end());

    std::vector<TestCase> cases;
    for (const std::filesystem::path& expectedFile : expectedFiles) {
        TestCase testCase;
        const std::u8string stem = expectedFile.stem().u8string();
        testCase.name = fromUtf8(std::string(stem.begin(), stem.end()));
        std::optional<std::u16string> expected = readText(expectedFile);
        if (!expected) return std::nullopt;
        testCase.expected = std::move(*expected);
        const std::filesystem::path answerFile = std::filesystem::path(expectedFile).replace_extension(".in");
        if (std::filesystem::exists(answerFile, error)) {
            std::optional<std::u16string> answers = readText(answerFile);
            if (!answers) return std::nullopt;
            testCase.answers = std::move(*answers);
        }
        cases.push_back(std::move(testCase));
    }
    return cases;
}

std::u16string verdictText(const CaseResult& result)
{
    switch (result.verdict) {
    case CaseVerdict::Passed: return u"通过";
    case CaseVerdict::OutputDiffers:
        return u"未通过 第" + numberText(result.difference.line) + u"行: 期望 " + quoted(result.difference.expected) +
               u" 实际 " + quoted(result.difference.actual);
    case CaseVerdict::StoppedOnError: return u"未通过 " + result.outcome.errorLine();
    case CaseVerdict::StatementLimit:
        return u"未通过 运行了 " + numberText(static_cast<double>(result.limit)) +
               u" 条语句还没有结束，已停止（是不是死循环？）";
    case CaseVerdict::OutputLimit:
        return u"未通过 输出超过 " + numberText(static_cast<double>(result.limit)) + u" 个字符，已停止";
    case CaseVerdict::Stopped: return u"未完成 运行被停止";
    }
    return {};
}

std::u16string summaryText(const std::vector<CaseResult>& results)
{
    const auto passed = std::count_if(results.begin(), results.end(),
                                      [](const CaseResult& r) { return r.verdict == CaseVerdict::Passed; });
    const auto total = static_cast<double>(results.size());
    return u"共 " + numberText(total) + u" 个: 通过 " + numberText(static_cast<double>(passed)) + u" 个, 未通过 " +
           numberText(total - static_cast<double>(passed)) + u" 个";
}

}  // namespace tarnik
