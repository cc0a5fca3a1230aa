// 整理缩进: each case is a program and the program re-indented by its block
// structure, lines joined by "\n".
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "expr/TextHelpers.h"
#include "services/Reindentation.h"
#include "support/TestSupport.h"

namespace tarnik {
namespace {

std::u16string reindented(std::u16string_view program)
{
    std::vector<std::u16string_view> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = program.find(u'\n', start)) != std::u16string_view::npos; start = end + 1) {
        lines.push_back(program.substr(start, end - start));
    }
    lines.push_back(program.substr(start));
    const std::vector<std::optional<int>> blanks = blockIndentation(lines);
    EXPECT_EQ(blanks.size(), lines.size());
    std::u16string result;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) result += u'\n';
        result += blanks[i] ? withIndentation(lines[i], *blanks[i]) : std::u16string(lines[i]);
    }
    return result;
}

struct Case {
    const char* name;
    std::u16string program;
    std::u16string expected;
};

TEST(Reindentation, PlacesEveryLineByTheBlocksAroundIt)
{
    const Case cases[] = {
        {"flat lines lose their indentation", u"  x = 1\n\tprint x", u"x = 1\nprint x"},
        {"if, elseif, else, end if",
         u"if a > 1 then\nprint 1\n  elseif a = 1 then\nprint 2\n      else\nprint 3\n   end if",
         u"if a > 1 then\n    print 1\nelseif a = 1 then\n    print 2\nelse\n    print 3\nend if"},
        {"a one-line if opens nothing", u"if a then print a\nprint b", u"if a then print a\nprint b"},
        {"nested for and while",
         u"for i = 1 to 3\nfor j = 1 to 3\nwhile k < 3\nk = k + 1\nwend\nnext\nnext i",
         u"for i = 1 to 3\n    for j = 1 to 3\n        while k < 3\n            k = k + 1\n        wend\n    next\nnext i"},
        {"do loops of both kinds",
         u"do while x < 3\nx = x + 1\nloop\ndo\nx = x - 1\nloop until x = 0",
         u"do while x < 3\n    x = x + 1\nloop\ndo\n    x = x - 1\nloop until x = 0"},
        {"select case: cases one level in, their statements two",
         u"select case n\ncase 1\nprint 1\ncase 2 to 4, 6\nprint 2\ncase else\nprint 3\nend select",
         u"select case n\n    case 1\n        print 1\n    case 2 to 4, 6\n        print 2\n    case else\n        print 3\nend select"},
        {"keywords in any letter case",
         u"For i = 1 To 3\nIf i Mod 2 = 0 Then\nPrint i\nEnd If\nNext",
         u"For i = 1 To 3\n    If i Mod 2 = 0 Then\n        Print i\n    End If\nNext"},
        {"labels and comments read as the translator reads them",
         u"10 for i = 1 to 2 ' 外层\n' 注释 next\n20 print i\nnext ' 结束",
         u"10 for i = 1 to 2 ' 外层\n    ' 注释 next\n    20 print i\nnext ' 结束"},
        {"a then inside a comment or literal opens nothing",
         u"if a then print \"b then\"\nprint 1 ' if x then\nprint 2",
         u"if a then print \"b then\"\nprint 1 ' if x then\nprint 2"},
        {"blank lines stay as they are", u"for i = 1 to 2\n\n   \nnext", u"for i = 1 to 2\n\n   \nnext"},
        {"a closing line without its opener keeps its place",
         u"x = 1\n  next\n    end if\nprint x", u"x = 1\n  next\n    end if\nprint x"},
        {"a closing line of another block keeps its place",
         u"for i = 1 to 2\n  wend\nprint i\nnext", u"for i = 1 to 2\n  wend\n    print i\nnext"},
        {"from an unclosed block on nothing moves",
         u"  x = 1\nfor i = 1 to 2\n  if i then\n print i\n  end if\n print x",
         u"x = 1\nfor i = 1 to 2\n  if i then\n print i\n  end if\n print x"},
        {"a case outside a select keeps its place", u"   case 1\nprint 1", u"   case 1\nprint 1"},
        {"exit lines are statements", u"do\nexit do\nloop", u"do\n    exit do\nloop"},
        {"tabs in the indentation become blanks", u"for i = 1 to 2\n\t\tprint i\nnext", u"for i = 1 to 2\n    print i\nnext"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(test::utf8(reindented(c.program)), test::utf8(c.expected));
    }
}

TEST(Reindentation, AReindentedProgramStaysAsItIs)
{
    const std::u16string program =
        u"for i = 1 to 3\n    select case i\n        case 1\n            if i then\n                print i\n"
        u"            end if\n    end select\nnext";
    EXPECT_EQ(test::utf8(reindented(program)), test::utf8(program));
}

TEST(Reindentation, ALineEndingABlockGoesToTheIndentationOfItsOpeningLine)
{
    struct EndCase {
        const char* name;
        std::vector<std::u16string_view> before;
        std::u16string_view line;
        std::optional<int> blanks;
    };
    const EndCase cases[] = {
        {"end if", {u"  If a Then", u"      Print a"}, u"      End If", 2},
        {"else and elseif", {u"if a then", u"    print 1"}, u"    ElseIf b Then", 0},
        {"else after elseif", {u"if a then", u"elseif b then", u"    x = 1"}, u"    else", 0},
        {"next of the inner for", {u"for i = 1 to 3", u"    for j = 1 to 3", u"        print j"}, u"        next", 4},
        {"next of the outer for", {u"for i = 1 to 3", u"    for j = 1 to 3", u"    next"}, u"    next i", 0},
        {"loop until", {u"\tdo", u"\t\tx = x + 1"}, u"\t\tloop until x > 3", 4},
        {"wend", {u"while x", u"    x = x - 1"}, u"    wend", 0},
        {"case goes inside its select", {u"select case x", u"    case 1", u"        print 1"}, u"        case else", 4},
        {"end select", {u"  select case x", u"      case 1", u"          print 1"}, u"          end select", 2},
        {"with a label and a comment", {u"10 for i = 1 to 2", u"    print i"}, u"    20 next ' done", 0},
        {"a one-line if opens nothing", {u"if a then print 1", u"    x = 1"}, u"    end if", std::nullopt},
        {"another block is open inside", {u"for i = 1 to 3", u"    if i then"}, u"        next", std::nullopt},
        {"no block open", {u"x = 1"}, u"    loop", std::nullopt},
        {"a block closed before", {u"if a then", u"end if", u"    x = 1"}, u"    end if", std::nullopt},
        {"a line that opens", {u"for i = 1 to 3"}, u"    for j = 1 to 3", std::nullopt},
        {"a statement", {u"for i = 1 to 3"}, u"    print i", std::nullopt},
        {"a name that starts like a keyword", {u"for i = 1 to 3"}, u"    nextone = 1", std::nullopt},
    };
    for (const EndCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(blockEndIndentation(c.before, c.line), c.blanks);
    }
}

}  // namespace
}  // namespace tarnik
