// Unsaved text kept for the next start: the IDE itself ended by signals, with
// a question open too, or killed; the offer at start-up (恢复 / 丢弃, or one
// list for several records) through the dialog seam; records that are not
// offered (a live IDE's, a damaged one, a link, a pipe); what a recovered text
// keeps of its file; steady typing; records that cannot be written.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>

#include <csignal>
#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QStatusBar>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "support/IdeFixture.h"
#include "ui/QtDialogs.h"
#include "ui/storage/RunHistory.h"
#include "ui/storage/RecoveryStore.h"

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

    // The texts of the records on disk.
    static QStringList recordTexts()
    {
        QStringList texts;
        for (const QJsonObject& record : records()) texts << record.value(QStringLiteral("text")).toString();
        texts.sort();
        return texts;
    }

    // A record as an IDE that is gone left it, in a folder named as the
    // store names them; `fields` add to or replace the usual ones.
    static QString writeRecord(const QString& folderName, const QString& text, const QJsonObject& fields = {})
    {
        const QString folder = root().filePath(folderName);
        EXPECT_TRUE(QDir().mkpath(folder));
        QJsonObject json{
            {QStringLiteral("format"), QStringLiteral("tarnik-recovery-1")},
            {QStringLiteral("file"), QString()},
            {QStringLiteral("encoding"), QStringLiteral("utf-8")},
            {QStringLiteral("written"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)},
            {QStringLiteral("text"), text},
        };
        for (auto field = fields.begin(); field != fields.end(); ++field) json.insert(field.key(), field.value());
        writeFile(folder + QStringLiteral("/unsaved.json"), QJsonDocument(json).toJson(QJsonDocument::Compact));
        return folder;
    }

    // The IDE as a child process, with this test's data folder (XDG_DATA_HOME)
    // and a home and settings of its own.
    QProcessEnvironment ideEnvironment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("HOME"), dir.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        return environment;
    }

    // Starts the IDE with `text` as unsaved changes (read from standard
    // input) and waits until it has taken its recovery folder, which it does
    // once the text is in the editor.
    void startIdeWithUnsavedText(QProcess& ide, const QString& text)
    {
        ide.setProcessEnvironment(ideEnvironment());
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
    // A text that never had a file has no 原来的文件 to go back to.
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("保存时需要选择文件名"))) << dialogs.shown[0].text;
    EXPECT_FALSE(dialogs.shown[0].text.contains(QStringLiteral("原来的文件"))) << dialogs.shown[0].text;
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
    // The first lines say which program it is.
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("它的开头是：\n    print 1\n    print 2\n"))) << dialogs.shown[0].text;
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("保存时写回原来的文件"))) << dialogs.shown[0].text;
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

// ---- what is in the recovery folder ------------------------------------------

// Only real folders named as the store names them are looked into, and only
// the store's own files go: a link named like a record folder leads to a
// home folder, which start-up once emptied.
TEST_F(Recovery, StartUpTouchesOnlyTheStoresOwnFoldersAndFiles)
{
    const QString home = path(QStringLiteral("home"));
    ASSERT_TRUE(QDir().mkpath(home + QStringLiteral("/docs")));
    writeFile(home + QStringLiteral("/a.tnk"), "print 1");
    writeFile(home + QStringLiteral("/docs/b.txt"), "b");
    ASSERT_TRUE(QDir().mkpath(root().path()));
    const QString linkedHome = root().filePath(QStringLiteral("123-456"));
    ASSERT_TRUE(QFile::link(home, linkedHome));
    // Named as the store names them, but holding a file of someone else.
    const QString foreignFile = root().filePath(QStringLiteral("124-457/notes.txt"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(foreignFile).path()));
    writeFile(foreignFile, "mine");
    // Not named as the store names them.
    const QString otherFolderFile = root().filePath(QStringLiteral("notes/x.txt"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(otherFolderFile).path()));
    writeFile(otherFolderFile, "x");
    // Records that are a link to a good record elsewhere and a pipe.
    const QString outsideRecord = path(QStringLiteral("outside.json"));
    const QString goodFolder = writeRecord(QStringLiteral("125-458"), QStringLiteral("print 9"));
    writeFile(outsideRecord, readFile(goodFolder + QStringLiteral("/unsaved.json")));
    ASSERT_TRUE(QDir(goodFolder).removeRecursively());
    const QString linkedRecord = root().filePath(QStringLiteral("126-459/unsaved.json"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(linkedRecord).path()));
    ASSERT_TRUE(QFile::link(outsideRecord, linkedRecord));
    const QString pipeRecord = root().filePath(QStringLiteral("127-460/unsaved.json"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(pipeRecord).path()));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipeRecord).constData(), 0600), 0);
    // The one folder the store may remove: its own name, nothing in it.
    const QString emptyFolder = root().filePath(QStringLiteral("128-461"));
    ASSERT_TRUE(QDir().mkpath(emptyFolder));
    const QByteArray goodRecord = readFile(outsideRecord);

    window->offerRecovery();
    restartWindow();
    window->offerRecovery();
    // Given as `tarnik --recover FOLDER`: a link, and a folder that is not the store's.
    window->recoverFolder(linkedHome);
    window->recoverFolder(home);

    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(editorText(), QString());
    EXPECT_TRUE(window->statusBar()->currentMessage().startsWith(QStringLiteral("没有找到恢复记录")))
        << window->statusBar()->currentMessage();
    EXPECT_TRUE(QFileInfo(linkedHome).isSymLink());
    EXPECT_EQ(readFile(home + QStringLiteral("/a.tnk")), QByteArray("print 1"));
    EXPECT_EQ(readFile(home + QStringLiteral("/docs/b.txt")), QByteArray("b"));
    EXPECT_EQ(QDir(home).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              (QStringList{QStringLiteral("a.tnk"), QStringLiteral("docs")}));
    EXPECT_EQ(QFileInfo(foreignFile).dir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("notes.txt")});
    EXPECT_EQ(readFile(foreignFile), QByteArray("mine"));
    EXPECT_EQ(readFile(otherFolderFile), QByteArray("x"));
    EXPECT_TRUE(QFileInfo(linkedRecord).isSymLink());
    EXPECT_EQ(readFile(outsideRecord), goodRecord);
    EXPECT_TRUE(QFileInfo(pipeRecord).exists());
    EXPECT_FALSE(QFileInfo::exists(emptyFolder));
}

// Recovered, the text can go back only to a regular file; whatever else the
// record names, the IDE neither hangs nor crashes reading it.
TEST_F(Recovery, ARecordNamingADevicePipeOrFolderComesBackAsANewDocument)
{
    const QString pipe = path(QStringLiteral("pipe.tnk"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString folder = path(QStringLiteral("folder.tnk"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString linkToZero = path(QStringLiteral("zero.tnk"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), linkToZero));
    for (const QString& file : {QStringLiteral("/dev/zero"), pipe, folder, linkToZero}) {
        SCOPED_TRACE(file.toStdString());
        window.reset();
        root().removeRecursively();
        restartWindow();
        dialogs.shown.clear();
        writeRecord(QStringLiteral("1-1"), QStringLiteral("print 1\r\n"), {{QStringLiteral("file"), file}});
        dialogs.answers.push_back(Answer::Yes);
        window->offerRecovery();
        ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("recovery")});
        EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("不是普通文件"))) << dialogs.shown[0].text;
        EXPECT_EQ(editorText(), QStringLiteral("print 1\r\n"));
        EXPECT_TRUE(titleBecomes(QStringLiteral("[新文件 *] - Tarnik"))) << window->windowTitle();
        ASSERT_EQ(records().size(), 1u);
        EXPECT_EQ(records()[0].value(QStringLiteral("file")).toString(), QString());
    }
}

TEST_F(Recovery, ARecordFarLargerThanAProgramIsAskedAboutBeforeItIsRead)
{
    const QString padding(static_cast<qsizetype>(RecoveryStore::kLargeRecordBytes), QLatin1Char(' '));
    const QString folder = writeRecord(QStringLiteral("1-1"), QStringLiteral("print 1") + padding);
    const QString record = folder + QStringLiteral("/unsaved.json");
    const qint64 size = QFileInfo(record).size();

    dialogs.choices.push_back(1);  // 取消
    window->offerRecovery();
    ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("choice")});
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("很大"))) << dialogs.shown[0].text;
    EXPECT_EQ(QFileInfo(record).size(), size);

    restartWindow();
    dialogs.choices.push_back(0);  // 读取
    dialogs.answers.push_back(Answer::No);
    window->offerRecovery();
    EXPECT_EQ(dialogs.kinds(), (std::vector<QString>{QStringLiteral("choice"), QStringLiteral("choice"),
                                                     QStringLiteral("recovery")}));
    EXPECT_FALSE(QFileInfo::exists(record));
}

// ---- several records -------------------------------------------------------

// A hundred stale records are one question, not a hundred.
TEST_F(Recovery, SeveralRecordsAreOfferedInOneList)
{
    constexpr int kRecords = 100;
    const auto folderOf = [](int i) { return root().filePath(QStringLiteral("1000-%1").arg(i)); };
    const auto textOf = [](int i) { return QStringLiteral("print %1").arg(i); };
    struct Case {
        const char* name;
        RecoveryListAnswer answer;
        int recovered;  // the record in the editor, -1 for none
        bool othersKept;
        bool othersElsewhere;  // handed to other IDEs
    };
    const Case cases[] = {
        {"取消", {RecoveryListAction::Cancel, 0}, -1, true, false},
        {"全部丢弃", {RecoveryListAction::DiscardAll, 0}, -1, false, false},
        {"恢复 the fourth", {RecoveryListAction::Recover, 3}, 3, true, false},
        {"全部恢复", {RecoveryListAction::RecoverAll, 0}, 0, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window.reset();
        root().removeRecursively();
        restartWindow();
        dialogs.shown.clear();
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (int i = kRecords - 1; i >= 0; --i) {  // written oldest first, offered newest first
            writeRecord(QStringLiteral("1000-%1").arg(i), textOf(i),
                        {{QStringLiteral("file"), path(QStringLiteral("p%1.tnk").arg(i))},
                         {QStringLiteral("written"), now.addSecs(-i).toString(Qt::ISODateWithMs)}});
        }
        QStringList elsewhere;
        QObject::connect(window.get(), &frmMain::recordForAnotherWindow,
                         [&](const QString& folder) { elsewhere << folder; });
        dialogs.recoveryListAnswers.push_back(c.answer);

        window->offerRecovery();
        ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("recovery list")});
        const QStringList& items = dialogs.shown[0].items;
        ASSERT_EQ(items.size(), kRecords);
        EXPECT_TRUE(items.front().contains(QStringLiteral("p0.tnk"))) << items.front();
        EXPECT_TRUE(items.back().contains(QStringLiteral("p99.tnk"))) << items.back();
        EXPECT_EQ(editorText(), c.recovered < 0 ? QString() : textOf(c.recovered));
        QStringList expectedElsewhere;
        for (int i = 0; i < kRecords; ++i) {
            const bool kept = i != c.recovered && c.othersKept;
            EXPECT_EQ(QFileInfo::exists(folderOf(i) + QStringLiteral("/unsaved.json")), kept) << i;
            if (i != c.recovered && c.othersElsewhere) expectedElsewhere << QFileInfo(folderOf(i)).absoluteFilePath();
        }
        EXPECT_EQ(elsewhere, expectedElsewhere);
        if (!c.othersKept) {
            EXPECT_EQ(folders().size(), 1u) << "only this window's own folder stays";
        }
    }
}

// The other records of 全部恢复 go to IDEs started as `tarnik --recover
// FOLDER`, each of which takes its record over.
TEST_F(Recovery, RecoverAllOpensEveryFurtherRecordInAnIdeOfItsOwn)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    writeRecord(QStringLiteral("1000-1"), QStringLiteral("print 1"),
                {{QStringLiteral("written"), now.toString(Qt::ISODateWithMs)}});
    const QString older = writeRecord(QStringLiteral("1000-2"), QStringLiteral("print 2"),
                                      {{QStringLiteral("written"), now.addSecs(-60).toString(Qt::ISODateWithMs)}});
    std::vector<std::unique_ptr<QProcess>> others;
    QObject::connect(window.get(), &frmMain::recordForAnotherWindow, [&](const QString& folder) {
        auto ide = std::make_unique<QProcess>();
        ide->setProcessEnvironment(ideEnvironment());
        ide->start(QStringLiteral(TARNIK_IDE_PATH), {QStringLiteral("--recover"), folder});
        others.push_back(std::move(ide));
    });
    dialogs.recoveryListAnswers.push_back({RecoveryListAction::RecoverAll, 0});

    window->offerRecovery();
    EXPECT_EQ(editorText(), QStringLiteral("print 1"));
    ASSERT_EQ(others.size(), 1u);
    ASSERT_TRUE(others[0]->waitForStarted());
    // The other IDE wrote its own record of the text before it removed the old one.
    ASSERT_TRUE(waitFor([&] { return !QFileInfo::exists(older); })) << "the other IDE did not take the record";
    EXPECT_EQ(recordTexts(), (QStringList{QStringLiteral("print 1"), QStringLiteral("print 2")}));
    endBySignal(*others[0]);
    EXPECT_EQ(recordTexts(), (QStringList{QStringLiteral("print 1"), QStringLiteral("print 2")}));
}

// The IDE's own list: Enter recovers the chosen item (the newest unless
// another is chosen), Esc asks again next time.
TEST(RecoveryOffer, TheListRecoversTheChosenItemOnEnter)
{
    struct Case {
        const char* name;
        int row;
        Qt::Key key;
        RecoveryListAction action;
        qsizetype chosen;
    };
    const Case cases[] = {
        {"Enter", 0, Qt::Key_Return, RecoveryListAction::Recover, 0},
        {"another row, Enter", 1, Qt::Key_Return, RecoveryListAction::Recover, 1},
        {"Esc", 0, Qt::Key_Escape, RecoveryListAction::Cancel, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QtDialogs dialogs;
        QStringList buttons;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            for (const QAbstractButton* button : box->findChildren<QAbstractButton*>()) buttons << button->text();
            box->findChild<QListWidget*>()->setCurrentRow(c.row);
            QTest::keyClick(box, c.key);
        });
        const RecoveryListAnswer answer = dialogs.offerRecoveryList(
            nullptr, QStringLiteral("恢复未保存的程序"), QStringLiteral("……"), {QStringLiteral("a"), QStringLiteral("b")});
        EXPECT_EQ(answer.action, c.action);
        if (c.action == RecoveryListAction::Recover) {
            EXPECT_EQ(answer.chosen, c.chosen);
        }
        buttons.sort();
        EXPECT_EQ(buttons, (QStringList{QStringLiteral("全部丢弃"), QStringLiteral("全部恢复"), QStringLiteral("取消"),
                                        QStringLiteral("恢复")}));
    }
}

// ---- what a recovered text keeps of its file ---------------------------------

class RecoveredFormats : public Recovery {
protected:
    struct Outcome {
        QByteArray bytes;
        QString format;  // the status bar's encoding and line ends
        std::vector<QString> questions;
    };
    struct FormatCase {
        const char* name;
        QByteArray bytes;
        std::deque<qsizetype> openAnswers;
        std::deque<qsizetype> saveAnswers;
    };

    // Opens the file, edits it, and saves it: at once, or after the IDE was
    // gone with the text unsaved and the next start recovered it.
    Outcome editAndSave(const FormatCase& c, bool throughRecovery)
    {
        const QString file = path(QStringLiteral("format.tnk"));
        restartWindow();
        writeFile(file, c.bytes);
        dialogs.choices = c.openAnswers;
        openCommandLine(file);
        setEditorText(QStringLiteral("print 1\nprint \"你好\"\n"));
        if (throughRecovery) {
            run();  // which keeps the record at once
            restartWindow();
            dialogs.answers.push_back(Answer::Yes);
            window->offerRecovery();
        }
        Outcome outcome;
        outcome.format = fileFormat();
        dialogs.shown.clear();
        dialogs.choices = c.saveAnswers;
        action("mnuFileSave").trigger();
        for (const ShownDialog& shown : dialogs.shown) outcome.questions.push_back(shown.text);
        outcome.bytes = readFile(file);
        return outcome;
    }
};

// 恢复 then Ctrl+S writes what a save of the file would have, with the same
// questions: encoding, line ends and the guard of a file not read exactly.
TEST_F(RecoveredFormats, ASaveAfterRecoveryWritesWhatASaveOfTheFileWould)
{
    const FormatCase cases[] = {
        {"UTF-16 LE", QByteArray("\xFF\xFEp\0r\0i\0n\0t\0 \0" "0\0\r\0\n\0", 20), {}, {}},
        {"UTF-16 BE", QByteArray("\xFE\xFF\0p\0r\0i\0n\0t\0 \0" "0\0\r\0\n", 20), {}, {}},
        {"LF", "print 0\nprint 0\n", {}, {}},
        {"GBK and CR", "print \"\xC4\xE3\"\r", {}, {}},
        {"a stray byte, saved after the question", "print \"\xFF\"\r\n", {0}, {0}},
        {"a stray byte, the save cancelled", "print \"\xFF\"\r\n", {0}, {1}},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome normal = editAndSave(c, false);
        const Outcome recovered = editAndSave(c, true);
        EXPECT_EQ(recovered.format, normal.format);
        EXPECT_EQ(recovered.questions, normal.questions);
        EXPECT_EQ(recovered.bytes, normal.bytes);
    }
}

// Records written before they kept line ends and the read-loss guard.
TEST_F(Recovery, AnOlderRecordLoadsWithItsEncodingAndCrLf)
{
    const QString file = path(QStringLiteral("old.tnk"));
    writeFile(file, "print 1\r\n");
    writeRecord(QStringLiteral("1-1"), QStringLiteral("print \"你好\"\r\n"),
                {{QStringLiteral("file"), file}, {QStringLiteral("encoding"), QStringLiteral("gbk")}});
    dialogs.answers.push_back(Answer::Yes);
    window->offerRecovery();
    EXPECT_EQ(fileFormat(), QStringLiteral("GBK · CR LF"));
    action("mnuFileSave").trigger();
    EXPECT_EQ(readFile(file), QByteArray("print \"\xC4\xE3\xBA\xC3\"\r\n"));
    EXPECT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("recovery")});
}

// ---- when records are written ------------------------------------------------

// A pupil who never pauses for two seconds is recorded too: the record comes
// while the typing goes on. What a kill then loses is only what came after.
TEST_F(Recovery, SteadyTypingIsRecordedWhileItGoesOn)
{
    constexpr int kKeystrokes = 60;  // half a minute, far longer than a record may wait
    constexpr int kKeystrokeMs = 500;
    int typed = 0;
    QTimer typist;
    typist.setInterval(kKeystrokeMs);
    QObject::connect(&typist, &QTimer::timeout, [&] {
        QTest::keyClick(&editor(), Qt::Key_A);
        if (++typed == kKeystrokes) typist.stop();
    });
    typist.start();
    // The limit only keeps a failing test from hanging.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !records().empty() || !typist.isActive(); },
                                kKeystrokes * kKeystrokeMs * 2));
    const int typedWhenRecorded = typed;
    EXPECT_TRUE(typist.isActive()) << "the record came only once the typing had stopped";
    typist.stop();
    ASSERT_EQ(records().size(), 1u);
    const QString recorded = records()[0].value(QStringLiteral("text")).toString();
    EXPECT_GE(recorded.size(), 1);
    EXPECT_LE(recorded.size(), typedWhenRecorded);
    EXPECT_EQ(recorded, QString(recorded.size(), QLatin1Char('a')));

    restartWindow();  // as a kill leaves it: nothing more is written
    dialogs.answers.push_back(Answer::Yes);
    window->offerRecovery();
    EXPECT_EQ(editorText(), recorded);
}

TEST_F(Recovery, AKilledIdesRecordIsOfferedAtTheNextStart)
{
    QProcess ide;
    ASSERT_NO_FATAL_FAILURE(startIdeWithUnsavedText(ide, kUnsaved));
    ASSERT_TRUE(waitFor([] { return !records().empty(); })) << "no record a while after the change";
    ::kill(static_cast<pid_t>(ide.processId()), SIGKILL);
    ASSERT_TRUE(ide.waitForFinished());
    EXPECT_EQ(ide.exitStatus(), QProcess::CrashExit);

    dialogs.answers.push_back(Answer::Yes);
    window->offerRecovery();
    EXPECT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("recovery")});
    EXPECT_EQ(editorText(), kUnsaved);
}

// ---- signals -----------------------------------------------------------------

// A logout while the start-up question waits for an answer ends the IDE; the
// records stay for the next start.
TEST_F(Recovery, ASignalEndsTheIdeWhileItsStartUpQuestionIsOpen)
{
    for (const int count : {1, 3}) {
        SCOPED_TRACE(count == 1 ? "the question of one record" : "the list of several");
        root().removeRecursively();
        for (int i = 0; i < count; ++i) writeRecord(QStringLiteral("1000-%1").arg(i), QStringLiteral("print %1").arg(i));
        QProcess ide;
        ide.setProcessEnvironment(ideEnvironment());
        ide.start(QStringLiteral(TARNIK_IDE_PATH), QStringList());
        ASSERT_TRUE(ide.waitForStarted());
        // The IDE locks the records it offers, then asks.
        ASSERT_TRUE(waitFor([] { return QFileInfo::exists(root().filePath(QStringLiteral("1000-0/lock"))); }));
        endBySignal(ide);
        EXPECT_EQ(recordTexts().size(), count);
    }
}

// Until the text from standard input is in the editor there is nothing to
// keep: a signal ends the IDE at once, also while it waits for that text.
TEST_F(Recovery, ASignalEndsTheIdeWhileItWaitsForStandardInput)
{
    QProcess ide;
    ide.setProcessEnvironment(ideEnvironment());
    ide.start(QStringLiteral(TARNIK_IDE_PATH), {QStringLiteral("-")});
    ASSERT_TRUE(ide.waitForStarted());
    // Its main thread's system call: read from standard input (descriptor 0).
    const QString call = QStringLiteral("/proc/%1/syscall").arg(ide.processId());
    const QByteArray readingInput = QByteArray::number(SYS_read) + " 0x0 ";
    ASSERT_TRUE(waitFor([&] { return readFile(call).startsWith(readingInput); })) << readFile(call).toStdString();
    ::kill(static_cast<pid_t>(ide.processId()), SIGTERM);
    ASSERT_TRUE(ide.waitForFinished());
    EXPECT_TRUE(records().empty());
}

// A signal during 运行测试 stops the cases; the record is written first, and
// no question keeps the IDE from ending.
TEST_F(Recovery, ASignalStopsATestRunAfterKeepingTheRecord)
{
    const QString program = path(QStringLiteral("loop.tnk"));
    writeFile(program, "do while 1 = 1\r\nloop\r\n");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("loop.tests")));
    for (const char* name : {"a", "b", "c"}) writeFile(path(QStringLiteral("loop.tests/%1.out").arg(QLatin1String(name))), "\n");
    openCommandLine(program);
    setEditorText(QStringLiteral("do while 1 = 1\nloop\n' 改过"));
    QTimer signal;
    QObject::connect(&signal, &QTimer::timeout, window.get(), [&] {
        auto* results = window->findChild<QDialog*>(QStringLiteral("dlgTestResults"));
        if (!results || !results->isVisible()) return;
        signal.stop();
        window->endOnSignal();
    });
    signal.start(0);  // fires where the run first processes events, as the first case starts
    action("mnuRunTests").trigger();

    EXPECT_TRUE(window->endingOnSignal());
    auto* cases = window->findChild<QTreeWidget*>(QStringLiteral("lvCases"));
    ASSERT_NE(cases, nullptr);
    EXPECT_EQ(cases->topLevelItemCount(), 1);
    ASSERT_EQ(records().size(), 1u);
    EXPECT_EQ(records()[0].value(QStringLiteral("text")).toString(), QStringLiteral("do while 1 = 1\r\nloop\r\n' 改过"));
    // The close that follows the run asks about the changes, and is answered 取消 at once.
    EXPECT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("question")});
    EXPECT_TRUE(window->isVisible());

    // The signal has told every event loop to end, later ones too; the
    // application's own loop, run once, lets the tests that follow use loops again.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

// ---- records that cannot be written ------------------------------------------

// A file-size limit (ulimit -f) fails the write instead of ending the IDE
// with SIGXFSZ. The lock file fits in the limit, a record does not.
TEST_F(Recovery, AFileSizeLimitFailsTheRecordWithoutEndingTheIde)
{
    QProcess ide;
    ide.setChildProcessModifier([] {
        const rlimit limit{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    ASSERT_NO_FATAL_FAILURE(startIdeWithUnsavedText(ide, QStringLiteral("print \"%1\"\r\n").arg(QString(4096, QLatin1Char('x')))));
    endBySignal(ide);  // which writes the record, or tries to
    EXPECT_TRUE(records().empty());
}

// The failure stays in sight, in the status bar, until a record is written again.
TEST_F(Recovery, AFailedRecordIsMarkedUntilARecordIsWrittenAgain)
{
    window->offerRecovery();  // takes this window's folder, as at start-up
    auto* warning = window->findChild<QLabel*>(QStringLiteral("sbRecoveryWarning"));
    ASSERT_NE(warning, nullptr);
    EXPECT_TRUE(warning->isHidden());
    {
        // No byte can be written, as on a full disk; SIGXFSZ ignored as the IDE does.
        rlimit original{};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &original), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit full{0, original.rlim_max};
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &full), 0);
        setEditorText(QStringLiteral("print 7"));
        const bool marked = waitFor([&] { return warning->isVisible(); });
        ::setrlimit(RLIMIT_FSIZE, &original);
        std::signal(SIGXFSZ, previousHandler);
        ASSERT_TRUE(marked);
    }
    EXPECT_TRUE(warning->toolTip().contains(QStringLiteral("文件超出了允许的大小"))) << warning->toolTip();
    EXPECT_TRUE(window->statusBar()->currentMessage().startsWith(QStringLiteral("无法写入恢复记录")))
        << window->statusBar()->currentMessage();
    EXPECT_TRUE(records().empty());
    EXPECT_TRUE(dialogs.shown.empty());
    window->statusBar()->clearMessage();
    EXPECT_TRUE(warning->isVisible());

    setEditorText(QStringLiteral("print 8"));
    ASSERT_TRUE(waitFor([&] { return warning->isHidden(); }));
    ASSERT_EQ(records().size(), 1u);
    EXPECT_EQ(records()[0].value(QStringLiteral("text")).toString(), QStringLiteral("print 8"));
}

}  // namespace
}  // namespace tarnik::test
