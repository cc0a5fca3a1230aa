#include "expr/CompiledExpression.h"

#include <array>
#include <cmath>
#include <utility>
#include <limits>

#include "expr/NumberText.h"

namespace tarnik {
namespace {


double truth(bool value) { return value ? 1.0 : 0.0; }

double power(double a, double b)
{
    if (a < 0 && b != std::trunc(b)) raiseError(kInvalidCall);
    return checked(std::pow(a, b));
}

double modulo(double a, double b)
{
    std::int32_t left = toInt32(a);
    std::int32_t right = toInt32(b);
    if (right == 0) raiseError(kDivisionByZero);
    if (right == -1) return 0;  // INT32_MIN % -1 is undefined in C++
    return left % right;
}

template <Operator Op>
double apply(double a, double b)
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
double fetch(const Operand& operand, EvaluationState& state)
{
    if constexpr (Kind == Operand::Kind::Constant) return operand.constant;
    if constexpr (Kind == Operand::Kind::Variable) return state.variables.operandValue(operand.variable);
    if constexpr (Kind == Operand::Kind::Result) return readBack15(state.results[--state.depth]);
    if constexpr (Kind == Operand::Kind::Overflow) raiseError(kOverflow);
    if constexpr (Kind == Operand::Kind::VariablePlusZero) {
        return readBack15(state.variables.operandValue(operand.variable) + 0.0);  // a finite sum: nothing to check
    }
    return 0;
}

// The right operand is fetched first, then the left one, as the value stack
// is popped; fetching creates variables, so the order shows in their listing.
template <Operator Op, Operand::Kind Right, Operand::Kind Left>
double runStep(const ExpressionStep& step, EvaluationState& state)
{
    const double b = fetch<Right>(step.right, state);
    if constexpr (Op == Operator::FailAfterRight) raiseError(kSubscriptOutOfRange);
    if constexpr (isPrefixOperator(Op)) {
        return apply<Op>(0, b);
    } else {
        return apply<Op>(fetch<Left>(step.left, state), b);
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

}  // namespace

void ExpressionStep::bind()
{
    const auto index = static_cast<std::size_t>(op) * kKinds * kKinds +
                       static_cast<std::size_t>(right.kind) * kKinds + static_cast<std::size_t>(left.kind);
    run = kStepTable[index];
}

std::optional<double> CompiledExpression::evaluate(clsVar& variables, double* results) const
{
    EvaluationState state{variables, results, 0};
    for (const ExpressionStep& step : steps) {
        const double result = step.run(step, state);
        results[state.depth++] = result;
    }
    if (ending != Ending::Result) [[unlikely]] return failedEnding(variables.errors());
    variables.errors().clear();
    if (constantResult) return constantResult;
    const double last = results[state.depth - 1];
    return addsZeroLast ? readBack15(last) + 0.0 : last;
}

std::optional<double> CompiledExpression::failedEnding(ErrorState& errors) const
{
    switch (ending) {
    case Ending::StackError: raiseError(kSubscriptOutOfRange);
    case Ending::TooLong: raiseError(kOverflow);
    case Ending::NotEnded: errors.record(kStatementNotEnded); break;
    case Ending::Invalid: errors.record(kStatementInvalid); break;
    case Ending::Result: break;
    }
    return std::nullopt;
}

}  // namespace tarnik
