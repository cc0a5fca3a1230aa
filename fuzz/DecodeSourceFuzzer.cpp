// The file decoder on arbitrary bytes: it never fails, every line end of the
// text is CR LF, bytes that decode without a replacement are written back
// byte for byte, and a text is written back in the encoding it came in and
// read again unchanged (for GBK: when it can be written, and the bytes are not
// UTF-8 as well, which would be read as UTF-8).
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "services/SourceText.h"

namespace {

using namespace tarnik;

bool onlyCrLfLineEnds(std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n')) return false;
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) return false;
    }
    return true;
}

// Every line end of the bytes is of one kind, so writing the text back with
// that kind restores them all. (UTF-16 is left out: its CR and LF are units.)
bool uniformLineEnds(std::string_view bytes, SourceEncoding encoding)
{
    if (encoding == SourceEncoding::Utf16Le || encoding == SourceEncoding::Utf16Be) return false;
    std::size_t crLf = 0;
    for (std::size_t at = bytes.find("\r\n"); at != std::string_view::npos; at = bytes.find("\r\n", at + 2)) ++crLf;
    const auto count = [&](char c) { return static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), c)); };
    const std::size_t kinds = (crLf > 0) + (count('\r') > crLf) + (count('\n') > crLf);
    return kinds <= 1;
}

void checkLossFreeReading(std::string_view bytes, const DecodedSource& decoded)
{
    if (decoded.replacements != 0) {
        fuzz::require(!decoded.roundTrips, "a text with replacements does not claim to round-trip", decoded.text);
        return;
    }
    fuzz::require(decoded.roundTrips, "bytes read without a replacement are written back the same", decoded.text);
    if (!uniformLineEnds(bytes, decoded.encoding)) return;
    const std::optional<std::string> written =
        encodeSource(withLineEnds(decoded.text, decoded.lineEnds), decoded.encoding);
    fuzz::require(written == bytes, "the editor text with the file's line ends gives the file's bytes", decoded.text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const DecodedSource decoded = decodeSource(bytes);
    fuzz::require(onlyCrLfLineEnds(decoded.text), "every line end is CR LF", decoded.text);
    fuzz::require(decoded.text.size() <= 2 * bytes.size(), "a byte gives at most two characters", decoded.text);
    checkLossFreeReading(bytes, decoded);
    const std::optional<std::string> written = encodeSource(decoded.text, decoded.encoding);
    if (decoded.encoding == SourceEncoding::Gbk) {
        if (!written) return 0;
        const DecodedSource reread = decodeSource(*written);
        fuzz::require(reread.encoding != SourceEncoding::Gbk || reread.text == decoded.text,
                      "a text written back as GBK reads the same", decoded.text);
        return 0;
    }
    fuzz::require(written.has_value(), "a text read as UTF-8 or UTF-16 can be written back", decoded.text);
    const DecodedSource reread = decodeSource(*written);
    fuzz::require(reread.encoding == decoded.encoding && reread.text == decoded.text,
                  "a text written back reads the same", decoded.text);
    return 0;
}
