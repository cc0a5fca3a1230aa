// Find and replace under the program, and Go to Line: the keys open and
// drive the bar, whole words and letter case narrow the matches, the search
// goes round the end of the text, and Replace All is a single undo step.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <QApplication>

#include "support/IdeFixture.h"

namespace tarnik::test {
namespace {

class FindAndReplace : public IdeFixture {
protected:
    void SetUp() override
    {
        IdeFixture::SetUp();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    QWidget& bar() { return *window->findChild<QWidget*>(QStringLiteral("findBar")); }
    QLineEdit& field(const char* name) { return *bar().findChild<QLineEdit*>(QLatin1String(name)); }
    QCheckBox& option(const char* name) { return *bar().findChild<QCheckBox*>(QLatin1String(name)); }
    void click(const char* name) { bar().findChild<QPushButton*>(QLatin1String(name))->click(); }
    QString message() { return bar().findChild<QLabel*>(QStringLiteral("findMessage"))->text(); }
    void key(QWidget& target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&target, static_cast<Qt::Key>(key), modifiers);
    }
    void caretAt(int position)
    {
        QTextCursor cursor = editor().textCursor();
        cursor.setPosition(position);
        editor().setTextCursor(cursor);
    }
    int selectionStart() { return editor().textCursor().selectionStart(); }
    QString selected() { return editor().textCursor().selectedText(); }
    void search(const QString& text, bool wholeWord = false, bool matchCase = false)
    {
        key(editor(), Qt::Key_F, Qt::ControlModifier);
        field("findText").setText(text);
        option("wholeWord").setChecked(wholeWord);
        option("matchCase").setChecked(matchCase);
    }
};

TEST_F(FindAndReplace, CtrlFOpensTheBarWithTheSelectedWordAndCtrlHAddsReplace)
{
    setEditorText(QStringLiteral("print total"));
    QTextCursor cursor = editor().textCursor();
    cursor.setPosition(6);
    cursor.setPosition(11, QTextCursor::KeepAnchor);
    editor().setTextCursor(cursor);
    EXPECT_FALSE(bar().isVisible());
    key(editor(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(bar().isVisible());
    EXPECT_EQ(field("findText").text(), QStringLiteral("total"));
    EXPECT_TRUE(field("findText").hasFocus());
    EXPECT_FALSE(field("replaceText").isVisible());

    key(field("findText"), Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(field("replaceText").isVisible());
    key(field("findText"), Qt::Key_Escape);
    EXPECT_FALSE(bar().isVisible());
    EXPECT_TRUE(editor().hasFocus());
}

TEST_F(FindAndReplace, F3AndShiftF3WalkTheMatchesAndGoRoundTheEnd)
{
    struct Case {
        const char* query;
        bool wholeWord;
        bool matchCase;
        std::vector<int> forward;  // selection starts of F3, F3, ... from the start
    };
    // Lines start at 0, 8, 17 and 25.
    const Case cases[] = {
        {"a", false, false, {6, 14, 23, 29, 30, 6}},
        {"a", true, false, {6, 23, 6}},
        {"a", false, true, {6, 14, 29, 30, 6}},
        {"A", true, true, {23, 23}},
        {"print", false, true, {0, 17, 0}},
        {"PRINT", false, false, {0, 8, 17, 0}},
    };
    const QString text = QStringLiteral("print a\nPRINT ab\nprint A\nx = aa");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.query << " whole " << c.wholeWord << " case " << c.matchCase);
        setEditorText(text);
        caretAt(0);
        search(QString::fromUtf8(c.query), c.wholeWord, c.matchCase);
        std::vector<int> starts;
        for (std::size_t i = 0; i < c.forward.size(); ++i) {
            key(editor(), Qt::Key_F3);
            starts.push_back(selectionStart());
        }
        EXPECT_EQ(starts, c.forward);
        // Back from the last one: the one before it.
        key(editor(), Qt::Key_F3, Qt::ShiftModifier);
        if (c.forward.size() > 2) {
            EXPECT_EQ(selectionStart(), c.forward[c.forward.size() - 2]);
        }
    }
    EXPECT_TRUE(dialogs.shown.empty()) << "finding opens no box";
}

TEST_F(FindAndReplace, EnterInTheFieldFindsAndTheBarSaysWhenThereIsNoMatch)
{
    setEditorText(QStringLiteral("print 1\nprint 2"));
    caretAt(0);
    search(QStringLiteral("print"));
    key(field("findText"), Qt::Key_Return);
    EXPECT_EQ(selectionStart(), 0);
    key(field("findText"), Qt::Key_Return);
    EXPECT_EQ(selectionStart(), 8);
    key(field("findText"), Qt::Key_Return);
    EXPECT_EQ(selectionStart(), 0);
    EXPECT_EQ(message(), QStringLiteral("已从开头开始查找。"));

    field("findText").setText(QStringLiteral("goto"));
    key(field("findText"), Qt::Key_Return);
    EXPECT_EQ(message(), QStringLiteral("找不到“goto”。"));
    EXPECT_EQ(selected(), QStringLiteral("print")) << "the selection stays";
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FindAndReplace, ReplaceChangesTheSelectedMatchAndMovesOn)
{
    setEditorText(QStringLiteral("a = 1\nb = a\nab = a"));
    caretAt(0);
    key(editor(), Qt::Key_H, Qt::ControlModifier);
    field("findText").setText(QStringLiteral("a"));
    field("replaceText").setText(QStringLiteral("x"));
    option("wholeWord").setChecked(true);
    click("replaceButton");  // nothing selected yet: only finds
    EXPECT_EQ(editorText(), QStringLiteral("a = 1\r\nb = a\r\nab = a"));
    EXPECT_EQ(selectionStart(), 0);
    click("replaceButton");
    EXPECT_EQ(editorText(), QStringLiteral("x = 1\r\nb = a\r\nab = a"));
    EXPECT_EQ(selectionStart(), 10);
    click("replaceButton");
    EXPECT_EQ(editorText(), QStringLiteral("x = 1\r\nb = x\r\nab = a"));
}

TEST_F(FindAndReplace, ReplaceAllIsOneUndoStep)
{
    struct Case {
        const char* query;
        bool wholeWord;
        bool matchCase;
        const char* replaced;
        int count;
    };
    const char* original = "total = 0\nfor i = 1 to 3\n    Total = total + i\nnext\nprint total";
    const Case cases[] = {
        {"total", false, false, "sum = 0\nfor i = 1 to 3\n    sum = sum + i\nnext\nprint sum", 4},
        {"total", false, true, "sum = 0\nfor i = 1 to 3\n    Total = sum + i\nnext\nprint sum", 3},
        {"i", true, false, "total = 0\nfor sum = 1 to 3\n    Total = total + sum\nnext\nprint total", 2},
        {"to", true, false, "total = 0\nfor i = 1 sum 3\n    Total = total + i\nnext\nprint total", 1},
        {"none", false, false, "total = 0\nfor i = 1 to 3\n    Total = total + i\nnext\nprint total", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        setEditorText(QString::fromUtf8(original));
        search(QString::fromUtf8(c.query), c.wholeWord, c.matchCase);
        key(field("findText"), Qt::Key_H, Qt::ControlModifier);
        field("replaceText").setText(QStringLiteral("sum"));
        click("replaceAllButton");
        EXPECT_EQ(editor().toPlainText(), QString::fromUtf8(c.replaced));
        EXPECT_EQ(message(), c.count > 0 ? QStringLiteral("已替换 %1 处。").arg(c.count)
                                         : QStringLiteral("找不到“%1”。").arg(QString::fromUtf8(c.query)));
        if (c.count > 0) {
            editor().undo();
            EXPECT_EQ(editor().toPlainText(), QString::fromUtf8(original));
        }
    }
}

TEST_F(FindAndReplace, TheEditMenuNamesItsKeys)
{
    const std::pair<const char*, const char*> expected[] = {
        {"mnuEditFind", "查找 (Ctrl+F)"},       {"mnuEditReplace", "替换 (Ctrl+H)"},
        {"mnuEditFindNext", "查找下一个 (F3)"}, {"mnuEditFindPrevious", "查找上一个 (Shift+F3)"},
        {"mnuEditGoToLine", "转到行 (Ctrl+G)"},
    };
    for (const auto& [name, tip] : expected) {
        SCOPED_TRACE(name);
        EXPECT_EQ(action(name).toolTip(), QString::fromUtf8(tip));
        EXPECT_TRUE(action(name).text().contains(QLatin1Char('&')));
    }
}

TEST_F(FindAndReplace, GoToLinePutsTheCaretAtTheStartOfThatLine)
{
    setEditorText(QStringLiteral("a = 1\nb = 2\nc = 3\nd = 4"));
    caretAt(0);
    dialogs.inputs.push_back(QStringLiteral(" 3 "));
    key(editor(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(editor().textCursor().position(), 12);
    EXPECT_EQ(statusLine(), QStringLiteral("当前行号：3"));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("转到行"));
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("行号（1–4）："));
}

TEST_F(FindAndReplace, GoToLineWithANumberOutsideTheProgramSaysSoAndStays)
{
    setEditorText(QStringLiteral("a = 1\nb = 2"));
    caretAt(8);
    for (const char* answer : {"5", "0", "二", ""}) {
        SCOPED_TRACE(answer);
        dialogs.inputs.push_back(QString::fromUtf8(answer));
        action("mnuEditGoToLine").trigger();
        EXPECT_EQ(editor().textCursor().position(), 8);
        EXPECT_EQ(window->statusBar()->currentMessage(),
                  QStringLiteral("没有第 %1 行：程序共 2 行。").arg(QString::fromUtf8(answer)));
    }
    dialogs.inputs.push_back(QString());  // cancelled
    window->statusBar()->clearMessage();
    action("mnuEditGoToLine").trigger();
    EXPECT_EQ(editor().textCursor().position(), 8);
    EXPECT_EQ(window->statusBar()->currentMessage(), QString());
}

TEST_F(FindAndReplace, TabGoesFromTheTextToFindToItsReplacement)
{
    key(editor(), Qt::Key_H, Qt::ControlModifier);
    ASSERT_TRUE(field("replaceText").isVisible());
    ASSERT_TRUE(waitFor([this] { return field("findText").hasFocus(); }));
    key(field("findText"), Qt::Key_Tab);
    EXPECT_TRUE(field("replaceText").hasFocus()) << QApplication::focusWidget()->objectName().toStdString();
}

}  // namespace
}  // namespace tarnik::test
