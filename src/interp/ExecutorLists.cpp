// PRINT and INPUT: the item lists, cut by the separator search.
#include "expr/NumberText.h"
#include "expr/clsExpPlus.h"
#include "interp/ExecutorPlan.h"
#include "interp/ProgramState.h"
#include "interp/RunHost.h"

namespace tarnik {

// Before every item, and once more after the last separated one, the list was
// searched for the next separator; the run stops there when that search failed
// or the previous item left an error.
Executor::Flow Executor::executeList(const ListPlan& plan, bool input)
{
    for (std::size_t k = 0;; ++k) {
        if (plan.searchError && k == plan.separated.size()) {
            program.Err.record(*plan.searchError);
            return Flow::Leave;
        }
        if (program.Err.pending()) return Flow::Leave;
        if (k == plan.separated.size()) break;
        if (!input) {
            printItem(plan.separated[k]);
        } else if (inputItem(plan.separated[k]) == Flow::Leave) {
            return Flow::Leave;
        }
    }
    if (!plan.last) return Flow::Continue;
    if (!input) {
        printItem(*plan.last);
        return Flow::Continue;
    }
    return inputItem(*plan.last);
}

void Executor::printItem(const ListItem& item)
{
    program.Err.resumeNext([&] {
        switch (item.kind) {
        case ListItem::Kind::BrokenLiteral: raiseError(kInvalidCall);
        case ListItem::Kind::Literal:
            m_lastLiteral = {&item.text, program.CurrentLine};
            append(item.text, item.ending);
            return;
        case ListItem::Kind::Expression:
        case ListItem::Kind::Variable: break;
        }
        std::optional<double> value = m_evaluator.exp(*item.exp);
        m_output.clear();
        if (value) appendNumberText(m_output, *value);
        m_output += item.ending;
        m_host.Append(m_output);
    });
}

// A variable item asks for a number, stores it and echoes the answer. An answer
// that is not a number leaves the variable as it was, but is still echoed.
Executor::Flow Executor::inputItem(const ListItem& item)
{
    if (item.kind != ListItem::Kind::Variable) {
        printItem(item);
        return Flow::Continue;
    }
    // The translator makes an INPUT's literal items PRINT statements of the
    // same editor line: the one printed last there is this INPUT's question.
    const bool asked = m_lastLiteral.text != nullptr && m_lastLiteral.line == program.CurrentLine;
    m_host.inputQuestion(asked ? std::u16string_view(*m_lastLiteral.text) : std::u16string_view());
    m_lastLiteral = {};
    std::optional<std::u16string> answer = m_host.InputWindow(u"输入整数[" + item.text + u"]：");
    if (!answer) {
        // No answer: the console was closed while asking (an abort), or the
        // scripted input has run out.
        if (m_host.consoleVisible()) program.Err.record(kInputPastEnd);
        return Flow::Leave;
    }
    afterWaitingForUser();
    program.Err.resumeNext([&] { program.Variables.setVar(item.var, textToDouble(*answer)); });
    append(*answer, u"\r\n");
    return Flow::Continue;
}

void Executor::append(std::u16string_view text, std::u16string_view ending)
{
    m_output.assign(text);
    m_output += ending;
    m_host.Append(m_output);
}

}  // namespace tarnik
