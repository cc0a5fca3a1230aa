#pragma once
// A judged class as text: the lines of the standard output, a CSV table for
// spreadsheets (UTF-8 with a byte-order mark, CR LF, RFC 4180 quoting) and
// one self-contained HTML page.
#include <string>
#include <vector>

#include "services/ClassGrading.h"

namespace tarnik {

// "66.7": passed cases × 100 ÷ cases, at most one decimal.
[[nodiscard]] std::u16string scoreText(const StudentGrade& grade);

// "1: 答案错误 第1行: …" for the first case that failed, 找不到程序, or empty.
[[nodiscard]] std::u16string firstFailureText(const StudentGrade& grade);

// The error numbers of RE and CE results, most frequent first, with their
// counts and up to three students each.
struct ErrorCount {
    std::int32_t number = 0;
    std::u16string description;
    std::size_t count = 0;
    std::vector<std::u16string> students;
};
[[nodiscard]] std::vector<ErrorCount> frequentErrors(const ClassGrade& grade);

// Groups of two or more students whose programs are the same, in student order.
[[nodiscard]] std::vector<std::vector<std::u16string>> identicalPrograms(const ClassGrade& grade);

[[nodiscard]] std::string gradeText(const ClassGrade& grade);
[[nodiscard]] std::string gradeCsv(const ClassGrade& grade);
[[nodiscard]] std::string gradeHtml(const ClassGrade& grade, std::u16string_view title);

}  // namespace tarnik
