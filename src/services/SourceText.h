#pragma once
// Source files as bytes, and the editor text they stand for. Reading never
// guesses by statistics: a byte-order mark decides (UTF-8, UTF-16 LE or BE),
// then bytes that are valid UTF-8 are UTF-8, then UTF-8 wins only when its
// well-formed multi-byte sequences outnumber its malformed stretches, else the
// file is GBK (code page 936). Every line end becomes CR LF, the editor's;
// the file's own line ends are remembered so that saving can write them back.
// Saving writes in the encoding the file came in and refuses a character that
// encoding cannot hold rather than writing a stand-in for it.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tarnik {

enum class SourceEncoding { Utf8, Utf8WithBom, Gbk, Utf16Le, Utf16Be };
enum class LineEnds { CrLf, Lf, Cr };

struct DecodedSource {
    std::u16string text;  // line ends CR LF
    SourceEncoding encoding = SourceEncoding::Utf8;
    LineEnds lineEnds = LineEnds::CrLf;  // the file's first line end; CR LF when it has none
    std::size_t replacements = 0;        // bytes that could not be read, each stretch shown as U+FFFD
    bool roundTrips = true;              // writing the text back in `encoding` and `lineEnds` gives the same bytes
    bool binary = false;                 // NUL or many other control characters: not a text file

    // The text can be saved without changing a byte the user has not edited.
    [[nodiscard]] bool lossFree() const { return roundTrips && !binary; }
};

// Never fails: in a file that is neither UTF-8 nor GBK, each byte that GBK
// cannot read becomes U+FFFD.
[[nodiscard]] DecodedSource decodeSource(std::string_view bytes);

// The bytes read in the encoding the user chose, a byte-order mark of that
// encoding dropped.
[[nodiscard]] DecodedSource decodeSourceAs(std::string_view bytes, SourceEncoding encoding);

// The text as the bytes of a file in `encoding`, line ends as they stand, the
// byte-order mark first for UTF-8 with mark and UTF-16; nothing when a
// character has no form in that encoding.
[[nodiscard]] std::optional<std::string> encodeSource(std::u16string_view text, SourceEncoding encoding);

// CR LF, a lone CR and a lone LF each become CR LF.
[[nodiscard]] std::u16string withCrLfLineEnds(std::u16string_view text);

// A CR LF text with every CR LF written as `ends`.
[[nodiscard]] std::u16string withLineEnds(std::u16string_view crLfText, LineEnds ends);

// UTF-16 <-> UTF-8 for output and input; each malformed stretch becomes U+FFFD.
[[nodiscard]] std::string toUtf8(std::u16string_view text);
[[nodiscard]] std::u16string fromUtf8(std::string_view text);

// An answer typed at a terminal: valid UTF-8 is UTF-8, anything else GBK.
[[nodiscard]] std::u16string decodeTypedLine(std::string_view bytes);

}  // namespace tarnik
