#pragma once
// The files of a zip of judge cases, read with the archive library: only the
// files at the archive's top level (folders inside are ignored), each up to
// a bound.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnik {

struct ArchiveFile {
    std::u16string name;  // as the archive names it
    std::string bytes;
};

struct ArchiveContents {
    std::vector<ArchiveFile> files;
    std::optional<std::u16string> problem;  // why the archive cannot be used, in the user's words
};

// `wanted` says, from a file's name, whether to read it.
[[nodiscard]] ArchiveContents readArchive(std::string_view zipBytes, std::size_t maxFileBytes,
                                          bool (*wanted)(std::u16string_view name));

}  // namespace tarnik
