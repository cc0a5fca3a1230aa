#include "interp/LineColouring.h"

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
