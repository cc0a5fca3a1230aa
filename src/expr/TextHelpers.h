#pragma once
// Searching and rewriting program text while leaving string literals (the
// stretches between double quotes, no escape form) alone. Positions are
// 1-based, 0 meaning "not found".
#include <string>
#include <string_view>
#include <vector>

#include "expr/BasicError.h"

namespace tarnik {

// First occurrence of the lower-cased pattern outside quoted stretches; 0 when
// none or when either text is empty. Works in resume-next mode: clears the
// given error state, and records 202 (returning 0) when it reaches the end of
// the text inside an open quote without having found the pattern.
[[nodiscard]] int FindOutsideQuotes(std::u16string_view text, std::u16string_view pattern, ErrorState& errors);

// Every occurrence of `find` outside quoted stretches replaced, leftmost first,
// each search starting again from the beginning. Raises 333 when the
// replacement contains `find`; the last search's verdict on an open quote is
// left in `errors`.
[[nodiscard]] std::u16string ReplaceOutsideQuotes(std::u16string_view text, std::u16string_view find,
                                                  std::u16string_view replacement, ErrorState& errors);

// First "," or ";" outside brackets and quotes; 0 when none. Raises 201 for a
// ")" without "(", and 202 for a "(" or a quote still open at the end.
[[nodiscard]] int FindListSeparator(std::u16string_view text);

// The text with A-Z lower-cased outside string literals; unchanged when the
// double quotes of the whole text do not pair up.
[[nodiscard]] std::u16string LowerOutsideQuotes(std::u16string_view text);

// What follows `keyword` found at 1-based `position`, as the searches report it.
[[nodiscard]] inline std::u16string_view textAfter(std::u16string_view text, int position, std::u16string_view keyword)
{
    return text.substr(static_cast<std::size_t>(position - 1) + keyword.size());
}

// Small shared text utilities.
[[nodiscard]] std::u16string_view trimBlanks(std::u16string_view text);
[[nodiscard]] std::u16string lowerAscii(std::u16string_view text);
[[nodiscard]] std::vector<std::u16string_view> splitLines(std::u16string_view text);  // at every CR LF
[[nodiscard]] inline bool contains(std::u16string_view text, std::u16string_view part)
{
    return text.find(part) != std::u16string_view::npos;
}

}  // namespace tarnik
