#include "services/FullWidthSlips.h"

#include <algorithm>

namespace tarnik {
namespace {

// The full-width forms block mirrors printable ASCII at a fixed distance.
constexpr char16_t kFirstFullWidth = u'！';
constexpr char16_t kLastFullWidth = u'～';
constexpr char16_t kFullWidthDistance = kFirstFullWidth - u'!';

bool isDoubleQuote(char16_t c)
{
    return c == u'"' || halfWidthOf(c) == u'"';
}

enum class Reading { Code, Literal, SlipLiteral };

}  // namespace

char16_t halfWidthOf(char16_t c)
{
    if (c >= kFirstFullWidth && c <= kLastFullWidth) return static_cast<char16_t>(c - kFullWidthDistance);
    switch (c) {
    case u'　': return u' ';
    case u'“':
    case u'”': return u'"';
    case u'‘':
    case u'’': return u'\'';
    case u'。': return u'.';
    default: return 0;
    }
}

// Left to right as the translator reads a line: a double quote opens a
// literal up to the next one, the first apostrophe outside literals starts
// the comment. A literal opened by a full-width quote may be closed by
// either kind.
std::vector<FullWidthSlip> fullWidthSlips(std::u16string_view line)
{
    std::vector<FullWidthSlip> slips;
    Reading reading = Reading::Code;
    for (std::size_t at = 0; at < line.size(); ++at) {
        const char16_t c = line[at];
        const char16_t half = halfWidthOf(c);
        if (reading != Reading::Code) {
            const bool closes = reading == Reading::Literal ? c == u'"' : isDoubleQuote(c);
            if (closes) {
                if (half != 0) slips.push_back({at, c, half});
                reading = Reading::Code;
            }
            continue;
        }
        if (c == u'"') {
            reading = Reading::Literal;
            continue;
        }
        if (c == u'\'') break;
        if (half == 0) continue;
        slips.push_back({at, c, half});
        if (half == u'"') reading = Reading::SlipLiteral;
        if (half == u'\'') break;
    }
    return slips;
}

std::u16string slipWarning(const FullWidthSlip& slip)
{
    const char16_t half = slip.halfWidth;
    if (half == u' ') return u"此处是全角空格，程序需要半角空格";
    std::u16string_view kind = u"符号";
    if (half >= u'0' && half <= u'9') kind = u"数字";
    if ((half >= u'a' && half <= u'z') || (half >= u'A' && half <= u'Z')) kind = u"字母";
    return std::u16string(u"此处是全角") + std::u16string(kind) + u"“" + slip.fullWidth + u"”，程序需要半角“" + half +
           u"”";
}

std::vector<FullWidthWarning> fullWidthWarnings(std::u16string_view text)
{
    std::vector<FullWidthWarning> warnings;
    int number = 1;
    for (std::size_t start = 0; start <= text.size(); ++number) {
        const std::size_t end = std::min(text.find_first_of(u"\r\n", start), text.size());
        for (const FullWidthSlip& slip : fullWidthSlips(text.substr(start, end - start))) {
            warnings.push_back({number, slipWarning(slip)});
        }
        if (end == text.size()) break;
        start = end + (text.substr(end, 2) == u"\r\n" ? 2 : 1);
    }
    return warnings;
}

}  // namespace tarnik
