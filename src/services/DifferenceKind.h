#pragma once
// What kind of slip makes an output differ from the expected one, in the
// words a beginner understands: a blank too many at a line end, a last line
// missing, 3.0 written where 3 was expected, a full-width comma… The kind
// is read from the lines alone; only whether a prompt or an echoed answer is
// to blame needs the run's record (see OutputOrigin).
#include <cstddef>
#include <string>
#include <vector>

namespace tarnik {

enum class DifferenceKind {
    TrailingBlanks,   // 只差行末空格
    Blanks,           // 只差空格
    MissingLines,     // 少了最后一行 / 少了最后 N 行
    MissingLineEnd,   // 最后少了换行
    ExtraLines,       // 多了一行 / 多了 N 行
    ExtraEmptyLines,  // 最后多了空行
    NumberWriting,    // 数字写法不同：期望 3，实际 3.0
    FullWidth,        // 全角/半角不同
    PromptOrEcho,     // 多输出了提示或输入的答案
    LineBreaks,       // 只差空格和换行的位置
    Content,          // 内容不同
};

struct DifferenceDescription {
    DifferenceKind kind = DifferenceKind::Content;
    std::u16string text;  // one phrase without a full stop
};

// The kind of the first difference, at 0-based line `line`, between two
// outputs as compared (a line one side does not have is past its end).
// `expectedWhole`: false when only the start of a long expected output was
// read, so that the lines it has past the actual ones are a lower bound.
[[nodiscard]] DifferenceDescription describeDifference(const std::vector<std::u16string>& expected,
                                                       const std::vector<std::u16string>& actual, std::size_t line,
                                                       bool expectedWhole = true);

// The description of a difference the run's prompts or echoed answers make.
[[nodiscard]] DifferenceDescription promptOrEchoDifference();

}  // namespace tarnik
