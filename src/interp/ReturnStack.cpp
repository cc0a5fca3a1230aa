#include "interp/ReturnStack.h"

namespace tarnik {

ReturnStack::ReturnStack(std::size_t limit) : m_limit(limit), m_lines(new std::int16_t[limit]) {}

std::vector<std::int16_t> ReturnStack::entries() const
{
    std::vector<std::int16_t> lines;
    lines.reserve(m_size);
    for (std::size_t at = 0; at < m_size; ++at) lines.push_back(m_lines[wrap(m_bottom + at)]);
    return lines;
}

}  // namespace tarnik
