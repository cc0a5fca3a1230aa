#include "services/help/LoopDiagnosis.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <stop_token>

#include "expr/LanguageWords.h"
#include "expr/NumberText.h"
#include "expr/TextHelpers.h"
#include "interp/RunConsole.h"
#include "interp/clsCode.h"
#include "services/help/ExpressionValue.h"
#include "services/help/LineWords.h"

namespace tarnik {
namespace {

using Kind = LineWord::Kind;
using Sentences = std::vector<std::u16string>;

// States kept before the limit: enough for loops of a few thousand
// statements a round, little enough to hold.
constexpr std::int64_t kWindow = 8192;
constexpr std::size_t kValuesShown = 4;

std::u16string lineText(std::int32_t line) { return std::u16string(u"第") + numberText(line) + u"行"; }

std::u16string countText(std::int64_t count)
{
    const std::string digits = std::to_string(count);
    return std::u16string(digits.begin(), digits.end());
}

// The state of a run before a statement as the loop analysis compares it:
// of the return stack (100000 entries when a GOTO loop has filled it) only
// its size and its top, which a repeating loop leaves as they were.
struct LoopState {
    std::int16_t nextIndex = 0;
    std::int32_t currentLine = 0;
    std::size_t stackSize = 0;
    std::vector<std::int16_t> stackTop;
    std::vector<ForBounds> forBounds;
    std::vector<VariableValue> variables;
};

constexpr std::size_t kStackTopCompared = 64;

LoopState loopStateOf(RunCheckpoint point)
{
    const std::size_t top = std::min(point.returnStack.size(), kStackTopCompared);
    return {point.nextIndex,
            point.currentLine,
            point.returnStack.size(),
            std::vector<std::int16_t>(point.returnStack.end() - static_cast<std::ptrdiff_t>(top), point.returnStack.end()),
            std::move(point.forBounds),
            std::move(point.variables)};
}

// A replay that runs a number of statements quietly, then keeps the state
// before each of the next ones, answering INPUT with the answers the run
// was given.
class StateKeeper : public RunConsole {
public:
    StateKeeper(const clsCode& code, const std::vector<std::u16string>& answers, std::int64_t skipped,
                std::size_t kept, std::stop_token stop)
        : m_code(code), m_answers(answers), m_skipped(skipped), m_kept(kept), m_stop(std::move(stop))
    {
    }

    void yield() override { m_afterYield = true; }
    std::int64_t quietStatements() override
    {
        constexpr std::int64_t kBatch = 1 << 16;
        const std::int64_t granted = std::clamp<std::int64_t>(m_skipped - m_started, 0, kBatch);
        m_started += granted;
        return granted;
    }
    bool consoleVisible() override
    {
        if (m_stop.stop_requested()) return false;
        if (!m_afterYield) return !m_full;
        m_afterYield = false;
        if (m_started >= m_skipped) {
            m_full = m_states.size() >= m_kept;
            if (m_full) return false;
            m_states.push_back(loopStateOf(m_code.checkpoint()));
        }
        ++m_started;
        return true;
    }
    void StopWindow() override {}
    void Append(std::u16string_view) override {}
    std::optional<std::u16string> InputWindow(std::u16string_view) override
    {
        if (m_answersUsed >= m_answers.size()) return std::nullopt;
        return m_answers[m_answersUsed++];
    }
    void Clear() override {}
    void showConsole() override {}
    void setCaption(std::u16string_view) override {}

    [[nodiscard]] std::vector<LoopState> takeStates() { return std::move(m_states); }

private:
    const clsCode& m_code;
    const std::vector<std::u16string>& m_answers;
    std::size_t m_answersUsed = 0;
    std::int64_t m_skipped;
    std::size_t m_kept;
    std::int64_t m_started = 0;  // statements started or granted
    bool m_afterYield = false;
    bool m_full = false;
    std::stop_token m_stop;
    std::vector<LoopState> m_states;
};

// The states before the statements `from` + 1 to `to` of the run.
std::vector<LoopState> statesBetween(std::u16string_view text, const std::vector<std::u16string>& answers,
                                     std::int64_t from, std::int64_t to, const std::stop_token& stop)
{
    clsCode code;
    code.Init(text);
    StateKeeper keeper(code, answers, from, static_cast<std::size_t>(to - from), stop);
    code.Run(keeper);
    return keeper.takeStates();
}

// The state before each of the first statements of the run.
std::vector<LoopState> firstStates(std::u16string_view text, const std::vector<std::u16string>& answers,
                                   std::int64_t steps, const std::stop_token& stop)
{
    // Only those before the last ones: a short run's two windows would overlap.
    return statesBetween(text, answers, 0, std::min(std::max<std::int64_t>(0, steps - kWindow), kWindow), stop);
}

// The state before each of the last statements of the run, oldest first.
std::vector<LoopState> lastStates(std::u16string_view text, const std::vector<std::u16string>& answers,
                                  std::int64_t steps, const std::stop_token& stop)
{
    return statesBetween(text, answers, std::max<std::int64_t>(0, steps - kWindow), steps, stop);
}

bool sameBounds(const ForBounds& a, const ForBounds& b)
{
    return a.index == b.index && a.min == b.min && a.max == b.max && a.step == b.step && a.name == b.name;
}

bool sameState(const LoopState& a, const LoopState& b)
{
    return a.nextIndex == b.nextIndex && a.stackSize == b.stackSize && a.stackTop == b.stackTop &&
           a.variables == b.variables &&
           std::equal(a.forBounds.begin(), a.forBounds.end(), b.forBounds.begin(), b.forBounds.end(), sameBounds);
}

// The first state that comes back later, and where: [first, again).
std::optional<std::pair<std::size_t, std::size_t>> firstRepeat(const std::vector<LoopState>& states)
{
    std::multimap<std::pair<std::int16_t, std::size_t>, std::size_t> seen;  // by next statement and variable count
    for (std::size_t i = 0; i < states.size(); ++i) {
        const auto key = std::make_pair(states[i].nextIndex, states[i].variables.size());
        const auto [begin, end] = seen.equal_range(key);
        for (auto at = begin; at != end; ++at) {
            if (sameState(states[at->second], states[i])) return std::make_pair(at->second, i);
        }
        seen.emplace(key, i);
    }
    return std::nullopt;
}

// A loop of the text: its first and last lines and the condition that keeps
// it going (LOOP UNTIL too repeats while its condition holds).
struct TextLoop {
    std::int32_t head = 0;
    std::int32_t tail = 0;
    std::u16string condition;      // as typed; empty: none
    std::int32_t conditionLine = 0;
};

std::u16string restAfter(const LineWords& line, std::size_t first)
{
    if (first >= line.words.size()) return {};
    return std::u16string(line.span(line.words[first], line.words.back()));
}

// "i <= 10" for a FOR i = 1 TO 10, ">=" for a negative step.
std::u16string forCondition(const LineWords& line)
{
    const std::size_t to = line.find(u"to");
    if (line.words.size() < 2 || to >= line.words.size()) return {};
    const std::size_t step = line.find(u"step", to);
    const std::u16string end(to + 1 < step ? line.span(line.words[to + 1], line.words[step - 1]) : u"");
    const std::optional<double> stepValue = expressionValue(restAfter(line, step + 1), {});
    const bool down = step < line.words.size() && stepValue && *stepValue < 0;
    return std::u16string(line.text(line.words[1])) + (down ? u" >= " : u" <= ") + end;
}

// The condition of a "IF cond THEN GOTO n" line.
std::u16string jumpCondition(const LineWords& line)
{
    const std::size_t then = line.find(u"then");
    if (!line.is(0, u"if") || then >= line.words.size() || then < 2) return {};
    return std::u16string(line.span(line.words[1], line.words[then - 1]));
}

struct OpenLoop {
    std::u16string_view word;
    TextLoop loop;
};

void closeLoop(std::vector<OpenLoop>& open, std::u16string_view opener, std::int32_t at, std::vector<TextLoop>& loops)
{
    const auto found = std::find_if(open.rbegin(), open.rend(), [&](const OpenLoop& o) { return o.word == opener; });
    if (found == open.rend()) return;
    TextLoop loop = found->loop;
    loop.tail = at;
    loops.push_back(loop);
    open.erase(std::next(found).base(), open.end());
}

void addJumpLoop(const std::vector<LineWords>& lines, std::int32_t at, std::vector<TextLoop>& loops)
{
    const LineWords& line = lineNumbered(lines, at);
    const std::size_t jump = line.find(u"goto");
    if (jump + 1 >= line.words.size() || line.words[jump + 1].kind != Kind::Number) return;
    const std::u16string_view label = line.text(line.words[jump + 1]);
    for (std::int32_t target = 1; target <= at; ++target) {
        const LineWords& candidate = lineNumbered(lines, target);
        if (!candidate.words.empty() && candidate.text(candidate.words[0]) == label) {
            loops.push_back({target, at, jumpCondition(line), at});
            return;
        }
    }
}

std::vector<TextLoop> textLoops(const std::vector<LineWords>& lines)
{
    std::vector<TextLoop> loops;
    std::vector<OpenLoop> open;
    for (std::int32_t at = 1; at <= static_cast<std::int32_t>(lines.size()); ++at) {
        const LineWords& line = lineNumbered(lines, at);
        if (line.is(0, u"for")) open.push_back({u"for", {at, 0, forCondition(line), 0}});
        if (line.is(0, u"while")) open.push_back({u"while", {at, 0, restAfter(line, 1), at}});
        if (line.is(0, u"do")) {
            const bool condition = line.is(1, u"while");
            open.push_back({u"do", {at, 0, condition ? restAfter(line, 2) : u"", condition ? at : 0}});
        }
        if (line.is(0, u"next")) closeLoop(open, u"for", at, loops);
        if (line.is(0, u"wend")) closeLoop(open, u"while", at, loops);
        if (line.is(0, u"loop") && !open.empty() && open.back().word == u"do") {
            if (open.back().loop.condition.empty() && line.words.size() > 2) {
                open.back().loop.condition = restAfter(line, 2);
                open.back().loop.conditionLine = at;
            }
            closeLoop(open, u"do", at, loops);
        }
        addJumpLoop(lines, at, loops);
    }
    for (TextLoop& loop : loops) {
        if (loop.conditionLine == 0 && !loop.condition.empty()) loop.conditionLine = loop.tail;
    }
    return loops;
}

// The innermost loop holding every line from `first` to `last`.
std::optional<TextLoop> loopAround(const std::vector<TextLoop>& loops, std::int32_t first, std::int32_t last)
{
    std::optional<TextLoop> best;
    for (const TextLoop& loop : loops) {
        if (loop.head > first || loop.tail < last) continue;
        if (!best || loop.tail - loop.head < best->tail - best->head) best = loop;
    }
    return best;
}

std::u16string valuesText(const std::vector<VariableValue>& variables)
{
    std::u16string text;
    for (std::size_t i = 0; i < variables.size() && i < kValuesShown; ++i) {
        if (!text.empty()) text += u"，";
        text += variables[i].name + u" = " + numberText(variables[i].value);
    }
    if (variables.size() > kValuesShown) text += u"……";
    return text;
}

std::optional<double> valueIn(const LoopState& state, std::u16string_view name)
{
    for (const VariableValue& variable : state.variables) {
        if (variable.name == name) return variable.value;
    }
    return std::nullopt;
}

std::vector<std::u16string> conditionNames(std::u16string_view condition)
{
    const LineWords words = readLineWords(condition);
    std::vector<std::u16string> names;
    for (const LineWord& word : words.words) {
        const std::u16string name(words.lower(word));
        if (word.kind == Kind::Name && !isLanguageWord(name) && std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(name);
        }
    }
    return names;
}

// The other side of the condition's comparison, when one side is `name` alone.
struct Comparison {
    std::u16string bound;
    bool waitsForEquality = false;  // "<>": the loop ends only on the very value
};

std::optional<Comparison> comparisonWith(std::u16string_view condition, std::u16string_view name)
{
    const LineWords words = readLineWords(condition);
    std::size_t op = 0;
    while (op < words.words.size() && (words.words[op].kind != Kind::Symbol ||
                                       std::u16string_view(u"<>=").find(words.text(words.words[op])) == std::u16string_view::npos)) {
        ++op;
    }
    if (op == 0 || op + 1 >= words.words.size()) return std::nullopt;
    std::size_t after = op + 1;
    std::u16string symbol(words.text(words.words[op]));
    if (words.words[after].kind == Kind::Symbol && words.words[after].begin == words.words[op].end &&
        std::u16string_view(u"<>=").find(words.text(words.words[after])) != std::u16string_view::npos) {
        symbol += words.text(words.words[after++]);
    }
    if (after >= words.words.size()) return std::nullopt;
    const std::u16string left(words.span(words.words[0], words.words[op - 1]));
    const std::u16string right(words.span(words.words[after], words.words.back()));
    const bool equality = symbol == u"<>";
    if (lowerAscii(left) == name) return Comparison{right, equality};
    if (lowerAscii(right) == name) return Comparison{left, equality};
    return std::nullopt;
}

std::u16string sequenceText(const std::vector<double>& values)
{
    std::u16string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i == kValuesShown - 1 && values.size() > kValuesShown) {
            text += std::u16string(u"、…、") + numberText(values.back());
            break;
        }
        if (i > 0) text += u"、";
        text += numberText(values[i]);
    }
    return text;
}

// The values `name` had each time the run came to `line`, repeats in a row dropped.
std::vector<double> valuesAtLine(const std::vector<LoopState>& states, std::int32_t line, std::u16string_view name)
{
    std::vector<double> values;
    for (const LoopState& state : states) {
        if (state.currentLine != line) continue;
        const double value = valueIn(state, name).value_or(0);
        if (values.empty() || values.back() != value) values.push_back(value);
    }
    return values;
}

// The line whose statement set `name` back to `value` inside the states; 0 when none.
std::int32_t lineSettingBack(const std::vector<LoopState>& states, std::u16string_view name, double value)
{
    for (std::size_t i = 0; i + 1 < states.size(); ++i) {
        if (valueIn(states[i], name).value_or(0) != value && valueIn(states[i + 1], name).value_or(0) == value) {
            return states[i].currentLine;
        }
    }
    return 0;
}

bool stepsOver(const std::vector<double>& values, double bound)
{
    for (std::size_t i = 0; i + 1 < values.size(); ++i) {
        if ((values[i] - bound) * (values[i + 1] - bound) < 0) return true;
    }
    return false;
}

bool movesAway(const std::vector<double>& values, double bound)
{
    if (values.size() < 2) return false;
    for (std::size_t i = 0; i + 1 < values.size(); ++i) {
        if (std::abs(values[i + 1] - bound) <= std::abs(values[i] - bound)) return false;
    }
    return true;
}

struct ConditionView {
    const TextLoop& loop;
    const std::vector<LoopState>& states;  // where the values are read
    const std::vector<LoopState>& round;   // consecutive states, where a value set back is looked for
    const std::vector<LineWords>& lines;
};

std::u16string verdict(const TextLoop& loop)
{
    return std::u16string(u"条件 ") + loop.condition + u" 一直成立";
}

std::u16string variableSentence(const ConditionView& view, const std::u16string& name)
{
    const std::vector<double> values = valuesAtLine(view.states, view.loop.conditionLine, name);
    if (values.empty()) return {};
    const std::u16string at = lineText(view.loop.conditionLine);
    if (values.size() == 1) {
        const std::int32_t back = lineSettingBack(view.round, name, values.front());
        if (back != 0) {
            return name + u" 在" + lineText(back) + u"（" + std::u16string(lineNumbered(view.lines, back).statement()) + u"）又被改回 " +
                   numberText(values.front()) + u"，每次到" + at + u"都是 " + numberText(values.front()) + u"，" +
                   verdict(view.loop) + u"。";
        }
        return name + u" 在循环里没有改变，一直是 " + numberText(values.front()) + u"，" + verdict(view.loop) + u"。";
    }
    std::u16string text = name + u" 在" + at + u"依次是 " + sequenceText(values);
    const std::optional<Comparison> comparison = comparisonWith(view.loop.condition, name);
    const std::optional<double> bound =
        comparison ? expressionValue(comparison->bound, view.states.back().variables) : std::nullopt;
    if (bound && comparison->waitsForEquality && stepsOver(values, *bound)) {
        return text + u"，跳过了 " + numberText(*bound) + u"，永远不会正好等于 " + numberText(*bound) + u"，" +
               verdict(view.loop) + u"。";
    }
    if (bound && !comparison->waitsForEquality && movesAway(values, *bound)) {
        return text + u"，离 " + numberText(*bound) + u" 越来越远，" + verdict(view.loop) + u"。";
    }
    return text + u"。";
}

void conditionSentences(const ConditionView& view, Sentences& out)
{
    if (view.loop.condition.empty()) {
        out.push_back(u"这个循环没有结束的条件，里面也没有跳出去的语句（Exit Do、Exit For 或 Goto）。");
        return;
    }
    for (const std::u16string& name : conditionNames(view.loop.condition)) {
        if (std::u16string sentence = variableSentence(view, name); !sentence.empty()) out.push_back(std::move(sentence));
    }
}

std::pair<std::int32_t, std::int32_t> lineRange(const std::vector<LoopState>& states, std::size_t first, std::size_t end)
{
    std::int32_t low = states[first].currentLine;
    std::int32_t high = low;
    for (std::size_t i = first; i < end; ++i) {
        low = std::min(low, states[i].currentLine);
        high = std::max(high, states[i].currentLine);
    }
    return {low, high};
}

// The loop the run is in at its end: the innermost loop of the text around
// the lines its last states ran, leaving out the states from before the
// run entered it (a short run's states begin at the program's start).
TextLoop runningLoop(const std::vector<TextLoop>& loops, const std::vector<LoopState>& states)
{
    std::vector<std::pair<std::int32_t, std::int32_t>> fromHere(states.size());  // the lines from each state on
    std::pair<std::int32_t, std::int32_t> range{states.back().currentLine, states.back().currentLine};
    for (std::size_t i = states.size(); i-- > 0;) {
        range = {std::min(range.first, states[i].currentLine), std::max(range.second, states[i].currentLine)};
        fromHere[i] = range;
    }
    for (const auto& [low, high] : fromHere) {
        if (const std::optional<TextLoop> loop = loopAround(loops, low, high)) return *loop;
    }
    return TextLoop{fromHere.front().first, fromHere.front().second, {}, 0};
}

// The state in the round where the loop's condition is tested; the round's first when none.
const LoopState& stateAtCondition(const std::vector<LoopState>& round, const TextLoop& loop)
{
    const auto found = std::find_if(round.begin(), round.end(),
                                    [&](const LoopState& state) { return state.currentLine == loop.conditionLine; });
    return found != round.end() ? *found : round.front();
}

}  // namespace

std::vector<std::u16string> loopDiagnosis(std::u16string_view editorText, const std::vector<std::u16string>& answers,
                                          std::int64_t steps, const std::stop_token& stop)
{
    const std::u16string unfinished = std::u16string(u"程序执行了 ") + countText(steps) + u" 条语句还没有结束";
    const std::vector<LoopState> states = lastStates(editorText, answers, steps, stop);
    if (stop.stop_requested()) return {};
    if (states.empty()) return {unfinished + u"。"};
    const std::vector<LineWords> lines = readProgramLines(editorText);
    const std::vector<TextLoop> loops = textLoops(lines);
    Sentences out;
    if (const auto repeat = firstRepeat(states)) {
        const std::vector<LoopState> round(states.begin() + static_cast<std::ptrdiff_t>(repeat->first),
                                               states.begin() + static_cast<std::ptrdiff_t>(repeat->second) + 1);
        const auto [low, high] = lineRange(round, 0, round.size());
        const TextLoop loop = loopAround(loops, low, high).value_or(TextLoop{low, high, {}, 0});
        const std::vector<VariableValue>& values = stateAtCondition(round, loop).variables;
        std::u16string text = lineText(loop.head) + u"开始的循环永远不会结束：每次回到这里，";
        text += values.empty() ? u"程序的状态都和上一次完全一样" : std::u16string(u"变量的值都和上一次完全一样（") + valuesText(values) + u"）";
        out.push_back(text + u"，程序只会一遍遍重复同样的步骤。");
        conditionSentences({loop, round, round, lines}, out);
        return out;
    }
    const TextLoop loop = runningLoop(loops, states);
    out.push_back(unfinished + u"，这时正在" + lineText(loop.head) + u"开始的循环里。");
    std::vector<LoopState> early = firstStates(editorText, answers, steps, stop);
    early.insert(early.end(), states.begin(), states.end());
    conditionSentences({loop, early, states, lines}, out);
    return out;
}

}  // namespace tarnik
