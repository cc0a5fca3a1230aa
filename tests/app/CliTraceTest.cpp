// tarnik-cli trace as a child process: whole programs with the record they
// must leave (INPUT, errors, the statement limit, GOSUB, FOR, SELECT CASE,
// one-line IF, escaped output), and every example, whose record must carry
// exactly the output run prints.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/CliRunner.h"

namespace tarnik::test {
namespace {

constexpr int kOk = 0;
constexpr int kProgramError = 1;
constexpr int kFailure = 2;
constexpr int kStepLimit = 3;

CliResult traceSource(std::string_view source, std::string_view input = {}, std::vector<std::string> options = {})
{
    return runCliOnSource("trace", source, input, std::move(options));
}

TEST(CliTraceTest, WritesOneLineForEveryExecutedStatement)
{
    struct Case {
        const char* what;
        std::string source;
        std::string input;
        std::vector<std::string> options;
        int exitStatus;
        std::string out;
        std::string lastErrorLine;  // checked when not empty
    };
    const Case cases[] = {
        {"INPUT: the echo is output, the answer a change; an equal value is no change",
         "input a\na = 5\nb = a\n", "5\n", {}, kOk, "1\t1\ta=5\t5\\n\n2\t2\t\t\n3\t3\tb=5\t\n", ""},
        {"a literal before INPUT is a statement of its own", "input \"n=\";a\nprint a * 2\n", "21\n", {}, kOk,
         "1\t1\t\tn=\\n\n2\t1\ta=21\t21\\n\n3\t2\t\t42\\n\n", ""},
        {"FOR, its body and NEXT", "for i = 1 to 2\n  s = s + i\nnext\nprint s\n", "", {}, kOk,
         "1\t1\ti=1\t\n2\t2\ts=1\t\n3\t3\ti=2\t\n4\t2\ts=3\t\n5\t3\ti=3\t\n6\t4\t\t3\\n\n", ""},
        {"GOSUB and RETURN", "gosub 10\nprint 2\nend\n10 x = 7\nreturn\n", "", {}, kOk,
         "1\t1\t\t\n2\t4\tx=7\t\n3\t5\t\t\n4\t2\t\t2\\n\n5\t3\t\t\n", ""},
        {"SELECT CASE: its line, the CASE tests up to the one that holds, its closing",
         "a = 2\nselect case a\ncase 1\n  b = 1\ncase 2\n  b = 2\nend select\n", "", {}, kOk, "1\t1\ta=2\t\n2\t2\t\t\n3\t3\t\t\n4\t5\t\t\n5\t6\tb=2\t\n6\t7\t\t\n7\t7\t\t\n", ""},
        {"one-line IF: the test, the branch taken and the block's end",
         "a = 1\nif a > 1 then print \"big\" else print \"small\"\n", "", {}, kOk, "1\t1\ta=1\t\n2\t2\t\t\n3\t2\t\tsmall\\n\n4\t2\t\t\n", ""},
        {"changes in the order of the variable table, several in one statement", "b = 1\na = 2\nfor b = a to 3\nnext\n",
         "", {}, kOk, "1\t1\tb=1\t\n2\t2\ta=2\t\n3\t3\tb=2\t\n4\t4\tb=3\t\n5\t4\tb=4\t\n", ""},
        {"a name read first is new with 0", "print z\n", "", {}, kOk, "1\t1\tz=0\t0\\n\n", ""},
        {"backslash, tab and line ends escaped; output kept without a line end", "print \"a\\b\", 1\nprint \"x\";\n",
         "", {}, kOk, "1\t1\t\ta\\\\b\\t1\\n\n2\t2\t\tx\n", ""},
        {"the statement that stops on an error gets its line", "a = 1\nprint 1 / 0\nprint 2\n", "", {}, kProgramError,
         "1\t1\ta=1\t\n2\t2\t\t\n", "错误 11: 除数为零(第2行)"},
        {"a translation error: no statement ran", "for i = 1 to 2\n", "", {}, kProgramError, "",
         "错误 303: For没有Next(第1行)"},
        {"INPUT at the end of the input", "a = 1\ninput b\n", "", {}, kProgramError, "1\t1\ta=1\t\n2\t2\t\t\n",
         "错误 62: 输入超出文件尾(第2行)"},
        {"the statement limit: exactly N lines", "do while 1 = 1\n  k = k + 1\nloop\n", "", {"--max-steps", "4"},
         kStepLimit, "1\t1\t\t\n2\t2\tk=1\t\n3\t3\t\t\n4\t1\t\t\n",
         "tarnik-cli trace：已执行 4 条语句，达到 --max-steps 的限制，运行停止"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CliResult result = traceSource(c.source, c.input, c.options);
        EXPECT_EQ(result.exitStatus, c.exitStatus) << result.err;
        EXPECT_EQ(result.out, c.out);
        if (!c.lastErrorLine.empty()) EXPECT_EQ(result.lastErrorLine(), c.lastErrorLine);
    }
}

TEST(CliTraceTest, RefusesWhatRunRefuses)
{
    EXPECT_EQ(traceSource("print 1\n", {}, {"--crlf"}).exitStatus, kFailure);
    EXPECT_EQ(traceSource("print 1\n", {}, {"--max-steps", "x"}).exitStatus, kFailure);
    const CliResult missing = runCli({"trace", "no such file.bas"});
    EXPECT_EQ(missing.exitStatus, kFailure);
    EXPECT_TRUE(missing.out.empty());
}

// A loop without output still writes a line per statement, so a reader
// that goes or a full disk ends it at once.
TEST(CliTraceTest, OutputThatCannotBeWrittenEndsTheTraceWithFour)
{
    constexpr int kOutputFailed = 4;
    TempFile program("do while 1 = 1\n  k = k + 1\nloop\n");
    const CliResult full = runCliWritingTo({"trace", "--max-steps", "20000000", program.path()}, "/dev/full");
    EXPECT_EQ(full.exitStatus, kOutputFailed);
    EXPECT_EQ(full.lastErrorLine(), "tarnik-cli: 无法写出标准输出：磁盘已满。运行已停止。");
    const CliResult gone = runCliIntoClosingPipe({"trace", "--max-steps", "20000000", program.path()}, true);
    EXPECT_EQ(gone.out, "1\t1\t\t");
    EXPECT_EQ(gone.exitStatus, kOutputFailed);
}

// The OUTPUT column with its escapes undone, every line's joined.
std::string outputColumn(const std::string& trace)
{
    std::istringstream lines(trace);
    std::string line;
    std::string output;
    while (std::getline(lines, line)) {
        const std::string text = line.substr(line.rfind('\t') + 1);
        for (std::size_t at = 0; at < text.size(); ++at) {
            if (text[at] != '\\') {
                output += text[at];
                continue;
            }
            const char escaped = text[++at];
            output += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped == 'r' ? '\r' : escaped;
        }
    }
    return output;
}

TEST(CliTraceTest, EveryExampleRecordsTheOutputRunPrintsAndNumbersItsSteps)
{
    for (const std::filesystem::path& program : examplePrograms()) {
        SCOPED_TRACE(program.filename().string());
        const std::filesystem::path answers = std::filesystem::path(program).replace_extension(".in");
        const std::string input = std::filesystem::exists(answers) ? readFileBytes(answers) : "";
        const CliResult run = runCli({"run", program.string()}, input);
        const CliResult trace = runCli({"trace", program.string()}, input);
        EXPECT_EQ(trace.exitStatus, run.exitStatus);
        EXPECT_EQ(trace.err, run.err);
        EXPECT_EQ(outputColumn(trace.out), run.out);
        std::istringstream lines(trace.out);
        std::string line;
        long step = 0;
        while (std::getline(lines, line)) EXPECT_EQ(line.substr(0, line.find('\t')), std::to_string(++step));
    }
}

}  // namespace
}  // namespace tarnik::test
