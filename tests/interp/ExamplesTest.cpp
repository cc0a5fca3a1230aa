// The example programs as the IDE's 示例 menu offers them: the list in
// examples/index.tsv describes each program once, and together the programs
// show every statement of the language at work. (They run with their
// expected output in tests/app/CliRunTest.cpp.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "expr/TextHelpers.h"
#include "interp/ProgramState.h"
#include "interp/RunController.h"
#include "services/SourceText.h"
#include "interp/clsCode.h"
#include "support/CliRunner.h"
#include "support/TestSupport.h"

namespace tarnik {
namespace {

using test::utf8;

const std::filesystem::path kExamplesDir{TARNIK_EXAMPLES_DIR};

struct ListedExample {
    std::string file;
    std::string description;
};

std::vector<ListedExample> listedExamples()
{
    std::ifstream list(kExamplesDir / "index.tsv", std::ios::binary);
    std::vector<ListedExample> listed;
    for (std::string line; std::getline(list, line);) {
        const std::size_t tab = line.find('\t');
        EXPECT_NE(tab, std::string::npos) << line;
        if (tab == std::string::npos) continue;
        listed.push_back({line.substr(0, tab), line.substr(tab + 1)});
    }
    return listed;
}

TEST(Examples, ListDescribesEveryProgramOnceInOneChineseLine)
{
    std::set<std::string> programs;
    for (const std::filesystem::path& program : test::examplePrograms()) programs.insert(program.filename().string());
    std::set<std::string> listed;
    for (const ListedExample& example : listedExamples()) {
        SCOPED_TRACE(example.file);
        EXPECT_TRUE(listed.insert(example.file).second) << "listed twice";
        EXPECT_EQ(example.description.find('\t'), std::string::npos);
        EXPECT_NE(example.description.find("："), std::string::npos) << "a topic, then what it shows";
        EXPECT_GT(example.description.size(), 12U);
    }
    EXPECT_EQ(listed, programs);
}

// The statement keyword of every line as written (WHILE, WEND and the SELECT
// CASE lines are rewritten by the translation), and of every record of the
// translated table (statements inside one-line IFs).
std::set<std::u16string> statementsOf(const std::filesystem::path& example, std::u16string& code)
{
    std::set<std::u16string> heads;
    const std::u16string text = decodeSource(test::readFileBytes(example)).text;
    const std::u16string lowered = LowerOutsideQuotes(text);
    for (std::u16string_view line : splitLines(lowered)) {
        line = trimBlanks(line);
        while (!line.empty() && ((line.front() >= u'0' && line.front() <= u'9') || line.front() == u' ')) {
            line.remove_prefix(1);  // a label
        }
        heads.insert(std::u16string(clsLine::headOf(line)));
    }
    clsCode translated;
    const RunOutcome outcome = TranslateProgram(text, translated);
    EXPECT_FALSE(outcome.error.has_value()) << utf8(outcome.errorLine());
    for (std::size_t index = 1; index < translated.Lines.size(); ++index) {
        heads.insert(std::u16string(translated.Lines[index].Head()));
        code += translated.Lines[index].strText + u"\n";
    }
    return heads;
}

TEST(Examples, TogetherTheyShowEveryStatementAndOperatorWord)
{
    std::set<std::u16string> heads;
    std::u16string code;  // the translated statements, without comments
    for (const std::filesystem::path& program : test::examplePrograms()) heads.merge(statementsOf(program, code));
    for (std::u16string_view statement :
         {u"print", u"input", u"", u"if", u"elseif", u"else", u"end if", u"for", u"next", u"exit for", u"do while",
          u"loop", u"while", u"wend", u"do", u"loop until", u"exit do", u"select case", u"case", u"case else",
          u"end select", u"goto", u"gosub", u"return", u"end", u"stop"}) {
        EXPECT_TRUE(heads.contains(std::u16string(statement))) << utf8(statement);
    }
    const std::string statements = utf8(code);
    for (const char* word : {"mod", "abs", "sqr", "and", "or", "xor", "not", "step"}) {
        EXPECT_TRUE(std::regex_search(statements, std::regex(std::string("(^|[^a-z])") + word + "([^a-z]|$)"))) << word;
    }
}

}  // namespace
}  // namespace tarnik
