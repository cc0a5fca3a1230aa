#pragma once
// Writing a report so that a failure can never pass for success: the bytes go
// to a new file beside the target, every write is checked, the file is
// flushed to the disk, and only then does it take the target's name. A link
// or a folder at the target is refused rather than written through.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tarnik {

// Nothing when the file was written; otherwise why not, in the user's words.
[[nodiscard]] std::optional<std::u16string> writeReportFile(const std::filesystem::path& target,
                                                            std::string_view bytes);

}  // namespace tarnik
