#pragma once
// Judge cases as online judges keep them: NAME.in with NAME.out or NAME.ans
// in a folder or a zip (natural name order: 2 before 10), or the sample and
// test pairs of one problem of an FPS file. Every file is read only if it is
// a regular file, and only up to a bound.
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "services/FpsProblems.h"
#include "services/Judging.h"

namespace tarnik {

// Larger case files are refused: judging holds every case at once.
inline constexpr std::size_t kOjCaseFileBytes = 16 << 20;
inline constexpr std::size_t kOjSourceFileBytes = 256 << 20;

// Names compared with their runs of digits as numbers.
[[nodiscard]] bool naturalLess(std::u16string_view a, std::u16string_view b);

// The folder holds a NAME.ans: its cases are judge data.
[[nodiscard]] bool holdsAnsFile(const std::filesystem::path& folder);

// FPS files are judged from their XML, zips from their top-level files.
[[nodiscard]] bool isFpsFile(const std::filesystem::path& source);

// The problems of an FPS file, read as readOjCases reads one; a problem
// names the file.
[[nodiscard]] FpsFile readFpsFile(const std::filesystem::path& xml);

// A problem's cases as judging names them: 样例1, 样例2… from its samples,
// then 1, 2… from its tests.
[[nodiscard]] std::vector<JudgeCase> fpsProblemCases(const FpsProblem& problem);

// The cases of `source` (a folder, a .zip or an FPS .xml; `item` counts an
// FPS file's problems from 1), or why there are none, as a full sentence
// naming the file.
[[nodiscard]] std::variant<std::vector<JudgeCase>, std::u16string> readOjCases(const std::filesystem::path& source,
                                                                               int item = 1);

}  // namespace tarnik
