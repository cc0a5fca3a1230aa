#include "services/ReportFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "services/SourceText.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tarnik {
namespace {

std::optional<std::u16string> refusedTarget(const std::filesystem::path& target)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::symlink_status(target, error);
    if (status.type() == std::filesystem::file_type::symlink) return u"这是一个链接，不会通过它写文件";
    if (status.type() == std::filesystem::file_type::directory) return u"这是一个文件夹，不是文件";
    if (std::filesystem::exists(status) && status.type() != std::filesystem::file_type::regular) {
        return u"这不是普通文件";
    }
    return std::nullopt;
}

#ifndef _WIN32
std::u16string systemReason(int error)
{
    switch (error) {
    case ENOENT: return u"所在的文件夹不存在";
    case EACCES:
    case EPERM: return u"没有写入的权限";
    case ENOSPC: return u"磁盘已满";
    case EROFS: return u"磁盘是只读的";
    default: return u"系统错误 " + fromUtf8(std::to_string(error)) + u"（" + fromUtf8(std::strerror(error)) + u"）";
    }
}

std::optional<std::u16string> writeAll(int file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(file, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return systemReason(written < 0 ? errno : ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    if (::fsync(file) != 0) return systemReason(errno);
    return std::nullopt;
}

std::optional<std::u16string> writeThroughTemporary(const std::filesystem::path& target, std::string_view bytes)
{
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    std::string hidden = ".";
    hidden += target.filename().string();
    hidden += ".XXXXXX";
    std::string name = (folder / hidden).string();
    const int file = ::mkstemp(name.data());
    if (file < 0) return systemReason(errno);
    // mkstemp makes the file readable by its owner only; a report is for sharing.
    std::optional<std::u16string> failure;
    if (::fchmod(file, 0644) != 0) failure = systemReason(errno);
    if (!failure) failure = writeAll(file, bytes);
    if (::close(file) != 0 && !failure) failure = systemReason(errno);
    if (!failure && std::rename(name.c_str(), target.c_str()) != 0) failure = systemReason(errno);
    if (failure) ::unlink(name.c_str());
    return failure;
}
#else
std::optional<std::u16string> writeThroughTemporary(const std::filesystem::path& target, std::string_view bytes)
{
    std::filesystem::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            std::filesystem::remove(temporary);
            return u"无法写入";
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return u"无法写入";
    }
    return std::nullopt;
}
#endif

}  // namespace

std::optional<std::u16string> writeReportFile(const std::filesystem::path& target, std::string_view bytes)
{
    if (std::optional<std::u16string> refused = refusedTarget(target)) return refused;
    return writeThroughTemporary(target, bytes);
}

}  // namespace tarnik
