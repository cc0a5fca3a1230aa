#include "ui/EditorEdits.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <string_view>
#include <utility>
#include <vector>

#include "interp/LineFormatter.h"
#include "ui/EditorText.h"

namespace tarnik {
namespace {

// An edit block makes one undo step of the change, apart from the typing
// before it; undoing it puts the caret back where the block began.
template <class Change>
void editAtSelectionStart(QPlainTextEdit& editor, Change&& change)
{
    QTextCursor edit(editor.document());
    edit.setPosition(editor.textCursor().selectionStart());
    edit.beginEditBlock();
    change(edit);
    edit.endEditBlock();
    editor.setTextCursor(edit);
}

}  // namespace

// Qt adds typing to the undo step of an insertion that ends where the typing
// begins. So the text goes in as its tail first and then its first character
// in front of that: the step ends before the caret, and what is typed next
// makes a step of its own.
void insertAtSelectionStart(QPlainTextEdit& editor, const QString& text)
{
    editAtSelectionStart(editor, [&](QTextCursor& edit) {
        const int start = edit.position();
        edit.insertText(text.mid(1));
        const int end = edit.position();
        edit.setPosition(start);
        edit.insertText(text.left(1));
        edit.setPosition(end + 1);
    });
}

void removeBeforeSelectionStart(QPlainTextEdit& editor, int count)
{
    editAtSelectionStart(editor, [&](QTextCursor& edit) {
        edit.setPosition(edit.position() - count, QTextCursor::KeepAnchor);
        edit.removeSelectedText();
    });
}

// Each line is a block of the document. The caret's own cursor follows the
// edits before it, so it stays after the same character of its line; the
// view keeps its first visible line. The edit block starts at the caret,
// which is where undoing the rewrite puts the caret back.
bool reformatAroundCaret(QPlainTextEdit& editor)
{
    QTextDocument* document = editor.document();
    const QTextCursor caret = editor.textCursor();
    const QTextBlock caretLine = document->findBlock(caret.position());
    std::vector<std::pair<QTextBlock, QString>> rewrites;
    for (QTextBlock line = document->firstBlock(); line.isValid(); line = line.next()) {
        if (line == caretLine) continue;
        const QString text = line.text();
        const std::u16string finished = formatFinishedLine(textView(text));
        if (finished != textView(text)) rewrites.emplace_back(line, toQString(finished));
    }
    if (rewrites.empty()) return false;

    QTextCursor edit(document);
    edit.setPosition(caret.position());
    edit.beginEditBlock();
    for (const auto& [line, finished] : rewrites) {
        edit.setPosition(line.position());
        edit.setPosition(line.position() + line.length() - 1, QTextCursor::KeepAnchor);
        edit.insertText(finished);
    }
    edit.endEditBlock();
    return true;
}

}  // namespace tarnik
