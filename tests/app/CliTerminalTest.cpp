// tarnik-cli run never loses what a program printed: on a terminal each line
// shows at its line end, even while the program goes on working; SIGINT and
// SIGTERM stop the run with its output written, in an endless loop, while it
// waits for an answer and while its output waits for a reader; the process
// then ends by that signal.
#include <gtest/gtest.h>
#include <signal.h>

#include <string>

#include "support/CliRunner.h"
#include "support/RunningCli.h"

namespace tarnik::test {
namespace {

std::string stopMessage(const std::string& signal, int line)
{
    return "tarnik-cli run：收到" + signal + "，程序在第" + std::to_string(line) + "行停止运行，此前的输出已全部写出。\n";
}

const std::string kInterrupt = "中断信号 SIGINT（Ctrl+C）";
const std::string kTerminate = "终止信号 SIGTERM";

// Without a line end at every line, «开始计算» would wait for 64 Ki
// characters that this loop never prints, and the wait would fail.
TEST(CliTerminal, EachLineShowsAtItsLineEndWhileTheProgramWorksOn)
{
    TempFile program("print \"开始计算\"\nprint \"第二行\";\nprint 2\ndo while 1\n    x = x + 1\nloop\n");
    RunningCli run({"run", program.path()}, RunningCli::Output::Terminal);
    ASSERT_TRUE(run.waitForOutput("开始计算\n第二行2\n"));
    run.sendSignal(SIGINT);
    const CliResult result = run.finish();
    EXPECT_EQ(result.out, "开始计算\n第二行2\n");
    EXPECT_EQ(result.signal, SIGINT);
}

TEST(CliSignals, InterruptInAnEndlessLoopKeepsEveryPrintedLine)
{
    for (const auto& [signal, words] : {std::pair{SIGINT, kInterrupt}, std::pair{SIGTERM, kTerminate}}) {
        SCOPED_TRACE(words);
        TempFile program("for i = 1 to 3\n    print \"第\"; i; \"行\"\nnext\n10 goto 10\n");
        RunningCli run({"run", program.path()}, RunningCli::Output::Terminal);
        ASSERT_TRUE(run.waitForOutput("第3行\n"));
        run.sendSignal(signal);
        const CliResult result = run.finish();
        EXPECT_EQ(result.out, "第1行\n第2行\n第3行\n");
        EXPECT_EQ(result.signal, signal);
        EXPECT_EQ(result.exitStatus, -1);
        EXPECT_EQ(result.err, stopMessage(words, 4));
    }
}

// The question stays open on standard error until the stop is said.
TEST(CliSignals, InterruptWhileWaitingForAnAnswerEndsTheWait)
{
    TempFile program("print \"问题之前\"\ninput x\nprint x\n");
    RunningCli run({"run", program.path()}, RunningCli::Output::Terminal);
    ASSERT_TRUE(run.waitForError("输入整数[x]："));
    run.sendSignal(SIGINT);
    const CliResult result = run.finish();
    EXPECT_EQ(result.out, "问题之前\n");
    EXPECT_EQ(result.signal, SIGINT);
    EXPECT_EQ(result.err, "输入整数[x]：\n" + stopMessage(kInterrupt, 2));
}

// The pipe is full and the run waits to write: the signal must not lose
// the piece being written nor the output held back after it. Ended by the
// signal without that, the output would stop inside a line.
TEST(CliSignals, TerminateWhileTheOutputWaitsForItsReaderWritesItAll)
{
    TempFile program("do while 1\n    i = i + 1\n    print i\nloop\n");
    RunningCli run({"run", program.path()}, RunningCli::Output::Pipe);
    ASSERT_TRUE(run.waitUntilOutputIsFull());
    run.sendSignal(SIGTERM);
    const CliResult result = run.finish();
    EXPECT_EQ(result.signal, SIGTERM);
    ASSERT_TRUE(result.out.ends_with("\n"));
    std::string expected;
    for (int i = 1; expected.size() < result.out.size(); ++i) expected += std::to_string(i) + "\n";
    EXPECT_TRUE(result.out == expected) << result.out.size() << " bytes, ending «"
                                        << result.out.substr(result.out.size() - 20) << "»";
    EXPECT_GT(result.out.size(), 65536U);
    EXPECT_TRUE(result.err.starts_with("tarnik-cli run：收到" + kTerminate)) << result.err;
}

}  // namespace
}  // namespace tarnik::test
