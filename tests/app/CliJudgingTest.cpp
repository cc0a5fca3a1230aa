// tarnik-cli test --oj as a child process: online-judge cases (NAME.in with
// NAME.out or NAME.ans, a zip of them, an FPS file), every verdict with its
// line, the natural case order, and the cases that cannot be used.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zip.h>

#include <string>
#include <utility>
#include <vector>

#include "support/CliRunner.h"
#include "support/TempFolder.h"

namespace tarnik::test {
namespace {

constexpr int kAllPassed = 0;
constexpr int kSomeFailed = 1;
constexpr int kUsage = 2;

using Files = std::vector<std::pair<std::string, std::string>>;

// A zip holding `files` (names may name folders inside it), made with the archive library.
void writeZip(const std::filesystem::path& path, const Files& files)
{
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr) << error;
    for (const auto& [name, bytes] : files) {
        zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        ASSERT_NE(source, nullptr);
        ASSERT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

CliResult judge(std::string_view program, const std::string& cases, std::vector<std::string> options = {"--oj"})
{
    TempFile file(program);
    options.insert(options.begin(), "test");
    options.push_back(file.path());
    options.push_back(cases);
    return runCli(options);
}

// a + b with the two numbers on one input line, as judges give them.
const Files kAdditionFiles{{"1.in", "1 2\n"}, {"1.out", "3\n"}};

TEST(CliJudgingTest, EveryVerdictWithItsLine)
{
    struct Case {
        const char* name;
        std::string program;
        std::string line;
    };
    const Case cases[] = {
        {"prompt and echo are not judged", "input \"a=\"; a\ninput \"b=\", b\nprint a + b\n", "1: 通过"},
        {"blanks at line ends and final empty lines", "input a\ninput b\nprint a + b; \"  \"\nprint \"\"\nprint \"\"\n",
         "1: 通过"},
        {"an empty line first is a format error", "input a\ninput b\nprint \"\"\nprint a + b\n",
         "1: 格式错误 第1行: 期望 «3» 实际 «» 多了一行。第1行的空行由程序第3行的 print \"\" 产生。"},
        {"a wrong answer", "input a\ninput b\nprint a - b\n", "1: 答案错误 第1行: 期望 «3» 实际 «-1» 内容不同。第1行输出 «-1» 由程序第3行的 print a - b 产生，"
         "当时 a = 1，b = 2；a 最后一次在第1行被赋值，b 最后一次在第2行被赋值。"},
        {"nothing printed", "input a\n", "1: 答案错误 第1行: 期望 «3» 实际 （没有这一行） 少了最后一行。"},
        {"the statement limit", "do while 1 = 1\nloop\n",
         "1: 超时（超过 10000000 条语句） 第1行开始的循环永远不会结束：每次回到这里，程序的状态都和上一次完全一样，"
         "程序只会一遍遍重复同样的步骤。"},
        {"endless output", "do while 1 = 1\n    print \"xxxxxxxxxx\"\nloop\n", "1: 输出超限"},
        {"a run-time error", "input a\ninput b\nprint a / 0\n", "1: 运行错误 错误 11: 除数为零(第3行)"},
        {"no word left for INPUT", "input a\ninput b\ninput c\nprint a\n",
         "1: 运行错误 错误 62: 输入超出文件尾(第3行)"},
        {"a translation error", "if 1 = 1 then\n    print 3\n", "1: 编译错误 错误 304: If没有End If(第2行)"},
    };
    TempFolder folder;
    for (const auto& [name, bytes] : kAdditionFiles) folder.write(name, bytes);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliResult result = judge(c.program, folder.path().string());
        const bool passed = c.line.ends_with("通过");
        EXPECT_EQ(result.exitStatus, passed ? kAllPassed : kSomeFailed) << result.err;
        EXPECT_EQ(result.out, c.line + "\n共 1 个: 通过 " + (passed ? "1 个, 未通过 0" : "0 个, 未通过 1") + " 个\n");
        EXPECT_EQ(result.err, "");
    }
}

// A wrong answer's line goes on with the kind of difference and the
// statement that wrote the first wrong judged line; questions are not output.
TEST(CliJudgingTest, AWrongAnswerIsExplained)
{
    struct Case {
        const char* name;
        std::string program;
        std::string input;
        std::string expected;
        std::string line;
    };
    const Case cases[] = {
        {"a number written otherwise",
         "input n\ns = 0\nfor i = 1 to n\n    s = s + i\nnext\nprint s / 2\n", "4", "5.0\n",
         "1: 答案错误 第1行: 期望 «5.0» 实际 «5» 数字写法不同：期望 5.0，实际 5。第1行输出 «5» 由程序第6行的 print s / 2 产生，"
         "当时 s = 10；s 最后一次在第4行被赋值（i = 4）。"},
        {"one number a line", "input a\ninput b\nprint a\nprint b\n", "1 2", "1 2\n",
         "1: 格式错误 第1行: 期望 «1 2» 实际 «1» 只差空格和换行的位置。第1行输出 «1» 由程序第3行的 print a 产生，"
         "当时 a = 1；a 最后一次在第1行被赋值。"},
        {"questions left out", "input \"a=\"; a\ninput \"b=\"; b\nprint \"积\"\nprint a * b\n", "1 2", "积\n3\n",
         "1: 答案错误 第2行: 期望 «3» 实际 «2» 内容不同。第2行输出 «2» 由程序第4行的 print a * b 产生，"
         "当时 a = 1，b = 2；a 最后一次在第1行被赋值，b 最后一次在第2行被赋值。"},
        {"a line too many at the start", "print \"结果\"\ninput a\nprint a\n", "7", "7\n",
         "1: 答案错误 第1行: 期望 «7» 实际 «结果» 多了一行。第1行输出 «结果» 由程序第1行的 print \"结果\" 产生。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        folder.write("1.in", c.input);
        folder.write("1.ans", c.expected);
        const CliResult result = judge(c.program, folder.path().string());
        EXPECT_EQ(result.exitStatus, kSomeFailed) << result.err;
        EXPECT_EQ(result.out, c.line + "\n共 1 个: 通过 0 个, 未通过 1 个\n");
    }
}

TEST(CliJudgingTest, TheStatementLimitIsMaxSteps)
{
    TempFolder folder;
    for (const auto& [name, bytes] : kAdditionFiles) folder.write(name, bytes);
    const CliResult result = judge("i = 0\ndo while i < 100\n    i = i + 1\nloop\nprint 3\n", folder.path().string(),
                                   {"--oj", "--max-steps", "50"});
    EXPECT_EQ(result.out, "1: 超时（超过 50 条语句） 程序执行了 50 条语句还没有结束，这时正在第2行开始的循环里。"
                          "i 在第2行依次是 0、1、2、…、16。\n共 1 个: 通过 0 个, 未通过 1 个\n");
}

// Cases in natural order; .out wins over .ans; a folder with a .ans is judged without --oj.
TEST(CliJudgingTest, CaseFilesPairedAndOrdered)
{
    TempFolder folder;
    folder.write("10.in", "10 20");
    folder.write("10.ans", "30\n");
    folder.write("2.in", "5\n5\n");
    folder.write("2.out", "10");
    folder.write("2.ans", "not used\n");
    folder.write("1.in", "1 2\n");
    folder.write("1.ans", "3\r\n");
    folder.write("only.in", "7 7\n");  // no expected output: no case
    std::filesystem::create_directory(folder.path() / "sub.out");
    const std::string expected = "1: 通过\n2: 通过\n10: 通过\n共 3 个: 通过 3 个, 未通过 0 个\n";
    const std::string program = "input a\ninput b\nprint a + b\n";
    for (const std::vector<std::string>& options : {std::vector<std::string>{"--oj"}, std::vector<std::string>{}}) {
        const CliResult result = judge(program, folder.path().string(), options);
        EXPECT_EQ(result.exitStatus, kAllPassed) << result.err;
        EXPECT_EQ(result.out, expected);
    }
}

TEST(CliJudgingTest, ZipOfCasesIgnoresFoldersInside)
{
    TempFolder folder;
    const std::filesystem::path zip = folder.path() / "a+b.zip";
    writeZip(zip, {{"2.in", "4 4"}, {"2.out", "8\n"}, {"1.in", "1 2"}, {"1.out", "3\n"},
                   {"extra/3.in", "1 1"}, {"extra/3.out", "5\n"}, {"config.yaml", "time: 1s\n"}});
    const CliResult result = judge("input a\ninput b\nprint a + b\n", zip.string(), {});
    EXPECT_EQ(result.exitStatus, kAllPassed) << result.err;
    EXPECT_EQ(result.out, "1: 通过\n2: 通过\n共 2 个: 通过 2 个, 未通过 0 个\n");
}

constexpr std::string_view kFps =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<fps version=\"1.2\">\n"
    "<item><title><![CDATA[A+B]]></title>\n"
    "<sample_input><![CDATA[1 2]]></sample_input><sample_output><![CDATA[3\n]]></sample_output>\n"
    "<test_input><![CDATA[10\n20]]></test_input><test_output><![CDATA[30]]></test_output>\n"
    "<test_input>2 2</test_input><test_output>5</test_output>\n"
    "</item>\n"
    "<item><title>差 &amp; 积</title>\n"
    "<test_input>5 3</test_input><test_output>2&#10;15</test_output>\n"
    "<test_output>&lt;none&gt;</test_output>\n"
    "</item>\n"
    "</fps>\n";

TEST(CliJudgingTest, FpsFileItemsWithCdataAndEntities)
{
    TempFolder folder;
    const std::string fps = folder.write("set.xml", kFps).string();
    const CliResult first = judge("input a\ninput b\nprint a + b\n", fps, {});
    EXPECT_EQ(first.exitStatus, kSomeFailed) << first.err;
    EXPECT_EQ(first.out,
              "样例1: 通过\n1: 通过\n2: 答案错误 第1行: 期望 «5» 实际 «4» 内容不同。第1行输出 «4» 由程序第3行的 "
              "print a + b 产生，当时 a = 2，b = 2；a 最后一次在第1行被赋值，b 最后一次在第2行被赋值。\n"
              "共 3 个: 通过 2 个, 未通过 1 个\n");

    const CliResult second = judge("input a\ninput b\nprint a - b\nprint a * b\n", fps, {"--item", "2"});
    EXPECT_EQ(second.out,
              "1: 通过\n2: 运行错误 错误 62: 输入超出文件尾(第1行)\n共 2 个: 通过 1 个, 未通过 1 个\n");
}

TEST(CliJudgingTest, UnusableCasesAreUsageErrors)
{
    TempFolder folder;
    const std::string empty = (folder.path() / "empty").string();
    std::filesystem::create_directory(empty);
    std::filesystem::create_directory(folder.path() / "only-in");
    folder.write("only-in/1.in", "1 2\n");
    const std::string damaged = folder.write("damaged.zip", "PK\x03\x04 this is not really a zip").string();
    const std::string badXml = folder.write("bad.xml", "<fps><item><title>x</title></fps>").string();
    const std::string fps = folder.write("set.xml", kFps).string();
    // Case files are read only when they are regular files: a link may lead
    // out of the folder, a FIFO would never end.
    for (const char* sub : {"linked", "fifo"}) {
        std::filesystem::create_directory(folder.path() / sub);
        folder.write(std::string(sub) + "/1.out", "3\n");
    }
    std::filesystem::create_symlink(fps, folder.path() / "linked" / "1.in");
    ASSERT_EQ(::mkfifo((folder.path() / "fifo" / "1.in").c_str(), 0600), 0);
    struct Case {
        std::string cases;
        std::vector<std::string> options;
        std::string message;  // a part of the message
    };
    const Case cases[] = {
        {(folder.path() / "missing").string(), {"--oj"}, "missing"},
        {empty, {"--oj"}, "没有测试用例"},
        {(folder.path() / "only-in").string(), {"--oj"}, "没有测试用例"},
        {damaged, {}, "damaged.zip"},
        {badXml, {}, "不是正确的 XML"},
        {fps, {"--item", "3"}, "没有第 3 个题目"},
        {fps, {"--item", "0"}, "--item"},
        {(folder.path() / "linked").string(), {"--oj"}, "1.in：这是一个链接"},
        {(folder.path() / "fifo").string(), {"--oj"}, "1.in：它不是普通文件"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cases);
        const CliResult result = judge("print 1\n", c.cases, c.options);
        EXPECT_EQ(result.exitStatus, kUsage);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
}

}  // namespace
}  // namespace tarnik::test
