#pragma once
// Which lines of the program are known to be in their finished form, so that
// the rewrite after a caret move looks only at the lines edited since the
// last one (and at every line once after loading) instead of the whole text.
// A line carries a mark once the rewrite has found it finished; any change
// of the document that touches a line takes its mark away, whatever made the
// change (typing, undo, a replace, loading), and a line that an edit makes
// new has none. Taking away too many marks only costs time: the rewrite of
// an unmarked line that is finished changes nothing.
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

private:
    void unmarkChanged(int position, int charsRemoved, int charsAdded);

    QTextDocument& m_document;
};

}  // namespace tarnik
