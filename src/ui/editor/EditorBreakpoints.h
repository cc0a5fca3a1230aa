#pragma once
// The editor's breakpoints, kept between runs: each is a cursor at the start
// of its line, so it moves with the line as lines are added or removed above
// it; a line removed with its breakpoint leaves it on the line that takes its
// place. Each may carry a condition (empty: it always holds).
#include <QString>
#include <QTextCursor>
#include <vector>

#include "interp/RunController.h"

class QTextDocument;

namespace tarnik {

class EditorBreakpoints {
public:
    explicit EditorBreakpoints(QTextDocument& document) : m_document(document) {}

    // Lines counted from 1, in line order, each once.
    [[nodiscard]] std::vector<LineBreakpoint> list() const;
    [[nodiscard]] bool has(int line) const;
    [[nodiscard]] QString condition(int line) const;
    // True when the line has a breakpoint afterwards.
    bool toggle(int line);
    // Sets a breakpoint on the line, with the condition (empty: none).
    void set(int line, const QString& condition);
    void remove(int line);
    // The lines of a run's breakpoints, ticked in the debugger: conditions
    // stay with the lines kept.
    void keepOnly(const std::vector<int>& lines);
    void clear() { m_marks.clear(); }

private:
    struct Mark {
        QTextCursor at;
        QString condition;
    };
    [[nodiscard]] static int lineOf(const Mark& mark) { return mark.at.blockNumber() + 1; }
    [[nodiscard]] std::vector<Mark>::iterator find(int line);
    [[nodiscard]] std::vector<Mark>::const_iterator find(int line) const;
    void dropDuplicates();

    QTextDocument& m_document;
    std::vector<Mark> m_marks;
};

}  // namespace tarnik
