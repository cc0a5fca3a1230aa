// The language reference (src/ui/help) and its error page: every example
// runs through the core without an error and prints what the page shows
// under it, every statement has its entry, and every link leads somewhere.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <set>
#include <sstream>

#include "services/help/ErrorHelp.h"
#include "interp/ProgramState.h"
#include "services/SourceText.h"
#include "support/RecordingHost.h"
#include "support/TestSupport.h"

namespace tarnik {
namespace {

using test::utf8;

const std::filesystem::path kHelpDir{TARNIK_HELP_DIR};

std::string readText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string unescaped(std::string text)
{
    static const std::pair<std::string, std::string> kEntities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#10;", "\n"}, {"&amp;", "&"}};
    for (const auto& [entity, character] : kEntities) {
        for (std::size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1)) {
            text.replace(at, entity.size(), character);
        }
    }
    return text;
}

struct PageExample {
    std::string program;
    std::string answers;
    std::optional<std::string> output;  // the console text the page shows under it
};

std::vector<PageExample> examplesOf(const std::string& page)
{
    static const std::regex kExample(
        R"re(<pre class="example"(?: data-input="([^"]*)")?>([^<]*)</pre>(\s*<pre class="output">([^<]*)</pre>)?)re");
    std::vector<PageExample> examples;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), kExample); it != std::sregex_iterator(); ++it) {
        PageExample example{unescaped((*it)[2]), unescaped((*it)[1]), std::nullopt};
        if ((*it)[3].matched) example.output = unescaped((*it)[4]);
        examples.push_back(std::move(example));
    }
    return examples;
}

std::vector<std::filesystem::path> referencePages()
{
    std::vector<std::filesystem::path> pages;
    for (const auto& entry : std::filesystem::directory_iterator(kHelpDir)) {
        if (entry.path().extension() == ".html") pages.push_back(entry.path());
    }
    std::sort(pages.begin(), pages.end());
    return pages;
}

void expectRuns(const PageExample& example)
{
    test::RecordingHost host;
    std::u16string answers = test::utf16(example.answers);
    for (std::size_t start = 0; start < answers.size();) {
        std::size_t end = std::min(answers.find(u'\n', start), answers.size());
        host.answers.push_back(answers.substr(start, end - start));
        start = end + 1;
    }
    std::u16string source;
    for (char16_t c : test::utf16(example.program)) {
        if (c == u'\n') source += u'\r';
        source += c;
    }
    const test::RunResult result = test::runProgram(source, host);
    EXPECT_EQ(utf8(result.error), "") << example.program;
    if (!example.output) return;
    std::string output = utf8(result.output);
    if (output.ends_with('\n')) output.pop_back();
    EXPECT_EQ(output, *example.output) << example.program;
}

TEST(LanguageReference, EveryExampleRunsAndPrintsWhatThePageShows)
{
    std::size_t count = 0;
    for (const std::filesystem::path& page : referencePages()) {
        SCOPED_TRACE(page.filename().string());
        for (const PageExample& example : examplesOf(readText(page))) {
            expectRuns(example);
            ++count;
        }
    }
    EXPECT_GE(count, 20U);
}

TEST(LanguageReference, EveryFixOnTheErrorPageRuns)
{
    const std::vector<PageExample> fixes = examplesOf(utf8(errorExplanationsHtml()));
    std::size_t withExample = 0;
    for (const ErrorText* row : kErrorTable) withExample += explanationOf(*row).fix.program.empty() ? 0 : 1;
    EXPECT_EQ(fixes.size(), withExample);
    for (const PageExample& fix : fixes) expectRuns(fix);
}

TEST(LanguageReference, ErrorPageExplainsEveryNumberUnderItsAnchor)
{
    const std::string page = utf8(errorExplanationsHtml());
    for (const ErrorText* row : kErrorTable) {
        const std::string number = std::to_string(row->number);
        EXPECT_NE(page.find("<h2 id=\"e" + number + "\">错误 " + number + ": "), std::string::npos) << number;
        EXPECT_NE(page.find("错误 " + number + ": " + utf8(row->text) + "</h2>"), std::string::npos) << number;
    }
    EXPECT_NE(page.find("<pre class=\"example\" data-input=\"50\">Input x\nPrint x * 2</pre>"), std::string::npos);
    EXPECT_NE(page.find("<pre class=\"mistake\">a = 0\nPrint 10 / a</pre>"), std::string::npos);
}

TEST(LanguageReference, EveryStatementHasAnEntry)
{
    const std::string page = readText(kHelpDir / "statements.html");
    for (const char* id : {"print", "input", "assignment", "if", "for", "exit-for", "do-while", "loop-until", "exit-do",
                           "select", "goto", "gosub", "end", "stop", "comment"}) {
        EXPECT_NE(page.find(std::string("<h2 id=\"") + id + "\">"), std::string::npos) << id;
    }
}

TEST(LanguageReference, LinksLeadToPagesThatExistAndAllAreCompiledIn)
{
    const std::string resources = readText(kHelpDir / "help.qrc");
    static const std::regex kLink(R"re(href="([a-z]+\.(?:html|css))(#[a-z0-9-]+)?")re");
    for (const std::filesystem::path& page : referencePages()) {
        const std::string name = page.filename().string();
        EXPECT_NE(resources.find("<file>" + name + "</file>"), std::string::npos) << name;
        const std::string text = readText(page);
        for (auto it = std::sregex_iterator(text.begin(), text.end(), kLink); it != std::sregex_iterator(); ++it) {
            const std::string target = (*it)[1];
            if (target == "errors.html") continue;  // rendered from the error table
            EXPECT_TRUE(std::filesystem::exists(kHelpDir / target)) << name << " -> " << target;
            if ((*it)[2].matched) {
                const std::string anchor = std::string((*it)[2]).substr(1);
                EXPECT_NE(readText(kHelpDir / target).find("id=\"" + anchor + "\""), std::string::npos)
                    << name << " -> " << target << "#" << anchor;
            }
        }
    }
}

}  // namespace
}  // namespace tarnik
