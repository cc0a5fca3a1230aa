#pragma once
// Where the language reference (src/ui/help) explains the word under the
// caret, for F1 in the editor. Words that only mean something together are
// read with their neighbour: EXIT FOR and EXIT DO, END IF, END SELECT and
// END, DO WHILE and DO ... LOOP UNTIL, LOOP and LOOP UNTIL.
#include <string>
#include <string_view>

namespace tarnik {

// The page and anchor ("statements.html#for") for the word of `line` at
// `column` (0-based, in or right after the word); "index.html" when the caret
// is on no word of the language.
[[nodiscard]] std::u16string referenceTopicAt(std::u16string_view line, std::size_t column);

}  // namespace tarnik
