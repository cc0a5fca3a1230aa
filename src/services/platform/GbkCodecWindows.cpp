// GBK through the Windows code-page functions, where there is no iconv.
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "services/GbkCodec.h"

namespace tarnik {
namespace {

constexpr UINT kGbk = 936;
static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows keeps text as UTF-16 units");

// The text of `bytes` when every byte belongs to a GBK character, nothing otherwise.
std::optional<std::u16string> decodeWhole(std::string_view bytes)
{
    if (bytes.empty()) return std::u16string();
    const int size = static_cast<int>(bytes.size());
    std::u16string text(bytes.size(), u'\0');  // one or two bytes make one unit
    const int length = MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, bytes.data(), size,
                                           reinterpret_cast<wchar_t*>(text.data()), size);
    if (length == 0) return std::nullopt;
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// The character that exactly these bytes make; nothing when they make none or more than one.
std::optional<char16_t> character(std::string_view bytes)
{
    std::optional<std::u16string> text = decodeWhole(bytes);
    if (!text || text->size() != 1) return std::nullopt;
    return text->front();
}

}  // namespace

std::u16string decodeGbk(std::string_view bytes)
{
    if (std::optional<std::u16string> text = decodeWhole(bytes)) return *text;
    // Without MB_ERR_INVALID_CHARS the function writes a stand-in of its own
    // for a bad pair and may take the byte after the bad one with it. One
    // character at a time keeps every readable byte, as iconv does elsewhere.
    std::u16string text;
    for (std::size_t i = 0; i < bytes.size();) {
        if (i + 1 < bytes.size()) {
            if (std::optional<char16_t> c = character(bytes.substr(i, 2))) {
                text += *c;
                i += 2;
                continue;
            }
        }
        text += character(bytes.substr(i, 1)).value_or(kReplacementCharacter);
        ++i;
    }
    return text;
}

std::optional<std::string> encodeGbk(std::u16string_view text)
{
    if (text.empty()) return std::string();
    const int size = static_cast<int>(text.size());
    std::string bytes(text.size() * 2, '\0');  // a unit becomes at most two bytes
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, reinterpret_cast<const wchar_t*>(text.data()),
                                           size, bytes.data(), size * 2, nullptr, &usedDefault);
    if (length == 0 || usedDefault) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(length));
    return bytes;
}

}  // namespace tarnik
