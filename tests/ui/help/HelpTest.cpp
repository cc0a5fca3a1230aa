// Help where a beginner gets stuck: the error box and its 帮助, the language
// reference (F1) with its search and examples, the 示例 menu, the warnings
// under the editor.
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTextCursor>

#include "support/DebuggerScript.h"
#include "support/IdeFixture.h"
#include "ui/editor/SourceEditor.h"
#include "ui/help/ExampleCatalog.h"
#include "ui/help/ReferenceBrowser.h"
#include "ui/help/ReferenceWindow.h"

namespace tarnik::test {
namespace {

class Help : public IdeFixture {
protected:
    SourceEditor& source() { return *qobject_cast<SourceEditor*>(&editor()); }
};

TEST_F(Help, ErrorBoxHelpExplainsTheErrorAndWhatTheLineTells)
{
    struct Case {
        const char* name;
        QString program;
        QString title;
        QString text;
        QString explanationStart;  // the explanation's first line
        QString context;           // what only this program tells, empty when nothing
        QString selected;
    };
    const Case cases[] = {
        {"function the language lacks", QStringLiteral("print int(3.7)"), QStringLiteral("错误 120"),
         QStringLiteral("语句未结束(第1行)"), QStringLiteral("错误 120: 语句未结束\n意思："), QString(),
         QStringLiteral("print int(3.7)")},
        {"for left open", QStringLiteral("for i = 1 to 3\nprint i"), QStringLiteral("错误 303"),
         QStringLiteral("For没有Next(第2行)\n这个 For 从第1行开始，还没有 Next。"), QStringLiteral("错误 303: For没有Next\n"),
         QStringLiteral("没有结束的 For 从第1行开始。"), QStringLiteral("print i")},
        {"full-width digits", QStringLiteral("x = １ / 0"), QString(), QString(), QString(),
         QStringLiteral("第1行有全角字符：「１」"), QStringLiteral("x = １ / 0")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setEditorText(c.program);
        dialogs.shown.clear();
        dialogs.helpPresses = {true};
        run();
        ASSERT_EQ(dialogs.kinds(), (std::vector<QString>{QStringLiteral("critical"), QStringLiteral("help")}));
        const ShownDialog& box = dialogs.shown[0];
        const ShownDialog& help = dialogs.shown[1];
        if (!c.title.isEmpty()) {
            EXPECT_EQ(box.title, c.title);
            EXPECT_EQ(box.text, c.text);
        }
        EXPECT_EQ(help.title, box.title);
        EXPECT_TRUE(help.text.startsWith(box.title + QStringLiteral(": "))) << help.text;
        EXPECT_TRUE(help.text.startsWith(c.explanationStart)) << help.text;
        EXPECT_TRUE(help.text.contains(QStringLiteral("意思："))) << help.text;
        if (!c.context.isEmpty()) {
            EXPECT_TRUE(help.text.contains(c.context)) << help.text;
        }
        EXPECT_EQ(editor().textCursor().selectedText(), c.selected);
    }
}

// The box's first line is the error's own; what more is known follows it,
// and the gutter marks where a block left open begins until a run
// translates again.
TEST_F(Help, ErrorBoxNamesWhatTheLineTellsBelowTheErrorsOwnLine)
{
    struct Case {
        const char* name;
        QString program;
        QString text;
        std::optional<int> marked;
    };
    const Case cases[] = {
        {"for left open", QStringLiteral("x = 0\nfor i = 1 to 3\n    x = x + i\nprint x"),
         QStringLiteral("For没有Next(第4行)\n这个 For 从第2行开始，还没有 Next。"), 2},
        {"full-width parentheses", QStringLiteral("total = 10\navg = （total / 5）\nprint avg"),
         QStringLiteral("除数为零(第2行)\n第2行有全角字符 （ ），应改为半角 ( )。"), std::nullopt},
        {"divisor that was 0", QStringLiteral("k = 5\nn = k - 5\nx = 10 / n\nprint x"),
         QStringLiteral("除数为零(第3行)\n除数 n 是 0：n 在第2行（n = k - 5）得到 0。除以 0 没有结果，先用 If 检查除数不是 0 "
                        "再除。"),
         std::nullopt},
        {"misspelt print", QStringLiteral("x = 1\npirnt x"),
         QStringLiteral("语句未结束(第2行)\n第2行的 pirnt 是否想写 Print？"), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setEditorText(c.program);
        dialogs.shown.clear();
        dialogs.helpPresses = {false};
        run();
        ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("critical")});
        EXPECT_EQ(dialogs.shown[0].text, c.text);
        EXPECT_EQ(source().unclosedBlockLine(), c.marked);
    }
}

TEST_F(Help, TheBlocksStartStaysMarkedWithItsLineUntilARunTranslates)
{
    setEditorText(QStringLiteral("if x then\n    print x"));
    dialogs.helpPresses = {false};
    run();
    ASSERT_EQ(source().unclosedBlockLine(), std::optional<int>(1));
    const int lineTop = editor().cursorRect(QTextCursor(editor().document()->firstBlock())).center().y();
    EXPECT_EQ(source().gutterToolTipAt(QPoint(1, lineTop)), QStringLiteral("这个 If 从第1行开始，还没有 End If。"));
    EXPECT_EQ(source().gutterToolTipAt(QPoint(1, lineTop + editor().fontMetrics().height())), QString());

    QTextCursor top(editor().document());
    top.insertText(QStringLiteral("x = 1\n"));
    EXPECT_EQ(source().unclosedBlockLine(), std::optional<int>(2));  // it moves with its line

    QTextCursor end(editor().document());
    end.movePosition(QTextCursor::End);
    end.insertText(QStringLiteral("\nend if"));
    dialogs.shown.clear();
    run();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(source().unclosedBlockLine(), std::nullopt);
}

TEST_F(Help, ErrorBoxClosedWithOkShowsNoHelp)
{
    setEditorText(QStringLiteral("x = 1 / 0"));
    dialogs.helpPresses = {false};
    run();
    EXPECT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("critical")});
    EXPECT_EQ(editor().textCursor().selectedText(), QStringLiteral("x = 1 / 0"));
}

// ---- the language reference -------------------------------------------------

class Reference : public IdeFixture {
protected:
    // Opens the reference with F1's command, the caret at `position`.
    ReferenceWindow& openAt(int position)
    {
        QTextCursor caret = editor().textCursor();
        caret.setPosition(position);
        editor().setTextCursor(caret);
        action("mnuHelpReference").trigger();
        auto* reference = window->findChild<ReferenceWindow*>();
        EXPECT_NE(reference, nullptr);
        return *reference;
    }
};

TEST_F(Reference, F1OpensTheEntryOfTheKeywordUnderTheCaret)
{
    struct Case {
        const char* name;
        QString program;
        int position;
        QString page;
        QString anchor;
    };
    const Case cases[] = {
        {"for", QStringLiteral("for i = 1 to 3\nnext"), 1, QStringLiteral("statements.html"), QStringLiteral("for")},
        {"next belongs to for", QStringLiteral("for i = 1 to 3\nnext"), 17, QStringLiteral("statements.html"),
         QStringLiteral("for")},
        {"print", QStringLiteral("print 1"), 0, QStringLiteral("statements.html"), QStringLiteral("print")},
        {"no keyword", QStringLiteral("x = 1"), 0, QStringLiteral("index.html"), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setEditorText(c.program);
        ReferenceWindow& reference = openAt(c.position);
        EXPECT_TRUE(reference.isVisible());
        EXPECT_EQ(reference.windowTitle(), QStringLiteral("语言参考"));
        const QUrl shown = reference.browser().source();
        EXPECT_EQ(shown.scheme(), QStringLiteral("qrc"));
        EXPECT_EQ(shown.fileName(), c.page);
        EXPECT_EQ(shown.fragment(), c.anchor);
        EXPECT_FALSE(reference.browser().toPlainText().isEmpty());
    }
    // One window, however often F1 is pressed.
    EXPECT_EQ(window->findChildren<ReferenceWindow*>().size(), 1);
}

TEST_F(Reference, PagesGetTheStyleSheetAndTheErrorPageComesFromTheErrorTable)
{
    ReferenceWindow& reference = openAt(0);
    EXPECT_TRUE(reference.browser().document()->defaultStyleSheet().contains(QStringLiteral("pre")));
    reference.showTopic(QStringLiteral("errors.html"));
    const QString page = reference.browser().toPlainText();
    EXPECT_TRUE(page.contains(QStringLiteral("错误 11: 除数为零"))) << page;
    EXPECT_TRUE(page.contains(QStringLiteral("在编辑器中打开")));
    EXPECT_FALSE(reference.browser().examples().isEmpty());
}

TEST_F(Reference, ExampleOpensInTheEditorAsANewUnsavedDocument)
{
    ReferenceWindow& reference = openAt(0);
    reference.showTopic(QStringLiteral("statements.html"));
    const QStringList examples = reference.browser().examples();
    ASSERT_GE(examples.size(), 2);
    EXPECT_TRUE(examples[0].startsWith(QStringLiteral("a = 3\nPrint \"a 是\"; a\n"))) << examples[0];
    // Entities of the page come back as the characters of the program.
    EXPECT_FALSE(examples.join(QString()).contains(QStringLiteral("&lt;")));

    emit reference.browser().anchorClicked(QUrl(QStringLiteral("tarnik-example:1")));
    EXPECT_EQ(editor().toPlainText(), examples[1]);
    EXPECT_TRUE(titleBecomes(QStringLiteral("[新文件 *] - Tarnik"))) << window->windowTitle();

    // A second example asks first about the unsaved first one.
    dialogs.answers.push_back(Answer::No);
    emit reference.browser().anchorClicked(QUrl(QStringLiteral("tarnik-example:0")));
    EXPECT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("question")});
    EXPECT_EQ(editor().toPlainText(), examples[0]);
}

TEST_F(Reference, SearchFindsInThePageAndStartsOverAtTheEnd)
{
    ReferenceWindow& reference = openAt(0);
    reference.showTopic(QStringLiteral("editor.html"));
    auto* search = reference.findChild<QLineEdit*>(QStringLiteral("txtSearch"));
    ASSERT_NE(search, nullptr);
    const QString page = reference.browser().toPlainText();
    const QString word = QStringLiteral("查找");
    ASSERT_GE(page.count(word), 2);

    reference.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&reference));
    reference.browser().setFocus();
    QTest::keyClick(&reference.browser(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(search->hasFocus());
    search->setText(word);
    QTest::keyClick(search, Qt::Key_Return);
    const int first = reference.browser().textCursor().selectionStart();
    EXPECT_EQ(reference.browser().textCursor().selectedText(), word);
    for (qsizetype i = 1; i < page.count(word); ++i) QTest::keyClick(search, Qt::Key_Return);
    EXPECT_GT(reference.browser().textCursor().selectionStart(), first);
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(reference.browser().textCursor().selectionStart(), first);

    search->setText(QStringLiteral("没有这个词"));
    QTest::keyClick(search, Qt::Key_Return);
    bool reported = false;
    for (QLabel* label : reference.findChildren<QLabel*>()) reported |= label->text().contains(QStringLiteral("没有这个词"));
    EXPECT_TRUE(reported);
}

// ---- the 示例 menu -------------------------------------------------------------

TEST(ExampleIndex, LinesWithAFileAndATabBecomeEntries)
{
    QTemporaryDir folder;
    writeFile(folder.filePath(QStringLiteral("index.tsv")),
              QStringLiteral("a.bas\t第一个：PRINT\n\nno tab here\n\tno file\nb.bas\t第二个 \r\n").toUtf8());
    const std::vector<ExampleEntry> entries = readExampleIndex(folder.path());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].path, folder.filePath(QStringLiteral("a.bas")));
    EXPECT_EQ(entries[0].description, QStringLiteral("第一个：PRINT"));
    EXPECT_EQ(entries[1].path, folder.filePath(QStringLiteral("b.bas")));
    EXPECT_EQ(entries[1].description, QStringLiteral("第二个"));
    EXPECT_TRUE(readExampleIndex(folder.filePath(QStringLiteral("missing"))).empty());
}

class Examples : public IdeFixture {
protected:
    QMenu& menu()
    {
        auto* found = window->findChild<QMenu*>(QStringLiteral("mnuHelpExamples"));
        EXPECT_NE(found, nullptr);
        return *found;
    }
};

TEST_F(Examples, MenuListsEveryExampleOfTheIndexWithItsDescription)
{
    const std::vector<ExampleEntry> index = readExampleIndex(QStringLiteral(TARNIK_EXAMPLES_DIR));
    ASSERT_FALSE(index.empty());
    const QList<QAction*> items = menu().actions();
    ASSERT_EQ(items.size(), static_cast<qsizetype>(index.size()));
    for (std::size_t i = 0; i < index.size(); ++i) {
        EXPECT_EQ(items[static_cast<qsizetype>(i)]->text(), index[i].description);
        EXPECT_TRUE(QFile::exists(index[i].path)) << index[i].path;
    }
}

TEST_F(Examples, ExampleOpensAsANewUnsavedDocumentAfterTheSaveQuestion)
{
    const std::vector<ExampleEntry> index = readExampleIndex(QStringLiteral(TARNIK_EXAMPLES_DIR));
    ASSERT_GE(index.size(), 2u);
    const QByteArray before = readFile(index[0].path);

    menu().actions()[0]->trigger();
    EXPECT_EQ(editorText().toUtf8(), QString::fromUtf8(before).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                                         .replace(QStringLiteral("\n"), QStringLiteral("\r\n")).toUtf8());
    EXPECT_TRUE(titleBecomes(QStringLiteral("[新文件 *] - Tarnik"))) << window->windowTitle();
    EXPECT_TRUE(dialogs.shown.empty());

    // Save writes a new file, never the example.
    dialogs.saveNames.push_back(path(QStringLiteral("mine.tnk")));
    action("mnuFileSave").trigger();
    EXPECT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("save")});
    EXPECT_EQ(readFile(index[0].path), before);

    // With unsaved changes the usual question comes first; 取消 keeps the text.
    QTest::keyClicks(&editor(), QStringLiteral("x"));
    const QString edited = editorText();
    dialogs.shown.clear();
    dialogs.answers.push_back(Answer::Cancel);
    menu().actions()[1]->trigger();
    EXPECT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("question")});
    EXPECT_EQ(editorText(), edited);
}

// ---- warnings under the editor ---------------------------------------------

class Warnings : public IdeFixture {
protected:
    QListWidget& list()
    {
        auto* found = window->findChild<QListWidget*>(QStringLiteral("lstWarnings"));
        EXPECT_NE(found, nullptr);
        return *found;
    }
};

TEST_F(Warnings, StartListsTheWarningsAndAClickPutsTheCaretWhereTheyPoint)
{
    setEditorText(QStringLiteral("total = 5\nprint totl\ngosub 900\nprint total\n100 return"));
    dialogs.helpPresses = {false};
    run();
    EXPECT_FALSE(list().isHidden());
    ASSERT_EQ(list().count(), 2);
    EXPECT_TRUE(list().item(0)->text().startsWith(QStringLiteral("第2行: 警告: "))) << list().item(0)->text();
    EXPECT_TRUE(list().item(0)->text().contains(QStringLiteral("是否想写 total？"))) << list().item(0)->text();
    EXPECT_TRUE(list().item(1)->text().startsWith(QStringLiteral("第3行: 警告: "))) << list().item(1)->text();

    struct Click {
        int row;
        int line;  // from 0
        int column;
    };
    for (const Click& click : {Click{1, 2, 0}, Click{0, 1, 6}}) {
        SCOPED_TRACE(click.row);
        QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, list().visualItemRect(list().item(click.row)).center());
        EXPECT_FALSE(editor().textCursor().hasSelection());
        EXPECT_EQ(editor().textCursor().blockNumber(), click.line);
        EXPECT_EQ(editor().textCursor().positionInBlock(), click.column);
        EXPECT_EQ(window->focusWidget(), &editor());
    }
    // The next key adds to the line instead of replacing it.
    QTest::keyClicks(&editor(), QStringLiteral("a"));
    EXPECT_EQ(editor().document()->findBlockByNumber(1).text(), QStringLiteral("print atotl"));
}

// A program that does not translate still shows its full-width characters,
// often the very cause; and the list follows the text as it is mended,
// from a translation of its own that leaves the last run as it was.
TEST_F(Warnings, TheListFollowsTheTextAlsoWhenItDoesNotTranslate)
{
    setEditorText(QStringLiteral("for i = 1 to 3\nprint （i）"));
    dialogs.helpPresses = {false};
    run();
    EXPECT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("critical")});
    ASSERT_EQ(list().count(), 2);
    EXPECT_FALSE(list().isHidden());
    EXPECT_EQ(list().item(0)->text(), QStringLiteral("第2行: 警告: 此处是全角符号“（”，程序需要半角“(”"));
    EXPECT_EQ(list().item(1)->text(), QStringLiteral("第2行: 警告: 此处是全角符号“）”，程序需要半角“)”"));
    const ProgramState* lastRun = window->runController().state();

    // Mended by hand: the list empties and hides.
    QTextCursor line(editor().document()->findBlockByNumber(1));
    line.movePosition(QTextCursor::EndOfBlock);
    line.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
    line.insertText(QStringLiteral("print (i)"));
    EXPECT_TRUE(waitFor([&] { return list().isHidden(); }));
    EXPECT_EQ(list().count(), 0);

    // Once it translates, a name never given a value shows with a new slip, without a run.
    editor().moveCursor(QTextCursor::End);
    QTest::keyClick(&editor(), Qt::Key_Return);
    QTest::keyClicks(&editor(), QStringLiteral("next"));
    QTest::keyClick(&editor(), Qt::Key_Return);
    QTest::keyClicks(&editor(), QStringLiteral("print n"));
    QInputMethodEvent comma;  // as a Chinese input method types it
    comma.setCommitString(QStringLiteral("，"));
    QApplication::sendEvent(&editor(), &comma);
    EXPECT_TRUE(waitFor([&] { return list().count() == 2; }));
    EXPECT_FALSE(list().isHidden());
    EXPECT_TRUE(list().item(0)->text().startsWith(QStringLiteral("第4行: 警告: 变量 n"))) << list().item(0)->text();
    EXPECT_EQ(list().item(1)->text(), QStringLiteral("第4行: 警告: 此处是全角符号“，”，程序需要半角“,”"));
    EXPECT_EQ(window->runController().state(), lastRun);
    EXPECT_FALSE(window->runController().running());
}

TEST_F(Warnings, DebugListsThemBeforeTheFirstPause)
{
    setEditorText(QStringLiteral("total = 5\nprint totl + total"));
    int shownAtPause = -1;
    DebuggerScript debugger({[&](QDialog& paused) {
        shownAtPause = list().isHidden() ? 0 : list().count();
        click(paused, "cmdContinue");
    }});
    action("mnuDebug").trigger();
    EXPECT_EQ(debugger.pauses(), 1);
    EXPECT_EQ(shownAtPause, 1);
    ASSERT_EQ(list().count(), 1);
    EXPECT_TRUE(list().item(0)->text().startsWith(QStringLiteral("第2行: 警告: "))) << list().item(0)->text();
}

TEST_F(Warnings, ListIsHiddenWhenAProgramHasNone)
{
    setEditorText(QStringLiteral("print totl"));
    run();
    ASSERT_EQ(list().count(), 1);
    EXPECT_FALSE(list().isHidden());

    struct Case {
        const char* name;
        QString program;
    };
    const Case cases[] = {
        {"clean program", QStringLiteral("total = 5\nprint total")},
        {"translation error", QStringLiteral("for i = 1 to 3\nprint i")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setEditorText(c.program);
        dialogs.shown.clear();
        run();
        EXPECT_EQ(list().count(), 0);
        EXPECT_TRUE(list().isHidden());
    }
}

}  // namespace
}  // namespace tarnik::test
