#pragma once
// The normal form the editor rewrites finished lines into: words separated by
// single blanks (none after "(" and none before ")", ";" or ","), the relational
// pairs closed up, everything outside string literals and comments lower case
// except the language's words, which get a capital first letter:
// «If a <> b Then».
#include <string>
#include <string_view>

namespace tarnik {

// The normal form of a line's content, without its indentation. A comment
// (from an apostrophe outside literals) is kept exactly as typed, after the
// formatted code and one blank; a line holding only a comment comes back
// unchanged. A line the word reader cannot read (an unterminated literal)
// comes back unchanged too, and so does a line that respacing would make do
// something else: two literals side by side («print "a""b"», which PRINT
// reads as one text, blanks between included), or a signed label or jump
// target («-5 print x», «goto -5»: a sign set apart makes no label).
[[nodiscard]] std::u16string FormatLine(std::u16string_view line);

// A finished line as the editor rewrites it: a blank line stays as it is, any
// other keeps its leading blanks followed by FormatLine of the line.
[[nodiscard]] std::u16string formatFinishedLine(std::u16string_view line);

}  // namespace tarnik
