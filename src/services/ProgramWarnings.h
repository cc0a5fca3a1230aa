#pragma once
// Warnings that do not stop a run, found in the translated line table: a
// variable that is read but never given a value anywhere (it always reads 0;
// usually a misspelt name, so the nearest assigned name is offered; names are
// the words the evaluator takes for variables, Chinese characters included),
// a GOTO or GOSUB to a label that no line carries, a condition whose only
// variables are never assigned (it always comes out the same), a variable
// assigned and never read (INPUT and FOR variables are not asked to be read),
// a FOR variable assigned between its FOR and NEXT, statements after END,
// GOTO or RETURN that no way of running reaches (ReachableLines), and
// full-width characters outside literals and comments, a comma or semicolon
// in an INPUT list told as running two names into one. Each only where it is
// certain: a warning that is wrong teaches the wrong thing. Two names never
// differ in case alone: the text is lower-cased before it is translated.
// The IDE shows them after Start, tarnik-cli lint prints them; both take
// them from here.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interp/RunOutcome.h"

namespace tarnik {

class clsCode;

struct ProgramWarning {
    std::int32_t line = 0;  // editor line
    std::u16string text;
    std::size_t column = 0;  // where on the line it points, in UTF-16 units from 0: the order within a line

    // "第L行: 警告: TEXT", as the IDE's list and tarnik-cli lint show it.
    [[nodiscard]] std::u16string shown() const;
};

// The warnings of a translated program and the full-width slips of
// `editorText`, the text `code` was translated from, in line order and within
// a line in the order of position: what a run shows before it starts.
[[nodiscard]] std::vector<ProgramWarning> programWarnings(const clsCode& code, std::u16string_view editorText);

struct LintResult {
    RunOutcome translation;  // the translation error, if any (then there are no warnings)
    std::vector<ProgramWarning> warnings;
};

// Translates the editor text in a program object of its own and looks for
// its warnings (programWarnings).
[[nodiscard]] LintResult lintProgram(std::u16string_view editorText);

// The assigned name a misspelt `name` most likely meant: the nearest one or
// two edits away (an edit inserts, deletes or changes a character, so cnt is
// two edits from count); of names equally near, the first assigned.
[[nodiscard]] std::optional<std::u16string> nearestName(std::u16string_view name,
                                                        const std::vector<std::u16string>& assigned);

}  // namespace tarnik
