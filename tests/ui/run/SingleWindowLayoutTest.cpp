// 单窗口布局: the console and a paused run's debugger docked into the editor
// window, the choice kept for the next start; and the debugger's lists with
// room for eight rows whichever way it is shown.
#include <QDockWidget>
#include <QTimer>
#include <QTreeWidget>

#include "support/DebuggerScript.h"
#include "support/IdeFixture.h"

namespace tarnik::test {
namespace {

// Ten variables, then STOP pauses the run with all of them in the list.
const QString kTenVariables = QStringLiteral(
    "a = 1\nb = 2\nc = 3\nd = 4\ne = 5\nf = 6\ng = 7\nh = 8\ni = 9\nj = 10\nstop\nprint a + j");

// How many whole rows of its height the list shows at once.
int rowsShown(QTreeWidget& list)
{
    if (list.topLevelItemCount() == 0) return 0;
    return list.viewport()->height() / list.visualItemRect(list.topLevelItem(0)).height();
}

class SingleWindowLayout : public IdeFixture {
protected:
    QAction& layoutCommand() { return action("mnuViewSingleWindow"); }
    QDockWidget& dock(const char* name) { return *window->findChild<QDockWidget*>(QLatin1String(name)); }

    // What the pause found: whether the debugger was docked, the console's
    // and its docks shown, and the rows each list shows.
    struct Pause {
        bool debuggerDocked = false;
        bool debuggerDockShown = false;
        bool consoleDockShown = false;
        bool recordDockShown = false;
        int variableRows = 0;
        int codeRows = 0;
    };
    Pause pauseAtStop()
    {
        setEditorText(kTenVariables);
        Pause seen;
        DebuggerScript script({[&](QDialog& debugger) {
            seen.debuggerDocked = debugger.window() == window.get();
            seen.debuggerDockShown = dock("dockDebugger").isVisible() && dock("dockDebugger").widget() == &debugger;
            seen.consoleDockShown = dock("dockConsole").isVisible() && dock("dockConsole").widget() == &console();
            seen.recordDockShown = dock("dockRecord").isVisible() && dock("dockRecord").widget() != nullptr;
            EXPECT_EQ(variableList(debugger).topLevelItemCount(), 10);
            seen.variableRows = rowsShown(variableList(debugger));
            seen.codeRows = rowsShown(codeList(debugger));
            click(debugger, "cmdContinue");
        }});
        run();
        EXPECT_EQ(script.pauses(), 1);
        return seen;
    }
};

TEST_F(SingleWindowLayout, OffByDefaultWithTheDebuggerInAWindowOfItsOwnShowingEightRows)
{
    EXPECT_FALSE(layoutCommand().isChecked());
    const Pause pause = pauseAtStop();
    EXPECT_FALSE(pause.debuggerDocked);
    EXPECT_FALSE(pause.debuggerDockShown);
    EXPECT_FALSE(pause.consoleDockShown);
    EXPECT_FALSE(pause.recordDockShown);
    EXPECT_TRUE(console().isWindow());
    EXPECT_GE(pause.variableRows, 8);
    EXPECT_GE(pause.codeRows, 8);
}

TEST_F(SingleWindowLayout, ConsoleAndDebuggerDockedWhileDebugging)
{
    layoutCommand().trigger();
    EXPECT_FALSE(dock("dockConsole").isVisible());  // until a run shows the console
    const Pause pause = pauseAtStop();
    EXPECT_TRUE(pause.debuggerDocked);
    EXPECT_TRUE(pause.debuggerDockShown);
    EXPECT_TRUE(pause.consoleDockShown);
    EXPECT_TRUE(pause.recordDockShown);
    EXPECT_GE(pause.variableRows, 8);
    EXPECT_GE(pause.codeRows, 8);
    // The pause is over: the debugger's dock goes, the console's output stays in view.
    ASSERT_TRUE(waitFor([this] { return !window->runController().running(); }));
    EXPECT_FALSE(dock("dockDebugger").isVisible());
    EXPECT_FALSE(dock("dockRecord").isVisible());
    EXPECT_EQ(dock("dockRecord").widget(), nullptr);
    EXPECT_TRUE(dock("dockConsole").isVisible());
    EXPECT_TRUE(consoleText().contains(QStringLiteral("11"))) << consoleText();
}

TEST_F(SingleWindowLayout, ClosingTheConsoleDockEndsTheRunAsTheConsoleWindowDoes)
{
    layoutCommand().trigger();
    setEditorText(QStringLiteral("do while 1 = 1\n    n = n + 1\nloop"));
    QTimer::singleShot(0, window.get(), [this] {
        ASSERT_TRUE(waitFor([this] { return dock("dockConsole").isVisible(); }));
        dock("dockConsole").close();
    });
    run();
    // The loop never ends by itself: run() came back because the dock was closed.
    EXPECT_EQ(console().windowTitle(), QStringLiteral("程序中止 - 控制台"));
    EXPECT_FALSE(dock("dockConsole").isVisible());
    EXPECT_FALSE(console().isVisible());
}

TEST_F(SingleWindowLayout, ChoiceIsKeptForTheNextStartAndCanBeUndone)
{
    layoutCommand().trigger();
    restartWindow();
    EXPECT_TRUE(layoutCommand().isChecked());
    EXPECT_EQ(console().parentWidget(), &dock("dockConsole"));
    layoutCommand().trigger();
    EXPECT_TRUE(console().isWindow());
    restartWindow();
    EXPECT_FALSE(layoutCommand().isChecked());
    EXPECT_TRUE(console().isWindow());
}

}  // namespace
}  // namespace tarnik::test
