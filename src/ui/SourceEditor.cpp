#include "ui/SourceEditor.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>
#include <algorithm>

#include "ui/FinishedLines.h"
#include "ui/LineNumberGutter.h"
#include "ui/SourceHighlighter.h"

namespace tarnik {
namespace {

constexpr int kGutterPadding = 6;  // pixels left and right of the numbers
constexpr int kCaretLineAlpha = 40;

int digits(int number)
{
    int count = 1;
    for (; number >= 10; number /= 10) ++count;
    return count;
}

}  // namespace

SourceEditor::SourceEditor(QWidget* parent) : QPlainTextEdit(parent), m_gutter(new LineNumberGutter(*this))
{
    connect(this, &QPlainTextEdit::blockCountChanged, this, &SourceEditor::updateGutterWidth);
    connect(this, &QPlainTextEdit::updateRequest, this, &SourceEditor::scrollGutter);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &SourceEditor::highlightCaretLine);
    updateGutterWidth();
    highlightCaretLine();
    new SourceHighlighter(document(), palette().color(QPalette::Base));
    new FinishedLines(*document());
}

int SourceEditor::gutterWidth() const
{
    // At least three digits, so that the text does not shift at line 10 and 100.
    const int widest = std::max(3, digits(blockCount()));
    return 2 * kGutterPadding + fontMetrics().horizontalAdvance(QLatin1Char('9')) * widest;
}

void SourceEditor::updateGutterWidth()
{
    setViewportMargins(gutterWidth(), 0, 0, 0);
}

// The gutter scrolls with the text, and is repainted where the text is.
void SourceEditor::scrollGutter(const QRect& rect, int dy)
{
    if (dy != 0) {
        m_gutter->scroll(0, dy);
    } else {
        m_gutter->update(0, rect.y(), m_gutter->width(), rect.height());
    }
    if (rect.contains(viewport()->rect())) updateGutterWidth();
}

void SourceEditor::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    placeGutter();
}

void SourceEditor::placeGutter()
{
    const QRect inside = contentsRect();
    m_gutter->setGeometry(QRect(inside.left(), inside.top(), gutterWidth(), inside.height()));
}

// A new font (zoom) changes the digits' width and the line height.
void SourceEditor::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateGutterWidth();
        placeGutter();
        m_gutter->update();
    }
}

// The caret line's number is drawn bold, so the gutter shows it even where
// the tint is hard to see.
void SourceEditor::paintGutter(QPaintEvent& event)
{
    QPainter painter(m_gutter);
    painter.fillRect(event.rect(), palette().color(QPalette::AlternateBase));
    const int caretLine = textCursor().blockNumber();
    const QColor number = palette().color(QPalette::PlaceholderText);
    const QColor caretNumber = palette().color(QPalette::Text);
    QFont bold = font();
    bold.setBold(true);

    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    const int width = m_gutter->width() - kGutterPadding;
    for (; block.isValid() && top <= event.rect().bottom(); block = block.next()) {
        const int height = qRound(blockBoundingRect(block).height());
        if (block.isVisible() && top + height >= event.rect().top()) {
            const bool isCaretLine = block.blockNumber() == caretLine;
            painter.setFont(isCaretLine ? bold : font());
            painter.setPen(isCaretLine ? caretNumber : number);
            painter.drawText(0, top, width, fontMetrics().height(), Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        }
        top += height;
    }
}

void SourceEditor::highlightCaretLine()
{
    QTextEdit::ExtraSelection line;
    QColor tint = palette().color(QPalette::Highlight);
    tint.setAlpha(kCaretLineAlpha);
    line.format.setBackground(tint);
    line.format.setProperty(QTextFormat::FullWidthSelection, true);
    line.cursor = textCursor();
    line.cursor.clearSelection();
    setExtraSelections({line});
    m_gutter->update();
}

}  // namespace tarnik
