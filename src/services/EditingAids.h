#pragma once
// What the editor's keyboard aids decide, without the editor: the indentation
// a new line gets, and whether Backspace removes a whole indentation step.
// The unit of indentation is four blanks; no tab character is ever inserted.
#include <string_view>

namespace tarnik {

inline constexpr std::u16string_view kIndentStep = u"    ";

// Blanks for the line that Enter starts after `line`, the caret line's text
// left of the caret: its own indentation, four deeper after a line that opens
// a block (a one-line IF opens none). Keywords count in any letter case, so a
// line the re-formatter has capitalised indents as its lower-case form does.
[[nodiscard]] int indentationAfterEnter(std::u16string_view line);

// Backspace right after four blanks removes all four.
[[nodiscard]] bool removesIndentStep(std::u16string_view textBeforeCaret);

}  // namespace tarnik
