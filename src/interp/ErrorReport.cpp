#include "interp/ErrorReport.h"

#include "expr/NumberText.h"
#include "expr/TextHelpers.h"
#include "interp/RunOutcome.h"

namespace tarnik {

ErrorReport makeErrorReport(const BasicError& error, std::int32_t line, std::u16string_view editorText)
{
    ErrorReport report;
    report.title = u"错误 " + numberText(error.number);
    report.text = descriptionWithLine(error, line);

    // Walks the lines up to the reported one; no line matches for line 0 or a
    // line deleted since, and the start then lies past the end of the text.
    std::size_t start = 0;
    std::int32_t index = 0;
    for (std::u16string_view text : splitLines(editorText)) {
        if (index == line - 1) {
            report.selectionLength = static_cast<std::int32_t>(text.size());
            break;
        }
        start += text.size() + 2;
        ++index;
    }
    report.selectionStart = static_cast<std::int32_t>(start);
    report.selectionStartSingleBreaks = report.selectionStart - index;
    return report;
}

}  // namespace tarnik
