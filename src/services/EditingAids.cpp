#include "services/EditingAids.h"

#include <algorithm>
#include <array>

#include "expr/TextHelpers.h"
#include "interp/clsLine.h"

namespace tarnik {

int indentationAfterEnter(std::u16string_view line)
{
    static constexpr std::array<std::u16string_view, 10> kOpeners{
        u"if", u"while", u"do while", u"select case", u"for", u"do", u"case", u"case else", u"elseif", u"else"};
    const std::size_t firstWord = line.find_first_not_of(u' ');
    int indentation = static_cast<int>(firstWord == std::u16string_view::npos ? line.size() : firstWord);

    // The re-formatter capitalises keywords («For», «Select Case»); they open
    // a block all the same.
    clsLine record;
    record.strText = lowerAscii(trimBlanks(line));
    const std::u16string_view head = record.Head();
    if (std::find(kOpeners.begin(), kOpeners.end(), head) != kOpeners.end()) indentation += 4;
    const std::u16string body = record.Body();
    if (head == u"if" && !(body.size() >= 5 && std::u16string_view(body).substr(body.size() - 5) == u" then")) {
        indentation -= 4;  // a one-line IF
    }
    return std::max(indentation, 0);
}

bool removesIndentStep(std::u16string_view textBeforeCaret)
{
    return textBeforeCaret.size() >= kIndentStep.size() &&
           textBeforeCaret.substr(textBeforeCaret.size() - kIndentStep.size()) == kIndentStep;
}

}  // namespace tarnik
