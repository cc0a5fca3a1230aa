#pragma once
// The error model.
//
// There is one program-wide error state (a number and a description, see
// ErrorState). An error is either *raised*: a BasicError exception that leaves
// the current procedure at once and travels to the caller; or *recorded*: it is
// stored in the error state and the procedure goes on. Procedures that work in
// "resume-next" mode clear the state when entered and turn an error raised by
// one of their steps into a recorded one, skipping the rest of that step; that
// is what resumeNext() does. The executor looks at the state at fixed points
// and ends the run when the number is greater than 0.
#include <cstdint>
#include <string>

#include "expr/CompilerHints.h"
#include "expr/Errors.h"

namespace tarnik {

struct BasicError {
    std::int32_t number = 0;
    std::u16string description;
};

struct BasicError;
// The error-table entry as an error value, to raise or record later.
[[nodiscard]] BasicError errorOf(const ErrorText& error);
[[noreturn]] void raiseError(const ErrorText& error);
[[noreturn]] void raiseError(std::int32_t number, std::u16string description);

// Error 202: "表达式" + text + "错误".
BasicError badExpressionError(std::u16string_view text);
// Error 59: "变量名" + name + "不合法".
BasicError reservedNameError(std::u16string_view name);

class ErrorState {
public:
    [[nodiscard]] std::int32_t number() const { return m_error.number; }
    [[nodiscard]] const std::u16string& description() const { return m_error.description; }
    [[nodiscard]] bool pending() const { return m_error.number > 0; }
    [[nodiscard]] const BasicError& error() const { return m_error; }

    void record(BasicError error) { m_error = std::move(error); }
    void record(const ErrorText& error) { record(errorOf(error)); }
    TARNIK_ALWAYS_INLINE void clear()
    {
        if (m_error.number != 0) [[unlikely]] forget();
    }

    // Runs one step in resume-next mode: a raised error is recorded and the
    // rest of the step is skipped. Returns false when the step was cut short.
    template <class Step>
    bool resumeNext(Step&& step)
    {
        try {
            step();
            return true;
        } catch (BasicError& raised) {
            record(std::move(raised));
            return false;
        }
    }

private:
    void forget();

    BasicError m_error;
};

}  // namespace tarnik
