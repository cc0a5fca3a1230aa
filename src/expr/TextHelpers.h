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

// The text with A-Z lower-cased outside string literals, line by line (lines
// end with CR LF): a literal runs from a double quote to the next one on the
// same line and is kept; an apostrophe outside a literal starts a comment,
// kept to the end of its line; a double quote that the line does not close
// keeps the rest of that line as it is. So a stray quote in one line, even in
// a comment, leaves every other line lower-cased.
[[nodiscard]] std::u16string LowerOutsideQuotes(std::u16string_view text);

// What follows `keyword` found at 1-based `position`, as the searches report it.
[[nodiscard]] inline std::u16string_view textAfter(std::u16string_view text, int position, std::u16string_view keyword)
{
    return text.substr(static_cast<std::size_t>(position - 1) + keyword.size());
}

// The text with A-Z lower-cased outside string literals, its double quotes
// paired over the whole text as the word reader pairs them (line ends and
// apostrophes are ordinary characters); a quote left open keeps the rest.
[[nodiscard]] std::u16string LowerOutsideLiterals(std::u16string_view text);

// The UTF-16 units of the character at 0-based `index`: 2 for a surrogate
// pair (a character outside the Basic Multilingual Plane), otherwise 1.
[[nodiscard]] std::size_t unitsOfCharacterAt(std::u16string_view text, std::size_t index);

// Small shared text utilities.
[[nodiscard]] std::u16string_view trimBlanks(std::u16string_view text);
[[nodiscard]] std::u16string lowerAscii(std::u16string_view text);
[[nodiscard]] std::vector<std::u16string_view> splitLines(std::u16string_view text);  // at every CR LF
[[nodiscard]] inline bool contains(std::u16string_view text, std::u16string_view part)
{
    return text.find(part) != std::u16string_view::npos;
}

}  // namespace tarnik
