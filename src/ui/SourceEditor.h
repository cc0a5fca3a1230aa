#pragma once
// The program text box: a plain text editor with a line-number gutter on its
// left, the program coloured as the translator reads it, and the caret's
// line lightly tinted. It keeps the marks of the lines the rewrite has found
// finished (FinishedLines). The tint is a translucent shade of
// the palette's highlight, so it stays faint on a light and a dark theme and
// never hides the colours of the text.
#include <QPlainTextEdit>

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

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateGutterWidth();
    void placeGutter();
    void scrollGutter(const QRect& rect, int dy);
    void highlightCaretLine();

    LineNumberGutter* m_gutter;
    SourceHighlighter* m_highlighter;
};

}  // namespace tarnik
