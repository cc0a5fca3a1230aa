// 监视 and 值改变时暂停 in the debugger window: watches are added while
// paused and shown again at every pause, an "=" that would assign is refused
// in the value column, and a variable's context menu makes the run pause
// after its value changes; none of it changes what the program computes.
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "support/DebuggerScript.h"
#include "support/IdeFixture.h"

namespace tarnik::test {
namespace {

class DebuggerWatch : public IdeFixture {};

void addWatch(QDialog& debugger, const QString& expression)
{
    auto* text = debugger.findChild<QLineEdit*>(QStringLiteral("txtWatch"));
    ASSERT_NE(text, nullptr);
    text->setText(expression);
    QTest::mouseClick(debugger.findChild<QPushButton*>(QStringLiteral("cmdAddWatch")), Qt::LeftButton);
}

std::vector<QStringList> watchRows(QDialog& debugger)
{
    return rows(*debugger.findChild<QTreeWidget*>(QStringLiteral("lvWatch")));
}

// The variable's context menu, with 值改变时暂停 chosen.
void pauseOnChange(QDialog& debugger, const QString& name)
{
    QTreeWidget& list = variableList(debugger);
    const QList<QTreeWidgetItem*> found = list.findItems(name, Qt::MatchEndsWith);
    ASSERT_EQ(found.size(), 1);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        poll.stop();
        menu->findChild<QAction*>(QStringLiteral("mnuPauseOnChange"))->trigger();
        menu->close();
    });
    poll.start(10);
    emit list.customContextMenuRequested(list.visualItemRect(found.first()).center());
}

TEST_F(DebuggerWatch, WatchesShowAtEveryPauseAndAChangeBreaksTheRun)
{
    setEditorText(QStringLiteral("for i = 1 to 3\n    s = s + i\nnext\nprint s"));
    std::vector<std::vector<QStringList>> watched;
    DebuggerScript script({
        [](QDialog& debugger) {
            addWatch(debugger, QStringLiteral("s * 10"));
            addWatch(debugger, QStringLiteral("s = 99"));
            const std::vector<QStringList> shown = watchRows(debugger);
            ASSERT_EQ(shown.size(), 2u);
            EXPECT_EQ(shown[0], (QStringList{"s * 10", "0"}));
            EXPECT_TRUE(shown[1][1].contains(QStringLiteral("赋值"))) << shown[1][1];
            press(debugger, Qt::Key_Return);
        },
        [](QDialog& debugger) {
            pauseOnChange(debugger, QStringLiteral("i"));
            click(debugger, "cmdContinue");
        },
    });
    for (int pause = 0; pause < 3; ++pause) {
        script.add([&](QDialog& debugger) {
            watched.push_back(watchRows(debugger));
            click(debugger, "cmdContinue");
        });
    }
    action("mnuDebug").trigger();
    // i changes in each NEXT: the pause is before the statement after it.
    EXPECT_EQ(script.pausedLines(), (std::vector<int>{1, 2, 2, 2, 4}));
    ASSERT_EQ(watched.size(), 3u);
    EXPECT_EQ(watched[0][0], (QStringList{"s * 10", "10"}));
    EXPECT_EQ(watched[2][0], (QStringList{"s * 10", "60"}));
    EXPECT_EQ(consoleText(), QStringLiteral("6\n"));
}

// 退到上一个断点 in the record window: back to each earlier visit of the
// ticked line; with none left the user is told, and the run stays paused.
TEST_F(DebuggerWatch, BackToThePreviousBreakpoint)
{
    setEditorText(QStringLiteral("for i = 1 to 3\n    s = s + i\nnext\nprint s"));
    QStringList reached;
    DebuggerScript script({
        [](QDialog& debugger) {
            clickTick(debugger, 2);
            clickTick(debugger, 4);
            click(debugger, "cmdContinue");
        },
        [](QDialog& debugger) { click(debugger, "cmdContinue"); },
        [](QDialog& debugger) { click(debugger, "cmdContinue"); },
        [](QDialog& debugger) { click(debugger, "cmdContinue"); },
        [&](QDialog& debugger) {
            for (int back = 0; back < 4; ++back) {
                QTest::mouseClick(debugger.findChild<QPushButton*>(QStringLiteral("cmdBackToBreakpoint")), Qt::LeftButton);
                reached << QString::number(markedLine(debugger)) + QLatin1Char(':') + rows(variableList(debugger))[0][1];
            }
            click(debugger, "cmdContinue");
        },
    });
    action("mnuDebug").trigger();
    EXPECT_EQ(script.pausedLines(), (std::vector<int>{1, 2, 2, 2, 4}));
    EXPECT_EQ(reached, (QStringList{"2:3", "2:2", "2:1", "2:1"}));
    EXPECT_EQ(dialogs.kinds(), (std::vector<QString>{"warning"}));
    EXPECT_EQ(consoleText(), QStringLiteral("6\n"));
}

}  // namespace
}  // namespace tarnik::test
