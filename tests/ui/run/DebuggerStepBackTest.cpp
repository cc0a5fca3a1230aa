// 后退 and 前进 in the debugger window: Backspace shows the run one statement
// earlier (variables with their marks, the current line), Enter goes forward
// through the record and only at its end runs on; the run's output is as if
// nobody had looked back.
#include <QPushButton>
#include <QTest>

#include "support/DebuggerScript.h"
#include "support/IdeFixture.h"

namespace tarnik::test {
namespace {

class DebuggerStepBack : public IdeFixture {
protected:
    void debug() { action("mnuDebug").trigger(); }
};

// Each variable row as "NAME=VALUE", the mark kept in the name, and the tip of the marked ones.
QStringList shownVariables(QDialog& debugger)
{
    QStringList shown;
    for (const QStringList& row : rows(variableList(debugger))) shown << row[0] + QLatin1Char('=') + row[1];
    return shown;
}

TEST_F(DebuggerStepBack, BackspaceGoesBackAndEnterForwardThenOn)
{
    setEditorText(QStringLiteral("for i = 1 to 3\n    a = i\n    b = a * 2\nnext\nprint b"));
    DebuggerScript script;
    for (int i = 0; i < 5; ++i) script.add([](QDialog& debugger) { press(debugger, Qt::Key_Return); });
    script.add([](QDialog& debugger) {
        // Before line 3 in the second pass: i = 2, a = 2, b = 2.
        auto* back = debugger.findChild<QPushButton*>(QStringLiteral("cmdBack"));
        ASSERT_NE(back, nullptr);
        EXPECT_TRUE(back->toolTip().contains(QStringLiteral("Backspace")));
        const auto* step = debugger.findChild<QPushButton*>(QStringLiteral("cmdStep"));
        EXPECT_TRUE(step->toolTip().contains(QStringLiteral("Enter")));
        EXPECT_EQ(shownVariables(debugger), (QStringList{"i=2", "● a=2", "b=2"}));

        press(debugger, Qt::Key_Backspace);
        EXPECT_EQ(markedLine(debugger), 2);
        EXPECT_EQ(shownVariables(debugger), (QStringList{"● i=2", "a=1", "b=2"}));
        EXPECT_EQ(variableList(debugger).topLevelItem(0)->toolTip(1),
                  QStringLiteral("上一条语句执行以前的值：1"));

        press(debugger, Qt::Key_Backspace);
        EXPECT_EQ(markedLine(debugger), 4);
        EXPECT_EQ(shownVariables(debugger), (QStringList{"i=1", "a=1", "● b=2"}));

        press(debugger, Qt::Key_Return);  // forward through the record: the window stays
        EXPECT_EQ(markedLine(debugger), 2);
        press(debugger, Qt::Key_Return);
        EXPECT_EQ(markedLine(debugger), 3);
        EXPECT_EQ(shownVariables(debugger), (QStringList{"i=2", "● a=2", "b=2"}));
        EXPECT_TRUE(debugger.isVisible());

        for (int i = 0; i < 5; ++i) press(debugger, Qt::Key_Backspace);
        EXPECT_EQ(markedLine(debugger), 1);
        EXPECT_FALSE(back->isEnabled());  // the run's start
        EXPECT_TRUE(shownVariables(debugger).isEmpty());
        click(debugger, "cmdContinue");  // from the start of the record: the live run goes on where it was
    });
    debug();
    EXPECT_EQ(script.pausedLines(), (std::vector<int>{1, 2, 3, 4, 2, 3}));
    EXPECT_EQ(consoleText(), QStringLiteral("6\n"));
}

}  // namespace
}  // namespace tarnik::test
