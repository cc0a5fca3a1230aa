// The line formatter on arbitrary lines, as the editor hands it a finished
// line: it must not throw, a line in its normal form stays as it is when
// the caret passes it again, and no surrogate pair is cut in two.
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "services/LineFormatter.h"
#include "services/SourceText.h"

namespace {

// Decoded UTF-8 has none, so one in the result is a pair the formatter split.
bool hasLoneSurrogate(std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool high = text[i] >= 0xD800 && text[i] <= 0xDBFF;
        const bool low = text[i] >= 0xDC00 && text[i] <= 0xDFFF;
        if (low) return true;
        if (high) {
            if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return true;
            ++i;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarnik;
    const std::u16string line = fromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::u16string formatted = FormatLine(line);
    fuzz::require(FormatLine(formatted) == formatted, "a formatted line is in its normal form", line);
    fuzz::require(!hasLoneSurrogate(formatted), "a character outside the Basic Multilingual Plane stays whole", line);
    const std::u16string finished = formatFinishedLine(line);
    const std::size_t indentation = line.find_first_not_of(u' ');
    if (indentation == std::u16string::npos) {
        fuzz::require(finished == line, "a blank line stays as it is", line);
    } else if (indentation == 0) {
        fuzz::require(finished == formatted, "a line without indentation is formatted as it stands", line);
    } else {
        fuzz::require(finished.substr(0, indentation) == line.substr(0, indentation),
                      "a finished line keeps its indentation", line);
    }
    return 0;
}
