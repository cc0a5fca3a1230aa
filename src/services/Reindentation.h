#pragma once
// The 整理缩进 command's decision: the indentation each line gets from the
// block structure of the whole program, four blanks a level. IF / ELSEIF /
// ELSE / END IF, FOR / NEXT, DO / LOOP, WHILE / WEND and SELECT CASE / CASE /
// END SELECT nest; the CASE lines stand one level inside their SELECT and
// their statements two. A line that cannot be placed keeps the indentation it
// has: a closing line without its opener, and every line from the first
// block that is never closed onwards (its end is unknown, so any new
// indentation there would be a guess). Blank lines stay as they are.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnik {

// For each line, the number of blanks it should start with, or nothing to
// leave it as it is. Keywords count in any letter case; labels, comments and
// one-line IFs are read as the translator reads them.
[[nodiscard]] std::vector<std::optional<int>> blockIndentation(const std::vector<std::u16string_view>& lines);

// `line` with its leading blanks and tabs replaced by `blanks` blanks.
[[nodiscard]] std::u16string withIndentation(std::u16string_view line, int blanks);

}  // namespace tarnik
