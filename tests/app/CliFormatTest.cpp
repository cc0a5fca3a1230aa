// tarnik-cli format as a child process: the file-level rules around the line
// formatter (blank lines, indentation, line ends, the last line end, encodings)
// and what formatting does to the example programs.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/CliRunner.h"

namespace tarnik::test {
namespace {

constexpr int kOk = 0;

CliResult formatBytes(std::string_view bytes, bool keepCrLf = false)
{
    TempFile file(bytes);
    std::vector<std::string> arguments{"format"};
    if (keepCrLf) arguments.emplace_back("--crlf");
    arguments.push_back(file.path());
    return runCli(arguments);
}

TEST(CliFormat, RewritesEveryLineKeepingBlankLinesAndIndentation)
{
    CliResult result = formatBytes("FOR I=1 TO 3\n"
                                   "    print I*2;\",\"\n"
                                   "\n"
                                   "   \n"
                                   "        IF I<>2 THEN PRINT \"Two\"\n"
                                   "NEXT\n");
    EXPECT_EQ(result.exitStatus, kOk);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              "For i = 1 To 3\n"
              "    Print i * 2; \",\"\n"
              "\n"
              "   \n"
              "        If i <> 2 Then Print \"Two\"\n"
              "Next\n");
}

TEST(CliFormat, WritesTheLineEndsAskedForAndEndsAsTheFileDid)
{
    struct Case {
        const char* name;
        std::string bytes;
        bool keepCrLf;
        std::string out;
    };
    const Case cases[] = {
        {"LF", "print 1\nprint 2\n", false, "Print 1\nPrint 2\n"},
        {"CR LF becomes LF", "print 1\r\nprint 2\r\n", false, "Print 1\nPrint 2\n"},
        {"a lone CR ends a line", "print 1\rprint 2\r", false, "Print 1\nPrint 2\n"},
        {"mixed line ends", "print 1\r\nprint 2\rprint 3\n", false, "Print 1\nPrint 2\nPrint 3\n"},
        {"--crlf on LF", "print 1\nprint 2\n", true, "Print 1\r\nPrint 2\r\n"},
        {"--crlf on CR LF", "print 1\r\nprint 2\r\n", true, "Print 1\r\nPrint 2\r\n"},
        {"no line end after the last line", "print 1\nprint 2", false, "Print 1\nPrint 2"},
        {"no line end after the last line, --crlf", "print 1\r\nprint 2", true, "Print 1\r\nPrint 2"},
        {"empty file", "", false, ""},
        {"a single line end", "\n", false, "\n"},
        {"blank lines at the end", "print 1\n\n  \n", false, "Print 1\n\n  \n"},
        {"blank lines at the end, --crlf", "print 1\n\n  \n", true, "Print 1\r\n\r\n  \r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CliResult result = formatBytes(c.bytes, c.keepCrLf);
        EXPECT_EQ(result.exitStatus, kOk);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, "");
    }
}

TEST(CliFormat, KeepsLiteralsAndWritesUtf8)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::string out;
    };
    const Case cases[] = {
        {"a literal keeps its case", "PRINT \"MiXed 大小写\";A\n", "Print \"MiXed 大小写\"; a\n"},
        {"an unterminated literal leaves its line alone", "x=1\nPRINT  \"Abc\n", "x = 1\nPRINT  \"Abc\n"},
        {"byte-order mark", "\xEF\xBB\xBF" "print \"你好\"\n", "Print \"你好\"\n"},
        {"GBK", "PRINT \"\xC4\xE3\xBA\xC3\"\r\n", "Print \"你好\"\n"},
        {"characters outside the Basic Multilingual Plane", "print 𠀀+😀 ' 𠀀\n", "Print 𠀀 + 😀 ' 𠀀\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CliResult result = formatBytes(c.bytes);
        EXPECT_EQ(result.exitStatus, kOk);
        EXPECT_EQ(result.out, c.out);
    }
}

TEST(CliFormat, KeepsCommentsAsTyped)
{
    CliResult result = formatBytes("' 求 1 到 100 之间的质数个数\n"
                                   "FOR I=1 TO 3   ' Count To Three\n"
                                   "    PRINT I;\"'s\"\t' 他说\"你好\n"
                                   "    IF a< >b THEN 'Note \"q\n"
                                   "    ' Only A Comment\n"
                                   "NEXT '\n");
    EXPECT_EQ(result.exitStatus, kOk);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              "' 求 1 到 100 之间的质数个数\n"
              "For i = 1 To 3 ' Count To Three\n"
              "    Print i; \"'s\" ' 他说\"你好\n"
              "    If a <> b Then 'Note \"q\n"
              "    ' Only A Comment\n"
              "Next '\n");
}

// PRINT reads literals side by side as one text, blanks between included:
// such a line stays as typed, so the formatted program prints the same.
TEST(CliFormat, LiteralsSideBySideKeepTheirLineAsTyped)
{
    const std::string source = "print \"a\"\"b\"\n"
                               "    PRINT \"x\"   \"y\" ' Two\n"
                               "PRINT \"a\";\"b\"\n";
    const CliResult result = formatBytes(source);
    EXPECT_EQ(result.exitStatus, kOk);
    EXPECT_EQ(result.out, "print \"a\"\"b\"\n"
                          "    PRINT \"x\"   \"y\" ' Two\n"
                          "Print \"a\"; \"b\"\n");
    TempFile original(source);
    TempFile formatted(result.out);
    const CliResult before = runCli({"run", original.path()});
    EXPECT_EQ(before.out, "a\"\"b\nx\"   \"y\nab\n");
    EXPECT_EQ(runCli({"run", formatted.path()}).out, before.out);
}

TEST(CliFormat, FormattingAnExampleTwiceChangesNothingMore)
{
    for (const std::filesystem::path& program : examplePrograms()) {
        SCOPED_TRACE(program.filename().string());
        CliResult once = runCli({"format", program.string()});
        ASSERT_EQ(once.exitStatus, kOk);
        EXPECT_NE(once.out, readFileBytes(program));
        EXPECT_EQ(formatBytes(once.out).out, once.out);
    }
}

TEST(CliFormat, FormattedExamplesRunAsBefore)
{
    for (const std::filesystem::path& program : examplePrograms()) {
        SCOPED_TRACE(program.filename().string());
        const std::filesystem::path answers = std::filesystem::path(program).replace_extension(".in");
        const std::filesystem::path expected = std::filesystem::path(program).replace_extension(".out");
        TempFile formatted(runCli({"format", program.string()}).out);
        CliResult result = runCli({"run", formatted.path()},
                                  std::filesystem::exists(answers) ? readFileBytes(answers) : "");
        EXPECT_EQ(result.exitStatus, kOk) << result.err;
        EXPECT_EQ(result.out, readFileBytes(expected));
    }
}

}  // namespace
}  // namespace tarnik::test
