#include "services/ProgramWarnings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <vector>

#include "interp/ProgramState.h"
#include "services/SourceText.h"
#include "support/CliRunner.h"
#include "support/ProgramExpectations.h"
#include "support/RecordingHost.h"
#include "support/TestSupport.h"

namespace tarnik {
namespace {

using test::utf8;

struct WarningCase {
    const char* name;
    std::initializer_list<std::u16string_view> lines;
    std::vector<std::string> warnings;  // "L: TEXT"
};

std::vector<std::string> warningsOf(std::initializer_list<std::u16string_view> lines)
{
    const LintResult result = lintProgram(test::editorText(lines));
    EXPECT_FALSE(result.translation.error.has_value()) << utf8(result.translation.errorLine());
    std::vector<std::string> found;
    for (const ProgramWarning& warning : result.warnings) found.push_back(std::to_string(warning.line) + ": " + utf8(warning.text));
    return found;
}

TEST(ProgramWarnings, WholeProgramsGiveTheirWarningsInLineOrder)
{
    const WarningCase cases[] = {
        {"clean program", {u"total = 0", u"for i = 1 to 3", u"    total = total + i", u"next", u"print total"}, {}},
        {"misspelt name",
         {u"total = 0", u"for i = 1 to 3", u"    total = total + i", u"next", u"print totl"},
         {"5: 变量 totl 从来没有赋值，读到的总是 0。是否想写 total？"}},
        {"read in a condition, no close name",
         {u"x = 1", u"if limit > x then print x"},
         {"2: 变量 limit 从来没有赋值，读到的总是 0。"}},
        {"input and for assign",
         {u"input n", u"for k = 1 to n", u"    print k * n", u"next"}, {}},
        {"input list with a prompt assigns every name",
         {u"input \"两个数：\"; a, b", u"print a + b"}, {}},
        {"names inside literals are text", {u"print \"total\"; 1"}, {}},
        {"operator words are no names", {u"x = 7 mod 3 and not 0", u"print abs(x) + sqr(x)"}, {}},
        {"first reading line, once per name",
         {u"print speed", u"print speed * 2", u"speed = 1"}, {}},
        {"each unassigned name once",
         {u"print rate", u"print rate + tax"},
         {"1: 变量 rate 从来没有赋值，读到的总是 0。", "2: 变量 tax 从来没有赋值，读到的总是 0。"}},
        {"do while and loop until read",
         {u"do while count < 3", u"loop", u"do", u"loop until done"},
         {"1: 变量 count 从来没有赋值，读到的总是 0。",
          "1: 条件里的变量 count 从来没有赋值，总是 0，所以这个条件总是成立，结果永远不变。",
          "4: 变量 done 从来没有赋值，读到的总是 0。",
          "4: 条件里的变量 done 从来没有赋值，总是 0，所以这个条件总是不成立，结果永远不变。"}},
        {"select case reads its selector",
         {u"select case choice", u"case 1", u"    print 1", u"end select"},
         {"2: 变量 choice 从来没有赋值，读到的总是 0。",
          "2: 条件里的变量 choice 从来没有赋值，总是 0，所以这个条件总是不成立，结果永远不变。"}},
        {"goto a missing label",
         {u"x = 1", u"goto 200", u"100 print x"},
         {"2: Goto 200：没有一行的行号是 200，运行到这里会停止。"}},
        {"gosub a missing label, and a label that exists",
         {u"gosub 100", u"gosub 300", u"end", u"100 return"},
         {"2: Gosub 300：没有一行的行号是 300，运行到这里会停止。"}},
        {"label on a line with nothing else is no target",
         {u"goto 10", u"10", u"print 1"},
         {"1: Goto 10：没有一行的行号是 10，运行到这里会停止。"}},
        {"both kinds, sorted by line",
         {u"goto 50", u"prnt = 1", u"print prnts", u"50 end"},
         {"2: 这一行永远不会运行：第1行的 Goto 50 总是跳走，中间又没有行号可以跳到这里。",
          "2: 变量 prnt 赋了值，可是程序里没有一处读它，这个值没有用上。",
          "3: 变量 prnts 从来没有赋值，读到的总是 0。是否想写 prnt？"}},
        {"Chinese names as the word reader reads them",
         {u"总 = 10", u"print 宗 * 2"},
         {"1: 变量 总 赋了值，可是程序里没有一处读它，这个值没有用上。",
          "2: 变量 宗 从来没有赋值，读到的总是 0。是否想写 总？"}},
        {"a Chinese name assigned and read is no warning", {u"和 = 1", u"print 和 + 1"}, {}},
        {"within a line in the order of position, not of the alphabet",
         {u"print zeta + alpha; mid"},
         {"1: 变量 zeta 从来没有赋值，读到的总是 0。", "1: 变量 alpha 从来没有赋值，读到的总是 0。",
          "1: 变量 mid 从来没有赋值，读到的总是 0。"}},
        {"a jump after a name on one line",
         {u"if flag then goto 40"},
         {"1: 变量 flag 从来没有赋值，读到的总是 0。",
          "1: 条件里的变量 flag 从来没有赋值，总是 0，所以这个条件总是不成立，结果永远不变。",
          "1: Goto 40：没有一行的行号是 40，运行到这里会停止。"}},
        {"a name after a jump on one line, a full-width slip last",
         {u"if 1 then goto 40 else print late; ｘ"},
         {"1: Goto 40：没有一行的行号是 40，运行到这里会停止。", "1: 变量 late 从来没有赋值，读到的总是 0。",
          "1: 此处是全角字母“ｘ”，程序需要半角“x”"}},
        {"names found after the rewrite of operator words",
         {u"x2 = 1", u"print x2and3 + y2and1"},
         {"2: 变量 y2 从来没有赋值，读到的总是 0。是否想写 x2？"}},
        {"a name in a comment or a literal is not read", {u"print \"宗\" ' 宗"}, {}},
        {"jump and name warnings interleave",
         {u"count = 1", u"print cout", u"goto 9", u"9 print 1", u"goto 8"},
         {"1: 变量 count 赋了值，可是程序里没有一处读它，这个值没有用上。",
          "2: 变量 cout 从来没有赋值，读到的总是 0。是否想写 count？",
          "5: Goto 8：没有一行的行号是 8，运行到这里会停止。"}},
    };
    for (const WarningCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(warningsOf(c.lines), c.warnings);
    }
}

// Each kind where it is certain, and correct programs that look close to
// it without a warning: a wrong warning teaches the wrong thing.
TEST(ProgramWarnings, CertainMistakesAreWarnedAndCorrectProgramsAreNot)
{
    const WarningCase cases[] = {
        {"a line after END", {u"print 1", u"end", u"print 2"},
         {"3: 这一行永远不会运行：第2行的 End 让程序在那里结束，中间又没有行号可以跳到这里。"}},
        {"one warning for the lines a GOTO jumps over",
         {u"goto 30", u"print 1", u"print 2", u"30 print 3"},
         {"2: 这一行永远不会运行：第1行的 Goto 30 总是跳走，中间又没有行号可以跳到这里。"}},
        {"a line after the RETURN of a subroutine only GOSUB reaches",
         {u"gosub 100", u"end", u"100 print \"子程序\"", u"return", u"print \"多余\""},
         {"5: 这一行永远不会运行：第4行的 Return 总是回到 Gosub 或 Goto 的下一行，中间又没有行号可以跳到这里。"}},
        {"both branches of a one-line IF jump",
         {u"input a", u"if a then goto 10 else goto 20", u"print 0", u"10 print 1", u"20 print 2"},
         {"3: 这一行永远不会运行：第2行的 Goto 20 总是跳走，中间又没有行号可以跳到这里。"}},
        {"a GOTO out of a loop body",
         {u"for i = 1 to 3", u"    goto 10", u"    print i", u"next", u"10 end"},
         {"3: 这一行永远不会运行：第2行的 Goto 10 总是跳走，中间又没有行号可以跳到这里。"}},
        {"END in a branch: ELSE and END IF go on",
         {u"input a", u"if a > 1 then", u"    end", u"else", u"    print 2", u"end if", u"print 3"}, {}},
        {"a one-line IF that ends", {u"input a", u"if a then end", u"print a"}, {}},
        {"a labelled line is meant to be jumped to", {u"goto 20", u"10 print 1", u"20 print 2"}, {}},
        {"RETURN with nothing to go back to goes on", {u"100 print 1", u"return", u"print 2"}, {}},
        {"the line after GOSUB runs after RETURN",
         {u"gosub 100", u"print \"回来了\"", u"end", u"100 print \"子程序\"", u"return"}, {}},
        {"EXIT FOR and EXIT DO go on after their loops",
         {u"for i = 1 to 3", u"    if i = 2 then exit for", u"next", u"do", u"    exit do", u"loop until i > 0",
          u"print i"},
         {}},
        {"the FOR variable assigned in its loop",
         {u"for i = 1 to 10", u"    i = i + 1", u"    print i", u"next"},
         {"2: 变量 i 是第1行 For 循环的计数变量，在循环里又给它赋值，Next 会从改过的值接着数。"}},
        {"the FOR variable asked for and counted again in its loop",
         {u"for k = 1 to 3", u"    input \"k：\"; k", u"    for k = 1 to 2", u"    next", u"next"},
         {"2: 变量 k 是第1行 For 循环的计数变量，在循环里又给它赋值，Next 会从改过的值接着数。",
          "3: 变量 k 是第1行 For 循环的计数变量，在循环里又给它赋值，Next 会从改过的值接着数。"}},
        {"a FOR variable assigned after its loop or in another one",
         {u"for i = 1 to 2", u"next", u"for j = 1 to 2", u"    i = j", u"next", u"i = i * 2", u"print i"}, {}},
        {"a condition on a misspelt name",
         {u"input n", u"if m > 0 then print n"},
         {"2: 变量 m 从来没有赋值，读到的总是 0。是否想写 n？",
          "2: 条件里的变量 m 从来没有赋值，总是 0，所以这个条件总是不成立，结果永远不变。"}},
        {"a loop condition on two names never assigned",
         {u"do while a + b = 0", u"    exit do", u"loop"},
         {"1: 变量 a 从来没有赋值，读到的总是 0。",
          "1: 条件里的变量 a、b 都从来没有赋值，总是 0，所以这个条件总是成立，结果永远不变。",
          "1: 变量 b 从来没有赋值，读到的总是 0。"}},
        {"a condition with one assigned name can change",
         {u"input x", u"if x > 0 and y = 0 then print x"}, {"2: 变量 y 从来没有赋值，读到的总是 0。是否想写 x？"}},
        {"a condition of numbers alone is meant", {u"do while 1", u"    exit do", u"loop"}, {}},
        {"a value assigned and never read",
         {u"input n", u"total = n * 2", u"print n"},
         {"2: 变量 total 赋了值，可是程序里没有一处读它，这个值没有用上。"}},
        {"INPUT and FOR variables need not be read; a counter reads itself",
         {u"input n", u"for i = 1 to 3", u"next", u"c = 0", u"c = c + 1"}, {}},
        {"a full-width comma runs two INPUT names into one",
         {u"input a，b", u"print a + b"},
         {"1: Input a，b 里的“，”是全角，算作变量名的一部分：运行时只问一次，答案存进名叫 a，b 的一个变量，a、b "
          "都得不到这次输入的值。请改成半角“,”。"}},
        {"a full-width semicolon after a prompt",
         {u"input \"数：\", a；", u"print a"},
         {"1: Input a； 里的“；”是全角，算作变量名的一部分：运行时只问一次，答案存进名叫 a； 的一个变量，a "
          "得不到这次输入的值。请改成半角“;”。"}},
        {"one warning for an item with two of them, and the label and capitals of the line",
         {u"10 INPUT X，Y；Z", u"print x + y + z; (1，2)"},
         {"1: Input x，y；z 里的“，”是全角，算作变量名的一部分：运行时只问一次，答案存进名叫 x，y；z 的一个变量，"
          "x、y、z 都得不到这次输入的值。请改成半角“,”。",
          "2: 此处是全角符号“，”，程序需要半角“,”"}},
        {"full-width text in an INPUT prompt is the prompt's", {u"input \"两个数，用逗号：\"; a, b", u"print a + b"}, {}},
    };
    for (const WarningCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(warningsOf(c.lines), c.warnings);
    }
}

// The examples and the programs that run without an error are correct: they
// get no warning; only two test programs show on purpose what a warning is
// about (what END does, what a name never assigned reads). No example does.
TEST(ProgramWarnings, ExamplesAndErrorFreeProgramsGetNoWarnings)
{
    const std::map<std::string, std::vector<std::string>> shownOnPurpose{
        {"comparisons_give_one_or_zero.tnk", {"2: 变量 x 从来没有赋值，读到的总是 0。"}},
        {"end_stops_the_run.tnk", {"3: 这一行永远不会运行：第2行的 End 让程序在那里结束，中间又没有行号可以跳到这里。"}},
    };
    std::vector<std::filesystem::path> programs = test::examplePrograms();
    for (const auto& entry : std::filesystem::recursive_directory_iterator(TARNIK_PROGRAMS_DIR)) {
        if (entry.path().extension() != ".tnk") continue;
        const std::string source = test::readFileBytes(entry.path());
        if (test::readExpectations(source).errorLine.empty()) programs.push_back(entry.path());
    }
    ASSERT_GT(programs.size(), 50U);  // the folders were found
    for (const std::filesystem::path& program : programs) {
        SCOPED_TRACE(program.string());
        const LintResult result = lintProgram(decodeSource(test::readFileBytes(program)).text);
        std::vector<std::string> found;
        for (const ProgramWarning& warning : result.warnings) found.push_back(std::to_string(warning.line) + ": " + utf8(warning.text));
        const auto onPurpose = shownOnPurpose.find(program.filename().string());
        EXPECT_EQ(found, onPurpose == shownOnPurpose.end() ? std::vector<std::string>{} : onPurpose->second);
    }
}

TEST(ProgramWarnings, TranslationErrorGivesNoWarnings)
{
    const LintResult result = lintProgram(test::editorText({u"print totl", u"for i = 1 to 3"}));
    ASSERT_TRUE(result.translation.error.has_value());
    EXPECT_EQ(utf8(result.translation.errorLine()), "错误 303: For没有Next(第2行)");
    EXPECT_TRUE(result.warnings.empty());
}

// A warning points where its statement stands: the THEN part, not the condition.
TEST(ProgramWarnings, LoopVariableWarningPointsAtTheAssignment)
{
    const LintResult result = lintProgram(test::editorText({u"for i = 1 to 9", u"    if i = 5 then i = 8", u"next"}));
    ASSERT_EQ(result.warnings.size(), 1U);
    EXPECT_EQ(result.warnings[0].line, 2);
    EXPECT_EQ(result.warnings[0].column, 18U);
}

struct SuggestionCase {
    std::u16string_view name;
    std::vector<std::u16string> assigned;
    std::optional<std::u16string> meant;
};

// One or two insertions, deletions or changes, whatever the length of the
// names; the nearest wins, and of names equally near the first assigned.
TEST(ProgramWarnings, NearestNameIsTheClosestWithinTwoEdits)
{
    const SuggestionCase cases[] = {
        {u"totl", {u"total"}, u"total"},              // one deletion
        {u"cnt", {u"count"}, u"count"},               // two insertions
        {u"toatl", {u"total"}, u"total"},             // a swap is two changes
        {u"tota", {u"x", u"total"}, u"total"},
        {u"summ", {u"sum"}, u"sum"},
        {u"tl", {u"total"}, std::nullopt},            // three edits
        {u"totlx", {u"total"}, u"total"},
        {u"tax", {u"total"}, std::nullopt},
        {u"sn", {u"sum"}, u"sum"},                    // short names too
        {u"a", {u"b"}, u"b"},
        {u"x2", {u"x1"}, u"x1"},
        {u"abcd", {u"abce", u"abcf"}, u"abce"},       // equally near: the first assigned
        {u"abcd", {u"abcf", u"abce"}, u"abcf"},
        {u"abcd", {u"abxy", u"abce"}, u"abce"},       // the nearer one, though assigned later
        {u"宗", {u"总"}, u"总"},                        // Chinese names are names
        {u"abcd", {}, std::nullopt},
    };
    for (const SuggestionCase& c : cases) {
        SCOPED_TRACE(utf8(c.name));
        EXPECT_EQ(nearestName(c.name, c.assigned), c.meant);
    }
}

}  // namespace
}  // namespace tarnik
