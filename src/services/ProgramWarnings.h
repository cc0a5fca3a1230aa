#pragma once
// Warnings that do not stop a run, found in the translated line table: a
// variable that is read but never given a value anywhere (it always reads 0;
// usually a misspelt name, so the nearest assigned name is offered), and a
// GOTO or GOSUB to a label that no line carries. The IDE shows them after
// Start, tarnik-cli lint prints them; both take them from here.
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

    // "第L行: 警告: TEXT", as the IDE's list and tarnik-cli lint show it.
    [[nodiscard]] std::u16string shown() const;
};

// The warnings of a translated program, in line order.
[[nodiscard]] std::vector<ProgramWarning> findWarnings(const clsCode& code);

// The same with the full-width slips of `editorText`, the text `code` was
// translated from, in line order: what a run shows before it starts.
[[nodiscard]] std::vector<ProgramWarning> programWarnings(const clsCode& code, std::u16string_view editorText);

struct LintResult {
    RunOutcome translation;  // the translation error, if any (then there are no warnings)
    std::vector<ProgramWarning> warnings;
};

// Translates the editor text in a program object of its own and looks for
// its warnings (programWarnings).
[[nodiscard]] LintResult lintProgram(std::u16string_view editorText);

// The assigned name a misspelt `name` most likely meant: one edit away for a
// name of three characters, two for a longer one (an edit inserts, deletes or
// changes a character, or swaps two neighbours), the only one that close;
// never for names of one or two characters, nor for names that differ only in
// their digits (x1 and x2 are different variables on purpose).
[[nodiscard]] std::optional<std::u16string> nearestName(std::u16string_view name,
                                                        const std::vector<std::u16string>& assigned);

}  // namespace tarnik
