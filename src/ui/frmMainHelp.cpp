// The help commands of the editor window: 语言参考 (F1, on the word under the
// caret), the 示例 menu, and the list of warnings a Start or Debug finds.
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QTextBlock>

#include "services/ProgramWarnings.h"
#include "services/help/ReferenceTopics.h"
#include "services/SourceText.h"
#include "ui/Dialogs.h"
#include "ui/EditorText.h"
#include "ui/help/ExampleCatalog.h"
#include "ui/help/ReferenceWindow.h"
#include "ui/frmMain.h"
#include "ui_frmMain.h"

namespace tarnik {
namespace {

constexpr int kWarningRows = 4;

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

    auto* examples = new QMenu(QStringLiteral("示例(&X)"), this);
    examples->setObjectName(QStringLiteral("mnuHelpExamples"));
    fillExamplesMenu(*examples);

    ui->mnuHelp->insertAction(ui->mnuHelpAbout, reference);
    ui->mnuHelp->insertMenu(ui->mnuHelpAbout, examples);
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

void frmMain::fillExamplesMenu(QMenu& menu)
{
    const std::vector<ExampleEntry> entries = readExampleIndex(examplesFolder());
    if (entries.empty()) {
        menu.addAction(QStringLiteral("（找不到示例程序）"))->setEnabled(false);
        return;
    }
    for (const ExampleEntry& entry : entries) {
        QAction* item = menu.addAction(entry.description);
        item->setToolTip(QFileInfo(entry.path).fileName());
        connect(item, &QAction::triggered, this, [this, path = entry.path] { openExample(path); });
    }
}

// An example opens as a new document, so that a save never overwrites it.
void frmMain::openExample(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_dialogs.showMessage(this, MessageIcon::Warning, QStringLiteral("示例"),
                              QStringLiteral("无法打开示例 %1：%2。").arg(QFileInfo(path).fileName(), file.errorString()));
        return;
    }
    const QByteArray bytes = file.readAll();
    openAsNewDocument(toQString(decodeSource(std::string_view(bytes.constData(), bytes.size())).text));
}

void frmMain::createWarningList()
{
    m_warnings = new QListWidget(ui->centralwidget);
    m_warnings->setObjectName(QStringLiteral("lstWarnings"));
    m_warnings->setToolTip(QStringLiteral("不影响运行的警告；点一条选中那一行"));
    m_warnings->setMaximumHeight(m_warnings->fontMetrics().lineSpacing() * kWarningRows + 2 * m_warnings->frameWidth());
    m_warnings->hide();
    ui->centralLayout->insertWidget(ui->centralLayout->indexOf(ui->txtSource) + 1, m_warnings);
    connect(m_warnings, &QListWidget::itemClicked, this, [this](const QListWidgetItem* item) {
        selectLine(item->data(Qt::UserRole).toInt());
    });
}

// Shown as the run starts, from the run's own translation.
void frmMain::showWarnings(const clsCode& code, std::u16string_view text)
{
    m_warnings->clear();
    for (const ProgramWarning& warning : programWarnings(code, text)) {
        auto* item = new QListWidgetItem(toQString(warning.shown()), m_warnings);
        item->setData(Qt::UserRole, warning.line);
    }
    m_warnings->setVisible(m_warnings->count() > 0);
}

void frmMain::selectLine(int line)
{
    const QTextBlock block = ui->txtSource->document()->findBlockByNumber(line - 1);
    if (!block.isValid()) return;
    QTextCursor selection(block);
    selection.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    ui->txtSource->setTextCursor(selection);
    ui->txtSource->setFocus();
}

}  // namespace tarnik
