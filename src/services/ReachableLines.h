#pragma once
// Which lines of a translated table can ever run. Every way the executor
// moves on is followed: the next line, the links of IF, ELSE, FOR, NEXT,
// EXIT FOR, DO WHILE, LOOP, LOOP UNTIL and EXIT DO, the labels of GOTO and
// GOSUB, and RETURN. Conditions are not evaluated (both ways count), so a
// line found unreachable never runs, whatever the answers to INPUT.
//
// A labelled line counts as reachable, as if jumped to: the label shows it is
// meant as a target. RETURN with nothing to go back to goes on with the next
// line, so the return stack is followed as far as "empty" or "not empty";
// GOTO pushes as GOSUB does, and RETURN goes back after any of them.
// A GOTO or GOSUB to a label that no line carries stops the run; it is
// warned about on its own, and taken here as going on with the next line.
#include <array>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "interp/clsLine.h"

namespace tarnik {

class ReachableLines {
public:
    // `table` as translation leaves it: slot 0 unused, the links filled.
    explicit ReachableLines(const std::vector<clsLine>& table);

    [[nodiscard]] bool reachable(std::size_t index) const;

private:
    enum Stack : std::size_t { Empty = 0, Pushed = 1 };

    const std::vector<clsLine>& m_table;
    std::vector<std::array<bool, 2>> m_seen;
    std::vector<std::pair<std::size_t, Stack>> m_pending;
    std::vector<std::size_t> m_returnPoints;  // the lines after the jumps seen so far
    bool m_returnSeen = false;                // a RETURN reached with something to go back to

    void visit(std::size_t index, Stack stack);
    void visitAfter(std::size_t link, std::size_t index, Stack stack);
    void follow(std::size_t index, Stack stack);
    void followJump(std::size_t index, Stack stack);
    void followReturn(std::size_t index, Stack stack);
    void returnTo(std::size_t point);
};

// The table index a GOTO or GOSUB line jumps to: 0 when no line carries its
// label (or the label is 0); nullopt when its target is no label at all (not
// a decimal number, or beyond the labels' range: an error of its own).
[[nodiscard]] std::optional<std::size_t> jumpTarget(const clsLine& line, const std::vector<clsLine>& table);

}  // namespace tarnik
