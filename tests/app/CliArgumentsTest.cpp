// tarnik-cli's command lines: "--" ends the options, so a file named with a
// leading "-" can be run; an option takes its value as the next word or after
// "="; every usage message names the word at fault, and the command's usage
// follows it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/CliRunner.h"
#include "support/TempFolder.h"

namespace tarnik::test {
namespace {

constexpr int kOk = 0;
constexpr int kStepLimit = 3;
constexpr int kFailure = 2;

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

TEST(CliArguments, UsageMessagesNameTheWordAtFault)
{
    TempFile file("print 1\n");
    const std::string& p = file.path();
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"check", "--crlf", p}, "tarnik-cli check：--crlf 不是 check 命令的选项"},
        {{"lint", p, "--max-steps", "5"}, "tarnik-cli lint：--max-steps 不是 lint 命令的选项"},
        {{"run", "--fast", p}, "tarnik-cli run：--fast 不是 run 命令的选项"},
        {{"run", "-p.bas"},
         "tarnik-cli run：-p.bas 不是 run 命令的选项（名字以 - 开头的文件请写在 -- 后面，例如 -- -p.bas）"},
        {{"run", "--max-steps"}, "tarnik-cli run：--max-steps 后面缺少语句条数"},
        {{"run", p, "--max-steps"}, "tarnik-cli run：--max-steps 后面缺少语句条数"},
        {{"run", "--max-steps", "99999999999999999999", p},
         "tarnik-cli run：--max-steps 的值 99999999999999999999 太大，语句条数最多是 9223372036854775807"},
        {{"run", "--max-steps=9223372036854775808", p},
         "tarnik-cli run：--max-steps 的值 9223372036854775808 太大，语句条数最多是 9223372036854775807"},
        {{"run", "--max-steps", "many", p}, "tarnik-cli run：--max-steps 后面应是语句条数（不小于 0 的整数），而不是 many"},
        {{"run", "--max-steps", "-1", p}, "tarnik-cli run：--max-steps 后面应是语句条数（不小于 0 的整数），而不是 -1"},
        {{"run", "--max-steps", "1.5", p}, "tarnik-cli run：--max-steps 后面应是语句条数（不小于 0 的整数），而不是 1.5"},
        {{"run", "--max-steps=", p}, "tarnik-cli run：--max-steps 后面缺少语句条数"},
        {{"format", "--crlf=yes", p}, "tarnik-cli format：--crlf 后面不能带值"},
        {{"run"}, "tarnik-cli run：缺少程序文件名（FILE）"},
        {{"run", p, p}, "tarnik-cli run：多余的参数 " + p + "：这个命令只要 FILE"},
        {{"test", p}, "tarnik-cli test：缺少测试用例文件夹（DIR）"},
        {{"test", p, p, p}, "tarnik-cli test：多余的参数 " + p + "：这个命令只要 FILE DIR"},
        {{"explain"}, "tarnik-cli explain：缺少错误编号（N）"},
        {{"explain", "--", "abc"}, "tarnik-cli explain：“abc”不是错误编号，错误编号是一个整数，例如 303"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const CliResult result = runCli(c.arguments);
        EXPECT_EQ(result.exitStatus, kFailure);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(firstLine(result.err), c.message);
        EXPECT_NE(result.err.find("\n  tarnik-cli " + c.arguments.front() + " "), std::string::npos) << result.err;
    }
}

// A folder of its own is the working folder, so the file is named as typed.
class CliArgumentsInAFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_folder.path());
    }
    void TearDown() override { std::filesystem::current_path(m_previous); }

    TempFolder m_folder;

private:
    std::filesystem::path m_previous;
};

TEST_F(CliArgumentsInAFolder, DoubleDashEndsTheOptions)
{
    m_folder.write("-p.bas", "print 1\nprint 2\n");
    m_folder.write("--crlf", "print 3\n");
    struct Case {
        std::vector<std::string> arguments;
        int exitStatus;
        std::string out;
    };
    const Case cases[] = {
        {{"run", "--", "-p.bas"}, kOk, "1\n2\n"},
        {{"run", "--crlf", "--", "-p.bas"}, kOk, "1\r\n2\r\n"},
        {{"run", "--max-steps", "1", "--", "-p.bas"}, kStepLimit, "1\n"},
        {{"run", "--max-steps=1", "-p.bas", "--"}, kFailure, ""},  // "-p.bas" before the "--" is an option
        {{"run", "--", "--crlf"}, kOk, "3\n"},
        {{"format", "--", "-p.bas"}, kOk, "Print 1\nPrint 2\n"},
        {{"check", "--", "-p.bas"}, kOk, ""},
        {{"explain", "--", "11"}, kOk, "错误 11: 除数为零"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.back());
        const CliResult result = runCli(c.arguments);
        EXPECT_EQ(result.exitStatus, c.exitStatus) << result.err;
        EXPECT_EQ(c.arguments.front() == "explain" ? firstLine(result.out) : result.out, c.out);
    }
}

TEST(CliArguments, ValueAfterAnEqualsSignIsTheSameAsTheNextWord)
{
    TempFile file("print 1\nprint 2\nprint 3\n");
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"run", "--max-steps=2", file.path()}, {"run", "--max-steps", "2", file.path()},
          {"run", "--max-steps", "9", "--max-steps", "2", file.path()}}) {
        const CliResult result = runCli(arguments);
        EXPECT_EQ(result.exitStatus, kStepLimit);
        EXPECT_EQ(result.out, "1\n2\n");
    }
}

}  // namespace
}  // namespace tarnik::test
