#pragma once
// The program text box: a plain text editor with a line-number gutter on its
// left, the program coloured as the translator reads it, and the caret's
// line lightly tinted. It keeps the marks of the lines the rewrite leaves
// alone (FinishedLines). The tint is a translucent shade of
// the palette's highlight, so it stays faint on a light and a dark theme and
// never hides the colours of the text.
//
// While a run is paused, the gutter also marks the line about to run (▶,
// with a background on the line). The breakpoints (●) are the editor's own,
// kept between runs and moving with their lines: a click in the gutter sets
// or clears one, its context menu also gives it a condition (the tooltip over
// the mark). A mark goes with the colour, so the line is found without
// telling colours apart.
//
// An input method's open composition (the pinyin being typed) is drawn in
// the text but is no part of it: it marks nothing as edited, and before a
// click or a caret-moving key it is committed where it was typed, so the
// input method never drops it somewhere else or leaves its image behind.
// A full-width slip's warning is the tooltip over it.
//
// After a run that stopped on a block left open (a For without its Next),
// the gutter marks the line where that block begins (◆, its reason the
// gutter's tooltip there) until the next run translates or another text is
// loaded; the mark moves with its line as lines are added above it.
#include <QPlainTextEdit>
#include <QTextBlock>
#include <optional>
#include <vector>

#include "ui/editor/EditorBreakpoints.h"
#include "ui/Theme.h"

class QPainter;

namespace tarnik {

class LineNumberGutter;
class SourceHighlighter;

class SourceEditor : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit SourceEditor(QWidget* parent = nullptr);

    // Shows `text` as a program just loaded: no line of it counts as edited,
    // so the rewrite of finished lines leaves each as it is until the user
    // edits it.
    void loadText(const QString& text);

    // The gutter's width for the present number of lines: the widest number
    // with room on both sides.
    [[nodiscard]] int gutterWidth() const;
    // Paints the numbers of the lines that lie in the area `event` asks for.
    void paintGutter(QPaintEvent& event);

    // Lines counted from 1. The paused line is scrolled into view.
    void showPausedRun(int line, const std::vector<int>& breakpoints);
    // The breakpoints of the paused run, ticked or unticked while it waits,
    // become the editor's.
    void showBreakpoints(const std::vector<int>& breakpoints);
    void clearPausedRun();
    [[nodiscard]] std::optional<int> pausedLine() const { return m_pausedLine; }
    [[nodiscard]] std::vector<int> breakpointMarks() const;
    [[nodiscard]] std::vector<LineBreakpoint> breakpoints() const { return m_breakpoints.list(); }
    [[nodiscard]] QString breakpointCondition(int line) const { return m_breakpoints.condition(line); }
    // Sets or clears the line's breakpoint and tells breakpointToggled.
    void toggleBreakpoint(int line);
    // A breakpoint on the line, holding only when `condition` does (empty: always).
    void setBreakpointCondition(int line, const QString& condition);
    // The gutter's click and context menu at `point` (in the gutter).
    void gutterClicked(const QPoint& point);
    void showGutterMenu(const QPoint& point, const QPoint& globalPoint);
    // Lines counted from 1; `reason` is the tooltip over the mark.
    void markUnclosedBlock(int line, const QString& reason);
    void clearUnclosedBlock();
    [[nodiscard]] std::optional<int> unclosedBlockLine() const;
    // The gutter's tooltip at `point` (in the gutter): the reason of the mark
    // on that line, empty elsewhere.
    [[nodiscard]] QString gutterToolTipAt(const QPoint& point) const;
    // True while an input method's composition is open in the text.
    [[nodiscard]] bool composing() const;
    // Ends an open composition with its text committed where it was typed:
    // through the input method (Qt's commit, then its reset, on which some
    // input methods commit), and where none answers, with the text shown.
    void commitComposition();
    // The warning for the full-width slip under `point` (in the viewport),
    // empty where there is none; shown as the tooltip there.
    [[nodiscard]] QString slipWarningAt(const QPoint& point) const;

signals:
    // A real change of the text (typing, a committed composition, a
    // command's edit, undo); a composition's own changes are none.
    void edited();
    void breakpointToggled(int line, bool on);
    // The gutter's «设置条件…» on a line.
    void breakpointConditionWanted(int line);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void updateGutterWidth();
    void placeGutter();
    void scrollGutter(const QRect& rect, int dy);
    void highlightLines();
    void recolour();
    [[nodiscard]] ColourSet colourSet() const;
    void scrollToLine(int line);
    [[nodiscard]] int markerWidth() const;
    [[nodiscard]] QString markerOf(int line) const;
    [[nodiscard]] int gutterLineAt(const QPoint& point) const;
    void paintMarker(QPainter& painter, int line, int top);

    void reportEdit();
    [[nodiscard]] QString compositionText() const;

    LineNumberGutter* m_gutter;
    SourceHighlighter* m_highlighter;
    std::optional<int> m_pausedLine;
    EditorBreakpoints m_breakpoints;
    QTextCursor m_unclosedBlock;  // at the start of its line; null: no mark
    QString m_unclosedReason;
    QTextBlock m_compositionLine;  // where the last composition was drawn
    bool m_changingLookOnly = false;  // a composition drawn or the colours renewed: no edit
};

}  // namespace tarnik
