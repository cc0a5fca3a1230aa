#pragma once
// How the translator reads one line of the editor, as kinds of stretches for
// the editor's colouring: the label (a number as the first word), the
// comment (from the first apostrophe outside literals), and between them the
// words of the word reader, with the language's words, numbers, literals and
// operators told apart. The reading is the translator's own, so the colours
// never promise what a run would not do: «1e5» is the number 1 and a name,
// «PRINT» is a keyword, an apostrophe inside a literal starts no comment.
#include <cstddef>
#include <string_view>
#include <vector>

namespace tarnik {

enum class LineStretchKind { Keyword, Number, Literal, UnclosedLiteral, Comment, Label, Operator };

struct LineStretch {
    std::size_t start = 0;  // 0-based, in UTF-16 units of the line
    std::size_t length = 0;
    LineStretchKind kind = LineStretchKind::Keyword;

    friend bool operator==(const LineStretch&, const LineStretch&) = default;
};

// The coloured stretches of `line`, left to right, none overlapping; names,
// blanks and other characters are in none. A double quote that the line does
// not close makes the rest of the line one unclosed literal.
[[nodiscard]] std::vector<LineStretch> colourLine(std::u16string_view line);

}  // namespace tarnik
