// Breakpoints set in the editor's gutter at any time: they stay with their
// lines, pause any run (Start and Debug), follow the debugger's ticks, may
// hold a condition; and 运行到光标处 from the 运行 menu and in the debugger.
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include "support/DebuggerScript.h"
#include "support/IdeFixture.h"
#include "ui/editor/SourceEditor.h"

namespace tarnik::test {
namespace {

const QString kLoop = QStringLiteral(
    "for i = 1 to 3\n"
    "    s = s + i\n"
    "next\n"
    "print s");

class GutterBreakpoints : public IdeFixture {
protected:
    SourceEditor& source() { return *qobject_cast<SourceEditor*>(&editor()); }
    QWidget& gutter() { return *editor().findChild<QWidget*>(QStringLiteral("lineNumberGutter")); }

    QPoint gutterPointOf(int line)
    {
        const QTextBlock block = editor().document()->findBlockByNumber(line - 1);
        return {gutter().width() / 2, source().cursorRect(QTextCursor(block)).center().y()};
    }
    void clickGutter(int line) { QTest::mouseClick(&gutter(), Qt::LeftButton, Qt::NoModifier, gutterPointOf(line)); }

    // The gutter's context menu on `line`, with the entry `text` chosen.
    void chooseFromGutterMenu(int line, const QString& text)
    {
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            poll.stop();
            for (QAction* entry : menu->actions()) {
                if (entry->text() == text) entry->trigger();
            }
            menu->close();
        });
        poll.start(10);
        QContextMenuEvent event(QContextMenuEvent::Mouse, gutterPointOf(line), gutter().mapToGlobal(gutterPointOf(line)));
        QApplication::sendEvent(&gutter(), &event);
    }

    void placeCaret(int line)
    {
        QTextCursor caret(editor().document()->findBlockByNumber(line - 1));
        editor().setTextCursor(caret);
    }
};

TEST_F(GutterBreakpoints, AClickSetsAndClearsAndTheMarkMovesWithItsLine)
{
    setEditorText(kLoop);
    window->resize(600, 400);
    clickGutter(2);
    clickGutter(4);
    EXPECT_EQ(source().breakpointMarks(), (std::vector<int>{2, 4}));
    clickGutter(4);
    EXPECT_EQ(source().breakpointMarks(), (std::vector<int>{2}));

    QTextCursor top(editor().document());
    top.insertText(QStringLiteral("cls\n"));
    EXPECT_EQ(source().breakpointMarks(), (std::vector<int>{3}));
    QTextCursor second(editor().document()->findBlockByNumber(1));
    second.select(QTextCursor::BlockUnderCursor);
    second.removeSelectedText();  // the FOR line, above the mark
    EXPECT_EQ(source().breakpointMarks(), (std::vector<int>{2}));
    EXPECT_TRUE(editor().document()->findBlockByNumber(1).text().contains(QStringLiteral("s = s + i")));
}

// Set before the run, they pause Start as well as Debug; ticks in the
// debugger change the editor's, which stay after the run.
TEST_F(GutterBreakpoints, TheEditorsBreakpointsPauseEveryRunAndFollowTheTicks)
{
    setEditorText(kLoop);
    window->resize(600, 400);
    clickGutter(2);
    {  // one script at a time: each watches for every debugger window
        DebuggerScript script({
            [](QDialog& debugger) {
                EXPECT_EQ(codeRow(debugger, 2)->checkState(0), Qt::Checked);
                clickTick(debugger, 2);  // unticked: not again in this run
                clickTick(debugger, 4);
                click(debugger, "cmdContinue");
            },
            [](QDialog& debugger) { click(debugger, "cmdContinue"); },
        });
        run();
        EXPECT_EQ(script.pausedLines(), (std::vector<int>{2, 4}));
    }
    EXPECT_EQ(source().breakpointMarks(), (std::vector<int>{4}));

    DebuggerScript debugScript({
        [](QDialog& debugger) { click(debugger, "cmdContinue"); },
        [](QDialog& debugger) { click(debugger, "cmdContinue"); },
    });
    action("mnuDebug").trigger();
    EXPECT_EQ(debugScript.pausedLines(), (std::vector<int>{1, 4}));
    EXPECT_EQ(consoleText(), QStringLiteral("6\n"));
}

TEST_F(GutterBreakpoints, AConditionFromTheGutterMenuDecidesThePause)
{
    setEditorText(kLoop);
    window->resize(600, 400);
    dialogs.inputs = {QStringLiteral("i = 2")};
    chooseFromGutterMenu(2, QStringLiteral("设置条件…"));
    ASSERT_EQ(dialogs.kinds(), (std::vector<QString>{"input"}));
    EXPECT_EQ(source().breakpointMarks(), (std::vector<int>{2}));
    EXPECT_TRUE(source().gutterToolTipAt(gutterPointOf(2)).contains(QStringLiteral("i = 2")));
    QStringList shown;
    DebuggerScript script({[&](QDialog& debugger) {
        for (const QStringList& row : rows(variableList(debugger))) shown << row[0] + QLatin1Char('=') + row[1];
        click(debugger, "cmdContinue");
    }});
    run();
    EXPECT_EQ(script.pausedLines(), (std::vector<int>{2}));
    EXPECT_EQ(shown, (QStringList{"i=2", "s=1"}));
    EXPECT_EQ(consoleText(), QStringLiteral("6\n"));  // the condition compared, it never assigned

    chooseFromGutterMenu(2, QStringLiteral("取消断点"));
    EXPECT_TRUE(source().breakpointMarks().empty());
}

TEST_F(GutterBreakpoints, RunToCursorFromTheMenuAndInTheDebugger)
{
    setEditorText(kLoop);
    window->resize(600, 400);
    placeCaret(3);
    DebuggerScript script({
        [](QDialog& debugger) {
            codeList(debugger).setCurrentItem(codeRow(debugger, 4));
            press(debugger, Qt::Key_F8, Qt::ControlModifier);
        },
        [](QDialog& debugger) { click(debugger, "cmdContinue"); },
    });
    action("mnuRunToCursor").trigger();
    EXPECT_EQ(script.pausedLines(), (std::vector<int>{3, 4}));  // no pause at line 1, nor at 3 again
    EXPECT_TRUE(source().breakpointMarks().empty());
    EXPECT_EQ(action("mnuRunToCursor").shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F8));
}

}  // namespace
}  // namespace tarnik::test
