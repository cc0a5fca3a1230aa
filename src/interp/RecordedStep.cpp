#include "interp/RecordedStep.h"

#include "expr/NumberText.h"

namespace tarnik {
namespace {

// CR LF and a lone LF are both "\n": the console holds CR LF where a program
// printed a line end.
void appendEscaped(std::u16string& line, std::u16string_view text)
{
    for (std::size_t at = 0; at < text.size(); ++at) {
        switch (const char16_t c = text[at]) {
        case u'\\': line += u"\\\\"; break;
        case u'\t': line += u"\\t"; break;
        case u'\n': line += u"\\n"; break;
        case u'\r':
            if (at + 1 < text.size() && text[at + 1] == u'\n') {
                line += u"\\n";
                ++at;
            } else {
                line += u"\\r";
            }
            break;
        default: line += c;
        }
    }
}

std::u16string decimal(std::int64_t number)
{
    const std::string digits = std::to_string(number);
    return {digits.begin(), digits.end()};
}

}  // namespace

std::u16string traceLine(const RecordedStep& step)
{
    std::u16string line = decimal(step.step) + u'\t' + decimal(step.line) + u'\t';
    for (std::size_t at = 0; at < step.changes.size(); ++at) {
        if (at > 0) line += u' ';
        line += step.changes[at].name + u'=' + numberText(step.changes[at].value);
    }
    line += u'\t';
    appendEscaped(line, step.output);
    return line;
}

}  // namespace tarnik
