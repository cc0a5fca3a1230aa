#include "expr/TextHelpers.h"

#include <algorithm>

namespace tarnik {
namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kApostrophe = u'\'';

char16_t lowerChar(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c; }

// Whether an occurrence of `find` could overlap an inserted replacement: start
// inside it, or start before it and run into it. A quote in either text
// changes what lies outside quotes, so it counts as possible too.
bool canFormAcrossReplacement(std::u16string_view find, std::u16string_view replacement)
{
    if (contains(find, u"\"") || contains(replacement, u"\"")) return true;
    auto agree = [](std::u16string_view a, std::u16string_view b) {
        const std::size_t common = std::min(a.size(), b.size());
        return a.substr(0, common) == b.substr(0, common);
    };
    for (std::size_t k = 0; k < replacement.size(); ++k) {
        if (agree(replacement.substr(k), find)) return true;
    }
    for (std::size_t j = 1; j < find.size(); ++j) {
        if (agree(find.substr(j), replacement)) return true;
    }
    return false;
}

// Replaces every occurrence outside quotes in one left-to-right pass; the same
// as searching from the start after each replacement when no replacement can
// take part in a new occurrence.
std::u16string replaceInOnePass(std::u16string_view text, std::u16string_view find, std::u16string_view replacement)
{
    std::u16string result;
    result.reserve(text.size());
    bool inside = false;
    for (std::size_t i = 0; i < text.size();) {
        if (!inside && text.substr(i, find.size()) == find) {
            result += replacement;
            i += find.size();
            continue;
        }
        if (text[i] == kQuote) inside = !inside;
        result += text[i++];
    }
    return result;
}

// Where the comment of a line starts (its first apostrophe outside
// literals); the line's length when it has none.
std::size_t commentStart(std::u16string_view line)
{
    bool inside = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == kQuote) {
            inside = !inside;
        } else if (!inside && line[i] == kApostrophe) {
            return i;
        }
    }
    return line.size();
}

}  // namespace

int FindOutsideQuotes(std::u16string_view text, std::u16string_view pattern, ErrorState& errors)
{
    errors.clear();
    if (text.empty() || pattern.empty()) return 0;
    std::u16string lowered = lowerAscii(pattern);
    bool inside = false;
    for (std::size_t p = 0; p < text.size(); ++p) {
        if (text[p] == kQuote) {
            inside = !inside;
        } else if (!inside && text.substr(p, lowered.size()) == lowered) {
            return static_cast<int>(p + 1);
        }
    }
    if (inside) errors.record(badExpressionError(text));
    return 0;
}

std::u16string ReplaceOutsideQuotes(std::u16string_view text, std::u16string_view find,
                                    std::u16string_view replacement, ErrorState& errors)
{
    if (!replacement.empty() && contains(replacement, find)) raiseError(kCannotReplace);
    const std::u16string lowered = lowerAscii(find);
    if (!lowered.empty() && !canFormAcrossReplacement(lowered, replacement)) {
        std::u16string result = replaceInOnePass(text, lowered, replacement);
        (void)FindOutsideQuotes(result, lowered, errors);  // the last search's verdict on an open quote
        return result;
    }
    // Every search starts again from the beginning: a replacement can form a new
    // occurrence with the text around it, and that one is replaced too.
    std::u16string result(text);
    while (int p = FindOutsideQuotes(result, lowered, errors)) {
        result.replace(static_cast<std::size_t>(p - 1), lowered.size(), replacement);
    }
    return result;
}

int FindListSeparator(std::u16string_view text)
{
    // The open brackets and at most one open quote, innermost last.
    std::u16string pending;
    for (std::size_t p = 0; p < text.size(); ++p) {
        char16_t c = text[p];
        if (c == u'(') {
            pending += c;
        } else if (c == u')') {
            std::size_t open = pending.rfind(u'(');
            if (open == std::u16string::npos) raiseError(kMissingLeftParen);
            pending.erase(open);
        } else if (c == kQuote) {
            std::size_t open = pending.rfind(kQuote);
            if (open == std::u16string::npos) {
                pending += c;
            } else {
                pending.erase(open);
            }
        } else if ((c == u',' || c == u';') && pending.empty()) {
            return static_cast<int>(p + 1);
        }
    }
    if (!pending.empty()) throw badExpressionError(text);
    return 0;
}

std::u16string LowerOutsideLiterals(std::u16string_view text)
{
    std::u16string result(text);
    bool inside = false;
    for (char16_t& c : result) {
        if (c == kQuote) {
            inside = !inside;
        } else if (!inside) {
            c = lowerChar(c);
        }
    }
    return result;
}

std::u16string LowerOutsideQuotes(std::u16string_view text)
{
    std::u16string result;
    result.reserve(text.size());
    const std::vector<std::u16string_view> lines = splitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) result += u"\r\n";
        // A quote the line does not close leaves the rest of the line inside
        // a literal, so it stays as it is.
        const std::size_t comment = commentStart(lines[i]);
        result += LowerOutsideLiterals(lines[i].substr(0, comment));
        result += lines[i].substr(comment);
    }
    return result;
}

std::u16string_view trimBlanks(std::u16string_view text)
{
    std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) return {};
    std::size_t last = text.find_last_not_of(u' ');
    return text.substr(first, last - first + 1);
}

std::u16string lowerAscii(std::u16string_view text)
{
    std::u16string result(text);
    for (char16_t& c : result) c = lowerChar(c);
    return result;
}

std::vector<std::u16string_view> splitLines(std::u16string_view text)
{
    std::vector<std::u16string_view> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(u"\r\n", start)) != std::u16string_view::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

std::size_t unitsOfCharacterAt(std::u16string_view text, std::size_t index)
{
    const bool high = text[index] >= 0xD800 && text[index] <= 0xDBFF;
    const bool low = index + 1 < text.size() && text[index + 1] >= 0xDC00 && text[index + 1] <= 0xDFFF;
    return high && low ? 2 : 1;
}

}  // namespace tarnik
