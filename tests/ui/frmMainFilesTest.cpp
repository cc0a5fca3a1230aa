// The editor's file safety with real files in a temporary folder: files that
// would not come back exactly are opened and first saved only after a
// question, what is no text file is refused, huge files are asked about
// before they are read, and the encoding menus reread or convert.
#include <sys/stat.h>

#include <cstdio>

#include <QGuiApplication>
#include <QStatusBar>
#include <QTest>
#include <QTextDocument>
#include <algorithm>

#include "support/FileSizeLimit.h"
#include "support/IdeFixture.h"

namespace tarnik::test {
namespace {

using FileSafety = IdeFixture;

constexpr qsizetype kGoOn = 0;    // the first button of a choice question
constexpr qsizetype kCancel = 9;  // past the buttons: 取消

// ' café / print "你好世界", the é in Latin-1.
const QByteArray kStrayByteFile = "' caf\xE9\nprint \"\xE4\xBD\xA0\xE5\xA5\xBD\xE4\xB8\x96\xE7\x95\x8C\"\n";

TEST_F(FileSafety, Utf8FileWithAStrayByteAsksNamingTheProblemAndOpensAsUtf8)
{
    const QString file = path(QStringLiteral("stray.bas"));
    writeFile(file, kStrayByteFile);
    dialogs.choices.push_back(kGoOn);
    openCommandLine(file);

    ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("choice")});
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("1 处字节无法按 UTF-8 读取"))) << dialogs.shown[0].text;
    EXPECT_EQ(editorText(), QStringLiteral("' caf\uFFFD\r\nprint \"你好世界\"\r\n"));
    EXPECT_EQ(fileFormat(), QStringLiteral("⚠ 未能原样读取 · UTF-8 · LF"));
}

TEST_F(FileSafety, DecliningTheQuestionOpensNothing)
{
    const QString file = path(QStringLiteral("stray.bas"));
    writeFile(file, kStrayByteFile);
    dialogs.choices.push_back(kCancel);
    dialogs.openNames.push_back(file);
    action("mnuFileOpen").trigger();
    EXPECT_EQ(dialogs.kinds(), (std::vector<QString>{QStringLiteral("open"), QStringLiteral("choice")}));
    EXPECT_EQ(editorText(), QString());
    EXPECT_TRUE(titleBecomes(QStringLiteral("[新文件] - Tarnik")));
}

TEST_F(FileSafety, FirstSaveOfAFileReadWithALossAsksAndCancelKeepsTheBytes)
{
    const QString file = path(QStringLiteral("stray.bas"));
    writeFile(file, kStrayByteFile);
    dialogs.choices.push_back(kGoOn);
    openCommandLine(file);

    dialogs.choices.push_back(kCancel);
    action("mnuFileSave").trigger();
    ASSERT_EQ(dialogs.shown.size(), 2U);
    EXPECT_EQ(dialogs.shown[1].title, QStringLiteral("保存"));
    EXPECT_TRUE(dialogs.shown[1].text.contains(QStringLiteral("永远丢失"))) << dialogs.shown[1].text;
    EXPECT_EQ(readFile(file), kStrayByteFile);

    dialogs.choices.push_back(kGoOn);
    action("mnuFileSave").trigger();
    EXPECT_EQ(readFile(file), QByteArray("' caf\xEF\xBF\xBD\nprint \"\xE4\xBD\xA0\xE5\xA5\xBD\xE4\xB8\x96\xE7\x95\x8C\"\n"));
    EXPECT_EQ(fileFormat(), QStringLiteral("UTF-8 · LF"));

    action("mnuFileSave").trigger();  // the second save asks nothing
    EXPECT_EQ(dialogs.shown.size(), 3U);
}

TEST_F(FileSafety, SavingAFileReadWithALossElsewhereLeavesItAndAsksNothing)
{
    const QString file = path(QStringLiteral("stray.bas"));
    writeFile(file, kStrayByteFile);
    dialogs.choices.push_back(kGoOn);
    openCommandLine(file);
    const QString copy = path(QStringLiteral("copy.bas"));
    dialogs.saveNames.push_back(copy);
    action("mnuFileSaveAs").trigger();
    EXPECT_EQ(dialogs.kinds(), (std::vector<QString>{QStringLiteral("choice"), QStringLiteral("save")}));
    EXPECT_EQ(readFile(file), kStrayByteFile);
    EXPECT_EQ(readFile(copy), QByteArray("' caf\xEF\xBF\xBD\nprint \"\xE4\xBD\xA0\xE5\xA5\xBD\xE4\xB8\x96\xE7\x95\x8C\"\n"));
    EXPECT_EQ(fileFormat(), QStringLiteral("UTF-8 · LF"));
}

TEST_F(FileSafety, BinaryFileAsksAndIsLeftAlone)
{
    QByteArray binary("\x7F" "ELF\x02\x01\x01", 7);
    binary.append(QByteArray(64, '\0')).append("\xC3\x28\xFF\xFE", 4);
    const QString file = path(QStringLiteral("program"));
    writeFile(file, binary);
    dialogs.choices.push_back(kCancel);
    openCommandLine(file);
    ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("choice")});
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("看起来不是文本文件"))) << dialogs.shown[0].text;
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("处字节无法按 GBK 读取"))) << dialogs.shown[0].text;
    EXPECT_EQ(editorText(), QString());
    EXPECT_EQ(readFile(file), binary);
}

TEST_F(FileSafety, NulsAloneMakeAFileBinary)
{
    const QString file = path(QStringLiteral("nul.bas"));
    writeFile(file, QByteArray("print 1\0\0", 9));
    dialogs.choices.push_back(kGoOn);
    openCommandLine(file);
    ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("choice")});
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("NUL"))) << dialogs.shown[0].text;
    EXPECT_TRUE(fileFormat().startsWith(QStringLiteral("⚠")));
}

TEST_F(FileSafety, FilesThatAreNoTextFilesAreRefusedWithAMessage)
{
    const QString fifo = path(QStringLiteral("pipe.bas"));
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString files[] = {fifo, QStringLiteral("/dev/zero"), dir.path(), QStringLiteral("/proc/self/status")};
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        dialogs.shown.clear();
        openCommandLine(file);
        ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("warning")});
        EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("不能作为程序打开"))) << dialogs.shown[0].text;
        EXPECT_EQ(editorText(), QString());
    }
}

TEST_F(FileSafety, HugeFileIsAskedAboutBeforeItIsRead)
{
    const QString file = path(QStringLiteral("huge.bas"));
    writeFile(file, QByteArray(5 * 1024 * 1024 / 2, 'x'));
    dialogs.choices.push_back(kCancel);
    openCommandLine(file);
    ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("choice")});
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("2.5 MB"))) << dialogs.shown[0].text;
    EXPECT_EQ(editorText(), QString());
}

// Laying out a huge text takes seconds in which the window cannot answer:
// the wait cursor shows meanwhile, and is gone once the text is in.
TEST_F(FileSafety, TheWaitCursorShowsWhileATextIsLaidOut)
{
    const QString file = path(QStringLiteral("program.bas"));
    writeFile(file, "print 1\nprint 2\n");
    std::vector<bool> busyWhileChanging;
    QObject::connect(editor().document(), &QTextDocument::contentsChanged, window.get(), [&] {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        busyWhileChanging.push_back(cursor != nullptr && cursor->shape() == Qt::WaitCursor);
    });
    openCommandLine(file);
    EXPECT_EQ(editorText(), QStringLiteral("print 1\r\nprint 2\r\n"));
    ASSERT_FALSE(busyWhileChanging.empty());
    EXPECT_TRUE(std::all_of(busyWhileChanging.begin(), busyWhileChanging.end(), [](bool busy) { return busy; }));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(FileSafety, FileWithMoreLinesThanAProgramCanHaveIsAskedAbout)
{
    const QString file = path(QStringLiteral("long.bas"));
    writeFile(file, QByteArray(40000, '\n'));
    dialogs.choices.push_back(kGoOn);
    openCommandLine(file);
    ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("choice")});
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("40001 行"))) << dialogs.shown[0].text;
    EXPECT_EQ(editor().blockCount(), 40001);
}

TEST_F(FileSafety, ReopeningInAnotherEncodingRereadsTheFile)
{
    const QString file = path(QStringLiteral("utf8.bas"));
    writeFile(file, "print \"\xE4\xBD\xA0\xE5\xA5\xBD\"\n");
    openCommandLine(file);
    action("mnuFileReopen GBK").trigger();
    EXPECT_EQ(editorText(), QStringLiteral("print \"浣犲ソ\"\r\n"));
    EXPECT_EQ(fileFormat(), QStringLiteral("GBK · LF"));
    action("mnuFileReopen UTF-8").trigger();
    EXPECT_EQ(editorText(), QStringLiteral("print \"你好\"\r\n"));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FileSafety, ReopeningAsksAboutUnsavedChangesFirst)
{
    const QString file = path(QStringLiteral("utf8.bas"));
    writeFile(file, "print 1\n");
    openCommandLine(file);
    setEditorText(QStringLiteral("print 2\n"));
    dialogs.answers.push_back(Answer::Cancel);
    action("mnuFileReopen GBK").trigger();
    EXPECT_EQ(editorText(), QStringLiteral("print 2\r\n"));
    EXPECT_EQ(fileFormat(), QStringLiteral("UTF-8 · LF"));
}

TEST_F(FileSafety, ChosenSaveEncodingIsWhatTheNextSaveWrites)
{
    const QString file = path(QStringLiteral("gbk.bas"));
    writeFile(file, "print \"\xC4\xE3\"\r\n");
    openCommandLine(file);
    action("mnuFileSaveEncoding UTF-16 BE").trigger();
    EXPECT_EQ(fileFormat(), QStringLiteral("UTF-16 BE · CR LF"));
    EXPECT_TRUE(action("mnuFileSaveEncoding UTF-16 BE").isChecked());
    EXPECT_TRUE(titleBecomes(QStringLiteral("[%1 *] - Tarnik").arg(file)));
    action("mnuFileSave").trigger();
    EXPECT_EQ(readFile(file), QByteArray("\xFE\xFF\0p\0r\0i\0n\0t\0 \0\"\x4F\x60\0\"\0\r\0\n", 24));
    EXPECT_TRUE(dialogs.shown.empty());
}

// ---- external changes -------------------------------------------------------

// Another program writing the file: in place, or a new file renamed over it.
void writeElsewhere(const QString& path, const QByteArray& bytes, bool renameOver)
{
    if (!renameOver) {
        writeFile(path, bytes);
        return;
    }
    const QString fresh = path + QStringLiteral(".new");
    writeFile(fresh, bytes);
    ASSERT_EQ(::rename(fresh.toLocal8Bit().constData(), path.toLocal8Bit().constData()), 0);
}

void typeAtEnd(QPlainTextEdit& editor, const QString& text)
{
    QTextCursor end = editor.textCursor();
    end.movePosition(QTextCursor::End);
    end.insertText(text);
}

class ExternalChanges : public IdeFixture {
protected:
    void SetUp() override
    {
        IdeFixture::SetUp();
        file = path(QStringLiteral("shared.bas"));
        writeFile(file, "print 1\n");
        openCommandLine(file);
    }

    // What the window shows once it has looked at the file on disk.
    void settle() { window->tick(); }

    QString file;
};

TEST_F(ExternalChanges, SaveOverAChangedFileAsksAndCancelLeavesBothAlone)
{
    typeAtEnd(editor(), QStringLiteral("print 2\n"));
    dialogs.choices.push_back(kCancel);
    // No event loop turn between the write and the save: the question is the save's.
    writeElsewhere(file, "print 99\n", false);
    action("mnuFileSave").trigger();
    ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("choice")});
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("被其他程序修改过"))) << dialogs.shown[0].text;
    EXPECT_EQ(readFile(file), QByteArray("print 99\n"));
    EXPECT_EQ(editorText(), QStringLiteral("print 1\r\nprint 2\r\n"));
}

TEST_F(ExternalChanges, OverwriteAndReloadDoWhatTheySay)
{
    typeAtEnd(editor(), QStringLiteral("print 2\n"));
    writeElsewhere(file, "print 99\n", false);
    dialogs.choices.push_back(0);  // 覆盖
    action("mnuFileSave").trigger();
    EXPECT_EQ(readFile(file), QByteArray("print 1\nprint 2\n"));

    typeAtEnd(editor(), QStringLiteral("print 3\n"));
    writeElsewhere(file, "print 98\n", true);
    dialogs.choices.push_back(1);  // 重新载入
    action("mnuFileSave").trigger();
    EXPECT_EQ(readFile(file), QByteArray("print 98\n"));
    EXPECT_EQ(editorText(), QStringLiteral("print 98\r\n"));
    settle();
    EXPECT_EQ(dialogs.shown.size(), 2U);
}

TEST_F(ExternalChanges, TouchWithoutChangeIsNoChange)
{
    typeAtEnd(editor(), QStringLiteral("print 2\n"));
    writeElsewhere(file, "print 1\n", true);
    settle();
    action("mnuFileSave").trigger();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(readFile(file), QByteArray("print 1\nprint 2\n"));
}

TEST_F(ExternalChanges, UnmodifiedTextFollowsEveryChangeAtOnce)
{
    for (bool renameOver : {false, true, true, false}) {
        SCOPED_TRACE(renameOver ? "renamed over" : "written in place");
        const QByteArray bytes = "print " + QByteArray::number(dialogs.shown.size()) + QByteArray(renameOver ? "r\n" : "i\n");
        writeElsewhere(file, bytes, renameOver);
        ASSERT_TRUE(waitFor([&] { return editorText() == QString::fromUtf8(bytes).replace(QStringLiteral("\n"), QStringLiteral("\r\n")); }))
            << editorText();
        EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("已重新载入"));
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ExternalChanges, ModifiedTextAsksBeforeFollowingAChange)
{
    typeAtEnd(editor(), QStringLiteral("print 2\n"));
    dialogs.choices.push_back(kCancel);
    writeElsewhere(file, "print 99\n", true);
    ASSERT_TRUE(waitFor([&] { return !dialogs.shown.empty(); }));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("文件已改变"));
    EXPECT_EQ(editorText(), QStringLiteral("print 1\r\nprint 2\r\n"));

    dialogs.choices.push_back(0);  // 重新载入
    writeElsewhere(file, "print 98\n", false);
    ASSERT_TRUE(waitFor([&] { return dialogs.shown.size() == 2; }));
    EXPECT_EQ(editorText(), QStringLiteral("print 98\r\n"));
}

TEST_F(ExternalChanges, ASaveThatCannotBeWrittenKeepsTheFileAndTheChangesAndSaysSo)
{
    typeAtEnd(editor(), QStringLiteral("print 2\n"));
    {
        const FileSizeLimit full(0);
        action("mnuFileSave").trigger();
    }
    ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("warning")});
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("文件没有改变，编辑器中的内容仍然保留"))) << dialogs.shown[0].text;
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("shared.bas"))) << dialogs.shown[0].text;
    EXPECT_EQ(readFile(file), QByteArray("print 1\n"));
    EXPECT_TRUE(titleBecomes(QStringLiteral("[%1 *] - Tarnik").arg(file))) << window->windowTitle();

    action("mnuFileSave").trigger();  // room again: the same text is saved
    EXPECT_EQ(readFile(file), QByteArray("print 1\nprint 2\n"));
    EXPECT_TRUE(titleBecomes(QStringLiteral("[%1] - Tarnik").arg(file))) << window->windowTitle();
}

TEST_F(ExternalChanges, AFileDeletedIsSaidAndFollowedAgainWhenItIsMadeAgain)
{
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->statusBar()->currentMessage().contains(QStringLiteral("磁盘上已没有")); },
                                10000))
        << window->statusBar()->currentMessage();
    writeElsewhere(file, "print 7\n", false);
    // Only the watch on the file's folder can tell: no tick looks at the disk here.
    EXPECT_TRUE(QTest::qWaitFor([&] { return editorText() == QStringLiteral("print 7\r\n"); }, 10000)) << editorText();
}

TEST_F(ExternalChanges, OwnSavesAreNoChange)
{
    for (int i = 0; i < 3; ++i) {
        typeAtEnd(editor(), QStringLiteral("print 2\n"));
        action("mnuFileSave").trigger();
        settle();
    }
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(window->statusBar()->currentMessage(), QString());
}

}  // namespace
}  // namespace tarnik::test
