#include "interp/clsLine.h"

#include <array>

#include "expr/TextHelpers.h"

namespace tarnik {
namespace {

// The walk stops at the first keyword that matches the start of the line, so
// the order matters: "end if" before "end", "elseif " before "else", "do while "
// before "do", "case else" before "case ". A keyword ending in a blank is a
// prefix; any other must be the whole line.
constexpr std::array<std::u16string_view, 25> kKeywords{
    u"stop",   u"case else", u"end select",  u"exit for", u"exit do", u"elseif ", u"do while ",
    u"end if", u"select case ", u"loop until ", u"print ", u"input ", u"if ",     u"for ",
    u"next",   u"gosub ",    u"return",      u"while ",   u"wend",    u"end",     u"else",
    u"loop",   u"case ",     u"do",          u"goto "};

bool startsWithAfterBlank(std::u16string_view text, std::u16string_view keyword)
{
    // Compares against text + " " without building it.
    if (keyword.size() > text.size() + 1) return false;
    if (keyword.size() == text.size() + 1) return keyword.back() == u' ' && keyword.substr(0, text.size()) == text;
    return text.substr(0, keyword.size()) == keyword;
}

// The keywords by first letter, each group in list order: a keyword can only
// match a text that starts with its letter, so the walk looks at that group.
struct KeywordsByLetter {
    std::array<std::array<std::uint8_t, kKeywords.size()>, 26> indices{};
    std::array<std::uint8_t, 26> counts{};

    constexpr KeywordsByLetter()
    {
        for (std::uint8_t i = 0; i < kKeywords.size(); ++i) {
            const auto letter = static_cast<std::size_t>(kKeywords[i][0] - u'a');
            indices[letter][counts[letter]++] = i;
        }
    }
};
constexpr KeywordsByLetter kKeywordsByLetter;

}  // namespace

std::u16string_view clsLine::headOf(std::u16string_view text)
{
    if (text.empty() || text[0] < u'a' || text[0] > u'z') return {};
    const auto letter = static_cast<std::size_t>(text[0] - u'a');
    for (std::uint8_t n = 0; n < kKeywordsByLetter.counts[letter]; ++n) {
        const std::u16string_view keyword = kKeywords[kKeywordsByLetter.indices[letter][n]];
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
