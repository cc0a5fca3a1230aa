#pragma once
// What a program of tests/programs says about its own run, read from its
// comments: the console text, the INPUT answers and the error it stops on.
// The format is described in tests/programs/README.md.
#include <string>
#include <string_view>
#include <vector>

namespace tarnik::test {

// An annotation that cannot be read, and the file line that holds it.
struct AnnotationProblem {
    int sourceLine = 0;
    std::string text;
};

struct ProgramExpectations {
    std::string console;                   // UTF-8, LF line ends; the answers' echoes included
    std::vector<int> consoleLineSources;   // for each console line, the file line that expects it
    std::vector<std::string> answers;      // in the order the INPUTs ask
    std::string errorLine;                 // "错误 N: DESCRIPTION(第L行)"; empty: the run ends normally
    int errorSource = 0;                   // the file line of the error annotation
    std::vector<AnnotationProblem> problems;
};

// Reads the annotations of a program file (UTF-8, any line ends).
[[nodiscard]] ProgramExpectations readExpectations(std::string_view source);

}  // namespace tarnik::test
