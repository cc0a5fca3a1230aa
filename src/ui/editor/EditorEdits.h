#pragma once
// Changes the IDE makes to the editor's text on the user's behalf: the
// keyboard aids' insertions and removals and the rewrite of finished lines.
// Each is an edit operation, never a replacement of the whole text: it
// touches only the characters that change and is one step of the undo
// history, so undo, the scroll position and the caret's place within its
// line survive it.
#include <QString>

class QPlainTextEdit;

namespace tarnik {

// Inserts `text` at the start of the selection, which stays in the text
// after it; the caret ends after the inserted text, with nothing selected.
void insertAtSelectionStart(QPlainTextEdit& editor, const QString& text);

// As insertAtSelectionStart, in the same undo step first giving the line of
// the selection start `blanks` blanks of indentation in place of the blanks
// and tabs it starts with. The selection start lies after those.
void reindentAndInsertAtSelectionStart(QPlainTextEdit& editor, int blanks, const QString& text);

// Removes the `count` characters before the start of the selection; the
// caret ends where they began, with nothing selected.
void removeBeforeSelectionStart(QPlainTextEdit& editor, int count);

// Rewrites every line but the caret's into its finished form (see
// formatFinishedLine); a line already in that form is not touched, and a
// marked line (see FinishedLines: found finished before, or loaded and not
// edited since) is not even looked at. Returns
// false when nothing changed, in which case neither the text nor the undo
// history did either.
bool reformatAroundCaret(QPlainTextEdit& editor);

// Re-indents the lines of the selection, or every line when nothing is
// selected, by the program's block structure (see blockIndentation), as one
// undo step. Returns false when no line changed.
bool reindentSelectedLines(QPlainTextEdit& editor);

enum class ConversionScope { CaretLine, Selection, Program };

// Replaces the full-width slips (see fullWidthSlips) of the caret's line,
// of the selected characters or of the whole program by their half-width
// characters, as one undo step; the selection stays as it was. Returns how
// many were replaced.
int convertFullWidthSlips(QPlainTextEdit& editor, ConversionScope scope);

}  // namespace tarnik
