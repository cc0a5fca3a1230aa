#include "services/OriginTracker.h"

#include <algorithm>
#include <unordered_set>

#include "expr/TextHelpers.h"
#include "interp/TraceRecorder.h"
#include "interp/clsCode.h"
#include "services/SourceText.h"

namespace tarnik {
namespace {


// The first wrong character of the actual line, moved back to the start of
// the number it is in (3.0 for 3 is that number's fault), or its last
// character when the actual line stops short; none without an actual line.
std::optional<std::size_t> wrongColumn(const OutputDifference& difference)
{
    if (!difference.actual) return std::nullopt;
    const std::u16string& actual = *difference.actual;
    const std::u16string expected = difference.expected.value_or(u"");
    std::size_t column = static_cast<std::size_t>(
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end()).first - actual.begin());
    const auto inNumber = [](char16_t c) { return (c >= u'0' && c <= u'9') || c == u'.'; };
    if (column < actual.size() && inNumber(actual[column])) {
        while (column > 0 && inNumber(actual[column - 1])) --column;
    }
    if (column == actual.size() && column > 0) --column;
    return column;
}

bool isNameCharacter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' ||
           (c >= 0x4E00 && c <= 0x9FFF);
}

bool existsIn(const clsVar& variables, std::u16string_view name)
{
    const std::u16string lower = lowerAscii(name);
    const std::vector<std::u16string>& names = variables.VarNames();
    return std::any_of(names.begin(), names.end(), [&lower](const std::u16string& n) { return lowerAscii(n) == lower; });
}

// The variables a statement names, as it writes them, in order, each once;
// literals and the comment are skipped.
std::vector<std::u16string> namedVariables(std::u16string_view statement, const clsVar& variables)
{
    std::vector<std::u16string> names;
    std::unordered_set<std::u16string> seen;
    for (std::size_t at = 0; at < statement.size();) {
        const char16_t c = statement[at];
        if (c == u'\'') break;
        if (c == u'"') {
            const std::size_t close = statement.find(u'"', at + 1);
            at = close == std::u16string_view::npos ? statement.size() : close + 1;
            continue;
        }
        if (!isNameCharacter(c) || (c >= u'0' && c <= u'9')) {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < statement.size() && isNameCharacter(statement[end])) ++end;
        const std::u16string_view name = statement.substr(at, end - at);
        if (existsIn(variables, name) && seen.insert(lowerAscii(name)).second) names.emplace_back(name);
        at = end;
    }
    return names;
}

// The FOR records whose loop body holds editor line `line`, outermost first.
std::vector<const clsLine*> forLoopsAround(const clsCode& code, std::int32_t line)
{
    std::vector<const clsLine*> loops;
    // The table as linked: the line pass counted records that the later
    // passes dropped or split, so LineCount is not its size.
    const std::size_t records = code.Lines.size();
    for (std::size_t index = 1; index < records; ++index) {
        const clsLine& record = code.Lines[index];
        if (record.Head() != u"for" || record.for_next_id <= 0 || static_cast<std::size_t>(record.for_next_id) >= records) {
            continue;
        }
        const std::int32_t nextLine = code.Lines[static_cast<std::size_t>(record.for_next_id)].phLine;
        if (record.phLine < line && nextLine > line) loops.push_back(&record);
    }
    return loops;
}

// The FOR's variable as the line typed it (the translated text is lower case).
std::u16string forVariable(const clsLine& record, std::u16string_view typedLine)
{
    const std::u16string body = record.Body();
    const std::u16string_view name = trimBlanks(std::u16string_view(body).substr(0, body.find(u'=')));
    const std::u16string lowerLine = lowerAscii(typedLine);
    const std::size_t keyword = lowerLine.find(u"for");
    const std::size_t at = keyword == std::u16string::npos ? keyword : lowerLine.find(name, keyword + 3);
    return std::u16string(at == std::u16string::npos ? name : typedLine.substr(at, name.size()));
}

bool startsWithInput(std::u16string_view statement)
{
    const std::u16string lower = lowerAscii(statement.substr(0, 6));
    return lower.starts_with(u"input") && (lower.size() == 5 || !isNameCharacter(lower[5]));
}

}  // namespace

OriginTracker::OriginTracker(const clsCode& code, std::u16string_view editorText, const std::u16string& output,
                             const OutputDifference& difference)
    : m_code(code), m_output(output), m_outputLine(difference.line), m_column(wrongColumn(difference))
{
    const std::u16string crLf = withCrLfLineEnds(editorText);
    for (std::u16string_view line : splitLines(crLf)) m_editorLines.emplace_back(trimBlanks(line));
}

// The judged output drops a question once its INPUT asks, so it may shrink.
void OriginTracker::scanLineEnds()
{
    if (m_output.size() < m_scanned) {
        while (!m_lineEnds.empty() && m_lineEnds.back() > m_output.size()) m_lineEnds.pop_back();
        m_scanned = m_output.size();
    }
    for (; m_scanned < m_output.size(); ++m_scanned) {
        const char16_t c = m_output[m_scanned];
        const bool crLf = c == u'\r' && m_scanned + 1 < m_output.size() && m_output[m_scanned + 1] == u'\n';
        if ((c == u'\n' || c == u'\r') && !crLf) m_lineEnds.push_back(m_scanned + 1);
    }
}

std::size_t OriginTracker::lineStart() const
{
    return m_outputLine == 1 ? 0 : m_lineEnds[static_cast<std::size_t>(m_outputLine - 2)];
}

bool OriginTracker::coversWrongCharacter() const
{
    if (!m_column || m_lineEnds.size() + 1 < static_cast<std::size_t>(m_outputLine)) return false;
    return m_output.size() > lineStart() + *m_column;
}

void OriginTracker::stepDone(const RecordedStep& step)
{
    scanLineEnds();
    const bool covers = coversWrongCharacter();
    if (!covers) m_origin.reset();
    if (covers && !m_origin) m_origin = originAt(step);
    noteChanges(step);
    noteInputText(step);
    m_sizeBefore = m_output.size();
}

std::u16string_view OriginTracker::editorLine(std::int32_t line) const
{
    if (line < 1 || static_cast<std::size_t>(line) > m_editorLines.size()) return {};
    return m_editorLines[static_cast<std::size_t>(line - 1)];
}

OutputOrigin OriginTracker::originAt(const RecordedStep& step) const
{
    OutputOrigin origin{m_outputLine, {}, step.step, step.line, std::u16string(editorLine(step.line)), {}, {}};
    const std::size_t from = std::max(lineStart(), m_sizeBefore);
    const std::size_t end = std::min(m_output.find_first_of(u"\r\n", from), m_output.size());
    origin.piece = m_output.substr(from, end - from);
    const clsVar& variables = m_code.program.Variables;
    for (const std::u16string& name : namedVariables(origin.statement, variables)) {
        origin.values.push_back({name, variables.valueOf(name)});
        if (assignedBy(step, name)) continue;  // its value is the one shown
        const auto change = m_changes.find(lowerAscii(name));
        if (change == m_changes.end()) {
            origin.assignments.push_back({name, 0, 0, {}});
        } else {
            origin.assignments.push_back({name, change->second.step, change->second.line, change->second.loopVariables});
        }
    }
    return origin;
}

const std::vector<std::u16string>& OriginTracker::loopVariablesAround(std::int32_t line)
{
    const auto known = m_loopVariables.find(line);
    if (known != m_loopVariables.end()) return known->second;
    std::vector<std::u16string>& names = m_loopVariables[line];
    for (const clsLine* loop : forLoopsAround(m_code, line)) names.push_back(forVariable(*loop, editorLine(loop->phLine)));
    return names;
}

// A variable that appears with 0 was only read (or set to what it already
// read as): no value was given to it.
bool OriginTracker::givesValue(const VariableValue& changed) const
{
    return changed.value != 0 || m_changes.contains(lowerAscii(changed.name));
}

bool OriginTracker::assignedBy(const RecordedStep& step, std::u16string_view name) const
{
    const std::u16string key = lowerAscii(name);
    return std::any_of(step.changes.begin(), step.changes.end(), [&](const VariableValue& changed) {
        return lowerAscii(changed.name) == key && givesValue(changed);
    });
}

void OriginTracker::noteChanges(const RecordedStep& step)
{
    const clsVar& variables = m_code.program.Variables;
    for (const VariableValue& changed : step.changes) {
        if (!givesValue(changed)) continue;
        std::u16string key = lowerAscii(changed.name);
        Change change{step.step, step.line, {}};
        for (const std::u16string& loopVariable : loopVariablesAround(step.line)) {
            if (lowerAscii(loopVariable) != key) change.loopVariables.push_back({loopVariable, variables.valueOf(loopVariable)});
        }
        m_changes[std::move(key)] = std::move(change);
    }
}

void OriginTracker::noteInputText(const RecordedStep& step)
{
    if (m_recorder == nullptr) return;
    const bool answered = m_recorder->answers().size() > m_answersSeen;
    m_answersSeen = m_recorder->answers().size();
    const bool inputLine = startsWithInput(editorLine(step.line));
    if (!inputLine) m_withoutInputText += step.output;
    if (!inputLine || answered) m_withoutQuestions += step.output;
}

bool OriginTracker::rightWithoutInputText(std::u16string_view expected) const
{
    const auto rightUpToTheLine = [&](const std::u16string& output) {
        const std::optional<OutputDifference> difference = firstDifference(expected, output);
        return !difference || difference->line > m_outputLine;
    };
    return rightUpToTheLine(m_withoutQuestions) || rightUpToTheLine(m_withoutInputText);
}

}  // namespace tarnik
