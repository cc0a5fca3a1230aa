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

// The blanks for `line` when it ends or divides a block (END IF, NEXT, LOOP,
// WEND, END SELECT, ELSE, ELSEIF, CASE) that the lines before it,
// `linesBefore`, leave open innermost: the indentation its opening line has
// (a tab counting as one step), one step more for a CASE, which stands
// inside its SELECT. Nothing for any other line, and for one whose block is
// not the innermost open one. Enter places a line with it as it is typed,
// when the blocks after it are not written yet.
[[nodiscard]] std::optional<int> blockEndIndentation(const std::vector<std::u16string_view>& linesBefore,
                                                     std::u16string_view line);

// `line` with its leading blanks and tabs replaced by `blanks` blanks.
[[nodiscard]] std::u16string withIndentation(std::u16string_view line, int blanks);

}  // namespace tarnik
