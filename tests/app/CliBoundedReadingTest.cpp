// tarnik-cli reads only what it can finish reading: a device, a FIFO or a
// folder named as the program is refused before a byte is read, an answer
// line past the cap ends the run, and case files are read only if they are
// regular files and only as far as judging needs. A reading that never ended
// would hang the test until CTest's timeout.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "support/CliRunner.h"
#include "support/TempFolder.h"

namespace tarnik::test {
namespace {

constexpr int kPassed = 0;
constexpr int kFailed = 1;
constexpr int kRefused = 2;
constexpr std::size_t kAnswerLineBytes = 1 << 20;

std::string fifoIn(const TempFolder& folder, const std::string& name)
{
    const std::string path = (folder.path() / name).string();
    EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
    return path;
}

TEST(CliBoundedReading, DevicesFifosAndFoldersAreNoPrograms)
{
    TempFolder folder;
    const std::string fifo = fifoIn(folder, "program.bas");
    TempFolder cases;
    cases.write("a.out", "1\n");
    struct Program {
        std::string path;
        const char* reason;
    };
    const Program programs[] = {
        {"/dev/zero", "它不是普通文件（而是设备或管道），读取它可能永远不会结束"},
        {fifo, "它不是普通文件（而是设备或管道），读取它可能永远不会结束"},
        {folder.path().string(), "这是一个文件夹，不是文件"},
    };
    const std::vector<std::string> commands[] = {{"run"}, {"check"}, {"format"}, {"table"}, {"lint"}, {"test"}};
    for (const Program& program : programs) {
        for (std::vector<std::string> arguments : commands) {
            SCOPED_TRACE(arguments.front() + " " + program.path);
            const std::string command = arguments.front();
            arguments.push_back(program.path);
            if (command == "test") arguments.push_back(cases.path().string());
            const CliResult result = runCli(arguments);
            EXPECT_EQ(result.exitStatus, kRefused);
            EXPECT_EQ(result.out, "");
            EXPECT_EQ(result.err, "tarnik-cli " + command + "：无法读取 " + program.path + "：" + program.reason + "\n");
        }
    }
}

TEST(CliBoundedReading, AnAnswerLinePastTheCapEndsTheRunUnread)
{
    const std::string tooLong = "tarnik-cli run：第2行的 INPUT 从标准输入读到的一行超过 1048576 字节（1 MB），"
                                "这不是一个回答，没有读完它。运行已停止。";
    // Blanks around a number are allowed, so a line at the cap is an answer.
    const std::string atCap = std::string(kAnswerLineBytes - 1, ' ') + "5";
    struct Case {
        const char* name;
        std::string input;
        int exitStatus;
        std::string out;
    };
    const Case cases[] = {
        {"at the cap, LF", atCap + "\n", kPassed, "开始\n" + atCap + "\n5\n"},
        {"at the cap, CR LF", atCap + "\r\n", kPassed, "开始\n" + atCap + "\n5\n"},
        {"at the cap, no line end", atCap, kPassed, "开始\n" + atCap + "\n5\n"},
        {"one past the cap", " " + atCap + "\n", kRefused, "开始\n"},
        {"one past the cap with CR LF", " " + atCap + "\r\n", kRefused, "开始\n"},
        {"2 MiB", std::string(2 * kAnswerLineBytes, '7') + "\n8\n", kRefused, "开始\n"},
        {"2 MiB without a line end", std::string(2 * kAnswerLineBytes, '7'), kRefused, "开始\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile program("print \"开始\"\ninput a\nprint a\n");
        const CliResult result = runCli({"run", program.path()}, c.input);
        EXPECT_EQ(result.exitStatus, c.exitStatus);
        EXPECT_TRUE(result.out == c.out) << result.out.size() << " bytes of output";
        if (c.exitStatus == kRefused) {
            EXPECT_EQ(result.lastErrorLine(), tooLong);
            // The question is closed before the message.
            EXPECT_EQ(result.err, "输入整数[a]：\n" + tooLong + "\n");
        }
    }
}

TEST(CliBoundedReading, CaseFilesThatAreNoRegularFilesAreNamedAndNoCaseRuns)
{
    TempFolder outside;
    const std::filesystem::path secret = outside.write("secret.txt", "root:x:0:0\n");
    struct Case {
        const char* name;
        const char* file;
        std::function<void(const std::filesystem::path&)> make;
        const char* reason;
    };
    const Case cases[] = {
        {"answers that are a folder", "a.in", [](const auto& p) { std::filesystem::create_directory(p); },
         "这是一个文件夹，不是文件"},
        {"answers that are a FIFO", "a.in", [](const auto& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
         "它不是普通文件（而是设备或管道），读取它可能永远不会结束"},
        {"answers linked to a file outside", "a.in", [&](const auto& p) { std::filesystem::create_symlink(secret, p); },
         "这是一个链接，这里只读取普通文件，不跟随链接"},
        {"expected output linked to a file outside", "b.out",
         [&](const auto& p) { std::filesystem::create_symlink(secret, p); },
         "这是一个链接，这里只读取普通文件，不跟随链接"},
        {"expected output linked to a device", "b.out",
         [](const auto& p) { std::filesystem::create_symlink("/dev/zero", p); },
         "这是一个链接，这里只读取普通文件，不跟随链接"},
    };
    TempFile program("input a\nprint a\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        folder.write("a.out", "1\n1\n");
        c.make(folder.path() / c.file);
        const CliResult result = runCli({"test", program.path(), folder.path().string()}, "1\n");
        EXPECT_EQ(result.exitStatus, kRefused);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "tarnik-cli test：无法使用测试用例文件 " + (folder.path() / c.file).string() + "：" +
                                  c.reason + "。没有运行任何用例。\n");
    }
}

TEST(CliBoundedReading, AnswersPastTheirLimitStopTheCasesAtThatCase)
{
    TempFolder folder;
    folder.write("a.in", "1\n");
    folder.write("a.out", "1\n1\n");
    folder.write("b.in", std::string(4 << 20, '1') + "\n");
    folder.write("b.out", "1\n");
    TempFile program("input a\nprint a\n");
    const CliResult result = runCli({"test", program.path(), folder.path().string()});
    EXPECT_EQ(result.exitStatus, kRefused);
    EXPECT_EQ(result.out, "a: 通过\n");
    EXPECT_EQ(result.err, "tarnik-cli test：无法使用测试用例文件 " + (folder.path() / "b.in").string() +
                              "：文件超过 4 MB，不像是 INPUT 的答案（每行一个）。这个用例和后面的用例没有运行。\n");
}

// A 5 MB expected output is judged as the whole file would be, while only
// its start is read: the memory stays far below what the file would take
// as text (reading a 50 MB file whole took 1.6 GB). The ceiling leaves room for
// the shadow memory of the AddressSanitizer build (about 67 MB there).
TEST(CliBoundedReading, AHugeExpectedOutputIsJudgedFromItsStart)
{
    constexpr long kMemoryCeilingKilobytes = 96 * 1024;
    std::string huge = "2\nline\nline\n";
    while (huge.size() < 5'000'000) huge += "line\n";
    TempFolder folder;
    folder.write("a.in", "2\n");
    folder.write("a.out", huge);
    folder.write("b.in", "300000\n");
    folder.write("b.out", huge);
    folder.write("c.in", "2\n");
    folder.write("c.out", "2\nline\nline\n");
    TempFile program("input n\ndo while i < n\nprint \"line\"\ni = i + 1\nloop\n");
    const CliResult result = runCli({"test", program.path(), folder.path().string()});
    EXPECT_EQ(result.exitStatus, kFailed) << result.err;
    EXPECT_EQ(result.out,
              "a: 未通过 第4行: 期望 «line» 实际 «» 少了最后至少 174771 行。\n"
              "b: 未通过 输出超过 1048576 个字符，已停止\n"
              "c: 通过\n"
              "共 3 个: 通过 1 个, 未通过 2 个\n");
    EXPECT_GT(result.peakResidentKilobytes, 0);
    EXPECT_LT(result.peakResidentKilobytes, kMemoryCeilingKilobytes);
}

}  // namespace
}  // namespace tarnik::test
