#pragma once
// Conversions between numbers and text that the whole system shares: the
// numeric tests, the checked integer conversions, and the text form of a number.
#include <cmath>
#include <cstdint>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <string>
#include <string_view>

namespace tarnik {

// The largest 16-bit value: line indices and counts, labels, word positions
// and stack depths all stop here.
inline constexpr std::int32_t kMax16Bit = 32767;

// Optional sign, digits with an optional point and fraction (or a point and
// digits), optional exponent: "12", "-3.5", ".5", "5.", "1e-3". No blanks.
[[nodiscard]] bool isDecimalNumber(std::u16string_view text);

// The words the word reader makes of numbers: digits with at most one decimal
// point ("12", "3.5", ".5", "5."); "1.2.3" and "." are not numbers.
[[nodiscard]] bool isOperandNumber(std::u16string_view word);

// Value of a text that isDecimalNumber accepts. Raises 6 beyond the double range.
[[nodiscard]] double decimalValue(std::u16string_view text);

// Surrounding blanks ignored; raises 13 for a non-number, 6 beyond the double range.
[[nodiscard]] double textToDouble(std::u16string_view text);

[[noreturn]] void raiseOverflow();

// From 2^52 on, a double has no fraction bits: adding it to a smaller
// magnitude rounds the fraction away (to even, in the default rounding mode).
inline constexpr double kNoFractionBits = 4503599627370496.0;  // 2^52

// Nearest whole number, ties to even (what nearbyint does in the default
// rounding mode), without a library call: adding and taking away 2^52 leaves
// no fraction bits.
[[nodiscard]] inline double roundHalfEven(double value)
{
    if (!(std::fabs(value) < kNoFractionBits)) return value;
    const double shift = std::copysign(kNoFractionBits, value);
    return (value + shift) - shift;
}

// Nearest integer, halves to the even neighbour; raises 6 out of range.
[[nodiscard]] inline std::int16_t toInt16(double value)
{
    const double rounded = roundHalfEven(value);
    if (!(rounded >= -kMax16Bit - 1.0 && rounded <= kMax16Bit)) raiseOverflow();
    return static_cast<std::int16_t>(rounded);
}

[[nodiscard]] inline std::int32_t toInt32(double value)
{
#ifdef __SSE2__
    // One instruction rounds halves to even in the default rounding mode, as
    // roundHalfEven does; it gives INT32_MIN for anything out of range.
    const std::int32_t rounded = _mm_cvtsd_si32(_mm_set_sd(value));
    if (rounded == INT32_MIN && !(value >= -2147483648.5 && value <= -2147483647.5)) raiseOverflow();
    return rounded;
#else
    const double rounded = roundHalfEven(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) raiseOverflow();
    return static_cast<std::int32_t>(rounded);
#endif
}

// "%.15G", negative zero written "0".
[[nodiscard]] std::u16string numberText(double value);
void appendNumberText(std::u16string& out, double value);

// The value read back from its 15-significant-digit text form: what every
// intermediate result of an expression goes through. Never -0 (its text is
// "0"), so adding 0 to what it returns changes nothing. Raises 6 when the
// rounded text is beyond the double range.
[[nodiscard]] double readBack15Slow(double value);
[[nodiscard, gnu::always_inline]] inline double readBack15(double value)
{
    // Whole numbers below 1e15 print exactly; only -0 changes (to 0). Adding
    // and taking away 2^52 gives back the magnitude only for a whole number;
    // this stays among floating-point instructions, quicker than a round trip
    // through an integer register.
    const double magnitude = std::fabs(value);
    if (magnitude < 1e15 && (magnitude + kNoFractionBits) - kNoFractionBits == magnitude) return value + 0.0;
    return readBack15Slow(value);
}

}  // namespace tarnik
