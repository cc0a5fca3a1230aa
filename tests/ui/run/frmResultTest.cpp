// Runs started from the editor: the console's output, captions and commands,
// INPUT, the error report with its selection, aborting, and the guards
// around a run (no nested run, closing the editor mid-run).
#include <QDir>
#include <QInputDialog>
#include <QMessageBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <QTimer>

#include "services/SourceText.h"
#include "support/CliRunner.h"
#include "support/DebuggerScript.h"
#include "support/RecordingHost.h"
#include "support/IdeFixture.h"
#include "ui/QtDialogs.h"
#include "ui/run/frmResult.h"

namespace tarnik::test {
namespace {

class ProgramRun : public IdeFixture {
protected:
    // Runs `action` once the run has been going for `delayMs` (the timer
    // goes with the window, so it never reaches a later test).
    void duringRun(int delayMs, std::function<void()> action)
    {
        QTimer::singleShot(delayMs, window.get(), std::move(action));
    }
};

const QString kRunning = QStringLiteral("程序运行中 - 控制台");
const QString kEnded = QStringLiteral("程序中止 - 控制台");
// Prints x, then loops until the console is hidden.
const QString kEndlessLoop = QStringLiteral("print \"x\"\ndo while 1 = 1\n    n = n + 1\nloop");

TEST_F(ProgramRun, OutputGoesToTheConsoleAndTheCaptionSaysTheRunEnded)
{
    setEditorText(QStringLiteral("for i = 1 to 3\n    print i; \"行\", i * 2\nnext"));
    QTextCursor caret = editor().textCursor();
    caret.setPosition(5);
    editor().setTextCursor(caret);
    run();

    EXPECT_EQ(consoleText(), QStringLiteral("1行\t2\n2行\t4\n3行\t6\n"));
    EXPECT_TRUE(console().isVisible());
    EXPECT_EQ(console().windowTitle(), kEnded);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(editor().textCursor().position(), 5);
    EXPECT_FALSE(editor().textCursor().hasSelection());
}

TEST_F(ProgramRun, ANewRunStartsWithAnEmptyConsole)
{
    setEditorText(QStringLiteral("print \"once\""));
    run();
    run();
    EXPECT_EQ(consoleText(), QStringLiteral("once\n"));
}

TEST_F(ProgramRun, ErrorIsReportedAndItsLineSelected)
{
    struct Case {
        const char* name;
        QString program;
        QString title;
        QString text;
        int selectionStart;   // in the widget, a line break counting one
        QString selected;
    };
    const Case cases[] = {
        {"third line", QStringLiteral("a=1\nb=2\ngoto 1000"), QStringLiteral("错误 51"),
         QStringLiteral("找不到行号(第3行)\n程序里没有哪一行以标号 1000 开头：在要跳到的语句前面写上 1000。"), 8,
         QStringLiteral("goto 1000")},
        {"first line", QStringLiteral("goto 0\nprint 1"), QStringLiteral("错误 52"), QStringLiteral("找不到行号(第1行)"),
         0, QStringLiteral("goto 0")},
        {"after blank and Chinese lines", QStringLiteral("' 中文注释\n\nx = 1 / 0"), QStringLiteral("错误 11"),
         QStringLiteral("除数为零(第3行)"), 8, QStringLiteral("x = 1 / 0")},
        {"translation error", QStringLiteral("for i = 1 to 3\nprint i"), QStringLiteral("错误 303"),
         QStringLiteral("For没有Next(第2行)\n这个 For 从第1行开始，还没有 Next。"), 15, QStringLiteral("print i")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setEditorText(c.program);
        dialogs.shown.clear();
        run();
        ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("critical")});
        EXPECT_EQ(dialogs.shown[0].title, c.title);
        EXPECT_EQ(dialogs.shown[0].text, c.text);
        EXPECT_EQ(editor().textCursor().selectionStart(), c.selectionStart);
        EXPECT_EQ(editor().textCursor().selectedText(), c.selected);
        EXPECT_EQ(console().windowTitle(), kEnded);
    }
}

TEST_F(ProgramRun, ErrorLineIsSelectedInTheTextAsItIsWhenTheRunEnds)
{
    setEditorText(QStringLiteral("input a\nx = a / 0"));
    dialogs.inputs = {QStringLiteral("1")};
    dialogs.onShow = [&](const ShownDialog& dialog) {
        if (dialog.kind == QStringLiteral("input")) editor().textCursor().insertText(QStringLiteral("' added\n"));
    };
    run();
    EXPECT_EQ(dialogs.shown.back().text, QStringLiteral("除数为零(第2行)"));
    EXPECT_EQ(editor().textCursor().selectedText(), QStringLiteral("input a"));
}

// How often a run of the file pauses (at STOP), run by the core with the answers.
std::int32_t pausesInTheCore(const QString& file, const QByteArray& answers)
{
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly)) return 0;
    RecordingHost host;
    for (const QString& line : QString::fromUtf8(answers).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        host.answers.push_back(line.trimmed().toStdU16String());
    }
    runProgram(decodeSource(source.readAll().toStdString()).text, host);
    return static_cast<std::int32_t>(host.pausedLines.size());
}

TEST_F(ProgramRun, ConsoleShowsWhatTheHeadlessRunnerPrints)
{
    const QDir examples(QStringLiteral(TARNIK_EXAMPLES_DIR));
    const QStringList programs = examples.entryList({QStringLiteral("*.bas")}, QDir::Files, QDir::Name);
    ASSERT_FALSE(programs.isEmpty());
    for (const QString& name : programs) {
        SCOPED_TRACE(name.toStdString());
        const QString file = examples.filePath(name);
        QFile answersFile(examples.filePath(QFileInfo(name).completeBaseName() + QStringLiteral(".in")));
        const QByteArray answers = answersFile.open(QIODevice::ReadOnly) ? answersFile.readAll() : QByteArray();
        const CliResult expected = runCli({"run", file.toStdString()}, answers.toStdString());
        if (expected.lastErrorLine().find("错误 62") != std::string::npos) continue;  // runs out of answers

        openCommandLine(file);
        dialogs.inputs.clear();
        for (const QString& line : QString::fromUtf8(answers).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            dialogs.inputs.push_back(line.trimmed());
        }
        dialogs.shown.clear();
        // STOP opens the debugger in a free run too: Continue at each pause.
        DebuggerScript debugger;
        for (std::int32_t i = 0; i < pausesInTheCore(file, answers); ++i) {
            debugger.add([](QDialog& paused) { click(paused, "cmdContinue"); });
        }
        run();

        EXPECT_EQ(consoleText().toStdString(), expected.out);
        std::string reported;
        for (const ShownDialog& dialog : dialogs.shown) {
            if (dialog.kind == QStringLiteral("critical")) reported = (dialog.title + ": " + dialog.text).toStdString();
        }
        EXPECT_EQ(reported, expected.exitStatus == 1 ? expected.lastErrorLine() : std::string());
        EXPECT_TRUE(dialogs.inputs.empty());
    }
}

TEST_F(ProgramRun, InputAsksAgainAfterCancelOrAnEmptyAnswer)
{
    setEditorText(QStringLiteral("input a\nprint a * 2"));
    dialogs.inputs = {QString(), QStringLiteral(""), QStringLiteral("21")};
    run();

    ASSERT_EQ(dialogs.shown.size(), 3u);
    for (const ShownDialog& dialog : dialogs.shown) {
        EXPECT_EQ(dialog.kind, QStringLiteral("input"));
        EXPECT_EQ(dialog.title, QStringLiteral("数据输入"));
        EXPECT_EQ(dialog.text, QStringLiteral("输入整数[a]："));
    }
    EXPECT_EQ(consoleText(), QStringLiteral("21\n42\n"));
}

TEST_F(ProgramRun, InputBoxRepeatsTheQuestionLeftUnfinishedOnTheConsole)
{
    struct Case {
        const char* name;
        QString program;
        int answers;
        std::vector<QString> questions;
    };
    const Case cases[] = {
        {"question before the box", QStringLiteral("print \"猜一个数：\";\ninput guess"), 1, {QStringLiteral("猜一个数：")}},
        {"finished line", QStringLiteral("print \"问题\"\ninput a"), 1, {QString()}},
        {"nothing printed", QStringLiteral("input a"), 1, {QString()}},
        {"pieces of one line", QStringLiteral("print \"a\";\nprint 2;\ninput x"), 1, {QStringLiteral("a2")}},
        {"each question its own",
         QStringLiteral("print \"x=\";\ninput x\nprint \"y=\";\ninput y"), 2,
         {QStringLiteral("x="), QStringLiteral("y=")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setEditorText(c.program);
        dialogs.shown.clear();
        for (int i = 0; i < c.answers; ++i) dialogs.inputs.push_back(QStringLiteral("7"));
        run();
        ASSERT_EQ(dialogs.shown.size(), c.questions.size());
        for (std::size_t i = 0; i < c.questions.size(); ++i) {
            EXPECT_EQ(dialogs.shown[i].title, QStringLiteral("数据输入"));
            EXPECT_TRUE(dialogs.shown[i].text.startsWith(QStringLiteral("输入整数["))) << dialogs.shown[i].text;
            EXPECT_EQ(dialogs.shown[i].question, c.questions[i]);
            EXPECT_TRUE(dialogs.shown[i].besideParent);
        }
    }
}

TEST_F(ProgramRun, OutputOfAnAbortedRunCanBeShownAgainCopiedSavedAndCleared)
{
    setEditorText(QStringLiteral("print 1\nprint \"二\"\nprint 3"));
    DebuggerScript script({
        [](QDialog& debugger) { click(debugger, "cmdStep"); },
        [](QDialog& debugger) { click(debugger, "cmdAbort"); },
    });
    action("mnuDebug").trigger();
    ASSERT_FALSE(console().isVisible());

    action("mnuViewConsole").trigger();
    EXPECT_TRUE(console().isVisible());
    const QString output = QStringLiteral("1\n二\n");
    EXPECT_EQ(consoleText(), output);

    QGuiApplication::clipboard()->clear();
    consoleAction("mnuConsoleCopy").trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), output);
    QTextCursor first = consoleBox().textCursor();
    first.setPosition(0);
    first.setPosition(1, QTextCursor::KeepAnchor);
    consoleBox().setTextCursor(first);
    consoleAction("mnuConsoleCopy").trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("1"));

    dialogs.saveNames.push_back(path(QStringLiteral("output.txt")));
    consoleAction("mnuConsoleSave").trigger();
    EXPECT_EQ(readFile(path(QStringLiteral("output.txt"))), output.toUtf8());
    ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("save")});
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("保存控制台输出"));

    consoleAction("mnuConsoleClear").trigger();
    EXPECT_EQ(consoleText(), QString());
    EXPECT_TRUE(console().isVisible());
}

TEST_F(ProgramRun, OutputThatCannotBeSavedIsReportedAndKept)
{
    setEditorText(QStringLiteral("print 1"));
    run();
    dialogs.saveNames.push_back(path(QStringLiteral("missing/output.txt")));
    consoleAction("mnuConsoleSave").trigger();
    ASSERT_EQ(dialogs.kinds(), (std::vector<QString>{QStringLiteral("save"), QStringLiteral("critical")}));
    EXPECT_TRUE(dialogs.shown[1].text.startsWith(QStringLiteral("无法保存 "))) << dialogs.shown[1].text;
    EXPECT_TRUE(dialogs.shown[1].text.endsWith(QStringLiteral("控制台中的输出仍然保留。"))) << dialogs.shown[1].text;
    EXPECT_EQ(consoleText(), QStringLiteral("1\n"));
}

TEST_F(ProgramRun, OutputBeforeAnInputIsVisibleWhenTheQuestionComes)
{
    setEditorText(QStringLiteral("print \"问题\"\ninput a"));
    QString shownBefore;
    dialogs.onShow = [&](const ShownDialog&) { shownBefore = consoleText(); };
    dialogs.inputs = {QStringLiteral("1")};
    run();
    EXPECT_EQ(shownBefore, QStringLiteral("问题\n"));
}

TEST_F(ProgramRun, HidingTheConsoleEndsALongLoopWithoutAMessage)
{
    struct Case {
        const char* name;
        std::function<void()> hide;
    };
    const Case cases[] = {
        {"End command", [this] { consoleAction("结束").trigger(); }},
        {"close box", [this] { console().close(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setEditorText(kEndlessLoop);
        QString outputWhileRunning;
        QString captionWhileRunning;
        duringRun(200, [&] {
            outputWhileRunning = consoleText();
            captionWhileRunning = console().windowTitle();
            c.hide();
        });
        run();

        EXPECT_EQ(outputWhileRunning, QStringLiteral("x\n"));
        EXPECT_EQ(captionWhileRunning, kRunning);
        EXPECT_FALSE(console().isVisible());
        EXPECT_EQ(console().windowTitle(), kEnded);
        EXPECT_TRUE(dialogs.shown.empty());
        EXPECT_GT(runState().Variables.valueOf(u"n"), 0);
    }
}

TEST_F(ProgramRun, PauseIsDisabledOnceARunHasEnded)
{
    QAction& pause = consoleAction("暂停");
    setEditorText(QStringLiteral("print 1"));
    run();
    EXPECT_TRUE(waitFor([&] { return !pause.isEnabled(); }));

    setEditorText(kEndlessLoop);
    bool enabledWhileRunning = false;
    duringRun(450, [&] {
        enabledWhileRunning = pause.isEnabled();
        consoleAction("结束").trigger();
    });
    run();
    EXPECT_TRUE(enabledWhileRunning);
    EXPECT_TRUE(waitFor([&] { return !pause.isEnabled(); }));
}

TEST_F(ProgramRun, PauseSwitchesToStepping)
{
    setEditorText(kEndlessLoop);
    duringRun(100, [&] {
        consoleAction("暂停").trigger();
        consoleAction("结束").trigger();
    });
    run();
    EXPECT_FALSE(runState().FreeRun);
}

TEST_F(ProgramRun, StartAndDebugAreRefusedWhileARunIsActive)
{
    setEditorText(kEndlessLoop);
    std::vector<bool> enabled;
    bool stillFirstRun = false;
    duringRun(1500, [&] { console().hide(); });  // ends a nested run, should one have started
    duringRun(100, [&] {
        for (const char* name : {"mnuStart", "mnuDebug", "tbStart", "tbDebug"}) enabled.push_back(action(name).isEnabled());
        action("mnuDebug").trigger();
        QTest::keyClick(&editor(), Qt::Key_F9);
        // A nested run would still be looping here, or would have ended
        // the outer one's console on its way out.
        stillFirstRun = console().isVisible() && console().windowTitle() == kRunning;
        consoleAction("结束").trigger();
    });
    run();

    EXPECT_EQ(enabled, std::vector<bool>(4, false));
    EXPECT_TRUE(stillFirstRun);
    EXPECT_TRUE(runState().FreeRun);
    EXPECT_TRUE(action("mnuStart").isEnabled());
    EXPECT_TRUE(action("tbDebug").isEnabled());
}

TEST_F(ProgramRun, ClosingTheEditorDuringARunEndsTheRunThenAsks)
{
    setEditorText(kEndlessLoop);
    QString captionAtQuestion;
    dialogs.onShow = [&](const ShownDialog&) { captionAtQuestion = console().windowTitle(); };
    dialogs.answers = {Answer::No};
    duringRun(100, [&] { window->close(); });
    run();

    EXPECT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("question")});
    EXPECT_EQ(captionAtQuestion, kEnded);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(console().isVisible());
}

TEST_F(ProgramRun, TheEditorStaysLiveDuringARun)
{
    setEditorText(kEndlessLoop);
    bool titleUpdated = false;
    duringRun(100, [&] {
        QTextCursor end = editor().textCursor();
        end.movePosition(QTextCursor::End);
        editor().setTextCursor(end);
        QTest::keyClick(&editor(), Qt::Key_Return);
        QTest::keyClicks(&editor(), QStringLiteral("' typed"));
        titleUpdated = waitFor([&] { return window->windowTitle() == QStringLiteral("[新文件 *] - Tarnik"); });
        consoleAction("结束").trigger();
    });
    run();
    EXPECT_TRUE(titleUpdated);
    // The lines left behind may have been rewritten («Loop») meanwhile.
    EXPECT_TRUE(editorText().toLower().endsWith(QStringLiteral("loop\r\n' typed")));
}

// ---- programs that do not stop by themselves -------------------------------

// Resident memory of this process.
qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toLongLong() * 4096;
}

class RunawayRun : public ProgramRun {
protected:
    // Runs the editor's program until `enough` holds, then ends it with End,
    // as the user would. How long the event loop waits meanwhile is measured
    // by ide_bench.
    void runThenEnd(const std::function<bool()>& enough)
    {
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            if (enough()) consoleAction("结束").trigger();
        });
        user.start(10);
        run();
        EXPECT_FALSE(console().isVisible());
        EXPECT_TRUE(dialogs.shown.empty());
    }
};

const QString kOmittedLine = frmResult::kOmittedNotice.toString() + QLatin1Char('\n');

TEST_F(RunawayRun, PrintLoopEndsFromTheConsoleWithItsNewestLinesKept)
{
    setEditorText(QStringLiteral("do while 1 = 1\n    print i\n    i = i + 1\nloop"));
    const int enough = frmResult::kMaxLines * 5 / 2;
    const qint64 memoryBefore = residentBytes();
    runThenEnd([this, enough] { return runState().Variables.valueOf(u"i") > enough; });
    const auto printed = static_cast<int>(runState().Variables.valueOf(u"i"));
    ASSERT_GT(printed, enough);
    const QString text = consoleText();
    EXPECT_TRUE(text.startsWith(kOmittedLine)) << text.left(40);
    EXPECT_LE(consoleBox().blockCount(), frmResult::kMaxLines + 1);
    EXPECT_TRUE(text.endsWith(QStringLiteral("\n%1\n").arg(printed - 1)));
    const double bytesPerLine = static_cast<double>(residentBytes() - memoryBefore) / printed;
    EXPECT_LT(bytesPerLine, 1000);
}

// Output without line ends is cut into lines of 4096 characters: the box
// would otherwise lay the ever longer line out again for each piece of output.
TEST_F(RunawayRun, PrintLoopWithoutLineEndsIsCutIntoLines)
{
    setEditorText(QStringLiteral("do while 1 = 1\n    print \"x\";\n    n = n + 1\nloop"));
    runThenEnd([this] { return consoleBox().blockCount() > 12; });
    const auto printed = static_cast<qsizetype>(runState().Variables.valueOf(u"n"));
    const QStringList lines = consoleText().split(QLatin1Char('\n'));
    ASSERT_GT(lines.size(), 10);
    EXPECT_EQ(lines.front(), QString(4096, QLatin1Char('x')));
    EXPECT_EQ((lines.size() - 1) * 4096 + lines.back().size(), printed);
}

// Past kMaxLines lines the oldest go: the notice, then the newest lines in
// order, none missing.
TEST_F(ProgramRun, LongOutputKeepsItsNewestLinesBelowTheNotice)
{
    const int printed = frmResult::kMaxLines * 3 / 2;
    setEditorText(QStringLiteral("for i = 1 to %1\n    print i\nnext").arg(printed));
    run();
    QStringList lines = consoleText().split(QLatin1Char('\n'));
    ASSERT_GT(lines.size(), 2);
    EXPECT_EQ(lines.takeFirst(), frmResult::kOmittedNotice.toString());
    EXPECT_EQ(lines.takeLast(), QString());  // the last PRINT ended its line
    EXPECT_LE(lines.size(), frmResult::kMaxLines);
    EXPECT_GT(lines.size(), frmResult::kMaxLines / 2);
    const qsizetype firstKept = printed - lines.size() + 1;
    for (qsizetype k = 0; k < lines.size(); ++k) {
        if (lines[k] != QString::number(firstKept + k)) {
            ADD_FAILURE() << "line " << k << " is " << lines[k] << ", not " << firstKept + k;
            break;
        }
    }
    EXPECT_LE(consoleBox().blockCount(), frmResult::kMaxLines + 1);
}

// Past kMaxCharacters the oldest lines go too, when the program never ends
// a line: what is kept is exactly the newest output, in whole lines of the
// box. Long literals make more output between two looks at the events than
// the box keeps at all.
TEST_F(ProgramRun, LongOutputWithoutLineEndsKeepsItsNewestText)
{
    struct Case {
        const char* name;
        qsizetype pieceLength;
        qsizetype pieces;
    };
    const Case cases[] = {
        {"short pieces", 10, frmResult::kMaxCharacters / 10 * 5 / 4},
        {"long literals", 30000, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString piece = QStringLiteral("0123456789").repeated(c.pieceLength / 10);
        setEditorText(
            QStringLiteral("i = 0\ndo while i < %1\n    print \"%2\";\n    i = i + 1\nloop").arg(c.pieces).arg(piece));
        run();
        const QString printed = piece.repeated(c.pieces);
        QStringList lines = consoleText().split(QLatin1Char('\n'));
        ASSERT_GT(lines.size(), 2);
        EXPECT_EQ(lines.takeFirst(), frmResult::kOmittedNotice.toString());
        EXPECT_EQ(lines.last(), printed.right(printed.size() % 4096));
        lines.removeLast();
        for (const QString& line : lines) ASSERT_EQ(line.size(), 4096);
        const QString kept = lines.join(QString()) + printed.right(printed.size() % 4096);
        EXPECT_GT(kept.size(), frmResult::kMaxCharacters / 2);
        EXPECT_TRUE(printed.endsWith(kept));
        EXPECT_LE(consoleBox().document()->characterCount(), frmResult::kMaxCharacters);
    }
}

// A new run starts without the notice of the last one.
TEST_F(ProgramRun, ANewRunStartsWithoutTheNotice)
{
    setEditorText(QStringLiteral("for i = 1 to %1\n    print i\nnext").arg(frmResult::kMaxLines + 1));
    run();
    ASSERT_TRUE(consoleText().startsWith(kOmittedLine));
    setEditorText(QStringLiteral("print \"again\""));
    run();
    EXPECT_EQ(consoleText(), QStringLiteral("again\n"));
}

TEST_F(ProgramRun, ConsoleLinesLongerThan4096CharactersGoOnOnTheNextLine)
{
    struct Case {
        int printed;
        QString shown;
    };
    const Case cases[] = {
        {4096, QString(4096, QLatin1Char('x')) + QStringLiteral("\n")},
        {4097, QString(4096, QLatin1Char('x')) + QStringLiteral("\nx\n")},
        {8193, QString(4096, QLatin1Char('x')) + QStringLiteral("\n") + QString(4096, QLatin1Char('x')) +
                   QStringLiteral("\nx\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.printed);
        setEditorText(QStringLiteral("for i = 1 to %1\n    print \"x\";\nnext\nprint \"\"").arg(c.printed));
        run();
        EXPECT_EQ(consoleText(), c.shown);
    }
}

// The INPUT box of the IDE, not a scripted one: it leaves the console's
// commands usable while it asks.
TEST_F(ProgramRun, InputLoopEndsFromTheConsoleWhileItAsks)
{
    struct Case {
        const char* name;
        std::function<void(QMainWindow&)> end;
    };
    const Case cases[] = {
        {"End command", [](QMainWindow& ideConsole) {
             ideConsole.findChild<QAction*>(QStringLiteral("结束"))->trigger();
         }},
        {"close box", [](QMainWindow& ideConsole) { ideConsole.close(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QtDialogs qtDialogs;
        frmMain ide(qtDialogs);
        ide.show();
        ide.findChild<QPlainTextEdit*>(QStringLiteral("txtSource"))
            ->setPlainText(QStringLiteral("do while 1 = 1\n    input a\n    n = n + a\nloop"));
        int questions = 0;
        bool otherWindowsUsable = false;
        QStringList messages;
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (!widget->isVisible()) continue;
                if (auto* box = qobject_cast<QMessageBox*>(widget)) {
                    messages << box->text();
                    box->reject();
                }
                auto* question = qobject_cast<QInputDialog*>(widget);
                if (!question || question->property("answered").toBool()) continue;
                question->setProperty("answered", true);
                if (++questions <= 3) {
                    question->setTextValue(QStringLiteral("2"));
                    question->accept();
                    continue;
                }
                otherWindowsUsable = QApplication::activeModalWidget() == nullptr;
                auto* ideConsole = qobject_cast<QMainWindow*>(question->parentWidget());
                ASSERT_NE(ideConsole, nullptr);
                c.end(*ideConsole);
            }
        });
        user.start(10);
        ide.findChild<QAction*>(QStringLiteral("mnuStart"))->trigger();
        user.stop();

        EXPECT_EQ(questions, 4);
        EXPECT_TRUE(otherWindowsUsable);
        EXPECT_EQ(messages, QStringList());
        ASSERT_NE(ide.runController().state(), nullptr);
        EXPECT_EQ(ide.runController().state()->Variables.valueOf(u"n"), 6);
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            const bool question = qobject_cast<QInputDialog*>(widget) != nullptr;
            if (question || widget->objectName() == QLatin1String("frmResult")) {
                EXPECT_FALSE(widget->isVisible()) << widget->objectName();
            }
        }
    }
}

}  // namespace
}  // namespace tarnik::test
