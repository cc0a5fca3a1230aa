// Unsaved text kept for the next start: the IDE itself ended by SIGTERM, the
// offer at start-up (恢复 / 丢弃) through the dialog seam, and records that
// are not offered (a live IDE's, a damaged one).
#include <signal.h>

#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QProcess>
#include <QStatusBar>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include "support/IdeFixture.h"
#include "ui/QtDialogs.h"
#include "ui/RunHistory.h"
#include "ui/RecoveryStore.h"

namespace tarnik::test {
namespace {

const QString kUnsaved = QStringLiteral("' 没保存的程序\r\nprint \"你好\"\r\n");

class Recovery : public IdeFixture {
protected:
    static QDir root() { return QDir(RecoveryStore::defaultRoot()); }

    // The folders of recovery records, with or without a record in them.
    static QStringList folders() { return root().entryList(QDir::Dirs | QDir::NoDotAndDotDot); }

    // Every record on disk, as its folder name and content.
    static std::vector<QJsonObject> records()
    {
        std::vector<QJsonObject> found;
        for (const QString& name : folders()) {
            const QByteArray bytes = readFile(root().filePath(name + QStringLiteral("/unsaved.json")));
            if (!bytes.isEmpty()) found.push_back(QJsonDocument::fromJson(bytes).object());
        }
        return found;
    }

    // Starts the IDE with `text` as unsaved changes (read from standard
    // input) and waits until it has taken its recovery folder, which it does
    // once the text is in the editor.
    void startIdeWithUnsavedText(QProcess& ide, const QString& text)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("HOME"), dir.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        ide.setProcessEnvironment(environment);  // XDG_DATA_HOME is this test's
        const QStringList before = folders();
        ide.start(QStringLiteral(TARNIK_IDE_PATH), {QStringLiteral("-")});
        ASSERT_TRUE(ide.waitForStarted());
        ide.write(text.toUtf8());
        ide.closeWriteChannel();
        ASSERT_TRUE(waitFor([&] { return folders().size() > before.size(); }));
    }

    // Ends the IDE with `signalNumber` and checks that it ended by itself
    // rather than being killed by the signal.
    static void endBySignal(QProcess& ide, int signalNumber = SIGTERM)
    {
        ::kill(static_cast<pid_t>(ide.processId()), signalNumber);
        ASSERT_TRUE(ide.waitForFinished());
        EXPECT_EQ(ide.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(ide.exitCode(), 0);
    }

    void endIdeWithUnsavedText(const QString& text, int signalNumber = SIGTERM)
    {
        QProcess ide;
        ASSERT_NO_FATAL_FAILURE(startIdeWithUnsavedText(ide, text));
        endBySignal(ide, signalNumber);
    }

    // As an IDE that is gone would have left it: the window keeps the
    // record of its unsaved text and is destroyed without closing.
    void leaveRecordOfFile(const QString& file, const QString& lfText)
    {
        writeFile(file, "print 1");
        openCommandLine(file);
        setEditorText(lfText);
        ASSERT_TRUE(waitFor([] { return !records().empty(); })) << "no record a while after the change";
        restartWindow();
    }
};

TEST_F(Recovery, SigtermKeepsTheUnsavedTextAndTheNextStartOffersIt)
{
    endIdeWithUnsavedText(kUnsaved);
    const std::vector<QJsonObject> left = records();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].value(QStringLiteral("text")).toString(), kUnsaved);
    EXPECT_EQ(left[0].value(QStringLiteral("file")).toString(), QString());

    dialogs.answers.push_back(Answer::Yes);
    window->offerRecovery();
    ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("recovery")});
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("新文件"))) << dialogs.shown[0].text;
    EXPECT_EQ(editorText(), kUnsaved);
    EXPECT_TRUE(titleBecomes(QStringLiteral("[新文件 *] - Tarnik"))) << window->windowTitle();
    // The text is this window's now: one record left, in its own folder.
    EXPECT_EQ(folders().size(), 1u);
    ASSERT_EQ(records().size(), 1u);
    EXPECT_EQ(records()[0].value(QStringLiteral("text")).toString(), kUnsaved);
}

// A logout (SIGHUP) and Ctrl+C in a terminal (SIGINT) keep the text too.
TEST_F(Recovery, HangupAndInterruptKeepTheUnsavedText)
{
    const std::pair<const char*, int> signalsToSend[] = {{"SIGHUP", SIGHUP}, {"SIGINT", SIGINT}};
    for (const auto& [name, signalNumber] : signalsToSend) {
        SCOPED_TRACE(name);
        const QString text = QStringLiteral("print \"%1\"\r\n").arg(QLatin1String(name));
        endIdeWithUnsavedText(text, signalNumber);
        const std::vector<QJsonObject> left = records();
        ASSERT_EQ(left.size(), 1u);
        EXPECT_EQ(left[0].value(QStringLiteral("text")).toString(), text);
        root().removeRecursively();
    }
}

TEST_F(Recovery, DiscardAfterSigtermRemovesTheRecord)
{
    endIdeWithUnsavedText(kUnsaved);
    ASSERT_EQ(records().size(), 1u);

    dialogs.answers.push_back(Answer::No);
    window->offerRecovery();
    EXPECT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("recovery")});
    EXPECT_TRUE(records().empty());
    EXPECT_EQ(editorText(), QString());
    EXPECT_TRUE(titleBecomes(QStringLiteral("[新文件] - Tarnik")));

    restartWindow();
    window->offerRecovery();
    EXPECT_EQ(dialogs.kinds().size(), 1u);
}

TEST_F(Recovery, RecoveredTextBelongsToItsFileAndSaveWritesItBack)
{
    const QString file = path(QStringLiteral("九九表.tnk"));
    leaveRecordOfFile(file, QStringLiteral("print 1\nprint 2"));

    dialogs.answers.push_back(Answer::Yes);
    window->offerRecovery();
    ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("recovery")});
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("恢复未保存的程序"));
    EXPECT_TRUE(dialogs.shown[0].text.contains(QDir::toNativeSeparators(file))) << dialogs.shown[0].text;
    EXPECT_EQ(editorText(), QStringLiteral("print 1\r\nprint 2"));
    EXPECT_TRUE(titleBecomes(QStringLiteral("[%1 *] - Tarnik").arg(file))) << window->windowTitle();
    EXPECT_EQ(readFile(file), QByteArray("print 1"));

    action("mnuFileSave").trigger();
    EXPECT_EQ(readFile(file), QByteArray("print 1\r\nprint 2"));
    EXPECT_TRUE(records().empty());
}

// Saving a recovered text replaces its file without asking: the offer says
// when the file changed on disk after the record, or is gone.
TEST_F(Recovery, TheOfferSaysWhenTheFileChangedOnDiskOrIsGone)
{
    const QString changed = QStringLiteral("又被修改过");
    const QString gone = QStringLiteral("已没有这个文件");
    struct Case {
        const char* name;
        std::function<void(const QString& file)> afterTheRecord;
        QString note;
    };
    const Case cases[] = {
        {"unchanged", [](const QString&) {}, QString()},
        {"changed", [](const QString& file) {
             writeFile(file, "print 3");
             QFile disk(file);
             ASSERT_TRUE(disk.open(QIODevice::ReadWrite));
             ASSERT_TRUE(disk.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
         }, changed},
        {"gone", [](const QString& file) { ASSERT_TRUE(QFile::remove(file)); }, gone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(QStringLiteral("%1.tnk").arg(QLatin1String(c.name)));
        leaveRecordOfFile(file, QStringLiteral("print 1\nprint 2"));
        c.afterTheRecord(file);
        dialogs.shown.clear();
        dialogs.answers.push_back(Answer::No);
        window->offerRecovery();
        ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("recovery")});
        const QString& text = dialogs.shown[0].text;
        EXPECT_EQ(text.contains(changed), c.note == changed) << text;
        EXPECT_EQ(text.contains(gone), c.note == gone) << text;
        EXPECT_TRUE(records().empty());
    }
}

TEST_F(Recovery, ClosingTheOfferLeavesTheRecordForTheNextStart)
{
    leaveRecordOfFile(path(QStringLiteral("a.tnk")), QStringLiteral("print 2"));
    dialogs.answers = {Answer::Cancel, Answer::Yes};
    window->offerRecovery();
    EXPECT_EQ(editorText(), QString());
    EXPECT_EQ(records().size(), 1u);

    restartWindow();
    window->offerRecovery();
    EXPECT_EQ(editorText(), QStringLiteral("print 2"));
}

TEST_F(Recovery, SaveDiscardAndCloseRemoveTheRecord)
{
    struct Case {
        const char* name;
        std::function<void()> settle;
    };
    const Case cases[] = {
        {"save", [this] { action("mnuFileSave").trigger(); }},
        {"new, changes discarded", [this] {
             dialogs.answers.push_back(Answer::No);
             action("mnuFileNew").trigger();
         }},
        {"close, changes discarded", [this] {
             dialogs.answers.push_back(Answer::No);
             window->close();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        restartWindow();
        writeFile(path(QStringLiteral("b.tnk")), "print 1");
        openCommandLine(path(QStringLiteral("b.tnk")));
        setEditorText(QStringLiteral("print 3"));
        run();  // which keeps the record at once
        ASSERT_EQ(records().size(), 1u);
        c.settle();
        EXPECT_TRUE(records().empty());
    }
}

TEST_F(Recovery, ARunKeepsTheUnsavedTextFirst)
{
    setEditorText(QStringLiteral("print 4"));
    run();
    ASSERT_EQ(records().size(), 1u);
    EXPECT_EQ(records()[0].value(QStringLiteral("text")).toString(), QStringLiteral("print 4"));
}

TEST_F(Recovery, ALiveWindowsRecordIsNotOffered)
{
    setEditorText(QStringLiteral("print 5"));
    run();
    ASSERT_EQ(records().size(), 1u);

    frmMain other(dialogs);
    other.offerRecovery();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(records().size(), 1u);
}

// Another IDE, running with unsaved text: its record is not offered until
// it is gone.
TEST_F(Recovery, AnotherRunningIdesRecordIsOfferedOnlyOnceItHasEnded)
{
    QProcess other;
    startIdeWithUnsavedText(other, kUnsaved);
    ASSERT_TRUE(waitFor([] { return !records().empty(); })) << "no record a while after the change";
    window->offerRecovery();
    EXPECT_TRUE(dialogs.shown.empty());

    endBySignal(other);
    restartWindow();
    dialogs.answers.push_back(Answer::Yes);
    window->offerRecovery();
    EXPECT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("recovery")});
    EXPECT_EQ(editorText(), kUnsaved);
}

// The IDE's own box: Enter takes the default, 恢复; Esc means 取消.
TEST(RecoveryOffer, EnterRecoversAndEscapeAsksAgainNextTime)
{
    struct Case {
        const char* name;
        Qt::Key key;
        Answer answer;
    };
    const Case cases[] = {
        {"Enter", Qt::Key_Return, Answer::Yes},
        {"Esc", Qt::Key_Escape, Answer::Cancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QtDialogs dialogs;
        QStringList buttons;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            for (const QAbstractButton* button : box->buttons()) buttons << button->text();
            QTest::keyClick(box, c.key);
        });
        EXPECT_EQ(dialogs.offerRecovery(nullptr, QStringLiteral("恢复未保存的程序"), QStringLiteral("……")), c.answer);
        buttons.sort();
        EXPECT_EQ(buttons, (QStringList{QStringLiteral("丢弃"), QStringLiteral("取消"), QStringLiteral("恢复")}));
    }
}

// A data folder that cannot be written is reported in the status bar, and
// editing and running go on without a box.
TEST_F(Recovery, UnwritableDataIsReportedInTheStatusBar)
{
    struct Case {
        const char* name;
        QString blocked;  // a file where a folder should be, or the other way round
        bool asFile;
        QString message;
    };
    const Case cases[] = {
        {"recovery folder", RecoveryStore::defaultRoot(), true, QStringLiteral("无法写入恢复记录")},
        {"run history", RunHistory::defaultPath(), false, QStringLiteral("无法写入运行历史")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        restartWindow();
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(c.asFile ? QFileInfo(c.blocked).absolutePath() : c.blocked));
        if (c.asFile) writeFile(c.blocked, "in the way");
        setEditorText(QStringLiteral("print 6"));
        run();
        EXPECT_TRUE(window->statusBar()->currentMessage().startsWith(c.message)) << window->statusBar()->currentMessage();
        EXPECT_TRUE(dialogs.shown.empty());
        EXPECT_EQ(consoleText(), QStringLiteral("6\n"));
        EXPECT_EQ(editorText(), QStringLiteral("print 6"));
    }
}

TEST_F(Recovery, ADamagedRecordIsNotOfferedAndStays)
{
    const QString folder = root().filePath(QStringLiteral("1-1"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QByteArray damaged = R"({"format":"tarnik-recovery-1","text":"print)";
    writeFile(folder + QStringLiteral("/unsaved.json"), damaged);
    window->offerRecovery();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(readFile(folder + QStringLiteral("/unsaved.json")), damaged);
}

}  // namespace
}  // namespace tarnik::test
