#include "ui/editor/FindBar.h"

#include <array>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

namespace tarnik {
namespace {

constexpr int kFieldMinimumWidth = 120;

QPushButton* addButton(QBoxLayout& row, const QString& text, const QString& name, const QString& tip)
{
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setAutoDefault(false);
    row.addWidget(button);
    return button;
}

}  // namespace

FindBar::FindBar(QPlainTextEdit& editor, QWidget* parent)
    : QWidget(parent), m_editor(editor), m_findText(new QLineEdit), m_replaceText(new QLineEdit),
      m_wholeWord(new QCheckBox(QStringLiteral("全字匹配(&W)"))),
      m_matchCase(new QCheckBox(QStringLiteral("区分大小写(&C)"))), m_replaceRow(new QWidget),
      m_message(new QLabel)
{
    setObjectName(QStringLiteral("findBar"));
    m_findText->setObjectName(QStringLiteral("findText"));
    m_findText->setPlaceholderText(QStringLiteral("查找内容"));
    m_replaceText->setObjectName(QStringLiteral("replaceText"));
    for (QLineEdit* field : {m_findText, m_replaceText}) field->setMinimumWidth(kFieldMinimumWidth);
    m_replaceText->setPlaceholderText(QStringLiteral("替换为"));
    m_findText->setAccessibleName(QStringLiteral("查找"));
    m_replaceText->setAccessibleName(QStringLiteral("替换为"));
    m_wholeWord->setObjectName(QStringLiteral("wholeWord"));
    m_matchCase->setObjectName(QStringLiteral("matchCase"));
    m_message->setObjectName(QStringLiteral("findMessage"));

    // Three short rows, so that the bar fits under a narrow editor: find,
    // replace (only when asked for), the options with the bar's message.
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(new QLabel(QStringLiteral("查找：")));
    findRow->addWidget(m_findText, 1);
    QPushButton* next = addButton(*findRow, QStringLiteral("下一个"), QStringLiteral("findNextButton"),
                                  QStringLiteral("查找下一个 (F3)"));
    QPushButton* previous = addButton(*findRow, QStringLiteral("上一个"), QStringLiteral("findPreviousButton"),
                                      QStringLiteral("查找上一个 (Shift+F3)"));
    QPushButton* closer = addButton(*findRow, QStringLiteral("关闭"), QStringLiteral("findCloseButton"),
                                    QStringLiteral("关闭查找栏 (Esc)"));

    auto* replaceRow = new QHBoxLayout(m_replaceRow);
    replaceRow->setContentsMargins(0, 0, 0, 0);
    replaceRow->addWidget(new QLabel(QStringLiteral("替换：")));
    replaceRow->addWidget(m_replaceText, 1);
    QPushButton* replace = addButton(*replaceRow, QStringLiteral("替换(&R)"), QStringLiteral("replaceButton"),
                                     QStringLiteral("替换选中的匹配并查找下一个"));
    QPushButton* all = addButton(*replaceRow, QStringLiteral("全部替换(&A)"), QStringLiteral("replaceAllButton"),
                                 QStringLiteral("替换全部匹配（可一次撤销）"));

    auto* optionsRow = new QHBoxLayout;
    optionsRow->addWidget(m_wholeWord);
    optionsRow->addWidget(m_matchCase);
    optionsRow->addWidget(m_message, 1);

    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setSpacing(2);
    rows->addLayout(findRow);
    rows->addWidget(m_replaceRow);
    rows->addLayout(optionsRow);
    // Tab goes from the text to find to its replacement, then to the buttons.
    const std::array<QWidget*, 9> tabOrder{m_findText, m_replaceText, next, previous, replace, all, m_wholeWord, m_matchCase,
                                           closer};
    for (std::size_t i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(next, &QPushButton::clicked, this, &FindBar::findNext);
    connect(previous, &QPushButton::clicked, this, &FindBar::findPrevious);
    connect(closer, &QPushButton::clicked, this, &FindBar::close);
    connect(replace, &QPushButton::clicked, this, &FindBar::replaceOne);
    connect(all, &QPushButton::clicked, this, &FindBar::replaceAll);
    connect(m_findText, &QLineEdit::returnPressed, this, &FindBar::findNext);
    connect(m_replaceText, &QLineEdit::returnPressed, this, &FindBar::replaceOne);
    hide();
}

void FindBar::openFind()
{
    open(false);
}

void FindBar::openReplace()
{
    open(true);
}

void FindBar::open(bool withReplace)
{
    const QString selected = m_editor.textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) m_findText->setText(selected);
    m_replaceRow->setVisible(withReplace);
    m_message->clear();
    show();
    m_findText->setFocus();
    m_findText->selectAll();
}

void FindBar::close()
{
    hide();
    m_editor.setFocus();
}

// Esc anywhere in the bar closes it and gives the keyboard back to the program.
void FindBar::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool FindBar::findNext()
{
    return find({});
}

bool FindBar::findPrevious()
{
    return find(QTextDocument::FindBackward);
}

QTextDocument::FindFlags FindBar::options() const
{
    QTextDocument::FindFlags flags;
    if (m_wholeWord->isChecked()) flags |= QTextDocument::FindWholeWords;
    if (m_matchCase->isChecked()) flags |= QTextDocument::FindCaseSensitively;
    return flags;
}

bool FindBar::find(QTextDocument::FindFlags direction)
{
    const QString text = m_findText->text();
    if (text.isEmpty()) {
        openFind();
        return false;
    }
    const QTextDocument& document = *m_editor.document();
    const QTextDocument::FindFlags flags = options() | direction;
    QTextCursor found = document.find(text, m_editor.textCursor(), flags);
    QString message;
    if (found.isNull()) {
        QTextCursor from(m_editor.document());
        if (direction & QTextDocument::FindBackward) from.movePosition(QTextCursor::End);
        found = document.find(text, from, flags);
        message = direction & QTextDocument::FindBackward ? QStringLiteral("已从末尾开始查找。")
                                                          : QStringLiteral("已从开头开始查找。");
    }
    if (found.isNull()) {
        say(QStringLiteral("找不到“%1”。").arg(text));
        return false;
    }
    m_editor.setTextCursor(found);
    m_editor.ensureCursorVisible();
    say(message);
    return true;
}

// The selection is a match when finding from its start selects exactly it.
bool FindBar::selectionMatches() const
{
    const QTextCursor selection = m_editor.textCursor();
    if (!selection.hasSelection() || m_findText->text().isEmpty()) return false;
    QTextCursor from(m_editor.document());
    from.setPosition(selection.selectionStart());
    const QTextCursor found = m_editor.document()->find(m_findText->text(), from, options());
    return !found.isNull() && found.selectionStart() == selection.selectionStart() &&
           found.selectionEnd() == selection.selectionEnd();
}

void FindBar::replaceOne()
{
    if (selectionMatches()) m_editor.textCursor().insertText(m_replaceText->text());
    findNext();
}

int FindBar::replaceAll()
{
    const QString text = m_findText->text();
    if (text.isEmpty()) return 0;
    QTextDocument& document = *m_editor.document();
    QTextCursor edit(&document);
    int count = 0;
    edit.beginEditBlock();
    for (QTextCursor found = document.find(text, 0, options()); !found.isNull();
         found = document.find(text, found, options())) {
        found.insertText(m_replaceText->text());
        ++count;
    }
    edit.endEditBlock();
    say(count == 0 ? QStringLiteral("找不到“%1”。").arg(text) : QStringLiteral("已替换 %1 处。").arg(count));
    return count;
}

void FindBar::say(const QString& message)
{
    m_message->setText(message);
}

}  // namespace tarnik
