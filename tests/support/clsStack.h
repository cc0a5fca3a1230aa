#pragma once
// The general-purpose value stack: untyped entries (text or a number), top at
// Item(0). It checks nothing itself: reading an entry that does not exist
// raises error 9, like the keyed collection it stands for.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace tarnik {

using StackValue = std::variant<std::u16string, double>;

class clsStack {
public:
    void Push(StackValue value) { m_entries.push_back(std::move(value)); }
    StackValue Pop();
    void Clear() { m_entries.clear(); }
    [[nodiscard]] std::int32_t Count() const { return static_cast<std::int32_t>(m_entries.size()); }
    // depth 0 is the top; a depth of 32767 overflows before anything is read.
    [[nodiscard]] const StackValue& Item(std::int16_t depth) const;

private:
    std::vector<StackValue> m_entries;  // the top is the last element
};

}  // namespace tarnik
