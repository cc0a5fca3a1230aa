#include "expr/clsSen.h"

#include "expr/Errors.h"
#include "expr/TextHelpers.h"

namespace tarnik {
namespace {

enum CharClass : std::uint32_t { kNumberClass = 1, kLetterClass = 2, kBlankClass = 3, kOwnClass = 4 };

CharClass classOf(char16_t c)
{
    if (c == u'.' || (c >= u'0' && c <= u'9')) return kNumberClass;
    if (c >= u'a' && c <= u'z') return kLetterClass;
    if (c == u' ') return kBlankClass;
    return kOwnClass;
}

}  // namespace

void clsSen::setStrText(std::u16string_view text)
{
    m_text.assign(text);
    m_text += u' ';
}

std::u16string clsSen::ReadWord()
{
    m_errors->clear();
    auto at = [this](std::int32_t position) { return m_text[static_cast<std::size_t>(position - 1)]; };
    auto moveTo = [this](std::int32_t position) {
        if (position > kMax16Bit) {
            m_errors->record(kOverflow);
            return false;
        }
        m_pos = position;
        return true;
    };

    // Skip blanks; a quoted stretch is a word at once.
    for (;;) {
        char16_t c = at(m_pos);
        if (c == u'"') {
            std::size_t close = m_text.find(u'"', static_cast<std::size_t>(m_pos));
            if (close == std::u16string::npos) {
                m_errors->record(kMissingQuote);
                return {};
            }
            std::int32_t start = m_pos;
            if (!moveTo(static_cast<std::int32_t>(close) + 2)) return {};
            return m_text.substr(static_cast<std::size_t>(start - 1), close + 2 - static_cast<std::size_t>(start));
        }
        if (c != u' ' || Eof()) break;
        if (!moveTo(m_pos + 1)) return {};
    }

    const std::int32_t length = static_cast<std::int32_t>(m_text.size());
    const CharClass first = classOf(at(m_pos));
    // A character outside the Basic Multilingual Plane is one word like any
    // Chinese character, although it takes two UTF-16 units.
    const std::size_t ownLength = unitsOfCharacterAt(m_text, static_cast<std::size_t>(m_pos - 1));
    std::u16string word;
    for (std::int32_t i = m_pos; i <= length; ++i) {
        CharClass next = classOf(at(i));
        bool continues = next == first || (next == kNumberClass && first == kLetterClass);
        if (!continues || (first == kOwnClass && word.size() == ownLength)) break;
        if (!moveTo(i)) return {};
        word += at(i);
    }
    if (!Eof() && !moveTo(m_pos + 1)) return {};
    return word;
}

std::u16string clsSen::LookNextWord()
{
    std::int32_t saved = m_pos;
    std::u16string word = ReadWord();
    m_pos = saved;
    return word;
}

}  // namespace tarnik
