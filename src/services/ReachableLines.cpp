#include "services/ReachableLines.h"

#include <algorithm>

#include "expr/BasicError.h"
#include "expr/NumberText.h"

namespace tarnik {
namespace {

// A DO-loop link, which the linker writes as decimal text ("" for none).
std::size_t linkIndex(std::u16string_view text)
{
    std::size_t index = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') return 0;
        index = index * 10 + static_cast<std::size_t>(c - u'0');
    }
    return index;
}

std::size_t linkIndex(std::int16_t link) { return link > 0 ? static_cast<std::size_t>(link) : 0; }

}  // namespace

std::optional<std::size_t> jumpTarget(const clsLine& line, const std::vector<clsLine>& table)
{
    const std::u16string target = line.Body();
    if (!isDecimalNumber(target)) return std::nullopt;
    std::int16_t label = 0;
    try {
        label = toInt16(decimalValue(target));
    } catch (const BasicError&) {
        return std::nullopt;
    }
    if (label == 0) return 0;
    const auto found = std::find_if(table.begin() + 1, table.end(), [&](const clsLine& other) { return other.vLine == label; });
    return found == table.end() ? 0 : static_cast<std::size_t>(found - table.begin());
}

ReachableLines::ReachableLines(const std::vector<clsLine>& table)
    : m_table(table), m_seen(table.size(), std::array<bool, 2>{false, false})
{
    visit(1, Empty);
    for (std::size_t index = 1; index < m_table.size(); ++index) {
        if (m_table[index].vLine != 0) visit(index, Pushed);
    }
    while (!m_pending.empty()) {
        const auto [index, stack] = m_pending.back();
        m_pending.pop_back();
        follow(index, stack);
    }
}

bool ReachableLines::reachable(std::size_t index) const
{
    return index < m_seen.size() && (m_seen[index][Empty] || m_seen[index][Pushed]);
}

void ReachableLines::visit(std::size_t index, Stack stack)
{
    if (index == 0 || index >= m_table.size() || m_seen[index][stack]) return;
    m_seen[index][stack] = true;
    m_pending.emplace_back(index, stack);
}

// Execution goes on after the line `link`; a link the linker left empty
// (never in a translated table) is taken as the next line.
void ReachableLines::visitAfter(std::size_t link, std::size_t index, Stack stack)
{
    visit((link != 0 ? link : index) + 1, stack);
}

void ReachableLines::follow(std::size_t index, Stack stack)
{
    const clsLine& line = m_table[index];
    const std::u16string_view head = line.Head();
    // A link's line; slot 0 (no links of its own) for a link out of the table.
    const auto at = [&](std::size_t link) -> const clsLine& { return m_table[link < m_table.size() ? link : 0]; };
    if (head == u"end") return;
    if (head == u"goto" || head == u"gosub") return followJump(index, stack);
    if (head == u"return") return followReturn(index, stack);
    if (head == u"else") {
        return visitAfter(linkIndex(at(linkIndex(line.else_if_id)).if_endif_id), index, stack);
    }
    if (head == u"exit for") {
        return visitAfter(linkIndex(at(linkIndex(line.exitfor_for_id)).for_next_id), index, stack);
    }
    if (head == u"exit do") {
        const std::size_t loopEnd = line.exitdo_do.empty()
                                        ? linkIndex(at(linkIndex(line.exitdo_dowhile)).dowhile_loop)
                                        : linkIndex(at(linkIndex(line.exitdo_do)).do_loopuntil_id);
        return visitAfter(loopEnd, index, stack);
    }
    if (head == u"loop") {
        const std::size_t top = linkIndex(line.loop_dowhile);
        return visit(top != 0 ? top : index + 1, stack);
    }
    // The branches that may leave the next line out: the condition decides.
    if (head == u"if") visitAfter(linkIndex(line.if_else_id != 0 ? line.if_else_id : line.if_endif_id), index, stack);
    if (head == u"for") visitAfter(linkIndex(line.for_next_id), index, stack);
    if (head == u"next") visitAfter(linkIndex(line.next_for_id), index, stack);
    if (head == u"do while") visitAfter(linkIndex(line.dowhile_loop), index, stack);
    if (head == u"loop until") visitAfter(linkIndex(line.loopuntile_do_id), index, stack);
    visit(index + 1, stack);
}

void ReachableLines::followJump(std::size_t index, Stack stack)
{
    const std::optional<std::size_t> target = jumpTarget(m_table[index], m_table);
    if (!target || *target == 0) return visit(index + 1, stack);
    visit(*target, Pushed);
    m_returnPoints.push_back(index + 1);
    if (m_returnSeen) returnTo(index + 1);
}

void ReachableLines::followReturn(std::size_t index, Stack stack)
{
    if (stack == Empty) return visit(index + 1, Empty);
    if (m_returnSeen) return;
    m_returnSeen = true;
    for (const std::size_t point : m_returnPoints) returnTo(point);
}

// What is left on the stack after a RETURN is not followed: empty or not.
void ReachableLines::returnTo(std::size_t point)
{
    visit(point, Empty);
    visit(point, Pushed);
}

}  // namespace tarnik
