#pragma once
// Evaluates the debugger's watch expressions and breakpoint conditions on a
// copy of a moment's variables, so that looking never changes the program:
// a name the program never used reads 0 in the copy only. A watch whose "="
// would assign (as a statement's would) is refused rather than evaluated,
// since its value would not be what the beginner meant to look at.
#include <string>
#include <string_view>
#include <vector>

#include "expr/BasicError.h"
#include "expr/clsExpPlus.h"
#include "expr/clsVar.h"
#include "interp/VariableChanges.h"

namespace tarnik {

// A watch's value as PRINT shows it, or, when it has none, why.
struct WatchResult {
    bool ok = false;
    std::u16string text;

    friend bool operator==(const WatchResult&, const WatchResult&) = default;
};

class WatchEvaluator {
public:
    explicit WatchEvaluator(const std::vector<VariableValue>& variables);
    WatchEvaluator(const WatchEvaluator&) = delete;
    WatchEvaluator& operator=(const WatchEvaluator&) = delete;

    [[nodiscard]] WatchResult value(std::u16string_view expression);
    // A condition as IF reads it ("=" compares); one that cannot be
    // evaluated holds, so that the pause shows what is wrong with it.
    [[nodiscard]] bool holds(std::u16string_view condition);

private:
    ErrorState m_errors;
    clsVar m_variables{m_errors};
    clsExpPlus m_evaluator{m_variables};
};

}  // namespace tarnik
