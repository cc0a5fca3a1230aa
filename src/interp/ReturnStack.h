#pragma once
// The lines GOTO and GOSUB push for RETURN: at most `limit` of them, a push
// onto a full stack dropping the oldest. They are kept in a ring, so that a
// GOTO loop that keeps the stack full costs no more per jump than an empty
// stack does.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace tarnik {

class ReturnStack {
public:
    explicit ReturnStack(std::size_t limit);

    [[nodiscard]] bool empty() const { return m_size == 0; }

    void push(std::int16_t line)
    {
        if (m_size == m_limit) {
            m_bottom = wrap(m_bottom + 1);
            --m_size;
        }
        m_lines[wrap(m_bottom + m_size)] = line;
        ++m_size;
    }

    // The line pushed last; the stack must not be empty.
    std::int16_t pop()
    {
        --m_size;
        return m_lines[wrap(m_bottom + m_size)];
    }

    // The lines held, the oldest first.
    [[nodiscard]] std::vector<std::int16_t> entries() const;

private:
    [[nodiscard]] std::size_t wrap(std::size_t at) const { return at < m_limit ? at : at - m_limit; }

    std::size_t m_limit;
    std::unique_ptr<std::int16_t[]> m_lines;  // left uninitialised: pages are touched only as the stack grows
    std::size_t m_bottom = 0;
    std::size_t m_size = 0;
};

}  // namespace tarnik
