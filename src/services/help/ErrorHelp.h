#pragma once
// Help for an error, from the error table and its explanations
// (expr/Errors.h): finding the row an error was made from, and the
// explanation as the text `tarnik-cli explain` prints and the IDE shows.
#include <cstdint>
#include <string>
#include <vector>

#include "expr/BasicError.h"
#include "interp/RunOutcome.h"
#include "services/help/ErrorExplanations.h"
#include "services/help/LineDiagnosis.h"

namespace tarnik {

// The row an error was made from: the one with its number and description,
// or, for the errors whose description holds a text of the program (59,
// 202), the one with its number. Null for an error that is not in the table.
[[nodiscard]] const ErrorText* errorRowOf(const BasicError& error);

// The beginner's explanation of a row of the error table.
[[nodiscard]] const ErrorExplanation& explanationOf(const ErrorText& row);

// The rows with this number, in table order (two for 303, 304, 305, 352, 353).
[[nodiscard]] std::vector<const ErrorText*> errorRowsNumbered(std::int32_t number);

// "错误 N: DESCRIPTION", then what it means, the usual causes and the
// example of the mistake and its fix; lines end with "\n".
[[nodiscard]] std::u16string explanationText(const ErrorText& row);

// What is known beyond the error's number and line, in a sentence or two:
// the line where a block left open begins and that NEXT takes no name (as
// the translator found them), and the full-width characters of the error's
// line in `editorText` with what to type instead. Empty when nothing more is
// known.
[[nodiscard]] std::u16string errorContextText(const RunOutcome& outcome, std::u16string_view editorText);

// The error box's text below its first line, one sentence a line: where a
// block left open begins (errorBoxBlockNote), the full-width characters of
// the error's line in `editorText` with their half-width forms, and the
// keyword that a misspelt first word of that line most likely means, then
// the causes the line itself shows (lineCauses; `facts` tell where a value
// came from). Empty when nothing more is known.
[[nodiscard]] std::u16string errorBoxDetails(const RunOutcome& outcome, std::u16string_view editorText,
                                             const ErrorFacts& facts = {});

// For an error of a block left open: "这个 For 从第L行开始，还没有 Next。",
// and the NEXT with a name that did not close it. Empty for any other error.
[[nodiscard]] std::u16string errorBoxBlockNote(const RunOutcome& outcome);

// Every explanation as one HTML page of the language reference (errors.html):
// rendered from the table, so the reference never differs from it. Each
// fixed program is a <pre class="example"> block the reference can open.
[[nodiscard]] std::u16string errorExplanationsHtml();

// An example's program as the editor holds it (CR LF between lines).
[[nodiscard]] std::u16string exampleEditorText(const ErrorExample& example);

}  // namespace tarnik
