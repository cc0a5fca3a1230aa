// 单窗口布局: the console and the debugger docked into this window (below
// and beside the editor, movable, where they were left) instead of floating
// over it. Off by default; the choice and the docks' places are kept.
#include <QAction>
#include <QMenu>
#include <QWindow>

#include "ui/WindowDock.h"
#include "ui/frmMain.h"
#include "ui/run/InputDataPanel.h"
#include "ui/run/frmResult.h"
#include "ui/run/frmVars.h"
#include "ui/storage/TarnikSettings.h"
#include "ui_frmMain.h"

namespace tarnik {
namespace {

const QString kSingleWindowKey = QStringLiteral("Layout/SingleWindow");
const QString kDockStateKey = QStringLiteral("Layout/DockState");

}  // namespace

void frmMain::createSingleWindowLayout()
{
    m_consoleDock = new WindowDock(QStringLiteral("控制台"), QStringLiteral("dockConsole"), this);
    m_debuggerDock = new WindowDock(QStringLiteral("调试"), QStringLiteral("dockDebugger"), this);
    m_recordDock = new WindowDock(QStringLiteral("执行记录"), QStringLiteral("dockRecord"), this);
    addDockWidget(Qt::BottomDockWidgetArea, m_consoleDock);
    addDockWidget(Qt::RightDockWidgetArea, m_debuggerDock);
    splitDockWidget(m_consoleDock, m_recordDock, Qt::Horizontal);
    // The places only: what the docks hold decides whether they show, and
    // the input data panel keeps its own choice.
    const bool inputDataHidden = m_inputData->isHidden();
    restoreState(tarnikSettings().value(kDockStateKey).toByteArray());
    m_inputData->setHidden(inputDataHidden);
    for (WindowDock* dock : {m_consoleDock, m_debuggerDock, m_recordDock}) {
        dock->hide();
        connect(dock, &QDockWidget::dockLocationChanged, this, &frmMain::storeDockPlaces);
        connect(dock, &QDockWidget::topLevelChanged, this, &frmMain::storeDockPlaces);
        connect(dock, &QDockWidget::visibilityChanged, this, [this](bool visible) {
            if (!visible) storeDockPlaces();
        });
    }

    m_singleWindow = new QAction(QStringLiteral("单窗口布局(&W)"), this);
    m_singleWindow->setObjectName(QStringLiteral("mnuViewSingleWindow"));
    m_singleWindow->setCheckable(true);
    m_singleWindow->setToolTip(QStringLiteral("控制台和调试窗口停靠在编辑器旁边，而不是浮在它上面"));
    ui->mnuView->insertAction(ui->mnuViewConsole, m_singleWindow);
    connect(m_singleWindow, &QAction::toggled, this, &frmMain::setSingleWindow);
    connect(m_result.get(), &frmResult::debuggerOpened, this, &frmMain::dockDebugger);
    m_singleWindow->setChecked(tarnikSettings().value(kSingleWindowKey, false).toBool());
}

void frmMain::setSingleWindow(bool on)
{
    QSettings settings = tarnikSettings();
    settings.setValue(kSingleWindowKey, on);
    if (on) {
        m_consoleDock->hold(*m_result);
        return;
    }
    // A paused run's debugger stays where it is until the pause ends.
    m_consoleDock->release();
    // Above the editor again, as at start-up.
    m_result->winId();
    if (QWindow* console = m_result->windowHandle()) console->setTransientParent(windowHandle());
}

// The record window is the debugger's, but docked it is no longer its child:
// it goes when the debugger does.
void frmMain::dockDebugger(frmVars& debugger)
{
    if (!m_singleWindow->isChecked()) return;
    m_debuggerDock->hold(debugger);
    m_recordDock->hold(debugger.recordWindow());
    connect(&debugger, &QObject::destroyed, m_recordDock, &WindowDock::discard);
}

void frmMain::storeDockPlaces()
{
    QSettings settings = tarnikSettings();
    settings.setValue(kDockStateKey, saveState());
}

}  // namespace tarnik
