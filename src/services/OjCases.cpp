#include "services/OjCases.h"

#include <algorithm>
#include <map>

#include "expr/NumberText.h"
#include "services/CaseArchive.h"
#include "services/FpsProblems.h"
#include "services/RegularFile.h"
#include "services/SourceText.h"

namespace tarnik {
namespace {

using CaseList = std::variant<std::vector<JudgeCase>, std::u16string>;

std::u16string pathText(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return fromUtf8(std::string(text.begin(), text.end()));
}

std::u16string lowerExtension(std::u16string_view name)
{
    const std::size_t dot = name.rfind(u'.');
    if (dot == std::u16string_view::npos) return {};
    std::u16string extension(name.substr(dot));
    for (char16_t& c : extension) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return extension;
}

bool isCaseFileName(std::u16string_view name)
{
    const std::u16string extension = lowerExtension(name);
    return extension == u".in" || extension == u".out" || extension == u".ans";
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// The three files a case may have, by extension, as bytes.
struct CaseParts {
    std::optional<std::string> input;
    std::optional<std::string> out;
    std::optional<std::string> ans;
};

JudgeCase caseFrom(std::u16string name, const CaseParts& parts)
{
    const std::string& expected = parts.out ? *parts.out : *parts.ans;
    return {std::move(name), parts.input ? decodeSource(*parts.input).text : std::u16string(),
            decodeSource(expected).text, expected.size()};
}

// Pairs the files by name; cases in natural order, those without an expected file dropped.
std::vector<JudgeCase> pairCases(const std::vector<std::pair<std::u16string, std::string>>& files)
{
    std::map<std::u16string, CaseParts> byName;
    for (const auto& [name, bytes] : files) {
        const std::u16string extension = lowerExtension(name);
        CaseParts& parts = byName[name.substr(0, name.size() - extension.size())];
        if (extension == u".in") parts.input = bytes;
        else if (extension == u".out") parts.out = bytes;
        else parts.ans = bytes;
    }
    std::vector<JudgeCase> cases;
    for (const auto& [name, parts] : byName) {
        if (parts.out || parts.ans) cases.push_back(caseFrom(name, parts));
    }
    std::stable_sort(cases.begin(), cases.end(),
                     [](const JudgeCase& a, const JudgeCase& b) { return naturalLess(a.name, b.name); });
    return cases;
}

CaseList noCases(const std::filesystem::path& source)
{
    return pathText(source) + u" 中没有测试用例（NAME.out 或 NAME.ans 文件），没有评测任何程序。";
}

std::u16string unusableText(const std::filesystem::path& file, std::u16string_view reason)
{
    return u"无法使用测试用例 " + pathText(file) + u"：" + std::u16string(reason) + u"。";
}

CaseList unusable(const std::filesystem::path& file, std::u16string_view reason)
{
    return unusableText(file, reason);
}

CaseList casesOf(const std::filesystem::path& source, std::vector<std::pair<std::u16string, std::string>> files)
{
    std::vector<JudgeCase> cases = pairCases(files);
    if (cases.empty()) return noCases(source);
    return cases;
}

CaseList readFolder(const std::filesystem::path& folder)
{
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error) return u"无法读取测试用例文件夹 " + pathText(folder) + u"，没有评测任何程序。";
    std::vector<std::pair<std::u16string, std::string>> files;
    for (; entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::u16string name = pathText(entries->path().filename());
        if (!isCaseFileName(name)) continue;
        FileBytes file = readRegularFile(entries->path(), kOjCaseFileBytes, Links::Refuse);
        if (file.refusal == FileRefusal::Folder) continue;
        if (!file.read()) return unusable(entries->path(), refusalReason(file));
        if (file.cut) return unusable(entries->path(), u"文件太大");
        files.emplace_back(name, std::move(file.bytes));
    }
    if (error) return u"无法读取测试用例文件夹 " + pathText(folder) + u"，没有评测任何程序。";
    return casesOf(folder, std::move(files));
}

CaseList readZip(const std::filesystem::path& zip, const std::string& bytes)
{
    ArchiveContents contents = readArchive(bytes, kOjCaseFileBytes, isCaseFileName);
    if (contents.problem) return unusable(zip, *contents.problem);
    std::vector<std::pair<std::u16string, std::string>> files;
    for (ArchiveFile& file : contents.files) files.emplace_back(std::move(file.name), std::move(file.bytes));
    return casesOf(zip, std::move(files));
}

JudgeCase fpsCase(std::u16string name, const FpsCase& pair)
{
    const std::size_t bytes = toUtf8(pair.output).size();
    return {std::move(name), pair.input, pair.output, bytes};
}

CaseList readFps(const std::filesystem::path& xml, const std::string& bytes, int item)
{
    const FpsFile file = readFpsProblems(bytes);
    if (file.problem) return unusable(xml, *file.problem);
    if (item < 1 || static_cast<std::size_t>(item) > file.problems.size()) {
        return unusable(xml, u"没有第 " + numberText(item) + u" 个题目（共 " +
                                 numberText(static_cast<double>(file.problems.size())) + u" 个）");
    }
    std::vector<JudgeCase> cases = fpsProblemCases(file.problems[static_cast<std::size_t>(item) - 1]);
    if (cases.empty()) return noCases(xml);
    return cases;
}

}  // namespace

std::vector<JudgeCase> fpsProblemCases(const FpsProblem& problem)
{
    std::vector<JudgeCase> cases;
    for (std::size_t i = 0; i < problem.samples.size(); ++i) {
        cases.push_back(fpsCase(u"样例" + numberText(static_cast<double>(i + 1)), problem.samples[i]));
    }
    for (std::size_t i = 0; i < problem.tests.size(); ++i) {
        cases.push_back(fpsCase(numberText(static_cast<double>(i + 1)), problem.tests[i]));
    }
    return cases;
}

FpsFile readFpsFile(const std::filesystem::path& xml)
{
    FileBytes file = readRegularFile(xml, kOjSourceFileBytes, Links::Follow);
    std::optional<std::u16string> refused;
    if (!file.read()) refused = refusalReason(file);
    else if (file.cut) refused = u"文件太大";
    if (refused) return {{}, unusableText(xml, *refused)};
    FpsFile read = readFpsProblems(file.bytes);
    if (read.problem) read.problem = unusableText(xml, *read.problem);
    return read;
}

bool naturalLess(std::u16string_view a, std::u16string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::size_t endA = std::find_if_not(a.begin() + i, a.end(), isDigit) - a.begin();
            const std::size_t endB = std::find_if_not(b.begin() + j, b.end(), isDigit) - b.begin();
            std::u16string_view runA = a.substr(i, endA - i);
            std::u16string_view runB = b.substr(j, endB - j);
            runA.remove_prefix(std::min(runA.find_first_not_of(u'0'), runA.size()));
            runB.remove_prefix(std::min(runB.find_first_not_of(u'0'), runB.size()));
            if (runA.size() != runB.size()) return runA.size() < runB.size();
            if (runA != runB) return runA < runB;
            i = endA;
            j = endB;
        } else {
            if (a[i] != b[j]) return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    if ((a.size() - i) != (b.size() - j)) return a.size() - i < b.size() - j;
    return a < b;
}

bool holdsAnsFile(const std::filesystem::path& folder)
{
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        if (lowerExtension(pathText(entries->path().filename())) == u".ans") return true;
    }
    return false;
}

bool isFpsFile(const std::filesystem::path& source)
{
    return lowerExtension(pathText(source.filename())) == u".xml";
}

CaseList readOjCases(const std::filesystem::path& source, int item)
{
    const FileBytes kind = checkRegularFile(source, Links::Follow);
    if (kind.refusal == FileRefusal::Folder) return readFolder(source);
    FileBytes file = readRegularFile(source, kOjSourceFileBytes, Links::Follow);
    if (!file.read()) return unusable(source, refusalReason(file));
    if (file.cut) return unusable(source, u"文件太大");
    if (isFpsFile(source)) return readFps(source, file.bytes, item);
    return readZip(source, file.bytes);
}

}  // namespace tarnik
