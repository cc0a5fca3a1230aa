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
bool isSign(std::u16string_view word) { return word == u"-" || word == u"+"; }
bool isNumberWord(std::u16string_view word) { return !word.empty() && (word[0] == u'.' || (word[0] >= u'0' && word[0] <= u'9')); }

// The words of a line as the reader cuts them; empty when it cannot read it.
std::vector<std::u16string> wordsOf(std::u16string_view code)
{
    ErrorState errors;
    clsSen reader(errors);
    reader.setStrText(LowerOutsideLiterals(code));
    std::vector<std::u16string> words;
    while (!reader.Eof()) {
        words.push_back(reader.ReadWord());
        if (errors.pending()) return {};
    }
    return words;
}

// Lines that respacing would make do something else, kept as typed:
// - two literal words in a row: PRINT takes «"a""b"» or «"x"   "y"» for one
//   text from its first quote to its last, blanks included;
// - a signed number as the label or as the target of GOTO or GOSUB: «-5» is
//   a label, «- 5» is none.
bool respacingChangesMeaning(std::u16string_view code)
{
    const std::vector<std::u16string> words = wordsOf(code);
    const auto signedNumberAt = [&](std::size_t i) {
        return i + 1 < words.size() && isSign(words[i]) && isNumberWord(words[i + 1]);
    };
    // The label stands after the indentation, tabs included.
    std::size_t first = 0;
    while (first < words.size() && words[first] == u"\t") ++first;
    if (signedNumberAt(first)) return true;
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        if (isLiteral(words[i]) && isLiteral(words[i + 1])) return true;
        if ((words[i] == u"goto" || words[i] == u"gosub") && signedNumberAt(i + 1)) return true;
    }
    return false;
}

// The normal form of a line without a comment; nothing when the reader
// cannot read it or when respacing would change what it does.
std::optional<std::u16string> formatCode(std::u16string_view code)
{
    if (respacingChangesMeaning(code)) return std::nullopt;
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
