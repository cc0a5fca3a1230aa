#pragma once
// The compiled form of one expression text. Which operator is applied when,
// and to which operands, follows from the text alone (see ExpressionCompiler),
// so an evaluation only replays the steps: fetch the right operand, then the
// left one (fetching a variable creates and lists it, so the order is kept),
// apply the operator, push the result. Results read back as operands pass
// through their 15-digit text form, exactly like every intermediate value.
#include <cstdint>
#include <optional>
#include <vector>

#include "expr/clsVar.h"

namespace tarnik {

enum class Operator : std::uint8_t {
    Add, Subtract, Multiply, Divide, Power, Mod,                  // arithmetic
    And, Or, Xor,                                                 // logical, on truth values
    Less, Greater, Equal, NotEqual, GreaterEqual, LessEqual,      // comparisons
    Not, Abs, Sqr,                                                // prefix operators
    Zero,                                                         // a marker or bracket applied as an operator: 0
    FailAfterRight,                                               // the left operand is missing: stack error
};

struct Operand {
    enum class Kind : std::uint8_t { Constant, Variable, Result, Overflow };
    Kind kind = Kind::Constant;
    double constant = 0;
    clsVar::Ref variable;
};

struct ExpressionStep {
    Operator op = Operator::Zero;
    Operand right;
    Operand left;  // unused by the prefix operators
};

struct ExpressionProgram {
    // How an evaluation ends once every step has run.
    enum class Ending : std::uint8_t {
        Result,          // the last result is the value
        NotEnded,        // error 120 recorded
        Invalid,         // error 121 recorded
        StackError,      // error 9 raised (an operator without the operator stack's bottom)
        TooLong,         // error 6 raised: the word reader's position cannot reach the end
    };

    std::vector<ExpressionStep> steps;
    Ending ending = Ending::Result;
    std::uint32_t maxResults = 0;  // the deepest the result stack gets

    // Runs the steps: the value, or nothing with error 120/121 recorded.
    // Arithmetic and stack errors are raised.
    [[nodiscard]] std::optional<double> evaluate(clsVar& variables, std::vector<double>& results) const;
};

[[nodiscard]] bool isPrefixOperator(Operator op);

}  // namespace tarnik
