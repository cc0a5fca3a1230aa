// 运行测试: every case in the program's NAME.tests folder run through the
// core's case runner, 通过 / 未通过 per case, the expected and the actual
// output side by side with the first differing line marked, and a long run
// stopped from its window.
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QStatusBar>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>
#include <QTreeWidget>
#include <sys/stat.h>

#include <filesystem>

#include "support/DebuggerScript.h"
#include "support/IdeFixture.h"

namespace tarnik::test {
namespace {

class RunTests : public IdeFixture {
protected:
    // A program file with its case folder: each case a name, answers (null:
    // no .in file) and the expected output.
    struct CaseFiles {
        QString name;
        QByteArray answers;
        QByteArray expected;
    };
    void writeProgram(const QByteArray& text, const std::vector<CaseFiles>& cases)
    {
        writeFile(path(QStringLiteral("double.tnk")), text);
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("double.tests")));
        for (const CaseFiles& c : cases) {
            const QString stem = path(QStringLiteral("double.tests/") + c.name);
            if (!c.answers.isNull()) writeFile(stem + QStringLiteral(".in"), c.answers);
            writeFile(stem + QStringLiteral(".out"), c.expected);
        }
        openCommandLine(path(QStringLiteral("double.tnk")));
    }
    QDialog& results() { return *window->findChild<QDialog*>(QStringLiteral("dlgTestResults")); }
    QTreeWidget& caseList() { return *results().findChild<QTreeWidget*>(QStringLiteral("lvCases")); }
    QString label(const char* name) { return results().findChild<QLabel*>(QLatin1String(name))->text(); }
    QPlainTextEdit& box(const char* name) { return *results().findChild<QPlainTextEdit*>(QLatin1String(name)); }
    std::vector<QStringList> rows()
    {
        std::vector<QStringList> list;
        for (int i = 0; i < caseList().topLevelItemCount(); ++i) {
            list.push_back({caseList().topLevelItem(i)->text(0), caseList().topLevelItem(i)->text(1)});
        }
        return list;
    }
    // The lines of `name` with a background, counted from 1.
    std::vector<int> markedLines(const char* name)
    {
        std::vector<int> lines;
        for (const QTextEdit::ExtraSelection& mark : box(name).extraSelections()) {
            lines.push_back(mark.cursor.blockNumber() + 1);
        }
        return lines;
    }
};

TEST_F(RunTests, OnePassingAndOneFailingCase)
{
    writeProgram("input a\r\nprint \"结果\"\r\nprint a * 2\r\n",
                 {{QStringLiteral("ok"), "3\n", "3\n结果\n6\n"}, {QStringLiteral("wrong"), "4\n", "4\n结果\n9\n"}});
    action("mnuRunTests").trigger();

    ASSERT_TRUE(results().isVisible());
    EXPECT_EQ(rows(), (std::vector<QStringList>{
                          {QStringLiteral("ok"), QStringLiteral("✔ 通过")},
                          {QStringLiteral("wrong"), QStringLiteral("✘ 未通过 输出第3行: 期望 «9» 实际 «8»")},
                      }));
    EXPECT_EQ(label("lblProgress"), QStringLiteral("共 2 个: 通过 1 个, 未通过 1 个"));
    // The failing case is the one shown.
    EXPECT_EQ(caseList().currentItem()->text(0), QStringLiteral("wrong"));
    // The answers are echoed as if typed, as in the console.
    EXPECT_EQ(box("txtExpected").toPlainText(), QStringLiteral("4\n结果\n9\n"));
    EXPECT_EQ(box("txtActual").toPlainText(), QStringLiteral("4\n结果\n8\n"));
    EXPECT_EQ(markedLines("txtExpected"), std::vector<int>{3});
    EXPECT_EQ(markedLines("txtActual"), std::vector<int>{3});
    EXPECT_EQ(label("lblDifference"), QStringLiteral("输出第 3 行不同（已标出）。"));

    caseList().setCurrentItem(caseList().topLevelItem(0));
    EXPECT_EQ(box("txtActual").toPlainText(), QStringLiteral("3\n结果\n6\n"));
    EXPECT_TRUE(markedLines("txtActual").empty());
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(action("mnuStart").isEnabled());
}

// What no eye sees is drawn, in the outputs and in the verdict, and all of
// it is in the program's zoomed monospaced font.
TEST_F(RunTests, TabsAndTrailingBlanksAreDrawnInTheZoomedCodeFont)
{
    writeProgram("print 1\r\n", {});
    struct Case {
        const char* name;
        QByteArray program;
        QByteArray expected;
        QString verdict;
        QString shownExpected;
        QString shownActual;
        QString note;
    };
    const Case cases[] = {
        {"trailing blanks", "print \"x  \"\r\nprint 2\r\n", "x\n2\n",
         QStringLiteral("✘ 未通过 输出第1行: 期望 «x» 实际 «x··»"), QStringLiteral("x\n2\n"), QStringLiteral("x··\n2\n"),
         QStringLiteral("输出第 1 行不同（已标出）。→ 是 TAB，· 是行尾的空格。")},
        {"a tab expected", "print \"a b\"\r\n", "a\tb\n", QStringLiteral("✘ 未通过 输出第1行: 期望 «a→b» 实际 «a b»"),
         QStringLiteral("a→b\n"), QStringLiteral("a b\n"), QStringLiteral("输出第 1 行不同（已标出）。→ 是 TAB，· 是行尾的空格。")},
        {"a missing line", "print 1\r\n", "1\n\n3 \n", QStringLiteral("✘ 未通过 输出第3行: 期望 «3·» 实际 （没有这一行）"),
         QStringLiteral("1\n\n3·\n"), QStringLiteral("1\n"), QStringLiteral("输出第 3 行不同（已标出）。→ 是 TAB，· 是行尾的空格。")},
        {"nothing to draw", "print \"a b\"\r\n", "a  b\n", QStringLiteral("✘ 未通过 输出第1行: 期望 «a  b» 实际 «a b»"),
         QStringLiteral("a  b\n"), QStringLiteral("a b\n"), QStringLiteral("输出第 1 行不同（已标出）。")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(path(QStringLiteral("double.tnk")), c.program);
        writeFile(path(QStringLiteral("double.tests/case.out")), c.expected);
        openCommandLine(path(QStringLiteral("double.tnk")));
        action("mnuRunTests").trigger();
        EXPECT_EQ(rows(), (std::vector<QStringList>{{QStringLiteral("case"), c.verdict}}));
        EXPECT_EQ(box("txtExpected").toPlainText(), c.shownExpected);
        EXPECT_EQ(box("txtActual").toPlainText(), c.shownActual);
        EXPECT_EQ(label("lblDifference"), c.note);
    }

    action("mnuViewZoomIn").trigger();
    const QFont code = editor().font();
    EXPECT_TRUE(code.fixedPitch());
    for (QWidget* shown : std::initializer_list<QWidget*>{&caseList(), &box("txtExpected"), &box("txtActual")}) {
        EXPECT_EQ(shown->font().families(), code.families()) << shown->objectName();
        EXPECT_EQ(shown->font().pointSize(), code.pointSize()) << shown->objectName();
    }
}

TEST_F(RunTests, ErrorsAndEndlessLoopsFailTheirCasesAsTheHeadlessRunnerSays)
{
    writeProgram("input a\r\nprint 6 / a\r\ndo while a = 2\r\nloop\r\n",
                 {{QStringLiteral("a-zero"), "0\n", "x\n"}, {QStringLiteral("b-endless"), "2\n", "3\n"}});
    action("mnuRunTests").trigger();
    EXPECT_EQ(rows(), (std::vector<QStringList>{
                          {QStringLiteral("a-zero"), QStringLiteral("✘ 未通过 错误 11: 除数为零(第2行)")},
                          {QStringLiteral("b-endless"),
                           QStringLiteral("✘ 未通过 运行了 10000000 条语句还没有结束，已停止（是不是死循环？）")},
                      }));
}

TEST_F(RunTests, StopEndsTheRunningCaseAndRunsNoMore)
{
    writeProgram("do while 1 = 1\r\nloop\r\n",
                 {{QStringLiteral("first"), QByteArray(), "\n"}, {QStringLiteral("second"), QByteArray(), "\n"}});
    bool sawProgress = false;
    QTimer stopper;
    QObject::connect(&stopper, &QTimer::timeout, window.get(), [&] {
        auto* dialog = window->findChild<QDialog*>(QStringLiteral("dlgTestResults"));
        if (!dialog || !dialog->isVisible()) return;
        sawProgress = label("lblProgress").startsWith(QStringLiteral("正在运行第 1 个测试用例（first），共 2 个"));
        dialog->findChild<QPushButton*>(QStringLiteral("cmdStop"))->click();
        stopper.stop();
    });
    stopper.start(0);  // fires where the run first processes events, as the case starts
    action("mnuRunTests").trigger();
    EXPECT_TRUE(sawProgress);
    EXPECT_EQ(rows(), (std::vector<QStringList>{{QStringLiteral("first"), QStringLiteral("✘ 未完成 运行被停止")}}));
    EXPECT_EQ(label("lblProgress"),
              QStringLiteral("共 1 个: 通过 0 个, 未通过 1 个（已停止，后面的用例没有运行）"));
}

TEST_F(RunTests, ClosingTheEditorStopsTheCasesAndThenCloses)
{
    writeProgram("do while 1 = 1\r\nloop\r\n",
                 {{QStringLiteral("first"), QByteArray(), "\n"}, {QStringLiteral("second"), QByteArray(), "\n"}});
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, window.get(), [&] {
        auto* dialog = window->findChild<QDialog*>(QStringLiteral("dlgTestResults"));
        if (!dialog || !dialog->isVisible()) return;
        window->close();
        closer.stop();
    });
    closer.start(0);
    action("mnuRunTests").trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(rows(), (std::vector<QStringList>{{QStringLiteral("first"), QStringLiteral("✘ 未完成 运行被停止")}}));
}

TEST_F(RunTests, TheLastRunBecomesACaseThatPasses)
{
    writeProgram("input a\r\nprint \"结果\"\r\nprint a * 2\r\n", {});
    dialogs.inputs = {QStringLiteral("5")};
    run();
    dialogs.inputs = {QStringLiteral("mine")};
    action("mnuRunCreateTestCase").trigger();
    EXPECT_EQ(readFile(path(QStringLiteral("double.tests/mine.in"))), QByteArray("5\n"));
    // Judge data: only what PRINT wrote, so the folder can go to an online judge as it is.
    EXPECT_EQ(readFile(path(QStringLiteral("double.tests/mine.ans"))), QByteArray("结果\n10\n"));
    EXPECT_TRUE(waitFor([&] { return window->statusBar()->currentMessage().startsWith(QStringLiteral("已创建测试用例 mine")); }))
        << window->statusBar()->currentMessage();

    // The same name again is refused; nothing is overwritten.
    dialogs.inputs = {QStringLiteral("mine")};
    action("mnuRunCreateTestCase").trigger();
    EXPECT_EQ(dialogs.shown.back().kind, QStringLiteral("warning"));
    EXPECT_EQ(dialogs.shown.back().text, QStringLiteral("已经有名为“mine”的测试用例。没有创建测试用例，请换一个名称。"));

    action("mnuRunTests").trigger();
    EXPECT_EQ(rows(), (std::vector<QStringList>{{QStringLiteral("mine"), QStringLiteral("✔ 通过")}}));
}

TEST_F(RunTests, ARunWithoutInputGivesACaseWithoutAnswers)
{
    writeProgram("print 7\r\n", {});
    run();
    dialogs.inputs = {QStringLiteral("seven")};
    action("mnuRunCreateTestCase").trigger();
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("double.tests/seven.in"))));
    EXPECT_EQ(readFile(path(QStringLiteral("double.tests/seven.ans"))), QByteArray("7\n"));
}

// Under the comparison: what kind of difference it is and which statement
// wrote the first wrong line, or why the loop never ends.
TEST_F(RunTests, AFailedCaseIsExplainedFromTheProgram)
{
    writeProgram("input a\r\ns = a + 1\r\nprint s\r\ndo while a > 0\r\nloop\r\n",
                 {{QStringLiteral("off"), "0\n", "0\n2\n"}, {QStringLiteral("stuck"), "5\n", "5\n6\n"}});
    action("mnuRunTests").trigger();
    ASSERT_EQ(rows().size(), 2u);
    auto* pause = results().findChild<QPushButton*>(QStringLiteral("cmdPauseHere"));
    caseList().setCurrentItem(caseList().topLevelItem(0));
    EXPECT_EQ(label("lblExplanation"),
              QStringLiteral("内容不同。第2行输出 «1» 由程序第3行的 print s 产生，当时 s = 1；s 最后一次在第2行被赋值。"));
    EXPECT_TRUE(pause->isEnabled());
    caseList().setCurrentItem(caseList().topLevelItem(1));
    EXPECT_TRUE(label("lblExplanation").startsWith(QStringLiteral("第4行开始的循环永远不会结束"))) << label("lblExplanation");
    EXPECT_FALSE(pause->isEnabled());
}

// 在这一刻暂停 replays the case and pauses just before the statement that
// wrote the first wrong line, with the console as it was then; inside a
// line (a one-line IF's PRINT) it looks back to that moment.
TEST_F(RunTests, PauseHereStopsBeforeTheStatementBehindTheFirstWrongLine)
{
    for (const QByteArray& printing : {QByteArray("    print s"), QByteArray("    if i > 0 then print s")}) {
        QDir(path(QStringLiteral("double.tests"))).removeRecursively();
        writeProgram("s = 0\r\nfor i = 1 to 3\r\n    s = s + i\r\n" + printing + "\r\nnext\r\n",
                     {{QStringLiteral("sums"), QByteArray(), "1\n3\n7\n"}});
        action("mnuRunTests").trigger();
        DebuggerScript script;
        QStringList seen;
        script.add([&](QDialog& debugger) {
            EXPECT_EQ(markedLine(debugger), 4);
            for (const QStringList& row : test::rows(variableList(debugger))) {
                seen << QString(row[0]).remove(QStringLiteral("● ")) + QLatin1Char('=') + row[1];
            }
            EXPECT_EQ(consoleText(), QStringLiteral("1\n3\n"));
            click(debugger, "cmdContinue");
        });
        results().findChild<QPushButton*>(QStringLiteral("cmdPauseHere"))->click();
        EXPECT_EQ(script.pausedLines().size(), 1u) << printing.constData();
        EXPECT_EQ(seen, (QStringList{QStringLiteral("s=6"), QStringLiteral("i=3")})) << printing.constData();
        EXPECT_EQ(consoleText(), QStringLiteral("1\n3\n6\n"));
    }
}

// A folder of console-output cases made before keeps its form.
TEST_F(RunTests, AFolderOfConsoleCasesGetsAnotherConsoleCase)
{
    writeProgram("input a\r\nprint a * 2\r\n", {{QStringLiteral("old"), "1\n", "1\n2\n"}});
    dialogs.inputs = {QStringLiteral("4")};
    run();
    dialogs.inputs = {QStringLiteral("new")};
    action("mnuRunCreateTestCase").trigger();
    EXPECT_EQ(readFile(path(QStringLiteral("double.tests/new.out"))), QByteArray("4\n8\n"));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("double.tests/new.ans"))));
    action("mnuRunTests").trigger();
    EXPECT_EQ(rows(), (std::vector<QStringList>{{QStringLiteral("new"), QStringLiteral("✔ 通过")},
                                                {QStringLiteral("old"), QStringLiteral("✔ 通过")}}));
}

// A folder holding a NAME.ans is judged as online judges judge: INPUT takes
// the next word of the input, questions and echoes are not compared, and the
// verdicts are theirs.
TEST_F(RunTests, JudgeDataIsJudgedAsAJudgeWould)
{
    writeFile(path(QStringLiteral("double.tnk")), "input \"a=\"; a\r\ninput b\r\nprint a + b\r\n");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("double.tests")));
    for (const auto& [name, bytes] : std::vector<std::pair<QString, QByteArray>>{
             {QStringLiteral("1.in"), "1 2\n"}, {QStringLiteral("1.ans"), "3\n"},
             {QStringLiteral("2.in"), "2\n2"}, {QStringLiteral("2.out"), "5\n"},
             {QStringLiteral("10.in"), "1"}, {QStringLiteral("10.ans"), "1\n"}}) {
        writeFile(path(QStringLiteral("double.tests/") + name), bytes);
    }
    openCommandLine(path(QStringLiteral("double.tnk")));
    action("mnuRunTests").trigger();
    EXPECT_EQ(rows(), (std::vector<QStringList>{
                          {QStringLiteral("1"), QStringLiteral("✔ 通过")},
                          {QStringLiteral("2"), QStringLiteral("✘ 答案错误 输出第1行: 期望 «5» 实际 «4»")},
                          {QStringLiteral("10"), QStringLiteral("✘ 运行错误 错误 62: 输入超出文件尾(第2行)")},
                      }));
    EXPECT_EQ(label("lblProgress"), QStringLiteral("共 3 个: 通过 1 个, 未通过 2 个"));
    caseList().setCurrentItem(caseList().topLevelItem(1));
    EXPECT_EQ(box("txtActual").toPlainText(), QStringLiteral("4\n"));  // no question, no echoed answers
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RunTests, WithoutAFileOrCasesItSaysWhereCasesBelong)
{
    setEditorText(QStringLiteral("print 1"));
    action("mnuRunTests").trigger();
    writeFile(path(QStringLiteral("lonely.tnk")), "print 1");
    openCommandLine(path(QStringLiteral("lonely.tnk")));
    action("mnuRunTests").trigger();
    ASSERT_EQ(dialogs.kinds(), (std::vector<QString>{QStringLiteral("warning"), QStringLiteral("warning")}));
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(QStringLiteral("程序还没有保存。"))) << dialogs.shown[0].text;
    EXPECT_TRUE(dialogs.shown[1].text.contains(QDir::toNativeSeparators(path(QStringLiteral("lonely.tests")))))
        << dialogs.shown[1].text;
    EXPECT_EQ(window->findChild<QDialog*>(QStringLiteral("dlgTestResults")), nullptr);
}

// A long output is shown as the lines around its first difference; the
// window says which lines those are and keeps nothing more.
TEST_F(RunTests, LongOutputsShowTheLinesAroundTheFirstDifference)
{
    QByteArray expected;
    for (int i = 1; i <= 1000; ++i) expected += QByteArray::number(i == 500 ? -1 : i) + '\n';
    writeProgram("for i = 1 to 1000\r\nprint i\r\nnext\r\n", {{QStringLiteral("long"), QByteArray(), expected}});
    action("mnuRunTests").trigger();

    EXPECT_EQ(rows(), (std::vector<QStringList>{
                          {QStringLiteral("long"), QStringLiteral("✘ 未通过 输出第500行: 期望 «-1» 实际 «500»")}}));
    const QStringList actual = box("txtActual").toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(actual.size(), 40);
    EXPECT_EQ(actual.front(), QStringLiteral("490"));
    EXPECT_EQ(actual.back(), QStringLiteral("529"));
    EXPECT_EQ(box("txtExpected").toPlainText().split(QLatin1Char('\n')).at(10), QStringLiteral("-1"));
    EXPECT_EQ(markedLines("txtExpected"), std::vector<int>{11});
    EXPECT_EQ(markedLines("txtActual"), std::vector<int>{11});
    EXPECT_EQ(label("lblDifference"), QStringLiteral("输出第 500 行不同（已标出）。输出很长，这里只显示第 490 到第 529 行。"));
}

TEST_F(RunTests, EndlessOutputKeepsOnlyTheShownStartOfEachCase)
{
    writeProgram("do while 1 = 1\r\nprint \"0123456789\"; \"0123456789\"\r\nloop\r\n",
                 {{QStringLiteral("a"), QByteArray(), "\n"}, {QStringLiteral("b"), QByteArray(), "\n"}});
    action("mnuRunTests").trigger();
    ASSERT_EQ(rows().size(), 2u);
    EXPECT_EQ(rows()[1][1], QStringLiteral("✘ 未通过 输出超过 1048576 个字符，已停止"));
    for (int i = 0; i < 2; ++i) {
        caseList().setCurrentItem(caseList().topLevelItem(i));
        const QStringList lines = box("txtActual").toPlainText().split(QLatin1Char('\n'));
        EXPECT_EQ(lines.size(), 40);
        EXPECT_EQ(lines.front(), QStringLiteral("01234567890123456789"));
        EXPECT_EQ(label("lblDifference"), QStringLiteral("输出很长，这里只显示第 1 到第 40 行。"));
    }
}

TEST_F(RunTests, ClosingTheResultsLetsGoOfThemAndANewRunShowsThemAgain)
{
    writeProgram("print 1\r\n", {{QStringLiteral("one"), QByteArray(), "2\n"}});
    action("mnuRunTests").trigger();
    ASSERT_EQ(rows().size(), 1u);
    ASSERT_EQ(box("txtActual").toPlainText(), QStringLiteral("1\n"));

    results().reject();
    EXPECT_FALSE(results().isVisible());
    EXPECT_TRUE(rows().empty());
    EXPECT_TRUE(box("txtExpected").toPlainText().isEmpty());
    EXPECT_TRUE(box("txtActual").toPlainText().isEmpty());
    EXPECT_TRUE(label("lblDifference").isEmpty());

    action("mnuRunTests").trigger();
    EXPECT_TRUE(results().isVisible());
    EXPECT_EQ(rows(), (std::vector<QStringList>{
                          {QStringLiteral("one"), QStringLiteral("✘ 未通过 输出第1行: 期望 «2» 实际 «1»")}}));
}

// A case file that is a FIFO or a link is never opened: the message names it
// and no case runs (a FIFO opened for reading would wait for ever).
TEST_F(RunTests, CaseFilesThatAreNoRegularFilesAreNamedAndNothingRuns)
{
    writeProgram("input a\r\nprint a\r\n", {{QStringLiteral("a"), QByteArray(), "1\n1\n"}});
    const QString answers = path(QStringLiteral("double.tests/a.in"));
    const QString outside = path(QStringLiteral("secret.txt"));
    writeFile(outside, "1\n");
    const std::vector<std::pair<const char*, std::function<void()>>> makers = {
        {"FIFO", [&] { ASSERT_EQ(::mkfifo(answers.toLocal8Bit().constData(), 0600), 0); }},
        {"link", [&] { std::filesystem::create_symlink(outside.toStdString(), answers.toStdString()); }},
    };
    for (const auto& [name, make] : makers) {
        SCOPED_TRACE(name);
        QFile::remove(answers);
        make();
        dialogs.shown.clear();
        action("mnuRunTests").trigger();
        ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("warning")});
        EXPECT_TRUE(dialogs.shown[0].text.startsWith(QStringLiteral("无法使用测试用例文件 %1：").arg(answers)))
            << dialogs.shown[0].text;
        EXPECT_TRUE(dialogs.shown[0].text.endsWith(QStringLiteral("没有运行任何用例。"))) << dialogs.shown[0].text;
        EXPECT_EQ(window->findChild<QDialog*>(QStringLiteral("dlgTestResults")), nullptr);
    }
}

}  // namespace
}  // namespace tarnik::test
