#include "services/ProgramWarnings.h"

#include <gtest/gtest.h>

#include <vector>

#include "interp/ProgramState.h"
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
         {"1: 变量 count 从来没有赋值，读到的总是 0。", "4: 变量 done 从来没有赋值，读到的总是 0。"}},
        {"select case reads its selector",
         {u"select case choice", u"case 1", u"    print 1", u"end select"},
         {"2: 变量 choice 从来没有赋值，读到的总是 0。"}},
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
         {"3: 变量 prnts 从来没有赋值，读到的总是 0。是否想写 prnt？"}},
        {"Chinese names as the word reader reads them",
         {u"总 = 10", u"print 宗 * 2"},
         {"2: 变量 宗 从来没有赋值，读到的总是 0。是否想写 总？"}},
        {"a Chinese name assigned and read is no warning", {u"和 = 1", u"print 和 + 1"}, {}},
        {"within a line in the order of position, not of the alphabet",
         {u"print zeta + alpha; mid"},
         {"1: 变量 zeta 从来没有赋值，读到的总是 0。", "1: 变量 alpha 从来没有赋值，读到的总是 0。",
          "1: 变量 mid 从来没有赋值，读到的总是 0。"}},
        {"a jump after a name on one line",
         {u"if flag then goto 40"},
         {"1: 变量 flag 从来没有赋值，读到的总是 0。", "1: Goto 40：没有一行的行号是 40，运行到这里会停止。"}},
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
         {"2: 变量 cout 从来没有赋值，读到的总是 0。是否想写 count？",
          "5: Goto 8：没有一行的行号是 8，运行到这里会停止。"}},
    };
    for (const WarningCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(warningsOf(c.lines), c.warnings);
    }
}

TEST(ProgramWarnings, TranslationErrorGivesNoWarnings)
{
    const LintResult result = lintProgram(test::editorText({u"print totl", u"for i = 1 to 3"}));
    ASSERT_TRUE(result.translation.error.has_value());
    EXPECT_EQ(utf8(result.translation.errorLine()), "错误 303: For没有Next(第2行)");
    EXPECT_TRUE(result.warnings.empty());
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
