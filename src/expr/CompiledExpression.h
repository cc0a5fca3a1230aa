#pragma once
// The compiled form of one expression text. Which operator is applied when,
// and to which operands, follows from the text alone (see ExpressionCompiler),
// so an evaluation only replays the steps: fetch the right operand, then the
// left one (fetching a variable creates and lists it, so the order is kept),
// apply the operator, push the result. Results read back as operands pass
// through their 15-digit text form, exactly like every intermediate value.
#include <cmath>
#include <cstdint>
#include <limits>
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
    // VariablePlusZero: the result of "variable + 0" taken at once as this
    // operand, the step that made it folded in (a comparison's right side).
    // VariablePlusZero stays last: the step table is sized by it.
    enum class Kind : std::uint8_t { Constant, Variable, Result, Overflow, VariablePlusZero };
    Kind kind = Kind::Constant;
    std::uint32_t slot = 0;  // Result: where the step that made it left it
    double constant = 0;
    clsVar::Ref variable;
};

struct ExpressionStep;

// One step, specialised for its operator and operand kinds; returns the
// result. `results` holds the results of the steps before it.
using StepFunction = double (*)(const ExpressionStep& step, clsVar& variables, const double* results);

struct ExpressionStep {
    Operator op = Operator::Zero;
    // Where the result goes: the depth of the value stack it is pushed at,
    // known from the text like everything else, so no depth is kept at run time.
    std::uint32_t output = 0;
    Operand right;
    Operand left;  // unused by the prefix operators
    StepFunction run = nullptr;  // set by bind()

    void bind();
};

struct CompiledExpression {
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
    // Every text ends in "+0", so most expressions end by adding 0 to the last
    // result; that step is folded into the ending: read back, add 0.
    bool addsZeroLast = false;
    // The value, when the text holds constants only and was worked out once.
    std::optional<double> constantResult;

    // Runs the steps: the value, or nothing with error 120/121 recorded in
    // the variables' error state.
    // Arithmetic and stack errors are raised.
    // `results` has room for maxResults values.
    [[nodiscard]] std::optional<double> evaluate(clsVar& variables, double* results) const
    {
        const double value = m_evaluation(*this, variables, results);
        if (variables.errors().pending()) [[unlikely]] return std::nullopt;
        return value;
    }

    // Evaluates, then stores the value as clsVar::assign does: the value, or
    // 0 with error 120/121 or 59 recorded (an error raised stores nothing).
    [[nodiscard]] double assign(clsVar& variables, clsVar::Ref target, double* results) const
    {
        return m_assignment(*this, variables, target, results);
    }

    // Picks how evaluate() and assign() run, once the steps are final: most
    // statements are one step ("x = x + 1", "a < b"), and replaying those
    // needs neither the result stack nor the loop.
    void chooseEvaluation();
    // An evaluation returns the value, or leaves error 120/121 recorded (and
    // returns 0) when there is none: an optional<double> returned through a
    // function pointer goes through memory, which costs more than the step.
    using Evaluation = double (*)(const CompiledExpression&, clsVar&, double*);
    using Assignment = double (*)(const CompiledExpression&, clsVar&, clsVar::Ref, double*);

private:
    static double evaluateSteps(const CompiledExpression& compiled, clsVar& variables, double* results);
    static double assignAfterSteps(const CompiledExpression& compiled, clsVar& variables, clsVar::Ref target,
                                   double* results);
    double failedEnding(ErrorState& errors) const;

    Evaluation m_evaluation = &evaluateSteps;
    Assignment m_assignment = &assignAfterSteps;
};

[[nodiscard]] constexpr bool isPrefixOperator(Operator op)
{
    return op == Operator::Not || op == Operator::Abs || op == Operator::Sqr;
}

[[noreturn]] void raiseNotFinite(double result);    // 6 beyond the double range, 5 not a number
[[noreturn]] void raiseDivisionByZero(double dividend);  // 6 for 0/0, else 11

// An arithmetic result, or its error when it is not a finite number.
[[nodiscard]] inline double checked(double result)
{
    if (!(std::fabs(result) <= std::numeric_limits<double>::max())) [[unlikely]] raiseNotFinite(result);
    return result;
}

// a / b as the language divides: 0/0 overflows (6), x/0 is error 11.
[[nodiscard]] inline double checkedDivide(double a, double b)
{
    if (b == 0) [[unlikely]] raiseDivisionByZero(a);
    return checked(a / b);
}

}  // namespace tarnik
