// 停止 from the main window: an endless loop, a program waiting at INPUT and
// the INPUT box's own 停止运行 all end the run without an error; afterwards
// the console shows what the program printed and the keys are the editor's.
#include <QApplication>
#include <QStatusBar>
#include <QAction>
#include <QLabel>
#include <QTimer>

#include "support/DebuggerScript.h"
#include "support/IdeFixture.h"

namespace tarnik::test {
namespace {

class Stop : public IdeFixture {
protected:
    // Runs the program and checks how a stopped run looks once it has ended.
    void runAndExpectStopped(const QString& program, const QString& printed)
    {
        setEditorText(program);
        run();
        EXPECT_TRUE(dialogs.kinds().empty() || dialogs.kinds().back() == QStringLiteral("input")) << "no error box";
        EXPECT_TRUE(console().isVisible());
        EXPECT_EQ(consoleText(), printed);
        EXPECT_EQ(console().windowTitle(), QStringLiteral("程序中止 - 控制台"));
        EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("程序已停止。"));
        EXPECT_FALSE(action("mnuRunStop").isEnabled());
        EXPECT_TRUE(action("mnuStart").isEnabled());
        EXPECT_TRUE(waitFor([this] { return QApplication::focusWidget() == &editor(); }));
    }
};

const QString kEndlessLoop = QStringLiteral("print \"x\"\ndo while 1 = 1\n    n = n + 1\nloop");

TEST_F(Stop, TheMenuAndTheToolbarEndAnEndlessLoop)
{
    for (const char* command : {"mnuRunStop", "tbStop"}) {
        SCOPED_TRACE(command);
        QTimer::singleShot(100, window.get(), [this, command] {
            EXPECT_TRUE(action(command).isEnabled());
            action(command).trigger();
        });
        runAndExpectStopped(kEndlessLoop, QStringLiteral("x\n"));
    }
}

// 暂停 on a program that does not end: the debugger says which loop it is
// and why it never ends, worked out while the window stays usable.
TEST_F(Stop, PauseOnAnEndlessLoopSaysWhyItNeverEnds)
{
    setEditorText(QStringLiteral("k = 3\ndo while k > 0\n    n = n + 1\n    k = 3\n    if n = 1000 then print n\nloop"));
    // 暂停 once the loop has gone round a while, as a user would press it.
    QTimer presser;
    QObject::connect(&presser, &QTimer::timeout, window.get(), [&] {
        if (!consoleText().startsWith(QStringLiteral("1000"))) return;
        presser.stop();
        console().findChild<QAction*>(QStringLiteral("暂停"))->trigger();
    });
    presser.start(1);
    QString why;
    DebuggerScript script;
    script.add([&](QDialog& debugger) {
        auto* label = debugger.findChild<QLabel*>(QStringLiteral("lblWhyNotEnded"));
        ASSERT_NE(label, nullptr);
        EXPECT_TRUE(waitFor([&] { return !label->text().startsWith(QStringLiteral("正在分析")); }));
        why = label->text();
        click(debugger, "cmdAbort");
    });
    run();
    // How many statements ran depends on when 暂停 came; the loop and its condition do not.
    EXPECT_TRUE(why.contains(QStringLiteral("条语句还没有结束，这时正在第2行开始的循环里。"))) << why;
    EXPECT_TRUE(why.endsWith(QStringLiteral("k 在循环里没有改变，一直是 3，条件 k > 0 一直成立。"))) << why;
}

TEST_F(Stop, StopEndsAProgramWaitingAtInput)
{
    dialogs.onShow = [this](const ShownDialog& dialog) {
        if (dialog.kind == QStringLiteral("input")) action("mnuRunStop").trigger();
    };
    dialogs.inputs = {QString()};  // the box closes with its console
    runAndExpectStopped(QStringLiteral("print \"a\"\ninput a\nprint a"), QStringLiteral("a\n"));
}

TEST_F(Stop, TheInputBoxsOwnStopEndsTheRunQuietly)
{
    dialogs.inputs = {ScriptedDialogs::kPressStop};
    setEditorText(QStringLiteral("input a\nprint a * 2"));
    run();
    EXPECT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("input")});
    EXPECT_EQ(consoleText(), QString());
    EXPECT_TRUE(action("mnuStart").isEnabled());
}

// The question the INPUT statement prints ends its own console line before
// the box asks; the box still shows it.
TEST_F(Stop, TheInputBoxShowsTheInputStatementsOwnQuestion)
{
    struct Case {
        const char* program;
        const char* question;
    };
    const Case cases[] = {
        {"Input \"请输入分数：\"; score\nprint score", "请输入分数："},
        {"input \"a=\"; a, \"b=\"; b\nprint a + b", "b="},
        {"print \"猜一个数：\";\ninput guess", "猜一个数："},
        {"print 1\ninput n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        dialogs.shown.clear();
        dialogs.inputs = {QStringLiteral("3"), QStringLiteral("4")};
        setEditorText(QString::fromUtf8(c.program));
        run();
        dialogs.inputs.clear();
        ASSERT_FALSE(dialogs.shown.empty());
        EXPECT_EQ(dialogs.shown.back().question, QString::fromUtf8(c.question));
    }
}

}  // namespace
}  // namespace tarnik::test
