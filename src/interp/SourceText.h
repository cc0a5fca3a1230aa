#pragma once
// Source files as bytes, and the editor text they stand for. A file is read as
// UTF-8 when its bytes are valid UTF-8 (a leading byte-order mark dropped) and
// as GBK, code page 936, otherwise; every line end becomes CR LF, the
// editor's. Saving writes in the encoding the file came in and refuses a
// character that encoding cannot hold rather than writing a stand-in for it.
#include <optional>
#include <string>
#include <string_view>

namespace tarnik {

enum class SourceEncoding { Utf8, Utf8WithBom, Gbk };

struct DecodedSource {
    std::u16string text;  // line ends CR LF
    SourceEncoding encoding = SourceEncoding::Utf8;
};

// Never fails: in a file that is neither UTF-8 nor GBK, each byte that GBK
// cannot read becomes U+FFFD.
[[nodiscard]] DecodedSource decodeSource(std::string_view bytes);

// The text as the bytes of a file in `encoding`, line ends as they stand;
// nothing when a character has no form in that encoding.
[[nodiscard]] std::optional<std::string> encodeSource(std::u16string_view text, SourceEncoding encoding);

// CR LF, a lone CR and a lone LF each become CR LF.
[[nodiscard]] std::u16string withCrLfLineEnds(std::u16string_view text);

// UTF-16 <-> UTF-8 for output and input; a malformed unit or byte becomes U+FFFD.
[[nodiscard]] std::string toUtf8(std::u16string_view text);
[[nodiscard]] std::u16string fromUtf8(std::string_view text);

}  // namespace tarnik
