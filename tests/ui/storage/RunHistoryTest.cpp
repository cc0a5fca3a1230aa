// The history of runs: the list itself (order, repeated texts, its limit,
// its file), and through the editor window every Start and Debug recorded
// with how it ended, listed in 运行历史 and opened as a new document.
#include <QMenu>
#include <QTimer>

#include "support/IdeFixture.h"
#include "ui/storage/RunHistory.h"

namespace tarnik::test {
namespace {

RunRecord record(int n, const QString& outcome = QStringLiteral("运行结束"))
{
    return {QStringLiteral("print %1").arg(n), QStringLiteral("/some/where/p%1.tnk").arg(n),
            QDateTime(QDate(2026, 12, 7), QTime(9, 0, n % 60)), outcome};
}

std::vector<QString> texts(const RunHistory& history)
{
    std::vector<QString> list;
    for (const RunRecord& kept : history.records()) list.push_back(kept.text);
    return list;
}

TEST(RunHistoryList, NewestFirstWithoutRepeatsAndAtMostTwenty)
{
    struct Case {
        const char* name;
        std::vector<int> added;
        std::vector<QString> kept;
    };
    std::vector<QString> twentyNewest;
    for (int n = 25; n > 5; --n) twentyNewest.push_back(QStringLiteral("print %1").arg(n));
    std::vector<int> twentyFive;
    for (int n = 1; n <= 25; ++n) twentyFive.push_back(n);
    const Case cases[] = {
        {"newest first", {1, 2, 3}, {QStringLiteral("print 3"), QStringLiteral("print 2"), QStringLiteral("print 1")}},
        {"a text run again moves to the front", {1, 2, 1},
         {QStringLiteral("print 1"), QStringLiteral("print 2")}},
        {"the same text twice in a row", {4, 4}, {QStringLiteral("print 4")}},
        {"the oldest go past twenty", twentyFive, twentyNewest},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunHistory history(QString{});
        for (int n : c.added) history.add(record(n));
        EXPECT_EQ(texts(history), c.kept);
    }
}

TEST(RunHistoryList, LongTextsPushTheOldestOutSooner)
{
    struct Case {
        const char* name;
        std::vector<qsizetype> lengths;  // of the texts added, oldest first
        std::size_t kept;
    };
    const qsizetype half = RunHistory::kMaxCharacters / 2;
    const Case cases[] = {
        {"exactly at the limit", {half, half}, 2},
        {"one character over", {1, half, half}, 2},
        {"a text longer than the limit alone", {1, RunHistory::kMaxCharacters + 1}, 1},
        {"small texts are counted too", {10, 10, half, half - 20}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunHistory history(QString{});
        char letter = 'a';
        for (qsizetype length : c.lengths) history.add({QString(length, QLatin1Char(letter++)), {}, {}, {}});
        ASSERT_EQ(history.records().size(), c.kept);
        EXPECT_EQ(history.records()[0].text.size(), c.lengths.back());
    }
}

TEST(RunHistoryList, RunAgainKeepsTheNewerOutcome)
{
    RunHistory history(QString{});
    history.add(record(1, QStringLiteral("运行结束")));
    history.add(record(1, QStringLiteral("已中止")));
    ASSERT_EQ(history.records().size(), 1u);
    EXPECT_EQ(history.records()[0].outcome, QStringLiteral("已中止"));
}

TEST(RunHistoryList, FileReadsBackWhatWasWritten)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("folder/history.json"));
    RunHistory written(file);
    written.add(record(1));
    written.add({QStringLiteral("' 中文\r\nprint \"你好\"\r\n"), QString(),
                 QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5, 678)), QStringLiteral("错误 11（第2行）")});
    ASSERT_TRUE(written.save());

    RunHistory read(file);
    read.load();
    ASSERT_EQ(read.records().size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(read.records()[i].text, written.records()[i].text);
        EXPECT_EQ(read.records()[i].file, written.records()[i].file);
        EXPECT_EQ(read.records()[i].started, written.records()[i].started);
        EXPECT_EQ(read.records()[i].outcome, written.records()[i].outcome);
    }
}

TEST(RunHistoryList, DamagedOrForeignFilesReadAsEmpty)
{
    const QByteArray files[] = {
        "",
        "{\"format\":\"tarnik-run-history-1\",\"runs\":[{\"text\":\"print",
        "{\"format\":\"something else\",\"runs\":[{\"text\":\"print 1\"}]}",
        "[1, 2, 3]",
    };
    for (const QByteArray& bytes : files) {
        SCOPED_TRACE(bytes.toStdString());
        EXPECT_TRUE(RunHistory::parse(bytes).empty());
    }
}

// The history file is ours: a link in its place (to a file of the user's,
// or to one that does not exist yet) is neither read nor written through.
TEST(RunHistoryList, ALinkInPlaceOfTheFileIsNeitherReadNorFollowed)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("history.json"));
    const QString realFile = dir.filePath(QStringLiteral("real.json"));
    RunHistory real(realFile);
    real.add(record(1));
    ASSERT_TRUE(real.save());
    const QString missing = dir.filePath(QStringLiteral("elsewhere.txt"));
    for (const QString& target : {realFile, missing}) {
        SCOPED_TRACE(target.toStdString());
        QFile::remove(file);
        ASSERT_TRUE(QFile::link(target, file));
        const QByteArray before = readFile(target);
        RunHistory history(file);
        history.load();
        EXPECT_TRUE(history.records().empty());
        history.add(record(2));
        const FileWriteResult saved = history.save();
        EXPECT_FALSE(saved);
        EXPECT_FALSE(saved.reason.isEmpty());
        EXPECT_EQ(readFile(target), before);
        EXPECT_EQ(QFile::exists(missing), false);
    }
}

TEST(RunHistoryList, OutcomeIsDescribedInWords)
{
    RunOutcome finished;
    RunOutcome failed;
    failed.error = BasicError{11, u"除数为零"};
    failed.line = 3;
    RunOutcome aborted;
    aborted.aborted = true;
    EXPECT_EQ(RunHistory::describeOutcome(finished), QStringLiteral("运行结束"));
    EXPECT_EQ(RunHistory::describeOutcome(failed), QStringLiteral("错误 11（第3行）"));
    EXPECT_EQ(RunHistory::describeOutcome(aborted), QStringLiteral("已中止"));
}

class RunHistoryMenu : public IdeFixture {
protected:
    [[nodiscard]] QMenu& historyMenu()
    {
        auto* menu = window->findChild<QMenu*>(QStringLiteral("mnuRunHistory"));
        EXPECT_NE(menu, nullptr);
        return *menu;
    }

    // The menu's items as the user sees them when it opens.
    QList<QAction*> shownItems()
    {
        emit historyMenu().aboutToShow();
        return historyMenu().actions();
    }

    static std::vector<RunRecord> stored()
    {
        RunHistory history(RunHistory::defaultPath());
        history.load();
        return history.records();
    }
};

TEST_F(RunHistoryMenu, EveryRunIsKeptWithHowItEnded)
{
    const QString file = path(QStringLiteral("mine.tnk"));
    writeFile(file, "print 1");
    openCommandLine(file);
    struct Case {
        const char* name;
        QString program;
        const char* command;
        bool closeConsole;
        QString outcome;
    };
    const Case cases[] = {
        {"Start, finished", QStringLiteral("print 1"), "mnuStart", false, QStringLiteral("运行结束")},
        {"Start, error", QStringLiteral("a = 1\nprint a / 0"), "mnuStart", false, QStringLiteral("错误 11（第2行）")},
        {"Debug, aborted", QStringLiteral("print 2"), "mnuDebug", true, QStringLiteral("已中止")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setEditorText(c.program);
        // Debug pauses before the first line, in the debugger's event loop;
        // closing the console there aborts the run.
        if (c.closeConsole) QTimer::singleShot(0, window.get(), [this] { console().close(); });
        action(c.command).trigger();
        const std::vector<RunRecord> kept = stored();
        ASSERT_FALSE(kept.empty());
        EXPECT_EQ(kept[0].text, editorText());
        EXPECT_EQ(kept[0].file, file);
        EXPECT_EQ(kept[0].outcome, c.outcome);
    }
    EXPECT_EQ(stored().size(), 3u);
    EXPECT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("critical")});
}

TEST_F(RunHistoryMenu, EmptyHistoryShowsOneDisabledItem)
{
    const QList<QAction*> items = shownItems();
    ASSERT_EQ(items.size(), 1);
    EXPECT_FALSE(items[0]->isEnabled());
}

TEST_F(RunHistoryMenu, AnEntryOpensAsANewUnsavedDocument)
{
    const QString file = path(QStringLiteral("kept.tnk"));
    writeFile(file, "print 1");
    openCommandLine(file);
    setEditorText(QStringLiteral("print \"能运行\""));
    run();
    setEditorText(QStringLiteral("print \"改坏了"));
    run();
    dialogs.shown.clear();

    const QList<QAction*> items = shownItems();
    ASSERT_EQ(items.size(), 2);
    EXPECT_TRUE(items[0]->text().contains(QStringLiteral("kept.tnk"))) << items[0]->text();
    EXPECT_TRUE(items[1]->text().contains(QStringLiteral("运行结束"))) << items[1]->text();
    dialogs.answers.push_back(Answer::No);  // the broken text is not saved
    items[1]->trigger();

    EXPECT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("question")});
    EXPECT_EQ(editorText(), QStringLiteral("print \"能运行\""));
    EXPECT_TRUE(titleBecomes(QStringLiteral("[新文件 *] - Tarnik"))) << window->windowTitle();
    EXPECT_EQ(readFile(file), QByteArray("print 1"));
}

TEST_F(RunHistoryMenu, TwentyRunsAreListedAndRepeatsOnce)
{
    for (int n = 1; n <= RunHistory::kMaxRecords + 2; ++n) {
        setEditorText(QStringLiteral("print %1").arg(n));
        run();
    }
    setEditorText(QStringLiteral("print 5"));
    run();
    const QList<QAction*> items = shownItems();
    ASSERT_EQ(items.size(), RunHistory::kMaxRecords);
    const std::vector<RunRecord> kept = stored();
    ASSERT_EQ(kept.size(), std::size_t{RunHistory::kMaxRecords});
    EXPECT_EQ(kept.front().text, QStringLiteral("print 5"));
    EXPECT_EQ(kept.back().text, QStringLiteral("print 3"));
    EXPECT_EQ(std::count_if(kept.begin(), kept.end(),
                            [](const RunRecord& r) { return r.text == QStringLiteral("print 5"); }),
              1);
}

}  // namespace
}  // namespace tarnik::test
