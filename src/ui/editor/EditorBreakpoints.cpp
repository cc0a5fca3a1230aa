#include "ui/editor/EditorBreakpoints.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>


namespace tarnik {

std::vector<EditorBreakpoints::Mark>::iterator EditorBreakpoints::find(int line)
{
    return std::find_if(m_marks.begin(), m_marks.end(), [line](const Mark& mark) { return lineOf(mark) == line; });
}

std::vector<EditorBreakpoints::Mark>::const_iterator EditorBreakpoints::find(int line) const
{
    return std::find_if(m_marks.begin(), m_marks.end(), [line](const Mark& mark) { return lineOf(mark) == line; });
}

// Lines removed together leave their marks on one line: the first one stays.
void EditorBreakpoints::dropDuplicates()
{
    std::vector<Mark> kept;
    for (Mark& mark : m_marks) {
        const bool seen = std::any_of(kept.begin(), kept.end(), [&](const Mark& other) { return lineOf(other) == lineOf(mark); });
        if (!seen) kept.push_back(std::move(mark));
    }
    m_marks = std::move(kept);
}

std::vector<LineBreakpoint> EditorBreakpoints::list() const
{
    std::vector<LineBreakpoint> breakpoints;
    for (const Mark& mark : m_marks) {
        const int line = lineOf(mark);
        const bool seen = std::any_of(breakpoints.begin(), breakpoints.end(),
                                      [line](const LineBreakpoint& other) { return other.line == line; });
        if (!seen) breakpoints.push_back({line, mark.condition.toStdU16String()});
    }
    std::sort(breakpoints.begin(), breakpoints.end(),
              [](const LineBreakpoint& a, const LineBreakpoint& b) { return a.line < b.line; });
    return breakpoints;
}

bool EditorBreakpoints::has(int line) const { return find(line) != m_marks.end(); }

QString EditorBreakpoints::condition(int line) const
{
    const auto found = find(line);
    return found == m_marks.end() ? QString() : found->condition;
}

bool EditorBreakpoints::toggle(int line)
{
    if (has(line)) {
        remove(line);
        return false;
    }
    set(line, QString());
    return has(line);
}

void EditorBreakpoints::set(int line, const QString& condition)
{
    dropDuplicates();
    const QTextBlock block = m_document.findBlockByNumber(line - 1);
    if (!block.isValid()) return;
    const auto found = find(line);
    if (found != m_marks.end()) {
        found->condition = condition.trimmed();
        return;
    }
    m_marks.push_back({QTextCursor(block), condition.trimmed()});
}

void EditorBreakpoints::remove(int line)
{
    std::erase_if(m_marks, [line](const Mark& mark) { return lineOf(mark) == line; });
}

void EditorBreakpoints::keepOnly(const std::vector<int>& lines)
{
    std::erase_if(m_marks, [&](const Mark& mark) {
        return std::find(lines.begin(), lines.end(), lineOf(mark)) == lines.end();
    });
    for (const int line : lines) {
        if (!has(line)) set(line, QString());
    }
}

}  // namespace tarnik
