#include "services/help/ReferenceTopics.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tarnik {
namespace {

bool isWordCharacter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

std::u16string lowered(std::u16string_view word)
{
    std::u16string text(word);
    for (char16_t& c : text) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return text;
}

// The word of `line` from `start` to the first character that is no letter.
std::u16string_view wordAt(std::u16string_view line, std::size_t start)
{
    std::size_t end = start;
    while (end < line.size() && isWordCharacter(line[end])) ++end;
    return line.substr(start, end - start);
}

// A word and the word after it ("" for any) -> its anchor in statements.html,
// the first match in this order.
constexpr std::array<std::pair<std::pair<std::u16string_view, std::u16string_view>, std::u16string_view>, 28> kStatements{{
    {{u"exit", u"for"}, u"exit-for"}, {{u"exit", u"do"}, u"exit-do"},   {{u"end", u"if"}, u"if"},
    {{u"end", u"select"}, u"select"}, {{u"end", u""}, u"end"},          {{u"do", u"while"}, u"do-while"},
    {{u"do", u""}, u"loop-until"},    {{u"loop", u"until"}, u"loop-until"}, {{u"loop", u""}, u"do-while"},
    {{u"until", u""}, u"loop-until"}, {{u"while", u""}, u"do-while"},   {{u"wend", u""}, u"do-while"},
    {{u"print", u""}, u"print"},      {{u"input", u""}, u"input"},      {{u"if", u""}, u"if"},
    {{u"then", u""}, u"if"},          {{u"else", u""}, u"if"},          {{u"elseif", u""}, u"if"},
    {{u"for", u""}, u"for"},          {{u"to", u""}, u"for"},           {{u"step", u""}, u"for"},
    {{u"next", u""}, u"for"},         {{u"select", u""}, u"select"},    {{u"case", u""}, u"select"},
    {{u"goto", u""}, u"goto"},        {{u"gosub", u""}, u"gosub"},      {{u"return", u""}, u"gosub"},
    {{u"stop", u""}, u"stop"},
}};

constexpr std::array<std::u16string_view, 7> kOperatorWords{u"mod", u"and", u"or", u"xor", u"not", u"abs", u"sqr"};

}  // namespace

std::u16string referenceTopicAt(std::u16string_view line, std::size_t column)
{
    std::size_t start = std::min(column, line.size());
    while (start > 0 && isWordCharacter(line[start - 1])) --start;
    const std::u16string_view found = wordAt(line, start);
    if (found.empty()) return u"index.html";
    const std::u16string word = lowered(found);
    std::size_t nextStart = start + found.size();
    while (nextStart < line.size() && line[nextStart] == u' ') ++nextStart;
    const std::u16string next = lowered(wordAt(line, nextStart));
    for (const auto& [words, anchor] : kStatements) {
        if (words.first == word && (words.second.empty() || words.second == next)) {
            return u"statements.html#" + std::u16string(anchor);
        }
    }
    for (std::u16string_view op : kOperatorWords) {
        if (op == word) return u"expressions.html#operators";
    }
    return u"index.html";
}

}  // namespace tarnik
