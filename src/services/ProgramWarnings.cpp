#include "services/ProgramWarnings.h"

#include <algorithm>
#include <initializer_list>

#include "expr/ExpressionCompiler.h"
#include "expr/LanguageWords.h"
#include "expr/NumberText.h"
#include "expr/TextHelpers.h"
#include "expr/clsExpPlus.h"
#include "expr/clsSen.h"
#include "expr/clsVar.h"
#include "interp/ProgramRun.h"
#include "interp/clsCode.h"
#include "services/FullWidthSlips.h"
#include "services/ReachableLines.h"
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

// The name an assignment (or a FOR's "NAME = START to ...") gives a value to.
std::optional<std::u16string> assignedName(std::u16string_view text)
{
    const std::size_t sign = assignmentSign(text);
    if (sign == std::u16string_view::npos) return std::nullopt;
    return std::u16string(trimBlanks(text.substr(0, sign)));
}

// The items of a PRINT or INPUT list, cut where the run cuts them; they end
// where the list cannot be cut (an open bracket or literal, an error of its own).
std::vector<std::u16string> listItems(std::u16string_view list)
{
    std::vector<std::u16string> items;
    std::u16string_view rest = trimBlanks(list);
    try {
        while (!rest.empty()) {
            const int separator = FindListSeparator(rest);
            if (separator <= 0) {
                items.emplace_back(rest);
                break;
            }
            items.emplace_back(trimBlanks(rest.substr(0, static_cast<std::size_t>(separator - 1))));
            rest = trimBlanks(rest.substr(static_cast<std::size_t>(separator)));
        }
    } catch (const BasicError&) {
    }
    return items;
}

bool isLiteral(std::u16string_view item) { return item.size() >= 2 && item.front() == u'"' && item.back() == u'"'; }

// The names an INPUT statement asks for: every item that is no literal.
std::vector<std::u16string> inputTargets(const clsLine& line)
{
    std::vector<std::u16string> targets;
    for (std::u16string& item : listItems(line.Body())) {
        if (!isLiteral(item)) targets.push_back(std::move(item));
    }
    return targets;
}

// Whether `line` gives the variable `name` a value: by assignment, INPUT or FOR.
bool assigns(const clsLine& line, std::u16string_view name)
{
    const std::u16string_view head = line.Head();
    if (head == u"input") {
        const std::vector<std::u16string> targets = inputTargets(line);
        return std::find(targets.begin(), targets.end(), name) != targets.end();
    }
    if (!head.empty() && head != u"for") return false;
    const std::optional<std::u16string> target = assignedName(head.empty() ? line.strText : line.Body());
    return target && *target == name;
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
            expression(line.phLine, line.strText, false);
        } else if (head == u"for") {
            expression(line.phLine, body, true);
        } else if (head == u"input") {
            for (std::u16string& name : namesIn(body)) {
                m_kept.push_back(name);
                m_assigned.push_back(std::move(name));
            }
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

    [[nodiscard]] bool isAssigned(std::u16string_view name) const
    {
        return std::find(m_assigned.begin(), m_assigned.end(), name) != m_assigned.end();
    }

    // Names given a value by an assignment and never read anywhere, each once
    // with the first line that assigns it. INPUT and FOR variables are left
    // out: asking for a value or counting is use enough.
    [[nodiscard]] std::vector<std::pair<std::u16string, std::int32_t>> unreadAssignments() const
    {
        std::vector<std::pair<std::u16string, std::int32_t>> unread;
        for (const auto& assignment : m_assignments) {
            const auto named = [&](const auto& entry) { return entry.first == assignment.first; };
            if (std::find(m_kept.begin(), m_kept.end(), assignment.first) != m_kept.end() ||
                std::any_of(m_reads.begin(), m_reads.end(), named) || std::any_of(unread.begin(), unread.end(), named)) {
                continue;
            }
            unread.push_back(assignment);
        }
        return unread;
    }

private:
    std::vector<std::u16string> m_assigned;
    std::vector<std::u16string> m_kept;  // INPUT and FOR variables
    std::vector<std::pair<std::u16string, std::int32_t>> m_assignments;
    std::vector<std::pair<std::u16string, std::int32_t>> m_reads;

    // An assignment (or a FOR's "NAME = START to ..."), or a bare expression.
    void expression(std::int32_t line, std::u16string_view text, bool counts)
    {
        const std::size_t sign = assignmentSign(text);
        if (sign == std::u16string_view::npos) return read(line, text);
        std::u16string name(trimBlanks(text.substr(0, sign)));
        if (counts) {
            m_kept.push_back(name);
        } else if (namesIn(name) == std::vector<std::u16string>{name}) {
            m_assignments.emplace_back(name, line);
        }
        m_assigned.push_back(std::move(name));
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
    // Not a label at all: an error when it runs, and explained there.
    if (jumpTarget(line, table).value_or(1) != 0) return std::nullopt;
    const std::u16string target = line.Body();
    std::u16string text = head == u"goto" ? u"Goto " : u"Gosub ";
    text.append(target).append(u"：没有一行的行号是 ").append(target).append(u"，运行到这里会停止。");
    return ProgramWarning{line.phLine, std::move(text), columnOf(lines.line(line.phLine), {head, target})};
}

// Names joined for a sentence: «a、b».
std::u16string joinedNames(const std::vector<std::u16string>& names)
{
    std::u16string joined;
    for (const std::u16string& name : names) joined.append(joined.empty() ? u"" : u"、").append(name);
    return joined;
}

std::size_t firstNonBlank(std::u16string_view line)
{
    const std::size_t at = line.find_first_not_of(u" \t");
    return at == std::u16string_view::npos ? 0 : at;
}

// Why the line after `exit` cannot be reached from it.
std::u16string leavingReason(const clsLine& exit)
{
    const std::u16string_view head = exit.Head();
    std::u16string reason(u"第");
    reason.append(numberText(exit.phLine)).append(u"行的 ");
    if (head == u"end") return reason.append(u"End 让程序在那里结束");
    if (head == u"return") return reason.append(u"Return 总是回到 Gosub 或 Goto 的下一行");
    return reason.append(u"Goto ").append(exit.Body()).append(u" 总是跳走");
}

bool leavesForGood(const clsLine& exit)
{
    const std::u16string_view head = exit.Head();
    return head == u"end" || head == u"goto" || head == u"return";
}

// Lines that only close or continue a block: never run on their own.
bool isBlockPart(const clsLine& line)
{
    static constexpr std::u16string_view kParts[] = {u"else", u"end if", u"next", u"loop", u"loop until", u"do",
                                                     u"select case"};
    return std::find(std::begin(kParts), std::end(kParts), line.Head()) != std::end(kParts);
}

// Statements after END, GOTO or RETURN that nothing else leads to: one
// warning for each such stretch, at its first statement.
void addUnreachableWarnings(std::vector<ProgramWarning>& warnings, const std::vector<clsLine>& table,
                            const EditorLines& lines)
{
    const ReachableLines reach(table);
    for (std::size_t exit = 1; exit + 1 < table.size(); ++exit) {
        if (!reach.reachable(exit) || reach.reachable(exit + 1) || !leavesForGood(table[exit])) continue;
        for (std::size_t index = exit + 1; index < table.size() && !reach.reachable(index); ++index) {
            if (isBlockPart(table[index])) continue;
            const std::int32_t line = table[index].phLine;
            warnings.push_back({line, u"这一行永远不会运行：" + leavingReason(table[exit]) + u"，中间又没有行号可以跳到这里。",
                                firstNonBlank(lines.line(line))});
            break;
        }
    }
}

// Where on the line the statement `record` stands (a one-line IF's THEN part
// after its condition); where `name` first stands when the statement was
// rewritten (an INPUT list cut into one INPUT per name).
std::size_t statementColumn(std::u16string_view line, const clsLine& record, std::u16string_view name)
{
    const std::size_t found = codeOf(line).find(record.strText);
    return found != std::u16string::npos ? found : columnOf(line, {name});
}

// A FOR's loop variable given a value between the FOR and its NEXT.
void addLoopVariableWarnings(std::vector<ProgramWarning>& warnings, const std::vector<clsLine>& table,
                             const EditorLines& lines)
{
    std::vector<bool> warned(table.size(), false);
    for (std::size_t loop = 1; loop < table.size(); ++loop) {
        if (table[loop].Head() != u"for") continue;
        const std::optional<std::u16string> counter = assignedName(table[loop].Body());
        if (!counter) continue;
        const auto next = static_cast<std::size_t>(std::max<std::int16_t>(table[loop].for_next_id, 0));
        for (std::size_t index = loop + 1; index < next && index < table.size(); ++index) {
            if (warned[index] || !assigns(table[index], *counter)) continue;
            warned[index] = true;
            const std::int32_t line = table[index].phLine;
            warnings.push_back({line,
                                u"变量 " + *counter + u" 是第" + numberText(table[loop].phLine) +
                                    u"行 For 循环的计数变量，在循环里又给它赋值，Next 会从改过的值接着数。",
                                statementColumn(lines.line(line), table[index], *counter)});
        }
    }
}

// The condition an IF, DO WHILE or LOOP UNTIL line tests.
std::optional<std::u16string> conditionOf(const clsLine& line)
{
    const std::u16string_view head = line.Head();
    std::u16string body = line.Body();
    if (head == u"do while" || head == u"loop until") return body;
    if (head != u"if" || !body.ends_with(u"then")) return std::nullopt;
    return std::u16string(trimBlanks(std::u16string_view(body).substr(0, body.size() - 4)));
}

// What a condition gives when every variable is 0; nullopt when it stops on an error.
std::optional<bool> valueWithZeros(std::u16string_view condition)
{
    ErrorState errors;
    clsVar variables(errors);
    clsExpPlus evaluator(variables);
    bool value = false;
    if (!errors.resumeNext([&] { value = evaluator.logic(condition); }) || errors.pending()) return std::nullopt;
    return value;
}

// Conditions that read variables and nothing but variables never assigned:
// they always read 0, so the condition always comes out the same.
void addConstantConditionWarnings(std::vector<ProgramWarning>& warnings, const std::vector<clsLine>& table,
                                  const NameUse& use, const EditorLines& lines)
{
    for (std::size_t index = 1; index < table.size(); ++index) {
        const std::optional<std::u16string> condition = conditionOf(table[index]);
        if (!condition) continue;
        std::vector<std::u16string> names;
        for (std::u16string& name : namesIn(*condition)) {
            if (use.isAssigned(name)) {
                names.clear();
                break;
            }
            if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
        }
        const std::optional<bool> value = names.empty() ? std::nullopt : valueWithZeros(*condition);
        if (!value) continue;
        const std::int32_t line = table[index].phLine;
        warnings.push_back({line,
                            u"条件里的变量 " + joinedNames(names) + (names.size() > 1 ? u" 都" : u" ") +
                                u"从来没有赋值，总是 0，所以这个条件总是" + (*value ? u"成立" : u"不成立") +
                                u"，结果永远不变。",
                            columnOf(lines.line(line), {names.front()})});
    }
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

// Where on which line a full-width character stands that a warning explains.
using SlipPlaces = std::vector<std::pair<std::int32_t, std::size_t>>;

constexpr std::u16string_view kWideSeparators = u"，；";

// The names an INPUT item would have held, had its separators been half-width.
std::vector<std::u16string> namesMeant(std::u16string_view item)
{
    std::vector<std::u16string> parts;
    for (std::size_t start = 0; start <= item.size();) {
        const std::size_t end = std::min(item.find_first_of(kWideSeparators, start), item.size());
        const std::u16string_view part = trimBlanks(item.substr(start, end - start));
        if (!part.empty()) parts.emplace_back(part);
        start = end + 1;
    }
    return parts;
}

std::u16string inputSeparatorText(const std::u16string& item, char16_t wide)
{
    const std::vector<std::u16string> parts = namesMeant(item);
    std::u16string text(u"Input ");
    text.append(item).append(u" 里的“").append(1, wide).append(u"”是全角，算作变量名的一部分：运行时只问一次，答案存进名叫 ");
    text.append(item).append(u" 的一个变量，").append(joinedNames(parts)).append(parts.size() > 1 ? u" 都" : u" ");
    return text.append(u"得不到这次输入的值。请改成半角“").append(1, wide == u'，' ? u',' : u';').append(u"”。");
}

// INPUT items that a full-width comma or semicolon runs together: the run
// asks once, for one variable named after the whole item. Each such
// character's place goes to `explained`.
std::vector<ProgramWarning> inputSeparatorWarnings(const std::vector<clsLine>& table, const EditorLines& lines,
                                                   SlipPlaces& explained)
{
    std::vector<ProgramWarning> found;
    for (std::size_t index = 1; index < table.size(); ++index) {
        if (table[index].Head() != u"input") continue;
        const std::int32_t line = table[index].phLine;
        for (const std::u16string& item : inputTargets(table[index])) {
            const std::size_t slip = item.find_first_of(kWideSeparators);
            if (slip == std::u16string::npos) continue;
            const std::size_t at = codeOf(lines.line(line)).find(item);
            for (std::size_t mark = slip; at != std::u16string::npos && mark != std::u16string::npos;
                 mark = item.find_first_of(kWideSeparators, mark + 1)) {
                explained.emplace_back(line, at + mark);
            }
            found.push_back({line, inputSeparatorText(item, item[slip]),
                             at == std::u16string::npos ? lines.line(line).size() : at + slip});
        }
    }
    return found;
}

ProgramWarning unreadWarning(const std::u16string& name, std::int32_t line, const EditorLines& lines)
{
    return {line, u"变量 " + name + u" 赋了值，可是程序里没有一处读它，这个值没有用上。", columnOf(lines.line(line), {name})};
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
    addUnreachableWarnings(warnings, code.Lines, lines);
    for (const auto& [name, line] : use.unassignedReads()) {
        warnings.push_back(unassignedWarning(name, line, use.assigned(), lines));
    }
    addConstantConditionWarnings(warnings, code.Lines, use, lines);
    for (const auto& [name, line] : use.unreadAssignments()) warnings.push_back(unreadWarning(name, line, lines));
    addLoopVariableWarnings(warnings, code.Lines, lines);
}

// Full-width characters outside literals and comments: a slip of the input
// method even where the line still translates (ｘ is a name). A slip that an
// INPUT warning explains already is not told twice.
void addSlipWarnings(std::vector<ProgramWarning>& warnings, const EditorLines& lines, const SlipPlaces& explained)
{
    std::int32_t number = 0;
    for (std::u16string_view line : lines.lines()) {
        ++number;
        for (const FullWidthSlip& slip : fullWidthSlips(line)) {
            if (std::find(explained.begin(), explained.end(), std::pair{number, slip.start}) == explained.end()) {
                warnings.push_back({number, slipWarning(slip), slip.start});
            }
        }
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
    SlipPlaces explained;
    const std::vector<ProgramWarning> inputSlips = inputSeparatorWarnings(code.Lines, lines, explained);
    addSlipWarnings(warnings, lines, explained);
    warnings.insert(warnings.end(), inputSlips.begin(), inputSlips.end());
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
