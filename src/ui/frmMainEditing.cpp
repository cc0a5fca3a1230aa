// frmMain's editing aids and the rewrite of finished lines: Tab, Backspace
// and Enter in the editor, the click that refreshes the line number, and
// Timer2, which rewrites the lines the user edited, all but the caret's, once
// the caret has moved to another line; Go to Line, 整理缩进 and 全角转半角.
//
// Only real key presses get the aids. While an input method is composing, the
// keys are the input method's (Enter commits, Backspace edits the
// composition), so the aids and the rewrite keep out of its way. Undo, redo
// and the commands that edit the text first commit an open composition, so
// its text lands where it was typed (undo then takes it back).
#include <QKeyEvent>
#include <QMenu>
#include <QTextBlock>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "services/EditingAids.h"
#include "services/Reindentation.h"
#include "ui/editor/EditorEdits.h"
#include "ui/EditorText.h"
#include "ui/editor/SourceEditor.h"
#include "ui/Dialogs.h"
#include "ui/frmMain.h"
#include "ui_frmMain.h"

namespace tarnik {
namespace {

constexpr int kStatusMessageMs = 5000;

}  // namespace

// Keys reach the text box itself; the mouse and the context menu reach its
// viewport.
bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->txtSource && event->type() == QEvent::KeyPress) {
        return txtSource_KeyPress(*static_cast<QKeyEvent*>(event));
    }
    if (watched == ui->txtSource->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: txtSource_MouseDown(); break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton) {
                txtSource_MouseUp();
                txtSource_Click();
            }
            break;
        case QEvent::ContextMenu: showEditMenu(static_cast<QContextMenuEvent*>(event)->globalPos()); return true;
        default: break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool frmMain::txtSource_KeyPress(const QKeyEvent& key)
{
    if (key.matches(QKeySequence::Undo) || key.matches(QKeySequence::Redo)) {
        undoOrRedo(key.matches(QKeySequence::Undo));
        return true;
    }
    if (inputMethodComposing()) return false;
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Shift+Enter too: the text box would otherwise break the line
        // inside the line, which the program text has no place for.
        if (modifiers & ~Qt::ShiftModifier) return false;
        startIndentedLine();
        return true;
    case Qt::Key_Tab:
        if (modifiers != Qt::NoModifier) return false;
        insertAtSelectionStart(*ui->txtSource, toQString(kIndentStep));
        return true;
    case Qt::Key_Backspace:
        if (modifiers & ~Qt::ShiftModifier) return false;
        return removeIndentStep();
    default: return false;
    }
}

// The new line gets the indentation that the caret line's text left of the
// caret asks for; the text right of the caret moves down with it. A line
// that ends or divides a block (End If, Next, Else, Case ...) first moves
// to the indentation of the line that opened its block, as one undo step
// with the new line.
void frmMain::startIndentedLine()
{
    const QTextCursor caret = ui->txtSource->textCursor();
    const QTextBlock line = caret.document()->findBlock(caret.selectionStart());
    const QString left = line.text().left(caret.selectionStart() - line.position());
    std::vector<QString> texts;
    std::vector<std::u16string_view> linesBefore;
    texts.reserve(static_cast<std::size_t>(line.blockNumber()));
    for (QTextBlock before = caret.document()->firstBlock(); before != line; before = before.next()) {
        linesBefore.push_back(textView(texts.emplace_back(before.text())));
    }
    const std::optional<int> placed = blockEndIndentation(linesBefore, textView(left));
    const std::u16string placedLeft = placed ? withIndentation(textView(left), *placed) : std::u16string(textView(left));
    const QString newLine = QLatin1Char('\n') + QString(indentationAfterEnter(placedLeft), QLatin1Char(' '));
    if (placed && placedLeft != textView(left)) {
        reindentAndInsertAtSelectionStart(*ui->txtSource, *placed, newLine);
    } else {
        insertAtSelectionStart(*ui->txtSource, newLine);
    }
}

// False leaves the key to the text box, which deletes one character (or the
// selection) as usual.
bool frmMain::removeIndentStep()
{
    const QTextDocument& document = *ui->txtSource->document();
    const int start = ui->txtSource->textCursor().selectionStart();
    const int step = static_cast<int>(kIndentStep.size());
    QString before;
    for (int position = std::max(0, start - step); position < start; ++position) before += document.characterAt(position);
    if (!removesIndentStep(textView(before))) return false;
    removeBeforeSelectionStart(*ui->txtSource, step);
    return true;
}

void frmMain::txtSource_Click()
{
    ShowLineNumber();
}

// No rewrite while a button is held: the user may be selecting or dragging.
void frmMain::txtSource_MouseDown()
{
    Timer2.stop();
}

void frmMain::txtSource_MouseUp()
{
    Timer2.start();
}

// Undo puts the caret where the undone change was, often on another line.
// Rewriting at once would redo what the user has just undone, so the rewrite
// waits until the caret moves on from there.
void frmMain::undoOrRedo(bool undo)
{
    ui->txtSource->commitComposition();
    if (undo) {
        ui->txtSource->undo();
    } else {
        ui->txtSource->redo();
    }
    holdRewriteOnCaretLine();
}

void frmMain::showEditMenu(const QPoint& at)
{
    const std::unique_ptr<QMenu> menu(ui->txtSource->createStandardContextMenu());
    const QAction* chosen = menu->exec(at);
    if (chosen && (chosen->objectName() == QLatin1String("edit-undo") ||
                   chosen->objectName() == QLatin1String("edit-redo"))) {
        holdRewriteOnCaretLine();
    }
}

void frmMain::holdRewriteOnCaretLine()
{
    ShowLineNumber();
    LastCaretLine = CaretLine;
}

bool frmMain::inputMethodComposing() const
{
    return ui->txtSource->composing();
}

// The line being typed is never rewritten: the rewrite waits until the caret
// has moved to another line, with nothing selected and no composition going on.
void frmMain::Timer2_Timer()
{
    if (CaretLine == LastCaretLine || ui->txtSource->textCursor().hasSelection() || inputMethodComposing()) return;
    LastCaretLine = CaretLine;
    ReformatText();
}

// A number outside the program's lines says so in the status bar and leaves
// the caret where it was.
void frmMain::mnuEditGoToLine_Click()
{
    ui->txtSource->commitComposition();
    const int lines = ui->txtSource->blockCount();
    const std::optional<QString> answer =
        m_dialogs.inputText(this, QStringLiteral("转到行"), {QStringLiteral("行号（1–%1）：").arg(lines), QString(), false, {}});
    if (!answer) return;
    bool isNumber = false;
    const int line = answer->trimmed().toInt(&isNumber);
    if (!isNumber || line < 1 || line > lines) {
        ui->sbStatusBar->showMessage(
            QStringLiteral("没有第 %1 行：程序共 %2 行。").arg(answer->trimmed()).arg(lines), kStatusMessageMs);
        return;
    }
    QTextCursor caret(ui->txtSource->document()->findBlockByNumber(line - 1));
    ui->txtSource->setTextCursor(caret);
    ui->txtSource->centerCursor();
    ui->txtSource->setFocus();
    ShowLineNumber();
}

void frmMain::mnuEditReindent_Click()
{
    ui->txtSource->commitComposition();
    reindentSelectedLines(*ui->txtSource);
    ui->txtSource->setFocus();
}

void frmMain::mnuEditHalfWidth_Click(ConversionScope scope)
{
    ui->txtSource->commitComposition();
    const int count = convertFullWidthSlips(*ui->txtSource, scope);
    showStatus(count > 0 ? QStringLiteral("已把 %1 个全角字符改为半角。").arg(count)
                         : QStringLiteral("没有需要改为半角的全角字符（字符串和注释中的不算）。"));
    ui->txtSource->setFocus();
}

void frmMain::ReformatText()
{
    reformatAroundCaret(*ui->txtSource);
}

}  // namespace tarnik
