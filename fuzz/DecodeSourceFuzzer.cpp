// The file decoder on arbitrary bytes: it never fails, every line end of the
// text is CR LF, and a text is written back in the encoding it came in and
// read again unchanged (for GBK: when it can be written, and the bytes are not
// UTF-8 as well, which would be read as UTF-8).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "interp/SourceText.h"

namespace {

bool onlyCrLfLineEnds(std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n')) return false;
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarnik;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const DecodedSource decoded = decodeSource(bytes);
    fuzz::require(onlyCrLfLineEnds(decoded.text), "every line end is CR LF", decoded.text);
    fuzz::require(decoded.text.size() <= 2 * bytes.size(), "a byte gives at most two characters", decoded.text);
    const std::optional<std::string> written = encodeSource(decoded.text, decoded.encoding);
    if (decoded.encoding == SourceEncoding::Gbk) {
        if (!written) return 0;
        const DecodedSource reread = decodeSource(*written);
        fuzz::require(reread.encoding != SourceEncoding::Gbk || reread.text == decoded.text,
                      "a text written back as GBK reads the same", decoded.text);
        return 0;
    }
    fuzz::require(written.has_value(), "a text read as UTF-8 can be written as UTF-8", decoded.text);
    const DecodedSource reread = decodeSource(*written);
    fuzz::require(reread.encoding == decoded.encoding && reread.text == decoded.text,
                  "a text written back as UTF-8 reads the same", decoded.text);
    return 0;
}
