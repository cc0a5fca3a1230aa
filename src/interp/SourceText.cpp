#include "interp/SourceText.h"

#include "interp/GbkCodec.h"

namespace tarnik {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// ---- UTF-8 ----------------------------------------------------------------

// Length of the well-formed UTF-8 sequence starting at `i`, 0 when there is
// none: no overlong forms, no surrogates, nothing beyond U+10FFFF.
std::size_t sequenceLength(std::string_view bytes, std::size_t i)
{
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    unsigned char lead = byte(i);
    if (lead < 0x80) return 1;
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
        return 0;
    }
    if (i + length > bytes.size() || byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    }
    return length;
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

// Decodes UTF-8. Strict: false at the first malformed byte. Otherwise each
// malformed byte becomes U+FFFD.
bool decodeUtf8(std::string_view bytes, std::u16string& out, bool strict)
{
    out.reserve(out.size() + bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t length = sequenceLength(bytes, i);
        if (length == 0) {
            if (strict) return false;
            out += kReplacementCharacter;
            ++i;
            continue;
        }
        char32_t c = length == 1 ? static_cast<unsigned char>(bytes[i])
                                 : static_cast<unsigned char>(bytes[i]) & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
        appendCodePoint(out, c);
        i += length;
    }
    return true;
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

// Encodes UTF-16 as UTF-8. Strict: false at a surrogate without its partner.
// Otherwise such a unit becomes U+FFFD.
bool encodeUtf8(std::u16string_view text, std::string& out, bool strict)
{
    out.reserve(out.size() + text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        bool high = c >= 0xD800 && c <= 0xDBFF;
        bool pairs = high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (pairs) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            if (strict) return false;
            c = kReplacementCharacter;
        }
        appendUtf8(out, c);
    }
    return true;
}

}  // namespace

DecodedSource decodeSource(std::string_view bytes)
{
    DecodedSource source;
    std::u16string text;
    if (decodeUtf8(bytes, text, true)) {
        source.encoding = SourceEncoding::Utf8;
        if (bytes.starts_with(kUtf8Bom)) {
            source.encoding = SourceEncoding::Utf8WithBom;
            text.erase(0, 1);
        }
    } else {
        source.encoding = SourceEncoding::Gbk;
        text = decodeGbk(bytes);
    }
    source.text = withCrLfLineEnds(text);
    return source;
}

std::optional<std::string> encodeSource(std::u16string_view text, SourceEncoding encoding)
{
    if (encoding == SourceEncoding::Gbk) return encodeGbk(text);
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

std::string toUtf8(std::u16string_view text)
{
    std::string bytes;
    encodeUtf8(text, bytes, false);
    return bytes;
}

std::u16string fromUtf8(std::string_view text)
{
    std::u16string result;
    decodeUtf8(text, result, false);
    return result;
}

}  // namespace tarnik
