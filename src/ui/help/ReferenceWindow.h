#pragma once
// 语言参考: the reference pages with a search field (Ctrl+F) that finds text
// in the page shown, moving on from the last match and starting over at the end.
#include <QWidget>

class QLabel;
class QLineEdit;

namespace tarnik {

class ReferenceBrowser;

class ReferenceWindow : public QWidget {
    Q_OBJECT

public:
    explicit ReferenceWindow(QWidget* parent = nullptr);

    // Shows `topic`, a page of the reference with an optional anchor
    // ("statements.html#for").
    void showTopic(const QString& topic);
    [[nodiscard]] ReferenceBrowser& browser() { return *m_browser; }

signals:
    // An example's program the user wants to edit, lines separated by "\n".
    void exampleChosen(const QString& program);

private:
    void findNext();

    ReferenceBrowser* m_browser;
    QLineEdit* m_search;
    QLabel* m_searchResult;
};

}  // namespace tarnik
