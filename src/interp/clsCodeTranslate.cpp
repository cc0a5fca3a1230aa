// The first two translation passes: the line pass, which makes one record per
// statement of the source, and the SELECT CASE pass, which turns every SELECT
// CASE block into an IF / ELSEIF chain. Both only cut and paste text; nothing
// is evaluated, so a malformed expression passes through to the executor.
#include <string>
#include <string_view>
#include <vector>

#include "expr/BasicError.h"
#include "expr/NumberText.h"
#include "expr/TextHelpers.h"
#include "interp/clsCode.h"

namespace tarnik {
namespace {

std::u16string_view bodyOf(std::u16string_view statement, std::u16string_view head)
{
    return trimBlanks(statement.substr(head.size()));
}

std::u16string joined(std::u16string_view first, std::u16string_view second, std::u16string_view third = {})
{
    std::u16string text;
    text.reserve(first.size() + second.size() + third.size());
    text.append(first).append(second).append(third);
    return text;
}

// Record indices and line numbers are 16-bit: one more than 32767 overflows.
std::int16_t incremented(std::int16_t counter)
{
    return toInt16(counter + 1);
}

// A search that reaches the end of the line inside an open quote only records
// its error; the line pass stops there instead of cutting at a position that
// does not exist.
int findOrRaise(std::u16string_view text, std::u16string_view pattern)
{
    ErrorState search;
    int position = FindOutsideQuotes(text, pattern, search);
    if (search.pending()) throw search.error();
    return position;
}

std::size_t appendRecord(clsCode& code, std::int16_t phLine, std::u16string text)
{
    code.LineCount = incremented(code.LineCount);
    clsLine& line = code.Lines.emplace_back();
    line.phLine = phLine;
    line.strText = std::move(text);
    return code.Lines.size() - 1;
}

// "10 print x" -> label 10, "print x". Leading tabs go too, so that an
// indented labelled line reads like any other.
std::u16string_view takeLabel(std::u16string_view text, std::int16_t& vLine)
{
    std::size_t start = text.find_first_not_of(u" \t");
    text = start == std::u16string_view::npos ? std::u16string_view{} : text.substr(start);
    std::size_t blank = text.find(u' ');
    std::u16string_view word = text.substr(0, blank);
    if (!isDecimalNumber(word)) return text;
    vLine = toInt16(decimalValue(word));
    return blank == std::u16string_view::npos ? std::u16string_view{} : trimBlanks(text.substr(blank + 1));
}

std::u16string_view withoutComment(std::u16string_view text)
{
    int apostrophe = findOrRaise(text, u"'");
    return apostrophe > 0 ? text.substr(0, static_cast<std::size_t>(apostrophe - 1)) : text;
}

std::u16string tabsExpanded(std::u16string_view text)
{
    std::u16string expanded;
    expanded.reserve(text.size());
    for (char16_t c : text) {
        if (c == u'\t') {
            expanded += u"    ";
        } else {
            expanded += c;
        }
    }
    return std::u16string(trimBlanks(expanded));
}

// if c then a            ->  if c then / a / end if
// if c then a else b     ->  if c then / a / else / b / end if
// if c then              ->  unchanged (a block IF)
void expandOneLineIf(clsCode& code, std::size_t index, std::u16string_view statement, std::u16string_view body)
{
    constexpr std::u16string_view kThen = u"then";
    constexpr std::u16string_view kElse = u"else";
    // Found in the lower-cased statement but cut from the body as it stands.
    int thenInStatement = findOrRaise(lowerAscii(statement), kThen);
    if (thenInStatement == 0) raiseError(kIfWithoutThen);
    // Every line that gets here was lower-cased outside its literals, so the
    // body holds the "then" the statement holds.
    int thenInBody = findOrRaise(body, kThen);
    std::u16string_view condition = trimBlanks(body.substr(0, static_cast<std::size_t>(thenInBody - 1)));
    if (textAfter(statement, thenInStatement, kThen).empty()) return;

    std::u16string_view thenPart = trimBlanks(textAfter(body, thenInBody, kThen));
    std::u16string_view elsePart;
    bool hasElse = false;
    // An "else" standing only before "then" (inside a name of the condition)
    // gives no ELSE part.
    if (findOrRaise(statement, kElse) > 0) {
        if (int e = findOrRaise(thenPart, kElse); e > 0) {
            elsePart = trimBlanks(textAfter(thenPart, e, kElse));
            thenPart = trimBlanks(thenPart.substr(0, static_cast<std::size_t>(e - 1)));
            hasElse = true;
        }
    }

    const std::int16_t phLine = code.Lines[index].phLine;
    code.Lines[index].strText = joined(u"if ", condition, u" then");
    appendRecord(code, phLine, std::u16string(thenPart));
    if (hasElse) {
        appendRecord(code, phLine, u"else");
        appendRecord(code, phLine, std::u16string(elsePart));
    }
    appendRecord(code, phLine, u"end if");
}

// input "n"; a, b   ->  input "n" / input a / input b
// A trailing separator is dropped, except on a list of one, which keeps it.
void splitInputList(clsCode& code, std::size_t index, std::u16string_view list)
{
    if (!list.empty() && (list.back() == u';' || list.back() == u',')) list.remove_suffix(1);
    int separator = FindListSeparator(list);
    if (separator == 0) return;

    const std::int16_t phLine = code.Lines[index].phLine;
    code.Lines[index].strText = joined(u"input ", list.substr(0, static_cast<std::size_t>(separator - 1)));
    while (true) {
        list = trimBlanks(list.substr(static_cast<std::size_t>(separator)));
        separator = FindListSeparator(list);
        if (separator == 0) break;
        appendRecord(code, phLine, joined(u"input ", list.substr(0, static_cast<std::size_t>(separator - 1))));
    }
    if (!list.empty()) appendRecord(code, phLine, joined(u"input ", list));
}

// The forms the executor does not know become forms it knows. The statement
// is a copy: the rewrites cut it while appending to the table.
void rewriteStatement(clsCode& code, std::size_t index)
{
    const std::u16string statement = code.Lines[index].strText;
    std::u16string_view head = clsLine::headOf(statement);
    std::u16string_view body = bodyOf(statement, head);
    if (head == u"if" || body == u"if") {
        expandOneLineIf(code, index, statement, body);
    } else if (head == u"input") {
        splitInputList(code, index, body);
    } else if (head == u"while") {
        code.Lines[index].strText = joined(u"do while ", body);
    } else if (head == u"wend") {
        code.Lines[index].strText = u"loop";
    }
}

// One physical line: its record gets the label, loses comment and tabs, and
// is rewritten; records that a rewrite adds are final as they are made.
void translateLine(clsCode& code, std::int16_t phLine, std::u16string_view line)
{
    std::size_t index = appendRecord(code, phLine, std::u16string(line));
    std::u16string_view text = takeLabel(code.Lines[index].strText, code.Lines[index].vLine);
    code.Lines[index].strText = tabsExpanded(withoutComment(text));
    rewriteStatement(code, index);
}

// case 1 to 5   ->  X>=1 and X<=5
// case 7, 9     ->  X=7 or X= 9
// The selector and the values are pasted in as they stand, without brackets.
std::u16string caseCondition(std::u16string_view values, std::u16string_view selector)
{
    // An open quote fails the search, and the values then fail below (353).
    constexpr std::u16string_view kTo = u" to ";
    ErrorState search;
    if (int to = FindOutsideQuotes(values, kTo, search); to > 0) {
        std::u16string_view low = trimBlanks(values.substr(0, static_cast<std::size_t>(to)));
        std::u16string_view high = trimBlanks(textAfter(values, to, kTo));
        std::u16string condition(selector);
        condition.append(u">=").append(low).append(u" and ").append(selector).append(u"<=").append(high);
        return condition;
    }
    if (contains(values, u"\"")) raiseError(kCaseWithString);
    std::u16string condition;
    for (std::size_t start = 0;;) {
        std::size_t comma = values.find(u',', start);
        condition.append(selector).append(u"=").append(values.substr(start, comma - start));
        if (comma == std::u16string_view::npos) return condition;
        condition += u" or ";
        start = comma + 1;
    }
}

}  // namespace

void clsCode::splitPhysicalLines()
{
    Lines.assign(1, clsLine{});
    LineCount = 0;
    std::int16_t physicalLine = 0;
    for (std::u16string_view line : splitLines(strCode)) {
        // The line that cannot be numbered is the one reported.
        program.CurrentLine = physicalLine + 1;
        physicalLine = incremented(physicalLine);
        std::u16string_view trimmed = trimBlanks(line);
        if (!trimmed.empty()) translateLine(*this, physicalLine, trimmed);
    }
}

// select case x / case 1 / case 2, 3 / case else / end select
//   ->  select case  / if x=1 then / elseif x=2 or x= 3 then / else / end if
void clsCode::rewriteSelectCase()
{
    // Taken before any rewrite. Behind the current line only "select case"
    // matters, and a rewrite neither makes nor unmakes that head.
    std::vector<std::u16string_view> heads(Lines.size());
    for (std::size_t index = 1; index < Lines.size(); ++index) heads[index] = Lines[index].Head();

    struct OpenSelect {
        std::u16string selector;
        std::int16_t line;
    };
    std::vector<OpenSelect> selectors;  // innermost last
    const std::size_t last = Lines.size() - 1;
    for (std::size_t index = 1; index <= last; ++index) {
        clsLine& line = Lines[index];
        program.CurrentLine = line.phLine;
        std::u16string_view head = heads[index];
        if (head == u"select case") {
            if (index == last) raiseError(kSelectLast);
            if (heads[index + 1] != u"case") raiseError(kSelectNotFollowedByCase);
            selectors.push_back({std::u16string(bodyOf(line.strText, head)), line.phLine});
            line.strText = u"select case ";
        } else if (head == u"case") {
            std::u16string_view values = bodyOf(line.strText, head);
            if (selectors.empty()) raiseError(kCaseWithoutSelect);
            std::u16string_view keyword = heads[index - 1] == u"select case" ? u"if " : u"elseif ";
            line.strText = joined(keyword, caseCondition(values, selectors.back().selector), u" then");
        } else if (head == u"case else") {
            line.strText = u"else";
        } else if (head == u"end select") {
            line.strText = u"end if";
            if (selectors.empty()) raiseError(kEndSelectWithoutSelect);
            selectors.pop_back();
        }
    }
    if (!selectors.empty()) {
        m_unclosed.openingLine = selectors.back().line;
        raiseError(kSelectWithoutEndSelect);
    }
}

}  // namespace tarnik
