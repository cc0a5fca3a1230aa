#include "support/TestSupport.h"

#include "services/SourceText.h"

namespace tarnik::test {

std::string utf8(std::u16string_view text) { return toUtf8(text); }

std::u16string utf16(std::string_view text) { return fromUtf8(text); }

}  // namespace tarnik::test
