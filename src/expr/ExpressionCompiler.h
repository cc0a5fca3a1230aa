#pragma once
// Turns an expression text into an CompiledExpression by running the
// evaluator's two-stack algorithm once on the text alone:
//
//   1. rewrite: append "+0", put "0" before a leading "-", and replace the
//      operator spellings by one character each ("and" -> 与, "<>" -> 不, ...);
//   2. read the words; operands go to the value stack, operators to the
//      operator stack, and an operator leaving that stack is applied at once;
//   3. exactly one value must be left above the bottom marker.
//
// Every decision in 2 and 3 depends on the kind of each stack entry (operand
// word, operator, computed result), never on a value, so it is taken here once;
// what depends on values (the arithmetic and its errors) is left to the steps.
#include <string>
#include <string_view>

#include "expr/CompiledExpression.h"

namespace tarnik {

// Operator levels, lowest first; an operator binds tighter the higher its level.
// Words of the language become one character each, so that the word reader
// returns every operator as a word of its own. abs and sqr bind like functions,
// above "^".
inline constexpr std::u16string_view kOperatorLevels[] = {
    u"#,与,或,反,异",   // 1: bottom marker, and, or, not, xor
    u"<,>,=,不,高,低",  // 2: comparisons (不 <>, 高 >=, 低 <=)
    u"+,-,余",          // 3: plus, minus, mod
    u"*,/",             // 4
    u"^",               // 5
    u"绝,开",           // 6: abs, sqr
    u"(,)",             // 7
};

// True for every operator character, for "," and for the empty text.
[[nodiscard]] bool isOperatorKey(std::u16string_view word);

// The text after step 1; the rewrite's searches record into `errors`.
[[nodiscard]] std::u16string rewriteOperators(std::u16string_view text, ErrorState& errors);

[[nodiscard]] CompiledExpression compileExpression(std::u16string_view text, clsVar& variables);

}  // namespace tarnik
