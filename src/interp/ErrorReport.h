#pragma once
// What the user is shown when a run stops on an error: the error box's title
// and text and the line to select in the editor.
#include <cstdint>
#include <string>
#include <string_view>

#include "expr/BasicError.h"

namespace tarnik {

struct ErrorReport {
    std::u16string title;  // "错误 " + number
    std::u16string text;   // description + "(第" + line + "行)"
    // The reported line in the editor text, counting a line break as two
    // characters (CR LF) and, for editors that hold LF only, as one.
    std::int32_t selectionStart = 0;
    std::int32_t selectionStartSingleBreaks = 0;
    std::int32_t selectionLength = 0;
};

// The report for an error on `line`, with the line's place in the editor's
// present text (which may have changed while the program ran).
[[nodiscard]] ErrorReport makeErrorReport(const BasicError& error, std::int32_t line, std::u16string_view editorText);

}  // namespace tarnik
