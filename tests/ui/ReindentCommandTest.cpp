// 整理缩进 in the Edit menu: the whole program or the selected lines, placed
// by the block structure of the whole program, as one undo step.
#include <QTest>
#include <QTextBlock>

#include "support/IdeFixture.h"

namespace tarnik::test {
namespace {

class ReindentCommand : public IdeFixture {
protected:
    void select(int start, int end)
    {
        QTextCursor cursor = editor().textCursor();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        editor().setTextCursor(cursor);
    }
    int lineStart(int line) { return editor().document()->findBlockByNumber(line).position(); }
    void reindent() { action("mnuEditReindent").trigger(); }
};

const QString kFlat = QStringLiteral("for i = 1 to 3\nif i > 1 then\nprint i\nend if\nnext\nprint \"完\"");
const QString kPlaced =
    QStringLiteral("for i = 1 to 3\n    if i > 1 then\n        print i\n    end if\nnext\nprint \"完\"");

TEST_F(ReindentCommand, WithoutASelectionTheWholeProgramIsPlacedAsOneUndoStep)
{
    setEditorText(kFlat);
    select(0, 0);
    reindent();
    EXPECT_EQ(editor().toPlainText(), kPlaced);
    editor().undo();
    EXPECT_EQ(editor().toPlainText(), kFlat);
    editor().redo();
    EXPECT_EQ(editor().toPlainText(), kPlaced);
}

TEST_F(ReindentCommand, ASelectionPlacesOnlyItsLinesAtTheirDepthInTheWhole)
{
    struct Case {
        int firstLine;
        int endLine;  // the selection ends at the start of this line
        int endColumn;
        QString expected;
    };
    const Case cases[] = {
        {2, 2, 3, QStringLiteral("for i = 1 to 3\nif i > 1 then\n        print i\nend if\nnext\nprint \"完\"")},
        {1, 3, 0, QStringLiteral("for i = 1 to 3\n    if i > 1 then\n        print i\nend if\nnext\nprint \"完\"")},
        {1, 3, 2, QStringLiteral("for i = 1 to 3\n    if i > 1 then\n        print i\n    end if\nnext\nprint \"完\"")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.firstLine);
        setEditorText(kFlat);
        select(lineStart(c.firstLine) + 1, lineStart(c.endLine) + c.endColumn);
        reindent();
        EXPECT_EQ(editor().toPlainText(), c.expected);
    }
}

TEST_F(ReindentCommand, AnUnclosedBlockLeavesItsLinesAsTheyAre)
{
    const QString open = QStringLiteral("  x = 1\nfor i = 1 to 3\n  print i");
    setEditorText(open);
    reindent();
    EXPECT_EQ(editor().toPlainText(), QStringLiteral("x = 1\nfor i = 1 to 3\n  print i"));
}

TEST_F(ReindentCommand, APlacedProgramIsNotTouched)
{
    setEditorText(kPlaced);
    reindent();
    EXPECT_FALSE(editor().document()->isUndoAvailable());
    EXPECT_EQ(editor().toPlainText(), kPlaced);
}

}  // namespace
}  // namespace tarnik::test
