// Preparing the line table for execution: everything that depends only on the
// statement texts and the links, worked out once per run.
#include <unordered_map>

#include "expr/NumberText.h"
#include "expr/TextHelpers.h"
#include "expr/clsExpPlus.h"
#include "interp/ExecutorPlan.h"
#include "interp/clsCode.h"

namespace tarnik {
namespace {

// The DO-loop links hold a line index as decimal text.
std::int16_t linkIndex(std::u16string_view link)
{
    std::int32_t value = 0;
    for (char16_t c : link) {
        if (c < u'0' || c > u'9' || value > kMax16Bit) break;
        value = value * 10 + (c - u'0');
    }
    return static_cast<std::int16_t>(value);
}

}  // namespace

void Executor::prepare()
{
    m_lines.clear();
    m_lines.resize(m_code.Lines.size());
    m_labels.clear();
    for (std::size_t i = m_code.Lines.size() - 1; i >= 1; --i) {
        if (m_code.Lines[i].vLine != 0) m_labels[m_code.Lines[i].vLine] = static_cast<std::int16_t>(i);
    }
    for (std::size_t i = 1; i < m_code.Lines.size(); ++i) m_lines[i] = prepareLine(static_cast<std::int16_t>(i));
    // Preparing searched the texts; nothing of that is visible to the program.
    program.Err.clear();
}

Executor::PreparedLine Executor::prepareLine(std::int16_t index)
{
    const clsLine& line = m_code.Lines[index];
    const std::u16string_view head = line.Head();
    PreparedLine prepared;
    prepared.phLine = line.phLine;
    auto lineAt = [this](std::int16_t at) -> const clsLine& { return m_code.Lines[at]; };

    if (head.empty()) {
        prepared.exp = &m_evaluator.compileStatement(line.strText);
        prepared.kind = prepared.exp->kind == CompiledStatement::Kind::Assignment ? Kind::Assignment : Kind::Expression;
    } else if (head == u"if") {
        if (line.if_endif_id == 0) return prepared;
        prepared.kind = Kind::If;
        prepared.target = line.if_else_id != 0 ? line.if_else_id : line.if_endif_id;
        prepareIf(prepared, line.Body());
    } else if (head == u"else") {
        prepared.kind = Kind::Else;
        prepared.target = lineAt(line.else_if_id).if_endif_id;
    } else if (head == u"for") {
        prepared.kind = Kind::For;
        prepared.forPlan = planFor(line.Body());
    } else if (head == u"next") {
        prepared.kind = Kind::Next;
        prepared.target = line.next_for_id;
        prepared.next = std::make_unique<NextCache>();
    } else if (head == u"exit for") {
        prepared.kind = Kind::ExitLoop;
        prepared.target = lineAt(line.exitfor_for_id).for_next_id;
    } else if (head == u"print" || head == u"input") {
        prepared.kind = head == u"print" ? Kind::Print : Kind::Input;
        prepared.list = planList(line.Body(), prepared.kind == Kind::Input);
    } else if (head == u"end") {
        prepared.kind = Kind::End;
    } else if (head == u"goto" || head == u"gosub") {
        prepared.kind = Kind::Jump;
        prepareJump(prepared, line.Body());
    } else if (head == u"return") {
        prepared.kind = Kind::Return;
    } else if (head == u"do while") {
        prepared.kind = Kind::DoWhile;
        prepared.target = linkIndex(line.dowhile_loop);
        prepared.condition = &m_evaluator.compileLogic(line.Body());
    } else if (head == u"loop") {
        prepared.kind = Kind::Loop;
        prepared.target = static_cast<std::int16_t>(linkIndex(line.loop_dowhile) - 1);
    } else if (head == u"loop until") {
        prepared.kind = Kind::LoopUntil;
        prepared.target = linkIndex(line.loopuntile_do_id);
        prepared.condition = &m_evaluator.compileLogic(line.Body());
    } else if (head == u"exit do") {
        prepared.kind = Kind::ExitLoop;  // past the loop's last line
        prepared.target = !line.exitdo_do.empty() ? linkIndex(lineAt(linkIndex(line.exitdo_do)).do_loopuntil_id)
                                                  : linkIndex(lineAt(linkIndex(line.exitdo_dowhile)).dowhile_loop);
    } else if (head == u"stop") {
        prepared.kind = Kind::Stop;
    }
    return prepared;
}

void Executor::prepareIf(PreparedLine& prepared, const std::u16string& body)
{
    constexpr std::u16string_view kThen = u"then";
    if (body.size() < kThen.size() || std::u16string_view(body).substr(body.size() - kThen.size()) != kThen) {
        prepared.error = errorOf(kIfWithoutThenAtRun);
        return;
    }
    prepared.condition = &m_evaluator.compileLogic(trimBlanks(std::u16string_view(body).substr(0, body.size() - kThen.size())));
}

void Executor::prepareJump(PreparedLine& prepared, const std::u16string& body)
{
    auto fail = [&](const ErrorText& error) { prepared.error = errorOf(error); };
    if (!isDecimalNumber(body)) return fail(kJumpTargetNotNumeric);
    std::int16_t label = 0;
    try {
        label = toInt16(decimalValue(body));
    } catch (BasicError& error) {
        prepared.error = std::move(error);
        return;
    }
    if (label == 0) return fail(kLabelZero);
    auto found = m_labels.find(label);
    if (found == m_labels.end()) return fail(kLabelNotFound);
    prepared.target = static_cast<std::int16_t>(found->second - 1);
}

// for NAME = START to LIMIT [step STEP]
std::unique_ptr<Executor::ForPlan> Executor::planFor(const std::u16string& body)
{
    constexpr std::u16string_view kTo = u" to ";
    constexpr std::u16string_view kStep = u" step ";
    auto plan = std::make_unique<ForPlan>();
    const std::u16string_view text(body);
    ErrorState search;
    const int equals = FindOutsideQuotes(text, u"=", search);
    const std::u16string_view afterName = equals > 0 ? text.substr(static_cast<std::size_t>(equals - 1)) : text;
    const int to = equals > 0 ? FindOutsideQuotes(afterName, kTo, search) : 0;
    if (to == 0) {  // no "=" or no " to ": the text cannot be cut
        plan->cutError = errorOf(kInvalidCall);
        return plan;
    }
    plan->varName = trimBlanks(text.substr(0, static_cast<std::size_t>(equals - 1)));
    plan->var = program.Variables.resolve(plan->varName);
    std::u16string_view start = trimBlanks(afterName.substr(1, static_cast<std::size_t>(to - 2)));
    std::u16string_view rest = trimBlanks(textAfter(afterName, to, kTo));
    std::u16string_view limit = rest;
    const int step = FindOutsideQuotes(rest, kStep, search);
    if (search.pending()) {  // the step search met an unclosed quote
        plan->cutError = search.error();
        return plan;
    }
    if (step > 0) {
        limit = trimBlanks(rest.substr(0, static_cast<std::size_t>(step - 1)));
        plan->step = &m_evaluator.compileStatement(trimBlanks(textAfter(rest, step, kStep)));
    }
    plan->start = &m_evaluator.compileStatement(start);
    plan->limit = &m_evaluator.compileStatement(limit);
    return plan;
}

std::unique_ptr<Executor::ListPlan> Executor::planList(std::u16string_view body, bool input)
{
    auto plan = std::make_unique<ListPlan>();
    std::u16string_view rest = body;
    if (input && !rest.empty() && (rest.back() == u',' || rest.back() == u';')) rest.remove_suffix(1);
    for (;;) {
        int separator = 0;
        try {
            separator = FindListSeparator(rest);
        } catch (BasicError& error) {
            plan->searchError = std::move(error);
            return plan;
        }
        if (separator <= 0) break;
        const auto p = static_cast<std::size_t>(separator);
        std::u16string_view ending = rest[p - 1] == u',' ? u"\t" : u"";
        plan->separated.push_back(planItem(trimBlanks(rest.substr(0, p - 1)), ending, input));
        rest = trimBlanks(rest.substr(p));
    }
    if (!rest.empty()) plan->last = planItem(rest, u"\r\n", input);
    return plan;
}

// A string literal starts and ends with a double quote; anything else is an
// expression to print or a variable to read.
Executor::ListItem Executor::planItem(std::u16string_view item, std::u16string_view ending, bool input)
{
    ListItem planned;
    planned.ending = ending;
    if (!item.empty() && item.front() == u'"' && item.back() == u'"') {
        planned.kind = item.size() >= 2 ? ListItem::Kind::Literal : ListItem::Kind::BrokenLiteral;
        if (item.size() >= 2) planned.text = item.substr(1, item.size() - 2);
    } else if (input) {
        planned.kind = ListItem::Kind::Variable;
        planned.text = item;
        planned.var = program.Variables.resolve(item);
    } else {
        planned.kind = ListItem::Kind::Expression;
        planned.exp = &m_evaluator.compileStatement(item);
    }
    return planned;
}

}  // namespace tarnik
