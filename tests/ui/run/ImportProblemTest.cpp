// 文件 → 导入题目: a problem of an FPS file chosen from its list becomes the
// program's judge data, which 运行测试 then judges; cases already there are
// replaced only when the user says so, and a bad file changes nothing.
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>

#include "support/IdeFixture.h"

namespace tarnik::test {
namespace {

constexpr char kFps[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<fps version=\"1.2\">\n"
    "<item><title>A+B</title>\n"
    "<sample_input><![CDATA[1 2]]></sample_input><sample_output><![CDATA[3\n]]></sample_output>\n"
    "<test_input>10\n20</test_input><test_output>30</test_output>\n"
    "</item>\n"
    "<item><title>差 &amp; 积</title>\n"
    "<test_input>5 3</test_input><test_output>2&#10;15</test_output>\n"
    "</item>\n"
    "</fps>\n";

class ImportProblem : public IdeFixture {
protected:
    void SetUp() override
    {
        IdeFixture::SetUp();
        writeFile(path(QStringLiteral("sum.tnk")), "input \"a=\"; a\r\ninput b\r\nprint a + b\r\n");
        writeFile(path(QStringLiteral("set.xml")), kFps);
        openCommandLine(path(QStringLiteral("sum.tnk")));
    }
    void importItem(qsizetype item)
    {
        dialogs.openNames.push_back(path(QStringLiteral("set.xml")));
        dialogs.itemChoices.push_back(item);
        action("mnuFileImportProblem").trigger();
    }
    QStringList caseFiles() { return QDir(path(QStringLiteral("sum.tests"))).entryList(QDir::Files, QDir::Name); }
};

TEST_F(ImportProblem, TheChosenProblemBecomesJudgeDataThatRunTestsJudges)
{
    importItem(0);
    ASSERT_EQ(dialogs.kinds(), (std::vector<QString>{QStringLiteral("open"), QStringLiteral("list")}));
    EXPECT_EQ(dialogs.shown[1].items,
              (QStringList{QStringLiteral("1. A+B（2 个用例）"), QStringLiteral("2. 差 & 积（1 个用例）")}));
    EXPECT_EQ(caseFiles(), (QStringList{QStringLiteral("1.ans"), QStringLiteral("1.in"), QStringLiteral("样例1.ans"),
                                        QStringLiteral("样例1.in")}));
    EXPECT_EQ(readFile(path(QStringLiteral("sum.tests/1.in"))), QByteArray("10\n20"));
    EXPECT_EQ(readFile(path(QStringLiteral("sum.tests/样例1.ans"))), QByteArray("3\n"));
    EXPECT_TRUE(window->statusBar()->currentMessage().startsWith(QStringLiteral("已导入题目“A+B”：2 个测试用例")))
        << window->statusBar()->currentMessage();

    action("mnuRunTests").trigger();
    auto* results = window->findChild<QDialog*>(QStringLiteral("dlgTestResults"));
    ASSERT_NE(results, nullptr);
    EXPECT_EQ(results->findChild<QLabel*>(QStringLiteral("lblProgress"))->text(),
              QStringLiteral("共 2 个: 通过 2 个, 未通过 0 个"));
}

TEST_F(ImportProblem, CasesAlreadyThereAreReplacedOnlyWhenTheUserSaysSo)
{
    QDir(dir.path()).mkdir(QStringLiteral("sum.tests"));
    writeFile(path(QStringLiteral("sum.tests/mine.out")), "3\n");
    writeFile(path(QStringLiteral("sum.tests/notes.txt")), "keep\n");

    dialogs.choices.push_back(1);  // 取消
    importItem(1);
    EXPECT_EQ(dialogs.shown.back().kind, QStringLiteral("choice"));
    EXPECT_EQ(caseFiles(), (QStringList{QStringLiteral("mine.out"), QStringLiteral("notes.txt")}));

    dialogs.choices.push_back(0);  // 替换
    importItem(1);
    EXPECT_EQ(caseFiles(), (QStringList{QStringLiteral("1.ans"), QStringLiteral("1.in"), QStringLiteral("notes.txt")}));
    EXPECT_EQ(readFile(path(QStringLiteral("sum.tests/1.ans"))), QByteArray("2\n15"));
}

TEST_F(ImportProblem, ABadFileIsRefusedWithAMessageAndNothingWritten)
{
    const struct {
        const char* bytes;
        const char* said;
    } cases[] = {
        {"<fps><item><title>x</title></fps>", "不是正确的 XML"},
        {"<fps></fps>", "中没有题目"},
        {"<fps><item><title>空</title></item></fps>", "没有样例，也没有测试数据"},
    };
    for (const auto& bad : cases) {
        writeFile(path(QStringLiteral("set.xml")), bad.bytes);
        dialogs.shown.clear();
        importItem(0);
        ASSERT_FALSE(dialogs.shown.empty());
        EXPECT_EQ(dialogs.shown.back().kind, QStringLiteral("warning"));
        EXPECT_TRUE(dialogs.shown.back().text.contains(QString::fromUtf8(bad.said))) << dialogs.shown.back().text;
        EXPECT_TRUE(dialogs.shown.back().text.endsWith(QStringLiteral("没有导入任何用例。")));
        dialogs.itemChoices.clear();
    }
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("sum.tests"))));
}

}  // namespace
}  // namespace tarnik::test
