#pragma once
// Which lines of the program the rewrite after a caret move leaves alone:
// those it has found in their finished form, and every line of a text as it
// was loaded, which is the user's own until the user edits it (browsing a
// file never changes it). Any change of the document that touches a line
// takes its mark away, whatever made the change (typing, undo, a replace, a
// paste), and a line that an edit makes new has none. So the rewrite looks
// only at the lines edited since the last one; of those, a line that is
// finished already is left exactly as it is.
#include <QObject>

class QTextBlock;
class QTextDocument;

namespace tarnik {

class FinishedLines : public QObject {
    Q_OBJECT

public:
    explicit FinishedLines(QTextDocument& document);

    [[nodiscard]] static bool isMarked(const QTextBlock& line);
    static void mark(QTextBlock& line);
    // Every line of `document`: for a text just loaded.
    static void markAll(const QTextDocument& document);

private:
    void unmarkChanged(int position, int charsRemoved, int charsAdded);

    QTextDocument& m_document;
};

}  // namespace tarnik
