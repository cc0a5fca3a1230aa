// tarnik-cli when its standard output cannot be written: a full disk
// (/dev/full) and a pipe whose reader has gone end every command that writes
// with a message on standard error and exit status 4, whether or not the
// broken-pipe signal is ignored.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/CliRunner.h"
#include "support/TempFolder.h"

namespace tarnik::test {
namespace {

constexpr int kOutputFailed = 4;
const std::string kDiskFull = "tarnik-cli: 无法写出标准输出：磁盘已满。运行已停止。";
const std::string kReaderGone = "tarnik-cli: 无法写出标准输出：读取输出的程序已经退出。运行已停止。";
const std::string kClosed = "tarnik-cli: 无法写出标准输出：标准输出已经关闭。运行已停止。";

// Three million lines, far more than a pipe holds; the statement limit only
// keeps a faulty build from running for ever.
const std::string kPrintingLoop = "for j = 1 to 100\nfor i = 1 to 30000\nprint i\nnext\nnext\n";
const std::string kStatementLimit = "20000000";

TEST(CliOutputFailure, FullDiskEndsEveryWritingCommandWithFour)
{
    TempFile program("print 1\nprint \"你好\"\n");
    for (const std::string command : {"run", "format", "table"}) {
        SCOPED_TRACE(command);
        const CliResult result = runCliWritingTo({command, program.path()}, "/dev/full");
        EXPECT_EQ(result.exitStatus, kOutputFailed);
        EXPECT_EQ(result.lastErrorLine(), kDiskFull);
    }
}

TEST(CliOutputFailure, FullDiskStopsALongRunAtItsFirstFailedWrite)
{
    TempFile program(kPrintingLoop);
    const CliResult result = runCliWritingTo({"run", "--max-steps", kStatementLimit, program.path()}, "/dev/full");
    EXPECT_EQ(result.exitStatus, kOutputFailed);
    EXPECT_EQ(result.err, kDiskFull + "\n");
}

TEST(CliOutputFailure, ReaderThatGoesEndsTheRunWithOrWithoutTheSignalIgnored)
{
    TempFile program(kPrintingLoop);
    for (bool ignored : {true, false}) {
        SCOPED_TRACE(ignored ? "broken-pipe signal ignored" : "broken-pipe signal as by default");
        const CliResult result =
            runCliIntoClosingPipe({"run", "--max-steps", kStatementLimit, program.path()}, ignored);
        EXPECT_EQ(result.out, "1");
        EXPECT_EQ(result.exitStatus, kOutputFailed);
        EXPECT_EQ(result.err, kReaderGone + "\n");
    }
}

TEST(CliOutputFailure, OutputFailureWinsOverTheProgramsOwnError)
{
    // The error line would describe a run whose output nobody saw.
    TempFile program("print 1\nprint 1/0\n");
    const CliResult result = runCliWritingTo({"run", program.path()}, "/dev/full");
    EXPECT_EQ(result.exitStatus, kOutputFailed);
    EXPECT_EQ(result.lastErrorLine(), kDiskFull);
}

// Every command with something to write: a program that prints, has a
// warning and a table, and a folder with one passing case.
struct WritingCommands {
    TempFile program{"print 1\nprint totl\n"};
    TempFolder cases;
    WritingCommands() { cases.write("a.out", "1\n0\n"); }

    [[nodiscard]] std::vector<std::vector<std::string>> commandLines() const
    {
        return {{"run", program.path()},   {"format", program.path()},
                {"table", program.path()}, {"lint", program.path()},
                {"explain", "11"},         {"test", program.path(), cases.path().string()},
                {"--help"},                {"--version"}};
    }
};

TEST(CliOutputFailure, EveryCommandThatCannotWriteExitsWithFour)
{
    const WritingCommands commands;
    for (const std::vector<std::string>& arguments : commands.commandLines()) {
        SCOPED_TRACE(arguments.front());
        const CliResult full = runCliWritingTo(arguments, "/dev/full");
        EXPECT_EQ(full.exitStatus, kOutputFailed);
        EXPECT_EQ(full.err, kDiskFull + "\n");
        const CliResult closed = runCliWithoutOutput(arguments);
        EXPECT_EQ(closed.exitStatus, kOutputFailed);
        EXPECT_EQ(closed.err, kClosed + "\n");
        const CliResult gone = runCliIntoClosedPipe(arguments);
        EXPECT_EQ(gone.exitStatus, kOutputFailed);
        EXPECT_EQ(gone.err, kReaderGone + "\n");
    }
}

// `| head -1`: the reader takes the first line and goes while the command
// still has more than a pipe holds to write.
TEST(CliOutputFailure, ReaderThatGoesAfterOneLineEndsEveryLongOutputWithFour)
{
    std::string manyWarnings;
    for (int i = 0; i < 6000; ++i) manyWarnings += "print never" + std::to_string(i) + "\n";
    TempFile program(manyWarnings);
    TempFolder cases;
    const std::string longLine(100'000, '7');
    for (const char* name : {"a", "b"}) cases.write(std::string(name) + ".out", longLine + "\n");
    TempFile caseProgram("print 1\n");
    const std::vector<std::string> commandLines[] = {
        {"lint", program.path()},
        {"format", program.path()},
        {"table", program.path()},
        {"test", caseProgram.path(), cases.path().string()},
    };
    for (const std::vector<std::string>& arguments : commandLines) {
        SCOPED_TRACE(arguments.front());
        const CliResult result = runCliIntoClosingPipe(arguments, false);
        EXPECT_FALSE(result.out.empty());
        EXPECT_EQ(result.exitStatus, kOutputFailed);
        EXPECT_EQ(result.err, kReaderGone + "\n");
    }
}

}  // namespace
}  // namespace tarnik::test
