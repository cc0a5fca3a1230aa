// The debugger window of a paused run: what it shows, Step, Continue and
// Abort with their keys, the close box, and breakpoints ticked in its listing.
#include <QApplication>
#include <algorithm>
#include <QHeaderView>
#include <QLabel>
#include <QSettings>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "support/DebuggerScript.h"
#include "support/IdeFixture.h"
#include "ui/storage/TarnikSettings.h"

namespace tarnik::test {
namespace {

class Debugger : public IdeFixture {
protected:
    void debug() { action("mnuDebug").trigger(); }
};

const QString kEnded = QStringLiteral("程序中止 - 控制台");

// Lines 2 and 3 run three times.
const QString kLoop = QStringLiteral(
    "for i = 1 to 3\n"
    "    a = i\n"
    "    b = a * 2\n"
    "next\n"
    "print b");

TEST_F(Debugger, WindowHasItsCaptionControlsAndLayout)
{
    setEditorText(QStringLiteral("x = 1"));
    DebuggerScript script({[](QDialog& debugger) {
        EXPECT_EQ(debugger.windowTitle(), QStringLiteral("调试窗口"));
        EXPECT_TRUE(debugger.isModal());
        EXPECT_EQ(debugger.parentWidget(), nullptr);
        struct Control {
            const char* name;
            QRect twips;
            QString text;
        };
        // The lists are as wide as they were placed, the variables at the top
        // and the listing 7 pixels below; each is at least eight rows high,
        // which makes the window taller than its form: the row below them
        // keeps its distance from the window's bottom.
        QTreeWidget& variables = variableList(debugger);
        QTreeWidget& code = codeList(debugger);
        EXPECT_EQ(variables.geometry().topLeft(), QPoint(8, 8));
        EXPECT_EQ(variables.width(), 6975 / 15);
        EXPECT_EQ(code.geometry().left(), 8);
        EXPECT_EQ(code.width(), 6975 / 15);
        EXPECT_EQ(code.geometry().top(), variables.geometry().bottom() + 1 + 7);
        const int rowHeight = code.visualItemRect(code.topLevelItem(0)).height();
        EXPECT_GE(variables.viewport()->height(), 8 * rowHeight);
        EXPECT_GE(code.viewport()->height(), 8 * rowHeight);
        constexpr int kFormHeight = 337;
        const Control controls[] = {
            // One pixel narrower than it was placed before the window had a
            // layout: it now ends where the buttons begin instead of under the first.
            // 后退 beside 单步 took the room the label had to its right.
            {"Label1", {120, 4680, 1320, 255}, QStringLiteral("程序暂停中...")},
            {"cmdAbort", {1440, 4560, 1335, 375}, QStringLiteral("终止(&A)")},
            {"cmdBack", {2880, 4560, 1335, 375}, QStringLiteral("后退(←)")},
            {"cmdStep", {4320, 4560, 1335, 375}, QStringLiteral("单步(Enter)")},
            {"cmdContinue", {5760, 4560, 1335, 375}, QStringLiteral("继续(ESC)")},
        };
        for (const Control& c : controls) {
            SCOPED_TRACE(c.name);
            QWidget* control = debugger.findChild<QWidget*>(QLatin1String(c.name));
            ASSERT_NE(control, nullptr);
            const QRect pixels(c.twips.x() / 15, c.twips.y() / 15, c.twips.width() / 15, c.twips.height() / 15);
            EXPECT_EQ(control->geometry().translated(0, kFormHeight - debugger.height()), pixels);
            if (auto* label = qobject_cast<QLabel*>(control)) {
                EXPECT_EQ(label->text(), c.text);
            }
            if (auto* button = qobject_cast<QPushButton*>(control)) {
                EXPECT_EQ(button->text(), c.text);
            }
        }
        EXPECT_TRUE(debugger.findChild<QPushButton*>(QStringLiteral("cmdStep"))->isDefault());

        struct Column {
            QTreeWidget& list;
            int column;
            QString caption;
            int twips;
        };
        const Column columns[] = {
            {variableList(debugger), 0, QStringLiteral("变量名"), 2540},
            {variableList(debugger), 1, QStringLiteral("值"), 2540},
            {variableList(debugger), 2, QStringLiteral("类型"), 2540},
            {codeList(debugger), 0, QStringLiteral("断点"), 970},
            {codeList(debugger), 1, QStringLiteral("行号"), 970},
            {codeList(debugger), 2, QStringLiteral("               代码"), 20179},
        };
        for (const Column& c : columns) {
            SCOPED_TRACE(c.caption.toStdString());
            EXPECT_EQ(c.list.columnCount(), 3);
            EXPECT_EQ(c.list.headerItem()->text(c.column), c.caption);
            EXPECT_NEAR(c.list.columnWidth(c.column), c.twips / 15.0, 1.0);
        }
        EXPECT_TRUE(variableList(debugger).font().family().startsWith(QStringLiteral("Verdana")) ||
                    variableList(debugger).font().families().contains(QStringLiteral("Verdana")));
        click(debugger, "cmdContinue");
    }});
    debug();
    EXPECT_EQ(script.pauses(), 1);
}

TEST_F(Debugger, DebugPausesBeforeTheFirstStatementWithTheListingMarked)
{
    setEditorText(QStringLiteral("' 九九\nx = 6\nprint x * 7"));
    QString outputAtPause = QStringLiteral("not paused");
    DebuggerScript script({[&](QDialog& debugger) {
        outputAtPause = consoleText();
        EXPECT_EQ(rows(variableList(debugger)), std::vector<QStringList>{});
        EXPECT_EQ(rows(codeList(debugger)), (std::vector<QStringList>{
                                                {QString(), QStringLiteral("1"), QStringLiteral("' 九九")},
                                                {QString(), QStringLiteral("2"), QStringLiteral("x = 6")},
                                                {QString(), QStringLiteral("3"), QStringLiteral("print x * 7")},
                                            }));
        QTreeWidget& list = codeList(debugger);
        QTreeWidgetItem* current = codeRow(debugger, 2);
        for (int column = 0; column < 3; ++column) EXPECT_TRUE(current->font(column).bold()) << column;
        EXPECT_EQ(current->foreground(2).color(), QColor(0, 0, 255));
        EXPECT_TRUE(current->isSelected());
        EXPECT_EQ(list.selectedItems().size(), 1);
        // The selection's colours would hide the blue of the text.
        for (const QModelIndex& selected : list.selectionModel()->selectedIndexes()) EXPECT_EQ(selected.column(), 0);
        EXPECT_FALSE(codeRow(debugger, 3)->font(2).bold());
        EXPECT_EQ(codeRow(debugger, 3)->foreground(2).color(), list.palette().color(QPalette::Text));
        for (int line = 1; line <= 3; ++line) EXPECT_EQ(codeRow(debugger, line)->checkState(0), Qt::Unchecked);
        EXPECT_EQ(debugger.focusWidget(), &list);  // the window's focus, whether or not it is active yet
        click(debugger, "cmdContinue");
    }});
    debug();
    EXPECT_EQ(script.pausedLines(), std::vector<int>{2});  // the comment line is no statement
    EXPECT_EQ(outputAtPause, QString());
    EXPECT_EQ(consoleText(), QStringLiteral("42\n"));
}

TEST_F(Debugger, VariablesAppearInTheOrderOfFirstUseAsDouble)
{
    setEditorText(QStringLiteral("b = 2\na = b / 3\nprint z\nc = -1 * 10 ^ 20\nstop\nprint c"));
    DebuggerScript script({[](QDialog& debugger) {
        EXPECT_EQ(rows(variableList(debugger)),
                  (std::vector<QStringList>{
                      {QStringLiteral("b"), QStringLiteral("2"), QStringLiteral("Double")},
                      {QStringLiteral("a"), QStringLiteral("0.666666666666667"), QStringLiteral("Double")},
                      {QStringLiteral("z"), QStringLiteral("0"), QStringLiteral("Double")},
                      {QStringLiteral("c"), QStringLiteral("-1E+20"), QStringLiteral("Double")},
                  }));
        click(debugger, "cmdContinue");
    }});
    run();  // runs freely up to the STOP
    EXPECT_EQ(script.pausedLines(), std::vector<int>{5});
    EXPECT_EQ(consoleText(), QStringLiteral("0\n-1E+20\n"));
}

TEST_F(Debugger, StepPausesBeforeEachNextLine)
{
    struct Case {
        const char* name;
        std::function<void(QDialog&)> step;
    };
    const Case cases[] = {
        {"button", [](QDialog& debugger) { click(debugger, "cmdStep"); }},
        {"Enter", [](QDialog& debugger) { press(debugger, Qt::Key_Return); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setEditorText(kLoop);
        DebuggerScript script;
        for (int i = 0; i < 9; ++i) script.add(c.step);
        script.add([](QDialog& debugger) { click(debugger, "cmdContinue"); });
        debug();
        EXPECT_EQ(script.pausedLines(), (std::vector<int>{1, 2, 3, 4, 2, 3, 4, 2, 3, 4}));
        EXPECT_EQ(consoleText(), QStringLiteral("6\n"));
    }
}

TEST_F(Debugger, ContinueRunsToATickedLineAndUntickingRemovesThePause)
{
    struct Case {
        const char* name;
        std::function<void(QDialog&)> go;
    };
    const Case cases[] = {
        {"button", [](QDialog& debugger) { click(debugger, "cmdContinue"); }},
        {"Esc", [this](QDialog& debugger) { press(debugger, Qt::Key_Escape); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setEditorText(kLoop);
        std::vector<double> aAtPauses;
        DebuggerScript script({
            [&](QDialog& debugger) {
                clickTick(debugger, 3);
                EXPECT_EQ(codeRow(debugger, 3)->checkState(0), Qt::Checked);
                EXPECT_EQ(runState().Breakpoints, std::vector<std::int16_t>{3});
                c.go(debugger);
            },
            [&](QDialog& debugger) {
                aAtPauses.push_back(runState().Variables.valueOf(u"a"));
                EXPECT_EQ(codeRow(debugger, 3)->checkState(0), Qt::Checked);
                c.go(debugger);
            },
            [&](QDialog& debugger) {
                aAtPauses.push_back(runState().Variables.valueOf(u"a"));
                clickTick(debugger, 3);
                EXPECT_EQ(runState().Breakpoints, std::vector<std::int16_t>{});
                c.go(debugger);
            },
        });
        debug();
        EXPECT_EQ(script.pausedLines(), (std::vector<int>{1, 3, 3}));
        EXPECT_EQ(aAtPauses, (std::vector<double>{1, 2}));
        EXPECT_TRUE(runState().FreeRun);
        EXPECT_EQ(consoleText(), QStringLiteral("6\n"));
    }
}

TEST_F(Debugger, TickingALineTwiceLeavesOneEntry)
{
    setEditorText(kLoop);
    DebuggerScript script({[this](QDialog& debugger) {
        clickTick(debugger, 2);
        clickTick(debugger, 5);
        clickTick(debugger, 2);
        clickTick(debugger, 2);
        EXPECT_EQ(runState().Breakpoints, (std::vector<std::int16_t>{5, 2}));
        click(debugger, "cmdAbort");
    }});
    debug();
}

TEST_F(Debugger, TicksSetWhileFillingAreNotTheUsers)
{
    // Paused at a breakpoint, the line is shown ticked; showing it neither
    // adds it again nor, by marking the row, takes it away.
    setEditorText(kLoop);
    DebuggerScript script({
        [](QDialog& debugger) {
            clickTick(debugger, 4);
            clickTick(debugger, 2);
            click(debugger, "cmdContinue");
        },
        [this](QDialog& debugger) {
            EXPECT_EQ(codeRow(debugger, 2)->checkState(0), Qt::Checked);
            EXPECT_EQ(codeRow(debugger, 4)->checkState(0), Qt::Checked);
            EXPECT_EQ(codeRow(debugger, 3)->checkState(0), Qt::Unchecked);
            EXPECT_EQ(runState().Breakpoints, (std::vector<std::int16_t>{4, 2}));
            click(debugger, "cmdAbort");
        },
    });
    debug();
    EXPECT_EQ(script.pausedLines(), (std::vector<int>{1, 2}));
}

TEST_F(Debugger, AbortEndsTheRunAndHidesTheConsole)
{
    struct Case {
        const char* name;
        std::function<void(QDialog&)> abort;
    };
    const Case cases[] = {
        {"button", [](QDialog& debugger) { click(debugger, "cmdAbort"); }},
        {"Alt+A", [](QDialog& debugger) { press(debugger, Qt::Key_A, Qt::AltModifier); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setEditorText(QStringLiteral("print 1\nprint 2\nprint 3"));
        bool freeRunBefore = true;
        DebuggerScript script({
            [this](QDialog& debugger) { click(debugger, "cmdStep"); },
            [&](QDialog& debugger) {
                freeRunBefore = runState().FreeRun;
                c.abort(debugger);
            },
        });
        debug();
        EXPECT_EQ(script.pausedLines(), (std::vector<int>{1, 2}));
        EXPECT_FALSE(console().isVisible());
        EXPECT_EQ(console().windowTitle(), kEnded);
        EXPECT_EQ(consoleText(), QStringLiteral("1\n2\n"));  // the paused line still runs
        EXPECT_EQ(runState().FreeRun, freeRunBefore);
        EXPECT_TRUE(dialogs.shown.empty());
    }
}

TEST_F(Debugger, CloseBoxLeavesTheModeAsItWas)
{
    // Stepping, the next line pauses again; at a STOP reached running
    // freely, the run goes on freely.
    struct Case {
        const char* name;
        const char* command;
        QString program;
        std::vector<int> pausedLines;
    };
    const Case cases[] = {
        {"stepping", "mnuDebug", QStringLiteral("print 1\nprint 2\nprint 3"), {1, 2}},
        {"running freely", "mnuStart", QStringLiteral("print 1\nstop\nprint 3"), {2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setEditorText(c.program);
        DebuggerScript script({[](QDialog& debugger) { debugger.close(); }});
        if (c.pausedLines.size() > 1) script.add([this](QDialog& debugger) { click(debugger, "cmdContinue"); });
        action(c.command).trigger();
        EXPECT_EQ(script.pausedLines(), c.pausedLines);
        EXPECT_TRUE(runState().FreeRun);
        EXPECT_TRUE(console().isVisible());
    }
}

TEST_F(Debugger, ClosingTheConsoleClosesTheDebuggerAndEndsTheRun)
{
    setEditorText(QStringLiteral("print 1\nprint 2"));
    DebuggerScript script({[this](QDialog& debugger) {
        console().close();
        EXPECT_FALSE(debugger.isVisible());
    }});
    debug();
    EXPECT_EQ(script.pauses(), 1);
    EXPECT_FALSE(runState().FreeRun);
    EXPECT_FALSE(console().isVisible());
    EXPECT_EQ(console().windowTitle(), kEnded);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Debugger, PauseInTheConsoleOpensItDuringAnEndlessLoop)
{
    setEditorText(QStringLiteral("do while 1 = 1\n    n = n + 1\nloop"));
    QTimer::singleShot(100, window.get(), [this] { consoleAction("暂停").trigger(); });
    double nAtPause = -1;
    DebuggerScript script({[&](QDialog& debugger) {
        nAtPause = runState().Variables.valueOf(u"n");
        EXPECT_EQ(rows(variableList(debugger)).at(0).at(1).toDouble(), nAtPause);
        click(debugger, "cmdAbort");
    }});
    run();
    EXPECT_EQ(script.pauses(), 1);
    EXPECT_GT(nAtPause, 0);
    EXPECT_FALSE(console().isVisible());
}

TEST_F(Debugger, CurrentLineOfALongListingIsScrolledIntoView)
{
    QString program;
    for (int line = 1; line <= 200; ++line) program += QStringLiteral("x = %1\n").arg(line);
    program += QStringLiteral("stop");
    setEditorText(program);
    DebuggerScript script({[](QDialog& debugger) {
        QTreeWidget& list = codeList(debugger);
        EXPECT_EQ(list.topLevelItemCount(), 201);
        EXPECT_EQ(markedLine(debugger), 201);
        // Rows are as wide as all columns; only their heights are compared.
        auto shown = [&](int line) {
            const QRect row = list.visualItemRect(codeRow(debugger, line));
            return row.top() >= 0 && row.bottom() <= list.viewport()->rect().bottom();
        };
        EXPECT_TRUE(shown(201));
        EXPECT_FALSE(shown(1));
        click(debugger, "cmdContinue");
    }});
    run();
    EXPECT_EQ(script.pauses(), 1);
}

// The rows of the list that are shown whole.
int rowsShown(QTreeWidget& list)
{
    int shown = 0;
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        const QRect row = list.visualItemRect(list.topLevelItem(i));
        if (row.top() >= 0 && row.bottom() <= list.viewport()->rect().bottom()) ++shown;
    }
    return shown;
}

TEST_F(Debugger, ResizingGrowsTheListsAndShowsMoreVariables)
{
    QString source;
    for (int n = 1; n <= 30; ++n) source += QStringLiteral("v%1 = %1\n").arg(n);
    setEditorText(source + QStringLiteral("stop"));
    DebuggerScript script({[](QDialog& debugger) {
        QTreeWidget& variables = variableList(debugger);
        QTreeWidget& code = codeList(debugger);
        const QSize variablesBefore = variables.size();
        const QSize codeBefore = code.size();
        const int shownBefore = rowsShown(variables);
        EXPECT_GE(shownBefore, 1);

        debugger.resize(800, debugger.height() + 200);
        ASSERT_TRUE(waitFor([&] { return variables.width() > variablesBefore.width(); }));
        EXPECT_GT(variables.height(), variablesBefore.height());
        EXPECT_GT(code.height(), codeBefore.height());
        EXPECT_GT(code.width(), codeBefore.width());
        EXPECT_GT(rowsShown(variables), shownBefore);
        // The buttons stay in the lower right corner.
        const QRect cont = debugger.findChild<QPushButton*>(QStringLiteral("cmdContinue"))->geometry();
        EXPECT_EQ(cont.right(), debugger.width() - 9);
        EXPECT_EQ(cont.bottom(), debugger.height() - 9);

        debugger.resize(50, 50);
        ASSERT_TRUE(waitFor([&] { return debugger.width() < 800; }));
        EXPECT_GE(debugger.width(), debugger.minimumWidth());
        EXPECT_GE(debugger.height(), debugger.minimumHeight());
        EXPECT_GE(debugger.minimumWidth(), 300);
        EXPECT_GE(debugger.minimumHeight(), 200);
        EXPECT_GE(rowsShown(variables), 1);
        EXPECT_GE(rowsShown(code), 1);
        click(debugger, "cmdContinue");
    }});
    run();
    EXPECT_EQ(script.pauses(), 1);
}

TEST_F(Debugger, SizeAndPlaceAreKeptForTheNextPauseAndTheNextRun)
{
    const QRect placed(40, 50, 640, 480);
    setEditorText(QStringLiteral("print 1\nprint 2"));
    std::vector<QRect> seen;
    DebuggerScript script({
        [&](QDialog& debugger) {
            // Nothing kept yet: the form's size, taller when eight rows of each list need it.
            EXPECT_EQ(debugger.size(), QSize(481, std::max(337, debugger.minimumHeight())));
            debugger.setGeometry(placed);
            ASSERT_TRUE(waitFor([&] { return debugger.geometry() == placed; }));
            click(debugger, "cmdStep");
        },
        [&](QDialog& debugger) {
            seen.push_back(debugger.geometry());
            click(debugger, "cmdAbort");
        },
        [&](QDialog& debugger) {
            seen.push_back(debugger.geometry());
            debugger.close();
        },
        [&](QDialog& debugger) { click(debugger, "cmdContinue"); },
    });
    debug();
    debug();
    EXPECT_EQ(seen, (std::vector<QRect>{placed, placed}));
    EXPECT_FALSE(tarnikSettings()
                     .value(QStringLiteral("Debugger/Geometry"))
                     .toByteArray()
                     .isEmpty());
}

bool isBold(const QTreeWidgetItem& row)
{
    for (int column = 0; column < 3; ++column) {
        if (!row.font(column).bold()) return false;
    }
    return true;
}

TEST_F(Debugger, StepMarksVariablesChangedOrNewSinceThePreviousPause)
{
    struct Row {
        QString name;  // as shown, with the mark
        QString value;
        QString tip;   // empty: not marked
    };
    const QString newTip = QStringLiteral("上一次暂停以后新出现的变量");
    // Rows at the pauses before lines 1 to 5.
    const std::vector<std::vector<Row>> pauses = {
        {},
        {{QStringLiteral("● x"), QStringLiteral("1"), newTip}},
        {{QStringLiteral("x"), QStringLiteral("1"), {}}},  // set again to the same value
        {{QStringLiteral("x"), QStringLiteral("1"), {}}, {QStringLiteral("● y"), QStringLiteral("2"), newTip}},
        {{QStringLiteral("● x"), QStringLiteral("4"), QStringLiteral("上一次暂停时的值：1")},
         {QStringLiteral("y"), QStringLiteral("2"), {}}},
    };
    setEditorText(QStringLiteral("x = 1\nx = 1\ny = 2\nx = 4\nprint x"));
    DebuggerScript script;
    for (std::size_t pause = 0; pause < pauses.size(); ++pause) {
        script.add([&, pause](QDialog& debugger) {
            SCOPED_TRACE(pause + 1);
            QTreeWidget& list = variableList(debugger);
            const std::vector<Row>& expected = pauses[pause];
            ASSERT_EQ(list.topLevelItemCount(), static_cast<int>(expected.size()));
            for (std::size_t i = 0; i < expected.size(); ++i) {
                const QTreeWidgetItem& row = *list.topLevelItem(static_cast<int>(i));
                EXPECT_EQ(row.text(0), expected[i].name);
                EXPECT_EQ(row.text(1), expected[i].value);
                EXPECT_EQ(row.text(2), QStringLiteral("Double"));
                EXPECT_EQ(isBold(row), !expected[i].tip.isEmpty());
                EXPECT_EQ(row.toolTip(1), expected[i].tip);
            }
            click(debugger, "cmdStep");
        });
    }
    debug();
    EXPECT_EQ(script.pausedLines(), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(consoleText(), QStringLiteral("4\n"));
}

}  // namespace
}  // namespace tarnik::test
