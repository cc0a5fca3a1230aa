// 批量评测: a class with every verdict judged in the window opened from the
// 运行 menu; the table's codes, marks and tooltips, the summaries, the CSV
// export byte for byte what tarnik-cli grade writes, 停止, the folders
// remembered, and bad input refused with a message and nothing judged.
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>

#include <filesystem>
#include <map>
#include <set>

#include "services/GradeReport.h"
#include "support/CliRunner.h"
#include "support/IdeFixture.h"
#include "ui/run/GradingWindow.h"
#include "ui/storage/TarnikSettings.h"

namespace tarnik::test {
namespace {

// a+b with two cases; one student for each verdict, a copy written
// differently, a folder without a program and names a CSV must quote.
const std::map<QString, QByteArray> kClass = {
    {QStringLiteral("ac.bas"), "input a\ninput b\nprint a + b\n"},
    {QStringLiteral("copy.bas"), "' 加法\nINPUT a\n\n   input b\nPRINT a+b\n"},
    {QStringLiteral("wa.bas"), "input a\ninput b\nprint a - b\n"},
    {QStringLiteral("pe.bas"), "input a\ninput b\nprint \"\"\nprint a + b\n"},
    {QStringLiteral("tle.bas"), "do while 1 = 1\nloop\n"},
    {QStringLiteral("ole.bas"), "do while 1 = 1\n    print \"xxxxxxxxxx\"\nloop\n"},
    {QStringLiteral("re.bas"), "input a\ninput b\nprint a / 0\n"},
    {QStringLiteral("ce.bas"), "if 1 = 1 then\n"},
    {QStringLiteral("王,\"五\".bas"), "input a\ninput b\nprint b + a\n"},
    {QStringLiteral("无程序/notes.txt"), "hi\n"},
};

// The first case's cell, by student.
const std::map<QString, QString> kFirstCells = {
    {QStringLiteral("ac"), QStringLiteral("✔ AC 通过")},       {QStringLiteral("copy"), QStringLiteral("✔ AC 通过")},
    {QStringLiteral("wa"), QStringLiteral("✘ WA 答案错误")},   {QStringLiteral("pe"), QStringLiteral("≈ PE 格式错误")},
    {QStringLiteral("tle"), QStringLiteral("∞ TLE 超时")},     {QStringLiteral("ole"), QStringLiteral("⇶ OLE 输出超限")},
    {QStringLiteral("re"), QStringLiteral("⚠ RE 运行错误")},   {QStringLiteral("ce"), QStringLiteral("⊘ CE 编译错误")},
    {QStringLiteral("王,\"五\""), QStringLiteral("✔ AC 通过")}, {QStringLiteral("无程序"), QStringLiteral("找不到程序")},
};

class GradingWindowTest : public IdeFixture {
protected:
    void SetUp() override
    {
        IdeFixture::SetUp();
        for (const auto& [name, text] : kClass) {
            QDir(dir.path()).mkpath(QFileInfo(path(QStringLiteral("class/") + name)).path());
            writeFile(path(QStringLiteral("class/") + name), text);
        }
        QDir(dir.path()).mkpath(QStringLiteral("a+b"));
        writeFile(path(QStringLiteral("a+b/1.in")), "1 2\n");
        writeFile(path(QStringLiteral("a+b/1.out")), "3\n");
        writeFile(path(QStringLiteral("a+b/2.in")), "2\n2");
        writeFile(path(QStringLiteral("a+b/2.ans")), "4\n");
        QDir(dir.path()).mkpath(QStringLiteral("reports"));
    }

    // The window as the 运行 menu opens it.
    GradingWindow& grading()
    {
        action("mnuRunGrade").trigger();
        auto* found = window->findChild<GradingWindow*>();
        EXPECT_NE(found, nullptr);
        return *found;
    }

    template <class T>
    static T& part(GradingWindow& grading, const char* name)
    {
        auto* found = grading.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }

    // Fills the fields, presses 开始评测 and, unless stopped, waits for the end.
    void start(GradingWindow& grading, const QString& classFolder, const QString& cases)
    {
        part<QLineEdit>(grading, "classFolder").setText(classFolder);
        part<QLineEdit>(grading, "cases").setText(cases);
        part<QPushButton>(grading, "start").click();
    }

    static bool judgeToTheEnd(GradingWindow& grading)
    {
        return waitFor([&] { return !grading.isGrading(); });
    }

    [[nodiscard]] std::set<QString> classFiles() const
    {
        std::set<QString> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path().toStdU16String())) {
            files.insert(QString::fromStdU16String(entry.path().u16string()));
        }
        return files;
    }
};

TEST_F(GradingWindowTest, JudgesEveryVerdictAndExportsWhatTheCommandLineWrites)
{
    GradingWindow& window = grading();
    const auto before = classFiles();
    start(window, path(QStringLiteral("class")), path(QStringLiteral("a+b")));
    ASSERT_TRUE(judgeToTheEnd(window));

    const QTableWidget& table = part<QTableWidget>(window, "results");
    ASSERT_EQ(table.rowCount(), static_cast<int>(kFirstCells.size()));
    EXPECT_EQ(table.horizontalHeaderItem(1)->text(), QStringLiteral("用例 1"));
    std::set<QRgb> colours;
    for (int row = 0; row < table.rowCount(); ++row) {
        const QString student = table.verticalHeaderItem(row)->text();
        const int column = student == QStringLiteral("无程序") ? 0 : 1;
        ASSERT_TRUE(kFirstCells.contains(student)) << student;
        EXPECT_EQ(table.item(row, column)->text(), kFirstCells.at(student)) << student;
        if (column == 1) colours.insert(table.item(row, column)->background().color().rgb());
        if (student == QStringLiteral("wa")) {
            EXPECT_EQ(table.item(row, 0)->text(), QStringLiteral("0"));
            EXPECT_EQ(table.item(row, 1)->toolTip(), QStringLiteral("1: 答案错误 第1行: 期望 «3» 实际 «-1»"));
            EXPECT_EQ(table.item(row, 2)->text(), QStringLiteral("✘ WA 答案错误"));
        }
    }
    EXPECT_EQ(colours.size(), 7U);  // one colour per verdict

    const QString summary = part<QPlainTextEdit>(window, "summary").toPlainText();
    for (const QString& line : {QStringLiteral("用例 1：通过 3 人（共 10 人）"), QStringLiteral("相同的程序：ac、copy"),
                                QStringLiteral("错误 11：除数为零 2 次（re）")}) {
        EXPECT_TRUE(summary.contains(line)) << summary << line;
    }
    EXPECT_EQ(part<QProgressBar>(window, "progress").value(), 10);

    const QString csv = path(QStringLiteral("reports/结果.csv"));
    dialogs.saveNames.push_back(csv);
    part<QPushButton>(window, "exportCsv").click();
    const CliResult cli = runCli({"grade", "--csv", path(QStringLiteral("reports/cli.csv")).toStdString(), "--html",
                                  path(QStringLiteral("reports/cli.html")).toStdString(),
                                  path(QStringLiteral("class")).toStdString(), path(QStringLiteral("a+b")).toStdString()});
    ASSERT_EQ(cli.exitStatus, 0) << cli.err;
    EXPECT_EQ(readFile(csv), readFile(path(QStringLiteral("reports/cli.csv"))));

    const QString html = path(QStringLiteral("reports/结果.html"));
    dialogs.saveNames.push_back(html);
    part<QPushButton>(window, "exportHtml").click();
    EXPECT_TRUE(QString::fromUtf8(readFile(html)).contains(QStringLiteral(">TLE 超时</td>")));
    EXPECT_EQ(readFile(html), readFile(path(QStringLiteral("reports/cli.html"))));

    auto after = classFiles();
    for (const char* report : {"reports/结果.csv", "reports/结果.html", "reports/cli.csv", "reports/cli.html"}) {
        after.erase(path(QString::fromUtf8(report)));
    }
    EXPECT_EQ(after, before);
}

TEST_F(GradingWindowTest, DoubleClickOpensTheProgramWithTheCaseAsAnswers)
{
    GradingWindow& window = grading();
    start(window, path(QStringLiteral("class")), path(QStringLiteral("a+b")));
    ASSERT_TRUE(judgeToTheEnd(window));
    QTableWidget& table = part<QTableWidget>(window, "results");
    int copyRow = -1;
    for (int row = 0; row < table.rowCount(); ++row) {
        if (table.verticalHeaderItem(row)->text() == QStringLiteral("copy")) copyRow = row;
    }
    ASSERT_GE(copyRow, 0);
    emit table.cellDoubleClicked(copyRow, 2);
    EXPECT_EQ(editorText(), QStringLiteral("' 加法\r\nINPUT a\r\n\r\n   input b\r\nPRINT a+b\r\n"));
    auto* answers = window.parentWidget()->findChild<QPlainTextEdit*>(QStringLiteral("txtInputData"));
    ASSERT_NE(answers, nullptr);
    EXPECT_EQ(answers->toPlainText(), QStringLiteral("2\n2"));  // the case's words, one a line
    EXPECT_TRUE(answers->isVisibleTo(window.parentWidget()));
    run();  // the answers take the place of the input boxes
    EXPECT_TRUE(waitFor([&] { return consoleText().contains(QStringLiteral("4")); })) << consoleText();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(readFile(path(QStringLiteral("class/copy.bas"))), kClass.at(QStringLiteral("copy.bas")));
}

// The cell's case is judged again beside the program, as 运行测试 shows a case.
TEST_F(GradingWindowTest, DoubleClickShowsTheCaseComparison)
{
    GradingWindow& window = grading();
    start(window, path(QStringLiteral("class")), path(QStringLiteral("a+b")));
    ASSERT_TRUE(judgeToTheEnd(window));
    QTableWidget& table = part<QTableWidget>(window, "results");
    const std::map<QString, QString> rows = {
        {QStringLiteral("wa"), QStringLiteral("✘ 答案错误 输出第1行: 期望 «3» 实际 «-1»")},
        {QStringLiteral("pe"), QStringLiteral("✘ 格式错误 输出第1行: 期望 «3» 实际 «»")},
        {QStringLiteral("re"), QStringLiteral("✘ 运行错误 错误 11: 除数为零(第3行)")},
    };
    bool shownBefore = false;
    for (int row = 0; row < table.rowCount(); ++row) {
        const auto expected = rows.find(table.verticalHeaderItem(row)->text());
        if (expected == rows.end()) continue;
        // The student's program opened before is not saved.
        if (shownBefore) dialogs.answers.push_back(Answer::No);
        shownBefore = true;
        emit table.cellDoubleClicked(row, 1);
        auto* results = window.parentWidget()->findChild<QDialog*>(QStringLiteral("dlgTestResults"));
        ASSERT_NE(results, nullptr);
        auto* cases = results->findChild<QTreeWidget*>(QStringLiteral("lvCases"));
        ASSERT_EQ(cases->topLevelItemCount(), 1);
        EXPECT_EQ(cases->topLevelItem(0)->text(0), QStringLiteral("1"));
        EXPECT_EQ(cases->topLevelItem(0)->text(1), expected->second);
        EXPECT_EQ(results->findChild<QPlainTextEdit*>(QStringLiteral("txtExpected"))->toPlainText(),
                  QStringLiteral("3\n"));
    }
}

TEST_F(GradingWindowTest, ReportIsNotWrittenAmongTheStudentsFiles)
{
    GradingWindow& window = grading();
    start(window, path(QStringLiteral("class")), path(QStringLiteral("a+b")));
    ASSERT_TRUE(judgeToTheEnd(window));
    const QString inside = path(QStringLiteral("class/结果.csv"));
    dialogs.saveNames.push_back(inside);
    part<QPushButton>(window, "exportCsv").click();
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown.back().kind, QStringLiteral("warning"));
    EXPECT_TRUE(dialogs.shown.back().text.contains(QStringLiteral("没有写出")));
    EXPECT_FALSE(QFileInfo::exists(inside));
}

TEST_F(GradingWindowTest, StopEndsTheJudgingAfterTheStudentBeingJudged)
{
    QDir(dir.path()).mkpath(QStringLiteral("slow"));
    for (int i = 1; i <= 20; ++i) {
        writeFile(path(QStringLiteral("slow/s%1.bas").arg(i)), "do while 1 = 1\nloop\n");
    }
    GradingWindow& window = grading();
    bool finished = false;
    QObject::connect(&window, &GradingWindow::gradingFinished, [&] { finished = true; });
    start(window, path(QStringLiteral("slow")), path(QStringLiteral("a+b")));
    ASSERT_TRUE(window.isGrading());
    part<QPushButton>(window, "stop").click();
    ASSERT_TRUE(waitFor([&] { return finished; }));
    const auto judged = window.grade().students.size();
    EXPECT_LT(judged, 20U);
    EXPECT_EQ(part<QTableWidget>(window, "results").rowCount(), static_cast<int>(judged));
    EXPECT_TRUE(part<QLabel>(window, "status").text().startsWith(QStringLiteral("已停止")));
    EXPECT_TRUE(part<QPushButton>(window, "start").isEnabled());
    EXPECT_EQ(gradeCsv(window.grade()).find("s20"), std::string::npos);
}

TEST_F(GradingWindowTest, RemembersTheClassAndTheCases)
{
    start(grading(), path(QStringLiteral("class")), path(QStringLiteral("a+b")));
    ASSERT_TRUE(judgeToTheEnd(grading()));
    GradingWindow again(dialogs);
    EXPECT_EQ(part<QLineEdit>(again, "classFolder").text(), path(QStringLiteral("class")));
    EXPECT_EQ(part<QLineEdit>(again, "cases").text(), path(QStringLiteral("a+b")));
}

TEST_F(GradingWindowTest, BadInputIsRefusedWithAMessage)
{
    QDir(dir.path()).mkpath(QStringLiteral("no answers"));
    writeFile(path(QStringLiteral("no answers/1.in")), "1 2\n");
    const struct {
        QString classFolder;
        QString cases;
        QString said;
    } inputs[] = {
        {QString(), path(QStringLiteral("a+b")), QStringLiteral("请先选择班级文件夹和测试用例")},
        {path(QStringLiteral("missing")), path(QStringLiteral("a+b")), QStringLiteral("missing")},
        {path(QStringLiteral("class")), path(QStringLiteral("no answers")), QStringLiteral("no answers")},
        {path(QStringLiteral("class")), path(QStringLiteral("nothing.zip")), QStringLiteral("nothing.zip")},
    };
    GradingWindow& window = grading();
    for (const auto& input : inputs) {
        dialogs.shown.clear();
        start(window, input.classFolder, input.cases);
        EXPECT_FALSE(window.isGrading());
        ASSERT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("warning")}) << input.said;
        EXPECT_TRUE(dialogs.shown.front().text.contains(input.said)) << dialogs.shown.front().text;
        EXPECT_TRUE(dialogs.shown.front().text.endsWith(QStringLiteral("评测没有开始。"))) << dialogs.shown.front().text;
        EXPECT_EQ(part<QTableWidget>(window, "results").rowCount(), 0);
    }
    EXPECT_FALSE(tarnikSettings().contains(QStringLiteral("Grading/classFolder")));
}

}  // namespace
}  // namespace tarnik::test
