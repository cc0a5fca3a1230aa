#include "interp/VariableChanges.h"

#include <unordered_map>

#include "expr/NumberText.h"

namespace tarnik {

std::vector<WatchedVariable> compareWithPreviousPause(const std::optional<std::vector<VariableValue>>& previous,
                                                      const std::vector<VariableValue>& now)
{
    std::unordered_map<std::u16string, double> before;
    if (previous) {
        for (const VariableValue& variable : *previous) before.emplace(variable.name, variable.value);
    }
    std::vector<WatchedVariable> watched;
    watched.reserve(now.size());
    for (const VariableValue& variable : now) {
        WatchedVariable entry;
        entry.name = variable.name;
        entry.text = numberText(variable.value);
        if (previous) {
            const auto found = before.find(variable.name);
            if (found == before.end()) {
                entry.change = ValueChange::New;
            } else if (std::u16string text = numberText(found->second); text != entry.text) {
                entry.change = ValueChange::Changed;
                entry.previousText = std::move(text);
            }
        }
        watched.push_back(std::move(entry));
    }
    return watched;
}

}  // namespace tarnik
