// GBK through the C library's iconv.
#include <iconv.h>

#include <cerrno>
#include <memory>
#include <stdexcept>

#include "services/GbkCodec.h"

namespace tarnik {
namespace {

constexpr const char* kGbk = "CP936";
constexpr const char* kUtf16 = "UTF-16LE";

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using Converter = std::unique_ptr<void, IconvCloser>;

Converter openConverter(const char* to, const char* from)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error(std::string("no conversion from ") + from + " to " + to);
    }
    return Converter(cd);
}

}  // namespace

std::u16string decodeGbk(std::string_view bytes)
{
    Converter converter = openConverter(kUtf16, kGbk);
    // One or two bytes make one UTF-16 unit of two bytes.
    std::string units(bytes.size() * 2, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* out = units.data();
    std::size_t outLeft = units.size();
    while (iconv(static_cast<iconv_t>(converter.get()), &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) {
        if (errno == E2BIG) throw std::logic_error("GBK text longer than two bytes per byte");
        // EILSEQ, or EINVAL for a lead byte at the very end: the stand-in takes
        // the two bytes the unreadable byte has room for.
        *out++ = static_cast<char>(kReplacementCharacter & 0xFF);
        *out++ = static_cast<char>(kReplacementCharacter >> 8);
        outLeft -= 2;
        ++in;
        --inLeft;
    }
    units.resize(units.size() - outLeft);

    std::u16string text;
    text.reserve(units.size() / 2);
    for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
        text += static_cast<char16_t>(static_cast<unsigned char>(units[i]) |
                                      (static_cast<unsigned char>(units[i + 1]) << 8));
    }
    return text;
}

std::optional<std::string> encodeGbk(std::u16string_view text)
{
    Converter converter = openConverter(kGbk, kUtf16);
    std::string units;
    units.reserve(text.size() * 2);
    for (char16_t c : text) {
        units += static_cast<char>(c & 0xFF);
        units += static_cast<char>(c >> 8);
    }
    // A UTF-16 unit becomes at most two GBK bytes.
    std::string bytes(units.size(), '\0');
    char* in = units.data();
    std::size_t inLeft = units.size();
    char* out = bytes.data();
    std::size_t outLeft = bytes.size();
    if (iconv(static_cast<iconv_t>(converter.get()), &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) {
        return std::nullopt;
    }
    bytes.resize(bytes.size() - outLeft);
    return bytes;
}

}  // namespace tarnik
