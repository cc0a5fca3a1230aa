#include "services/help/ErrorHelp.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "expr/NumberText.h"
#include "expr/TextHelpers.h"

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

// The statement that opens the block each unclosed-block error is about.
struct BlockOpener {
    const ErrorText* error;
    std::u16string_view statement;
};
constexpr BlockOpener kBlockOpeners[] = {
    {&kForWithoutNext, u"For"},
    {&kIfWithoutEndIf, u"If"},
    {&kDoWithoutLoopUntil, u"Do"},
    {&kDoWhileWithoutLoop, u"While（Do While）"},
    {&kSelectWithoutEndSelect, u"Select Case"},
};

std::u16string lineText(std::int32_t line)
{
    std::u16string text = u"第";
    text.append(numberText(line)).append(u"行");
    return text;
}

// Text as HTML; in an attribute, line ends too.
std::u16string escapedHtml(std::u16string_view text, bool inAttribute = false)
{
    std::u16string out;
    for (char16_t c : text) {
        switch (c) {
        case u'<': out += u"&lt;"; break;
        case u'>': out += u"&gt;"; break;
        case u'&': out += u"&amp;"; break;
        case u'"': out += u"&quot;"; break;
        case u'\n': out += inAttribute ? u"&#10;" : u"\n"; break;
        default: out += c;
        }
    }
    return out;
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

std::u16string unclosedBlockText(const RunOutcome& outcome)
{
    if (outcome.unclosed.openingLine == 0) return {};
    const ErrorText* row = errorRowOf(*outcome.error);
    for (const BlockOpener& opener : kBlockOpeners) {
        if (opener.error != row) continue;
        std::u16string text = u"没有结束的 ";
        text.append(opener.statement).append(u" 从").append(lineText(outcome.unclosed.openingLine)).append(u"开始。");
        if (outcome.unclosed.namedNextLine != 0) {
            text.append(lineText(outcome.unclosed.namedNextLine))
                .append(u"的 Next 后面写了变量名：这里的 Next 不带变量名，只写 Next 就能结束这个 For。");
        }
        return text;
    }
    return {};
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
// comment, each once, named with what to type instead (CPython names stray
// characters the same way).
std::u16string strayCharactersText(std::u16string_view line, std::int32_t lineNumber)
{
    std::u16string found;
    bool inLiteral = false;
    for (char16_t c : line) {
        if (c == u'"') inLiteral = !inLiteral;
        if (inLiteral) continue;
        if (c == u'\'') break;
        if (halfWidthOf(c) != 0 && found.find(c) == std::u16string::npos) found += c;
    }
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
