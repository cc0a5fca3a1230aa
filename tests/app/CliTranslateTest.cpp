// tarnik-cli check and table, run as a child process on files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>

#include "support/CliRunner.h"

namespace tarnik::test {
namespace {

constexpr int kOk = 0;
constexpr int kProgramError = 1;
constexpr int kFailure = 2;

std::string dataFile(const char* name)
{
    return (std::filesystem::path(TARNIK_TEST_DATA_DIR) / name).string();
}

CliResult runOnSource(const char* command, std::string_view bytes)
{
    TempFile file(bytes);
    return runCli({command, file.path()});
}

TEST(CliTable, WorkedElseIfChainIsFlattenedAndLinked)
{
    CliResult result = runOnSource("table",
                                   "if a = 1 then\n"
                                   "    x = 1\n"
                                   "elseif a = 2 then\n"
                                   "    x = 2\n"
                                   "elseif a = 3 then\n"
                                   "    x = 3\n"
                                   "else\n"
                                   "    x = 4\n"
                                   "end if\n");
    EXPECT_EQ(result.exitStatus, kOk);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              "1\t1\t0\tif a = 1 then\tif_else_id=3 if_endif_id=13\n"
              "2\t2\t0\tx = 1\t\n"
              "3\t3\t0\telse\telse_if_id=1\n"
              "4\t3\t0\tif a = 2 then\tif_else_id=6 if_endif_id=12\n"
              "5\t4\t0\tx = 2\t\n"
              "6\t5\t0\telse\telse_if_id=4\n"
              "7\t5\t0\tif a = 3 then\tif_else_id=9 if_endif_id=11\n"
              "8\t6\t0\tx = 3\t\n"
              "9\t7\t0\telse\telse_if_id=7\n"
              "10\t8\t0\tx = 4\t\n"
              "11\t9\t0\tend if\t\n"
              "12\t9\t0\tend if\t\n"
              "13\t9\t0\tend if\t\n");
}

TEST(CliTable, LoopLinksLabelsAndCompactedIndices)
{
    CliResult result = runOnSource("table",
                                   "10 do\r\n"
                                   "  do while a\r\n"
                                   "    exit do\r\n"
                                   "  loop\r\n"
                                   "\r\n"
                                   "  for i = 1 to 2   ' counting\r\n"
                                   "    exit for\r\n"
                                   "  next\r\n"
                                   "loop until b\r\n");
    EXPECT_EQ(result.exitStatus, kOk);
    EXPECT_EQ(result.out,
              "1\t1\t10\tdo\tdo_loopuntil_id=8\n"
              "2\t2\t0\tdo while a\tdowhile_loop=4\n"
              "3\t3\t0\texit do\texitdo_dowhile=2\n"
              "4\t4\t0\tloop\tloop_dowhile=2\n"
              "5\t6\t0\tfor i = 1 to 2\tfor_next_id=7\n"
              "6\t7\t0\texit for\texitfor_for_id=5\n"
              "7\t8\t0\tnext\tnext_for_id=5\n"
              "8\t9\t0\tloop until b\tloopuntile_do_id=1\n");
}

TEST(CliTable, GbkFileIsShownAsUtf8)
{
    CliResult result = runCli({"table", dataFile("gbk_greeting.bas")});
    EXPECT_EQ(result.exitStatus, kOk);
    EXPECT_EQ(result.out,
              "1\t1\t0\tprint \"你好，世界\"\t\n"
              "2\t2\t0\tif 1 then\tif_else_id=4 if_endif_id=6\n"
              "3\t2\t0\tprint \"中文\"\t\n"
              "4\t2\t0\telse\telse_if_id=2\n"
              "5\t2\t0\tprint \"英文\"\t\n"
              "6\t2\t0\tend if\t\n");
}

TEST(CliTable, ByteOrderMarkIsNotPartOfTheFirstLine)
{
    CliResult result = runOnSource("table", "\xEF\xBB\xBF" "10 print 1\n");
    EXPECT_EQ(result.exitStatus, kOk);
    EXPECT_EQ(result.out, "1\t1\t10\tprint 1\t\n");
}

TEST(CliCheck, EmptyFileTranslatesToNothing)
{
    for (const char* command : {"check", "table"}) {
        SCOPED_TRACE(command);
        CliResult result = runOnSource(command, "");
        EXPECT_EQ(result.exitStatus, kOk);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "");
    }
}

TEST(CliCheck, ErrorIsTheLastLineOfStandardErrorWithItsEditorLine)
{
    struct Case {
        const char* source;
        const char* errorLine;
    };
    const Case cases[] = {
        {"if a = 1 then\r\n\r\nx = 1\r\n", "错误 304: If没有End If(第3行)"},
        {"x = 1\nelse\n", "错误 601: Else没有If(第2行)"},
        {"\nend if\n", "错误 362: End If没有If(第2行)"},
        {"x = 1\n\nelseif a then\n", "错误 361: Else If没有If(第3行)"},
        {"for i = 1 to 3\n\n\nnext\nnext\n", "错误 302: Next没有For(第5行)"},
        {"\n\nexit for", "错误 300: Exit For不在循环体内(第3行)"},
        {"do\nloop", "错误 303: Loop没有Do While(第2行)"},
        {"do while x\n\nloop until x", "错误 305: Loop Until没有Do(第3行)"},
        {"print 1\nexit do", "错误 304: Exit Do不在循环体内(第2行)"},
        {"for i = 1 to 3\nprint i\n\n\n", "错误 303: For没有Next(第2行)"},
        {"do\n\nx = 1\n\n", "错误 305: Do没有Loop Until(第3行)"},
        {"while x\nx = 1", "错误 306: While没有Wend或Do Until没有Loop(第2行)"},
        {"if x", "错误 301: If缺少Then(第1行)"},
        {"\nselect case x", "错误 350: Select Case后面必须是Case(第2行)"},
        {"select case x\nprint 1\ncase 1\nend select", "错误 351: Select Case后面必须是Case(第1行)"},
        {"case 1", "错误 352: Case没有Select Case(第1行)"},
        {"x = 1\nend select", "错误 352: End Select没有Select Case(第2行)"},
        {"select case x\ncase \"a\"\nend select", "错误 353: Case后面暂时不支持字符串(第2行)"},
        {"select case x\ncase 1\n", "错误 353: Select没有End Select(第2行)"},
        {"70000 print 1", "错误 6: 溢出(第1行)"},
        // A lone CR and a lone LF end a line too.
        {"x = 1\rfor i = 1 to 2\nx = 2\r\n", "错误 303: For没有Next(第3行)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        CliResult result = runOnSource("check", c.source);
        EXPECT_EQ(result.exitStatus, kProgramError);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.lastErrorLine(), c.errorLine);
    }
}

TEST(CliCheck, BrokenProgramsReportTheirFirstError)
{
    struct Case {
        const char* file;
        const char* errorLine;
    };
    const Case cases[] = {
        {"for_closed_by_next_with_name.bas", "错误 303: For没有Next(第7行)"},
        {"comment_before_first_case.bas", "错误 351: Select Case后面必须是Case(第2行)"},
        {"elseif_after_end_if.bas", "错误 361: Else If没有If(第5行)"},
        {"open_quote.bas", "错误 202: 表达式print \"少了一个引号错误(第2行)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        for (const char* command : {"check", "table"}) {
            CliResult result = runCli({command, dataFile(c.file)});
            EXPECT_EQ(result.exitStatus, kProgramError);
            EXPECT_EQ(result.out, "");
            EXPECT_EQ(result.lastErrorLine(), c.errorLine);
        }
    }
}

TEST(CliCheck, QuoteInACommentLeavesCapitalisedKeywordsRecognised)
{
    struct Case {
        const char* source;
        const char* errorLine;
    };
    const Case cases[] = {
        {"' 屏幕是 15\" 的\nFor i = 1 To 3\n    Print i\n", "错误 303: For没有Next(第3行)"},
        {"If X Then ' 他说\"你好\nPrint X\n", "错误 304: If没有End If(第2行)"},
        {"For i = 1 To 2\nPrint \"Ab\nNext\n", "错误 202: 表达式print \"Ab错误(第2行)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        for (const char* command : {"check", "table"}) {
            CliResult result = runOnSource(command, c.source);
            EXPECT_EQ(result.exitStatus, kProgramError);
            EXPECT_EQ(result.out, "");
            EXPECT_EQ(result.lastErrorLine(), c.errorLine);
        }
    }
}

TEST(CliTable, QuoteInACommentLeavesCapitalisedKeywordsLinked)
{
    CliResult result = runOnSource("table",
                                   "' 屏幕是 15\" 的\n"
                                   "For i = 1 To 3\n"
                                   "    Print \"No. \"; i ' 他说\"你好\n"
                                   "Next\n");
    EXPECT_EQ(result.exitStatus, kOk);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              "1\t2\t0\tfor i = 1 to 3\tfor_next_id=3\n"
              "2\t3\t0\tprint \"No. \"; i\t\n"
              "3\t4\t0\tnext\tnext_for_id=1\n");
}

TEST(CliCheck, EveryExampleTranslates)
{
    int examples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TARNIK_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".bas") continue;
        ++examples;
        SCOPED_TRACE(entry.path().filename().string());
        CliResult check = runCli({"check", entry.path().string()});
        EXPECT_EQ(check.exitStatus, kOk);
        EXPECT_EQ(check.out + check.err, "");

        CliResult table = runCli({"table", entry.path().string()});
        EXPECT_EQ(table.exitStatus, kOk);
        std::istringstream rows(table.out);
        int index = 0;
        for (std::string row; std::getline(rows, row);) {
            ++index;
            EXPECT_TRUE(row.starts_with(std::to_string(index) + "\t")) << row;
            EXPECT_EQ(std::count(row.begin(), row.end(), '\t'), 4) << row;
        }
        EXPECT_GT(index, 0);
    }
    EXPECT_GE(examples, 5);
}

TEST(CliUsage, BadCommandLinesAndUnreadableFilesExitWithTwo)
{
    TempFile file("print 1\n");
    const std::vector<std::string> commandLines[] = {
        {},
        {"frobnicate", file.path()},
        {"check"},
        {"table", file.path(), file.path()},
        {"check", "--fast", file.path()},
        {"check", file.path() + ".missing"},
        {"table", TARNIK_EXAMPLES_DIR},
    };
    for (const auto& arguments : commandLines) {
        CliResult result = runCli(arguments);
        SCOPED_TRACE(result.err);
        EXPECT_EQ(result.exitStatus, kFailure);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err, "");
    }
    EXPECT_NE(runCli({"check", file.path() + ".missing"}).err.find(file.path() + ".missing"), std::string::npos);
}

}  // namespace
}  // namespace tarnik::test
