// The editor's keyboard aids, through real key events on the text box: Enter
// indents the new line and places a line that ends a block under the line
// that opened it, Tab inserts four blanks, Backspace removes a whole
// indentation step; a click refreshes the line number; undo takes back one
// aid at a time; an input method's composition keeps its keys.
#include <QInputMethodEvent>
#include <QTest>
#include <QTextBlock>

#include "support/IdeFixture.h"

namespace tarnik::test {
namespace {

class EditingAids : public IdeFixture {
protected:
    // The text (LF separated) with the caret at `position`, or the selection
    // from `position` to `selectionEnd`.
    void place(const QString& text, int position, int selectionEnd = -1)
    {
        setEditorText(text);
        QTextCursor cursor = editor().textCursor();
        cursor.setPosition(position);
        if (selectionEnd >= 0) cursor.setPosition(selectionEnd, QTextCursor::KeepAnchor);
        editor().setTextCursor(cursor);
    }
    void placeAtEnd(const QString& text) { place(text, static_cast<int>(text.size())); }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&editor(), key, modifiers);
    }
    // The caret counted in the editor's text model, a line break being CR LF.
    int caret()
    {
        const QTextCursor cursor = editor().textCursor();
        return cursor.position() + cursor.blockNumber();
    }
    bool hasSelection() { return editor().textCursor().hasSelection(); }
    void compose(const QString& preedit, const QString& commit = {})
    {
        QInputMethodEvent event(preedit, {});
        event.setCommitString(commit);
        QApplication::sendEvent(&editor(), &event);
    }
};

TEST_F(EditingAids, EnterIndentsTheNewLineAsTheLineLeftOfTheCaretAsks)
{
    struct Case {
        QString line;
        int blanks;
    };
    const Case cases[] = {
        {QStringLiteral("    for i = 1 to 3"), 8},
        {QStringLiteral("if a = 1 then"), 4},
        {QStringLiteral("if a = 1 then print a"), 0},
        {QStringLiteral("    next"), 4},
        {QStringLiteral("If A = 1 Then"), 4},  // as the re-formatter writes it
        {QStringLiteral("    For i = 1 To 10"), 8},
        {QStringLiteral("do"), 4},
        {QStringLiteral("case else"), 4},
        {QStringLiteral("  x = 1"), 2},
        {QStringLiteral(""), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        // On the first line, and on a later line of the text.
        for (const QString& before : {QString(), QStringLiteral("x = 0\n")}) {
            placeAtEnd(before + c.line);
            key(Qt::Key_Return);
            const QString expected = QString(before).replace(QStringLiteral("\n"), QStringLiteral("\r\n")) + c.line +
                                     QStringLiteral("\r\n") + QString(c.blanks, QLatin1Char(' '));
            EXPECT_EQ(editorText(), expected);
            EXPECT_EQ(caret(), expected.size());
        }
    }
}

TEST_F(EditingAids, EnterInsideALineMovesTheRestDownBehindTheBlanks)
{
    struct Case {
        const char* name;
        QString text;
        int start;
        int end;  // -1: no selection
        QString result;
        int caret;
    };
    const Case cases[] = {
        {"middle of a line", QStringLiteral("a = 1\n    for i = 1 to 3 ' count"), 24, -1,
         QStringLiteral("a = 1\r\n    for i = 1 to 3\r\n         ' count"), 35},
        {"selection stays, Enter at its start", QStringLiteral("do while x print x"), 10, 18,
         QStringLiteral("do while x\r\n     print x"), 16},
        {"selection made backwards", QStringLiteral("do while x print x"), 18, 10,
         QStringLiteral("do while x\r\n     print x"), 16},
        {"start of a line", QStringLiteral("do\nloop"), 3, -1, QStringLiteral("do\r\n\r\nloop"), 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        place(c.text, c.start, c.end);
        key(Qt::Key_Return);
        EXPECT_EQ(editorText(), c.result);
        EXPECT_EQ(caret(), c.caret);
        EXPECT_FALSE(hasSelection());
    }
}

TEST_F(EditingAids, EnterPlacesALineThatEndsABlockUnderItsOpeningLine)
{
    struct Case {
        const char* name;
        QString text;  // the caret at its end
        QString result;
    };
    const Case cases[] = {
        {"end if", QStringLiteral("If a > 1 Then\n    Print a\n    End If"),
         QStringLiteral("If a > 1 Then\r\n    Print a\r\nEnd If\r\n")},
        {"else", QStringLiteral("  if a then\n      x = 1\n      else"),
         QStringLiteral("  if a then\r\n      x = 1\r\n  else\r\n      ")},
        {"next of a nested for", QStringLiteral("for i = 1 to 2\n    for j = 1 to 2\n        print j\n        next"),
         QStringLiteral("for i = 1 to 2\r\n    for j = 1 to 2\r\n        print j\r\n    next\r\n    ")},
        {"case", QStringLiteral("select case x\n    case 1\n        print 1\n        case 2"),
         QStringLiteral("select case x\r\n    case 1\r\n        print 1\r\n    case 2\r\n        ")},
        {"already in place", QStringLiteral("do\n    x = x + 1\nloop"), QStringLiteral("do\r\n    x = x + 1\r\nloop\r\n")},
        {"no block of its kind open", QStringLiteral("for i = 1 to 2\n    wend"),
         QStringLiteral("for i = 1 to 2\r\n    wend\r\n    ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        placeAtEnd(c.text);
        key(Qt::Key_Return);
        EXPECT_EQ(editorText(), c.result);
        EXPECT_EQ(caret(), c.result.size());
        EXPECT_FALSE(hasSelection());
    }
}

TEST_F(EditingAids, EnterInsideALineThatEndsABlockMovesItAndUndoTakesBackBoth)
{
    place(QStringLiteral("while x\n    x = x - 1\n    wend ' done"), 30);  // after "wend"
    key(Qt::Key_Return);
    EXPECT_EQ(editorText(), QStringLiteral("while x\r\n    x = x - 1\r\nwend\r\n ' done"));
    EXPECT_EQ(editor().textCursor().blockNumber(), 3);
    EXPECT_EQ(editor().textCursor().positionInBlock(), 0);
    QTest::keyClicks(&editor(), QStringLiteral("y"));
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editorText(), QStringLiteral("while x\r\n    x = x - 1\r\nwend\r\n ' done"));
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editorText(), QStringLiteral("while x\r\n    x = x - 1\r\n    wend ' done"));
}

TEST_F(EditingAids, EnterWithShiftOrFromTheKeypadIsEnterToo)
{
    for (auto [key, modifiers] : {std::pair{Qt::Key_Return, Qt::ShiftModifier},
                                  std::pair{Qt::Key_Enter, Qt::KeypadModifier}}) {
        placeAtEnd(QStringLiteral("while x"));
        QTest::keyClick(&editor(), key, modifiers);
        EXPECT_EQ(editorText(), QStringLiteral("while x\r\n    "));
    }
}

TEST_F(EditingAids, BackspaceRemovesFourBlanksAtATime)
{
    placeAtEnd(QStringLiteral("x\n        "));
    const QString steps[] = {QStringLiteral("x\r\n    "), QStringLiteral("x\r\n"), QStringLiteral("x")};
    for (const QString& expected : steps) {
        key(Qt::Key_Backspace);
        EXPECT_EQ(editorText(), expected);
        EXPECT_EQ(caret(), expected.size());
    }
}

TEST_F(EditingAids, BackspaceAfterFewerBlanksOrOtherTextDeletesOneCharacter)
{
    struct Case {
        const char* name;
        QString text;
        int start;
        int end;
        QString result;
        int caret;
    };
    const Case cases[] = {
        {"three blanks", QStringLiteral("   "), 3, -1, QStringLiteral("  "), 2},
        {"blanks, then a letter", QStringLiteral("    x"), 5, -1, QStringLiteral("    "), 4},
        {"in the middle of blanks", QStringLiteral("        x"), 6, -1, QStringLiteral("  "), 2},
        {"selection after a letter", QStringLiteral("ab  cd"), 4, 6, QStringLiteral("ab  "), 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        place(c.text, c.start, c.end);
        key(Qt::Key_Backspace);
        EXPECT_EQ(editorText().left(c.result.size()), c.result);
        EXPECT_EQ(caret(), c.caret);
    }
}

TEST_F(EditingAids, BackspaceWithASelectionAfterFourBlanksKeepsTheSelectedText)
{
    place(QStringLiteral("    print 1"), 4, 11);
    key(Qt::Key_Backspace);
    EXPECT_EQ(editorText(), QStringLiteral("print 1"));
    EXPECT_EQ(caret(), 0);
    EXPECT_FALSE(hasSelection());
}

TEST_F(EditingAids, TabInsertsFourBlanksAtTheSelectionStart)
{
    struct Case {
        const char* name;
        QString text;
        int start;
        int end;
        QString result;
        int caret;
    };
    const Case cases[] = {
        {"start of the text", QStringLiteral("print 1"), 0, -1, QStringLiteral("    print 1"), 4},
        {"inside a line", QStringLiteral("a\nprint 1"), 7, -1, QStringLiteral("a\r\nprint     1"), 12},
        {"selection kept", QStringLiteral("ab"), 0, 2, QStringLiteral("    ab"), 4},
        {"selection made backwards", QStringLiteral("xab"), 3, 1, QStringLiteral("x    ab"), 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        place(c.text, c.start, c.end);
        key(Qt::Key_Tab);
        EXPECT_EQ(editorText(), c.result);
        EXPECT_EQ(caret(), c.caret);
        EXPECT_FALSE(hasSelection());
    }
}

TEST_F(EditingAids, OtherKeysAreTheTextBoxsOwn)
{
    placeAtEnd(QStringLiteral("    do"));
    QTest::keyClicks(&editor(), QStringLiteral(" x"));
    key(Qt::Key_Left);
    key(Qt::Key_Delete);
    EXPECT_EQ(editorText(), QStringLiteral("    do "));
}

TEST_F(EditingAids, AnAidMarksTheTextModified)
{
    const QString file = path(QStringLiteral("aid.bas"));
    writeFile(file, "do");
    openCommandLine(file);
    ASSERT_TRUE(titleBecomes(QStringLiteral("[%1] - Tarnik").arg(file)));
    key(Qt::Key_Tab);
    EXPECT_TRUE(titleBecomes(QStringLiteral("[%1 *] - Tarnik").arg(file))) << window->windowTitle();
}

TEST_F(EditingAids, UndoTakesBackOneAidAtATime)
{
    QTest::keyClicks(&editor(), QStringLiteral("do"));
    key(Qt::Key_Return);
    key(Qt::Key_Tab);
    QTest::keyClicks(&editor(), QStringLiteral("x"));
    key(Qt::Key_Backspace);
    key(Qt::Key_Backspace);
    ASSERT_EQ(editorText(), QStringLiteral("do\r\n    "));

    const QString undone[] = {
        QStringLiteral("do\r\n        "),   // the Backspace of one character
        QStringLiteral("do\r\n        x"),  // ... and the one of four blanks
        QStringLiteral("do\r\n        "),   // the typing
        QStringLiteral("do\r\n    "),       // the Tab
        QStringLiteral("do"),               // the Enter
        QString(),                          // the typing before the aids
    };
    for (const QString& expected : undone) {
        key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(editorText(), expected) << editor().document()->availableUndoSteps();
    }
}

TEST_F(EditingAids, ClickShowsTheLineNumberAtOnce)
{
    setEditorText(QStringLiteral("a = 1\nb = 2\nc = 3"));
    ASSERT_TRUE(waitFor([&] { return statusLine() == QStringLiteral("当前行号：1"); }));
    const QTextBlock third = editor().document()->findBlockByNumber(2);
    QTextCursor there(third);
    const QPoint point = editor().cursorRect(there).center();
    QTest::mouseClick(editor().viewport(), Qt::LeftButton, Qt::NoModifier, point);
    EXPECT_EQ(statusLine(), QStringLiteral("当前行号：3"));  // before any timer tick
}

TEST_F(EditingAids, KeysDuringACompositionBelongToTheInputMethod)
{
    struct Case {
        const char* name;
        QString text;
        Qt::Key key;
        QString aided;  // what the aid would have made of it
    };
    const Case cases[] = {
        {"Enter", QStringLiteral("    for i = 1 to 3"), Qt::Key_Return, QStringLiteral("    for i = 1 to 3\r\n        ")},
        {"Tab", QStringLiteral("x"), Qt::Key_Tab, QStringLiteral("x    ")},
        {"Backspace", QStringLiteral("        "), Qt::Key_Backspace, QStringLiteral("    ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        placeAtEnd(c.text);
        compose(QStringLiteral("zhong"));
        key(c.key);
        EXPECT_NE(editorText(), c.aided);
        compose({}, QStringLiteral("中"));
        EXPECT_TRUE(editorText().contains(QStringLiteral("中")));
        EXPECT_FALSE(editorText().contains(QStringLiteral("zhong")));
    }
}

TEST_F(EditingAids, CommittedChineseTextIsLeftAsTypedAndTheAidsGoOn)
{
    placeAtEnd(QStringLiteral("    if a = 1 then"));
    key(Qt::Key_Return);
    compose(QStringLiteral("dayin"));
    compose({}, QStringLiteral("' 打印"));
    key(Qt::Key_Return);
    EXPECT_EQ(editorText(), QStringLiteral("    if a = 1 then\r\n        ' 打印\r\n        "));
}

}  // namespace
}  // namespace tarnik::test
