#pragma once
// Judging a class: every student's program on every case. Students are the
// program files directly in the class folder, and its folders (one per
// student, the program inside). Runs are spread over threads; the results
// stand in student and case order whatever the number of threads.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "services/Judging.h"

namespace tarnik {

struct Student {
    std::u16string name;
    std::optional<std::filesystem::path> program;  // none: 找不到程序
};

struct StudentGrade {
    Student student;
    std::optional<std::u16string> missing;  // 找不到程序, or why the program could not be read
    std::u16string sameness;                // the program as compared for copies: formatted, without comments,
                                            // blank lines and indentation
    std::vector<JudgeResult> results;       // in case order; empty when the program is missing
};

struct ClassGrade {
    std::vector<std::u16string> caseNames;
    std::vector<StudentGrade> students;  // in natural name order
};

// The problem's name, by which a student's folder may name its program:
// the cases' file or folder name without ".tests", ".zip" or ".xml".
[[nodiscard]] std::u16string problemName(const std::filesystem::path& cases);

// The class folder's students in natural name order, or why it cannot be read.
[[nodiscard]] std::variant<std::vector<Student>, std::u16string> findStudents(const std::filesystem::path& programs,
                                                                              std::u16string_view problem);

// Judges every student on every case, the runs shared among `jobs` threads.
[[nodiscard]] ClassGrade gradeClass(const std::vector<Student>& students, const std::vector<JudgeCase>& cases,
                                     std::int64_t maxStatements, unsigned jobs);

// The program as copies are compared: each line formatted, comments, blank
// lines and indentation dropped.
[[nodiscard]] std::u16string samenessKey(std::u16string_view editorText);

}  // namespace tarnik
