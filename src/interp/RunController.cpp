#include "interp/RunController.h"

#include "expr/NumberText.h"
#include "expr/ProgramState.h"
#include "expr/TextHelpers.h"
#include "interp/Breakpoints.h"
#include "interp/clsCode.h"

namespace tarnik {

std::optional<BasicError> StartRun(std::u16string_view editorText, RunConsole& console)
{
    clsCode code;
    code.Init(editorText);
    program.RunSource.assign(editorText);
    console.Clear();
    console.showConsole();
    ClearBreakpoints();
    console.setCaption(kRunningCaption);
    code.Run(console);
    console.setCaption(kEndedCaption);
    if (!program.Err.pending()) return std::nullopt;
    BasicError error = program.Err.error();
    program.Err.clear();
    return error;
}

ErrorReport makeErrorReport(const BasicError& error, std::int32_t line, std::u16string_view editorText)
{
    ErrorReport report;
    report.title = u"错误 " + numberText(error.number);
    report.text = error.description + u"(第" + numberText(line) + u"行)";

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
