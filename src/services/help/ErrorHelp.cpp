#include "services/help/ErrorHelp.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

#include "expr/LanguageWords.h"
#include "expr/NumberText.h"
#include "expr/TextHelpers.h"
#include "services/HtmlText.h"
#include "services/ProgramWarnings.h"

namespace tarnik {
namespace {

bool describesProgramText(const ErrorText& row)
{
    return row.number == kReservedNameNumber || row.number == kBadExpressionNumber;
}

// Calls `each` with every line of a "\n"-separated text.
template <class Each>
void forEachLine(std::u16string_view text, Each&& each)
{
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(u'\n', start);
        if (end == std::u16string_view::npos) end = text.size();
        each(text.substr(start, end - start));
        start = end + 1;
    }
}

// Each line of `lines` behind `indent`.
void appendIndented(std::u16string& out, std::u16string_view lines, std::u16string_view indent)
{
    forEachLine(lines, [&](std::u16string_view line) { out.append(indent).append(line).append(u"\n"); });
}

void appendExample(std::u16string& out, std::u16string_view title, const ErrorExample& example)
{
    out.append(title).append(u"\n");
    appendIndented(out, example.program, u"    ");
    if (!example.answers.empty()) {
        out.append(u"  输入数据：\n");
        appendIndented(out, example.answers, u"    ");
    }
}

// The statement that opens the block each unclosed-block error is about,
// and the one that would close it.
struct BlockOpener {
    const ErrorText* error;
    std::u16string_view statement;
    std::u16string_view closing;
};
constexpr BlockOpener kBlockOpeners[] = {
    {&kForWithoutNext, u"For", u"Next"},
    {&kIfWithoutEndIf, u"If", u"End If"},
    {&kDoWithoutLoopUntil, u"Do", u"Loop Until"},
    {&kDoWhileWithoutLoop, u"While（Do While）", u"Wend（Loop）"},
    {&kSelectWithoutEndSelect, u"Select Case", u"End Select"},
};

std::u16string lineText(std::int32_t line)
{
    std::u16string text = u"第";
    text.append(numberText(line)).append(u"行");
    return text;
}

void appendExampleHtml(std::u16string& out, std::u16string_view title, std::u16string_view cssClass,
                       const ErrorExample& example)
{
    out.append(u"<p>").append(title).append(u"</p>\n<pre class=\"").append(cssClass).append(u"\"");
    if (!example.answers.empty()) out.append(u" data-input=\"").append(escapedHtml(example.answers, true)).append(u"\"");
    out.append(u">").append(escapedHtml(example.program)).append(u"</pre>\n");
}

void appendRowHtml(std::u16string& out, const ErrorText& row, bool firstOfNumber)
{
    const ErrorExplanation& explained = explanationOf(row);
    const std::u16string number = numberText(row.number);
    out.append(u"<h2");
    if (firstOfNumber) out.append(u" id=\"e").append(number).append(u"\"");
    out.append(u">错误 ").append(number).append(u": ").append(escapedHtml(row.text)).append(u"</h2>\n");
    out.append(u"<p>").append(escapedHtml(explained.meaning)).append(u"</p>\n");
    if (explained.mistake.program.empty()) {
        out.append(u"<p>").append(escapedHtml(explained.causes)).append(u"</p>\n");
        return;
    }
    out.append(u"<p>常见原因：</p>\n<ul>\n");
    forEachLine(explained.causes,
                [&](std::u16string_view cause) { out.append(u"<li>").append(escapedHtml(cause)).append(u"</li>\n"); });
    out.append(u"</ul>\n");
    appendExampleHtml(out, u"错误的写法：", u"mistake", explained.mistake);
    appendExampleHtml(out, u"改正以后：", u"example", explained.fix);
}

// The opener of the block an error left open; null for other errors.
const BlockOpener* openerOf(const RunOutcome& outcome)
{
    if (!outcome.error || outcome.unclosed.openingLine == 0) return nullptr;
    const ErrorText* row = errorRowOf(*outcome.error);
    const auto* found = std::find_if(std::begin(kBlockOpeners), std::end(kBlockOpeners),
                                     [row](const BlockOpener& opener) { return opener.error == row; });
    return found != std::end(kBlockOpeners) ? found : nullptr;
}

std::u16string namedNextText(const RunOutcome& outcome)
{
    if (outcome.unclosed.namedNextLine == 0) return {};
    return lineText(outcome.unclosed.namedNextLine) +
           u"的 Next 后面写了变量名：这里的 Next 不带变量名，只写 Next 就能结束这个 For。";
}

std::u16string unclosedBlockText(const RunOutcome& outcome)
{
    const BlockOpener* opener = openerOf(outcome);
    if (!opener) return {};
    std::u16string text = u"没有结束的 ";
    text.append(opener->statement).append(u" 从").append(lineText(outcome.unclosed.openingLine)).append(u"开始。");
    return text + namedNextText(outcome);
}

// What to type instead of a character that a Chinese input method gives in
// full-width mode; 0 for a character that is fine.
char16_t halfWidthOf(char16_t c)
{
    if (c >= u'\uFF01' && c <= u'\uFF5E') return static_cast<char16_t>(c - 0xFEE0);
    switch (c) {
    case u'\u3000': return u' ';
    case u'“': case u'”': return u'"';
    case u'‘': case u'’': return u'\'';
    case u'。': return u'.';
    case u'、': return u',';
    default: return 0;
    }
}

std::u16string codePointText(char16_t c)
{
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string text = u"U+";
    for (int shift = 12; shift >= 0; shift -= 4) text += kDigits[(c >> shift) & 0xF];
    return text;
}

// The full-width characters of a line outside its string literals and its
// comment, each once, in the order they stand.
std::u16string strayCharacters(std::u16string_view line)
{
    std::u16string found;
    bool inLiteral = false;
    for (char16_t c : line) {
        if (c == u'"') inLiteral = !inLiteral;
        if (inLiteral) continue;
        if (c == u'\'') break;
        if (halfWidthOf(c) != 0 && found.find(c) == std::u16string::npos) found += c;
    }
    return found;
}

// The stray characters named with what to type instead (CPython names stray
// characters the same way).
std::u16string strayCharactersText(std::u16string_view line, std::int32_t lineNumber)
{
    const std::u16string found = strayCharacters(line);
    if (found.empty()) return {};
    std::u16string text = lineText(lineNumber) + u"有全角字符：";
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (i > 0) text += u"；";
        text.append(u"「").append(1, found[i]).append(u"」（").append(codePointText(found[i]));
        text.append(u"）应写成「").append(1, halfWidthOf(found[i])).append(u"」");
    }
    text += u"。请切换到半角（英文）输入。";
    return text;
}

// A character as the error box names it: the blanks, which cannot be seen, by name.
std::u16string shownCharacter(char16_t c)
{
    if (c == u'\u3000') return u"全角空格";
    if (c == u' ') return u"空格";
    return std::u16string(1, c);
}

// «第2行有全角字符 （ ），应改为半角 ( )。»
std::u16string halfWidthFormsText(std::u16string_view line, std::int32_t lineNumber)
{
    const std::u16string found = strayCharacters(line);
    if (found.empty()) return {};
    std::u16string fullWidth;
    std::u16string halfWidth;
    for (char16_t c : found) {
        fullWidth.append(u" ").append(shownCharacter(c));
        halfWidth.append(u" ").append(shownCharacter(halfWidthOf(c)));
    }
    return lineText(lineNumber) + u"有全角字符" + fullWidth + u"，应改为半角" + halfWidth + u"。";
}

// The statements a misspelling of which is worth a hint: the words of four
// letters and more (a shorter one is too near too many names).
constexpr std::u16string_view kStatementWords[] = {u"print", u"input",  u"next", u"loop", u"wend",
                                                   u"goto",  u"gosub",  u"return", u"while", u"select",
                                                   u"case",  u"else",   u"elseif", u"exit", u"stop"};

bool isAsciiLetter(char16_t c) { return c >= u'a' && c <= u'z'; }
bool isAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// «第1行的 pirnt 是否想写 Print？» when the line's first word, after a line
// number, is no word of the language but one or two typing slips from a
// statement that begins with the same letter (slips rarely hit the first
// one). A word followed by "=" names a variable being given a value.
std::u16string misspeltStatementText(std::u16string_view line, std::int32_t lineNumber)
{
    const std::u16string lower = lowerAscii(line);
    std::size_t start = lower.find_first_not_of(u" \t");
    if (start != std::u16string::npos && isAsciiDigit(lower[start])) {
        while (start < lower.size() && isAsciiDigit(lower[start])) ++start;
        start = lower.find_first_not_of(u" \t", start);
    }
    if (start == std::u16string::npos) return {};
    std::size_t end = start;
    while (end < lower.size() && isAsciiLetter(lower[end])) ++end;
    const std::u16string word = lower.substr(start, end - start);
    const std::size_t next = lower.find_first_not_of(u" \t", end);
    if (word.size() < 4 || isLanguageWord(word) || (end < lower.size() && isAsciiDigit(lower[end])) ||
        (next != std::u16string::npos && lower[next] == u'=')) {
        return {};
    }
    std::vector<std::u16string> statements;
    for (std::u16string_view statement : kStatementWords) {
        if (statement.front() == word.front()) statements.emplace_back(statement);
    }
    std::optional<std::u16string> meant = nearestName(word, statements);
    if (!meant) return {};
    (*meant)[0] = static_cast<char16_t>((*meant)[0] - u'a' + u'A');
    std::u16string text = lineText(lineNumber) + u"的 ";
    text.append(line.substr(start, end - start)).append(u" 是否想写 ").append(*meant).append(u"？");
    return text;
}

}  // namespace

// One explanation per row, under the row's name: a row added to the table
// without its explanation does not compile.
#define TARNIK_EXPLANATION_OF(name, number, text) {&k##name, &explanation::name},
constexpr std::pair<const ErrorText*, const ErrorExplanation*> kExplanations[] = {
    TARNIK_ERROR_TABLE(TARNIK_EXPLANATION_OF)};
#undef TARNIK_EXPLANATION_OF

const ErrorExplanation& explanationOf(const ErrorText& row)
{
    const auto* found = std::find_if(std::begin(kExplanations), std::end(kExplanations),
                                     [&](const auto& entry) { return entry.first == &row; });
    // Rows come from the table only: one made elsewhere is a fault of ours.
    static constexpr ErrorExplanation kNotInTheTable{u"这个错误没有说明。", explanation::kInternalCheck, {}, {}};
    return found != std::end(kExplanations) ? *found->second : kNotInTheTable;
}

const ErrorText* errorRowOf(const BasicError& error)
{
    for (const ErrorText* row : kErrorTable) {
        if (row->number != error.number) continue;
        if (describesProgramText(*row) || row->text == error.description) return row;
    }
    return nullptr;
}

std::vector<const ErrorText*> errorRowsNumbered(std::int32_t number)
{
    std::vector<const ErrorText*> rows;
    for (const ErrorText* row : kErrorTable) {
        if (row->number == number) rows.push_back(row);
    }
    return rows;
}

std::u16string explanationText(const ErrorText& row)
{
    const ErrorExplanation& explained = explanationOf(row);
    std::u16string out = u"错误 " + numberText(row.number) + u": ";
    out.append(row.text).append(u"\n");
    out.append(u"意思：").append(explained.meaning).append(u"\n");
    if (explained.mistake.program.empty()) {
        out.append(explained.causes).append(u"\n");
        return out;
    }
    out.append(u"常见原因：\n");
    appendIndented(out, explained.causes, u"  · ");
    appendExample(out, u"错误的写法：", explained.mistake);
    appendExample(out, u"改正以后：", explained.fix);
    return out;
}

std::u16string errorContextText(const RunOutcome& outcome, std::u16string_view editorText)
{
    if (!outcome.error) return {};
    std::u16string text = unclosedBlockText(outcome);
    const std::vector<std::u16string_view> lines = splitLines(editorText);
    if (outcome.line >= 1 && static_cast<std::size_t>(outcome.line) <= lines.size()) {
        text += strayCharactersText(lines[static_cast<std::size_t>(outcome.line) - 1], outcome.line);
    }
    return text;
}

std::u16string errorBoxBlockNote(const RunOutcome& outcome)
{
    const BlockOpener* opener = openerOf(outcome);
    if (!opener) return {};
    std::u16string text = u"这个 ";
    text.append(opener->statement).append(u" 从").append(lineText(outcome.unclosed.openingLine));
    text.append(u"开始，还没有 ").append(opener->closing).append(u"。");
    if (const std::u16string named = namedNextText(outcome); !named.empty()) text.append(u"\n").append(named);
    return text;
}

std::u16string errorBoxDetails(const RunOutcome& outcome, std::u16string_view editorText, const ErrorFacts& facts)
{
    if (!outcome.error) return {};
    std::vector<std::u16string> sentences{errorBoxBlockNote(outcome)};
    const std::vector<std::u16string_view> lines = splitLines(editorText);
    if (outcome.line >= 1 && static_cast<std::size_t>(outcome.line) <= lines.size()) {
        const std::u16string_view line = lines[static_cast<std::size_t>(outcome.line) - 1];
        sentences.push_back(halfWidthFormsText(line, outcome.line));
        sentences.push_back(misspeltStatementText(line, outcome.line));
    }
    std::vector<std::u16string> causes = lineCauses(outcome, editorText, facts);
    sentences.insert(sentences.end(), std::make_move_iterator(causes.begin()), std::make_move_iterator(causes.end()));
    std::u16string text;
    for (const std::u16string& sentence : sentences) {
        if (sentence.empty()) continue;
        if (!text.empty()) text += u'\n';
        text += sentence;
    }
    return text;
}

std::u16string errorExplanationsHtml()
{
    std::u16string out = u"<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head><meta charset=\"utf-8\"><title>错误说明</title>"
                         u"<link rel=\"stylesheet\" href=\"style.css\"></head>\n<body>\n<h1>错误说明</h1>\n"
                         u"<p><a href=\"index.html\">语言参考</a> › 错误说明。程序出错时，错误框写着错误编号和说明；"
                         u"下面按编号解释每个错误。有的编号有两种说明，分开解释。</p>\n";
    std::vector<const ErrorText*> rows(std::begin(kErrorTable), std::end(kErrorTable));
    std::stable_sort(rows.begin(), rows.end(), [](const ErrorText* a, const ErrorText* b) { return a->number < b->number; });
    for (std::size_t i = 0; i < rows.size(); ++i) appendRowHtml(out, *rows[i], i == 0 || rows[i - 1]->number != rows[i]->number);
    out.append(u"</body>\n</html>\n");
    return out;
}

std::u16string exampleEditorText(const ErrorExample& example)
{
    std::u16string text;
    for (char16_t c : example.program) {
        if (c == u'\n') text += u'\r';
        text += c;
    }
    return text;
}

}  // namespace tarnik
