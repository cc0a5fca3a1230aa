#pragma once
// Full-width characters typed where the program needs half-width ones: with
// a Chinese input method on, «print (1，2)» easily comes out as
// «print （1，2）», and the run then stops on an error that names no cause.
// Inside string literals and comments full-width text is what the user
// meant, so only the code around them is looked at. A full-width double
// quote outside a literal is a slip that opens one (the text up to the
// closing quote is meant as literal text), and a full-width apostrophe a
// slip that starts a comment.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarnik {

// The half-width character a Chinese input method's character stands for;
// 0 for any other character.
[[nodiscard]] char16_t halfWidthOf(char16_t c);

struct FullWidthSlip {
    std::size_t start = 0;  // 0-based, in UTF-16 units of the line; always one unit long
    char16_t fullWidth = 0;
    char16_t halfWidth = 0;

    friend bool operator==(const FullWidthSlip&, const FullWidthSlip&) = default;
};

// The slips of one line (no line break in it), left to right.
[[nodiscard]] std::vector<FullWidthSlip> fullWidthSlips(std::u16string_view line);

// The warning for `slip`: «此处是全角符号“（”，程序需要半角“(”» (数字, 字母,
// 空格 for those).
[[nodiscard]] std::u16string slipWarning(const FullWidthSlip& slip);

struct FullWidthWarning {
    int line = 0;  // from 1
    std::u16string text;

    friend bool operator==(const FullWidthWarning&, const FullWidthWarning&) = default;
};

// The warnings of a whole program text (lines separated by CR LF, LF or
// CR), in line order; lintProgram lists them with the other warnings.
[[nodiscard]] std::vector<FullWidthWarning> fullWidthWarnings(std::u16string_view text);

}  // namespace tarnik
