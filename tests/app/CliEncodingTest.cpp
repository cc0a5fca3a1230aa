// tarnik-cli reading files in every encoding it knows: the byte-order marks,
// UTF-8 with a stray byte, GBK; the warning line for unreadable bytes; INPUT
// answers typed in GBK.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/CliRunner.h"

namespace tarnik::test {
namespace {

constexpr int kOk = 0;
constexpr int kProgramError = 1;

// print "你好世界" ' note
const std::string kUtf8Program = "print \"\xE4\xBD\xA0\xE5\xA5\xBD\xE4\xB8\x96\xE7\x95\x8C\" ' note\n";
const std::string kExpectedOutput = "\xE4\xBD\xA0\xE5\xA5\xBD\xE4\xB8\x96\xE7\x95\x8C\n";

std::string utf16Le(std::string_view ascii, std::string_view units)
{
    std::string bytes("\xFF\xFE");
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes.append(units);
}

CliResult runCommand(const std::string& command, std::string_view bytes, std::string_view input = {})
{
    TempFile file(bytes);
    return runCli({command, file.path()}, input);
}

std::string warningFor(const std::string& path, int count)
{
    return "警告: " + path + " 含有无法识别的字节（" + std::to_string(count) + " 处），已显示为 \xEF\xBF\xBD\n";
}

TEST(CliEncoding, EveryEncodingOfTheSameProgramRunsTheSame)
{
    // print "你好世界" in UTF-16: 你 4F60, 好 597D, 世 4E16, 界 754C.
    const std::string le = utf16Le("print \"", std::string("`O}Y\x16NLu", 8)) + utf16Le("\"\r\n", "").substr(2);
    std::string be = "\xFE\xFF";
    for (std::size_t i = 2; i + 1 < le.size(); i += 2) (be += le[i + 1]) += le[i];
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"UTF-8", kUtf8Program},
        {"UTF-8 with a stray Latin-1 byte in the comment",
         "print \"\xE4\xBD\xA0\xE5\xA5\xBD\xE4\xB8\x96\xE7\x95\x8C\" ' caf\xE9\n"},
        {"GBK", "print \"\xC4\xE3\xBA\xC3\xCA\xC0\xBD\xE7\" ' \xD7\xA2\r\n"},
        {"UTF-16 LE with its mark", le},
        {"UTF-16 BE with its mark", be},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliResult result = runCommand("run", c.bytes);
        EXPECT_EQ(result.exitStatus, kOk) << result.err;
        EXPECT_EQ(result.out, kExpectedOutput);
    }
}

TEST(CliEncoding, UnreadableBytesGiveOneWarningLineBeforeAnythingElse)
{
    // Two bad stretches: a stray byte and a sequence cut off.
    const std::string bytes = "' caf\xE9 \xE4\xBD\nprint \"\xE4\xBD\xA0\xE5\xA5\xBD\xE4\xB8\x96\"\nprint )\n";
    for (const std::string command : {"run", "check", "table", "format"}) {
        SCOPED_TRACE(command);
        TempFile file(bytes);
        const CliResult result = runCli({command, file.path()});
        ASSERT_TRUE(result.err.starts_with(warningFor(file.path(), 2))) << result.err;
    }
    TempFile file(bytes);
    const CliResult run = runCli({"run", file.path()});
    EXPECT_EQ(run.exitStatus, kProgramError);
    EXPECT_EQ(run.out, "\xE4\xBD\xA0\xE5\xA5\xBD\xE4\xB8\x96\n");
    EXPECT_TRUE(run.lastErrorLine().starts_with("错误 ")) << run.err;
    const CliResult format = runCli({"format", file.path()});
    EXPECT_EQ(format.out.substr(0, 13), "' caf\xEF\xBF\xBD \xEF\xBF\xBD\n");
}

TEST(CliEncoding, FilesReadWithoutLossGiveNoWarning)
{
    for (const std::string& bytes : {kUtf8Program, std::string("print \"\xC4\xE3\"\n"), utf16Le("print 1\n", "")}) {
        const CliResult result = runCommand("check", bytes);
        EXPECT_EQ(result.exitStatus, kOk);
        EXPECT_EQ(result.err, "");
    }
}

TEST(CliEncoding, AnswersTypedInGbkAreEchoedAsTyped)
{
    const CliResult result = runCommand("run", "input a\nprint a\n", "\xC4\xE3\n");
    // The answer is not a number: echoed, then the run stops with 13.
    EXPECT_EQ(result.out, "\xE4\xBD\xA0\n");
    EXPECT_EQ(result.lastErrorLine(), "错误 13: 类型不匹配(第1行)");
    const CliResult utf8 = runCommand("run", "input a\n", "\xE4\xBD\xA0\n");
    EXPECT_EQ(utf8.out, "\xE4\xBD\xA0\n");
}

}  // namespace
}  // namespace tarnik::test
