#pragma once
// What the debugger marks: the variables whose shown value differs from the
// one shown at the previous pause, and the variables that did not exist then.
// A value counts as changed only when its text changes, so that a beginner
// never sees a mark next to a number that looks the same.
#include <optional>
#include <string>
#include <vector>

namespace tarnik {

struct VariableValue {
    std::u16string name;
    double value = 0;

    friend bool operator==(const VariableValue&, const VariableValue&) = default;
};

enum class ValueChange { Same, Changed, New };

struct WatchedVariable {
    std::u16string name;
    std::u16string text;          // the value as PRINT shows it
    ValueChange change = ValueChange::Same;
    std::u16string previousText;  // for Changed: the text at the previous pause
};

// `now` in its own order, each compared with `previous` by name. Without a
// previous pause (the first pause of a run) nothing is marked.
[[nodiscard]] std::vector<WatchedVariable> compareWithPreviousPause(
    const std::optional<std::vector<VariableValue>>& previous, const std::vector<VariableValue>& now);

}  // namespace tarnik
