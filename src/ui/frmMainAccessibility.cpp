// What a screen reader needs of the editor window: names and descriptions
// for the controls Qt cannot name from a visible text, and announcements of
// what happens away from the focus (a run starts and ends, an error, the
// console's newest line).
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QToolBar>

#include "interp/RunOutcome.h"
#include "ui/Announcer.h"
#include "ui/EditorText.h"
#include "ui/editor/SourceEditor.h"
#include "ui/frmMain.h"
#include "ui/run/frmResult.h"
#include "ui_frmMain.h"

namespace tarnik {

void frmMain::createAccessibility()
{
    ui->txtSource->setAccessibleName(QStringLiteral("程序"));
    ui->txtSource->setAccessibleDescription(
        QStringLiteral("程序的文本。F9 运行，F8 调试，Ctrl+F2 停止；出错时光标选中出错的行。"));
    ui->tbToolBar->setAccessibleName(QStringLiteral("工具栏"));
    m_warnings->setAccessibleName(QStringLiteral("警告"));
    m_warnings->setAccessibleDescription(m_warnings->toolTip());
    const std::pair<QLabel*, QString> panels[] = {
        {m_lineNumberPanel, QStringLiteral("光标所在的行")},
        {m_columnPanel, QStringLiteral("光标所在的列")},
        {m_formatPanel, QStringLiteral("文件的编码和换行方式")},
        {m_datePanel, QStringLiteral("今天的日期")},
        {m_timePanel, QStringLiteral("现在的时间")},
    };
    for (const auto& [panel, description] : panels) panel->setAccessibleDescription(description);

    createBreakpointCommands();

    m_announcer = new Announcer(this);
    ui->sbStatusBar->addWidget(m_announcer);
    connect(m_result.get(), &frmResult::lineShown, m_announcer, &Announcer::announceLine);
}

// The gutter's click and context menu, from the keyboard: on the caret's line.
void frmMain::createBreakpointCommands()
{
    auto* toggle = new QAction(QStringLiteral("切换断点(&B)"), this);
    toggle->setObjectName(QStringLiteral("mnuRunToggleBreakpoint"));
    toggle->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    connect(toggle, &QAction::triggered, this, [this] { ui->txtSource->toggleBreakpoint(ui->txtSource->textCursor().blockNumber() + 1); });
    auto* condition = new QAction(QStringLiteral("设置断点条件(&N)…"), this);
    condition->setObjectName(QStringLiteral("mnuRunBreakpointCondition"));
    condition->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B));
    connect(condition, &QAction::triggered, this, [this] { askBreakpointCondition(ui->txtSource->textCursor().blockNumber() + 1); });
    ui->mnuRun->insertActions(ui->mnuRunHistory->menuAction(), {toggle, condition});
}

void frmMain::announceRunStart()
{
    m_announcer->announce(QStringLiteral("程序开始运行。"));
}

// An error is said with its line before the error box opens, which the reader reads as a dialog.
void frmMain::announceRunEnd(const RunOutcome& outcome)
{
    if (m_stoppedByUser) {
        m_announcer->announce(QStringLiteral("程序已停止。"));
    } else if (outcome.error) {
        m_announcer->announce(QStringLiteral("程序出错：%1").arg(toQString(outcome.errorLine())));
    } else {
        m_announcer->announce(QStringLiteral("程序运行结束。"));
    }
}

}  // namespace tarnik
