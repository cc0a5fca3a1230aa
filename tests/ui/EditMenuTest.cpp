// 编辑 starts with the standard commands, each naming its key, and they act on
// the program whichever pane has the focus.
#include <QApplication>
#include <QClipboard>
#include <QMenu>

#include "support/IdeFixture.h"

namespace tarnik::test {
namespace {

using EditMenu = IdeFixture;

TEST_F(EditMenu, StartsWithTheStandardCommandsAndTheirKeys)
{
    auto* menu = window->findChild<QMenu*>(QStringLiteral("mnuEdit"));
    ASSERT_NE(menu, nullptr);
    QStringList shown;
    for (QAction* item : menu->actions().mid(0, 7)) {
        shown << (item->isSeparator() ? QStringLiteral("|") : item->text() + QLatin1Char(' ') + item->shortcut().toString());
        if (!item->isSeparator()) EXPECT_TRUE(item->toolTip().contains(item->shortcut().toString())) << item->toolTip();
    }
    EXPECT_EQ(shown.join(QStringLiteral(", ")),
              QStringLiteral("撤销(&U) Ctrl+Z, 重做(&Y) Ctrl+Y, |, 剪切(&T) Ctrl+X, 复制(&C) Ctrl+C, 粘贴(&V) Ctrl+V, "
                             "全选(&A) Ctrl+A"));
    EXPECT_TRUE(action("mnuEditRedo").shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Shift+Z"))));
}

TEST_F(EditMenu, CommandsActOnTheProgramAndFollowWhatCanBeDone)
{
    setEditorText(QStringLiteral("print 1"));
    EXPECT_FALSE(action("mnuEditCopy").isEnabled());
    action("mnuEditSelectAll").trigger();
    EXPECT_EQ(editor().textCursor().selectedText(), QStringLiteral("print 1"));
    EXPECT_TRUE(action("mnuEditCopy").isEnabled());
    action("mnuEditCut").trigger();
    EXPECT_EQ(editorText(), QString());
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("print 1"));
    EXPECT_TRUE(action("mnuEditUndo").isEnabled());
    action("mnuEditUndo").trigger();
    EXPECT_EQ(editorText(), QStringLiteral("print 1"));
    action("mnuEditRedo").trigger();
    EXPECT_EQ(editorText(), QString());
    action("mnuEditPaste").trigger();
    action("mnuEditPaste").trigger();
    EXPECT_EQ(editorText(), QStringLiteral("print 1print 1"));
}

}  // namespace
}  // namespace tarnik::test
