#pragma once
// The word reader: cuts one line of text into words by character class.
// Letters a-z start a word that goes on through letters, digits and "."; digits
// and "." make number words; a double-quoted stretch is one word, quotes
// included; every other character (operators, brackets, upper-case and Chinese
// letters) is a word of its own, a surrogate pair being one character; blanks
// separate words.
//
// The text is stored with one blank appended; at the end ReadWord returns " ".
// ReadWord works in resume-next mode on the error state it is given: a missing
// closing quote records error 208 and returns "" without moving, and so does a
// position past 32767 (error 6).
#include <cstdint>
#include <string>
#include <string_view>

#include "expr/BasicError.h"
#include "expr/NumberText.h"

namespace tarnik {

class clsSen {
public:
    explicit clsSen(ErrorState& errors) : m_errors(&errors) {}

    void setStrText(std::u16string_view text);
    [[nodiscard]] std::u16string strText() const { return m_text.substr(0, m_text.size() - 1); }
    [[nodiscard]] bool Eof() const { return m_pos == static_cast<std::int32_t>(m_text.size()); }
    std::u16string ReadWord();
    std::u16string LookNextWord();

    // The longest text the 16-bit position can walk through.
    static constexpr std::size_t kMaxTextLength = kMax16Bit - 1;

private:
    ErrorState* m_errors;
    std::u16string m_text = u" ";
    std::int32_t m_pos = 1;  // 1-based position of the next character
};

}  // namespace tarnik
