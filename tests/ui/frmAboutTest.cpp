// The About window, and what the IDE looks like at start: the command-line
// file, Chinese standard buttons, the toolbar.
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "support/IdeFixture.h"
#include "ui/frmAbout.h"

namespace tarnik::test {
namespace {

using StartAndAbout = IdeFixture;

constexpr double kAboutOpacity = 240.0 / 255.0;

TEST_F(StartAndAbout, AboutFadesInOnTopWithItsTexts)
{
    action("mnuHelpAbout").trigger();
    auto* about = window->findChild<QWidget*>(QStringLiteral("frmAbout"));
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_LT(about->windowOpacity(), 0.5);
    EXPECT_TRUE(waitFor([&] { return qFuzzyCompare(about->windowOpacity(), kAboutOpacity); }))
        << about->windowOpacity();
    EXPECT_EQ(about->windowTitle(), QStringLiteral("关于 Tarnik"));
    EXPECT_TRUE(about->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(about->findChild<QLabel*>(QStringLiteral("lblDescription"))->text(),
              QStringLiteral("快速上手Basic语言解释器，可用于解释执行较简单的代码.更多实例请参阅相关basic语言编写规范。"));
    EXPECT_EQ(about->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
              QStringLiteral("软件版本号：120722.1.1（注:软件会持续更新敬请关注!）"));
}

TEST_F(StartAndAbout, ClickInTheFrameFadesTheAboutWindowOutAndTheNextOpeningFadesIn)
{
    for (int opening = 1; opening <= 2; ++opening) {
        SCOPED_TRACE(opening);
        action("mnuHelpAbout").trigger();
        QPointer<QWidget> about = window->findChild<QWidget*>(QStringLiteral("frmAbout"));
        ASSERT_TRUE(about);
        EXPECT_LT(about->windowOpacity(), 0.5);
        ASSERT_TRUE(waitFor([&] { return qFuzzyCompare(about->windowOpacity(), kAboutOpacity); }));

        auto* frame = about->findChild<QWidget*>(QStringLiteral("Frame1"));
        QTest::mouseClick(frame, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_FALSE(frame->isEnabled());
        EXPECT_TRUE(about->isVisible());  // still fading out
        EXPECT_TRUE(waitFor([&] { return about.isNull(); }));
    }
}

TEST_F(StartAndAbout, CommandLineFileIsLoadedUnmodified)
{
    const QString file = path(QStringLiteral("start.bas"));
    writeFile(file, "print 1\nprint 2\n");
    openCommandLine(file);
    EXPECT_EQ(editorText(), QStringLiteral("print 1\r\nprint 2\r\n"));
    EXPECT_TRUE(titleBecomes(QStringLiteral("[%1] - Tarnik").arg(file))) << window->windowTitle();
}

TEST_F(StartAndAbout, MissingCommandLineFileGivesAnEmptyTextThatSaveCreates)
{
    const QString file = path(QStringLiteral("new program.bas"));
    openCommandLine(file);
    EXPECT_EQ(editorText(), QString());
    EXPECT_TRUE(titleBecomes(QStringLiteral("[%1] - Tarnik").arg(file))) << window->windowTitle();
    EXPECT_FALSE(QFile::exists(file));

    QTest::keyClicks(&editor(), QStringLiteral("print 1"));
    action("mnuFileSave").trigger();
    EXPECT_EQ(readFile(file), QByteArray("print 1"));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(StartAndAbout, UnreadableCommandLineFileIsReported)
{
    openCommandLine(dir.path());  // a folder, not a file
    ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("warning")});
    EXPECT_TRUE(dialogs.shown[0].text.contains(dir.path()));
    EXPECT_TRUE(titleBecomes(QStringLiteral("[新文件] - Tarnik")));
}

TEST_F(StartAndAbout, StandardButtonsSpeakChinese)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("警告"), QStringLiteral("内容已经更改,是否保存?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().startsWith(QStringLiteral("是")));
    EXPECT_TRUE(box.button(QMessageBox::No)->text().startsWith(QStringLiteral("否")));
    EXPECT_TRUE(box.button(QMessageBox::Cancel)->text().startsWith(QStringLiteral("取消")));
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Open | QDialogButtonBox::Save);
    EXPECT_TRUE(buttons.button(QDialogButtonBox::Ok)->text().startsWith(QStringLiteral("确定")));
    EXPECT_TRUE(buttons.button(QDialogButtonBox::Open)->text().startsWith(QStringLiteral("打开")));
    EXPECT_TRUE(buttons.button(QDialogButtonBox::Save)->text().startsWith(QStringLiteral("保存")));
}

TEST_F(StartAndAbout, ToolbarHasSixKeysWithIcons)
{
    auto* toolbar = window->findChild<QToolBar*>(QStringLiteral("tbToolBar"));
    ASSERT_NE(toolbar, nullptr);
    QStringList keys;
    for (QAction* key : toolbar->actions()) {
        if (key->isSeparator()) {
            keys << QStringLiteral("|");
            continue;
        }
        keys << key->text();
        EXPECT_FALSE(key->icon().pixmap(24, 24).isNull()) << key->text();
    }
    EXPECT_EQ(keys.join(QLatin1Char(' ')), QStringLiteral("新建 打开 保存 | 运行 调试 停止"));
}

TEST_F(StartAndAbout, F9RunsTheProgram)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    setEditorText(QStringLiteral("print 6 * 7"));
    QTest::keyClick(&editor(), Qt::Key_F9);
    EXPECT_EQ(consoleText(), QStringLiteral("42\n"));
}

TEST_F(StartAndAbout, ViewMenuHidesAndShowsTheBars)
{
    auto* toolbar = window->findChild<QToolBar*>(QStringLiteral("tbToolBar"));
    auto* statusBar = window->findChild<QWidget*>(QStringLiteral("sbStatusBar"));
    action("mnuViewToolbar").trigger();
    action("mnuViewStatusBar").trigger();
    EXPECT_FALSE(toolbar->isVisible());
    EXPECT_FALSE(statusBar->isVisible());
    EXPECT_FALSE(action("mnuViewToolbar").isChecked());
    action("mnuViewToolbar").trigger();
    EXPECT_TRUE(toolbar->isVisible());
    EXPECT_TRUE(action("mnuViewToolbar").isChecked());
}

}  // namespace
}  // namespace tarnik::test
