#include "services/ProgramWarnings.h"

#include <algorithm>
#include <initializer_list>

#include "expr/ExpressionCompiler.h"
#include "expr/LanguageWords.h"
#include "expr/NumberText.h"
#include "expr/TextHelpers.h"
#include "expr/clsSen.h"
#include "interp/ProgramRun.h"
#include "interp/clsCode.h"
#include "services/FullWidthSlips.h"
#include "services/SourceText.h"

namespace tarnik {
namespace {

// Punctuation and symbols outside ASCII: general punctuation, the CJK
// symbols and punctuation, the compatibility and small forms, and the
// full-width forms (a full-width letter is a slip, warned about as such).
bool isSymbolOutsideAscii(char16_t c)
{
    return (c >= 0x00A0 && c <= 0x00BF) || (c >= 0x2000 && c <= 0x206F) || (c >= 0x3000 && c <= 0x303F) ||
           (c >= 0xFE10 && c <= 0xFE6F) || c >= 0xFF00;
}

// A word of the word reader that the evaluator takes for a variable: one
// that starts with a letter a-z and is no word of the language, or a
// character of its own that is a letter of a script, a Chinese one above all.
bool isName(std::u16string_view word)
{
    if (word.empty()) return false;
    const char16_t first = word.front();
    if (first >= u'a' && first <= u'z') return !isLanguageWord(word);
    return first >= 0x80 && !isSymbolOutsideAscii(first) && !isOperatorKey(word);
}

// The words of a text as the word reader cuts them, each with the 0-based
// position where it starts; they end where the reader cannot go on (an
// open literal).
std::vector<std::pair<std::u16string, std::size_t>> wordsOf(std::u16string_view text)
{
    std::vector<std::pair<std::u16string, std::size_t>> words;
    ErrorState errors;
    clsSen reader(errors);
    reader.setStrText(text);
    std::size_t at = 0;
    while (!reader.Eof()) {
        std::u16string word = reader.ReadWord();
        at = text.find_first_not_of(u' ', at);
        if (errors.pending() || at == std::u16string_view::npos) break;
        const std::size_t length = word.size();
        words.emplace_back(std::move(word), at);
        at += length;
    }
    return words;
}

// The variable names an expression text reads, in the order they stand, as
// the evaluator reads them: after its rewrite of the operator words, so
// that «x2and3» reads x2 and «score» stays one name.
std::vector<std::u16string> namesIn(std::u16string_view text)
{
    ErrorState ignored;
    std::vector<std::u16string> names;
    for (auto& [word, at] : wordsOf(rewriteOperators(text, ignored))) {
        if (isName(word)) names.push_back(std::move(word));
    }
    return names;
}

// The position of an assignment's "=" (exp's test: one outside literals with
// no "(" before it), or npos.
std::size_t assignmentSign(std::u16string_view text)
{
    ErrorState search;
    const int equals = FindOutsideQuotes(text, u"=", search);
    const int bracket = FindOutsideQuotes(text, u"(", search);
    if (search.pending() || equals <= 0 || (bracket > 0 && bracket < equals)) return std::u16string_view::npos;
    return static_cast<std::size_t>(equals - 1);
}

// Who reads and who assigns which names, statement by statement.
class NameUse {
public:
    void statement(const clsLine& line)
    {
        const std::u16string_view head = line.Head();
        const std::u16string body = line.Body();
        if (head.empty()) {
            if (line.strText.starts_with(u"next ")) return;  // a NEXT with a name: reported as an error
            expression(line.phLine, line.strText);
        } else if (head == u"for") {
            expression(line.phLine, body);
        } else if (head == u"input") {
            for (std::u16string& name : namesIn(body)) m_assigned.push_back(std::move(name));
        } else if (head == u"if" || head == u"elseif" || head == u"print" || head == u"do while" ||
                   head == u"loop until") {
            read(line.phLine, body);
        }
    }

    [[nodiscard]] const std::vector<std::u16string>& assigned() const { return m_assigned; }

    // Names read and never assigned, each once with the first line that
    // reads it, in the order they are first read.
    [[nodiscard]] std::vector<std::pair<std::u16string, std::int32_t>> unassignedReads() const
    {
        std::vector<std::pair<std::u16string, std::int32_t>> unassigned;
        for (const auto& read : m_reads) {
            const auto named = [&](const auto& entry) { return entry.first == read.first; };
            if (std::find(m_assigned.begin(), m_assigned.end(), read.first) != m_assigned.end() ||
                std::any_of(unassigned.begin(), unassigned.end(), named)) {
                continue;
            }
            unassigned.push_back(read);
        }
        return unassigned;
    }

private:
    std::vector<std::u16string> m_assigned;
    std::vector<std::pair<std::u16string, std::int32_t>> m_reads;

    // An assignment (or a FOR's "NAME = START to ..."), or a bare expression.
    void expression(std::int32_t line, std::u16string_view text)
    {
        const std::size_t sign = assignmentSign(text);
        if (sign == std::u16string_view::npos) return read(line, text);
        m_assigned.emplace_back(trimBlanks(text.substr(0, sign)));
        read(line, text.substr(sign + 1));
    }

    void read(std::int32_t line, std::u16string_view text)
    {
        for (std::u16string& name : namesIn(text)) m_reads.emplace_back(std::move(name), line);
    }
};

// Edits between two names: insertions, deletions and changes of a character.
std::size_t editDistance(std::u16string_view a, std::u16string_view b)
{
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
        }
    }
    return d[a.size()][b.size()];
}

// The code of an editor line as the reader sees it: lower-cased outside
// literals, its comment cut off; positions are those of the line.
std::u16string codeOf(std::u16string_view line)
{
    ErrorState ignored;
    const int mark = FindOutsideQuotes(line, u"'", ignored);
    return LowerOutsideLiterals(mark > 0 ? line.substr(0, static_cast<std::size_t>(mark - 1)) : line);
}

// Where on the line the words `wanted` first stand one after the other;
// where the first of them is found inside a word when they do not stand
// there as words (the rewrite of «x2and3» parts what the reader does not);
// the end of the line when nowhere.
std::size_t columnOf(std::u16string_view line, std::initializer_list<std::u16string_view> wanted)
{
    const std::u16string code = codeOf(line);
    const auto words = wordsOf(code);
    for (std::size_t i = 0; i + wanted.size() <= words.size(); ++i) {
        const auto same = [](std::u16string_view word, const auto& entry) { return word == entry.first; };
        if (std::equal(wanted.begin(), wanted.end(), words.begin() + static_cast<std::ptrdiff_t>(i), same)) {
            return words[i].second;
        }
    }
    ErrorState ignored;
    const int found = FindOutsideQuotes(code, *wanted.begin(), ignored);
    return found > 0 ? static_cast<std::size_t>(found - 1) : line.size();
}

// The editor text's lines (any line ends), to find where on a line a warning points.
class EditorLines {
public:
    explicit EditorLines(std::u16string_view editorText) : m_text(withCrLfLineEnds(editorText))
    {
        m_lines = splitLines(m_text);
    }

    [[nodiscard]] const std::vector<std::u16string_view>& lines() const { return m_lines; }
    [[nodiscard]] std::u16string_view line(std::int32_t number) const
    {
        const auto index = static_cast<std::size_t>(number - 1);
        return number >= 1 && index < m_lines.size() ? m_lines[index] : std::u16string_view{};
    }

private:
    std::u16string m_text;
    std::vector<std::u16string_view> m_lines;
};

std::optional<ProgramWarning> jumpWarning(const clsLine& line, const std::vector<clsLine>& table,
                                          const EditorLines& lines)
{
    const std::u16string_view head = line.Head();
    if (head != u"goto" && head != u"gosub") return std::nullopt;
    const std::u16string target = line.Body();
    if (!isDecimalNumber(target)) return std::nullopt;  // an error when it runs, and explained there
    std::int16_t label = 0;
    try {
        label = toInt16(decimalValue(target));
    } catch (const BasicError&) {
        return std::nullopt;
    }
    const bool found = label != 0 && std::any_of(table.begin() + 1, table.end(),
                                                 [&](const clsLine& other) { return other.vLine == label; });
    if (found) return std::nullopt;
    std::u16string text = head == u"goto" ? u"Goto " : u"Gosub ";
    text.append(target).append(u"：没有一行的行号是 ").append(target).append(u"，运行到这里会停止。");
    return ProgramWarning{line.phLine, std::move(text), columnOf(lines.line(line.phLine), {head, target})};
}

ProgramWarning unassignedWarning(const std::u16string& name, std::int32_t line,
                                 const std::vector<std::u16string>& assigned, const EditorLines& lines)
{
    std::u16string text = u"变量 " + name + u" 从来没有赋值，读到的总是 0。";
    if (std::optional<std::u16string> meant = nearestName(name, assigned)) {
        text.append(u"是否想写 ").append(*meant).append(u"？");
    }
    return {line, std::move(text), columnOf(lines.line(line), {name})};
}

// The warnings the translated table shows.
void addCodeWarnings(std::vector<ProgramWarning>& warnings, const clsCode& code, const EditorLines& lines)
{
    NameUse use;
    for (std::size_t index = 1; index < code.Lines.size(); ++index) {
        use.statement(code.Lines[index]);
        if (std::optional<ProgramWarning> jump = jumpWarning(code.Lines[index], code.Lines, lines)) {
            warnings.push_back(std::move(*jump));
        }
    }
    for (const auto& [name, line] : use.unassignedReads()) {
        warnings.push_back(unassignedWarning(name, line, use.assigned(), lines));
    }
}

// Full-width characters outside literals and comments: a slip of the input
// method even where the line still translates (ｘ is a name).
void addSlipWarnings(std::vector<ProgramWarning>& warnings, const EditorLines& lines)
{
    std::int32_t number = 0;
    for (std::u16string_view line : lines.lines()) {
        ++number;
        for (const FullWidthSlip& slip : fullWidthSlips(line)) warnings.push_back({number, slipWarning(slip), slip.start});
    }
}

}  // namespace

// The nearest by edits; of names equally near, the one assigned first.
std::optional<std::u16string> nearestName(std::u16string_view name, const std::vector<std::u16string>& assigned)
{
    constexpr std::size_t kMostEdits = 2;
    std::optional<std::u16string> best;
    std::size_t bestDistance = kMostEdits + 1;
    for (const std::u16string& candidate : assigned) {
        const std::size_t distance = editDistance(name, candidate);
        if (distance > 0 && distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

std::u16string ProgramWarning::shown() const
{
    std::u16string shownText(u"第");
    shownText.append(numberText(line)).append(u"行: 警告: ").append(text);
    return shownText;
}

std::vector<ProgramWarning> programWarnings(const clsCode& code, std::u16string_view editorText)
{
    const EditorLines lines(editorText);
    std::vector<ProgramWarning> warnings;
    addCodeWarnings(warnings, code, lines);
    addSlipWarnings(warnings, lines);
    std::stable_sort(warnings.begin(), warnings.end(), [](const ProgramWarning& a, const ProgramWarning& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    return warnings;
}

LintResult lintProgram(std::u16string_view editorText)
{
    LintResult result;
    clsCode code;
    result.translation = TranslateProgram(editorText, code);
    if (!result.translation.error) result.warnings = programWarnings(code, editorText);
    return result;
}

}  // namespace tarnik
