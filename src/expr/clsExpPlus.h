#pragma once
// The expression evaluator: conditions through logic(), values and
// assignments ("name = expression") through exp().
//
// Every expression is evaluated on two stacks with operator levels, and every
// intermediate result is read back through its 15-significant-digit text; the
// results of the whole language depend on both, so they are kept exactly.
// Because the stack decisions depend only on the text, each distinct text is
// compiled once (ExpressionCompiler) and replayed; the executor can hold the
// compiled forms directly (compileStatement / compileLogic) and skip the cache.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "expr/CompiledExpression.h"
#include "expr/BasicError.h"
#include "expr/Errors.h"
#include "expr/NumberText.h"

namespace tarnik {

// An assignment "v = v + c" or "v = v - c" (the same name on both sides, a
// constant c), the commonest statement of all: a counter.
struct Increment {
    clsVar::Ref variable;
    double amount = 0;  // c, or -c: subtracting is adding the negated constant
};

// A statement as exp() runs it, compiled: an expression, an assignment, or an assignment
// whose target name is refused before anything is evaluated.
struct CompiledStatement {
    enum class Kind { Expression, Assignment, BadName };
    Kind kind = Kind::Expression;
    const CompiledExpression* source = nullptr;
    clsVar::Ref target;
    ErrorText nameError{};
    // An assignment that is a counter: once its variable is in use, it runs
    // without the steps of `source`, with exactly their outcome.
    std::optional<Increment> increment;
};

class clsExpPlus {
public:
    // Evaluates against `variables`, recording errors in their error state.
    explicit clsExpPlus(clsVar& variables);

    [[nodiscard]] bool logic(std::u16string_view text);
    std::optional<double> exp(std::u16string_view text);
    [[nodiscard]] static bool isKey(std::u16string_view word);

    // The compiled forms; valid until the variable store is cleared.
    const CompiledStatement& compileStatement(std::u16string_view text);
    const CompiledExpression& compileLogic(std::u16string_view text) { return compiledExpression(text); }
    std::optional<double> exp(const CompiledStatement& compiled)
    {
        if (compiled.kind == CompiledStatement::Kind::BadName) [[unlikely]] raiseError(compiled.nameError);
        if (compiled.kind == CompiledStatement::Kind::Expression) {
            return compiled.source->evaluate(m_variables, m_results.data());
        }
        const double value = assign(compiled);
        if (m_variables.errors().pending()) [[unlikely]] return std::nullopt;
        return value;
    }
    // An assignment whose name was accepted (Kind::Assignment): the value, or
    // 0 with the error left in the error state.
    double assign(const CompiledStatement& compiled)
    {
        double value = 0;
        if (compiled.increment && tryIncrement(*compiled.increment, value)) [[likely]] return value;
        return compiled.source->assign(m_variables, compiled.target, m_results.data());
    }
    [[nodiscard]] bool logic(const CompiledExpression& compiled)
    {
        std::optional<double> value = compiled.evaluate(m_variables, m_results.data());
        return value && *value != 0;
    }

private:
    // Runs an increment as its compiled assignment would, when the variable is
    // ready (its first use did its listing): reads it, adds, checks, reads the
    // sum back to 15 digits, clears the error state, stores; raises what the
    // compiled form raises. False, with nothing done, when it is not ready.
    bool tryIncrement(const Increment& increment, double& value)
    {
        if (!m_variables.isReady(increment.variable)) return false;
        double& stored = m_variables.readyValue(increment.variable);
        value = readBack15(checked(stored + increment.amount));
        m_variables.errors().clear();
        stored = value;
        return true;
    }
    const CompiledExpression& compiledExpression(std::u16string_view text);
    void dropCacheIfStale();

    clsVar& m_variables;
    std::uint64_t m_generation;
    std::unordered_map<std::u16string, std::unique_ptr<CompiledExpression>> m_expressions;
    std::unordered_map<std::u16string, std::unique_ptr<CompiledStatement>> m_exps;
    std::vector<double> m_results;  // room for the deepest compiled expression's results
};

}  // namespace tarnik
