#pragma once
// The program text box: a plain text editor with a line-number gutter on its
// left, the program coloured as the translator reads it, and the caret's
// line lightly tinted. It keeps the marks of the lines the rewrite has found
// finished (FinishedLines). The tint is a translucent shade of
// the palette's highlight, so it stays faint on a light and a dark theme and
// never hides the colours of the text.
//
// While a run is paused, the gutter also marks the line about to run (▶,
// with a background on the line) and the ticked breakpoints (●): a mark
// goes with the colour, so the line is found without telling colours apart.
#include <QPlainTextEdit>
#include <optional>
#include <vector>

class QPainter;

namespace tarnik {

class LineNumberGutter;
class SourceHighlighter;

class SourceEditor : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit SourceEditor(QWidget* parent = nullptr);

    // The gutter's width for the present number of lines: the widest number
    // with room on both sides.
    [[nodiscard]] int gutterWidth() const;
    // Paints the numbers of the lines that lie in the area `event` asks for.
    void paintGutter(QPaintEvent& event);

    // Lines counted from 1. The paused line is scrolled into view.
    void showPausedRun(int line, std::vector<int> breakpoints);
    void clearPausedRun();
    [[nodiscard]] std::optional<int> pausedLine() const { return m_pausedLine; }
    [[nodiscard]] const std::vector<int>& breakpointMarks() const { return m_breakpoints; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateGutterWidth();
    void placeGutter();
    void scrollGutter(const QRect& rect, int dy);
    void highlightLines();
    void scrollToLine(int line);
    [[nodiscard]] int markerWidth() const;
    [[nodiscard]] QString markerOf(int line) const;
    void paintMarker(QPainter& painter, int line, int top);

    LineNumberGutter* m_gutter;
    SourceHighlighter* m_highlighter;
    std::optional<int> m_pausedLine;
    std::vector<int> m_breakpoints;
};

}  // namespace tarnik
