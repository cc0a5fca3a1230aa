// The 输入数据 panel: prepared answers taken by INPUT while the panel is
// shown (echoed, no box), the box once they run out, and the text kept with
// the program file.
#include <QDockWidget>
#include <QMenu>
#include <QLabel>
#include <QSettings>

#include "support/FileSizeLimit.h"
#include "support/IdeFixture.h"
#include "ui/storage/TarnikSettings.h"

namespace tarnik::test {
namespace {

class InputData : public IdeFixture {
protected:
    QDockWidget& panel() { return *window->findChild<QDockWidget*>(QStringLiteral("dockInputData")); }
    QPlainTextEdit& answersBox() { return *panel().findChild<QPlainTextEdit*>(QStringLiteral("txtInputData")); }
    void showPanel()
    {
        if (panel().isHidden()) panel().toggleViewAction()->trigger();
    }
};

const QString kSum = QStringLiteral("input a\ninput b\nprint a + b");

TEST_F(InputData, PanelIsHiddenAtFirstAndToggledFromTheViewAndRunMenus)
{
    EXPECT_TRUE(panel().isHidden());
    EXPECT_EQ(panel().windowTitle(), QStringLiteral("输入数据"));
    QAction* toggle = panel().toggleViewAction();
    const auto inMenu = [&](const char* menu) {
        return window->findChild<QMenu*>(QLatin1String(menu))->actions().contains(toggle);
    };
    EXPECT_TRUE(inMenu("mnuView"));
    EXPECT_TRUE(inMenu("mnuRun"));
    toggle->trigger();
    EXPECT_FALSE(panel().isHidden());
    EXPECT_TRUE(waitFor([&] { return answersBox().hasFocus(); }));
    toggle->trigger();
    EXPECT_TRUE(panel().isHidden());
}

TEST_F(InputData, PreparedAnswersAreUsedThenTheBoxAsks)
{
    struct Case {
        const char* name;
        bool shown;
        QString prepared;
        std::deque<QString> typed;     // answers to the box
        std::vector<QString> asked;    // the boxes' prompts
        QString output;
    };
    const Case cases[] = {
        {"all prepared", true, QStringLiteral("3\n4\n"), {}, {}, QStringLiteral("3\n4\n7\n")},
        {"empty lines skipped", true, QStringLiteral("\n3\n\n4"), {}, {}, QStringLiteral("3\n4\n7\n")},
        {"run out, then the box", true, QStringLiteral("3"), {QStringLiteral("5")},
         {QStringLiteral("输入整数[b]：")}, QStringLiteral("3\n5\n8\n")},
        {"panel hidden: the box for every answer", false, QStringLiteral("3\n4"),
         {QStringLiteral("1"), QStringLiteral("2")},
         {QStringLiteral("输入整数[a]："), QStringLiteral("输入整数[b]：")}, QStringLiteral("1\n2\n3\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setEditorText(kSum);
        answersBox().setPlainText(c.prepared);
        panel().setVisible(c.shown);
        dialogs.shown.clear();
        dialogs.inputs = c.typed;
        run();
        std::vector<QString> asked;
        for (const ShownDialog& dialog : dialogs.shown) asked.push_back(dialog.text);
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(consoleText(), c.output);
        // The prepared answers are there again for the next run.
        EXPECT_EQ(answersBox().toPlainText(), c.prepared);
    }
}

TEST_F(InputData, EachRunStartsFromTheFirstAnswer)
{
    setEditorText(QStringLiteral("input a\nprint a"));
    showPanel();
    answersBox().setPlainText(QStringLiteral("6\n7"));
    run();
    EXPECT_EQ(consoleText(), QStringLiteral("6\n6\n"));
    run();
    EXPECT_EQ(consoleText(), QStringLiteral("6\n6\n"));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(InputData, TextIsKeptWithTheProgramFile)
{
    const QString first = path(QStringLiteral("first.tnk"));
    const QString second = path(QStringLiteral("second.tnk"));
    writeFile(first, "input a\r\nprint a");
    writeFile(second, "print 2");

    openCommandLine(first);
    ASSERT_TRUE(titleBecomes(QStringLiteral("[%1] - Tarnik").arg(first)));
    answersBox().setPlainText(QStringLiteral("41"));

    restartWindow();
    EXPECT_EQ(answersBox().toPlainText(), QString());
    openCommandLine(second);
    ASSERT_TRUE(titleBecomes(QStringLiteral("[%1] - Tarnik").arg(second)));
    EXPECT_EQ(answersBox().toPlainText(), QString());
    openCommandLine(first);
    EXPECT_TRUE(waitFor([&] { return answersBox().toPlainText() == QStringLiteral("41"); }))
        << answersBox().toPlainText();

    QSettings settings = tarnikSettings();
    settings.beginGroup(QStringLiteral("InputData"));
    EXPECT_EQ(settings.childKeys().size(), 1);

    showPanel();
    run();
    EXPECT_EQ(consoleText(), QStringLiteral("41\n41\n"));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(InputData, AnswersTypedForAnUnsavedProgramGoWithItWhenItIsSaved)
{
    setEditorText(QStringLiteral("input a\nprint a"));
    answersBox().setPlainText(QStringLiteral("9"));
    dialogs.saveNames.push_back(path(QStringLiteral("saved.tnk")));
    action("mnuFileSave").trigger();
    // The editor may rewrite a line after the save, so the title may mark a change again.
    ASSERT_TRUE(waitFor([&] { return window->windowTitle().startsWith(QLatin1Char('[') + path(QStringLiteral("saved.tnk"))); }))
        << window->windowTitle();


    restartWindow();
    openCommandLine(path(QStringLiteral("saved.tnk")));
    EXPECT_TRUE(waitFor([&] { return answersBox().toPlainText() == QStringLiteral("9"); }))
        << answersBox().toPlainText();
}

// A full disk: the settings file keeps what it held (the writer checks every
// byte before replacing it), and the panel says that the answers are not kept.
TEST_F(InputData, AnswersThatCannotBeStoredAreSaidSoAndTheSettingsFileIsKept)
{
    const QString program = path(QStringLiteral("a.tnk"));
    writeFile(program, "input a");
    openCommandLine(program);
    ASSERT_TRUE(titleBecomes(QStringLiteral("[%1] - Tarnik").arg(program)));
    answersBox().setPlainText(QStringLiteral("1"));
    const QString settingsFile = tarnikSettings().fileName();
    const QByteArray stored = readFile(settingsFile);
    ASSERT_FALSE(stored.isEmpty());
    QLabel& notKept = *panel().findChild<QLabel*>(QStringLiteral("lblInputDataNotKept"));
    EXPECT_TRUE(notKept.isHidden());
    {
        const FileSizeLimit full(0);
        answersBox().setPlainText(QStringLiteral("2"));
    }
    EXPECT_FALSE(notKept.isHidden());
    EXPECT_TRUE(notKept.text().contains(QStringLiteral("关闭 Tarnik 后它们会丢失"))) << notKept.text();
    EXPECT_EQ(readFile(settingsFile), stored);

    answersBox().setPlainText(QStringLiteral("3"));
    EXPECT_TRUE(notKept.isHidden());
    EXPECT_NE(readFile(settingsFile), stored);
}

}  // namespace
}  // namespace tarnik::test
