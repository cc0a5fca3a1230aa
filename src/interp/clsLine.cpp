#include "interp/clsLine.h"

#include <array>

#include "expr/TextHelpers.h"

namespace tarnik {
namespace {

// The walk stops at the first keyword that matches the start of the line, so
// the order matters: "end if" before "end", "elseif " before "else", "do while "
// before "do", "case else" before "case ". A keyword ending in a blank is a
// prefix; any other must be the whole line. "end" and "gosub " stand twice;
// the second copies never decide anything.
constexpr std::array<std::u16string_view, 27> kKeywords{
    u"stop",   u"case else", u"end select",  u"exit for", u"exit do", u"elseif ", u"do while ",
    u"end if", u"select case ", u"loop until ", u"print ", u"input ", u"if ",     u"for ",
    u"next",   u"gosub ",    u"return",      u"while ",   u"wend",    u"end",     u"else",
    u"loop",   u"case ",     u"end",         u"do",       u"goto ",   u"gosub "};

bool startsWithAfterBlank(std::u16string_view text, std::u16string_view keyword)
{
    // Compares against text + " " without building it.
    if (keyword.size() > text.size() + 1) return false;
    if (keyword.size() == text.size() + 1) return keyword.back() == u' ' && keyword.substr(0, text.size()) == text;
    return text.substr(0, keyword.size()) == keyword;
}

}  // namespace

std::u16string_view clsLine::headOf(std::u16string_view text)
{
    if (text.empty()) return {};
    for (std::u16string_view keyword : kKeywords) {
        if (!startsWithAfterBlank(text, keyword)) continue;
        if (keyword.back() == u' ') return keyword.substr(0, keyword.size() - 1);
        return trimBlanks(text) == keyword ? keyword : std::u16string_view{};
    }
    return {};
}

std::u16string clsLine::Body() const
{
    std::u16string_view text(strText);
    return std::u16string(trimBlanks(text.substr(Head().size())));
}

}  // namespace tarnik
