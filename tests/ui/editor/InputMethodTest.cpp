// Typing through an input method, with the events a Pinyin input method
// sends: a composition (preedit) that only draws the pinyin, and a commit
// that puts the chosen text in. Only the commit is an edit; a click, a caret
// key or undo during a composition first commit it where it was typed.
#include <QInputMethodEvent>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "support/IdeFixture.h"

namespace tarnik::test {
namespace {

class InputMethod : public IdeFixture {
protected:
    void compose(const QString& preedit, const QString& commit = {})
    {
        QInputMethodEvent event(preedit, {});
        event.setCommitString(commit);
        QApplication::sendEvent(&editor(), &event);
    }
    void place(const QString& text, int position)
    {
        setEditorText(text);
        QTextCursor cursor = editor().textCursor();
        cursor.setPosition(position);
        editor().setTextCursor(cursor);
    }
    // Any composition still drawn, on any line.
    QString drawnComposition()
    {
        QString drawn;
        for (QTextBlock line = editor().document()->firstBlock(); line.isValid(); line = line.next()) {
            drawn += line.layout()->preeditAreaText();
        }
        return drawn;
    }
    int undoSteps() { return editor().document()->availableUndoSteps(); }
    // 新建 asks about saving only when the text has unsaved changes.
    bool newAsksToSave()
    {
        dialogs.answers.push_back(Answer::No);
        action("mnuFileNew").trigger();
        const bool asked = !dialogs.shown.empty();
        if (!asked) dialogs.answers.clear();
        return asked;
    }
};

TEST_F(InputMethod, ACancelledOrOpenCompositionChangesNothing)
{
    struct Case {
        const char* name;
        QStringList preedits;
    };
    const Case cases[] = {
        {"cancelled with Escape", {QStringLiteral("n"), QStringLiteral("ni"), QString()}},
        {"still open", {QStringLiteral("n"), QStringLiteral("ni")}},
        {"cancelled after Backspace", {QStringLiteral("z"), QStringLiteral("zh"), QStringLiteral("z"), QString()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        restartWindow();
        dialogs.shown.clear();
        editor().setFocus();
        for (const QString& preedit : c.preedits) compose(preedit);
        EXPECT_EQ(drawnComposition(), c.preedits.back());
        EXPECT_EQ(editorText(), QString());
        EXPECT_EQ(undoSteps(), 0);
        EXPECT_FALSE(editor().document()->isModified());
        EXPECT_FALSE(newAsksToSave());
    }
}

TEST_F(InputMethod, ACompositionInALoadedFileLeavesItUnmodified)
{
    const QString file = path(QStringLiteral("loaded.bas"));
    writeFile(file, "print 1\r\n");
    openCommandLine(file);
    ASSERT_TRUE(titleBecomes(QStringLiteral("[%1] - Tarnik").arg(file)));
    const int steps = undoSteps();
    compose(QStringLiteral("ni"));
    compose(QString());
    EXPECT_EQ(undoSteps(), steps);
    EXPECT_FALSE(newAsksToSave());
}

TEST_F(InputMethod, ACommittedCompositionIsOneEdit)
{
    QTest::keyClicks(&editor(), QStringLiteral("x = "));
    const int steps = undoSteps();
    for (const QString& preedit : {QStringLiteral("n"), QStringLiteral("ni"), QStringLiteral("nih"),
                                   QStringLiteral("nihao")}) {
        compose(preedit);
    }
    compose(QString(), QStringLiteral("你好"));
    EXPECT_EQ(editorText(), QStringLiteral("x = 你好"));
    EXPECT_EQ(drawnComposition(), QString());
    EXPECT_EQ(undoSteps(), steps + 1);
    QTest::keyClick(&editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editorText(), QStringLiteral("x = "));
    EXPECT_TRUE(newAsksToSave());
}

TEST_F(InputMethod, AClickDuringACompositionCommitsItWhereItWasTyped)
{
    place(QStringLiteral("print 1\nprint 2"), 15);
    compose(QStringLiteral("nihao"));
    const QPoint lineOne = editor().cursorRect(QTextCursor(editor().document()->firstBlock())).center();
    QTest::mouseClick(editor().viewport(), Qt::LeftButton, Qt::NoModifier, lineOne);
    EXPECT_EQ(editorText(), QStringLiteral("print 1\r\nprint 2nihao"));
    EXPECT_EQ(drawnComposition(), QString());
    EXPECT_EQ(editor().textCursor().blockNumber(), 0);
    // The next composition goes where the click put the caret.
    compose(QStringLiteral("wo"));
    compose(QString(), QStringLiteral("我"));
    EXPECT_TRUE(editorText().startsWith(QStringLiteral("我print 1"))) << editorText();
}

TEST_F(InputMethod, ACaretKeyDuringACompositionCommitsItWhereItWasTyped)
{
    struct Case {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int caret;  // where the key puts the caret after the commit
    };
    const Case cases[] = {
        {"Ctrl+Home", Qt::Key_Home, Qt::ControlModifier, 0},
        {"Up", Qt::Key_Up, Qt::NoModifier, 7},
        {"Home", Qt::Key_Home, Qt::NoModifier, 8},
        {"Ctrl+A", Qt::Key_A, Qt::ControlModifier, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        place(QStringLiteral("print 1\nprint 2"), 15);
        compose(QStringLiteral("nihao"));
        QTest::keyClick(&editor(), c.key, c.modifiers);
        EXPECT_EQ(editorText(), QStringLiteral("print 1\r\nprint 2nihao"));
        EXPECT_EQ(drawnComposition(), QString());
        EXPECT_EQ(editor().textCursor().position(), c.caret);
    }
}

TEST_F(InputMethod, UndoDuringACompositionTakesBackOnlyTheComposition)
{
    place(QStringLiteral("print 1\nprint 2"), 15);
    QTest::keyClicks(&editor(), QStringLiteral("x"));
    QTextCursor lineOne = editor().textCursor();
    lineOne.setPosition(7);
    editor().setTextCursor(lineOne);
    compose(QStringLiteral("nihao"));
    QTest::keyClick(&editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editorText(), QStringLiteral("print 1\r\nprint 2x"));
    EXPECT_EQ(drawnComposition(), QString());
    // Redone, the committed text comes back where it was typed, wherever
    // the caret is.
    QTextCursor end = editor().textCursor();
    end.movePosition(QTextCursor::End);
    editor().setTextCursor(end);
    QTest::keyClick(&editor(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editorText(), QStringLiteral("print 1nihao\r\nprint 2x"));
}

TEST_F(InputMethod, EditingCommandsCommitAnOpenComposition)
{
    place(QStringLiteral("if a then\nprint 1\nend if"), 17);
    compose(QStringLiteral("nihao"));
    action("mnuEditReindent").trigger();
    EXPECT_EQ(editorText(), QStringLiteral("if a then\r\n    print 1nihao\r\nend if"));
    EXPECT_EQ(drawnComposition(), QString());
}

}  // namespace
}  // namespace tarnik::test
