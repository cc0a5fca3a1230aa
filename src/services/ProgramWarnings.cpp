#include "services/ProgramWarnings.h"

#include <algorithm>
#include <map>

#include "expr/LanguageWords.h"
#include "expr/NumberText.h"
#include "expr/TextHelpers.h"
#include "interp/ProgramRun.h"
#include "interp/clsCode.h"
#include "services/FullWidthSlips.h"

namespace tarnik {
namespace {

bool isLetter(char16_t c) { return c >= u'a' && c <= u'z'; }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The variable names an expression text reads, as the word reader splits
// them: a letter and the letters and digits after it, outside string
// literals, that is no word of the language.
std::vector<std::u16string> namesIn(std::u16string_view text)
{
    std::vector<std::u16string> names;
    std::size_t i = 0;
    while (i < text.size()) {
        const char16_t c = text[i];
        if (c == u'"') {
            const std::size_t close = text.find(u'"', i + 1);
            i = close == std::u16string_view::npos ? text.size() : close + 1;
        } else if (isLetter(c)) {
            std::size_t end = i;
            while (end < text.size() && (isLetter(text[end]) || isDigit(text[end]))) ++end;
            std::u16string_view word = text.substr(i, end - i);
            if (!isLanguageWord(word)) names.emplace_back(word);
            i = end;
        } else if (isDigit(c) || c == u'.') {
            while (i < text.size() && (isDigit(text[i]) || text[i] == u'.')) ++i;
        } else {
            ++i;
        }
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
        } else if (head == u"if" || head == u"print" || head == u"do while" || head == u"loop until") {
            read(line.phLine, body);
        }
    }

    [[nodiscard]] const std::vector<std::u16string>& assigned() const { return m_assigned; }

    // Names read and never assigned, each with the first line that reads it.
    [[nodiscard]] std::map<std::u16string, std::int32_t> unassignedReads() const
    {
        std::map<std::u16string, std::int32_t> unassigned;
        for (const auto& [name, line] : m_reads) {
            if (std::find(m_assigned.begin(), m_assigned.end(), name) == m_assigned.end()) unassigned.emplace(name, line);
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

std::u16string withoutDigits(std::u16string_view name)
{
    std::u16string letters;
    for (char16_t c : name) {
        if (!isDigit(c)) letters += c;
    }
    return letters;
}

// Edits between two names: insertions, deletions, changes and swaps of
// neighbours, each part of the names edited at most once.
std::size_t editDistance(std::u16string_view a, std::u16string_view b)
{
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

std::optional<ProgramWarning> jumpWarning(const clsLine& line, const std::vector<clsLine>& table)
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
    return ProgramWarning{line.phLine, std::move(text)};
}

ProgramWarning unassignedWarning(const std::u16string& name, std::int32_t line,
                                 const std::vector<std::u16string>& assigned)
{
    std::u16string text = u"变量 " + name + u" 从来没有赋值，读到的总是 0。";
    if (std::optional<std::u16string> meant = nearestName(name, assigned)) {
        text.append(u"是否想写 ").append(*meant).append(u"？");
    }
    return {line, std::move(text)};
}

}  // namespace

std::optional<std::u16string> nearestName(std::u16string_view name, const std::vector<std::u16string>& assigned)
{
    if (name.size() <= 2) return std::nullopt;
    const std::size_t limit = name.size() == 3 ? 1 : 2;
    std::optional<std::u16string> best;
    std::size_t bestDistance = limit + 1;
    bool tied = false;
    for (const std::u16string& candidate : assigned) {
        if (candidate.size() <= 2 || candidate == name || (best && *best == candidate)) continue;
        if (withoutDigits(candidate) == withoutDigits(name)) continue;
        const std::size_t distance = editDistance(name, candidate);
        if (distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
            tied = false;
        } else if (distance == bestDistance) {
            tied = true;
        }
    }
    if (tied) return std::nullopt;
    return best;
}

std::vector<ProgramWarning> findWarnings(const clsCode& code)
{
    std::vector<ProgramWarning> warnings;
    NameUse use;
    for (std::size_t index = 1; index < code.Lines.size(); ++index) {
        use.statement(code.Lines[index]);
        if (std::optional<ProgramWarning> jump = jumpWarning(code.Lines[index], code.Lines)) {
            warnings.push_back(std::move(*jump));
        }
    }
    for (const auto& [name, line] : use.unassignedReads()) warnings.push_back(unassignedWarning(name, line, use.assigned()));
    std::stable_sort(warnings.begin(), warnings.end(),
                     [](const ProgramWarning& a, const ProgramWarning& b) { return a.line < b.line; });
    return warnings;
}

std::u16string ProgramWarning::shown() const { return u"第" + numberText(line) + u"行: 警告: " + text; }

std::vector<ProgramWarning> programWarnings(const clsCode& code, std::u16string_view editorText)
{
    std::vector<ProgramWarning> warnings = findWarnings(code);
    // Full-width characters outside literals and comments: a slip of the
    // input method even where the line still translates (ｘ is a name).
    for (const FullWidthWarning& slip : fullWidthWarnings(editorText)) warnings.push_back({slip.line, slip.text});
    std::stable_sort(warnings.begin(), warnings.end(),
                     [](const ProgramWarning& a, const ProgramWarning& b) { return a.line < b.line; });
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
