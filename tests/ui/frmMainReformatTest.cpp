// The rewrite of finished lines: once the caret has moved to another line,
// every line the user edited is put into its normal form, the caret line
// never, a line of a loaded text the user has not edited never either; a
// selection, a held mouse button or a composition postpones it. The rewrite
// is an edit operation: one undo step, the view and the caret stay put, and
// a text already in normal form is not touched at all.
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include "support/IdeFixture.h"

namespace tarnik::test {
namespace {

class Reformat : public IdeFixture {
protected:
    // Loads the text (LF separated) as a file is loaded, caret on line 1.
    void load(const QString& text)
    {
        const QString file = path(QStringLiteral("program.bas"));
        writeFile(file, text.toUtf8());
        openCommandLine(file);
    }
    // The user's own text (LF separated), as if pasted into a file just
    // opened: every line of it counts as edited. The caret is on line 1.
    void paste(const QString& text)
    {
        load(QString());
        editor().insertPlainText(text);
        caretTo(1);
    }
    void caretTo(int line, int column = 0)
    {
        QTextCursor cursor(editor().document()->findBlockByNumber(line - 1));
        cursor.setPosition(cursor.position() + column);
        editor().setTextCursor(cursor);
    }
    QString line(int number) { return editor().document()->findBlockByNumber(number - 1).text(); }
    bool becomes(const QString& crLfText)
    {
        return waitFor([&] { return editorText() == crLfText; });
    }
    // Whatever the timers would do has been done, and the text is still `crLfText`.
    bool stays(const QString& crLfText)
    {
        window->tick();
        return editorText() == crLfText;
    }
};

TEST_F(Reformat, LinesLeftBehindTakeTheirNormalFormAndTheCaretLineStays)
{
    paste(QStringLiteral(
        "X=ABS(Y)+1\n"
        "print \"MiXed Case\";A\n"
        "    if a< >b then\n"
        "a < = b\n"
        "   \n"
        "print \"abc\n"
        "if x then print y\n"
        "FOR i=1 TO 3"));
    caretTo(7, 5);
    EXPECT_TRUE(becomes(QStringLiteral(
        "x = Abs (y) + 1\r\n"
        "Print \"MiXed Case\"; a\r\n"
        "    If a <> b Then\r\n"
        "a <= b\r\n"
        "   \r\n"
        "print \"abc\r\n"
        "if x then print y\r\n"
        "For i = 1 To 3")))
        << editorText();
    EXPECT_EQ(editor().textCursor().blockNumber(), 6);
    EXPECT_EQ(editor().textCursor().positionInBlock(), 5);
}

TEST_F(Reformat, CommentsKeepTheirTextAndOnlyTheCodeBeforeThemIsFormatted)
{
    paste(QStringLiteral(
        "' 求 1 到 100 之间的质数个数\n"
        "X=1   ' Sum Of Print\n"
        "    IF a< >b THEN 'Note \"q\n"
        "    PRINT \"Abc ' x\" ' 他说\"你好\n"
        "Y=2"));
    caretTo(5, 3);
    EXPECT_TRUE(becomes(QStringLiteral(
        "' 求 1 到 100 之间的质数个数\r\n"
        "x = 1 ' Sum Of Print\r\n"
        "    If a <> b Then 'Note \"q\r\n"
        "    Print \"Abc ' x\" ' 他说\"你好\r\n"
        "Y=2")))
        << editorText();
}

TEST_F(Reformat, CaretStaysAfterTheSameCharacterOfItsLine)
{
    paste(QStringLiteral("A=1\nb = a+1   ' sum\nC=2"));
    caretTo(2, 9);  // after "b = a+1  "
    ASSERT_TRUE(becomes(QStringLiteral("a = 1\r\nb = a+1   ' sum\r\nc = 2")));
    EXPECT_EQ(editor().textCursor().position(), 6 + 9);
    EXPECT_EQ(editor().textCursor().positionInBlock(), 9);
}

TEST_F(Reformat, BlankOnlyLinesKeepTheirBlanksHoweverOftenItRuns)
{
    paste(QStringLiteral("x=1\n    \n  \ny=2\n"));
    for (int line : {2, 5, 1, 4, 3}) {
        caretTo(line);
        window->tick();
    }
    caretTo(5);
    EXPECT_TRUE(becomes(QStringLiteral("x = 1\r\n    \r\n  \r\ny = 2\r\n"))) << editorText();
}

TEST_F(Reformat, ATextOfOneLineIsNeverRewritten)
{
    paste(QStringLiteral("X=1"));
    caretTo(1, 3);
    EXPECT_TRUE(stays(QStringLiteral("X=1")));
    caretTo(1, 0);
    QTest::keyClicks(&editor(), QStringLiteral("IF "));
    EXPECT_TRUE(stays(QStringLiteral("IF X=1")));
}

TEST_F(Reformat, ASelectionPostponesTheRewrite)
{
    paste(QStringLiteral("A=1\nB=2\nC=3"));
    QTextCursor selection = editor().textCursor();
    selection.setPosition(5);
    selection.setPosition(9, QTextCursor::KeepAnchor);
    editor().setTextCursor(selection);
    EXPECT_TRUE(stays(QStringLiteral("A=1\r\nB=2\r\nC=3")));

    selection.clearSelection();
    editor().setTextCursor(selection);  // caret on line 3
    EXPECT_TRUE(becomes(QStringLiteral("a = 1\r\nb = 2\r\nC=3"))) << editorText();
}

TEST_F(Reformat, AHeldMouseButtonPostponesTheRewrite)
{
    paste(QStringLiteral("A=1\nB=2\nC=3"));
    const QPoint onLine3 = editor().cursorRect(QTextCursor(editor().document()->findBlockByNumber(2))).center();
    QTest::mousePress(editor().viewport(), Qt::LeftButton, Qt::NoModifier, onLine3);
    EXPECT_EQ(editor().textCursor().blockNumber(), 2);
    EXPECT_TRUE(stays(QStringLiteral("A=1\r\nB=2\r\nC=3")));

    QTest::mouseRelease(editor().viewport(), Qt::LeftButton, Qt::NoModifier, onLine3);
    EXPECT_TRUE(becomes(QStringLiteral("a = 1\r\nb = 2\r\nC=3"))) << editorText();
}

TEST_F(Reformat, ACompositionPostponesTheRewrite)
{
    paste(QStringLiteral("A=1\nB=2"));
    caretTo(2, 3);
    QInputMethodEvent composing(QStringLiteral("zhong"), {});
    QApplication::sendEvent(&editor(), &composing);
    EXPECT_TRUE(stays(QStringLiteral("A=1\r\nB=2")));

    QInputMethodEvent committed;
    committed.setCommitString(QStringLiteral("中"));
    QApplication::sendEvent(&editor(), &committed);
    EXPECT_TRUE(becomes(QStringLiteral("a = 1\r\nB=2中"))) << editorText();
}

TEST_F(Reformat, BrowsingLoadedFilesChangesNothingAndAsksNothing)
{
    const QString first = QStringLiteral("PRINT 1\r\nif a< >b then\r\n  x=ABS(y)\r\nEND IF\r\n");
    writeFile(path(QStringLiteral("first.bas")), first.toUtf8());
    writeFile(path(QStringLiteral("second.bas")), QByteArray("PRINT 2\r\nX=1\r\n"));
    openCommandLine(path(QStringLiteral("first.bas")));
    for (int line : {3, 1, 5, 2, 4}) {
        caretTo(line, 1);
        window->tick();
    }
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(&editor(), Qt::Key_Up);
        window->tick();
    }
    EXPECT_EQ(editorText(), first);
    EXPECT_FALSE(editor().document()->isUndoAvailable());
    EXPECT_TRUE(titleBecomes(QStringLiteral("[%1] - Tarnik").arg(path(QStringLiteral("first.bas")))));

    // The next file opens without the save question.
    dialogs.openNames = {path(QStringLiteral("second.bas"))};
    action("mnuFileOpen").trigger();
    EXPECT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("open")});
    caretTo(2);
    EXPECT_TRUE(stays(QStringLiteral("PRINT 2\r\nX=1\r\n")));
}

TEST_F(Reformat, InALoadedFileOnlyTheLinesTheUserEditsAreRewritten)
{
    load(QStringLiteral("PRINT 1\n  x=ABS(y)\nPRINT 3\nPRINT 4"));
    caretTo(2, 10);
    QTest::keyClicks(&editor(), QStringLiteral("+1"));
    EXPECT_TRUE(stays(QStringLiteral("PRINT 1\r\n  x=ABS(y)+1\r\nPRINT 3\r\nPRINT 4")));  // still on its line

    caretTo(4);
    EXPECT_TRUE(becomes(QStringLiteral("PRINT 1\r\n  x = Abs (y) + 1\r\nPRINT 3\r\nPRINT 4"))) << editorText();
    EXPECT_TRUE(titleBecomes(QStringLiteral("[%1 *] - Tarnik").arg(path(QStringLiteral("program.bas")))));

    // A line typed into the middle of the loaded text is rewritten too.
    caretTo(2, 17);
    QTest::keyClick(&editor(), Qt::Key_Return);
    QTest::keyClicks(&editor(), QStringLiteral("y=2"));
    caretTo(1);
    EXPECT_TRUE(becomes(QStringLiteral("PRINT 1\r\n  x = Abs (y) + 1\r\n  y = 2\r\nPRINT 3\r\nPRINT 4"))) << editorText();
}

TEST_F(Reformat, ATextInNormalFormIsNotTouched)
{
    paste(QStringLiteral("Print 1\nx = Abs (y)\n  \nIf a <> b Then"));
    const int undoSteps = editor().document()->availableUndoSteps();
    int changes = 0;
    QObject::connect(editor().document(), &QTextDocument::contentsChange, [&] { ++changes; });
    for (int line : {2, 4, 1, 3}) {
        caretTo(line);
        window->tick();
    }
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(editor().document()->availableUndoSteps(), undoSteps);
}

TEST_F(Reformat, UndoTakesBackTheWholeRewriteInOneStep)
{
    paste(QStringLiteral("A=1\nB=2\nC=3\nD=4"));
    caretTo(3, 1);
    ASSERT_TRUE(becomes(QStringLiteral("a = 1\r\nb = 2\r\nC=3\r\nd = 4")));

    QTest::keyClick(&editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editorText(), QStringLiteral("A=1\r\nB=2\r\nC=3\r\nD=4"));
    EXPECT_EQ(editor().textCursor().blockNumber(), 2);  // the caret is back where it was
    EXPECT_EQ(editor().textCursor().positionInBlock(), 1);
    // Undone is undone: no rewrite until the caret moves on.
    EXPECT_TRUE(stays(QStringLiteral("A=1\r\nB=2\r\nC=3\r\nD=4")));

    QTest::keyClick(&editor(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editorText(), QStringLiteral("a = 1\r\nb = 2\r\nC=3\r\nd = 4"));
}

TEST_F(Reformat, UndoFromTheEditMenuAlsoHoldsTheRewrite)
{
    auto undoFromMenu = [this] {
        QTimer::singleShot(50, window.get(), [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            menu->setActiveAction(menu->findChild<QAction*>(QStringLiteral("edit-undo")));
            QTest::keyClick(menu, Qt::Key_Return);
        });
        const QPoint at(5, 5);
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, editor().viewport()->mapToGlobal(at));
        QApplication::sendEvent(editor().viewport(), &rightClick);
    };
    paste(QStringLiteral("A=1\nB=2"));
    caretTo(1, 3);
    QTest::keyClicks(&editor(), QStringLiteral("+1"));
    caretTo(2, 0);
    ASSERT_TRUE(becomes(QStringLiteral("a = 1 + 1\r\nB=2")));

    undoFromMenu();  // the rewrite
    EXPECT_EQ(editorText(), QStringLiteral("A=1+1\r\nB=2"));
    undoFromMenu();  // the typing, which puts the caret on line 1
    EXPECT_EQ(editorText(), QStringLiteral("A=1\r\nB=2"));
    EXPECT_TRUE(stays(QStringLiteral("A=1\r\nB=2")));
}

TEST_F(Reformat, UndoAfterTypingTakesBackTheTypingThenTheRewrite)
{
    paste(QStringLiteral("A=1\nB=2"));
    caretTo(2, 3);
    ASSERT_TRUE(becomes(QStringLiteral("a = 1\r\nB=2")));
    QTest::keyClicks(&editor(), QStringLiteral("+X"));
    QTest::keyClick(&editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editorText(), QStringLiteral("a = 1\r\nB=2"));
    QTest::keyClick(&editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editorText(), QStringLiteral("A=1\r\nB=2"));
}

TEST_F(Reformat, TheViewStaysWhereItWas)
{
    QString text;
    for (int i = 1; i <= 300; ++i) text += QStringLiteral("X%1=%1\n").arg(i);
    paste(text);
    editor().verticalScrollBar()->setValue(150);
    const int firstShown = editor().cursorForPosition(QPoint(0, 0)).blockNumber();
    ASSERT_GT(firstShown, 100);
    caretTo(firstShown + 3, 2);
    const int scroll = editor().verticalScrollBar()->value();
    ASSERT_TRUE(waitFor([&] { return line(1) == QStringLiteral("x1 = 1"); }));
    EXPECT_EQ(line(300), QStringLiteral("x300 = 300"));
    EXPECT_EQ(editor().verticalScrollBar()->value(), scroll);
    EXPECT_EQ(editor().textCursor().blockNumber(), firstShown + 2);
    EXPECT_EQ(editor().textCursor().positionInBlock(), 2);
}

}  // namespace
}  // namespace tarnik::test
