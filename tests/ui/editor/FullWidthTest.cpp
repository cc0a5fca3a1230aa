// Full-width slips in the editor: the wavy underline and the tooltip on each
// slip outside literals and comments, and 全角转半角 for the caret's line,
// the selection and the whole program, each one undo step.
#include <QInputMethodEvent>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolTip>
#include <set>

#include "support/IdeFixture.h"
#include "ui/editor/SourceEditor.h"

namespace tarnik::test {
namespace {

class FullWidth : public IdeFixture {
protected:
    bool wavyAt(int line, int column)
    {
        const QTextBlock block = editor().document()->findBlockByNumber(line);
        for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
            if (column >= range.start && column < range.start + range.length) {
                return range.format.underlineStyle() == QTextCharFormat::WaveUnderline;
            }
        }
        return false;
    }
    // A point inside the character at `position`.
    QPoint pointAt(int position)
    {
        QTextCursor before(editor().document());
        before.setPosition(position);
        QTextCursor after(before);
        after.movePosition(QTextCursor::NextCharacter);
        const QRect left = editor().cursorRect(before);
        return {(left.left() + editor().cursorRect(after).left()) / 2, left.center().y()};
    }
    SourceEditor& sourceEditor() { return dynamic_cast<SourceEditor&>(editor()); }
    void select(int anchor, int position)
    {
        QTextCursor cursor = editor().textCursor();
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        editor().setTextCursor(cursor);
    }
    // Typed through an input method, as a Chinese beginner types it.
    void commit(const QString& text)
    {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(&editor(), &event);
    }
    QString statusMessage() { return window->statusBar()->currentMessage(); }
};

TEST_F(FullWidth, SlipsOutsideLiteralsAndCommentsHaveAWavyUnderline)
{
    struct Line {
        QString text;
        std::set<int> slips;
    };
    const Line lines[] = {
        {QStringLiteral("print （1，2）' （注释）"), {6, 8, 10}},
        {QStringLiteral("x = \"，\" ＋ １"), {8, 10}},
        {QStringLiteral("print “你好，世界”"), {6, 12}},
        {QStringLiteral("' （说明）：１"), {}},
    };
    QStringList texts;
    for (const Line& line : lines) texts << line.text;
    setEditorText(texts.join(QLatin1Char('\n')));
    for (int number = 0; number < static_cast<int>(std::size(lines)); ++number) {
        const Line& line = lines[number];
        for (int column = 0; column < line.text.size(); ++column) {
            SCOPED_TRACE(line.text.toStdString() + " column " + std::to_string(column));
            EXPECT_EQ(wavyAt(number, column), line.slips.count(column) == 1);
        }
    }
}

TEST_F(FullWidth, TheUnderlineFollowsAnEdit)
{
    setEditorText(QStringLiteral("x = 1"));
    QTextCursor end = editor().textCursor();
    end.movePosition(QTextCursor::End);
    editor().setTextCursor(end);
    commit(QStringLiteral("；"));
    EXPECT_TRUE(wavyAt(0, 5));
    QTest::keyClick(&editor(), Qt::Key_Backspace);
    QTest::keyClicks(&editor(), QStringLiteral("\""));
    commit(QStringLiteral("；"));
    QTest::keyClicks(&editor(), QStringLiteral("\""));
    EXPECT_EQ(editorText(), QStringLiteral("x = 1\"；\""));
    EXPECT_FALSE(wavyAt(0, 6));
}

TEST_F(FullWidth, TheTooltipOverASlipNamesItAndItsReplacement)
{
    setEditorText(QStringLiteral("print （1）\nx = １"));
    const QString bracket = QStringLiteral("此处是全角符号“（”，程序需要半角“(”");
    EXPECT_EQ(sourceEditor().slipWarningAt(pointAt(6)), bracket);
    EXPECT_EQ(sourceEditor().slipWarningAt(pointAt(14)), QStringLiteral("此处是全角数字“１”，程序需要半角“1”"));
    EXPECT_EQ(sourceEditor().slipWarningAt(pointAt(2)), QString());
    EXPECT_EQ(sourceEditor().slipWarningAt(pointAt(7)), QString());

    const QPoint over = pointAt(6);
    QHelpEvent help(QEvent::ToolTip, over, editor().viewport()->mapToGlobal(over));
    QApplication::sendEvent(editor().viewport(), &help);
    EXPECT_EQ(QToolTip::text(), bracket);
}

TEST_F(FullWidth, ConversionCoversTheLineTheSelectionOrTheProgramAsOneUndoStep)
{
    const QString text = QStringLiteral("a = （1）\nb = （2）\nprint \"（\" ＋ 1");
    struct Case {
        const char* command;
        int anchor;
        int position;
        QString converted;
        int count;
    };
    const Case cases[] = {
        {"mnuEditHalfWidthLine", 12, 12, QStringLiteral("a = （1）\r\nb = (2)\r\nprint \"（\" ＋ 1"), 2},
        {"mnuEditHalfWidthSelection", 6, 27, QStringLiteral("a = （1)\r\nb = (2)\r\nprint \"（\" + 1"), 4},
        {"mnuEditHalfWidthSelection", 27, 6, QStringLiteral("a = （1)\r\nb = (2)\r\nprint \"（\" + 1"), 4},
        {"mnuEditHalfWidthProgram", 3, 3, QStringLiteral("a = (1)\r\nb = (2)\r\nprint \"（\" + 1"), 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.command) + " " + std::to_string(c.anchor));
        setEditorText(text);
        select(c.anchor, c.position);
        action(c.command).trigger();
        EXPECT_EQ(editorText(), c.converted);
        EXPECT_EQ(statusMessage(), QStringLiteral("已把 %1 个全角字符改为半角。").arg(c.count));
        EXPECT_EQ(editor().textCursor().anchor(), c.anchor);
        EXPECT_EQ(editor().textCursor().position(), c.position);
        QTest::keyClick(&editor(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(editorText(), QString(text).replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
    }
}

TEST_F(FullWidth, NothingToConvertLeavesTextAndUndoAsTheyWere)
{
    setEditorText(QStringLiteral("print \"（你好）\" ' （注释）"));
    action("mnuEditHalfWidthProgram").trigger();
    EXPECT_EQ(editorText(), QStringLiteral("print \"（你好）\" ' （注释）"));
    EXPECT_EQ(editor().document()->availableUndoSteps(), 0);
    EXPECT_EQ(statusMessage(), QStringLiteral("没有需要改为半角的全角字符（字符串和注释中的不算）。"));
}

}  // namespace
}  // namespace tarnik::test
