#include "services/HtmlText.h"

namespace tarnik {

std::u16string escapedHtml(std::u16string_view text, bool inAttribute)
{
    std::u16string out;
    for (const char16_t c : text) {
        switch (c) {
        case u'<': out += u"&lt;"; break;
        case u'>': out += u"&gt;"; break;
        case u'&': out += u"&amp;"; break;
        case u'"': out += u"&quot;"; break;
        case u'\n': out += inAttribute ? u"&#10;" : u"\n"; break;
        default: out += c;
        }
    }
    return out;
}

}  // namespace tarnik
