#pragma once
// Helpers shared by the core's tests.
#include <string>
#include <string_view>

namespace tarnik::test {

// UTF-16 <-> UTF-8 for readable assertions and messages.
std::string utf8(std::u16string_view text);
std::u16string utf16(std::string_view text);

}  // namespace tarnik::test
