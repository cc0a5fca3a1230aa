#include "services/GradeReport.h"

#include <algorithm>
#include <map>

#include "expr/NumberText.h"
#include "services/HtmlText.h"
#include "services/SourceText.h"

namespace tarnik {
namespace {

constexpr std::size_t kShownErrors = 5;
constexpr std::size_t kStudentsPerError = 3;

std::size_t passedCases(const StudentGrade& grade)
{
    return static_cast<std::size_t>(std::count_if(grade.results.begin(), grade.results.end(),
                                                  [](const JudgeResult& r) { return r.verdict == Verdict::AC; }));
}

std::u16string count(std::size_t n)
{
    return numberText(static_cast<double>(n));
}

std::u16string joined(const std::vector<std::u16string>& names, std::u16string_view separator)
{
    std::u16string text;
    for (const std::u16string& name : names) {
        if (!text.empty()) text += separator;
        text += name;
    }
    return text;
}

std::u16string caseSummary(const ClassGrade& grade, std::size_t caseIndex)
{
    std::size_t passed = 0;
    for (const StudentGrade& student : grade.students) {
        if (caseIndex < student.results.size() && student.results[caseIndex].verdict == Verdict::AC) ++passed;
    }
    return u"用例 " + grade.caseNames[caseIndex] + u": 通过 " + count(passed) + u" 人（共 " +
           count(grade.students.size()) + u" 人）";
}

std::u16string errorSummary(const ErrorCount& error)
{
    return u"错误 " + count(static_cast<std::size_t>(error.number)) + u": " + error.description + u" " +
           count(error.count) + u" 次（" + joined(error.students, u"、") + u"）";
}

std::u16string groupSummary(const std::vector<std::u16string>& group)
{
    return u"相同的程序: " + joined(group, u"、");
}

// The lines after the students' lines, shared by every report.
std::vector<std::u16string> summaryLines(const ClassGrade& grade)
{
    std::vector<std::u16string> lines;
    for (std::size_t i = 0; i < grade.caseNames.size(); ++i) lines.push_back(caseSummary(grade, i));
    const std::vector<ErrorCount> errors = frequentErrors(grade);
    if (errors.empty()) lines.emplace_back(u"没有运行错误和编译错误");
    for (const ErrorCount& error : errors) lines.push_back(errorSummary(error));
    for (const auto& group : identicalPrograms(grade)) lines.push_back(groupSummary(group));
    return lines;
}

std::u16string studentLine(const StudentGrade& grade)
{
    if (grade.missing) return grade.student.name + u": " + *grade.missing;
    std::u16string line = grade.student.name + u": " + scoreText(grade) + u" 分";
    for (const JudgeResult& result : grade.results) {
        line += u' ';
        line += verdictCode(result.verdict);
    }
    const std::u16string failure = firstFailureText(grade);
    if (!failure.empty()) {
        line += u' ';
        line += failure;
    }
    return line;
}

std::u16string csvField(std::u16string_view text)
{
    if (text.find_first_of(u",\"\r\n") == std::u16string_view::npos) return std::u16string(text);
    std::u16string field = u"\"";
    for (char16_t c : text) {
        if (c == u'"') field += u'"';
        field += c;
    }
    return field + u"\"";
}

std::u16string csvRow(const std::vector<std::u16string>& fields)
{
    std::u16string row;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) row += u',';
        row += csvField(fields[i]);
    }
    return row + u"\r\n";
}

constexpr std::u16string_view kHtmlStyle =
    u"body{font-family:sans-serif;margin:1.5em}table{border-collapse:collapse}"
    u"th,td{border:1px solid #999;padding:.25em .5em;text-align:center}td.name,td.note{text-align:left}"
    u".AC{background:#c8e6c9;color:#1b5e20}.WA{background:#ffcdd2;color:#b71c1c}"
    u".PE{background:#ffe0b2;color:#e65100}.TLE{background:#e1bee7;color:#4a148c}"
    u".OLE{background:#d7ccc8;color:#3e2723}.RE{background:#f8bbd0;color:#880e4f}"
    u".CE{background:#cfd8dc;color:#263238}.none{background:#eeeeee;color:#424242}";

std::u16string htmlCell(const JudgeResult& result)
{
    const std::u16string code(verdictCode(result.verdict));
    return u"<td class=\"" + code + u"\" title=\"" + escapedHtml(result.name + u": " + judgeLineText(result)) + u"\">" + code +
           u" " + std::u16string(verdictWord(result.verdict)) + u"</td>";
}

std::u16string htmlRow(const StudentGrade& grade, std::size_t cases)
{
    std::u16string row = u"<tr><td class=\"name\">" + escapedHtml(grade.student.name) + u"</td>";
    if (grade.missing) {
        row += u"<td></td>";
        for (std::size_t i = 0; i < cases; ++i) row += u"<td class=\"none\">—</td>";
        return row + u"<td class=\"note\">" + escapedHtml(*grade.missing) + u"</td></tr>\n";
    }
    row += u"<td>" + scoreText(grade) + u"</td>";
    for (const JudgeResult& result : grade.results) row += htmlCell(result);
    return row + u"<td class=\"note\">" + escapedHtml(firstFailureText(grade)) + u"</td></tr>\n";
}

}  // namespace

std::u16string scoreText(const StudentGrade& grade)
{
    if (grade.results.empty()) return u"0";
    const std::size_t tenths = (passedCases(grade) * 2000 / grade.results.size() + 1) / 2;
    std::u16string text = count(tenths / 10);
    if (tenths % 10 != 0) {
        text += u'.';
        text += count(tenths % 10);
    }
    return text;
}

std::u16string firstFailureText(const StudentGrade& grade)
{
    if (grade.missing) return *grade.missing;
    for (const JudgeResult& result : grade.results) {
        if (result.verdict != Verdict::AC) return result.name + u": " + judgeLineText(result);
    }
    return {};
}

std::vector<ErrorCount> frequentErrors(const ClassGrade& grade)
{
    std::map<std::int32_t, ErrorCount> byNumber;
    for (const StudentGrade& student : grade.students) {
        for (const JudgeResult& result : student.results) {
            if ((result.verdict != Verdict::RE && result.verdict != Verdict::CE) || !result.outcome.error) continue;
            ErrorCount& error = byNumber[result.outcome.error->number];
            error.number = result.outcome.error->number;
            error.description = result.outcome.error->description;
            ++error.count;
            const bool named = std::find(error.students.begin(), error.students.end(), student.student.name) !=
                               error.students.end();
            if (!named && error.students.size() < kStudentsPerError) error.students.push_back(student.student.name);
        }
    }
    std::vector<ErrorCount> errors;
    for (auto& [number, error] : byNumber) errors.push_back(std::move(error));
    std::stable_sort(errors.begin(), errors.end(),
                     [](const ErrorCount& a, const ErrorCount& b) { return a.count > b.count; });
    if (errors.size() > kShownErrors) errors.resize(kShownErrors);
    return errors;
}

std::vector<std::vector<std::u16string>> identicalPrograms(const ClassGrade& grade)
{
    std::vector<std::vector<std::u16string>> groups;
    std::map<std::u16string, std::size_t> groupOf;  // program -> index of its first student's group
    std::vector<std::vector<std::u16string>> byFirst;
    for (const StudentGrade& student : grade.students) {
        if (student.missing || student.sameness.empty()) continue;
        const auto [place, added] = groupOf.try_emplace(student.sameness, byFirst.size());
        if (added) byFirst.emplace_back();
        byFirst[place->second].push_back(student.student.name);
    }
    for (auto& group : byFirst) {
        if (group.size() > 1) groups.push_back(std::move(group));
    }
    return groups;
}

std::string gradeText(const ClassGrade& grade)
{
    std::u16string text;
    for (const StudentGrade& student : grade.students) text += studentLine(student) + u"\n";
    for (const std::u16string& line : summaryLines(grade)) text += line + u"\n";
    return toUtf8(text);
}

std::string gradeCsv(const ClassGrade& grade)
{
    std::vector<std::u16string> header{u"学生", u"得分"};
    header.insert(header.end(), grade.caseNames.begin(), grade.caseNames.end());
    header.emplace_back(u"说明");
    std::u16string text = csvRow(header);
    for (const StudentGrade& student : grade.students) {
        std::vector<std::u16string> fields{student.student.name, student.missing ? u"" : scoreText(student)};
        for (std::size_t i = 0; i < grade.caseNames.size(); ++i) {
            fields.emplace_back(i < student.results.size() ? verdictCode(student.results[i].verdict) : u"");
        }
        fields.push_back(firstFailureText(student));
        text += csvRow(fields);
    }
    return "\xEF\xBB\xBF" + toUtf8(text);
}

std::string gradeHtml(const ClassGrade& grade, std::u16string_view title)
{
    std::u16string page = u"<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
                          escapedHtml(title) + u"</title>\n<style>" + std::u16string(kHtmlStyle) +
                          u"</style>\n</head>\n<body>\n<h1>" + escapedHtml(title) + u"</h1>\n<table>\n<tr><th>学生</th><th>得分</th>";
    for (const std::u16string& name : grade.caseNames) page += u"<th>" + escapedHtml(name) + u"</th>";
    page += u"<th>说明</th></tr>\n";
    for (const StudentGrade& student : grade.students) page += htmlRow(student, grade.caseNames.size());
    page += u"</table>\n<h2>统计</h2>\n<ul>\n";
    for (const std::u16string& line : summaryLines(grade)) page += u"<li>" + escapedHtml(line) + u"</li>\n";
    return toUtf8(page + u"</ul>\n</body>\n</html>\n");
}

}  // namespace tarnik
