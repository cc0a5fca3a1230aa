#pragma once
// The expression language evaluated the slow, obvious way, as the yardstick
// for clsExpPlus: every call rewrites its text anew, reads it word by word and
// shunts the words between two clsStacks, looking every operator level up in a
// clsVar and every operand up in the given variables at the moment the language
// says so. No caching, no precomputation: whatever clsExpPlus does faster must
// come out exactly like this, down to the bits of every result, the error
// raised or recorded, and the order in which variables get created.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "support/clsStack.h"
#include "expr/clsVar.h"

namespace tarnik::test {

class ReferenceEvaluator {
public:
    // Evaluates against `variables`, recording errors in their error state.
    explicit ReferenceEvaluator(clsVar& variables);

    [[nodiscard]] bool logic(std::u16string_view text);
    std::optional<double> exp(std::u16string_view text);
    [[nodiscard]] static bool isKey(std::u16string_view word);

private:
    std::optional<double> evalExp(std::u16string_view text);
    void shunt(const std::u16string& word);
    void closeBracket();
    void moveTopOperator();
    void reduce();
    double valueOf(const StackValue& entry);
    std::int32_t levelOf(std::u16string_view word);
    [[nodiscard]] const std::u16string& topOperator() const;

    clsVar& m_variables;
    clsVar m_priority;
    clsStack m_ops;
    clsStack m_vals;
};

}  // namespace tarnik::test
