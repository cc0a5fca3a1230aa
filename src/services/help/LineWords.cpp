#include "services/help/LineWords.h"

#include "expr/TextHelpers.h"

namespace tarnik {
namespace {

bool isAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Chinese names are names; full-width punctuation is not part of one.
bool isNameCharacter(char16_t c)
{
    if (isAsciiLetter(c) || isDigit(c) || c == u'_') return true;
    const bool fullWidthPunctuation = (c >= u'\uFF01' && c <= u'\uFF5E') || (c >= u'\u3000' && c <= u'\u303F') ||
                                      (c >= u'\u2018' && c <= u'\u201D');
    return c >= 0x80 && !fullWidthPunctuation;
}

std::u16string_view withoutTrailingBlanks(std::u16string_view text)
{
    const std::size_t end = text.find_last_not_of(u" \t");
    return end == std::u16string_view::npos ? std::u16string_view{} : text.substr(0, end + 1);
}

// The code before the first apostrophe outside a literal, trailing blanks cut.
std::u16string codeOf(std::u16string_view line)
{
    bool inLiteral = false;
    std::size_t end = line.size();
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == u'"') inLiteral = !inLiteral;
        if (!inLiteral && line[i] == u'\'') {
            end = i;
            break;
        }
    }
    return std::u16string(withoutTrailingBlanks(line.substr(0, end)));
}

std::u16string maskedOf(std::u16string_view code)
{
    std::u16string masked = lowerAscii(code);
    bool inLiteral = false;
    for (char16_t& c : masked) {
        if (c == u'"') {
            inLiteral = !inLiteral;
        } else if (inLiteral) {
            c = u' ';
        }
    }
    return masked;
}

LineWord nextWord(std::u16string_view text, std::size_t at)
{
    std::size_t end = at + 1;
    LineWord::Kind kind = LineWord::Kind::Symbol;
    if (text[at] == u'"') {
        kind = LineWord::Kind::Literal;
        const std::size_t close = text.find(u'"', at + 1);
        end = close == std::u16string_view::npos ? text.size() : close + 1;
    } else if (isDigit(text[at]) || (text[at] == u'.' && at + 1 < text.size() && isDigit(text[at + 1]))) {
        kind = LineWord::Kind::Number;
        while (end < text.size() && (isDigit(text[end]) || text[end] == u'.')) ++end;
    } else if (isNameCharacter(text[at])) {
        kind = LineWord::Kind::Name;
        while (end < text.size() && isNameCharacter(text[end])) ++end;
    }
    return {kind, at, end};
}

}  // namespace

std::size_t LineWords::find(std::u16string_view text, std::size_t from) const
{
    for (std::size_t i = from; i < words.size(); ++i) {
        if (lower(words[i]) == text) return i;
    }
    return words.size();
}

LineWords readLineWords(std::u16string_view line)
{
    LineWords read;
    read.typed = codeOf(line);
    read.masked = maskedOf(read.typed);
    for (std::size_t at = 0; at < read.typed.size();) {
        const char16_t c = read.typed[at];
        if (c == u' ' || c == u'\t') {
            ++at;
            continue;
        }
        read.words.push_back(nextWord(read.typed, at));
        at = read.words.back().end;
    }
    return read;
}

std::vector<LineWords> readProgramLines(std::u16string_view editorText)
{
    std::vector<LineWords> lines;
    for (std::u16string_view line : splitLines(editorText)) lines.push_back(readLineWords(line));
    return lines;
}

const LineWords& lineNumbered(const std::vector<LineWords>& lines, std::int32_t number)
{
    static const LineWords kNone;
    if (number < 1 || static_cast<std::size_t>(number) > lines.size()) return kNone;
    return lines[static_cast<std::size_t>(number) - 1];
}

}  // namespace tarnik
