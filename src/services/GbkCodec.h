#pragma once
// GBK (code page 936) to and from UTF-16: the one part of reading and writing
// source files that each platform does its own way, iconv where the C library
// has it and the code-page functions on Windows. The build picks the
// implementation from platform/.
#include <optional>
#include <string>
#include <string_view>

namespace tarnik {

inline constexpr char16_t kReplacementCharacter = 0xFFFD;

// Every byte that cannot be read becomes U+FFFD; reading goes on at the next byte.
[[nodiscard]] std::u16string decodeGbk(std::string_view bytes);

// Nothing when a character (or a surrogate without its partner) has no GBK form.
[[nodiscard]] std::optional<std::string> encodeGbk(std::u16string_view text);

}  // namespace tarnik
