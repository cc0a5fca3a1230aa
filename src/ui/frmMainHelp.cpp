// The help commands of the editor window: 语言参考 (F1, on the word under the
// caret).
#include <QAction>
#include <QMenu>
#include <QTextBlock>

#include "interp/ReferenceTopics.h"
#include "ui/EditorText.h"
#include "ui/ReferenceWindow.h"
#include "ui/frmMain.h"
#include "ui_frmMain.h"

namespace tarnik {
namespace {

QString crLfLines(const QString& lfText)
{
    return lfText.split(QLatin1Char('\n')).join(QStringLiteral("\r\n"));
}

}  // namespace

void frmMain::createHelpCommands()
{
    auto* reference = new QAction(QStringLiteral("语言参考(&R)"), this);
    reference->setObjectName(QStringLiteral("mnuHelpReference"));
    reference->setShortcut(QKeySequence(Qt::Key_F1));
    reference->setToolTip(QStringLiteral("语言参考 (F1)"));
    connect(reference, &QAction::triggered, this, &frmMain::mnuHelpReference_Click);

    ui->mnuHelp->insertAction(ui->mnuHelpAbout, reference);
    ui->mnuHelp->insertSeparator(ui->mnuHelpAbout);
}

// The reference opens where the caret is: on a keyword its entry, elsewhere
// the contents.
void frmMain::mnuHelpReference_Click()
{
    if (!m_reference) {
        m_reference = new ReferenceWindow(this);
        m_reference->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_reference, &ReferenceWindow::exampleChosen, this,
                [this](const QString& program) { openAsNewDocument(crLfLines(program)); });
    }
    const QTextCursor caret = ui->txtSource->textCursor();
    const std::u16string line = caret.block().text().toStdU16String();
    m_reference->showTopic(toQString(referenceTopicAt(line, static_cast<std::size_t>(caret.positionInBlock()))));
    m_reference->show();
    m_reference->raise();
    m_reference->activateWindow();
}

}  // namespace tarnik
