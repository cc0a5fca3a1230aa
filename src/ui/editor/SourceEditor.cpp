#include "ui/editor/SourceEditor.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolTip>
#include <algorithm>
#include <array>

#include "services/FullWidthSlips.h"
#include "ui/EditorText.h"
#include "ui/Theme.h"
#include "ui/editor/FinishedLines.h"
#include "ui/editor/LineNumberGutter.h"
#include "ui/editor/SourceHighlighter.h"

namespace tarnik {
namespace {

constexpr int kGutterPadding = 6;  // pixels left and right of the numbers
constexpr int kCaretLineAlpha = 40;
const QString kPausedMark = QStringLiteral("▶");
const QString kBreakpointMark = QStringLiteral("●");
const QString kUnclosedBlockMark = QStringLiteral("◆");
constexpr double kGutterShade = 0.06;   // of the way from the background to the text
constexpr double kNumberShade = 0.55;

// `from` moved the fraction `towards` of the way to `to`: the gutter's
// colours come from the text's own two, so they suit any theme.
QColor blend(const QColor& from, const QColor& to, double towards)
{
    auto mix = [towards](double a, double b) { return a + (b - a) * towards; };
    return QColor::fromRgbF(static_cast<float>(mix(from.redF(), to.redF())),
                            static_cast<float>(mix(from.greenF(), to.greenF())),
                            static_cast<float>(mix(from.blueF(), to.blueF())));
}

// The keys that move the caret, with or without extending the selection.
constexpr std::array kCaretKeys{
    QKeySequence::MoveToNextChar,        QKeySequence::MoveToPreviousChar,    QKeySequence::MoveToNextWord,
    QKeySequence::MoveToPreviousWord,    QKeySequence::MoveToNextLine,        QKeySequence::MoveToPreviousLine,
    QKeySequence::MoveToNextPage,        QKeySequence::MoveToPreviousPage,    QKeySequence::MoveToStartOfLine,
    QKeySequence::MoveToEndOfLine,       QKeySequence::MoveToStartOfBlock,    QKeySequence::MoveToEndOfBlock,
    QKeySequence::MoveToStartOfDocument, QKeySequence::MoveToEndOfDocument,   QKeySequence::SelectNextChar,
    QKeySequence::SelectPreviousChar,    QKeySequence::SelectNextWord,        QKeySequence::SelectPreviousWord,
    QKeySequence::SelectNextLine,        QKeySequence::SelectPreviousLine,    QKeySequence::SelectNextPage,
    QKeySequence::SelectPreviousPage,    QKeySequence::SelectStartOfLine,     QKeySequence::SelectEndOfLine,
    QKeySequence::SelectStartOfBlock,    QKeySequence::SelectEndOfBlock,      QKeySequence::SelectStartOfDocument,
    QKeySequence::SelectEndOfDocument,   QKeySequence::SelectAll,
};

bool movesCaret(const QKeyEvent& key)
{
    return std::any_of(kCaretKeys.begin(), kCaretKeys.end(), [&key](auto sequence) { return key.matches(sequence); });
}

int digits(int number)
{
    int count = 1;
    for (; number >= 10; number /= 10) ++count;
    return count;
}

}  // namespace

SourceEditor::SourceEditor(QWidget* parent)
    : QPlainTextEdit(parent), m_gutter(new LineNumberGutter(*this)),
      m_highlighter(new SourceHighlighter(document(), palette().color(QPalette::Base))), m_breakpoints(*document())
{
    connect(this, &QPlainTextEdit::blockCountChanged, this, &SourceEditor::updateGutterWidth);
    connect(this, &QPlainTextEdit::updateRequest, this, &SourceEditor::scrollGutter);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &SourceEditor::highlightLines);
    connect(document(), &QTextDocument::contentsChanged, this, &SourceEditor::reportEdit);
    connect(&Theme::instance(), &Theme::changed, this, &SourceEditor::recolour);
    updateGutterWidth();
    highlightLines();
    new FinishedLines(*document());
}

void SourceEditor::loadText(const QString& text)
{
    clearUnclosedBlock();
    m_breakpoints.clear();
    setPlainText(text);
    FinishedLines::markAll(*document());
}

int SourceEditor::gutterWidth() const
{
    // At least three digits, so that the text does not shift at line 10 and 100.
    const int widest = std::max(3, digits(blockCount()));
    return 2 * kGutterPadding + markerWidth() + fontMetrics().horizontalAdvance(QLatin1Char('9')) * widest;
}

// The marks' column is always there, so the text does not shift when a
// debugging run pauses.
int SourceEditor::markerWidth() const
{
    int widest = 0;
    for (const QString& mark : {kPausedMark, kBreakpointMark, kUnclosedBlockMark}) {
        widest = std::max(widest, fontMetrics().horizontalAdvance(mark));
    }
    return widest;
}

QString SourceEditor::markerOf(int line) const
{
    if (m_pausedLine == line) return kPausedMark;
    if (m_breakpoints.has(line)) return kBreakpointMark;
    if (unclosedBlockLine() == line) return kUnclosedBlockMark;
    return {};
}

void SourceEditor::markUnclosedBlock(int line, const QString& reason)
{
    const QTextBlock block = document()->findBlockByNumber(line - 1);
    m_unclosedBlock = block.isValid() ? QTextCursor(block) : QTextCursor();
    m_unclosedReason = reason;
    m_gutter->update();
}

void SourceEditor::clearUnclosedBlock()
{
    m_unclosedBlock = QTextCursor();
    m_unclosedReason.clear();
    m_gutter->update();
}

std::optional<int> SourceEditor::unclosedBlockLine() const
{
    if (m_unclosedBlock.isNull()) return std::nullopt;
    return m_unclosedBlock.blockNumber() + 1;
}

int SourceEditor::gutterLineAt(const QPoint& point) const
{
    return cursorForPosition(QPoint(0, point.y())).blockNumber() + 1;
}

QString SourceEditor::gutterToolTipAt(const QPoint& point) const
{
    const int line = gutterLineAt(point);
    if (unclosedBlockLine() == line) return m_unclosedReason;
    const QString condition = m_breakpoints.condition(line);
    return condition.isEmpty() ? QString() : QStringLiteral("条件断点：%1 成立时暂停").arg(condition);
}

std::vector<int> SourceEditor::breakpointMarks() const
{
    std::vector<int> lines;
    for (const LineBreakpoint& breakpoint : m_breakpoints.list()) lines.push_back(breakpoint.line);
    return lines;
}

void SourceEditor::toggleBreakpoint(int line)
{
    if (line < 1 || line > blockCount()) return;
    const bool on = m_breakpoints.toggle(line);
    m_gutter->update();
    emit breakpointToggled(line, on);
}

void SourceEditor::setBreakpointCondition(int line, const QString& condition)
{
    const bool wasSet = m_breakpoints.has(line);
    m_breakpoints.set(line, condition);
    m_gutter->update();
    if (!wasSet && m_breakpoints.has(line)) emit breakpointToggled(line, true);
}

// A press anywhere on a line's row of the gutter.
void SourceEditor::gutterClicked(const QPoint& point)
{
    toggleBreakpoint(gutterLineAt(point));
}

void SourceEditor::showGutterMenu(const QPoint& point, const QPoint& globalPoint)
{
    const int line = gutterLineAt(point);
    QMenu menu(this);
    menu.addAction(m_breakpoints.has(line) ? QStringLiteral("取消断点") : QStringLiteral("设置断点"), this,
                   [this, line] { toggleBreakpoint(line); });
    menu.addAction(QStringLiteral("设置条件…"), this, [this, line] { emit breakpointConditionWanted(line); });
    menu.exec(globalPoint);
}

void SourceEditor::showPausedRun(int line, const std::vector<int>& breakpoints)
{
    m_pausedLine = line;
    m_breakpoints.keepOnly(breakpoints);
    scrollToLine(line);
    highlightLines();
}

void SourceEditor::showBreakpoints(const std::vector<int>& breakpoints)
{
    m_breakpoints.keepOnly(breakpoints);
    m_gutter->update();
}

void SourceEditor::clearPausedRun()
{
    m_pausedLine.reset();
    highlightLines();
}

// Without line wrapping the scroll bar counts lines; the caret stays where
// the user left it.
void SourceEditor::scrollToLine(int line)
{
    const QTextBlock block = document()->findBlockByNumber(line - 1);
    if (!block.isValid()) return;
    const int first = firstVisibleBlock().blockNumber();
    const int shown = std::max(1, viewport()->height() / std::max(1, fontMetrics().height()));
    if (block.blockNumber() < first || block.blockNumber() >= first + shown - 1) {
        verticalScrollBar()->setValue(std::max(0, block.blockNumber() - shown / 3));
    }
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

// A new font (zoom) changes the digits' width and the line height; a new
// palette (the theme) may call for another colour set.
void SourceEditor::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateGutterWidth();
        placeGutter();
        m_gutter->update();
    }
    if (event->type() == QEvent::PaletteChange) recolour();
}

void SourceEditor::recolour()
{
    const QScopedValueRollback guard(m_changingLookOnly, true);
    m_highlighter->setBackground(palette().color(QPalette::Base));
    highlightLines();
}

// The caret line's number is drawn bold, so the gutter shows it even where
// the tint is hard to see.
void SourceEditor::paintGutter(QPaintEvent& event)
{
    QPainter painter(m_gutter);
    const QColor base = palette().color(QPalette::Base);
    const QColor caretNumber = palette().color(QPalette::Text);
    painter.fillRect(event.rect(), blend(base, caretNumber, kGutterShade));
    const int caretLine = textCursor().blockNumber();
    const QColor number = blend(base, caretNumber, kNumberShade);
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
            paintMarker(painter, block.blockNumber() + 1, top);
        }
        top += height;
    }
}

void SourceEditor::paintMarker(QPainter& painter, int line, int top)
{
    const QString marker = markerOf(line);
    if (marker.isEmpty()) return;
    if (marker == kPausedMark) {
        painter.setPen(palette().color(QPalette::Text));
    } else {
        const ThemeColour colour = marker == kBreakpointMark ? ThemeColour::Breakpoint : ThemeColour::UnclosedBlock;
        painter.setPen(themeColour(colour, colourSet()));
    }
    painter.drawText(kGutterPadding / 2, top, markerWidth(), fontMetrics().height(), Qt::AlignLeft, marker);
}

void SourceEditor::highlightLines()
{
    QTextEdit::ExtraSelection line;
    QColor tint = palette().color(QPalette::Highlight);
    tint.setAlpha(kCaretLineAlpha);
    line.format.setBackground(tint);
    line.format.setProperty(QTextFormat::FullWidthSelection, true);
    line.cursor = textCursor();
    line.cursor.clearSelection();
    QList<QTextEdit::ExtraSelection> tints{line};
    const QTextBlock paused = m_pausedLine ? document()->findBlockByNumber(*m_pausedLine - 1) : QTextBlock();
    if (paused.isValid()) {
        QTextEdit::ExtraSelection pausedLine;
        pausedLine.format.setBackground(themeColour(ThemeColour::PausedLine, colourSet()));
        pausedLine.format.setProperty(QTextFormat::FullWidthSelection, true);
        pausedLine.cursor = QTextCursor(paused);
        tints.append(pausedLine);
    }
    setExtraSelections(tints);
    m_gutter->update();
}

// The marks' colours suit the editor's own background, which a test or a
// style may set apart from the application's.
ColourSet SourceEditor::colourSet() const
{
    return Theme::instance().colourSetFor(palette().color(QPalette::Base));
}

// Drawing a composition, or colouring the text anew, changes the document's
// formats, which Qt reports as a change of its contents, though neither the
// text nor the undo history changed.
void SourceEditor::reportEdit()
{
    if (!m_changingLookOnly) emit edited();
}

// An event without a commit, a replacement or a selection to replace only
// redraws the composition.
void SourceEditor::inputMethodEvent(QInputMethodEvent* event)
{
    const bool compositionOnly =
        event->commitString().isEmpty() && event->replacementLength() == 0 && !textCursor().hasSelection();
    {
        const QScopedValueRollback guard(m_changingLookOnly, compositionOnly);
        QPlainTextEdit::inputMethodEvent(event);
    }
    m_compositionLine = textCursor().block();
}

QString SourceEditor::compositionText() const
{
    const QTextLayout* layout = m_compositionLine.isValid() ? m_compositionLine.layout() : nullptr;
    return layout ? layout->preeditAreaText() : QString();
}

bool SourceEditor::composing() const
{
    return !compositionText().isEmpty();
}

// Qt's own text box drops the composition's image on a click and tells the
// input method to commit; an input method that commits only on a reset
// (fcitx5) then commits it later, wherever the caret has gone.
void SourceEditor::commitComposition()
{
    if (!composing()) return;
    QInputMethod* method = QGuiApplication::inputMethod();
    method->commit();
    if (composing()) method->reset();
    if (!composing()) return;
    QInputMethodEvent commit;
    commit.setCommitString(compositionText());
    inputMethodEvent(&commit);
}

void SourceEditor::keyPressEvent(QKeyEvent* event)
{
    if (movesCaret(*event)) commitComposition();
    QPlainTextEdit::keyPressEvent(event);
}

void SourceEditor::mousePressEvent(QMouseEvent* event)
{
    commitComposition();
    QPlainTextEdit::mousePressEvent(event);
}

// The character under the point is the one before or after the nearest
// caret place, whichever lies between the point and the next caret place.
QString SourceEditor::slipWarningAt(const QPoint& point) const
{
    const QTextCursor nearest = cursorForPosition(point);
    const QTextBlock line = nearest.block();
    const QString text = line.text();
    for (const FullWidthSlip& slip : fullWidthSlips(textView(text))) {
        QTextCursor before(line);
        before.setPosition(line.position() + static_cast<int>(slip.start));
        QTextCursor after(before);
        after.movePosition(QTextCursor::NextCharacter);
        const QRect left = cursorRect(before);
        if (point.x() >= left.left() && point.x() < cursorRect(after).left() && point.y() >= left.top() &&
            point.y() <= left.bottom()) {
            return toQString(slipWarning(slip));
        }
    }
    return {};
}

bool SourceEditor::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip) return QPlainTextEdit::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString warning = slipWarningAt(help->pos());
    if (warning.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(help->globalPos(), warning, viewport());
    }
    return true;
}

}  // namespace tarnik
