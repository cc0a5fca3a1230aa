// The line formatter on arbitrary lines, as the editor hands it a finished
// line: it must not throw, and a line in its normal form stays as it is when
// the caret passes it again.
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "interp/LineFormatter.h"
#include "interp/SourceText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarnik;
    const std::u16string line = fromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::u16string formatted = FormatLine(line);
    fuzz::require(FormatLine(formatted) == formatted, "a formatted line is in its normal form", line);
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
