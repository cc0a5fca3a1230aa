#pragma once
// What the fuzzers share: a promise the code under test breaks stops the
// fuzzer with a message, so that libFuzzer keeps the input as a finding.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "services/SourceText.h"

namespace tarnik::fuzz {

[[noreturn]] inline void fail(std::string_view promise, std::u16string_view detail = {})
{
    std::fprintf(stderr, "broken promise: %.*s\n", static_cast<int>(promise.size()), promise.data());
    if (!detail.empty()) std::fprintf(stderr, "%s\n", toUtf8(detail).c_str());
    std::abort();
}

inline void require(bool holds, std::string_view promise, std::u16string_view detail = {})
{
    if (!holds) fail(promise, detail);
}

}  // namespace tarnik::fuzz
