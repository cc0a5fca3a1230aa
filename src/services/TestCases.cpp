#include "services/TestCases.h"

#include <algorithm>

#include "expr/NumberText.h"
#include "expr/TextHelpers.h"
#include "services/CaseConsole.h"
#include "services/RegularFile.h"
#include "services/SourceText.h"

namespace tarnik {
namespace {

// Lines shown before the first differing line, so that it is seen in context.
constexpr std::size_t kContextLines = 10;
// The expected output kept beyond the longest output a case may print: the
// comparison with that output then never reaches the end of what was kept.
constexpr std::size_t kJudgedMargin = 64;

std::optional<std::u16string> lineAt(const std::vector<std::u16string>& lines, std::size_t index)
{
    if (index < lines.size()) return lines[index];
    return std::nullopt;
}

// A line cut at `length` characters, never inside a surrogate pair, "…" marking the cut.
std::u16string cutLine(std::u16string_view line, std::size_t length)
{
    if (line.size() <= length) return std::u16string(line);
    std::size_t cut = length;
    if (cut > 0 && line[cut - 1] >= 0xD800 && line[cut - 1] <= 0xDBFF) --cut;
    return std::u16string(line.substr(0, cut)) + u"…";
}

OutputExcerpt excerptOf(std::u16string_view text, std::size_t firstLine)
{
    const std::u16string crLf = withCrLfLineEnds(text);
    const std::vector<std::u16string_view> lines = splitLines(crLf);
    OutputExcerpt excerpt;
    excerpt.firstLine = static_cast<std::int32_t>(firstLine);
    const std::size_t end = std::min(lines.size(), firstLine - 1 + kExcerptLines);
    for (std::size_t i = firstLine - 1; i < end; ++i) {
        if (i >= firstLine) excerpt.text += u'\n';
        excerpt.text += cutLine(lines[i], kExcerptLineLength);
    }
    excerpt.cutAfter = lines.size() > end;
    return excerpt;
}

// Where the excerpts of a result begin, counted from 1.
std::size_t firstShownLine(const CaseResult& result, std::u16string_view output)
{
    if (result.verdict == CaseVerdict::OutputDiffers) {
        const auto differing = static_cast<std::size_t>(result.difference.line);
        return differing > kContextLines ? differing - kContextLines : 1;
    }
    if (result.verdict != CaseVerdict::StoppedOnError) return 1;
    const auto lines = static_cast<std::size_t>(std::count(output.begin(), output.end(), u'\n')) + 1;
    return lines > kExcerptLines ? lines - kExcerptLines + 1 : 1;
}

std::u16string quoted(const std::optional<std::u16string>& line, std::size_t length)
{
    if (!line) return u"（没有这一行）";
    std::u16string text = u"«";
    text += cutLine(*line, length);
    text += u'»';
    return text;
}

CaseFileProblem problemWith(const std::filesystem::path& file, const FileBytes& refused)
{
    return {file, refusalReason(refused)};
}

// A cut in the middle of a UTF-8 sequence would make the rest read as GBK.
void dropBrokenUtf8Tail(std::string& bytes)
{
    std::size_t lead = bytes.size();
    while (lead > 0 && bytes.size() - lead < 3 && (static_cast<unsigned char>(bytes[lead - 1]) & 0xC0) == 0x80) --lead;
    if (lead == 0) return;
    const auto first = static_cast<unsigned char>(bytes[lead - 1]);
    const std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
    if (bytes.size() - (lead - 1) < length) bytes.resize(lead - 1);
}

// The part of an expected output that judging an output of at most
// kCaseOutputLimit characters can reach: beyond it, the two differ anyway
// (the line they differ on may show cut).
std::u16string judgedPart(FileBytes& expected)
{
    if (expected.cut) dropBrokenUtf8Tail(expected.bytes);
    std::u16string text = decodeSource(expected.bytes).text;
    if (text.size() > kCaseOutputLimit + kJudgedMargin) text.resize(kCaseOutputLimit + kJudgedMargin);
    return text;
}

std::u16string pathText(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return fromUtf8(std::string(text.begin(), text.end()));
}

bool isFolder(const std::filesystem::directory_entry& entry)
{
    std::error_code error;
    return entry.symlink_status(error).type() == std::filesystem::file_type::directory;
}

}  // namespace

std::vector<std::u16string> outputLines(std::u16string_view text)
{
    const std::u16string crLf = withCrLfLineEnds(text);
    std::vector<std::u16string> lines;
    for (std::u16string_view line : splitLines(crLf)) lines.emplace_back(line);
    return lines;
}

std::optional<OutputDifference> firstDifference(std::u16string_view expected, std::u16string_view actual)
{
    const std::vector<std::u16string> expectedLines = outputLines(expected);
    const std::vector<std::u16string> actualLines = outputLines(actual);
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
    CaseConsole console(testCase.answers, maxStatements, maxOutput);
    console.setKeepGoing(keepGoing);
    CaseResult result;
    result.name = testCase.name;
    result.outcome = StartRun(editorText, console, RunMode::Free);
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
    keepExcerpts(result, testCase.expected, console.output());
    return result;
}

void keepExcerpts(CaseResult& result, std::u16string_view expected, std::u16string_view actual)
{
    const std::size_t firstLine = firstShownLine(result, actual);
    result.expected = excerptOf(expected, firstLine);
    result.actual = excerptOf(actual, firstLine);
}

CaseFolder readCaseFolder(const std::filesystem::path& folder)
{
    CaseFolder found;
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error) return found;
    std::vector<std::filesystem::path> expectedFiles;
    // Stepped with an error code: a folder that fails half-way is unreadable, not a crash.
    for (; entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        if (entries->path().extension() == ".out" && !isFolder(*entries)) expectedFiles.push_back(entries->path());
    }
    if (error) return found;
    found.listed = true;
    std::sort(expectedFiles.begin(), expectedFiles.end());

    for (const std::filesystem::path& expectedFile : expectedFiles) {
        CaseFiles files{pathText(expectedFile.stem()), expectedFile, std::nullopt};
        const std::filesystem::path answerFile = std::filesystem::path(expectedFile).replace_extension(".in");
        const FileBytes expected = checkRegularFile(expectedFile, Links::Refuse);
        const FileBytes answers = checkRegularFile(answerFile, Links::Refuse);
        if (!expected.read()) {
            found.problem = problemWith(expectedFile, expected);
        } else if (!answers.read() && answers.refusal != FileRefusal::Missing) {
            found.problem = problemWith(answerFile, answers);
        }
        if (found.problem) {
            found.cases.clear();
            return found;
        }
        if (answers.read()) files.answers = answerFile;
        found.cases.push_back(std::move(files));
    }
    return found;
}

std::u16string CaseFileProblem::text() const
{
    return u"无法使用测试用例文件 " + pathText(file) + u"：" + reason + u"。";
}

std::variant<TestCase, CaseFileProblem> readCase(const CaseFiles& files)
{
    TestCase testCase{files.name, {}, {}};
    FileBytes expected = readRegularFile(files.expected, kExpectedFileBytes, Links::Refuse);
    if (!expected.read()) return problemWith(files.expected, expected);
    testCase.expected = judgedPart(expected);
    if (!files.answers) return testCase;
    const FileBytes answers = readRegularFile(*files.answers, kAnswerFileBytes, Links::Refuse);
    if (!answers.read()) return problemWith(*files.answers, answers);
    if (answers.cut) {
        return CaseFileProblem{*files.answers, u"文件超过 " + numberText(static_cast<double>(kAnswerFileBytes >> 20)) +
                                                   u" MB，不像是 INPUT 的答案（每行一个）"};
    }
    testCase.answers = decodeSource(answers.bytes).text;
    return testCase;
}

std::u16string verdictText(const CaseResult& result, std::size_t lineLength)
{
    switch (result.verdict) {
    case CaseVerdict::Passed: return u"通过";
    case CaseVerdict::OutputDiffers:
        return u"未通过 第" + numberText(result.difference.line) + u"行: 期望 " +
               quoted(result.difference.expected, lineLength) + u" 实际 " + quoted(result.difference.actual, lineLength);
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

std::u16string summaryText(std::size_t cases, std::size_t passed)
{
    return u"共 " + numberText(static_cast<double>(cases)) + u" 个: 通过 " + numberText(static_cast<double>(passed)) +
           u" 个, 未通过 " + numberText(static_cast<double>(cases - passed)) + u" 个";
}

}  // namespace tarnik
