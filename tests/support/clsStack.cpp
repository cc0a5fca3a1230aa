#include "support/clsStack.h"

#include "expr/BasicError.h"
#include "expr/NumberText.h"

namespace tarnik {

StackValue clsStack::Pop()
{
    if (m_entries.empty()) raiseError(kSubscriptOutOfRange);
    StackValue top = std::move(m_entries.back());
    m_entries.pop_back();
    return top;
}

const StackValue& clsStack::Item(std::int16_t depth) const
{
    if (depth == kMax16Bit) raiseError(kOverflow);
    if (depth < 0 || depth >= Count()) raiseError(kSubscriptOutOfRange);
    return m_entries[m_entries.size() - 1 - static_cast<std::size_t>(depth)];
}

}  // namespace tarnik
