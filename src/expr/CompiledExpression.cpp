#include "expr/CompiledExpression.h"

#include <array>
#include <cmath>
#include <utility>
#include <limits>

#include "expr/CompilerHints.h"
#include "expr/NumberText.h"

namespace tarnik {
namespace {


double truth(bool value) { return value ? 1.0 : 0.0; }

double power(double a, double b)
{
    if (a < 0 && b != std::trunc(b)) raiseError(kInvalidCall);
    return checked(std::pow(a, b));
}

TARNIK_ALWAYS_INLINE double modulo(double a, double b)
{
    std::int32_t left = toInt32(a);
    std::int32_t right = toInt32(b);
    if (right == 0) raiseError(kDivisionByZero);
    if (right == -1) return 0;  // INT32_MIN % -1 is undefined in C++
    return left % right;
}

template <Operator Op>
TARNIK_ALWAYS_INLINE double apply(double a, double b)
{
    if constexpr (Op == Operator::Add) return checked(a + b);
    if constexpr (Op == Operator::Subtract) return checked(a - b);
    if constexpr (Op == Operator::Multiply) return checked(a * b);
    if constexpr (Op == Operator::Divide) return checkedDivide(a, b);
    if constexpr (Op == Operator::Power) return power(a, b);
    if constexpr (Op == Operator::Mod) return modulo(a, b);
    if constexpr (Op == Operator::And) return truth(a != 0 && b != 0);
    if constexpr (Op == Operator::Or) return truth(a != 0 || b != 0);
    if constexpr (Op == Operator::Xor) return truth((a != 0) != (b != 0));
    if constexpr (Op == Operator::Less) return truth(a < b);
    if constexpr (Op == Operator::Greater) return truth(a > b);
    if constexpr (Op == Operator::Equal) return truth(a == b);
    if constexpr (Op == Operator::NotEqual) return truth(a != b);
    if constexpr (Op == Operator::GreaterEqual) return truth(a >= b);
    if constexpr (Op == Operator::LessEqual) return truth(a <= b);
    if constexpr (Op == Operator::Not) return truth(b == 0);
    if constexpr (Op == Operator::Abs) return std::fabs(b);
    if constexpr (Op == Operator::Sqr) {
        if (b < 0) raiseError(kInvalidCall);
        return std::sqrt(b);
    }
    return 0;
}

}  // namespace

void raiseNotFinite(double result) { raiseError(std::isnan(result) ? kInvalidCall : kOverflow); }

void raiseDivisionByZero(double dividend) { raiseError(dividend == 0 ? kOverflow : kDivisionByZero); }

namespace {

template <Operand::Kind Kind>
TARNIK_ALWAYS_INLINE double fetch(const Operand& operand, clsVar& variables, const double* results)
{
    if constexpr (Kind == Operand::Kind::Constant) return operand.constant;
    if constexpr (Kind == Operand::Kind::Variable) return variables.operandValue(operand.variable);
    if constexpr (Kind == Operand::Kind::Result) return readBack15(results[operand.slot]);
    if constexpr (Kind == Operand::Kind::Overflow) raiseError(kOverflow);
    if constexpr (Kind == Operand::Kind::VariablePlusZero) {
        // The sum v + 0 is finite (nothing to check) and differs from v only
        // for -0, which reads back as 0 either way.
        return readBack15(variables.operandValue(operand.variable));
    }
    return 0;
}

// The right operand is fetched first, then the left one, as the value stack
// is popped; fetching creates variables, so the order shows in their listing.
template <Operator Op, Operand::Kind Right, Operand::Kind Left>
TARNIK_ALWAYS_INLINE double runStep(const ExpressionStep& step, clsVar& variables, const double* results)
{
    const double b = fetch<Right>(step.right, variables, results);
    if constexpr (Op == Operator::FailAfterRight) raiseError(kSubscriptOutOfRange);
    if constexpr (isPrefixOperator(Op)) {
        return apply<Op>(0, b);
    } else {
        return apply<Op>(fetch<Left>(step.left, variables, results), b);
    }
}

constexpr std::size_t kOperators = static_cast<std::size_t>(Operator::FailAfterRight) + 1;
// Operand kinds, the last one counted in: the step table has an entry for
// every operator and every pair of kinds.
constexpr std::size_t kKinds = static_cast<std::size_t>(Operand::Kind::VariablePlusZero) + 1;

template <std::size_t Index>
constexpr StepFunction stepFunction()
{
    constexpr auto op = static_cast<Operator>(Index / (kKinds * kKinds));
    constexpr auto right = static_cast<Operand::Kind>(Index / kKinds % kKinds);
    constexpr auto left = static_cast<Operand::Kind>(Index % kKinds);
    return &runStep<op, right, left>;
}

template <std::size_t... Index>
constexpr auto makeStepTable(std::index_sequence<Index...>)
{
    return std::array<StepFunction, sizeof...(Index)>{stepFunction<Index>()...};
}

constexpr auto kStepTable = makeStepTable(std::make_index_sequence<kOperators * kKinds * kKinds>{});

std::size_t stepIndex(const ExpressionStep& step)
{
    return static_cast<std::size_t>(step.op) * kKinds * kKinds + static_cast<std::size_t>(step.right.kind) * kKinds +
           static_cast<std::size_t>(step.left.kind);
}

// The whole evaluation of an expression that is one step: what evaluateSteps
// does for it, with the step's result kept in a register.
template <Operator Op, Operand::Kind Right, Operand::Kind Left, bool AddsZeroLast>
TARNIK_ALWAYS_INLINE double evaluateOneStep(const CompiledExpression& compiled, clsVar& variables)
{
    const double result = runStep<Op, Right, Left>(compiled.steps.front(), variables, nullptr);
    variables.errors().clear();
    if constexpr (AddsZeroLast) return readBack15(result);  // adding 0 to a read-back value changes nothing
    return result;
}

// Tables of the one-step forms, indexed by the step's index in kStepTable,
// twice, and whether "+0" was folded in.
template <Operator Op, Operand::Kind Right, Operand::Kind Left, bool AddsZeroLast>
struct OneStep {
    static double evaluate(const CompiledExpression& compiled, clsVar& variables, double*)
    {
        return evaluateOneStep<Op, Right, Left, AddsZeroLast>(compiled, variables);
    }
    static double assign(const CompiledExpression& compiled, clsVar& variables, clsVar::Ref target, double*)
    {
        return variables.assign(target, evaluateOneStep<Op, Right, Left, AddsZeroLast>(compiled, variables));
    }
};

template <std::size_t Index>
using OneStepAt = OneStep<static_cast<Operator>(Index / 2 / (kKinds * kKinds)),
                          static_cast<Operand::Kind>(Index / 2 / kKinds % kKinds),
                          static_cast<Operand::Kind>(Index / 2 % kKinds), Index % 2 == 1>;

template <std::size_t... Index>
constexpr auto makeOneStepEvaluations(std::index_sequence<Index...>)
{
    return std::array<CompiledExpression::Evaluation, sizeof...(Index)>{&OneStepAt<Index>::evaluate...};
}

template <std::size_t... Index>
constexpr auto makeOneStepAssignments(std::index_sequence<Index...>)
{
    return std::array<CompiledExpression::Assignment, sizeof...(Index)>{&OneStepAt<Index>::assign...};
}

constexpr auto kOneStepIndices = std::make_index_sequence<kOperators * kKinds * kKinds * 2>{};
constexpr auto kOneStepEvaluations = makeOneStepEvaluations(kOneStepIndices);
constexpr auto kOneStepAssignments = makeOneStepAssignments(kOneStepIndices);

}  // namespace

void ExpressionStep::bind() { run = kStepTable[stepIndex(*this)]; }

void CompiledExpression::chooseEvaluation()
{
    // A single step cannot take an earlier result; a folded constant has no step.
    if (ending != Ending::Result || constantResult || steps.size() != 1) return;
    const std::size_t index = stepIndex(steps.front()) * 2 + (addsZeroLast ? 1 : 0);
    m_evaluation = kOneStepEvaluations[index];
    m_assignment = kOneStepAssignments[index];
}

double CompiledExpression::assignAfterSteps(const CompiledExpression& compiled, clsVar& variables, clsVar::Ref target,
                                            double* results)
{
    const double value = evaluateSteps(compiled, variables, results);
    if (variables.errors().pending()) return 0;
    return variables.assign(target, value);
}

double CompiledExpression::evaluateSteps(const CompiledExpression& compiled, clsVar& variables, double* results)
{
    for (const ExpressionStep& step : compiled.steps) results[step.output] = step.run(step, variables, results);
    if (compiled.ending != Ending::Result) [[unlikely]] return compiled.failedEnding(variables.errors());
    variables.errors().clear();
    if (compiled.constantResult) return *compiled.constantResult;
    const double last = results[compiled.steps.back().output];
    return compiled.addsZeroLast ? readBack15(last) : last;
}

double CompiledExpression::failedEnding(ErrorState& errors) const
{
    switch (ending) {
    case Ending::StackError: raiseError(kSubscriptOutOfRange);
    case Ending::TooLong: raiseError(kOverflow);
    case Ending::NotEnded: errors.record(kStatementNotEnded); break;
    case Ending::Invalid: errors.record(kStatementInvalid); break;
    case Ending::Result: break;
    }
    return 0;
}

}  // namespace tarnik
