// The editor window: its title and line number, the file commands with their
// questions, encodings and line ends of the files, and the stored placement.
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTest>

#include "support/IdeFixture.h"
#include "ui/storage/TarnikSettings.h"

namespace tarnik::test {
namespace {

using MainWindow = IdeFixture;

const QString kFreshTitle = QStringLiteral("[新文件] - Tarnik");
const QString kModifiedFreshTitle = QStringLiteral("[新文件 *] - Tarnik");

QString fileTitle(const QString& path)
{
    return QStringLiteral("[%1] - Tarnik").arg(path);
}

// ---- title and line number -------------------------------------------------

TEST_F(MainWindow, FreshWindowIsANewFileOnLineOne)
{
    EXPECT_TRUE(titleBecomes(kFreshTitle)) << window->windowTitle();
    EXPECT_EQ(statusLine(), QStringLiteral("当前行号：1"));
}

TEST_F(MainWindow, TypingMarksTheTitleAndSavingNamesTheFile)
{
    QTest::keyClicks(&editor(), QStringLiteral("print 1"));
    EXPECT_TRUE(titleBecomes(kModifiedFreshTitle)) << window->windowTitle();

    dialogs.saveNames.push_back(path(QStringLiteral("first.tnk")));
    action("mnuFileSave").trigger();
    EXPECT_TRUE(titleBecomes(fileTitle(path(QStringLiteral("first.tnk"))))) << window->windowTitle();
    EXPECT_EQ(readFile(path(QStringLiteral("first.tnk"))), QByteArray("print 1"));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("另存为"));
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Tarnik文件 (*.tnk)"));
}

TEST_F(MainWindow, LineNumberCountsTheLineBreaksBeforeTheCaret)
{
    struct Case {
        const char* text;
        int selectionStart;
        int selectionEnd;
        int line;
    };
    const Case cases[] = {
        {"", 0, 0, 1},
        {"a\nb\nc", 4, 4, 3},       // after two line breaks
        {"a\nb\nc", 3, 3, 2},       // end of the second line
        {"ab\ncd\nef", 1, 7, 1},    // a selection counts from its start
        {"ab\ncd\nef", 7, 1, 1},    // whichever way it was made
        {"x\n\n\n", 4, 4, 4},       // blank lines count
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        setEditorText(QString::fromUtf8(c.text));
        QTextCursor cursor = editor().textCursor();
        cursor.setPosition(c.selectionStart);
        cursor.setPosition(c.selectionEnd, QTextCursor::KeepAnchor);
        editor().setTextCursor(cursor);
        const QString expected = QStringLiteral("当前行号：%1").arg(c.line);
        EXPECT_TRUE(waitFor([&] { return statusLine() == expected; })) << statusLine().toStdString();
    }
}

// ---- New, Open, Save, Save As ----------------------------------------------

TEST_F(MainWindow, SaveOfANewTextWithSaveAsCancelledChangesNothing)
{
    setEditorText(QStringLiteral("a = 1"));
    dialogs.saveNames.push_back(QString());
    action("mnuFileSave").trigger();
    EXPECT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("save")});
    EXPECT_EQ(editorText(), QStringLiteral("a = 1"));
    EXPECT_TRUE(titleBecomes(kModifiedFreshTitle));
}

TEST_F(MainWindow, NewAsksAboutUnsavedChanges)
{
    struct Case {
        const char* name;
        Answer answer;
        QString saveAs;        // the Save As dialog's answer after Yes
        bool cleared;
    };
    const Case cases[] = {
        {"no discards", Answer::No, {}, true},
        {"cancel keeps", Answer::Cancel, {}, false},
        {"yes saves, then clears", Answer::Yes, QStringLiteral("saved.tnk"), true},
        {"yes with Save As cancelled keeps", Answer::Yes, QStringLiteral(""), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setEditorText(QStringLiteral("print 1\nprint 2"));
        dialogs.shown.clear();
        dialogs.answers.push_back(c.answer);
        if (c.answer == Answer::Yes) dialogs.saveNames.push_back(c.saveAs.isEmpty() ? c.saveAs : path(c.saveAs));
        action("mnuFileNew").trigger();

        ASSERT_FALSE(dialogs.shown.empty());
        EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("警告"));
        EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("内容已经更改,是否保存?"));
        EXPECT_EQ(editorText(), c.cleared ? QString() : QStringLiteral("print 1\r\nprint 2"));
        EXPECT_TRUE(titleBecomes(c.cleared ? kFreshTitle : kModifiedFreshTitle)) << window->windowTitle();
        if (!c.saveAs.isEmpty()) {
            EXPECT_EQ(readFile(path(c.saveAs)), QByteArray("print 1\r\nprint 2"));
        }
    }
}

TEST_F(MainWindow, UnmodifiedTextIsClearedWithoutAQuestion)
{
    const QString file = path(QStringLiteral("kept.bas"));
    writeFile(file, "print 1");
    openCommandLine(file);
    action("mnuFileClose").trigger();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(editorText(), QString());
    EXPECT_TRUE(titleBecomes(kFreshTitle));
}

TEST_F(MainWindow, OpenLoadsTheChosenFile)
{
    const QString file = path(QStringLiteral("two lines.bas"));
    writeFile(file, "print 1\r\nprint 2\r\n");
    dialogs.openNames.push_back(file);
    action("mnuFileOpen").trigger();

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("打开"));
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Tarnik文件 (*.tnk *.bas);;所有文件 (*)"));
    EXPECT_EQ(editorText(), QStringLiteral("print 1\r\nprint 2\r\n"));
    EXPECT_TRUE(titleBecomes(fileTitle(file))) << window->windowTitle();
}

TEST_F(MainWindow, OpenAfterCancelledQuestionDoesNotGoOn)
{
    setEditorText(QStringLiteral("unsaved"));
    dialogs.answers.push_back(Answer::Cancel);
    action("mnuFileOpen").trigger();
    EXPECT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("question")});
    EXPECT_EQ(editorText(), QStringLiteral("unsaved"));
    EXPECT_TRUE(titleBecomes(kModifiedFreshTitle));
}

TEST_F(MainWindow, OpenThatOpensNothingAfterNoKeepsTheUnsavedText)
{
    struct Case {
        const char* name;
        QString chosen;  // the Open dialog's answer; empty means cancelled
        std::vector<QString> kinds;
    };
    const Case cases[] = {
        {"dialog cancelled", QString(), {QStringLiteral("question"), QStringLiteral("open")}},
        {"chosen file unreadable", QStringLiteral("gone.bas"),
         {QStringLiteral("question"), QStringLiteral("open"), QStringLiteral("warning")}},
    };
    const QString file = path(QStringLiteral("mine.bas"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(file, "print 1");
        openCommandLine(file);
        setEditorText(QStringLiteral("print 1\nprint 2"));
        dialogs.shown.clear();
        dialogs.answers.push_back(Answer::No);
        dialogs.openNames.push_back(c.chosen.isEmpty() ? c.chosen : path(c.chosen));
        action("mnuFileOpen").trigger();

        EXPECT_EQ(dialogs.kinds(), c.kinds);
        EXPECT_EQ(editorText(), QStringLiteral("print 1\r\nprint 2"));
        EXPECT_TRUE(titleBecomes(QStringLiteral("[%1 *] - Tarnik").arg(file))) << window->windowTitle();
        EXPECT_EQ(readFile(file), QByteArray("print 1"));
    }
}

TEST_F(MainWindow, OpeningAMissingFileReportsItAndCreatesNothing)
{
    const QString missing = path(QStringLiteral("missing.bas"));
    dialogs.openNames.push_back(missing);
    action("mnuFileOpen").trigger();

    ASSERT_EQ(dialogs.kinds(), (std::vector<QString>{QStringLiteral("open"), QStringLiteral("warning")}));
    EXPECT_TRUE(dialogs.shown[1].text.contains(missing)) << dialogs.shown[1].text.toStdString();
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_TRUE(titleBecomes(kFreshTitle));
}

TEST_F(MainWindow, FailedSaveNamesTheFileAndKeepsTheTextModified)
{
    setEditorText(QStringLiteral("print 1"));
    const QString unreachable = path(QStringLiteral("no such folder/a.tnk"));
    dialogs.saveNames.push_back(unreachable);
    action("mnuFileSaveAs").trigger();

    ASSERT_EQ(dialogs.kinds(), (std::vector<QString>{QStringLiteral("save"), QStringLiteral("warning")}));
    EXPECT_TRUE(dialogs.shown[1].text.contains(unreachable)) << dialogs.shown[1].text.toStdString();
    EXPECT_TRUE(titleBecomes(kModifiedFreshTitle)) << window->windowTitle();
    EXPECT_FALSE(QFile::exists(unreachable));
}

// ---- encodings and line ends -----------------------------------------------

TEST_F(MainWindow, FilesAreSavedBackInTheirEncodingAndLineEnds)
{
    struct Case {
        const char* name;
        QByteArray file;
        QString editorText;   // CR LF separated
        QString format;       // as the status bar shows it
    };
    const Case cases[] = {
        {"UTF-8 with LF", "print \"\xE4\xBD\xA0\xE5\xA5\xBD\"\nprint 1\n",
         QStringLiteral("print \"你好\"\r\nprint 1\r\n"), QStringLiteral("UTF-8 · LF")},
        {"GBK with CR LF", "print \"\xC4\xE3\xBA\xC3\"\r\n", QStringLiteral("print \"你好\"\r\n"),
         QStringLiteral("GBK · CR LF")},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" "a = 1\r\n", QStringLiteral("a = 1\r\n"),
         QStringLiteral("UTF-8 BOM · CR LF")},
        {"lone CRs", "a = 1\rb = 2\r", QStringLiteral("a = 1\r\nb = 2\r\n"), QStringLiteral("UTF-8 · CR")},
        {"no line end at the end", "a = 1\nb = 2", QStringLiteral("a = 1\r\nb = 2"), QStringLiteral("UTF-8 · LF")},
        {"no-break space kept", "a\xC2\xA0=1", QStringLiteral("a\u00A0=1"), QStringLiteral("UTF-8 · CR LF")},
        {"UTF-16 LE with its mark", QByteArray("\xFF\xFEp\0r\0\r\0\n\0`O", 12), QStringLiteral("pr\r\n你"),
         QStringLiteral("UTF-16 LE · CR LF")},
        {"UTF-16 BE with its mark", QByteArray("\xFE\xFF\0p\0\n", 6), QStringLiteral("p\r\n"),
         QStringLiteral("UTF-16 BE · LF")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(QStringLiteral("encoding.bas"));
        writeFile(file, c.file);
        openCommandLine(file);
        EXPECT_EQ(editorText(), c.editorText);
        EXPECT_EQ(fileFormat(), c.format);
        // An edit that changes nothing but marks the text modified.
        QTextCursor end = editor().textCursor();
        end.movePosition(QTextCursor::End);
        end.insertText(QStringLiteral("x"));
        end.deletePreviousChar();
        action("mnuFileSave").trigger();
        EXPECT_EQ(readFile(file), c.file);
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(MainWindow, GbkFileThatNoLongerFitsGbkAsksBeforeItIsSavedAsUtf8)
{
    const QString file = path(QStringLiteral("gbk.bas"));
    writeFile(file, "print \"\xC4\xE3\xBA\xC3\"");
    openCommandLine(file);
    QTextCursor end = editor().textCursor();
    end.movePosition(QTextCursor::End);
    end.insertText(QStringLiteral("\r\nprint \"\U0001F600\""));

    dialogs.choices.push_back(1);  // 取消
    action("mnuFileSave").trigger();
    ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("choice")});
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("GBK 无法表示的字符“\U0001F600”")));
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("UTF-8")));
    EXPECT_EQ(readFile(file), QByteArray("print \"\xC4\xE3\xBA\xC3\""));
    EXPECT_TRUE(titleBecomes(QStringLiteral("[%1 *] - Tarnik").arg(file))) << window->windowTitle();

    dialogs.choices.push_back(0);  // 保存为 UTF-8
    action("mnuFileSave").trigger();
    EXPECT_EQ(readFile(file), QByteArray("print \"\xE4\xBD\xA0\xE5\xA5\xBD\"\r\nprint \"\xF0\x9F\x98\x80\""));
    EXPECT_EQ(fileFormat(), QStringLiteral("UTF-8 · CR LF"));
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("已保存为 UTF-8"));
    openCommandLine(file);
    EXPECT_EQ(editorText(), QStringLiteral("print \"你好\"\r\nprint \"\U0001F600\""));
}

TEST_F(MainWindow, SavedTextReadsBackByteForByte)
{
    const QString text = QStringLiteral("' 九九表\r\nfor i = 1 to 9\r\n    print i; \"×\"; i\r\nnext\r\n");
    setEditorText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    const QString file = path(QStringLiteral("table.tnk"));
    dialogs.saveNames.push_back(file);
    action("mnuFileSaveAs").trigger();
    ASSERT_EQ(readFile(file), text.toUtf8());

    dialogs.answers.clear();
    dialogs.openNames.push_back(file);
    action("mnuFileOpen").trigger();
    EXPECT_EQ(editorText(), text);
    EXPECT_TRUE(titleBecomes(fileTitle(file)));
}

// ---- closing and Exit ------------------------------------------------------

TEST_F(MainWindow, ClosingWithUnsavedChangesAsks)
{
    struct Case {
        const char* name;
        Answer answer;
        QString saveAs;
        bool closes;
    };
    const Case cases[] = {
        {"cancel keeps the window", Answer::Cancel, {}, false},
        {"no closes", Answer::No, {}, true},
        {"yes saves and closes", Answer::Yes, QStringLiteral("closing.tnk"), true},
        {"yes with Save As cancelled keeps the window", Answer::Yes, QStringLiteral(""), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        restartWindow();
        setEditorText(QStringLiteral("print 1"));
        dialogs.shown.clear();
        dialogs.answers.push_back(c.answer);
        if (c.answer == Answer::Yes) dialogs.saveNames.push_back(c.saveAs.isEmpty() ? c.saveAs : path(c.saveAs));
        window->close();

        EXPECT_EQ(dialogs.shown.front().text, QStringLiteral("内容已经更改,是否保存?"));
        EXPECT_EQ(window->isVisible(), !c.closes);
        if (!c.closes) {
            EXPECT_EQ(editorText(), QStringLiteral("print 1"));
        }
        if (!c.saveAs.isEmpty()) {
            EXPECT_EQ(readFile(path(c.saveAs)), QByteArray("print 1"));
        }
    }
}

TEST_F(MainWindow, ExitAsksAndCancelKeepsTheWindowOpen)
{
    setEditorText(QStringLiteral("print 1"));
    dialogs.answers = {Answer::Cancel, Answer::No};
    action("mnuFileExit").trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(editorText(), QStringLiteral("print 1"));

    action("mnuFileExit").trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(dialogs.kinds(), (std::vector<QString>{QStringLiteral("question"), QStringLiteral("question")}));
}

// ---- placement -------------------------------------------------------------

QString storedPlacement(const char* key)
{
    QSettings settings = tarnikSettings();
    return settings.value(QStringLiteral("Settings/") + QLatin1String(key)).toString();
}

void storePlacement(const char* key, const QString& value)
{
    tarnikSettings().setValue(QStringLiteral("Settings/") + QLatin1String(key), value);
}

TEST_F(MainWindow, PlacementDefaultsTo1000And6500Twips)
{
    EXPECT_EQ(window->pos(), QPoint(1000 / 15, 1000 / 15));
    EXPECT_EQ(window->size(), QSize(6500 / 15, 6500 / 15));
}

TEST_F(MainWindow, ClosingStoresThePlacementInTwipsAndTheNextStartRestoresIt)
{
    window->move(200, 150);
    window->resize(500, 400);
    window->close();
    EXPECT_EQ(storedPlacement("MainLeft"), QStringLiteral("3000"));
    EXPECT_EQ(storedPlacement("MainTop"), QStringLiteral("2250"));
    EXPECT_EQ(storedPlacement("MainWidth"), QStringLiteral("7500"));
    EXPECT_EQ(storedPlacement("MainHeight"), QStringLiteral("6000"));

    restartWindow();
    EXPECT_EQ(window->pos(), QPoint(200, 150));
    EXPECT_EQ(window->size(), QSize(500, 400));
}

TEST_F(MainWindow, PlacementThatIsNotANumberFallsBackToTheDefault)
{
    storePlacement("MainLeft", QStringLiteral("far left"));
    storePlacement("MainTop", QStringLiteral("3000"));
    restartWindow();
    EXPECT_EQ(window->pos(), QPoint(1000 / 15, 200));
}

TEST_F(MainWindow, APlacementOffEveryScreenComesBackOntoTheScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint offScreen[] = {{screen.right() + 500, 100}, {-3000, 100}, {100, screen.bottom() - 5}, {100, -2000}};
    for (const QPoint& corner : offScreen) {
        SCOPED_TRACE(QStringLiteral("%1,%2").arg(corner.x()).arg(corner.y()).toStdString());
        storePlacement("MainLeft", QString::number(corner.x() * 15));
        storePlacement("MainTop", QString::number(corner.y() * 15));
        restartWindow();
        EXPECT_TRUE(screen.contains(QRect(window->pos(), window->size()))) << window->pos().x() << "," << window->pos().y();
    }
}

TEST_F(MainWindow, MinimizedCloseAndExitLeaveThePlacementAlone)
{
    storePlacement("MainLeft", QStringLiteral("4500"));
    restartWindow();
    window->move(10, 10);
    window->showMinimized();
    window->close();
    EXPECT_EQ(storedPlacement("MainLeft"), QStringLiteral("4500"));

    restartWindow();
    window->move(20, 20);
    action("mnuFileExit").trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(storedPlacement("MainLeft"), QStringLiteral("4500"));
}

// A message in the status bar leaves the caret's line and column in view, side by side.
TEST_F(MainWindow, TheCaretsPlaceStaysInViewBesideAMessage)
{
    auto* line = window->findChild<QLabel*>(QStringLiteral("sbLineNumber"));
    auto* column = window->findChild<QLabel*>(QStringLiteral("sbColumn"));
    ASSERT_NE(line, nullptr);
    ASSERT_NE(column, nullptr);
    window->statusBar()->showMessage(QStringLiteral("一条很长的消息，不会盖住行号和列号"));
    EXPECT_TRUE(line->isVisible());
    EXPECT_TRUE(column->isVisible());
    EXPECT_LT(line->geometry().right(), column->geometry().left());
}

}  // namespace
}  // namespace tarnik::test
