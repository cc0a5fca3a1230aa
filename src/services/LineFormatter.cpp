#include "services/LineFormatter.h"

#include <optional>
#include <vector>

#include "expr/LanguageWords.h"
#include "expr/TextHelpers.h"
#include "expr/clsSen.h"

namespace tarnik {
namespace {

bool isClosing(std::u16string_view word) { return word == u")" || word == u";" || word == u","; }

// Words joined by single blanks; nothing when the reader records an error.
// The reader parts words by letter case as well, so it gets the text
// lower-cased outside the literals it will read.
std::optional<std::u16string> respace(std::u16string_view line)
{
    ErrorState errors;
    clsSen reader(errors);
    reader.setStrText(LowerOutsideLiterals(line));
    std::u16string result;
    do {
        std::u16string word = reader.ReadWord();
        std::u16string next = reader.LookNextWord();
        result += word;
        if (word != u"(" && !isClosing(next)) result += u' ';
        if (errors.pending()) return std::nullopt;
    } while (!reader.Eof());
    if (!result.empty() && result.back() == u' ') result.pop_back();
    return result;
}

// Every " word " in the blank-padded piece becomes " Word ", left to right,
// without overlaps: two equal words in a row share their blank, so only the
// first is caught (the repeated list entries catch "and", "or", "not" again).
std::u16string capitaliseWords(std::u16string_view piece)
{
    auto padded = [](std::u16string_view text) {
        std::u16string result(1, u' ');
        result.append(text).push_back(u' ');
        return result;
    };
    std::u16string text = padded(lowerAscii(piece));
    for (std::u16string_view word : kLanguageWords) {
        const std::u16string find = padded(word);
        for (std::size_t at = text.find(find); at != std::u16string::npos; at = text.find(find, at + find.size())) {
            text[at + 1] = static_cast<char16_t>(text[at + 1] - u'a' + u'A');
        }
    }
    return text.substr(1, text.size() - 2);
}

bool isLiteral(std::u16string_view word) { return word.starts_with(u'"'); }

// PRINT takes «"a""b"» or «"x"   "y"» for one text from its first quote to
// its last, blanks included: two literal words in a row, which the reader
// parts and respacing would join by one blank.
bool hasLiteralsSideBySide(std::u16string_view code)
{
    ErrorState errors;
    clsSen reader(errors);
    reader.setStrText(LowerOutsideLiterals(code));
    bool previousLiteral = false;
    while (!reader.Eof()) {
        const std::u16string word = reader.ReadWord();
        if (errors.pending()) return false;
        if (previousLiteral && isLiteral(word)) return true;
        previousLiteral = isLiteral(word);
    }
    return false;
}

// The normal form of a line without a comment; nothing when the reader
// cannot read it or when respacing would change what it prints.
std::optional<std::u16string> formatCode(std::u16string_view code)
{
    if (hasLiteralsSideBySide(code)) return std::nullopt;
    std::optional<std::u16string> spaced = respace(code);
    if (!spaced) return std::nullopt;

    // An open literal fails these searches; it is handled below, not an error here.
    ErrorState ignored;
    std::u16string result = ReplaceOutsideQuotes(*spaced, u"< >", u"<>", ignored);
    result = ReplaceOutsideQuotes(result, u"< =", u"<=", ignored);
    result = ReplaceOutsideQuotes(result, u"> =", u">=", ignored);

    std::vector<std::u16string_view> pieces;
    std::size_t start = 0;
    for (std::size_t quote; (quote = result.find(u'"', start)) != std::u16string::npos; start = quote + 1) {
        pieces.push_back(std::u16string_view(result).substr(start, quote - start));
    }
    pieces.push_back(std::u16string_view(result).substr(start));
    if (pieces.size() % 2 == 0) return result;  // the quotes do not pair up

    std::u16string formatted;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) formatted += u'"';
        formatted += i % 2 == 0 ? capitaliseWords(pieces[i]) : std::u16string(pieces[i]);
    }
    return formatted;
}

// Where the comment starts, found as the translator finds it; npos when the
// line has none or when the search ends inside an open literal (such a line
// is one the reader cannot read anyway).
std::size_t commentMark(std::u16string_view line)
{
    ErrorState ignored;
    const int mark = FindOutsideQuotes(line, u"'", ignored);
    return mark > 0 ? static_cast<std::size_t>(mark - 1) : std::u16string_view::npos;
}

std::u16string_view withoutTrailingBlanks(std::u16string_view text)
{
    const std::size_t last = text.find_last_not_of(u" \t");
    return last == std::u16string_view::npos ? std::u16string_view{} : text.substr(0, last + 1);
}

}  // namespace

std::u16string FormatLine(std::u16string_view line)
{
    if (trimBlanks(line).empty()) return std::u16string(line);
    const std::size_t mark = commentMark(line);
    if (mark == std::u16string_view::npos) return formatCode(line).value_or(std::u16string(line));

    // A comment is kept as typed: the reader would part its words and the
    // capitals would change its text. One blank stands before it.
    const std::u16string_view code = withoutTrailingBlanks(line.substr(0, mark));
    if (code.empty()) return std::u16string(line);
    std::optional<std::u16string> formatted = formatCode(code);
    if (!formatted) return std::u16string(line);
    return *formatted + u' ' + std::u16string(line.substr(mark));
}

std::u16string formatFinishedLine(std::u16string_view line)
{
    if (trimBlanks(line).empty()) return std::u16string(line);
    // The content is formatted without its indentation, so that a line the
    // reader cannot read comes back exactly as it was, not indented twice.
    const std::size_t indentation = line.find_first_not_of(u' ');
    return std::u16string(indentation, u' ') + FormatLine(line.substr(indentation));
}

}  // namespace tarnik
