// tarnik-cli grade as a child process: a class of flat and per-student
// programs judged on a folder, a zip or an FPS file; the standard-output
// report, CSV and HTML; the same bytes for any --jobs; reports that cannot
// be written; nothing written among the students' files or the cases.
#include <gtest/gtest.h>
#include <zip.h>

#include <set>
#include <string>
#include <vector>

#include "support/CliRunner.h"
#include "support/TempFolder.h"

namespace tarnik::test {
namespace {

constexpr int kJudged = 0;
constexpr int kUsage = 2;
constexpr int kReportFailed = 4;

// Six students: a flat file, a copy of it written differently (a comment, an
// upper-case keyword, indentation, a blank line), a folder with one program
// under a name with a comma and quotes, a folder choosing its program by the
// problem's name, a folder without a program, and a program that does not
// translate. The cases are a+b.
struct Classroom {
    TempFolder folder;
    std::filesystem::path programs = folder.path() / "class";
    std::filesystem::path cases = folder.path() / "a+b";

    Classroom()
    {
        for (const char* sub : {"class", "class/王,\"五\"", "class/s10", "class/s2", "a+b"}) {
            std::filesystem::create_directories(folder.path() / std::filesystem::path(std::u8string(
                                                                    reinterpret_cast<const char8_t*>(sub))));
        }
        folder.write("class/张三.bas", "input a\ninput b\nprint a + b\n");
        folder.write("class/li si.BAS", "' 加法\ninput a\n\n   INPUT b\nPRINT a+b   ' 输出\n");
        folder.write("class/王,\"五\"/ab.tnk", "input a\ninput b\nprint a / 0\n");
        folder.write("class/s10/a+b.tnk", "input a\ninput b\nprint a - b\n");
        folder.write("class/s10/other.bas", "print 1\n");
        folder.write("class/s2/notes.txt", "hi\n");
        folder.write("class/s3.bas", "if 1 = 1 then\n");
        folder.write("class/notes.txt", "not a program\n");
        folder.write("a+b/1.in", "1 2\n");
        folder.write("a+b/1.out", "3\n");
        folder.write("a+b/2.in", "2 2");
        folder.write("a+b/2.out", "4\n");
    }

    // Every path under the folder: what grading must leave as it was.
    [[nodiscard]] std::set<std::filesystem::path> contents() const
    {
        std::set<std::filesystem::path> paths;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path())) paths.insert(entry.path());
        return paths;
    }
};

const std::string kReport =
    "li si: 100 分 AC AC\n"
    "s2: 找不到程序\n"
    "s3: 0 分 CE CE 1: 编译错误 错误 304: If没有End If(第1行)\n"
    "s10: 0 分 WA WA 1: 答案错误 第1行: 期望 «3» 实际 «-1»\n"
    "张三: 100 分 AC AC\n"
    "王,\"五\": 0 分 RE RE 1: 运行错误 错误 11: 除数为零(第3行)\n"
    "用例 1: 通过 2 人（共 6 人）\n"
    "用例 2: 通过 2 人（共 6 人）\n"
    "错误 11: 除数为零 2 次（王,\"五\"）\n"
    "错误 304: If没有End If 2 次（s3）\n"
    "相同的程序: li si、张三\n";

TEST(CliGradeTest, ReportsTheClassOnStandardOutputAndInCsv)
{
    const Classroom room;
    TempFolder reports;
    const std::string csv = (reports.path() / "结果.csv").string();
    const auto before = room.contents();
    const CliResult result = runCli({"grade", "--csv", csv, room.programs.string(), room.cases.string()});
    EXPECT_EQ(result.exitStatus, kJudged) << result.err;
    EXPECT_EQ(result.out, kReport);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(readFileBytes(csv),
              "\xEF\xBB\xBF学生,得分,1,2,说明\r\n"
              "li si,100,AC,AC,\r\n"
              "s2,,,,找不到程序\r\n"
              "s3,0,CE,CE,1: 编译错误 错误 304: If没有End If(第1行)\r\n"
              "s10,0,WA,WA,1: 答案错误 第1行: 期望 «3» 实际 «-1»\r\n"
              "张三,100,AC,AC,\r\n"
              "\"王,\"\"五\"\"\",0,RE,RE,1: 运行错误 错误 11: 除数为零(第3行)\r\n");
    EXPECT_EQ(room.contents(), before);
}

TEST(CliGradeTest, HtmlIsOnePageWithCodesWordsAndSummaries)
{
    const Classroom room;
    TempFolder reports;
    const std::string page = (reports.path() / "结果.html").string();
    const CliResult result = runCli({"grade", "--html", page, room.programs.string(), room.cases.string()});
    ASSERT_EQ(result.exitStatus, kJudged) << result.err;
    const std::string html = readFileBytes(page);
    for (const char* part : {"<td class=\"AC\" title=\"1: 通过\">AC 通过</td>", ">CE 编译错误</td>", ">WA 答案错误</td>",
                             ">RE 运行错误</td>", "王,&quot;五&quot;", "<li>相同的程序: li si、张三</li>",
                             "<li>用例 2: 通过 2 人（共 6 人）</li>", ".TLE{background:"}) {
        EXPECT_NE(html.find(part), std::string::npos) << part;
    }
    // Self-contained: nothing fetched from elsewhere.
    for (const char* outside : {"src=", "href=", "@import", "url("}) EXPECT_EQ(html.find(outside), std::string::npos);
}

TEST(CliGradeTest, SameBytesWhateverTheNumberOfJobs)
{
    const Classroom room;
    // More students than jobs, with every kind of run, so the threads interleave.
    for (int i = 1; i <= 12; ++i) {
        const char* programs[] = {"input a\ninput b\nprint a + b\n", "do while 1 = 1\nloop\n",
                                  "do while 1 = 1\n    print \"xxxxxxxxxx\"\nloop\n", "input a\nprint a\n"};
        room.folder.write("class/more" + std::to_string(i) + ".bas", programs[i % 4]);
    }
    TempFolder reports;
    std::vector<std::string> outputs;
    for (const char* jobs : {"1", "2", "4"}) {
        const std::string csv = (reports.path() / (std::string(jobs) + ".csv")).string();
        const std::string html = (reports.path() / (std::string(jobs) + ".html")).string();
        const CliResult result = runCli({"grade", "--jobs", jobs, "--max-steps", "200000", "--csv", csv, "--html",
                                         html, room.programs.string(), room.cases.string()});
        ASSERT_EQ(result.exitStatus, kJudged) << result.err;
        outputs.push_back(result.out + readFileBytes(csv) + readFileBytes(html));
    }
    EXPECT_NE(outputs[0].find("more1: 0 分 TLE TLE"), std::string::npos);
    EXPECT_NE(outputs[0].find("more2: 0 分 OLE OLE"), std::string::npos);
    EXPECT_EQ(outputs[1], outputs[0]);
    EXPECT_EQ(outputs[2], outputs[0]);
}

TEST(CliGradeTest, CasesFromAZipOrAnFpsFileGiveTheSameVerdicts)
{
    const Classroom room;
    const std::filesystem::path zip = room.folder.path() / "a+b.zip";
    int error = 0;
    zip_t* archive = zip_open(zip.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    const std::string files[][2] = {{"1.in", "1 2\n"}, {"1.ans", "3\n"}, {"2.in", "2 2"}, {"2.ans", "4\n"}};
    for (const auto& file : files) {
        zip_source_t* source = zip_source_buffer(archive, file[1].data(), file[1].size(), 0);
        ASSERT_GE(zip_file_add(archive, file[0].c_str(), source, 0), 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
    const CliResult fromZip = runCli({"grade", room.programs.string(), zip.string()});
    EXPECT_EQ(fromZip.exitStatus, kJudged) << fromZip.err;
    EXPECT_EQ(fromZip.out, kReport);

    const std::string fps = room.folder
                                .write("a+b.xml", "<fps><item><title>A+B</title>"
                                                  "<test_input>1 2</test_input><test_output>3</test_output>"
                                                  "<test_input>2 2</test_input><test_output>4</test_output>"
                                                  "</item></fps>")
                                .string();
    const CliResult fromFps = runCli({"grade", room.programs.string(), fps});
    EXPECT_EQ(fromFps.out, kReport);
}

TEST(CliGradeTest, ReportsThatCannotBeWrittenEndWithStatusFour)
{
    const Classroom room;
    TempFolder reports;
    std::filesystem::create_symlink(reports.path() / "elsewhere.csv", reports.path() / "link.csv");
    const std::string targets[] = {
        (reports.path() / "missing-folder" / "r.csv").string(),
        "/dev/full",
        (reports.path() / "link.csv").string(),
        (room.programs / "r.csv").string(),
        (room.programs / "s2" / "r.csv").string(),
        (room.cases / "r.csv").string(),
    };
    const auto before = room.contents();
    for (const std::string& target : targets) {
        SCOPED_TRACE(target);
        const CliResult result = runCli({"grade", "--csv", target, room.programs.string(), room.cases.string()});
        EXPECT_EQ(result.exitStatus, kReportFailed);
        EXPECT_EQ(result.out, kReport);
        EXPECT_NE(result.err.find("无法写入报告 " + target), std::string::npos) << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(reports.path() / "elsewhere.csv"));
    EXPECT_EQ(room.contents(), before);
}

TEST(CliGradeTest, UnreadableClassOrCasesAreUsageErrors)
{
    const Classroom room;
    const std::string missing = (room.folder.path() / "missing").string();
    const std::filesystem::path noCases = room.folder.path() / "empty";
    std::filesystem::create_directory(noCases);
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"grade", missing, room.cases.string()}, "无法读取学生程序文件夹"},
        {{"grade", room.programs.string(), missing}, "missing"},
        {{"grade", room.programs.string(), noCases.string()}, "没有测试用例"},
        {{"grade", "--jobs", "0", room.programs.string(), room.cases.string()}, "--jobs"},
        {{"grade", room.programs.string()}, "CASES"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const CliResult result = runCli(c.arguments);
        EXPECT_EQ(result.exitStatus, kUsage);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
}

}  // namespace
}  // namespace tarnik::test
