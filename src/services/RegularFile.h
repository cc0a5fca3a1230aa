#pragma once
// Reading a file only when it is an ordinary file, and only as far as the
// reader needs. A folder, a device or a FIFO is refused before it is opened
// (/dev/zero never ends, opening a FIFO waits for a writer); where asked, so is
// a link, so that a folder that came from elsewhere (a zip, a classmate)
// cannot make us read a file outside it.
#include <cstddef>
#include <filesystem>
#include <string>

namespace tarnik {

enum class Links { Follow, Refuse };

enum class FileRefusal { None, Missing, Folder, Link, Special, Unreadable };

struct FileBytes {
    FileRefusal refusal = FileRefusal::None;
    int error = 0;      // the system's error number, for Unreadable
    std::string bytes;  // at most the bytes asked for
    bool cut = false;   // the file goes on past them

    [[nodiscard]] bool read() const { return refusal == FileRefusal::None; }
};

// What `path` is, without opening it: None for a regular file (or, with
// Links::Follow, a link to one).
[[nodiscard]] FileBytes checkRegularFile(const std::filesystem::path& path, Links links);

// The first `maxBytes` bytes of the file at `path`, when it is a regular file.
[[nodiscard]] FileBytes readRegularFile(const std::filesystem::path& path, std::size_t maxBytes, Links links);

// Why a file was refused, in the user's words ("文件不存在", "这是一个文件夹，不是文件"…).
[[nodiscard]] std::u16string refusalReason(const FileBytes& file);

}  // namespace tarnik
