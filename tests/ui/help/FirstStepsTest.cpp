// Where a pupil starts: a hint on the empty page, 帮助 → 入门, and the 示例
// menu beginning with 第一个程序, which runs as the page says.
#include <QMenu>

#include "support/IdeFixture.h"
#include "ui/help/ReferenceBrowser.h"
#include "ui/help/ReferenceWindow.h"

namespace tarnik::test {
namespace {

using FirstSteps = IdeFixture;

TEST_F(FirstSteps, AnEmptyPageSaysWhatToTypeAndWhichKeyRunsIt)
{
    EXPECT_EQ(editor().placeholderText(), QStringLiteral("输入 Print \"你好\"，再按 F9 运行"));
}

TEST_F(FirstSteps, StartingHelpOpensTheFirstStepsPage)
{
    action("mnuHelpStart").trigger();
    auto* reference = window->findChild<ReferenceWindow*>();
    ASSERT_NE(reference, nullptr);
    EXPECT_EQ(reference->browser().source().fileName(), QStringLiteral("start.html"));
    for (const char* step : {"输入程序", "运行", "看懂错误", "回答 Input", "调试"}) {
        EXPECT_TRUE(reference->browser().toPlainText().contains(QString::fromUtf8(step))) << step;
    }
}

TEST_F(FirstSteps, TheExamplesBeginWithTheFirstProgram)
{
    auto* examples = window->findChild<QMenu*>(QStringLiteral("mnuHelpExamples"));
    ASSERT_NE(examples, nullptr);
    ASSERT_FALSE(examples->actions().isEmpty());
    EXPECT_TRUE(examples->actions().front()->text().startsWith(QStringLiteral("第一个程序"))) << examples->actions().front()->text();

    dialogs.inputs = {QStringLiteral("12")};
    examples->actions().front()->trigger();
    run();
    EXPECT_EQ(consoleText(), QStringLiteral("你好，世界！\n1 + 2 = 3\n请输入你的年龄：\n12\n明年你就 13 岁了。\n"));
}

}  // namespace
}  // namespace tarnik::test
