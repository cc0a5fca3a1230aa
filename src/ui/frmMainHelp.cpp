// The help commands of the editor window: 语言参考 (F1, on the word under the
// caret), the 示例 menu, and the list of warnings under the editor, from a
// run's translation, after a run's error and a moment after each change.
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QTextBlock>
#include <algorithm>

#include "expr/TextHelpers.h"
#include "services/FullWidthSlips.h"
#include "services/ProgramWarnings.h"
#include "services/help/ReferenceTopics.h"
#include "services/SourceText.h"
#include "ui/PresentationMode.h"
#include "ui/Dialogs.h"
#include "ui/EditorText.h"
#include "ui/help/ExampleCatalog.h"
#include "ui/editor/SourceEditor.h"
#include "ui/help/ReferenceWindow.h"
#include "ui/frmMain.h"
#include "ui_frmMain.h"

namespace tarnik {
namespace {

constexpr int kWarningRows = 4;
constexpr int kWarningsDelayMs = 800;
constexpr int kLineRole = Qt::UserRole;
constexpr int kColumnRole = Qt::UserRole + 1;

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

    auto* start = new QAction(QStringLiteral("入门(&S)"), this);
    start->setObjectName(QStringLiteral("mnuHelpStart"));
    start->setToolTip(QStringLiteral("输入、运行、看懂错误、回答 Input、调试：五步写出第一个程序"));
    connect(start, &QAction::triggered, this, [this] { showReference(QStringLiteral("start.html")); });

    auto* examples = new QMenu(QStringLiteral("示例(&X)"), this);
    examples->setObjectName(QStringLiteral("mnuHelpExamples"));
    fillExamplesMenu(*examples);

    ui->mnuHelp->insertAction(ui->mnuHelpAbout, start);
    ui->mnuHelp->insertAction(ui->mnuHelpAbout, reference);
    ui->mnuHelp->insertMenu(ui->mnuHelpAbout, examples);
    ui->mnuHelp->insertSeparator(ui->mnuHelpAbout);
}

// The reference opens where the caret is: on a keyword its entry, elsewhere
// the contents.
void frmMain::mnuHelpReference_Click()
{
    const QTextCursor caret = ui->txtSource->textCursor();
    const std::u16string line = caret.block().text().toStdU16String();
    showReference(toQString(referenceTopicAt(line, static_cast<std::size_t>(caret.positionInBlock()))));
}

void frmMain::showReference(const QString& topic)
{
    if (!m_reference) {
        m_reference = new ReferenceWindow(this);
        m_reference->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_reference, &ReferenceWindow::exampleChosen, this,
                [this](const QString& program) { openAsNewDocument(crLfLines(program)); });
        // The program's keys work while reading about it.
        m_reference->addActions({ui->mnuStart, ui->mnuDebug, ui->mnuFileSave, ui->mnuRunStop});
    }
    m_reference->showTopic(topic);
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

// The list follows the text a moment after the typing stops, so that it
// never shows what was already mended, nor flickers while a line is typed.
void frmMain::createWarningList()
{
    m_warnings = new QListWidget(ui->centralwidget);
    m_warnings->setObjectName(QStringLiteral("lstWarnings"));
    m_warnings->setToolTip(QStringLiteral("不影响运行的警告；点一条，光标就到那一行"));
    // A few rows high, in the rows' present size (演示模式 changes it).
    const auto fitRows = [this] {
        m_warnings->setMaximumHeight(m_warnings->fontMetrics().lineSpacing() * kWarningRows +
                                     2 * m_warnings->frameWidth());
    };
    fitRows();
    connect(&PresentationMode::instance(), &PresentationMode::changed, m_warnings, fitRows);
    m_warnings->hide();
    ui->centralLayout->insertWidget(ui->centralLayout->indexOf(ui->txtSource) + 1, m_warnings);
    connect(m_warnings, &QListWidget::itemClicked, this, [this](const QListWidgetItem* item) {
        placeCaretOnLine(item->data(kLineRole).toInt(), item->data(kColumnRole).toInt());
    });
    m_warningsDelay.setSingleShot(true);
    m_warningsDelay.setInterval(kWarningsDelayMs);
    connect(ui->txtSource, &SourceEditor::edited, &m_warningsDelay, qOverload<>(&QTimer::start));
    connect(&m_warningsDelay, &QTimer::timeout, this, &frmMain::refreshWarnings);
}

// Shown as the run starts, from the run's own translation: a block left open
// before is closed now.
void frmMain::showWarnings(const clsCode& code, std::u16string_view text)
{
    ui->txtSource->clearUnclosedBlock();
    listWarnings(programWarnings(code, text));
}

// The warnings of the present text from a translation of its own, never a
// run's. A text that does not translate has no others, but its full-width
// characters are often what stops it.
void frmMain::refreshWarnings()
{
    const std::u16string text = crLfText(*ui->txtSource);
    LintResult lint = lintProgram(text);
    if (lint.translation.error) {
        std::int32_t number = 0;
        for (std::u16string_view line : splitLines(text)) {
            ++number;
            for (const FullWidthSlip& slip : fullWidthSlips(line)) lint.warnings.push_back({number, slipWarning(slip), slip.start});
        }
    }
    listWarnings(lint.warnings);
}

void frmMain::listWarnings(const std::vector<ProgramWarning>& warnings)
{
    m_warnings->clear();
    for (const ProgramWarning& warning : warnings) {
        auto* item = new QListWidgetItem(toQString(warning.shown()), m_warnings);
        item->setData(kLineRole, warning.line);
        item->setData(kColumnRole, static_cast<int>(warning.column));
    }
    m_warnings->setVisible(m_warnings->count() > 0);
}

// Nothing is selected, so the next key typed adds to the line instead of
// replacing it. The text may have changed since the warning was found.
void frmMain::placeCaretOnLine(int line, int column)
{
    const QTextBlock block = ui->txtSource->document()->findBlockByNumber(line - 1);
    if (!block.isValid()) return;
    QTextCursor caret(block);
    caret.setPosition(block.position() + std::clamp(column, 0, block.length() - 1));
    ui->txtSource->setTextCursor(caret);
    ui->txtSource->ensureCursorVisible();
    ui->txtSource->setFocus();
    ShowLineNumber();
}

}  // namespace tarnik
