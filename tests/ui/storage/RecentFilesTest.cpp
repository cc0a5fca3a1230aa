// The File menu's recent files: newest first, at most nine, kept for the
// next start; choosing one opens it after the question about unsaved
// changes; one that is gone is taken off the list with a message.
#include <QDir>
#include <QMenu>
#include <QSettings>
#include <QTest>

#include "support/IdeFixture.h"
#include "ui/storage/TarnikSettings.h"
#include "ui/storage/RecentFiles.h"

namespace tarnik::test {
namespace {

class RecentFilesMenu : public IdeFixture {
protected:
    QString makeFile(const QString& name, const QByteArray& text = "print 1")
    {
        const QString file = QDir(dir.path()).absoluteFilePath(name);
        writeFile(file, text);
        return file;
    }
    void open(const QString& file)
    {
        dialogs.openNames.push_back(file);
        action("mnuFileOpen").trigger();
    }
    // The recent entries' texts, in menu order.
    QStringList entries()
    {
        QStringList texts;
        for (QAction* item : window->findChild<QMenu*>(QStringLiteral("mnuFile"))->actions()) {
            if (item->objectName().startsWith(QLatin1String("recentFile"))) texts << item->text();
        }
        return texts;
    }
    QString entry(int number, const QString& file)
    {
        return QStringLiteral("&%1 %2").arg(number).arg(QDir::toNativeSeparators(file));
    }
};

TEST_F(RecentFilesMenu, OpenedAndSavedFilesAreListedNewestFirstAboveExit)
{
    EXPECT_TRUE(entries().isEmpty());
    const QString a = makeFile(QStringLiteral("a.tnk"));
    const QString b = makeFile(QStringLiteral("b.tnk"));
    open(a);
    open(b);
    EXPECT_EQ(entries(), (QStringList{entry(1, b), entry(2, a)}));
    open(a);
    EXPECT_EQ(entries(), (QStringList{entry(1, a), entry(2, b)})) << "opened again: to the top, once";

    const QString c = path(QStringLiteral("c.tnk"));
    dialogs.saveNames.push_back(c);
    action("mnuFileSaveAs").trigger();
    EXPECT_EQ(entries(), (QStringList{entry(1, c), entry(2, a), entry(3, b)}));

    const QList<QAction*> items = window->findChild<QMenu*>(QStringLiteral("mnuFile"))->actions();
    const qsizetype exit = items.indexOf(&action("mnuFileExit"));
    EXPECT_TRUE(items[exit - 1]->isSeparator());
    EXPECT_EQ(items[exit - 2]->objectName(), QStringLiteral("recentFile3"));
}

TEST_F(RecentFilesMenu, TheListKeepsTheNineNewestAndTheNextStartHasThem)
{
    QStringList opened;
    for (int i = 1; i <= 11; ++i) {
        opened.prepend(makeFile(QStringLiteral("p%1.tnk").arg(i)));
        open(opened.first());
    }
    ASSERT_EQ(entries().size(), RecentFiles::kMaxFiles);
    EXPECT_EQ(entries().first(), entry(1, opened[0]));
    EXPECT_EQ(entries().last(), entry(9, opened[8]));
    restartWindow();
    EXPECT_EQ(entries().size(), RecentFiles::kMaxFiles);
    EXPECT_EQ(entries().first(), entry(1, opened[0]));
    EXPECT_EQ(tarnikSettings().value("Editor/RecentFiles").toStringList(),
              opened.mid(0, 9));
}

TEST_F(RecentFilesMenu, ChoosingAnEntryOpensItAfterAskingAboutChanges)
{
    const QString a = makeFile(QStringLiteral("a.tnk"), "print \"a\"");
    const QString b = makeFile(QStringLiteral("b.tnk"), "print \"b\"");
    open(a);
    open(b);
    QTest::keyClicks(&editor(), QStringLiteral("x"));
    dialogs.answers.push_back(Answer::Cancel);
    action("recentFile2").trigger();
    EXPECT_EQ(editorText(), QStringLiteral("xprint \"b\""));

    dialogs.answers.push_back(Answer::No);
    action("recentFile2").trigger();
    EXPECT_EQ(editorText(), QStringLiteral("print \"a\""));
    EXPECT_TRUE(titleBecomes(QStringLiteral("[%1] - Tarnik").arg(a)));
    EXPECT_EQ(entries(), (QStringList{entry(1, a), entry(2, b)}));
}

TEST_F(RecentFilesMenu, AFileThatIsGoneIsTakenOffWithAMessage)
{
    const QString a = makeFile(QStringLiteral("a.tnk"));
    const QString gone = makeFile(QStringLiteral("gone.tnk"));
    open(gone);
    open(a);
    setEditorText(QStringLiteral("keep me"));
    ASSERT_TRUE(QFile::remove(gone));
    dialogs.shown.clear();
    action("recentFile2").trigger();
    ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("warning")}) << "no save question first";
    EXPECT_EQ(dialogs.shown[0].text,
              QStringLiteral("找不到文件“%1”，已将它从最近的文件中移除。").arg(QDir::toNativeSeparators(gone)));
    EXPECT_EQ(entries(), QStringList{entry(1, a)});
    EXPECT_EQ(editor().toPlainText(), QStringLiteral("keep me"));
}

}  // namespace
}  // namespace tarnik::test
