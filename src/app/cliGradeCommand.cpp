// tarnik-cli grade: a class's programs judged on one problem's cases, with
// the results on standard output and, when asked, as CSV and HTML reports.
#include <iostream>
#include <thread>
#include <variant>

#include "app/cliArguments.h"
#include "app/cliCommands.h"
#include "app/cliJudging.h"
#include "services/ClassGrading.h"
#include "services/GradeReport.h"
#include "services/ReportFile.h"
#include "services/SourceText.h"

namespace tarnik::cli {
namespace {

constexpr OptionRule kCsvOption{"--csv", "CSV 报告的文件名"};
constexpr OptionRule kHtmlOption{"--html", "HTML 报告的文件名"};
constexpr std::int64_t kMostJobs = 256;

std::filesystem::path pathOf(const std::string& word)
{
    return std::filesystem::path(std::u8string(word.begin(), word.end()));
}

// Whether `inner` is `outer` or lies somewhere inside it.
bool isWithin(const std::filesystem::path& inner, const std::filesystem::path& outer)
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::weakly_canonical(outer, error);
    if (error) return false;
    const std::filesystem::path place = std::filesystem::weakly_canonical(inner, error);
    if (error) return false;
    const auto [end, _] = std::mismatch(folder.begin(), folder.end(), place.begin(), place.end());
    return end == folder.end();
}

// A report is never written among the students' files or the cases.
std::optional<std::string> misplacedReport(const std::string& report, const std::string& programs,
                                           const std::string& cases)
{
    const std::filesystem::path folder = pathOf(report).parent_path().empty() ? "." : pathOf(report).parent_path();
    if (isWithin(folder, pathOf(programs))) return "报告不能写在学生的程序文件夹里";
    if (std::filesystem::is_directory(pathOf(cases)) && isWithin(folder, pathOf(cases))) {
        return "报告不能写在测试用例文件夹里";
    }
    return std::nullopt;
}

std::vector<Student> studentsOf(const std::string& programs, const std::string& cases)
{
    auto found = findStudents(pathOf(programs), problemName(pathOf(cases)));
    if (auto* failure = std::get_if<std::u16string>(&found)) throw CliFailure{toUtf8(*failure)};
    return std::move(std::get<std::vector<Student>>(found));
}

struct Report {
    const OptionRule& option;
    std::string (*contents)(const ClassGrade& grade, std::u16string_view title);
};

std::string csvContents(const ClassGrade& grade, std::u16string_view)
{
    return gradeCsv(grade);
}

// Every report asked for, written; false when one could not be (said on standard error).
bool writeReports(const CommandArguments& words, const ClassGrade& grade)
{
    const Report reports[] = {{kCsvOption, csvContents}, {kHtmlOption, gradeHtml}};
    const std::u16string title = u"评测结果：" + problemName(pathOf(words.operand(1)));
    bool allWritten = true;
    for (const Report& report : reports) {
        const std::optional<std::string> target = words.value(report.option.name);
        if (!target) continue;
        std::optional<std::string> failure = misplacedReport(*target, words.operand(0), words.operand(1));
        if (!failure) {
            if (auto reason = writeReportFile(pathOf(*target), report.contents(grade, title))) failure = toUtf8(*reason);
        }
        if (failure) {
            std::cerr << "tarnik-cli grade：无法写入报告 " << *target << "：" << *failure << "，这个报告没有写出。"
                      << std::endl;
            allWritten = false;
        }
    }
    return allWritten;
}

}  // namespace

int gradeCommand(Arguments arguments)
{
    constexpr OptionRule options[] = {kMaxStepsOption, kJobsOption, kItemOption, kCsvOption, kHtmlOption};
    constexpr OperandRule operands[] = {{"PROGRAMS", "学生程序文件夹"}, {"CASES", "测试用例（文件夹、zip 或 FPS 文件）"}};
    const CommandArguments words("grade", arguments, options, operands);
    const std::int64_t maxStatements = statementLimit(words).value_or(kJudgeStatementLimit);
    const auto processors = static_cast<std::int64_t>(std::max(1U, std::thread::hardware_concurrency()));
    const auto jobs = static_cast<unsigned>(countOption(words, kJobsOption, std::min(processors, kMostJobs), kMostJobs));
    const std::vector<Student> students = studentsOf(words.operand(0), words.operand(1));
    const std::vector<JudgeCase> cases = judgeCasesOf(words.operand(1), words);

    const ClassGrade grade = gradeClass(students, cases, maxStatements, jobs);
    if (const int written = writeOutput(gradeText(grade))) return written;
    return writeReports(words, grade) ? kExitOk : kExitOutputFailed;
}

}  // namespace tarnik::cli
