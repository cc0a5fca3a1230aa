#pragma once
// Text put into the HTML pages we write (the grade report, the error
// reference): the characters HTML reads as markup escaped.
#include <string>
#include <string_view>

namespace tarnik {

// `text` as HTML text; in an attribute's value, its line ends kept too.
[[nodiscard]] std::u16string escapedHtml(std::u16string_view text, bool inAttribute = false);

}  // namespace tarnik
