// The last translation passes: ELSEIF chains become nested IFs, every block
// line gets the table index of its partners, and blocks left open are
// reported. Each is one walk over the table; errors name the editor line of
// the record being looked at, and the unclosed-block errors the last one.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "expr/BasicError.h"
#include "expr/NumberText.h"
#include "interp/clsCode.h"

namespace tarnik {
namespace {

// A record made from `source`: its text, label and editor line, no links.
void emit(std::vector<clsLine>& table, const clsLine& source, std::u16string text)
{
    if (table.size() > kMax16Bit) raiseError(kOverflow);  // the new index must fit 16 bits
    clsLine& line = table.emplace_back();
    line.strText = std::move(text);
    line.vLine = source.vLine;
    line.phLine = source.phLine;
}

std::int16_t top(const std::vector<std::int16_t>& open, const ErrorText& errorWhenNone)
{
    if (open.empty()) raiseError(errorWhenNone);
    return open.back();
}

std::int16_t pop(std::vector<std::int16_t>& open, const ErrorText& errorWhenNone)
{
    std::int16_t index = top(open, errorWhenNone);
    open.pop_back();
    return index;
}

// The DO links hold their index as decimal text.
std::u16string indexText(std::int16_t index)
{
    return numberText(index);
}

}  // namespace

// if a then / elseif b then / else / end if
//   ->  if a then / else / if b then / else / end if / end if
// Each ELSEIF opens one more IF, so its chain's END IF is repeated once per
// IF opened. Empty records are dropped here, with their labels.
void clsCode::flattenElseIf()
{
    std::vector<clsLine> flat(1);
    std::vector<int> chainIfs;  // per open IF: how many IFs its chain has opened so far
    for (std::size_t index = 1; index < Lines.size(); ++index) {
        const clsLine& line = Lines[index];
        program.CurrentLine = line.phLine;
        if (line.strText.empty()) continue;
        std::u16string_view head = line.Head();
        if (head == u"if") {
            chainIfs.push_back(1);
            emit(flat, line, line.strText);
        } else if (head == u"elseif") {
            if (chainIfs.empty()) raiseError(kElseIfWithoutIf);
            ++chainIfs.back();
            emit(flat, line, u"else");
            emit(flat, line, u"if " + line.Body());
        } else if (head == u"end if") {
            if (chainIfs.empty()) raiseError(kEndIfWithoutIfFlatten);
            for (int i = 0; i < chainIfs.back(); ++i) emit(flat, line, u"end if");
            chainIfs.pop_back();
        } else {
            emit(flat, line, line.strText);
        }
    }
    Lines = std::move(flat);
}

// LOOP closes the innermost DO WHILE and LOOP UNTIL the innermost DO, each on
// its own stack, whatever was opened in between.
void clsCode::linkBlocks()
{
    m_open = {};
    for (std::size_t position = 1; position < Lines.size(); ++position) {
        const auto index = static_cast<std::int16_t>(position);  // the flattening kept it in range
        clsLine& line = Lines[position];
        program.CurrentLine = line.phLine;
        std::u16string_view head = line.Head();
        if (head == u"if") {
            m_open.ifs.push_back(index);
        } else if (head == u"else") {
            std::int16_t ifLine = top(m_open.ifs, kElseWithoutIf);
            line.else_if_id = ifLine;
            Lines[ifLine].if_else_id = index;
        } else if (head == u"end if") {
            Lines[pop(m_open.ifs, kEndIfWithoutIf)].if_endif_id = index;
        } else if (head == u"for") {
            m_open.fors.push_back(index);
        } else if (head == u"exit for") {
            line.exitfor_for_id = top(m_open.fors, kExitForOutsideLoop);
        } else if (head == u"next") {
            std::int16_t forLine = pop(m_open.fors, kNextWithoutFor);
            line.next_for_id = forLine;
            Lines[forLine].for_next_id = index;
        } else if (head == u"do while") {
            m_open.doWhiles.push_back(index);
        } else if (head == u"loop") {
            std::int16_t doWhileLine = pop(m_open.doWhiles, kLoopWithoutDoWhile);
            line.loop_dowhile = indexText(doWhileLine);
            Lines[doWhileLine].dowhile_loop = indexText(index);
        } else if (head == u"do") {
            m_open.dos.push_back(index);
        } else if (head == u"loop until") {
            std::int16_t doLine = pop(m_open.dos, kLoopUntilWithoutDo);
            line.loopuntile_do_id = indexText(doLine);
            Lines[doLine].do_loopuntil_id = indexText(index);
        } else if (head == u"exit do") {
            // The innermost open DO of either kind: the one opened last.
            bool inDoWhile = !m_open.doWhiles.empty();
            bool inDo = !m_open.dos.empty();
            if (inDoWhile && (!inDo || m_open.doWhiles.back() > m_open.dos.back())) {
                line.exitdo_dowhile = indexText(m_open.doWhiles.back());
            } else if (inDo) {
                line.exitdo_do = indexText(m_open.dos.back());
            } else {
                raiseError(kExitDoOutsideLoop);
            }
        }
    }
}

// The order of the tests decides which of several open blocks is reported.
// The error names the last statement's line; the innermost block of the kind
// reported is remembered with its own line, and for a FOR, the NEXT with a
// name ("next i" is no NEXT to the linker) that the user meant to close it.
void clsCode::checkUnclosedBlocks()
{
    const std::pair<const std::vector<std::int16_t>*, const ErrorText*> checks[] = {
        {&m_open.fors, &kForWithoutNext},
        {&m_open.ifs, &kIfWithoutEndIf},
        {&m_open.dos, &kDoWithoutLoopUntil},
        {&m_open.doWhiles, &kDoWhileWithoutLoop},
    };
    for (auto [open, error] : checks) {
        if (open->empty()) continue;
        m_unclosed.openingLine = Lines[static_cast<std::size_t>(open->back())].phLine;
        if (open == &m_open.fors) m_unclosed.namedNextLine = namedNextAfter(open->back());
        raiseError(*error);
    }
}

std::int32_t clsCode::namedNextAfter(std::int16_t forIndex) const
{
    for (std::size_t index = static_cast<std::size_t>(forIndex) + 1; index < Lines.size(); ++index) {
        if (Lines[index].strText.starts_with(u"next ")) return Lines[index].phLine;
    }
    return 0;
}

}  // namespace tarnik
