#include "expr/NumberText.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <optional>

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
#ifdef _WIN32
    static _locale_t cLocale = _create_locale(LC_ALL, "C");
    errno = 0;
    double value = _strtod_l(text, nullptr, cLocale);
#else
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    errno = 0;
    double value = strtod_l(text, nullptr, cLocale);
#endif
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

// The powers of ten that are exact doubles.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The 15-digit rounding worked out from the shortest round-trip digits S of
// the value. A value whose S has at most 15 digits lies on the 15-digit grid
// already and reads back unchanged. Otherwise rounding S gives the same 15
// digits as rounding the exact value, except when S ends exactly on the
// half-way point: no 16-digit decimal lies strictly between the value and S
// (it would be a shorter or nearer round-trip form than S). Ties take the
// text route. The 15 digits times a power of ten up to 1e22 are two exact
// doubles, so one multiplication or division rounds them correctly.
double readBackFromShortest(double value)
{
    char text[40];
    char* const end = std::to_chars(text, text + sizeof text, std::fabs(value), std::chars_format::scientific).ptr;
    char* const exponentMark = std::find(text, end, 'e');
    std::int64_t mantissa = 0;
    int digits = 0;
    int tail = 0;  // the digits after the fifteenth, as a two-digit number
    for (char* c = text; c != exponentMark; ++c) {
        if (*c == '.') continue;
        const int digit = *c - '0';
        if (digits < 15) {
            mantissa = mantissa * 10 + digit;
        } else {
            tail += digit * (digits == 15 ? 10 : 1);
        }
        ++digits;
    }
    if (digits <= 15) return value;
    if (tail == 50) return readBackThroughText(value);
    int exponent = 0;
    std::from_chars(exponentMark + 1 + (exponentMark[1] == '+'), end, exponent);
    exponent -= 14;  // mantissa now holds 15 digits
    if (tail > 50 && ++mantissa == 1000000000000000) {
        mantissa /= 10;
        ++exponent;
    }
    if (exponent < -22 || exponent > 22) return readBackThroughText(value);
    const double magnitude = exponent >= 0 ? static_cast<double>(mantissa) * kPowersOfTen[exponent]
                                           : static_cast<double>(mantissa) / kPowersOfTen[-exponent];
    return std::copysign(magnitude, value);
}

// The error of the product a * b rounded to p: a * b = p + error exactly.
double productError(double a, double b, double p)
{
#ifdef __FMA__
    return std::fma(a, b, -p);
#else
    // Dekker's product on halves of 26 bits, whose products are all exact.
    // Without FMA instructions the compiler cannot contract these into any.
    auto split = [](double x, double& high, double& low) {
        const double scaled = 134217729.0 * x;  // 2^27 + 1
        high = scaled - (scaled - x);
        low = x - high;
    };
    double aHigh = 0, aLow = 0, bHigh = 0, bLow = 0;
    split(a, aHigh, aLow);
    split(b, bHigh, bLow);
    return ((aHigh * bHigh - p) + aHigh * bLow + aLow * bHigh) + aLow * bLow;
#endif
}

// The 15-digit rounding of a magnitude between 1e-8 and 1e15, worked out in
// floating point: the magnitude times 10^k (k from 0 to 22, an exact double)
// is the exact sum p + error in [1e14, 1e15); the whole number nearest to it
// holds the 15 digits, and one division by 10^k reads them back correctly
// rounded. Nothing when the product sits at or near a half-way point, or at
// the edge of the range, where the digits decide.
std::optional<double> readBackByScaling(double magnitude)
{
    // floor(log10(2^e)) for the binary exponent e: the decimal exponent, or one below it.
    const int binaryExponent = static_cast<int>(std::bit_cast<std::uint64_t>(magnitude) >> 52) - 1023;
    const int estimate = (binaryExponent * 78913) >> 18;
    int k = 13 - estimate;  // right when the decimal exponent is one above the estimate
    if (k < 0 || k > 22) return std::nullopt;
    double scaled = magnitude * kPowersOfTen[k];
    if (scaled < 1e14) {  // the decimal exponent is the estimate
        if (++k > 22) return std::nullopt;
        scaled = magnitude * kPowersOfTen[k];
    }
    if (!(scaled >= 1e14 && scaled < 1e15)) return std::nullopt;
    const double error = productError(magnitude, kPowersOfTen[k], scaled);
    const auto whole = static_cast<double>(static_cast<std::int64_t>(scaled));
    const double fraction = (scaled - whole) + error;  // scaled - whole is exact
    if (std::fabs(fraction - 0.5) < 0x1p-20) return std::nullopt;
    return (whole + (fraction > 0.5 ? 1.0 : 0.0)) / kPowersOfTen[k];
}

}  // namespace

double readBack15Slow(double value)
{
    // Loops read the same fractions back again and again: remember recent ones.
    // A value read back reads back as itself, so it is remembered too. Each
    // thread has its own table, so runs in different threads never meet here.
    struct Entry {
        std::uint64_t bits;
        double back;
    };
    thread_local Entry recent[256];  // all zero: +0 reads back as +0
    auto slotFor = [](double key) -> Entry& {
        return recent[(std::bit_cast<std::uint64_t>(key) * 0x9E3779B97F4A7C15ULL) >> 56];
    };
    Entry& entry = slotFor(value);
    if (entry.bits == std::bit_cast<std::uint64_t>(value)) return entry.back;
    const std::optional<double> scaled = readBackByScaling(std::fabs(value));
    const double back = scaled ? std::copysign(*scaled, value) : readBackFromShortest(value);
    entry = {std::bit_cast<std::uint64_t>(value), back};
    slotFor(back) = {std::bit_cast<std::uint64_t>(back), back};
    return back;
}

}  // namespace tarnik
