#include "ui/editor/EditorEdits.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "services/FullWidthSlips.h"
#include "services/LineFormatter.h"
#include "services/Reindentation.h"
#include "ui/EditorText.h"
#include "ui/editor/FinishedLines.h"

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

// Qt adds typing to the undo step of an insertion that ends where the typing
// begins. So the text goes in as its tail first and then its first character
// in front of that: the step ends before the caret, and what is typed next
// makes a step of its own.
void insertBeforeTyping(QTextCursor& edit, const QString& text)
{
    const int start = edit.position();
    edit.insertText(text.mid(1));
    const int end = edit.position();
    edit.setPosition(start);
    edit.insertText(text.left(1));
    edit.setPosition(end + 1);
}

}  // namespace

void insertAtSelectionStart(QPlainTextEdit& editor, const QString& text)
{
    editAtSelectionStart(editor, [&](QTextCursor& edit) { insertBeforeTyping(edit, text); });
}

void reindentAndInsertAtSelectionStart(QPlainTextEdit& editor, int blanks, const QString& text)
{
    editAtSelectionStart(editor, [&](QTextCursor& edit) {
        const QTextBlock line = edit.block();
        const QString typed = line.text();
        int typedBlanks = 0;
        while (typedBlanks < typed.size() && (typed[typedBlanks] == u' ' || typed[typedBlanks] == u'\t')) ++typedBlanks;
        const int caret = edit.position() - typedBlanks + blanks;
        edit.setPosition(line.position());
        edit.setPosition(line.position() + typedBlanks, QTextCursor::KeepAnchor);
        edit.insertText(QString(blanks, u' '));
        edit.setPosition(caret);
        insertBeforeTyping(edit, text);
    });
}

void removeBeforeSelectionStart(QPlainTextEdit& editor, int count)
{
    editAtSelectionStart(editor, [&](QTextCursor& edit) {
        edit.setPosition(edit.position() - count, QTextCursor::KeepAnchor);
        edit.removeSelectedText();
    });
}

namespace {

using LineRewrites = std::vector<std::pair<QTextBlock, QString>>;

// Replaces each line's text by its new one as one undo step, which starts at
// `position`: undoing it puts the caret back there.
void rewriteLines(QPlainTextEdit& editor, const LineRewrites& rewrites, int position)
{
    QTextCursor edit(editor.document());
    edit.setPosition(position);
    edit.beginEditBlock();
    for (const auto& [line, text] : rewrites) {
        edit.setPosition(line.position());
        edit.setPosition(line.position() + line.length() - 1, QTextCursor::KeepAnchor);
        edit.insertText(text);
    }
    edit.endEditBlock();
}

}  // namespace

// Each line is a block of the document. The caret's own cursor follows the
// edits before it, so it stays after the same character of its line; the
// view keeps its first visible line. Only lines without the finished mark
// are looked at; the caret's line keeps having none until it is rewritten.
bool reformatAroundCaret(QPlainTextEdit& editor)
{
    QTextDocument* document = editor.document();
    const QTextCursor caret = editor.textCursor();
    const QTextBlock caretLine = document->findBlock(caret.position());
    LineRewrites rewrites;
    std::vector<QTextBlock> finished;
    for (QTextBlock line = document->firstBlock(); line.isValid(); line = line.next()) {
        if (line == caretLine || FinishedLines::isMarked(line)) continue;
        const QString text = line.text();
        const std::u16string formatted = formatFinishedLine(textView(text));
        if (formatted != textView(text)) {
            rewrites.emplace_back(line, toQString(formatted));
            // A form that the next rewrite would change again stays unmarked.
            if (formatFinishedLine(formatted) == formatted) finished.push_back(line);
        } else {
            finished.push_back(line);
        }
    }
    if (!rewrites.empty()) rewriteLines(editor, rewrites, caret.position());
    // After the rewrite: its own edits took the marks away.
    for (QTextBlock& line : finished) FinishedLines::mark(line);
    return !rewrites.empty();
}

// The levels come from the whole program, so a selected part gets the
// indentation it has in the whole. A selection that ends at the start of a
// line leaves that line out.
bool reindentSelectedLines(QPlainTextEdit& editor)
{
    QTextDocument* document = editor.document();
    const QTextCursor selection = editor.textCursor();
    int first = 0;
    int last = document->blockCount() - 1;
    if (selection.hasSelection()) {
        first = document->findBlock(selection.selectionStart()).blockNumber();
        const QTextBlock end = document->findBlock(selection.selectionEnd());
        last = end.blockNumber() - (end.position() == selection.selectionEnd() && end.blockNumber() > first ? 1 : 0);
    }
    std::vector<QString> texts;
    std::vector<std::u16string_view> lines;
    texts.reserve(static_cast<std::size_t>(document->blockCount()));
    for (QTextBlock line = document->firstBlock(); line.isValid(); line = line.next()) texts.push_back(line.text());
    for (const QString& text : texts) lines.push_back(textView(text));
    const std::vector<std::optional<int>> blanks = blockIndentation(lines);

    LineRewrites rewrites;
    for (int number = first; number <= last; ++number) {
        const auto index = static_cast<std::size_t>(number);
        if (!blanks[index]) continue;
        const std::u16string placed = withIndentation(lines[index], *blanks[index]);
        if (placed != lines[index]) rewrites.emplace_back(document->findBlockByNumber(number), toQString(placed));
    }
    if (rewrites.empty()) return false;
    rewriteLines(editor, rewrites, selection.selectionStart());
    return true;
}

namespace {

// The document positions [first, last) that `scope` covers.
std::pair<int, int> scopeRange(const QPlainTextEdit& editor, ConversionScope scope)
{
    const QTextCursor caret = editor.textCursor();
    switch (scope) {
    case ConversionScope::CaretLine: return {caret.block().position(), caret.block().position() + caret.block().length()};
    case ConversionScope::Selection: return {caret.selectionStart(), caret.selectionEnd()};
    case ConversionScope::Program: break;
    }
    return {0, editor.document()->characterCount()};
}

}  // namespace

// Whether a character is a slip depends on its whole line (literals,
// comments), so whole lines are read and only the characters in range are
// replaced, one by one: every character keeps its place, and so do the caret
// and the selection.
int convertFullWidthSlips(QPlainTextEdit& editor, ConversionScope scope)
{
    const auto [first, last] = scopeRange(editor, scope);
    const int anchor = editor.textCursor().anchor();
    const int position = editor.textCursor().position();
    QTextCursor edit(editor.document());
    edit.setPosition(std::min(anchor, position));
    int count = 0;
    for (QTextBlock line = editor.document()->findBlock(first); line.isValid() && line.position() < last;
         line = line.next()) {
        const QString text = line.text();
        for (const FullWidthSlip& slip : fullWidthSlips(textView(text))) {
            const int at = line.position() + static_cast<int>(slip.start);
            if (at < first || at >= last) continue;
            if (count++ == 0) edit.beginEditBlock();
            edit.setPosition(at);
            edit.setPosition(at + 1, QTextCursor::KeepAnchor);
            edit.insertText(QString(QChar(slip.halfWidth)));
        }
    }
    if (count == 0) return 0;
    edit.endEditBlock();
    QTextCursor restored(editor.document());
    restored.setPosition(anchor);
    restored.setPosition(position, QTextCursor::KeepAnchor);
    editor.setTextCursor(restored);
    return count;
}

}  // namespace tarnik
