#include "services/LineColouring.h"

#include <algorithm>
#include <optional>

#include "expr/BasicError.h"
#include "expr/LanguageWords.h"
#include "expr/NumberText.h"
#include "expr/TextHelpers.h"
#include "expr/clsSen.h"

namespace tarnik {
namespace {

constexpr std::u16string_view kOperators = u"+-*/^=<>(),;";

// The first word, when it is a label: after the leading blanks and tabs, up
// to the first blank.
std::size_t labelEnd(std::u16string_view line)
{
    const std::size_t start = line.find_first_not_of(u" \t");
    if (start == std::u16string_view::npos) return 0;
    const std::size_t end = std::min(line.find(u' ', start), line.size());
    return isDecimalNumber(lowerAscii(line.substr(start, end - start))) ? end : 0;
}

// Where the comment starts, as the translator finds it; the line's length
// when it has none.
std::size_t commentStart(std::u16string_view line, std::size_t from)
{
    ErrorState ignored;
    const int mark = FindOutsideQuotes(line.substr(from), u"'", ignored);
    return mark > 0 ? from + static_cast<std::size_t>(mark - 1) : line.size();
}

std::optional<LineStretchKind> kindOfWord(std::u16string_view word)
{
    if (word.front() == u'"') return LineStretchKind::Literal;
    if (isLanguageWord(word)) return LineStretchKind::Keyword;
    if (isOperandNumber(word)) return LineStretchKind::Number;
    if (word.size() == 1 && kOperators.find(word.front()) != std::u16string_view::npos) {
        return LineStretchKind::Operator;
    }
    return std::nullopt;
}

bool isLetter(char16_t c)
{
    return c >= u'a' && c <= u'z';
}

// The operator word at `at` of a name the reader made, when the evaluator
// takes it there: its neighbours inside the name are not letters (the
// reader's own cut guarantees that at the name's ends).
std::size_t operatorWordAt(std::u16string_view name, std::size_t at)
{
    if (at > 0 && isLetter(name[at - 1])) return 0;
    for (std::u16string_view word : kOperatorWords) {
        const std::size_t end = at + word.size();
        if (name.substr(at, word.size()) == word && (end == name.size() || !isLetter(name[end]))) return word.size();
    }
    return 0;
}

// A name such as «x2and3» holds operators for the evaluator: «x2», «and»,
// «3». Its pieces get the kinds of what the evaluator reads there.
void colourName(std::u16string_view name, std::size_t offset, std::vector<LineStretch>& stretches)
{
    std::size_t piece = 0;
    auto closePiece = [&](std::size_t end) {
        if (end > piece && isOperandNumber(name.substr(piece, end - piece))) {
            stretches.push_back({offset + piece, end - piece, LineStretchKind::Number});
        }
    };
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t length = operatorWordAt(name, at);
        if (length == 0) {
            ++at;
            continue;
        }
        closePiece(at);
        stretches.push_back({offset + at, length, LineStretchKind::Keyword});
        at += length;
        piece = at;
    }
    closePiece(name.size());
}

// The words of the code between label and comment, as the word reader cuts
// them out of the lower-cased text. The reader only skips blanks before a
// word, so each word starts at the next character that is not a blank.
void colourCode(std::u16string_view code, std::size_t offset, std::vector<LineStretch>& stretches)
{
    if (code.find_first_not_of(u' ') == std::u16string_view::npos) return;
    const std::u16string lowered = lowerAscii(code);
    ErrorState errors;
    clsSen reader(errors);
    reader.setStrText(lowered);
    std::size_t next = 0;
    while (!reader.Eof()) {
        const std::u16string word = reader.ReadWord();
        const std::size_t start = std::min(lowered.find_first_not_of(u' ', next), lowered.size());
        if (errors.pending()) {
            if (start < lowered.size() && lowered[start] == u'"') {
                stretches.push_back({offset + start, code.size() - start, LineStretchKind::UnclosedLiteral});
            }
            return;
        }
        if (word.empty() || word == u" ") continue;
        if (const std::optional<LineStretchKind> kind = kindOfWord(word)) {
            stretches.push_back({offset + start, word.size(), *kind});
        } else if (isLetter(word.front())) {
            colourName(word, offset + start, stretches);
        }
        next = start + word.size();
    }
}

}  // namespace

std::vector<LineStretch> colourLine(std::u16string_view line)
{
    std::vector<LineStretch> stretches;
    const std::size_t codeEnd = labelEnd(line);
    if (codeEnd > 0) {
        const std::size_t start = line.find_first_not_of(u" \t");
        stretches.push_back({start, codeEnd - start, LineStretchKind::Label});
    }
    const std::size_t comment = commentStart(line, codeEnd);
    colourCode(line.substr(codeEnd, comment - codeEnd), codeEnd, stretches);
    if (comment < line.size()) stretches.push_back({comment, line.size() - comment, LineStretchKind::Comment});
    return stretches;
}

}  // namespace tarnik
