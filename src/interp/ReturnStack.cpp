#include "interp/ReturnStack.h"

namespace tarnik {

ReturnStack::ReturnStack(std::size_t limit) : m_limit(limit), m_lines(new std::int16_t[limit]) {}

}  // namespace tarnik
