#pragma once
// The problems of an FPS file (the XML in which online judges exchange problem
// sets), read with an XML parser: each problem's title and its sample and
// test pairs of input and output.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnik {

struct FpsCase {
    std::u16string input;
    std::u16string output;
};

struct FpsProblem {
    std::u16string title;
    std::vector<FpsCase> samples;
    std::vector<FpsCase> tests;
};

struct FpsFile {
    std::vector<FpsProblem> problems;
    std::optional<std::u16string> problem;  // why the file cannot be read, in the user's words
};

[[nodiscard]] FpsFile readFpsProblems(std::string_view xmlBytes);

}  // namespace tarnik
