#pragma once
// What each error means to a beginner, why it usually happens, and a small
// program that makes the mistake next to the same program mended. One entry
// per row of the error table (expr/Errors.h), under the row's name (ErrorHelp.cpp
// lists them from the table, so a row without one does not compile); the
// examples are real programs: a test runs every mistake and checks that it
// gives its error, and runs every fix and checks that it ends normally.
#include <string_view>

namespace tarnik {

struct ErrorExample {
    std::u16string_view program = {};  // lines separated by "\n"
    std::u16string_view answers = {};  // INPUT answers, one a line; when they run out, the input has ended
};

struct ErrorExplanation {
    std::u16string_view meaning;  // what the error means, in plain words
    std::u16string_view causes;   // the usual causes, one a line
    ErrorExample mistake;         // no program: an internal check that no program reaches
    ErrorExample fix;
};

namespace explanation {

inline constexpr std::u16string_view kInternalCheck =
    u"这是 Tarnik 内部的自我检查，正常的程序不会遇到它。如果你看到了，请把程序保存下来发给老师或开发者。";

inline constexpr ErrorExplanation InvalidCall{
    u"算式要做的计算没有结果，或者语句的格式不完整。",
    u"对负数开平方：sqr(-9) 没有结果。\n"
    u"负数的小数次方，例如 (-8) ^ 0.5。\n"
    u"For 语句缺少 To，例如 For i = 1 10。",
    {u"x = -9\nPrint sqr(x)"},
    {u"x = -9\nPrint sqr(abs(x))"}};

inline constexpr ErrorExplanation Overflow{
    u"数太大了，超出了能表示的范围。",
    u"For 的起点、终点和步长，Goto 的行号，都必须在 -32768 到 32767 之间。\n"
    u"mod 两边的数超过了约 21 亿。\n"
    u"算出的结果太大，例如 10 ^ 400，或者 0 / 0。\n"
    u"输入的数太大。",
    {u"For i = 1 To 50000\n    s = s + i\nNext\nPrint s"},
    {u"i = 1\nDo While i <= 50000\n    s = s + i\n    i = i + 1\nLoop\nPrint s"}};

inline constexpr ErrorExplanation SubscriptOutOfRange{
    u"算式里的运算符找不到要计算的数。",
    u"右括号比左括号多，例如 (1 + 2) * 3)。\n"
    u"运算符后面什么也没有，例如 x = +。",
    {u"x = (1 + 2) * 3)\nPrint x"},
    {u"x = (1 + 2) * 3\nPrint x"}};

inline constexpr ErrorExplanation DivisionByZero{
    u"除数是 0：不能除以 0，也不能 mod 0。",
    u"除数是一个还没有赋值的变量（变量一开始都是 0）。\n"
    u"变量名写错了，读到的是另一个值为 0 的新变量。\n"
    u"输入了 0。",
    {u"a = 0\nPrint 10 / a"},
    {u"a = 0\nIf a <> 0 Then Print 10 / a Else Print \"不能除以 0\""}};

inline constexpr ErrorExplanation TypeMismatch{
    u"Input 得到的回答不是一个数。这个语言只有数，Input 只能读数。",
    u"用中文输入法的全角数字回答，例如 ５０；请切换到半角（英文）再输入 50。\n"
    u"回答里有文字或全角符号，例如 50元、３．５。\n"
    u"想读入一段文字：这个语言没有字符串变量。",
    {u"Input x\nPrint x * 2", u"５０"},
    {u"Input x\nPrint x * 2", u"50"}};

inline constexpr ErrorExplanation InputPastEnd{
    u"Input 要读一个回答，但输入已经结束了（只在 tarnik-cli 中出现）。",
    u"用 tarnik-cli run 运行时，给出的输入数据比程序要读的少。\n"
    u"输入数据文件的行数不够。",
    {u"Input x\nPrint x"},
    {u"Input x\nPrint x", u"7"}};

inline constexpr ErrorExplanation StepIsZero{
    u"For 的步长是 0，循环变量永远不会变，循环就永远不会结束。",
    u"Step 后面写了 0，或者写了一个还没有赋值的变量（变量一开始都是 0）。",
    {u"For i = 1 To 5 Step 0\n    Print i\nNext"},
    {u"For i = 1 To 5 Step 1\n    Print i\nNext"}};

inline constexpr ErrorExplanation JumpTargetNotNumeric{
    u"Goto 和 Gosub 后面只能写一个数字行号。",
    u"把名字当作行号，例如 Goto ending；行号只能是写在行首的数字。\n"
    u"写了算式或变量，例如 Goto n * 10。",
    {u"Goto ending\nPrint \"跳过\"\n100 Print \"结束\""},
    {u"Goto 100\nPrint \"跳过\"\n100 Print \"结束\""}};

inline constexpr ErrorExplanation LabelNotFound{
    u"Goto 或 Gosub 要去的行号在程序里找不到。",
    u"行号写错了，或者那一行被删掉了。\n"
    u"行号要写在那一行的最前面，例如 100 Print \"结束\"。",
    {u"Goto 200\nPrint \"跳过\"\n100 Print \"结束\""},
    {u"Goto 100\nPrint \"跳过\"\n100 Print \"结束\""}};

inline constexpr ErrorExplanation LabelZero{
    u"Goto 或 Gosub 后面写了 0，行号 0 不能使用。",
    u"行号从 1 开始写，例如 10、20、100。",
    {u"Goto 0\nPrint \"跳过\"\n100 Print \"结束\""},
    {u"Goto 100\nPrint \"跳过\"\n100 Print \"结束\""}};

inline constexpr ErrorExplanation IfWithoutThenAtRun{
    u"ElseIf 的条件后面缺少 Then。",
    u"ElseIf 这一行和 If 一样，要以 Then 结尾。",
    {u"x = 2\nIf x = 1 Then\n    Print \"一\"\nElseIf x = 2\n    Print \"二\"\nEnd If"},
    {u"x = 2\nIf x = 1 Then\n    Print \"一\"\nElseIf x = 2 Then\n    Print \"二\"\nEnd If"}};

inline constexpr ErrorExplanation ReservedName{
    u"用语言的关键字当作变量名，例如 step、to、print、next、end。",
    u"变量名和关键字重名：换一个名字，例如 stepSize、total。",
    {u"step = 2\nPrint step"},
    {u"stepSize = 2\nPrint stepSize"}};

inline constexpr ErrorExplanation EmptyVariableName{
    u"等号左边没有写变量名。",
    u"一行以 = 开头，忘了写要赋值的变量。",
    {u"= 5\nPrint x"},
    {u"x = 5\nPrint x"}};

inline constexpr ErrorExplanation NameStartsWithDigit{
    u"变量名不能以数字开头。",
    u"变量名写成 2x、1st；改成 x2、first。\n"
    u"把比较写成了赋值的形式，例如单独一行 2 = x。",
    {u"2x = 5\nPrint 2x"},
    {u"x2 = 5\nPrint x2"}};

inline constexpr ErrorExplanation InvalidVariableName{
    u"等号左边的变量名里有不允许的字符：变量名只能由英文字母和数字组成。",
    u"变量名带 $，例如 name$ = \"Tom\"：这个语言没有字符串变量，也不用 $。\n"
    u"写了 +=、-=：这个语言只能写 x = x + 1。\n"
    u"变量名中间有空格、点或全角字符。\n"
    u"赋值语句写成了 a <= 5 这样的比较。",
    {u"x = 1\nx += 1\nPrint x"},
    {u"x = 1\nx = x + 1\nPrint x"}};

inline constexpr ErrorExplanation StatementNotEnded{
    u"这一行的算式读不完整：有看不懂的写法。",
    u"用了这个语言没有的函数或数组：rnd、int、len、dim a(10) 都没有；只有 abs 和 sqr。\n"
    u"科学记数法 1e20 不能写在程序里。\n"
    u"用了全角的标点：，；：（）“”。请切换到半角（英文）标点。\n"
    u"两个数之间缺少运算符，例如 2x 或 3 4。\n"
    u"左括号没有配对的右括号。",
    {u"a = 3\nb = 4\nPrint a + b，a * b"},
    {u"a = 3\nb = 4\nPrint a + b, a * b"}};

inline constexpr ErrorExplanation StatementInvalid{u"算式的结尾不正确。", kInternalCheck, {}, {}};

inline constexpr ErrorExplanation MissingLeftParen{
    u"右括号 ) 前面没有配对的左括号 (。",
    u"多写了一个右括号，或者左括号写成了全角的（。",
    {u"a = 2\nPrint a * 3)"},
    {u"a = 2\nPrint (a * 3)"}};

inline constexpr ErrorExplanation BadExpression{
    u"这一行的双引号或括号没有配对：一段文字要用两个双引号 \" 括起来，每个左括号 ( 后面都要有右括号 )。",
    u"漏写了结尾的双引号，例如 Print \"hello。\n"
    u"漏写了右括号，例如 Print (1 + 2，应写成 Print (1 + 2)。\n"
    u"用了全角的引号 “”，它们不算双引号。\n"
    u"文字中间又写了双引号。",
    {u"Print \"hello"},
    {u"Print \"hello\""}};

inline constexpr ErrorExplanation MissingQuote{u"读到的文字缺少结尾的双引号。", kInternalCheck, {}, {}};

inline constexpr ErrorExplanation CannotReplace{u"算式的改写出了问题。", kInternalCheck, {}, {}};

inline constexpr ErrorExplanation IfWithoutThen{
    u"If 的条件后面缺少 Then。",
    u"If 一行的格式是 If 条件 Then，或者 If 条件 Then 语句。\n"
    u"Then 写成了全角字符或拼错了。",
    {u"x = 2\nIf x > 1\n    Print x\nEnd If"},
    {u"x = 2\nIf x > 1 Then\n    Print x\nEnd If"}};

inline constexpr ErrorExplanation SelectLast{
    u"Select Case 是程序的最后一行，后面没有 Case。",
    u"Select Case 还没写完：后面要有 Case 分支和 End Select。",
    {u"x = 1\nSelect Case x"},
    {u"x = 1\nSelect Case x\nCase 1\n    Print \"一\"\nEnd Select"}};

inline constexpr ErrorExplanation SelectNotFollowedByCase{
    u"Select Case 的下一行必须是一个 Case。",
    u"在 Select Case 和第一个 Case 之间写了语句或注释。\n"
    u"第一个分支就是 Case Else。",
    {u"x = 1\nSelect Case x\nPrint x\nCase 1\n    Print \"一\"\nEnd Select"},
    {u"x = 1\nPrint x\nSelect Case x\nCase 1\n    Print \"一\"\nEnd Select"}};

inline constexpr ErrorExplanation CaseWithoutSelect{
    u"Case 不在任何 Select Case 里面。",
    u"忘了写 Select Case，或者 End Select 写早了。",
    {u"x = 1\nCase 1\n    Print \"一\""},
    {u"x = 1\nSelect Case x\nCase 1\n    Print \"一\"\nEnd Select"}};

inline constexpr ErrorExplanation EndSelectWithoutSelect{
    u"End Select 找不到它要结束的 Select Case。",
    u"End Select 多写了一个。",
    {u"x = 1\nSelect Case x\nCase 1\n    Print \"一\"\nEnd Select\nEnd Select"},
    {u"x = 1\nSelect Case x\nCase 1\n    Print \"一\"\nEnd Select"}};

inline constexpr ErrorExplanation CaseWithString{
    u"Case 后面写了带双引号的文字；这个语言只有数，Case 只能比较数。",
    u"想按文字分支：请用数字代替，例如 1 表示“是”，2 表示“否”。",
    {u"x = 1\nSelect Case x\nCase \"1\"\n    Print \"一\"\nEnd Select"},
    {u"x = 1\nSelect Case x\nCase 1\n    Print \"一\"\nEnd Select"}};

inline constexpr ErrorExplanation SelectWithoutEndSelect{
    u"有一个 Select Case 到程序结尾都没有 End Select。",
    u"忘了写 End Select。",
    {u"x = 1\nSelect Case x\nCase 1\n    Print \"一\"\nPrint \"完\""},
    {u"x = 1\nSelect Case x\nCase 1\n    Print \"一\"\nEnd Select\nPrint \"完\""}};

inline constexpr ErrorExplanation ElseIfWithoutIf{
    u"ElseIf 不在任何多行 If 里面。",
    u"前面的 If 写成了一行的形式（Then 后面跟着语句），那个 If 在同一行就结束了。\n"
    u"忘了写 If，或者 End If 写早了。",
    {u"x = 0\nIf x > 0 Then Print \"正数\"\nElseIf x < 0 Then\n    Print \"负数\"\nEnd If"},
    {u"x = 0\nIf x > 0 Then\n    Print \"正数\"\nElseIf x < 0 Then\n    Print \"负数\"\nEnd If"}};

inline constexpr ErrorExplanation EndIfWithoutIfFlatten{
    u"End If 找不到它要结束的 If。",
    u"一行的 If（Then 后面跟着语句）不需要 End If。\n"
    u"End If 多写了一个。",
    {u"x = 2\nIf x > 1 Then Print x\nEnd If"},
    {u"x = 2\nIf x > 1 Then Print x"}};

inline constexpr ErrorExplanation ElseWithoutIf{
    u"Else 不在任何 If 里面。",
    u"If 已经结束了，或者忘了写 If。",
    {u"x = 2\nElse\n    Print x"},
    {u"x = 2\nIf x > 5 Then\n    Print \"大\"\nElse\n    Print x\nEnd If"}};

inline constexpr ErrorExplanation EndIfWithoutIf{u"End If 找不到它的 If。", kInternalCheck, {}, {}};

inline constexpr ErrorExplanation ExitForOutsideLoop{
    u"Exit For 只能写在 For 循环里面。",
    u"想跳出的是 Do 循环：请写 Exit Do。\n"
    u"Exit For 写在了 Next 之后。",
    {u"x = 1\nDo While x < 10\n    If x = 3 Then Exit For\n    x = x + 1\nLoop"},
    {u"x = 1\nDo While x < 10\n    If x = 3 Then Exit Do\n    x = x + 1\nLoop"}};

inline constexpr ErrorExplanation NextWithoutFor{
    u"Next 找不到它要结束的 For。",
    u"Next 多写了一个。",
    {u"For i = 1 To 3\n    Print i\nNext\nNext"},
    {u"For i = 1 To 3\n    Print i\nNext"}};

inline constexpr ErrorExplanation LoopWithoutDoWhile{
    u"Loop（或 Wend）找不到它要结束的 Do While（或 While）。",
    u"用 Do 开头的循环要用 Loop Until 条件 结束，不是 Loop。\n"
    u"Loop 或 Wend 多写了一个。",
    {u"x = 0\nDo\n    x = x + 1\nLoop\nPrint x"},
    {u"x = 0\nDo\n    x = x + 1\nLoop Until x < 3\nPrint x"}};

inline constexpr ErrorExplanation LoopUntilWithoutDo{
    u"Loop Until 找不到它要结束的 Do。",
    u"用 Do While 开头的循环要用 Loop 结束，不是 Loop Until。",
    {u"x = 0\nDo While x < 3\n    x = x + 1\nLoop Until x < 3\nPrint x"},
    {u"x = 0\nDo While x < 3\n    x = x + 1\nLoop\nPrint x"}};

inline constexpr ErrorExplanation ExitDoOutsideLoop{
    u"Exit Do 只能写在 Do 循环里面。",
    u"想跳出的是 For 循环：请写 Exit For。",
    {u"For i = 1 To 10\n    If i = 3 Then Exit Do\nNext\nPrint i"},
    {u"For i = 1 To 10\n    If i = 3 Then Exit For\nNext\nPrint i"}};

inline constexpr ErrorExplanation ForWithoutNext{
    u"有一个 For 到程序结尾都没有配对的 Next。",
    u"忘了写 Next。\n"
    u"Next 后面写了变量名，例如 Next i：这里的 Next 不带变量名，只写 Next。\n"
    u"循环里面的 If、Do 没有结束，Next 被算到了里面。",
    {u"For i = 1 To 3\n    Print i\nNext i"},
    {u"For i = 1 To 3\n    Print i\nNext"}};

inline constexpr ErrorExplanation IfWithoutEndIf{
    u"有一个多行的 If 到程序结尾都没有 End If。",
    u"If 条件 Then 后面换了行，这样的 If 要用 End If 结束。\n"
    u"End If 写成了 EndIf（中间要有空格）。",
    {u"x = 2\nIf x > 1 Then\n    Print x"},
    {u"x = 2\nIf x > 1 Then\n    Print x\nEnd If"}};

inline constexpr ErrorExplanation DoWithoutLoopUntil{
    u"有一个 Do 到程序结尾都没有 Loop Until。",
    u"忘了写 Loop Until 条件。注意：Loop Until 在条件成立时回到 Do 再做一遍。",
    {u"x = 0\nDo\n    x = x + 1\nPrint x"},
    {u"x = 0\nDo\n    x = x + 1\nLoop Until x < 3\nPrint x"}};

inline constexpr ErrorExplanation DoWhileWithoutLoop{
    u"有一个 While（或 Do While）到程序结尾都没有 Wend（或 Loop）。",
    u"忘了写 Wend 或 Loop。",
    {u"x = 0\nWhile x < 3\n    x = x + 1\nPrint x"},
    {u"x = 0\nWhile x < 3\n    x = x + 1\nWend\nPrint x"}};

}  // namespace explanation
}  // namespace tarnik
