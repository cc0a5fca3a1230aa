#include "expr/ExpressionProgram.h"

#include <cmath>

#include "expr/NumberText.h"
#include "expr/ProgramState.h"

namespace tarnik {
namespace {

double checked(double result)
{
    if (std::isinf(result)) raiseError(kOverflow);
    if (std::isnan(result)) raiseError(kInvalidCall);
    return result;
}

double truth(bool value) { return value ? 1.0 : 0.0; }

double divide(double a, double b)
{
    if (b == 0) raiseError(a == 0 ? kOverflow : kDivisionByZero);
    return checked(a / b);
}

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

double apply(Operator op, double a, double b)
{
    switch (op) {
    case Operator::Add: return checked(a + b);
    case Operator::Subtract: return checked(a - b);
    case Operator::Multiply: return checked(a * b);
    case Operator::Divide: return divide(a, b);
    case Operator::Power: return power(a, b);
    case Operator::Mod: return modulo(a, b);
    case Operator::And: return truth(a != 0 && b != 0);
    case Operator::Or: return truth(a != 0 || b != 0);
    case Operator::Xor: return truth((a != 0) != (b != 0));
    case Operator::Less: return truth(a < b);
    case Operator::Greater: return truth(a > b);
    case Operator::Equal: return truth(a == b);
    case Operator::NotEqual: return truth(a != b);
    case Operator::GreaterEqual: return truth(a >= b);
    case Operator::LessEqual: return truth(a <= b);
    case Operator::Not: return truth(b == 0);
    case Operator::Abs: return std::fabs(b);
    case Operator::Sqr:
        if (b < 0) raiseError(kInvalidCall);
        return std::sqrt(b);
    case Operator::Zero:
    case Operator::FailAfterRight: return 0;
    }
    return 0;
}

}  // namespace

bool isPrefixOperator(Operator op) { return op == Operator::Not || op == Operator::Abs || op == Operator::Sqr; }

std::optional<double> ExpressionProgram::evaluate(clsVar& variables, std::vector<double>& results) const
{
    results.clear();
    auto fetch = [&](const Operand& operand) -> double {
        switch (operand.kind) {
        case Operand::Kind::Constant: return operand.constant;
        case Operand::Kind::Variable: return variables.getVar(operand.variable).value_or(0.0);
        case Operand::Kind::Result: {
            double value = results.back();
            results.pop_back();
            return readBack15(value);
        }
        case Operand::Kind::Overflow: raiseError(kOverflow);
        }
        return 0;
    };

    for (const ExpressionStep& step : steps) {
        double b = fetch(step.right);
        if (step.op == Operator::FailAfterRight) raiseError(kSubscriptOutOfRange);
        double a = isPrefixOperator(step.op) ? 0.0 : fetch(step.left);
        results.push_back(apply(step.op, a, b));
    }

    switch (ending) {
    case Ending::StackError: raiseError(kSubscriptOutOfRange);
    case Ending::TooLong: raiseError(kOverflow);
    case Ending::NotEnded:
        program.Err.record(kStatementNotEnded);
        return std::nullopt;
    case Ending::Invalid:
        program.Err.record(kStatementInvalid);
        return std::nullopt;
    case Ending::Result: break;
    }
    program.Err.clear();
    return results.back();
}

}  // namespace tarnik
