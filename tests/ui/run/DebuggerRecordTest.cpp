// The execution record beside the debugger: the console follows 后退 and
// 前进, the record list follows the moment shown and jumps where clicked,
// the GOSUB stack is shown, and 导出跟踪表 copies and saves the trace table.
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "support/DebuggerScript.h"
#include "support/IdeFixture.h"

namespace tarnik::test {
namespace {

class DebuggerRecord : public IdeFixture {
protected:
    void debug() { action("mnuDebug").trigger(); }
};

QTreeWidget& recordList(QDialog& debugger)
{
    auto* list = debugger.findChild<QTreeWidget*>(QStringLiteral("lvRecord"));
    EXPECT_NE(list, nullptr);
    return *list;
}

QString currentRecordStep(QDialog& debugger)
{
    const QTreeWidgetItem* row = recordList(debugger).currentItem();
    return row ? row->text(0) : QString();
}

void clickRecordStep(QDialog& debugger, int step)
{
    QTreeWidget& list = recordList(debugger);
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        if (list.topLevelItem(i)->text(0) != QString::number(step)) continue;
        list.scrollToItem(list.topLevelItem(i));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.topLevelItem(i)).center());
        return;
    }
    ADD_FAILURE() << "no row for step " << step;
}

QString gosubStack(QDialog& debugger)
{
    auto* label = debugger.findChild<QLabel*>(QStringLiteral("lblGosub"));
    EXPECT_NE(label, nullptr);
    return label ? label->text() : QString();
}

TEST_F(DebuggerRecord, ConsoleShowsTheTextOfTheMomentShownAndTheLiveTextAfterwards)
{
    setEditorText(QStringLiteral("print 1\nprint 2\nprint 3\nx = 1\nprint x"));
    DebuggerScript script;
    for (int i = 0; i < 3; ++i) script.add([](QDialog& debugger) { press(debugger, Qt::Key_Return); });
    script.add([this](QDialog& debugger) {
        EXPECT_EQ(consoleText(), QStringLiteral("1\n2\n3\n"));
        press(debugger, Qt::Key_Backspace);
        EXPECT_EQ(consoleText(), QStringLiteral("1\n2\n"));
        press(debugger, Qt::Key_Backspace);
        press(debugger, Qt::Key_Backspace);
        EXPECT_EQ(consoleText(), QStringLiteral(""));
        press(debugger, Qt::Key_Return);
        EXPECT_EQ(consoleText(), QStringLiteral("1\n"));
        press(debugger, Qt::Key_Return);
        press(debugger, Qt::Key_Return);  // back at the live moment
        EXPECT_EQ(consoleText(), QStringLiteral("1\n2\n3\n"));
        press(debugger, Qt::Key_Backspace);
        click(debugger, "cmdContinue");  // from an earlier moment: the live text comes back, then the run goes on
    });
    debug();
    EXPECT_EQ(script.pauses(), 4);
    EXPECT_EQ(consoleText(), QStringLiteral("1\n2\n3\n1\n"));
}

TEST_F(DebuggerRecord, RecordListFollowsTheMomentAndAClickJumpsThere)
{
    setEditorText(QStringLiteral("for i = 1 to 2\n    a = i * 10\n    print a\nnext\nprint \"end\""));
    DebuggerScript script;
    for (int i = 0; i < 6; ++i) script.add([](QDialog& debugger) { press(debugger, Qt::Key_Return); });
    script.add([this](QDialog& debugger) {
        // Six statements run; the seventh (NEXT in the second pass) is about to.
        EXPECT_EQ(markedLine(debugger), 4);
        EXPECT_EQ(rows(recordList(debugger)), (std::vector<QStringList>{
                                                  {"1", "1", "i=1", ""},
                                                  {"2", "2", "a=10", ""},
                                                  {"3", "3", "", "10↵"},
                                                  {"4", "4", "i=2", ""},
                                                  {"5", "2", "a=20", ""},
                                                  {"6", "3", "", "20↵"},
                                              }));
        EXPECT_EQ(recordList(debugger).headerItem()->text(2), QStringLiteral("变化"));
        EXPECT_EQ(currentRecordStep(debugger), QStringLiteral("6"));

        press(debugger, Qt::Key_Backspace);
        EXPECT_EQ(currentRecordStep(debugger), QStringLiteral("5"));

        clickRecordStep(debugger, 2);  // after step 2: a = 10, line 3 next
        EXPECT_EQ(markedLine(debugger), 3);
        EXPECT_EQ(currentRecordStep(debugger), QStringLiteral("2"));
        EXPECT_EQ(rows(variableList(debugger)), (std::vector<QStringList>{{"i", "1", "Double"}, {"● a", "10", "Double"}}));
        EXPECT_EQ(consoleText(), QString());

        clickRecordStep(debugger, 4);  // forward through the record
        EXPECT_EQ(markedLine(debugger), 2);
        EXPECT_EQ(consoleText(), QStringLiteral("10\n"));

        clickRecordStep(debugger, 6);  // the last row: the live moment again
        EXPECT_EQ(markedLine(debugger), 4);
        EXPECT_EQ(consoleText(), QStringLiteral("10\n20\n"));
        EXPECT_TRUE(debugger.findChild<QPushButton*>(QStringLiteral("cmdBack"))->isEnabled());
        press(debugger, Qt::Key_Return);  // runs NEXT live: the window closes
        EXPECT_FALSE(debugger.isVisible());
    });
    script.add([](QDialog& debugger) { click(debugger, "cmdContinue"); });
    debug();
    EXPECT_EQ(script.pauses(), 8);
    EXPECT_EQ(consoleText(), QStringLiteral("10\n20\nend\n"));
}

TEST_F(DebuggerRecord, GosubStackShowsEachCallAndWhereItReturns)
{
    setEditorText(QStringLiteral("gosub 100\nprint \"done\"\nend\n100 gosub 200\nreturn\n200 x = 1\nreturn"));
    DebuggerScript script;
    script.add([](QDialog& debugger) {
        EXPECT_EQ(gosubStack(debugger), QStringLiteral("GOSUB 栈：空"));
        press(debugger, Qt::Key_Return);
    });
    script.add([](QDialog& debugger) {
        EXPECT_EQ(gosubStack(debugger), QStringLiteral("GOSUB 栈：\n第1行 gosub 100 → 返回到第2行"));
        press(debugger, Qt::Key_Return);
    });
    script.add([](QDialog& debugger) {
        EXPECT_EQ(markedLine(debugger), 6);
        EXPECT_EQ(gosubStack(debugger), QStringLiteral("GOSUB 栈：\n第1行 gosub 100 → 返回到第2行\n"
                                                       "第4行 100 gosub 200 → 返回到第5行"));
        press(debugger, Qt::Key_Backspace);  // the stack of an earlier moment
        EXPECT_EQ(gosubStack(debugger), QStringLiteral("GOSUB 栈：\n第1行 gosub 100 → 返回到第2行"));
        click(debugger, "cmdContinue");
    });
    debug();
    EXPECT_EQ(script.pauses(), 3);
    EXPECT_EQ(consoleText(), QStringLiteral("done\n"));
}

TEST_F(DebuggerRecord, TraceTableIsCopiedAndSavedAsCsv)
{
    setEditorText(QStringLiteral("s = 0\nfor i = 1 to 2\n    s = s + i\n    print \"s, \"; s\nnext"));
    const QString csv = path(QStringLiteral("跟踪表.csv"));
    dialogs.saveNames.push_back(csv);
    dialogs.saveNames.push_back(path(QStringLiteral("没有这个文件夹/t.csv")));
    DebuggerScript script;
    for (int i = 0; i < 7; ++i) script.add([](QDialog& debugger) { press(debugger, Qt::Key_Return); });
    script.add([](QDialog& debugger) {
        click(debugger, "cmdExport");
        click(debugger, "cmdExport");  // a save that fails says so; the table is still on the clipboard
        click(debugger, "cmdContinue");
    });
    debug();
    // Seven statements run before the last pause; a value only where it changed.
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("步\t行\ts\ti\t输出\n"
                                                                   "1\t1\t0\t\t\n"
                                                                   "2\t2\t\t1\t\n"
                                                                   "3\t3\t1\t\t\n"
                                                                   "4\t4\t\t\ts, 1↵\n"
                                                                   "5\t5\t\t2\t\n"
                                                                   "6\t3\t3\t\t\n"
                                                                   "7\t4\t\t\ts, 3↵\n"));
    QFile saved(csv);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QStringLiteral("\uFEFF步,行,s,i,输出\r\n"
                                              "1,1,0,,\r\n"
                                              "2,2,,1,\r\n"
                                              "3,3,1,,\r\n"
                                              "4,4,,,\"s, 1↵\"\r\n"
                                              "5,5,,2,\r\n"
                                              "6,3,3,,\r\n"
                                              "7,4,,,\"s, 3↵\"\r\n")
                                  .toUtf8());
    EXPECT_EQ(dialogs.kinds(), (std::vector<QString>{"save", "save", "critical"}));
    EXPECT_TRUE(dialogs.shown.back().text.contains(QStringLiteral("跟踪表已复制到剪贴板")));
}

}  // namespace
}  // namespace tarnik::test
