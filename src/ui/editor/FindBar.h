#pragma once
// The find and replace bar under the program: find forwards and backwards
// with wrap-around, whole words and letter case as options, replace one
// match or all of them. It never opens a box while the user types: what it
// has to say (not found, wrapped, how many replaced) stands in the bar.
// Replacing all is one edit, so one undo takes it all back.
#include <QTextDocument>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace tarnik {

class FindBar : public QWidget {
    Q_OBJECT

public:
    FindBar(QPlainTextEdit& editor, QWidget* parent);

    // Shows the bar with the find field ready, holding the selected text of
    // one line if there is one; the replace row only for openReplace().
    void openFind();
    void openReplace();
    // Selects the next (previous) match after (before) the selection, going
    // round the end of the text; false when there is none.
    bool findNext();
    bool findPrevious();
    // Replaces the selection when it is a match, then selects the next match.
    void replaceOne();
    // Replaces every match, as one undo step; returns how many.
    int replaceAll();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void open(bool withReplace);
    void close();
    bool find(QTextDocument::FindFlags direction);
    [[nodiscard]] QTextDocument::FindFlags options() const;
    [[nodiscard]] bool selectionMatches() const;
    void say(const QString& message);

    QPlainTextEdit& m_editor;
    QLineEdit* m_findText;
    QLineEdit* m_replaceText;
    QCheckBox* m_wholeWord;
    QCheckBox* m_matchCase;
    QWidget* m_replaceRow;
    QLabel* m_message;
};

}  // namespace tarnik
