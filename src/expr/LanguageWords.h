#pragma once
// The language's words, in this order. The variable store refuses them as
// names; the re-formatter capitalises them. "and", "or" and "not" stand twice
// on purpose: the re-formatter's second pass over them catches neighbours
// that share a blank.
#include <array>
#include <string_view>

namespace tarnik {

inline constexpr std::array<std::u16string_view, 33> kLanguageWords{
    u"mod",   u"xor",  u"abs",   u"sqr",   u"stop",   u"if",   u"else",  u"elseif", u"for",
    u"next",  u"to",   u"end",   u"and",   u"or",     u"not",  u"exit",  u"print",  u"step",
    u"while", u"wend", u"select", u"case", u"input",  u"do",   u"loop",  u"until",  u"goto",
    u"gosub", u"return", u"and", u"or",    u"not",    u"then"};

// The operators spelt as words. The evaluator takes them wherever neither
// neighbour is a letter a-z, so «7mod3» is 7 mod 3 while «score» is a name;
// "xor" stands before "or" so that it is found first.
inline constexpr std::array<std::u16string_view, 7> kOperatorWords{u"and", u"xor", u"or",  u"not",
                                                                   u"mod", u"abs", u"sqr"};

[[nodiscard]] inline bool isLanguageWord(std::u16string_view word)
{
    for (std::u16string_view entry : kLanguageWords) {
        if (entry == word) return true;
    }
    return false;
}

}  // namespace tarnik
