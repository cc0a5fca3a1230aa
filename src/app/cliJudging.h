#pragma once
// What `test --oj` and `grade` share: their options and the judge cases.
#include <cstdint>
#include <string>
#include <vector>

#include "app/cliArguments.h"
#include "services/Judging.h"

namespace tarnik::cli {

inline constexpr OptionRule kOjOption{"--oj"};
inline constexpr OptionRule kItemOption{"--item", "题目序号"};
inline constexpr OptionRule kJobsOption{"--jobs", "同时评测的程序个数"};

// The option's value, a whole number from 1 up to `largest`, or `fallback` when it is not given.
[[nodiscard]] std::int64_t countOption(const CommandArguments& arguments, const OptionRule& option,
                                       std::int64_t fallback, std::int64_t largest);

// The cases of a folder, a zip or an FPS file; a CliFailure naming what is wrong.
[[nodiscard]] std::vector<JudgeCase> judgeCasesOf(const std::string& source, const CommandArguments& arguments);

}  // namespace tarnik::cli
