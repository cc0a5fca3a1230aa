#include "ui/help/ReferenceWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTextCursor>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/PresentationMode.h"
#include "ui/help/ReferenceBrowser.h"

namespace tarnik {
namespace {

const QString kHelpRoot = QStringLiteral("qrc:/help/");
constexpr int kWidth = 760;
constexpr int kHeight = 640;

}  // namespace

ReferenceWindow::ReferenceWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_browser(new ReferenceBrowser(this)), m_search(new QLineEdit(this)),
      m_searchResult(new QLabel(this))
{
    setWindowTitle(QStringLiteral("语言参考"));
    setObjectName(QStringLiteral("frmReference"));
    m_search->setObjectName(QStringLiteral("txtSearch"));
    m_search->setPlaceholderText(QStringLiteral("在本页中查找（Enter 查找下一个）"));
    m_search->setClearButtonEnabled(true);
    m_search->setAccessibleName(QStringLiteral("在语言参考中查找"));
    m_browser->setAccessibleName(QStringLiteral("语言参考"));

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("查找："), this));
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(m_searchResult);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(m_browser, 1);
    resize(PresentationMode::instance().windowSize({kWidth, kHeight}, *this));

    connect(m_search, &QLineEdit::returnPressed, this, &ReferenceWindow::findNext);
    // Ctrl+F, as in the editor, goes to the search field.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this), &QShortcut::activated, this, [this] {
        m_search->setFocus();
        m_search->selectAll();
    });
    connect(m_browser, &ReferenceBrowser::exampleChosen, this, &ReferenceWindow::exampleChosen);
    connect(m_browser, &QTextBrowser::sourceChanged, m_searchResult, &QLabel::clear);
}

void ReferenceWindow::showTopic(const QString& topic)
{
    m_browser->setSource(QUrl(kHelpRoot + topic));
}

void ReferenceWindow::findNext()
{
    const QString text = m_search->text();
    if (text.isEmpty()) return;
    bool found = m_browser->find(text);
    if (!found) {
        QTextCursor start = m_browser->textCursor();
        start.movePosition(QTextCursor::Start);
        m_browser->setTextCursor(start);
        found = m_browser->find(text);
    }
    m_searchResult->setText(found ? QString() : QStringLiteral("本页没有“%1”").arg(text));
}

}  // namespace tarnik
