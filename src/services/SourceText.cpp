#include "services/SourceText.h"

#include <algorithm>

#include "services/GbkCodec.h"

namespace tarnik {
namespace {

constexpr char16_t kReplacement = kReplacementCharacter;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// ---- UTF-8 ----------------------------------------------------------------

// The sequence starting at a byte: a well-formed one (no overlong forms, no
// surrogates, nothing beyond U+10FFFF), or the longest stretch that begins
// like one and breaks off, which the WHATWG and ICU decoders replace by one
// U+FFFD.
struct Utf8Sequence {
    std::size_t length = 1;
    bool valid = false;
};

Utf8Sequence sequenceAt(std::string_view bytes, std::size_t i)
{
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) return {1, true};
    std::size_t length = 0;
    unsigned char low = 0x80;  // the range of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {1, false};
    }
    std::size_t k = 1;
    for (; k < length && i + k < bytes.size(); ++k) {
        const unsigned char b = byte(i + k);
        const bool fits = k == 1 ? b >= low && b <= high : (b & 0xC0) == 0x80;
        if (!fits) break;
    }
    return {k, k == length};
}

// In a UTF-8 reading: the well-formed sequences of three or four bytes, which
// Chinese text is made of and GBK text rarely forms by chance, and the
// malformed stretches.
struct Utf8Census {
    std::size_t longSequences = 0;
    std::size_t malformed = 0;
};

Utf8Census countUtf8(std::string_view bytes)
{
    Utf8Census census;
    for (std::size_t i = 0; i < bytes.size();) {
        const Utf8Sequence sequence = sequenceAt(bytes, i);
        if (!sequence.valid) ++census.malformed;
        if (sequence.valid && sequence.length >= 3) ++census.longSequences;
        i += sequence.length;
    }
    return census;
}

void appendCodePoint(std::u16string& out, char32_t c)
{
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

// Decodes UTF-8, each malformed stretch as U+FFFD; returns how many there were.
std::size_t decodeUtf8(std::string_view bytes, std::u16string& out)
{
    std::size_t replaced = 0;
    out.reserve(out.size() + bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const Utf8Sequence sequence = sequenceAt(bytes, i);
        if (!sequence.valid) {
            out += kReplacement;
            ++replaced;
            i += sequence.length;
            continue;
        }
        const std::size_t length = sequence.length;
        char32_t c = length == 1 ? static_cast<unsigned char>(bytes[i])
                                 : static_cast<unsigned char>(bytes[i]) & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
        appendCodePoint(out, c);
        i += length;
    }
    return replaced;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool isHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Encodes UTF-16 as UTF-8. Strict: false at a surrogate without its partner.
// Otherwise such a unit becomes U+FFFD.
bool encodeUtf8(std::u16string_view text, std::string& out, bool strict)
{
    out.reserve(out.size() + text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
            if (strict) return false;
            c = kReplacement;
        }
        appendUtf8(out, c);
    }
    return true;
}

// ---- UTF-16 ---------------------------------------------------------------

// Decodes UTF-16 bytes; a surrogate without its partner and an odd last byte
// each become U+FFFD. Returns how many were replaced.
std::size_t decodeUtf16(std::string_view bytes, bool bigEndian, std::u16string& out)
{
    auto unitAt = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    std::size_t replaced = 0;
    const std::size_t units = bytes.size() / 2;
    out.reserve(out.size() + units + 1);
    for (std::size_t k = 0; k < units; ++k) {
        const char16_t unit = unitAt(2 * k);
        if (isHighSurrogate(unit) && k + 1 < units && isLowSurrogate(unitAt(2 * k + 2))) {
            out += unit;
            out += unitAt(2 * ++k);
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            out += kReplacement;
            ++replaced;
        } else {
            out += unit;
        }
    }
    if (bytes.size() % 2 != 0) {
        out += kReplacement;
        ++replaced;
    }
    return replaced;
}

std::optional<std::string> encodeUtf16(std::u16string_view text, bool bigEndian)
{
    std::string bytes(bigEndian ? kUtf16BeBom : kUtf16LeBom);
    bytes.reserve(bytes.size() + 2 * text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        const bool paired = isHighSurrogate(unit) ? i + 1 < text.size() && isLowSurrogate(text[i + 1])
                                                  : !isLowSurrogate(unit) || (i > 0 && isHighSurrogate(text[i - 1]));
        if (!paired) return std::nullopt;
        const auto high = static_cast<char>(unit >> 8);
        const auto low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// ---- What the file holds --------------------------------------------------

LineEnds firstLineEnd(std::u16string_view text)
{
    const std::size_t at = text.find_first_of(u"\r\n");
    if (at == std::u16string_view::npos || text.substr(at).starts_with(u"\r\n")) return LineEnds::CrLf;
    return text[at] == u'\n' ? LineEnds::Lf : LineEnds::Cr;
}

// A NUL, or control characters other than TAB, LF, VT, FF, CR and the DOS end
// mark making up more than one character in a hundred.
bool looksBinary(std::u16string_view text)
{
    std::size_t controls = 0;
    for (char16_t c : text) {
        if (c == 0) return true;
        if (c < 0x20 && (c < u'\t' || c > u'\r') && c != 0x1A) ++controls;
    }
    return controls * 100 > text.size();
}

// The bytes of a file read as `encoding`, and how they would be written back.
DecodedSource finishDecoding(std::string_view bytes, std::u16string raw, SourceEncoding encoding,
                             std::size_t replacements)
{
    DecodedSource source;
    source.encoding = encoding;
    source.replacements = replacements;
    source.lineEnds = firstLineEnd(raw);
    source.binary = looksBinary(raw);
    source.roundTrips = replacements == 0 && encodeSource(raw, encoding) == bytes;
    source.text = withCrLfLineEnds(raw);
    return source;
}

std::size_t countReplacements(std::u16string_view text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), kReplacement));
}

}  // namespace

DecodedSource decodeSource(std::string_view bytes)
{
    if (bytes.starts_with(kUtf8Bom)) return decodeSourceAs(bytes, SourceEncoding::Utf8WithBom);
    if (bytes.starts_with(kUtf16LeBom)) return decodeSourceAs(bytes, SourceEncoding::Utf16Le);
    if (bytes.starts_with(kUtf16BeBom)) return decodeSourceAs(bytes, SourceEncoding::Utf16Be);
    const Utf8Census census = countUtf8(bytes);
    const bool utf8 = census.malformed == 0 || census.longSequences > census.malformed;
    return decodeSourceAs(bytes, utf8 ? SourceEncoding::Utf8 : SourceEncoding::Gbk);
}

DecodedSource decodeSourceAs(std::string_view bytes, SourceEncoding encoding)
{
    std::u16string raw;
    std::size_t replacements = 0;
    std::string_view content = bytes;
    switch (encoding) {
    case SourceEncoding::Utf8:
    case SourceEncoding::Utf8WithBom:
        encoding = bytes.starts_with(kUtf8Bom) ? SourceEncoding::Utf8WithBom : SourceEncoding::Utf8;
        if (encoding == SourceEncoding::Utf8WithBom) content.remove_prefix(kUtf8Bom.size());
        replacements = decodeUtf8(content, raw);
        break;
    case SourceEncoding::Utf16Le:
    case SourceEncoding::Utf16Be: {
        const bool bigEndian = encoding == SourceEncoding::Utf16Be;
        if (bytes.starts_with(bigEndian ? kUtf16BeBom : kUtf16LeBom)) content.remove_prefix(2);
        replacements = decodeUtf16(content, bigEndian, raw);
        break;
    }
    case SourceEncoding::Gbk:
        raw = decodeGbk(bytes);
        // Code page 936 has no form of U+FFFD, so each one stands for unreadable bytes.
        replacements = countReplacements(raw);
        break;
    }
    return finishDecoding(bytes, std::move(raw), encoding, replacements);
}

std::optional<std::string> encodeSource(std::u16string_view text, SourceEncoding encoding)
{
    switch (encoding) {
    case SourceEncoding::Gbk: return encodeGbk(text);
    case SourceEncoding::Utf16Le: return encodeUtf16(text, false);
    case SourceEncoding::Utf16Be: return encodeUtf16(text, true);
    case SourceEncoding::Utf8:
    case SourceEncoding::Utf8WithBom: break;
    }
    std::string bytes(encoding == SourceEncoding::Utf8WithBom ? kUtf8Bom : std::string_view{});
    if (!encodeUtf8(text, bytes, true)) return std::nullopt;
    return bytes;
}

std::u16string withCrLfLineEnds(std::u16string_view text)
{
    std::u16string result;
    result.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            result += u"\r\n";
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        } else {
            result += c;
        }
    }
    return result;
}

std::u16string withLineEnds(std::u16string_view crLfText, LineEnds ends)
{
    if (ends == LineEnds::CrLf) return std::u16string(crLfText);
    const char16_t end = ends == LineEnds::Lf ? u'\n' : u'\r';
    std::u16string result;
    result.reserve(crLfText.size());
    for (std::size_t i = 0; i < crLfText.size(); ++i) {
        if (crLfText.substr(i).starts_with(u"\r\n")) {
            result += end;
            ++i;
        } else {
            result += crLfText[i];
        }
    }
    return result;
}

std::string toUtf8(std::u16string_view text)
{
    std::string bytes;
    encodeUtf8(text, bytes, false);
    return bytes;
}

std::u16string fromUtf8(std::string_view text)
{
    std::u16string result;
    decodeUtf8(text, result);
    return result;
}

std::u16string decodeTypedLine(std::string_view bytes)
{
    if (countUtf8(bytes).malformed == 0) return fromUtf8(bytes);
    return decodeGbk(bytes);
}

}  // namespace tarnik
