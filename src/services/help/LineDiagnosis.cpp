#include "services/help/LineDiagnosis.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "expr/Errors.h"
#include "expr/LanguageWords.h"
#include "expr/NumberText.h"
#include "expr/TextHelpers.h"
#include "interp/ReplayHost.h"
#include "interp/TraceRecorder.h"
#include "interp/clsCode.h"
#include "services/help/ExpressionValue.h"
#include "services/help/LineWords.h"

namespace tarnik {
namespace {

using Kind = LineWord::Kind;
using Sentences = std::vector<std::u16string>;

std::u16string quoted(std::u16string_view text) { return std::u16string(u"「") + std::u16string(text) + u"」"; }

std::u16string lineText(std::int32_t line) { return std::u16string(u"第") + numberText(line) + u"行"; }

bool isSymbol(const LineWords& line, std::size_t index, std::u16string_view symbol)
{
    return index < line.words.size() && line.words[index].kind == Kind::Symbol && line.lower(line.words[index]) == symbol;
}

// Two symbols typed next to each other, as in "==" or "+=".
bool isPair(const LineWords& line, std::size_t index, char16_t first, char16_t second)
{
    if (index + 1 >= line.words.size()) return false;
    const LineWord& a = line.words[index];
    const LineWord& b = line.words[index + 1];
    return a.kind == Kind::Symbol && b.kind == Kind::Symbol && b.begin == a.end && line.typed[a.begin] == first &&
           line.typed[b.begin] == second;
}

bool isOperand(const LineWord& word) { return word.kind == Kind::Name || word.kind == Kind::Number; }

// "x == 1" -> "x = 1": a comparison written with two characters where one (or "<>") belongs.
void comparisonSlips(const LineWords& line, Sentences& out)
{
    for (std::size_t i = 1; i + 2 < line.words.size(); ++i) {
        const bool equals = isPair(line, i, u'=', u'=');
        const bool differs = isPair(line, i, u'!', u'=');
        if (!equals && !differs) continue;
        const std::u16string left(line.text(line.words[i - 1]));
        const std::u16string right(line.text(line.words[i + 2]));
        const std::u16string typed(line.span(line.words[i - 1], line.words[i + 2]));
        if (equals) {
            out.push_back(quoted(typed) + u"：比较是否相等只写一个「=」，写成 " + left + u" = " + right + u"。");
        } else {
            out.push_back(quoted(typed) + u"：不等于要写成「<>」，写成 " + left + u" <> " + right + u"。");
        }
    }
}

// "x++", "x += 2": shorthands of other languages; the assignment is written out.
void assignmentShorthands(const LineWords& line, Sentences& out)
{
    for (std::size_t i = 1; i + 1 < line.words.size(); ++i) {
        const LineWord& name = line.words[i - 1];
        if (name.kind != Kind::Name) continue;
        const std::u16string variable(line.text(name));
        for (char16_t op : {u'+', u'-'}) {
            if (!isPair(line, i, op, op)) continue;
            const std::u16string typed(line.span(name, line.words[i + 1]));
            out.push_back(quoted(typed) + u"：要让 " + variable + (op == u'+' ? u" 加 1" : u" 减 1") + u"，写成 " +
                          variable + u" = " + variable + u" " + op + u" 1。");
        }
        for (char16_t op : {u'+', u'-', u'*', u'/'}) {
            if (!isPair(line, i, op, u'=') || i + 2 >= line.words.size()) continue;
            const std::u16string rest(line.span(line.words[i + 2], line.words.back()));
            out.push_back(quoted(line.span(name, line.words.back())) + u"：要写成 " + variable + u" = " + variable + u" " +
                          op + u" " + rest + u"。");
        }
    }
}

std::u16string bracesText(const LineWords& line)
{
    std::u16string braces;
    for (const LineWord& word : line.words) {
        const std::u16string_view text = line.text(word);
        if ((text == u"{" || text == u"}") && braces.find(text) == std::u16string::npos) braces += text;
    }
    if (braces.empty()) return {};
    std::u16string named;
    for (char16_t brace : braces) named += quoted(std::u16string(1, brace));
    return named + u"：这里不用大括号把语句括起来，去掉它。";
}

constexpr std::u16string_view kBlockEnds =
    u"语句块用结束语句结束：For 用 Next，If … Then 用 End If，While 用 Wend，Do 用 Loop。";

void braces(const LineWords& line, Sentences& out)
{
    if (std::u16string text = bracesText(line); !text.empty()) {
        out.push_back(std::move(text));
        out.emplace_back(kBlockEnds);
    }
}

void elseIfInTwoWords(const LineWords& line, Sentences& out)
{
    if (line.is(0, u"else") && line.is(1, u"if")) {
        out.push_back(quoted(line.span(line.words[0], line.words[1])) + u"：这里的两个词要连起来，写成 ElseIf。");
    }
}

void semicolonAtTheEnd(const LineWords& line, Sentences& out)
{
    if (line.words.size() < 2 || line.is(0, u"print") || !isSymbol(line, line.words.size() - 1, u";")) return;
    out.push_back(u"行末的「;」：一条语句写完直接换行，不用分号结束，去掉它。");
}

// The index of the ")" that closes the "(" at `open`; words.size() when none.
std::size_t closingBracket(const LineWords& line, std::size_t open)
{
    int depth = 0;
    for (std::size_t i = open; i < line.words.size(); ++i) {
        if (isSymbol(line, i, u"(")) ++depth;
        if (isSymbol(line, i, u")") && --depth == 0) return i;
    }
    return line.words.size();
}

void printWithBrackets(const LineWords& line, Sentences& out)
{
    if (!line.is(0, u"print") || !isSymbol(line, 1, u"(")) return;
    const std::size_t close = closingBracket(line, 1);
    if (close != line.words.size() - 1 || close < 3) return;
    const std::u16string inside(line.span(line.words[2], line.words[close - 1]));
    out.push_back(quoted(line.statement()) + u"：Print 后面不用括号，直接写要显示的内容，写成 Print " + inside + u"。");
}

// Two PRINT items with nothing between them: a literal next to a name or a
// number, or two names.
bool itemsTouch(const LineWords& line, const LineWord& a, const LineWord& b)
{
    const auto opensItem = [](const LineWord& w) { return isOperand(w) || w.kind == Kind::Literal; };
    const auto isOperatorWord = [&](const LineWord& w) {
        return std::find(kOperatorWords.begin(), kOperatorWords.end(), line.lower(w)) != kOperatorWords.end();
    };
    if (!opensItem(a) || !opensItem(b) || isOperatorWord(a) || isOperatorWord(b)) return false;
    if (a.kind == Kind::Literal && b.kind == Kind::Literal) return false;  // read as one text
    return !(a.kind == Kind::Number && b.kind == Kind::Number);
}

void printSeparators(const LineWords& line, Sentences& out)
{
    if (!line.is(0, u"print") || line.words.size() < 3) return;
    std::u16string fixed(line.text(line.words[0]));
    bool touched = false;
    for (std::size_t i = 1; i < line.words.size(); ++i) {
        const bool gap = i >= 2 && itemsTouch(line, line.words[i - 1], line.words[i]);
        touched = touched || gap;
        fixed += gap ? u"; " : (line.words[i].begin > line.words[i - 1].end ? u" " : u"");
        fixed += line.text(line.words[i]);
    }
    if (!touched) return;
    out.push_back(quoted(line.statement()) + u"：Print 的两项之间要用分号隔开，写成 " + fixed + u"。");
}

// The selector of the SELECT CASE that line `number` belongs to; empty when none.
std::u16string selectorBefore(const std::vector<LineWords>& lines, std::int32_t number)
{
    for (std::int32_t at = number - 1; at >= 1; --at) {
        const LineWords& line = lineNumbered(lines, at);
        if (line.is(0, u"select") && line.is(1, u"case") && line.words.size() > 2) {
            return std::u16string(line.span(line.words[2], line.words.back()));
        }
    }
    return {};
}

void caseComparison(const std::vector<LineWords>& lines, std::int32_t number, Sentences& out)
{
    const LineWords& line = lineNumbered(lines, number);
    if (!line.is(0, u"case") || line.words.size() < 3) return;
    const std::u16string_view first = line.text(line.words[1]);
    if (first != u"<" && first != u">" && first != u"=") return;
    std::u16string selector = selectorBefore(lines, number);
    if (selector.empty()) selector = u"变量";
    const std::u16string comparison(line.span(line.words[1], line.words.back()));
    out.push_back(quoted(line.statement()) + u"：Case 后面只能写值（Case 7, 9）或范围（Case 1 To 5），不能写比较。"
                                       u"要比较就改用 If " + selector + u" " + comparison + u" Then。");
}

void labels(const LineWords& line, Sentences& out)
{
    if (!isSymbol(line, 1, u":")) return;
    const std::u16string label(line.span(line.words[0], line.words[1]));
    if (line.words[0].kind == Kind::Number) {
        out.push_back(quoted(label) + u"：标号后面不加冒号，写成 " + std::u16string(line.text(line.words[0])) +
                      u" 后面空一格再写语句，例如 " + std::u16string(line.text(line.words[0])) + u" Print x。");
    } else if (line.words[0].kind == Kind::Name) {
        out.push_back(quoted(label) + u"：标号只能是写在行首的数字，不能是文字，后面也不加冒号。"
                                      u"把它换成一个数字，例如 10，跳转时写 Goto 10。");
    }
}

// The index of the GOTO or GOSUB in the line; words.size() when none.
std::size_t jumpWord(const LineWords& line)
{
    const std::size_t jump = line.find(u"goto");
    return jump < line.words.size() ? jump : line.find(u"gosub");
}

void jumpToAWord(const LineWords& line, Sentences& out)
{
    const std::size_t jump = jumpWord(line);
    if (jump + 1 >= line.words.size() || line.words[jump + 1].kind != Kind::Name) return;
    out.push_back(std::u16string(line.text(line.words[jump])) + u" 后面的" + quoted(line.text(line.words[jump + 1])) +
                  u"是文字：只能跳到数字标号。在要跳到的那一行行首写一个数字，例如 10，再写 " +
                  std::u16string(line.text(line.words[jump])) + u" 10。");
}

// A missing label that stands on a line holding nothing but it and a comment.
void labelOnACommentLine(const std::vector<LineWords>& lines, std::int32_t number, Sentences& out)
{
    const LineWords& line = lineNumbered(lines, number);
    const std::size_t jump = jumpWord(line);
    if (jump + 1 >= line.words.size() || line.words[jump + 1].kind != Kind::Number) return;
    const std::u16string label(line.text(line.words[jump + 1]));
    for (std::int32_t at = 1; at <= static_cast<std::int32_t>(lines.size()); ++at) {
        const LineWords& candidate = lineNumbered(lines, at);
        if (candidate.words.size() == 1 && candidate.text(candidate.words[0]) == label) {
            out.push_back(std::u16string(u"标号 ") + label + u" 写在" + lineText(at) +
                          u"，那一行只有注释：注释行上的标号不算数。把 " + label +
                          u" 写在要跳到的语句前面，例如 " + label + u" Print x。");
            return;
        }
    }
    out.push_back(std::u16string(u"程序里没有哪一行以标号 ") + label + u" 开头：在要跳到的语句前面写上 " + label + u"。");
}

void unclosedLiteral(std::u16string_view wholeLine, Sentences& out)
{
    if (std::count(wholeLine.begin(), wholeLine.end(), u'"') % 2 == 0) return;
    const std::size_t open = wholeLine.rfind(u'"');
    std::u16string_view literal = wholeLine.substr(open);
    literal = literal.substr(0, literal.find_last_not_of(u" \t") + 1);
    out.push_back(quoted(literal) + u"少了右边的双引号：文字要用一对「\"」括起来，写成 " + std::u16string(literal) +
                  u"\"。");
}

// The closers of other languages (or of another block) that leave a block open.
struct WrongCloser {
    std::u16string_view opener;  // the opening line's first word
    std::u16string_view typed;   // a line that holds only this
};
constexpr WrongCloser kWrongClosers[] = {
    {u"if", u"endif"},        {u"if", u"end"},     {u"for", u"end for"}, {u"for", u"endfor"}, {u"for", u"end"},
    {u"while", u"end while"}, {u"while", u"endwhile"}, {u"while", u"end"}, {u"do", u"end"}, {u"select", u"endselect"},
    {u"select", u"end"},
};

struct BlockWords {
    std::u16string_view opener;
    std::u16string_view statement;
    std::u16string_view closing;
};
constexpr BlockWords kBlocks[] = {
    {u"if", u"If", u"End If"},       {u"for", u"For", u"Next"},
    {u"while", u"While", u"Wend"},   {u"do", u"Do", u"Loop"},
    {u"select", u"Select Case", u"End Select"},
};

std::u16string wordsOf(const LineWords& line)
{
    std::u16string joined;
    for (const LineWord& word : line.words) {
        if (!joined.empty()) joined += u' ';
        joined += line.lower(word);
    }
    return joined;
}

// For a block left open: the braces on its lines and the lines that were
// meant to close it.
void unclosedBlockLines(const std::vector<LineWords>& lines, std::int32_t opening, Sentences& out)
{
    const LineWords& openingLine = lineNumbered(lines, opening);
    if (openingLine.words.empty()) return;
    const std::u16string_view opener = openingLine.lower(openingLine.words[0]);
    const auto* block = std::find_if(std::begin(kBlocks), std::end(kBlocks),
                                     [&](const BlockWords& b) { return b.opener == opener; });
    bool braced = false;
    for (std::int32_t at = opening; at <= static_cast<std::int32_t>(lines.size()); ++at) {
        const LineWords& line = lineNumbered(lines, at);
        if (std::u16string text = bracesText(line); !text.empty()) {
            out.push_back(lineText(at) + u"的" + text);
            braced = true;
        }
        const std::u16string words = wordsOf(line);
        for (const WrongCloser& wrong : kWrongClosers) {
            if (block == std::end(kBlocks) || wrong.opener != opener || words != wrong.typed || at == opening) continue;
            std::u16string text = lineText(at) + u"的" + quoted(line.statement()) + u"结束不了" + lineText(opening) + u"的 " +
                                  std::u16string(block->statement) + u"：要写成 " + std::u16string(block->closing) + u"。";
            if (words == u"end") text += u"单独一个 End 会结束整个程序。";
            out.push_back(std::move(text));
        }
    }
    if (braced) out.emplace_back(kBlockEnds);
}

bool hasVariables(const LineWords& line, std::size_t first, std::size_t last)
{
    for (std::size_t i = first; i <= last; ++i) {
        if (line.words[i].kind == Kind::Name && !isLanguageWord(line.lower(line.words[i]))) return true;
    }
    return false;
}

// "是 40000" for a number as typed, "n + 1 的值是 40000" for more than a number.
std::u16string partWithValue(const LineWords& line, std::size_t first, std::size_t last, double value)
{
    if (first == last && line.words[first].kind == Kind::Number) return std::u16string(u"是 ") + numberText(value);
    return std::u16string(u" ") + std::u16string(line.span(line.words[first], line.words[last])) + u" 的值是 " + numberText(value);
}

struct ForPart {
    std::u16string_view name;
    std::size_t first;
    std::size_t last;
};

// The FOR's start, end and step, as word ranges; empty for a line that is no FOR.
std::vector<ForPart> forParts(const LineWords& line)
{
    const std::size_t to = line.find(u"to");
    if (!line.is(0, u"for") || !isSymbol(line, 2, u"=") || to >= line.words.size() || to < 4) return {};
    const std::size_t step = line.find(u"step", to);
    std::vector<ForPart> parts{{u"初值", 3, to - 1}};
    if (to + 1 < step) parts.push_back({u"终值", to + 1, step - 1});
    if (step + 1 < line.words.size()) parts.push_back({u"步长", step + 1, line.words.size() - 1});
    return parts;
}

void forOutOfRange(const LineWords& line, const ErrorFacts& facts, bool stepIsZero, Sentences& out)
{
    for (const ForPart& part : forParts(line)) {
        if (facts.variables.empty() && hasVariables(line, part.first, part.last)) continue;
        const std::optional<double> value =
            expressionValue(line.span(line.words[part.first], line.words[part.last]), facts.variables);
        if (!value) continue;
        const std::u16string shown = partWithValue(line, part.first, part.last, *value);
        if (stepIsZero && part.name == u"步长" && *value == 0) {
            out.push_back(std::u16string(u"For 的步长") + shown + u"：" + std::u16string(line.text(line.words[1])) +
                          u" 永远不会变，到不了终值。步长要写一个不是 0 的数。");
        }
        if (!stepIsZero && (std::round(*value) > 32767 || std::round(*value) < -32768)) {
            out.push_back(std::u16string(u"For 的") + std::u16string(part.name) + shown +
                          u"，超出了范围：For 的初值、终值和步长都只能在 -32768 到 32767 之间。");
        }
    }
}

const VariableValue* variableNamed(const ErrorFacts& facts, std::u16string_view name)
{
    const auto found = std::find_if(facts.variables.begin(), facts.variables.end(),
                                    [&](const VariableValue& v) { return v.name == name; });
    return found == facts.variables.end() ? nullptr : &*found;
}

// "x 在第3行（Input x）得到 0" or "x 从来没有被赋值，没赋值的变量是 0".
std::u16string originText(const std::vector<LineWords>& lines, const ErrorFacts& facts, std::u16string_view name)
{
    const auto found = std::find_if(facts.origins.begin(), facts.origins.end(),
                                    [&](const ValueOrigin& origin) { return origin.name == name; });
    const VariableValue* variable = variableNamed(facts, name);
    const std::u16string value = numberText(variable ? variable->value : 0);
    if (found == facts.origins.end() || found->line == 0) {
        return std::u16string(name) + u" 从来没有被赋值，没赋值的变量是 0";
    }
    return std::u16string(name) + u" 在" + lineText(found->line) + u"（" + std::u16string(lineNumbered(lines, found->line).statement()) +
           u"）得到 " + value;
}

// The divisor after the "/", "\" or MOD at `at`: its last word index.
std::size_t divisorEnd(const LineWords& line, std::size_t at)
{
    if (isSymbol(line, at + 1, u"(")) return closingBracket(line, at + 1);
    return at + 1;
}

void divisionByZero(const std::vector<LineWords>& lines, std::int32_t number, const ErrorFacts& facts, Sentences& out)
{
    const LineWords& line = lineNumbered(lines, number);
    for (std::size_t i = 0; i + 1 < line.words.size(); ++i) {
        if (!isSymbol(line, i, u"/") && !isSymbol(line, i, u"\\") && !line.is(i, u"mod")) continue;
        const std::size_t last = divisorEnd(line, i);
        // A 0 typed as the divisor needs no telling; a value that came from elsewhere does.
        if (last >= line.words.size() || !hasVariables(line, i + 1, last) || facts.variables.empty()) continue;
        const std::u16string divisor(line.span(line.words[i + 1], line.words[last]));
        const std::optional<double> value = expressionValue(divisor, facts.variables);
        if (!value || *value != 0) continue;
        std::u16string text = std::u16string(u"除数 ") + divisor + u" 是 0";
        std::u16string why;
        for (std::size_t w = i + 1; w <= last; ++w) {
            if (line.words[w].kind != Kind::Name || isLanguageWord(line.lower(line.words[w]))) continue;
            why += (why.empty() ? u"：" : u"；") + originText(lines, facts, line.lower(line.words[w]));
        }
        out.push_back(text + why + u"。除以 0 没有结果，先用 If 检查除数不是 0 再除。");
    }
}

// Whether the line gives `name` a value: "name = …" as a statement (also
// after THEN or ELSE), an INPUT of it, or a FOR over it. Reading a variable
// also makes it, with 0, which is no value given.
bool givesValue(const LineWords& line, std::u16string_view name)
{
    const std::size_t input = line.find(u"input");
    for (std::size_t i = 0; i < line.words.size(); ++i) {
        if (line.lower(line.words[i]) != name) continue;
        if (i > input) return true;
        const bool startsStatement = i == 0 || line.is(i - 1, u"then") || line.is(i - 1, u"else") || line.is(i - 1, u"for");
        if (startsStatement && isSymbol(line, i + 1, u"=")) return true;
    }
    return false;
}

// "总数 = 10": a name of Chinese characters, which the language refuses.
void chineseName(const LineWords& line, Sentences& out)
{
    if (line.words.empty() || line.words[0].kind != Kind::Name || !isSymbol(line, 1, u"=")) return;
    const std::u16string_view name = line.text(line.words[0]);
    if (std::all_of(name.begin(), name.end(), [](char16_t c) { return c < 0x80; })) return;
    out.push_back(std::u16string(u"变量名") + quoted(name) + u"里有中文：变量名只能由英文字母和数字组成，换一个英文名，例如 total。");
}

}  // namespace

ErrorFacts replayErrorFacts(std::u16string_view editorText, const std::vector<std::u16string>& answers)
{
    const std::vector<LineWords> lines = readProgramLines(editorText);
    ErrorFacts facts;
    clsCode code;
    code.Init(editorText);
    ReplayHost host(code, answers, {}, std::numeric_limits<std::int64_t>::max());
    TraceRecorder recorder(code, host, [&](const RecordedStep& step) {
        for (const VariableValue& change : step.changes) {
            if (!givesValue(lineNumbered(lines, step.line), change.name)) continue;
            const auto known = std::find_if(facts.origins.begin(), facts.origins.end(),
                                            [&](const ValueOrigin& origin) { return origin.name == change.name; });
            if (known != facts.origins.end()) {
                known->line = step.line;
            } else {
                facts.origins.push_back({change.name, step.line});
            }
        }
    });
    code.Run(recorder);
    recorder.finish();
    facts.variables = host.moment().variables;
    return facts;
}

std::vector<std::u16string> lineCauses(const RunOutcome& outcome, std::u16string_view editorText,
                                       const ErrorFacts& facts)
{
    Sentences out;
    if (!outcome.error) return out;
    const std::vector<LineWords> lines = readProgramLines(editorText);
    const LineWords& line = lineNumbered(lines, outcome.line);
    comparisonSlips(line, out);
    assignmentShorthands(line, out);
    elseIfInTwoWords(line, out);
    semicolonAtTheEnd(line, out);
    printWithBrackets(line, out);
    printSeparators(line, out);
    caseComparison(lines, outcome.line, out);
    labels(line, out);
    jumpToAWord(line, out);
    const std::int32_t number = outcome.error->number;
    if (number == kLabelNotFound.number) labelOnACommentLine(lines, outcome.line, out);
    if (number == kInvalidVariableName.number) chineseName(line, out);
    const std::vector<std::u16string_view> rawLines = splitLines(editorText);
    if (outcome.line >= 1 && static_cast<std::size_t>(outcome.line) <= rawLines.size()) {
        unclosedLiteral(rawLines[static_cast<std::size_t>(outcome.line) - 1], out);
    }
    if (outcome.unclosed.openingLine != 0) {
        unclosedBlockLines(lines, outcome.unclosed.openingLine, out);
    } else {
        braces(line, out);
    }
    if (number == kOverflow.number || number == kStepIsZero.number) {
        forOutOfRange(line, facts, number == kStepIsZero.number, out);
    }
    if (number == kDivisionByZero.number) divisionByZero(lines, outcome.line, facts, out);
    return out;
}

ErrorFacts factsForError(const RunOutcome& outcome, std::u16string_view editorText,
                         const std::vector<std::u16string>& answers)
{
    const std::int32_t number = outcome.error ? outcome.error->number : 0;
    const bool needed = number == kDivisionByZero.number || number == kOverflow.number || number == kStepIsZero.number;
    return needed ? replayErrorFacts(editorText, answers) : ErrorFacts{};
}

}  // namespace tarnik
