#include "expr/NumberText.h"

#include <bit>
#include <charconv>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>

#include "expr/BasicError.h"

namespace tarnik {
namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Skips a run of digits starting at i; returns how many there were.
std::size_t skipDigits(std::u16string_view text, std::size_t& i)
{
    std::size_t start = i;
    while (i < text.size() && isDigit(text[i])) ++i;
    return i - start;
}

// strtod in the C locale, whatever locale the GUI toolkit has set.
double parseAscii(const char* text, bool& outOfRange)
{
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    errno = 0;
    double value = strtod_l(text, nullptr, cLocale);
    outOfRange = errno == ERANGE && std::isinf(value);
    return value;
}

}  // namespace

bool isDecimalNumber(std::u16string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
    std::size_t digits = skipDigits(text, i);
    if (i < text.size() && text[i] == u'.') {
        ++i;
        digits += skipDigits(text, i);
    }
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
        if (skipDigits(text, i) == 0) return false;
    }
    return i == text.size();
}

bool isOperandNumber(std::u16string_view word)
{
    bool digit = false;
    bool point = false;
    for (char16_t c : word) {
        if (isDigit(c)) {
            digit = true;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

double decimalValue(std::u16string_view text)
{
    std::string ascii(text.begin(), text.end());
    bool outOfRange = false;
    double value = parseAscii(ascii.c_str(), outOfRange);
    if (outOfRange) raiseError(kOverflow);
    return value;
}

double textToDouble(std::u16string_view text)
{
    while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
    if (!isDecimalNumber(text)) raiseError(kTypeMismatch);
    return decimalValue(text);
}

void raiseOverflow() { raiseError(kOverflow); }

void appendNumberText(std::u16string& out, double value)
{
    // Integers below 1e15 print as plain digits under "%.15G"; skip printf for them.
    if (value == 0) {
        out += u'0';
        return;
    }
    if (std::fabs(value) < 1e15 && value == std::trunc(value)) {
        char digits[24];
        auto result = std::to_chars(digits, digits + sizeof digits, static_cast<long long>(value));
        out.append(digits, result.ptr);
        return;
    }
    char text[40];
    char* end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15).ptr;
    for (char* c = text; c != end; ++c) out += static_cast<char16_t>(*c == 'e' ? 'E' : *c);
}

std::u16string numberText(double value)
{
    std::u16string text;
    appendNumberText(text, value);
    return text;
}

namespace {

// The 15-significant-digit text of the value, read back.
double readBackThroughText(double value)
{
    char text[40];
    char* end = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 14).ptr;
    double back = 0;
    if (std::from_chars(text, end, back).ec == std::errc{}) return back;
    *end = '\0';
    bool outOfRange = false;
    back = parseAscii(text, outOfRange);
    if (outOfRange) raiseError(kOverflow);
    return back;
}

// A value whose shortest round-trip form has at most 15 significant digits
// lies on the 15-digit grid already, so the text gives it back unchanged.
bool hasAtMost15Digits(double value)
{
    char text[40];
    char* end = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific).ptr;
    int digits = 0;
    for (char* c = text; c != end && *c != 'e'; ++c) digits += *c >= '0' && *c <= '9';
    return digits <= 15;
}

}  // namespace

double readBack15Slow(double value)
{
    // Loops read the same fractions back again and again: remember recent ones.
    // A value read back reads back as itself, so it is remembered too.
    struct Entry {
        std::uint64_t bits;
        double back;
    };
    static Entry recent[256];  // all zero: +0 reads back as +0
    auto slotFor = [](double key) -> Entry& {
        return recent[(std::bit_cast<std::uint64_t>(key) * 0x9E3779B97F4A7C15ULL) >> 56];
    };
    Entry& entry = slotFor(value);
    if (entry.bits == std::bit_cast<std::uint64_t>(value)) return entry.back;
    const double back = hasAtMost15Digits(value) ? value : readBackThroughText(value);
    entry = {std::bit_cast<std::uint64_t>(value), back};
    slotFor(back) = {std::bit_cast<std::uint64_t>(back), back};
    return back;
}

}  // namespace tarnik
